#include "settings/Policies.h"

#include <exception>

#include "framework/Trace.h"
#include "search/SearchTemplate.h"

namespace snq {

namespace {

// A value that cannot be used counts as not set: said to the debugger only.
void Ignored(std::u16string_view name, std::u16string_view why) {
    std::u16string line = u"the policy ";
    (line += name) += u" is ignored: ";
    Trace(line += why);
}

// The value `name` of the policy key under `root`, when it is of `kind`.
struct Stored {
    std::optional<std::u16string> text;
    std::optional<bool> on;
};

Stored ReadOne(TRegistry& reg, const PolicyValue& value) {
    const std::optional<RegValue> stored = reg.ReadValue(value.name);
    if (!stored) return {};
    if (value.kind == PolicyKind::Text) {
        if (stored->type == RegType::Sz || stored->type == RegType::ExpandSz) return {TextOf(*stored), {}};
    } else if (stored->type == RegType::Dword && stored->data.size() == 4) {
        const std::uint32_t n = stored->data[0] | stored->data[1] << 8 | stored->data[2] << 16 |
                                static_cast<std::uint32_t>(stored->data[3]) << 24;
        if (n <= 1) return {{}, n == 1};
        Ignored(value.name, u"not 0 or 1");
        return {};
    }
    Ignored(value.name, u"a value of the wrong type");
    return {};
}

} // namespace

bool Policies::Any() const { return *this != Policies{}; }

bool TakeSearchAddress(Policies& policies, const std::u16string& text, THotKeyText*, LayoutCheck) {
    if (!TemplateUsable(text, kMaxAddressLength)) return false;
    policies.searchAddress = text;
    return true;
}

bool TakeHotKey(Policies& policies, const std::u16string& text, THotKeyText* keys, LayoutCheck layouts) {
    if (!keys) return true; // not asked for
    // As the user's: it must parse and may be a hotkey; "None" is none.
    const std::uint32_t hotKey = text == u"None" ? 0 : keys->ParseHotKey(text, false);
    if (text != u"None" &&
        (hotKey == 0 ||
         (layouts != LayoutCheck::Skip ? keys->RefusalOf(hotKey).problem : HotKeyProblemOf(hotKey)) !=
             HotKeyProblem::None))
        return false;
    policies.hotKey = hotKey;
    return true;
}

bool TakeLanguage(Policies& policies, const std::u16string& text, THotKeyText*, LayoutCheck) {
    const UiLanguage* language = ShippedLanguage(text);
    if (!language) return false;
    policies.language = std::u16string(language->tag);
    return true;
}

bool TakeBrowser(Policies& policies, const std::u16string& text, THotKeyText*, LayoutCheck) {
    // A key's name: one step under StartMenuInternet, as Windows allows.
    if (text.empty() || text.size() > 255 || text.find(u'\\') != std::u16string::npos) return false;
    policies.browser = text;
    return true;
}

namespace {

} // namespace

Policies ReadPolicies(IRegistry& registry, THotKeyText* keys, LayoutCheck layouts) {
    Policies policies;
    try {
        // The machine's first; the user's where the machine's is not set or
        // cannot be used. Most machines have neither key.
        TRegistry machine(registry, RootKey::LocalMachine64), user(registry, RootKey::CurrentUser);
        TRegistry* hives[] = {machine.OpenKeyReadOnly(kPolicyKey) ? &machine : nullptr,
                              user.OpenKeyReadOnly(kPolicyKey) ? &user : nullptr};
        for (const PolicyValue& value : kPolicyValues) {
            for (TRegistry* hive : hives) {
                if (!hive) continue;
                const Stored stored = ReadOne(*hive, value);
                if (!stored.text && !stored.on) continue;
                if (stored.on) {
                    policies.*value.on = stored.on;
                    break;
                }
                if (value.take(policies, *stored.text, keys, layouts)) break;
                Ignored(value.name, u"a value that cannot be used");
            }
        }
    } catch (const std::exception&) {
        // Out of memory: what was read so far.
    }
    return policies;
}

std::u16string LanguageInForce(IRegistry& registry) {
    const Policies policies = ReadPolicies(registry, nullptr, LayoutCheck::Skip);
    return policies.language ? *policies.language : StoredLanguage(registry);
}

UserChoices InForce(UserChoices user, const Policies& policies, const AddressLimits& limits) {
    if (policies.useDefaultBrowser) user.useInternetExplorer = !*policies.useDefaultBrowser;
    if (policies.browser) {
        // Over the browser mode: the default browser, Internet Explorer, or
        // a browser of its own (one not installed is the default browser).
        const bool named = *policies.browser != kDefaultBrowser && *policies.browser != kInternetExplorer;
        user.useInternetExplorer = *policies.browser == kInternetExplorer;
        user.browser = named ? *policies.browser : u"";
        for (SearchProfile& profile : user.profiles) profile.browser.clear();
    }
    if (policies.allowPrivateWindow == false) {
        user.privateWindow = false;
        for (SearchProfile& profile : user.profiles) profile.privateWindow = false;
    }
    if (policies.searchAddress) {
        if (TemplateUsable(*policies.searchAddress, limits.For(user.useInternetExplorer)))
            user.searchTemplate = *policies.searchAddress;
        else
            Ignored(u"SearchAddress", u"too long for the browser in force");
    }
    if (policies.copySelection) user.copySelection = *policies.copySelection;
    if (policies.openAddresses) user.openAddresses = *policies.openAddresses;
    if (policies.hotKey) user.hotKey = *policies.hotKey;
    if (policies.language) user.language = *policies.language;
    if (policies.allowProfiles == false) user.profiles.clear();
    // A profile's hotkey that is now the main search's is none.
    for (SearchProfile& profile : user.profiles)
        if (profile.hotKey != 0 && profile.hotKey == user.hotKey) profile.hotKey = 0;
    return user;
}

} // namespace snq
