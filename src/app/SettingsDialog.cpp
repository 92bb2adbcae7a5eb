#include "app/SettingsDialog.h"

#include "app/MainTexts.h"
#include "framework/Text.h"
#include "hotkeys/HotKeySwap.h"
#include "search/SearchTemplate.h"

namespace snq {

SettingsChoices ShowChoices(const UserChoices& choices) {
    SettingsChoices shown;
    shown.hotKey = choices.hotKey;
    shown.noHotKey = choices.hotKey == 0;
    // A template that cannot be used was read as none: Google.
    const std::u16string_view stored = choices.searchTemplate;
    if (stored == kBingTemplate)
        shown.engine = SearchEngine::Bing;
    else if (stored == kDuckDuckGoTemplate)
        shown.engine = SearchEngine::DuckDuckGo;
    else if (!stored.empty()) {
        shown.engine = SearchEngine::Custom;
        shown.customAddress = stored;
    }
    return shown;
}

void TakeChoices(const SettingsChoices& shown, UserChoices& choices) {
    choices.hotKey = shown.noHotKey ? 0 : shown.hotKey;
    switch (shown.engine) {
    case SearchEngine::Google: choices.searchTemplate.clear(); break;
    case SearchEngine::Bing: choices.searchTemplate = kBingTemplate; break;
    case SearchEngine::DuckDuckGo: choices.searchTemplate = kDuckDuckGoTemplate; break;
    case SearchEngine::Custom: choices.searchTemplate = shown.customAddress; break;
    }
}

std::u16string HotKeyRefusalText(std::u16string_view hotKeyText, const HotKeyRefusal& refusal) {
    switch (refusal.problem) {
    case HotKeyProblem::None: break;
    case HotKeyProblem::ModifierAlone: return Tr(TextId::HotkeyModifierAlone, {hotKeyText});
    case HotKeyProblem::TypedKey: return Tr(TextId::HotkeyTypedKey, {hotKeyText});
    case HotKeyProblem::EditingKey: return Tr(TextId::HotkeyEditingKey, {hotKeyText});
    case HotKeyProblem::StandardShortcut: return Tr(TextId::HotkeyShortcut, {hotKeyText});
    case HotKeyProblem::TypesCharacter:
        return Tr(TextId::HotkeyTypesCharacter, {hotKeyText, refusal.character, refusal.layout});
    }
    return {};
}

std::u16string SettingsProblem(const SettingsChoices& choices, std::u16string_view hotKeyText,
                               const HotKeyRefusal& refusal, std::size_t addressLimit) {
    if (!choices.noHotKey) {
        if (choices.hotKey == 0) return Tr(TextId::ProblemPressKeys);
        if (refusal.problem != HotKeyProblem::None) return HotKeyRefusalText(hotKeyText, refusal);
    }
    if (choices.engine != SearchEngine::Custom) return {};
    switch (TemplateProblemOf(choices.customAddress, addressLimit)) {
    case TemplateProblem::None: return {};
    case TemplateProblem::NotWebAddress: return Tr(TextId::AddressNotWeb);
    case TemplateProblem::NoQuery: return Tr(TextId::AddressNoQuery);
    case TemplateProblem::BadCharacter: return Tr(TextId::AddressBadCharacter);
    case TemplateProblem::TooLong: return Tr(TextId::AddressTooLong);
    }
    return {};
}

std::u16string SetAsideText(std::u16string_view hotKeyText, const SetAsideHotKey& setAside) {
    const std::u16string why = HotKeyRefusalText(hotKeyText, setAside.refusal);
    return setAside.owner.empty() ? Tr(TextId::HotkeySetAsideMain, {why})
                                  : Tr(TextId::HotkeySetAsideProfile, {setAside.owner, why});
}

std::u16string UnsafeStartEntryText(std::u16string_view command) {
    return Tr(TextId::StartEntryOffer, {command, WithoutAccessKey(Tr(TextId::MenuAutoRun))});
}

std::u16string HotKeyInUseText(std::u16string_view hotKeyText) { return Tr(TextId::HotkeyInUse, {hotKeyText}); }

std::u16string HotKeyOwnedText(std::u16string_view hotKeyText, std::u16string_view owner) {
    return owner.empty() ? Tr(TextId::HotkeyOwnedMain, {hotKeyText}) : Tr(TextId::HotkeyOwnedProfile, {hotKeyText, owner});
}

std::vector<std::u16string> OpenInList::Names() const {
    std::vector<std::u16string> names;
    if (profile)
        names.push_back(Tr(TextId::ProfileAsMain));
    else
        names = {Tr(TextId::SettingsDefaultBrowser), u"Internet Explorer"};
    for (const InstalledBrowser& browser : browsers) names.push_back(browser.name);
    return names;
}

std::size_t OpenInList::IndexOf(std::u16string_view browser, bool internetExplorer, bool& gone) const {
    gone = false;
    if (browser.empty()) return !profile && internetExplorer ? 1 : 0;
    for (std::size_t i = 0; i < browsers.size(); ++i)
        if (SameAsciiText(browsers[i].key, browser)) return Fixed() + i;
    gone = true;
    return 0;
}

std::u16string OpenInList::KeyAt(std::size_t index) const {
    return index >= Fixed() && index - Fixed() < browsers.size() ? browsers[index - Fixed()].key : u"";
}

std::u16string PresetName(const SearchPreset& preset) {
    return preset.translated == TextId{} ? std::u16string(preset.name) : Tr(preset.translated);
}

std::size_t PresetOf(std::u16string_view searchTemplate) {
    std::size_t i = 0;
    while (i < std::size(kSearchPresets) && kSearchPresets[i].searchTemplate != searchTemplate) ++i;
    return i;
}

std::u16string ProfileProblem(const SearchProfile& profile, bool noHotKey, std::u16string_view hotKeyText,
                              const HotKeyRefusal& refusal, std::size_t addressLimit, const UserChoices& choices,
                              std::size_t index) {
    if (!ProfileNameUsable(profile.name))
        return Tr(TextId::ProblemProfileName);
    // The hotkey and the address, checked as the main search's.
    SettingsChoices shown{profile.hotKey, noHotKey, SearchEngine::Custom, profile.searchTemplate};
    if (std::u16string problem = SettingsProblem(shown, hotKeyText, refusal, addressLimit); !problem.empty())
        return problem;
    if (!noHotKey)
        if (const auto owner = HotKeyOwner(choices, profile.hotKey, index))
            return HotKeyOwnedText(hotKeyText, *owner);
    return {};
}

std::u16string ProfileListText(std::u16string_view name, std::u16string_view hotKeyText) {
    std::u16string text(name);
    if (!hotKeyText.empty()) text += u"\t" + std::u16string(hotKeyText);
    return text;
}

std::u16string ProfileMenuCaption(std::u16string_view name, std::u16string_view hotKeyText) {
    std::u16string escaped;
    for (char16_t c : name) {
        if (c == u'&') escaped += u'&';
        escaped += c;
    }
    return ProfileListText(escaped, hotKeyText);
}

} // namespace snq
