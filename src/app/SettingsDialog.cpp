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

std::u16string SettingsProblem(const SettingsChoices& choices, std::u16string_view hotKeyText,
                               std::size_t addressLimit) {
    if (!choices.noHotKey) {
        if (choices.hotKey == 0)
            return u"Press the keys of the hotkey in the Hotkey box, or choose None.";
        switch (HotKeyProblemOf(choices.hotKey)) {
        case HotKeyProblem::None: break;
        case HotKeyProblem::ModifierAlone:
            return std::u16string(hotKeyText) + u" cannot be a hotkey: add a key to it.";
        case HotKeyProblem::TypedKey:
            return std::u16string(hotKeyText) +
                   u" cannot be a hotkey: it types a character. Use it with Ctrl, Alt or Win.";
        case HotKeyProblem::EditingKey:
            return std::u16string(hotKeyText) +
                   u" cannot be a hotkey: every program needs it for typing and editing.";
        }
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

std::u16string HotKeyInUseText(std::u16string_view hotKeyText) {
    return std::u16string(hotKeyText) + u" is in use by another program.";
}

} // namespace snq
