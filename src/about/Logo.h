#pragma once
// The maker's logo in the About window, drawn from its shapes at the size
// the window's DPI asks for, so that it is sharp at every scaling: a "V" of
// two slanted bars over a soft circle, with a base line, on a light
// vertical gradient.
#include <cstdint>
#include <vector>

namespace snq {

// Its size at 96 DPI.
inline constexpr int kLogoWidth = 147;
inline constexpr int kLogoHeight = 110;

// The logo at `width` x `height` pixels, top row first, each pixel
// 0x00RRGGBB, its edges smoothed (3 x 3 samples a pixel).
std::vector<std::uint32_t> DrawLogo(int width, int height);

} // namespace snq
