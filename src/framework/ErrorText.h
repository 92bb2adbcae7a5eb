#pragma once
// Texts of the two boxes that show an error: the application error box (an
// error that left a handler while the program runs) and the start-up error
// box (an error before the message loop, which ends the program).
#include <cstdint>
#include <string>
#include <string_view>

namespace snq {

// The error box text: the message, with "." appended when its last character
// sorts after "." (so a message ending in "'" or "." gets nothing) and is no
// East Asian full stop ("。").
std::u16string ErrorBoxText(std::u16string_view message);

// "Exception <class> in module <module> at <offset>.\r\n<message>[.]\r\n"
std::u16string StartupErrorText(std::string_view className, std::u16string_view moduleName,
                                std::uintptr_t offset, std::u16string_view message);

// "Error reading <component>.<property>: <message>", the text of an error
// raised while a form applies its components' stored properties.
std::u16string FormReadErrorText(std::u16string_view component, std::u16string_view property,
                                 std::u16string_view message);

} // namespace snq
