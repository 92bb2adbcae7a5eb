#include "framework/ErrorText.h"

#include "framework/Text.h"
#include "framework/Texts.h"

namespace snq {

std::u16string ErrorBoxText(std::u16string_view message) {
    std::u16string text(message);
    // A Chinese or Japanese message ends with its own full stop.
    constexpr std::u16string_view kFullStops = u"\u3002\uff01\uff0e\uff1f";
    if (!text.empty() && text.back() > u'.' && kFullStops.find(text.back()) == std::u16string_view::npos)
        text += u'.';
    return text;
}

std::u16string StartupErrorText(std::string_view className, std::u16string_view moduleName,
                                std::uintptr_t offset, std::u16string_view message) {
    const std::u16string address =
        Hex(offset, static_cast<int>(sizeof(std::uintptr_t) * 2), LetterCase::Upper);
    std::u16string text = Tr(TextId::ErrorStartup, {Ascii(className), moduleName, address}) + u"\r\n" +
                          std::u16string(message);
    if (!message.empty() && message.back() != u'.') text += u'.';
    return text + u"\r\n";
}

std::u16string FormReadErrorText(std::u16string_view component, std::u16string_view property,
                                 std::u16string_view message) {
    return Tr(TextId::ErrorReading, {std::u16string(component) + u"." + std::u16string(property), message});
}

} // namespace snq
