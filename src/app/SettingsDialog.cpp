#include "app/SettingsDialog.h"

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
    const std::u16string key(hotKeyText);
    switch (refusal.problem) {
    case HotKeyProblem::None: break;
    case HotKeyProblem::ModifierAlone: return key + u" cannot be a hotkey: add a key to it.";
    case HotKeyProblem::TypedKey:
        return key + u" cannot be a hotkey: it types a character. Use it with Ctrl, Alt or Win.";
    case HotKeyProblem::EditingKey:
        return key + u" cannot be a hotkey: every program needs it for typing and editing.";
    case HotKeyProblem::StandardShortcut:
        return key + u" cannot be a hotkey: Windows and other programs use it as a shortcut of their own.";
    case HotKeyProblem::TypesCharacter:
        return key + u" cannot be a hotkey: it types " + refusal.character + u" on the " + refusal.layout +
               u" keyboard layout.";
    }
    return {};
}

std::u16string SettingsProblem(const SettingsChoices& choices, std::u16string_view hotKeyText,
                               const HotKeyRefusal& refusal, std::size_t addressLimit) {
    if (!choices.noHotKey) {
        if (choices.hotKey == 0)
            return u"Press the keys of the hotkey in the Hotkey box, or choose None.";
        if (refusal.problem != HotKeyProblem::None) return HotKeyRefusalText(hotKeyText, refusal);
    }
    if (choices.engine != SearchEngine::Custom) return {};
    switch (TemplateProblemOf(choices.customAddress, addressLimit)) {
    case TemplateProblem::None: return {};
    case TemplateProblem::NotWebAddress:
        return u"The custom address must start with https:// or http://.";
    case TemplateProblem::NoQuery:
        return u"The custom address must contain {query} where the searched text goes.";
    case TemplateProblem::BadCharacter:
        return u"The custom address may hold only the characters of a web address: no spaces, "
               u"quotes or letters beyond A to Z (write them %-encoded).";
    case TemplateProblem::TooLong:
        return u"The custom address is too long: it leaves no room for the searched text.";
    }
    return {};
}

std::u16string SetAsideText(std::u16string_view hotKeyText, const SetAsideHotKey& setAside) {
    return u"The hotkey stored for " +
           (setAside.owner.empty() ? std::u16string(u"the main search") : setAside.owner) +
           u" is not in force. " + HotKeyRefusalText(hotKeyText, setAside.refusal);
}

std::u16string UnsafeStartEntryText(std::u16string_view command) {
    return u"An entry left by an older version starts Snapquery for everyone who signs in to this computer, "
           u"from a folder that one user can change:\r\n" +
           std::u16string(command) +
           u"\r\nIt no longer counts as \"Auto Run at Startup\". Remove it? Windows asks for an "
           u"administrator's permission.";
}

std::u16string HotKeyInUseText(std::u16string_view hotKeyText) {
    return std::u16string(hotKeyText) + u" is in use by another program.";
}

std::u16string HotKeyOwnedText(std::u16string_view hotKeyText, std::u16string_view owner) {
    return std::u16string(hotKeyText) + u" is already the hotkey of " +
           (owner.empty() ? std::u16string(u"the main search") : std::u16string(owner)) + u".";
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
        return u"Give the profile a name of up to 64 characters: it is what the menu shows.";
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
