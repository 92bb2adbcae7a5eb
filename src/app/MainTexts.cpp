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

} // namespace snq
