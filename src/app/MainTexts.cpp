#include "app/MainTexts.h"

#include "framework/Text.h"

namespace snq {

std::u16string ClipboardMessage(std::u16string_view text) {
    if (text.empty()) return std::u16string(kNoTextInClipboard);
    std::u16string message = u"Current clipboard text: ";
    message += CutAtCharBoundary(text, kShownTextLimit);
    if (text.size() > kShownTextLimit) message += u'\u2026';
    return message;
}

std::u16string SearchCaption(std::u16string_view hotKeyText) {
    if (hotKeyText.empty()) return u"Snapquery";
    std::u16string caption = u"Snapquery (";
    for (char16_t c : hotKeyText)
        caption += c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    return caption + u")";
}

} // namespace snq
