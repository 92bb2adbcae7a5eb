#include "about/Shadow.h"

#include <algorithm>
#include <cmath>

namespace snq {

ShadowMargins MarginsFor(int distance, int blurCount) {
    return {std::min(0, distance - blurCount), std::max(0, distance + blurCount)};
}

void AlphaBuffer::Prepare(int width, int height) {
    const int w2 = std::max(0, width) + 2, h2 = std::max(0, height) + 2;
    const std::size_t needed = static_cast<std::size_t>(2) * w2 * h2;
    if (data_.size() < needed) data_.resize(needed);
    std::fill(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(needed), 0);
    stride_ = w2;
}

void BlurShadowMask(const PixelView& image, int blurCount, AlphaBuffer& alpha) {
    alpha.Prepare(image.width, image.height);
    if (image.width <= 0 || image.height <= 0) return;
    const int w2 = image.width + 2, h2 = image.height + 2;
    std::uint8_t* a = alpha.Raw();
    for (int pass = 0; pass < blurCount; ++pass) {
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (image.Pixel(x, y)[0] != 0) alpha.At(x, y) = 255;
        for (int r = 1; r <= h2 - 2; ++r)
            for (int c = 1; c <= w2 - 2; ++c)
                a[r * w2 + c] = static_cast<std::uint8_t>(
                    (a[(r - 1) * w2 + c] + a[(r + 1) * w2 + c] + a[r * w2 + c - 1] +
                     a[r * w2 + c + 1]) >> 2);
    }
}

void ComposeOpaque(const PixelView& image, const AlphaBuffer& alpha, Rgb shadow, Rgb background) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const int a = alpha.At(x, y);
            std::uint8_t* p = image.Pixel(x, y);
            p[0] = static_cast<std::uint8_t>((shadow.b * a + background.b * (255 - a)) >> 8);
            p[1] = static_cast<std::uint8_t>((shadow.g * a + background.g * (255 - a)) >> 8);
            p[2] = static_cast<std::uint8_t>((shadow.r * a + background.r * (255 - a)) >> 8);
        }
}

void ComposeTransparent(const PixelView& image, const AlphaBuffer& alpha, Rgb shadow) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const int a = alpha.At(x, y);
            std::uint8_t* p = image.Pixel(x, y);
            p[0] = static_cast<std::uint8_t>((p[0] * (255 - a) + shadow.b * a) >> 8);
            p[1] = static_cast<std::uint8_t>((p[1] * (255 - a) + shadow.g * a) >> 8);
            p[2] = static_cast<std::uint8_t>((p[2] * (255 - a) + shadow.r * a) >> 8);
        }
}

std::vector<std::uint8_t> DrawOkGlyph() {
    constexpr int width = kGlyphSize * 2;
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(width * kGlyphSize * 3));
    auto put = [&](int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= width || y >= kGlyphSize) return;
        std::uint8_t* p = &bgr[static_cast<std::size_t>((y * width + x) * 3)];
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    };
    const Rgb olive = ToRgb(clOlive);
    for (int y = 0; y < kGlyphSize; ++y)
        for (int x = 0; x < width; ++x) put(x, y, olive);
    // The check: a short stroke down to (7, 13) and a long one up to (15, 4),
    // three pixels thick.
    auto distance = [](double px, double py, double ax, double ay, double bx, double by) {
        const double dx = bx - ax, dy = by - ay;
        const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
    };
    for (int y = 0; y < kGlyphSize; ++y)
        for (int x = 0; x < kGlyphSize; ++x) {
            const double d = std::min(distance(x, y, 3, 9, 7, 13), distance(x, y, 7, 13, 15, 4));
            if (d <= 1.2) {
                put(x, y, Rgb{0x00, 0xA0, 0x00});              // green check
                put(x + kGlyphSize, y, Rgb{0x80, 0x80, 0x80}); // grey, disabled
            } else if (d <= 1.9) {
                put(x, y, Rgb{0x00, 0x60, 0x00});              // darker edge
                put(x + kGlyphSize, y, Rgb{0xFF, 0xFF, 0xFF}); // raised outline
            }
        }
    return bgr;
}

} // namespace snq
