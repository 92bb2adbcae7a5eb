#include "about/Logo.h"

#include <algorithm>
#include <cstddef>

namespace snq {

namespace {

struct Point {
    double x, y;
};

// In logo units (the 96-DPI pixels).
constexpr Point kLeftBar[] = {{30, 18}, {50, 18}, {76, 86}, {63, 92}};
constexpr Point kRightBar[] = {{117, 18}, {97, 18}, {71, 86}, {84, 92}};
constexpr std::uint32_t kDarkBlue = 0x1F4E9C;
constexpr std::uint32_t kLightBlue = 0x2F80ED;

bool Inside(double x, double y, const Point (&shape)[4]) {
    bool inside = false;
    for (std::size_t i = 0, j = 3; i < 4; j = i++) {
        const Point a = shape[i], b = shape[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
}

std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r << 16 | g << 8 | b);
}

std::uint32_t ColourAt(double x, double y) {
    if (Inside(x, y, kLeftBar)) return kDarkBlue;
    if (Inside(x, y, kRightBar)) return kLightBlue;
    if (y >= 98 && y <= 101 && x >= 30 && x <= 117) return kDarkBlue;
    const double t = y / kLogoHeight;
    const double dx = x - 73.5, dy = y - 52;
    if (dx * dx + dy * dy <= 46 * 46)
        return Rgb(static_cast<int>(196 - 40 * t), static_cast<int>(214 - 36 * t), static_cast<int>(240 - 20 * t));
    return Rgb(static_cast<int>(236 - 20 * t), static_cast<int>(240 - 16 * t), static_cast<int>(248 - 8 * t));
}

} // namespace

std::vector<std::uint32_t> DrawLogo(int width, int height) {
    width = std::clamp(width, 0, 4096);
    height = std::clamp(height, 0, 4096);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    constexpr int kSamples = 3;
    const double sx = static_cast<double>(kLogoWidth) / std::max(width, 1);
    const double sy = static_cast<double>(kLogoHeight) / std::max(height, 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int r = 0, g = 0, b = 0;
            for (int j = 0; j < kSamples; ++j)
                for (int i = 0; i < kSamples; ++i) {
                    const std::uint32_t c =
                        ColourAt((x + (i + 0.5) / kSamples) * sx, (y + (j + 0.5) / kSamples) * sy);
                    r += static_cast<int>(c >> 16);
                    g += static_cast<int>(c >> 8 & 0xFF);
                    b += static_cast<int>(c & 0xFF);
                }
            constexpr int n = kSamples * kSamples;
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
                Rgb(r / n, g / n, b / n);
        }
    return pixels;
}

} // namespace snq
