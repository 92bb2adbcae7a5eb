#include "framework/ErrorText.h"

#include "framework/Text.h"

namespace snq {

std::u16string ErrorBoxText(std::u16string_view message) {
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.') text += u'.';
    return text;
}

std::u16string StartupErrorText(std::string_view className, std::u16string_view moduleName,
                                std::uintptr_t offset, std::u16string_view message) {
    const std::u16string address =
        Hex(offset, static_cast<int>(sizeof(std::uintptr_t) * 2), LetterCase::Upper);
    std::u16string text = u"Exception " + Ascii(className) + u" in module " +
                          std::u16string(moduleName) + u" at " + address + u".\r\n" +
                          std::u16string(message);
    if (!message.empty() && message.back() != u'.') text += u'.';
    return text + u"\r\n";
}

std::u16string FormReadErrorText(std::u16string_view component, std::u16string_view property,
                                 std::u16string_view message) {
    return u"Error reading " + std::u16string(component) + u"." + std::u16string(property) +
           u": " + std::u16string(message);
}

} // namespace snq
