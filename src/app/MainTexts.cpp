#include "app/MainTexts.h"

#include "framework/Text.h"
#include "search/SearchTemplate.h"

namespace snq {

std::u16string ClipboardMessage(std::u16string_view text) {
    if (text.empty()) return Tr(TextId::MsgNoText);
    std::u16string shown(CutAtCharBoundary(text, kShownTextLimit));
    if (text.size() > kShownTextLimit) shown += u'\u2026';
    return Tr(TextId::MsgClipboardText, {shown});
}

std::u16string MenuCaption(MenuCommand command) {
    switch (command) {
    case MenuCommand::None: return u"-";
    case MenuCommand::UseDefaultBrowser: return Tr(TextId::MenuUseDefaultBrowser);
    case MenuCommand::AutoRun: return Tr(TextId::MenuAutoRun);
    case MenuCommand::ShowClipboard: return Tr(TextId::MenuShowClipboard);
    case MenuCommand::ClearClipboard: return Tr(TextId::MenuClearClipboard);
    case MenuCommand::Search: return SearchCaption(u"Ctrl+G");
    case MenuCommand::SearchWith: return Tr(TextId::MenuSearchWith);
    case MenuCommand::Settings: return Tr(TextId::MenuSettings);
    case MenuCommand::About: return Tr(TextId::MenuAbout);
    case MenuCommand::Exit: return Tr(TextId::MenuExit);
    }
    return {};
}

namespace {

// The line that says how to search: "Click or press Ctrl+g to send ...",
// the key's letter in lower case as it has always been written, or "Click
// to send ..." with the hotkey said to be taken on a line of its own.
std::u16string SearchLine(std::u16string_view hotKeyText, bool taken, bool tip, std::u16string_view target) {
    std::u16string key(hotKeyText);
    const std::size_t last = key.rfind(u'+');
    const std::size_t letter = last == std::u16string::npos ? 0 : last + 1;
    if (key.size() == letter + 1 && key[letter] >= u'A' && key[letter] <= u'Z')
        key[letter] = static_cast<char16_t>(key[letter] + 32);
    if (key.empty() || taken) {
        std::u16string line = Tr(tip ? TextId::TrayTip : TextId::TrayBalloon, {target});
        if (!key.empty()) line += u"\r\n" + Tr(TextId::TrayKeyTaken, {key});
        return line;
    }
    return Tr(tip ? TextId::TrayTipKey : TextId::TrayBalloonKey, {key, target});
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
    return Fitted(
        [&](std::u16string_view t) {
            return u"" SNQ_TITLE "\r\n" + SearchLine(hotKeyText, taken, true, t) + u"\r\n" +
                   Tr(TextId::TrayRightClick);
        },
        target, kTipLimit);
}

std::u16string BalloonHint(std::u16string_view hotKeyText, bool taken, std::u16string_view target) {
    return Fitted(
        [&](std::u16string_view t) {
            return Tr(TextId::TrayRunning, {u"" SNQ_SHORT_TITLE}) + u"\r\n" + SearchLine(hotKeyText, taken, false, t) +
                   u"\r\n" + Tr(TextId::TrayRightClick);
        },
        target, kBalloonTextLimit);
}

std::u16string HotKeyTakenNotice(std::u16string_view hotKeyText) {
    return Tr(TextId::TrayHotkeyTaken, {hotKeyText});
}

std::u16string SearchTarget(std::u16string_view searchTemplate) {
    if (searchTemplate.empty()) return Tr(TextId::TargetGoogle);
    if (searchTemplate == kBingTemplate) return Tr(TextId::TargetBing);
    if (searchTemplate == kDuckDuckGoTemplate) return Tr(TextId::TargetDuckduckgo);
    // The host: after the scheme, up to the path, query or fragment.
    std::u16string_view host = searchTemplate;
    if (const std::size_t scheme = host.find(u"://"); scheme != std::u16string_view::npos)
        host.remove_prefix(scheme + 3);
    return std::u16string(host.substr(0, host.find_first_of(u"/?#")));
}

namespace {

// The letter after a single "&" (lower case), or 0.
char16_t AccessKeyOf(std::u16string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == u'&') {
            if (caption[i + 1] != u'&') return AsciiLower(caption[i + 1]);
            ++i;
        }
    return 0;
}

} // namespace

std::u16string SearchCaption(std::u16string_view hotKeyText) {
    std::u16string caption = u"Snapquery";
    if (!hotKeyText.empty()) {
        caption += u" (";
        for (char16_t c : hotKeyText)
            caption += c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
        caption += u")";
    }
    // The product's name has no translation to give it an access key: its
    // first letter that no other item's uses.
    std::u16string taken;
    for (const MenuCommand command : kMenu)
        if (command != MenuCommand::Search && command != MenuCommand::None)
            taken += AccessKeyOf(MenuCaption(command));
    for (std::size_t i = 0; i < 9; ++i)
        if (taken.find(AsciiLower(caption[i])) == std::u16string::npos) return caption.insert(i, 1, u'&');
    return caption;
}

std::u16string WithoutAccessKey(std::u16string_view caption) {
    std::u16string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        // "(&S)" after the words, as East Asian captions have it, goes whole.
        if (caption.substr(i, 2) == u"(&" && i + 3 < caption.size() && caption[i + 3] == u')') {
            i += 3;
            continue;
        }
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i; // "&&" is a plain "&"
        text += caption[i];
    }
    return text;
}

} // namespace snq
