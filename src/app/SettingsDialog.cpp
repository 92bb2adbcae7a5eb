#include "app/SettingsDialog.h"

#include "hotkeys/HotKeySwap.h"
#include "search/SearchTemplate.h"

namespace snq {

std::u16string TemplateOf(const SettingsChoices& choices) {
    switch (choices.engine) {
    case SearchEngine::Google: break;
    case SearchEngine::Bing: return std::u16string(kBingTemplate);
    case SearchEngine::DuckDuckGo: return std::u16string(kDuckDuckGoTemplate);
    case SearchEngine::Custom: return choices.customAddress;
    }
    return {};
}

void ShowTemplate(std::u16string_view stored, SettingsChoices& choices) {
    choices.customAddress.clear();
    if (stored == kBingTemplate)
        choices.engine = SearchEngine::Bing;
    else if (stored == kDuckDuckGoTemplate)
        choices.engine = SearchEngine::DuckDuckGo;
    else if (!stored.empty() && TemplateProblemOf(stored) == TemplateProblem::None) {
        choices.engine = SearchEngine::Custom;
        choices.customAddress = stored;
    } else
        choices.engine = SearchEngine::Google;
}

std::u16string SettingsProblem(const SettingsChoices& choices, std::u16string_view hotKeyText) {
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
    switch (TemplateProblemOf(choices.customAddress)) {
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
