#pragma once
// Colours as the controls hold them: 0x00BBGGRR for plain colours, system
// colours as 0xFF000000 plus the system colour index.
#include <cstdint>

namespace snq {

using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNone = 0x1FFFFFFF;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};
inline Rgb ToRgb(TColor c) {
    return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
            static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}

} // namespace snq
