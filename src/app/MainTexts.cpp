#include "app/MainTexts.h"

#include "framework/Text.h"
#include "search/SearchTemplate.h"

namespace snq {

std::u16string ClipboardMessage(std::u16string_view text) {
    if (text.empty()) return std::u16string(kNoTextInClipboard);
    std::u16string message = u"Current clipboard text: ";
    message += CutAtCharBoundary(text, kShownTextLimit);
    if (text.size() > kShownTextLimit) message += u'\u2026';
    return message;
}

namespace {

// The line that says how to search: "Click or press Ctrl+g to send ...",
// the key's letter in lower case as it has always been written, or "Click
// to send ..." with the hotkey said to be taken on a line of its own.
std::u16string SearchLine(std::u16string_view hotKeyText, bool taken, std::u16string_view clipboard,
                          std::u16string_view target) {
    std::u16string key(hotKeyText);
    const std::size_t last = key.rfind(u'+');
    const std::size_t letter = last == std::u16string::npos ? 0 : last + 1;
    if (key.size() == letter + 1 && key[letter] >= u'A' && key[letter] <= u'Z')
        key[letter] = static_cast<char16_t>(key[letter] + 32);
    std::u16string line = u"Click";
    if (!key.empty() && !taken) line += u" or press " + key;
    line += u" to send " + std::u16string(clipboard) + u" text to " + std::u16string(target);
    if (!key.empty() && taken) line += u"\r\n" + key + u" is in use by another program";
    return line;
}

// The text `make` builds around `target`, no longer than `limit`: a target
// too long for it (a custom address's host) is cut, with "…", and if that
// is not enough, the text's end.
template <class Make> std::u16string Fitted(Make make, std::u16string_view target, std::size_t limit) {
    std::u16string text = make(target);
    if (text.size() <= limit) return text;
    const std::size_t over = text.size() - limit + 1;
    const std::u16string cut =
        std::u16string(CutAtCharBoundary(target, target.size() > over ? target.size() - over : 0)) + u"\u2026";
    text = make(cut);
    // Long key names with the taken notice: the end goes.
    if (text.size() > limit) text = std::u16string(CutAtCharBoundary(text, limit - 1)) + u"\u2026";
    return text;
}

} // namespace

std::u16string TrayHint(std::u16string_view hotKeyText, bool taken, std::u16string_view target) {
    // "clpiboard" is how the tip has always spelt it.
    return Fitted(
        [&](std::u16string_view t) {
            return u"" SNQ_TITLE "\r\n" + SearchLine(hotKeyText, taken, u"clpiboard", t) + u"\r\nRight click for menu";
        },
        target, kTipLimit);
}

std::u16string BalloonHint(std::u16string_view hotKeyText, bool taken, std::u16string_view target) {
    return Fitted(
        [&](std::u16string_view t) {
            return u"" SNQ_SHORT_TITLE " is running minimized\r\n" + SearchLine(hotKeyText, taken, u"clipboard", t) +
                   u"\r\nRight click for menu";
        },
        target, kBalloonTextLimit);
}

std::u16string HotKeyTakenNotice(std::u16string_view hotKeyText) {
    return std::u16string(hotKeyText) +
           u" is in use by another program, so it does not search. Click here to choose another "
           u"hotkey in Settings.";
}

std::u16string SearchTarget(std::u16string_view searchTemplate) {
    if (searchTemplate.empty()) return u"google search";
    if (searchTemplate == kBingTemplate) return u"Bing search";
    if (searchTemplate == kDuckDuckGoTemplate) return u"DuckDuckGo search";
    // The host: after the scheme, up to the path, query or fragment.
    std::u16string_view host = searchTemplate;
    if (const std::size_t scheme = host.find(u"://"); scheme != std::u16string_view::npos)
        host.remove_prefix(scheme + 3);
    return std::u16string(host.substr(0, host.find_first_of(u"/?#")));
}

std::u16string SearchCaption(std::u16string_view hotKeyText) {
    if (hotKeyText.empty()) return u"Snapquery";
    std::u16string caption = u"Snapquery (";
    for (char16_t c : hotKeyText)
        caption += c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    return caption + u")";
}

} // namespace snq
