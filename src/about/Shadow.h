#pragma once
// The shadowed label's pixel work, over plain 32-bit BGRx buffers: the
// margins the shadow needs, the blurred alpha mask and the two compositions.
// Also the OK button's glyph.
#include <cstdint>
#include <vector>

#include "framework/Color.h"

namespace snq {

enum class TShadowMode { smNone, smCustom, smSkin1 };
enum class TLabelKindType { ktStandard, ktCustom, ktSkin };

struct ShadowMargins {
    int low = 0;  // at most 0: room on the left and top
    int high = 0; // at least 0: room on the right and bottom
    int Growth() const { return high - low; }
};
// The room a shadow of that distance and blur needs.
ShadowMargins MarginsFor(int distance, int blurCount);

// One byte per image pixel plus a one-pixel border on every side; it only
// grows.
class AlphaBuffer {
public:
    // Makes room for a width x height image and zeroes what is used.
    void Prepare(int width, int height);
    std::uint8_t& At(int x, int y) { return data_[static_cast<std::size_t>((y + 1) * stride_ + x + 1)]; }
    std::uint8_t At(int x, int y) const {
        return data_[static_cast<std::size_t>((y + 1) * stride_ + x + 1)];
    }
    std::size_t Capacity() const { return data_.size(); }
    std::uint8_t* Raw() { return data_.data(); }

private:
    std::vector<std::uint8_t> data_;
    int stride_ = 0;
};

// A 32-bit image: rows of width x 4 bytes (blue, green, red, unused).
struct PixelView {
    std::uint8_t* pixels;
    int width;
    int height;
    int stride; // bytes from one row to the next
    std::uint8_t* Pixel(int x, int y) const { return pixels + y * stride + x * 4; }
};

// For `blurCount` passes: every pixel whose blue byte is not 0 is stamped to
// 255, then the mask is diffused in place (each value the average of its
// four neighbours, the up and left ones already of this pass).
void BlurShadowMask(const PixelView& image, int blurCount, AlphaBuffer& alpha);
// Mixes the shadow colour over `background` (opaque) or over what the image
// already holds (transparent), by the mask; the fourth byte stays.
void ComposeOpaque(const PixelView& image, const AlphaBuffer& alpha, Rgb shadow, Rgb background);
void ComposeTransparent(const PixelView& image, const AlphaBuffer& alpha, Rgb shadow);

// The standard OK glyph: two 18 x 18 images side by side (a green check and
// its grey outline for the disabled state) on olive, as 24-bit BGR rows,
// top-down.
inline constexpr int kGlyphSize = 18;
std::vector<std::uint8_t> DrawOkGlyph();

} // namespace snq
