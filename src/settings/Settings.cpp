#include "settings/Settings.h"

#include <exception>

#include "framework/Exceptions.h"
#include "framework/Trace.h"
#include "hotkeys/HotKeySwap.h"
#include "search/SearchTemplate.h"

namespace snq {

namespace {
// The hives in the order the write rule tries them.
constexpr RootKey kHives[] = {RootKey::LocalMachine, RootKey::CurrentUser};

std::u16string ProfilesPath() {
    return std::u16string(kSettingsKey) + u"\\" + std::u16string(kProfilesKey);
}

std::u16string ProfilePath(std::size_t number) {
    return ProfilesPath() + u"\\" + static_cast<char16_t>(u'0' + number);
}
} // namespace

std::u16string_view TrimmedProfileName(std::u16string_view name) {
    while (!name.empty() && name.front() == u' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == u' ') name.remove_suffix(1);
    return name;
}

bool ProfileNameUsable(std::u16string_view name) {
    name = TrimmedProfileName(name);
    if (name.empty() || name.size() > kMaxProfileName) return false;
    for (char16_t c : name)
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
    return true;
}

std::optional<std::u16string> HotKeyOwner(const UserChoices& choices, std::uint32_t value,
                                          std::size_t except) {
    if (value == choices.hotKey) return std::u16string();
    for (std::size_t i = 0; i < choices.profiles.size(); ++i)
        if (i != except && choices.profiles[i].hotKey == value) return choices.profiles[i].name;
    return std::nullopt;
}

TRegistry TSettings::OpenForWriting(std::u16string_view path) {
    for (RootKey root : kHives) {
        TRegistry reg(registry_, root);
        if (reg.OpenKey(path)) return reg;
    }
    // No current key: the operation's write raises its error.
    return TRegistry(registry_, RootKey::CurrentUser);
}

bool TSettings::ValueExistsIn(RootKey root, std::u16string_view path, std::u16string_view name) {
    TRegistry reg(registry_, root);
    return reg.OpenKeyReadOnly(path) && reg.ValueExists(name);
}

UserChoices TSettings::Read(BrowserModeRead browserMode, LayoutCheck layouts) {
    UserChoices choices;
    if (browserMode == BrowserModeRead::CreateOrRaise) {
        TRegistry reg = OpenForWriting(kSettingsKey);
        // The existence test and the read use two spellings of one name; the
        // registry matches names without regard to case.
        if (reg.ValueExists(u"default"))
            choices.useInternetExplorer = reg.ReadString(u"Default") != u"Yes";
        else
            reg.WriteString(u"Default", u"No");
        ReadOthers(reg, layouts, choices);
        return choices;
    }
    try {
        TRegistry reg = OpenForWriting(kSettingsKey);
        choices.useInternetExplorer = reg.ReadStringIfAny(u"Default") != u"Yes";
        ReadOthers(reg, layouts, choices);
    } catch (const std::exception&) {
        // Out of memory opening the key: the defaults.
    }
    return choices;
}

std::uint32_t TSettings::HotKeyOf(const std::u16string& text, std::uint32_t unusable, std::u16string_view owner,
                                  LayoutCheck layouts, UserChoices& choices) {
    if (text.empty()) return 0;
    const std::uint32_t value = keys_.ParseHotKey(text, false);
    if (value == 0) return unusable;
    HotKeyRefusal refusal =
        layouts == LayoutCheck::Apply ? keys_.RefusalOf(value) : HotKeyRefusal(HotKeyProblemOf(value));
    if (refusal.problem == HotKeyProblem::None) return value;
    Trace(u"the stored hotkey \"" + text + u"\"" + (owner.empty() ? u"" : u" of \"" + std::u16string(owner) + u"\"") +
          u" is not in force" +
          (refusal.character.empty() ? u"" : u": it types " + refusal.character + u" on " + refusal.layout));
    choices.setAside.push_back({std::u16string(owner), value, std::move(refusal)});
    return unusable;
}

void TSettings::ReadOthers(TRegistry& reg, LayoutCheck layouts, UserChoices& choices) noexcept {
    try {
        if (const auto text = reg.ReadStringIfAny(u"HotKey"))
            choices.hotKey = HotKeyOf(*text, kDefaultHotKey, u"", layouts, choices);
        const std::u16string address = reg.ReadStringIfAny(u"SearchAddress").value_or(u"");
        if (TemplateUsable(address, limits_.For(choices.useInternetExplorer)))
            choices.searchTemplate = address;
        for (const YesNoChoice& value : kYesNoChoices)
            choices.*value.choice = reg.ReadStringIfAny(value.name) == u"Yes";
        ReadProfiles(reg.Root(), layouts, choices);
    } catch (const std::exception&) {
        // Out of memory: what was read so far, the rest its defaults.
    }
}

void TSettings::ReadProfiles(RootKey root, LayoutCheck layouts, UserChoices& choices) {
    // One opening when there are none.
    if (!TRegistry(registry_, root).OpenKeyReadOnly(ProfilesPath())) return;
    for (std::size_t number = 1; number <= kMaxProfiles; ++number) {
        TRegistry reg(registry_, root);
        if (!reg.OpenKeyReadOnly(ProfilePath(number))) continue;
        SearchProfile profile;
        profile.name = TrimmedProfileName(reg.ReadStringIfAny(u"Name").value_or(u""));
        profile.searchTemplate = reg.ReadStringIfAny(u"SearchAddress").value_or(u"");
        if (!ProfileNameUsable(profile.name) ||
            !TemplateUsable(profile.searchTemplate, limits_.For(choices.useInternetExplorer)))
            continue;
        profile.hotKey = HotKeyOf(reg.ReadStringIfAny(u"HotKey").value_or(u""), 0, profile.name, layouts, choices);
        // A keystroke has one owner: the main search, then the profiles in order.
        if (profile.hotKey != 0 && HotKeyOwner(choices, profile.hotKey)) profile.hotKey = 0;
        choices.profiles.push_back(std::move(profile));
    }
}

void TSettings::Write(const UserChoices& choices) {
    TRegistry reg = OpenForWriting(kSettingsKey);
    reg.WriteString(u"HotKey", choices.hotKey ? keys_.FormatHotKey(choices.hotKey, false) : u"");
    reg.WriteString(u"SearchAddress", choices.searchTemplate);
    for (const YesNoChoice& value : kYesNoChoices)
        reg.WriteString(value.name, choices.*value.choice ? u"Yes" : u"No");
    WriteProfiles(reg.Root(), choices.profiles);
}

void TSettings::WriteProfiles(RootKey root, const std::vector<SearchProfile>& profiles) {
    for (std::size_t number = 1; number <= kMaxProfiles; ++number) {
        TRegistry reg(registry_, root);
        if (number > profiles.size()) {
            // The slots of removed profiles; one never made is no error, and
            // no other key is touched.
            reg.DeleteKey(ProfilePath(number));
            continue;
        }
        const SearchProfile& profile = profiles[number - 1];
        reg.OpenKey(ProfilePath(number));
        reg.WriteString(u"Name", profile.name);
        reg.WriteString(u"SearchAddress", profile.searchTemplate);
        reg.WriteString(u"HotKey", profile.hotKey ? keys_.FormatHotKey(profile.hotKey, false) : u"");
    }
}

bool TSettings::RunsAtStartup() {
    for (RootKey root : kHives)
        if (ValueExistsIn(root, kRunKey, kRunValueName)) return true;
    return false;
}

void TSettings::RunOnWinStart(std::u16string_view name, std::u16string_view command) {
    // A machine-wide entry already starts the program for this user: a
    // per-user one beside it would start a second copy at every logon.
    if (ValueExistsIn(RootKey::LocalMachine, kRunKey, name)) return;
    // Always this user's own: a machine-wide entry would start, for every
    // account that signs in, a file that this user can replace.
    TRegistry reg(registry_, RootKey::CurrentUser);
    reg.OpenKey(kRunKey); // without a key, the write raises its error
    reg.WriteString(name, command);
}

void TSettings::DontRunOnWinStart(std::u16string_view name) {
    // From every hive that holds it. An entry that stays (a machine-wide one
    // that this user may not delete) would go on starting the program, so it
    // is reported rather than shown as removed.
    bool remains = false;
    for (RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine}) {
        if (!ValueExistsIn(root, kRunKey, name)) continue;
        TRegistry reg(registry_, root);
        if (!reg.OpenKey(kRunKey) || !reg.DeleteValue(name)) remains = true;
    }
    if (remains) RaiseRegistryError(u"Failed to delete value '%s'", name);
}

std::u16string TSettings::RunCommand() const {
    // Quoted: unquoted, a path with spaces is tried piece by piece at logon
    // ("C:\Program.exe" first).
    return u"\"" + executablePath_ + u"\"";
}

void TSettings::SetDefaultBrowser(bool useDefaultBrowser) {
    OpenForWriting(kSettingsKey).WriteString(u"Default", useDefaultBrowser ? u"Yes" : u"No");
}

void TSettings::SetRunAtStartup(bool run) {
    if (run)
        RunOnWinStart(kRunValueName, RunCommand());
    else
        DontRunOnWinStart(kRunValueName);
}

MenuMarks ReadMenuMarks(TSettings& settings) {
    MenuMarks marks;
    marks.defaultBrowser = !settings.Read().useInternetExplorer;
    marks.autoRun = settings.RunsAtStartup();
    return marks;
}

bool ToggleDefaultBrowser(TSettings& settings, bool checked) {
    settings.SetDefaultBrowser(!checked);
    return !checked;
}

bool ToggleRunAtStartup(TSettings& settings) {
    const bool run = !settings.RunsAtStartup();
    settings.SetRunAtStartup(run);
    return run;
}

} // namespace snq
