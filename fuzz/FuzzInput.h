#pragma once
// Turns fuzz bytes into UTF-16 text: two bytes a unit, so every unit value,
// lone surrogates and NULs included, can appear.
#include <cstddef>
#include <cstdint>
#include <string>

inline std::u16string Utf16Of(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    return text;
}
