#include <gtest/gtest.h>

#include "about/Logo.h"
#include "about/Shadow.h"

using namespace snq;

namespace {
struct Image {
    int width, height;
    std::vector<std::uint8_t> bytes;
    Image(int w, int h, std::uint8_t fill = 0) : width(w), height(h), bytes(static_cast<std::size_t>(w * h * 4), fill) {}
    PixelView View() { return {bytes.data(), width, height, width * 4}; }
};
} // namespace

TEST(Shadow, OneBlurPassOfASingleCentrePixel) {
    Image image(5, 5);
    image.View().Pixel(2, 2)[0] = 255; // white text touches the centre only
    AlphaBuffer alpha;
    BlurShadowMask(image.View(), 1, alpha);
    const int expected[5][5] = {{0, 0, 0, 0, 0},
                                {0, 0, 63, 15, 3},
                                {0, 63, 31, 11, 3},
                                {0, 15, 11, 5, 2},
                                {0, 3, 3, 2, 1}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(alpha.At(x, y), expected[y][x]) << x << "," << y;
    // The border stays zero.
    for (int i = -1; i <= 5; ++i) {
        EXPECT_EQ(alpha.At(i, -1), 0);
        EXPECT_EQ(alpha.At(-1, i), 0);
        EXPECT_EQ(alpha.At(i, 5), 0);
        EXPECT_EQ(alpha.At(5, i), 0);
    }
}

TEST(Shadow, EachPassStampsTheTextAgainBeforeDiffusing) {
    Image image(5, 5);
    image.View().Pixel(2, 2)[0] = 1; // any non-zero blue counts
    AlphaBuffer one, two;
    BlurShadowMask(image.View(), 1, one);
    BlurShadowMask(image.View(), 2, two);
    EXPECT_GT(two.At(2, 2), one.At(2, 2));
    EXPECT_GT(two.At(0, 2), 0) << "two passes spread two pixels to the left";
    EXPECT_EQ(one.At(0, 2), 0);
}

TEST(Shadow, MarginsFollowDistanceAndBlur) {
    EXPECT_EQ(MarginsFor(1, 4).low, -3);
    EXPECT_EQ(MarginsFor(1, 4).high, 5);
    EXPECT_EQ(MarginsFor(1, 4).Growth(), 8);
    EXPECT_EQ(MarginsFor(10, 4).low, 0);
    EXPECT_EQ(MarginsFor(10, 4).high, 14);
    EXPECT_EQ(MarginsFor(-2, 4).low, -6);
    EXPECT_EQ(MarginsFor(-2, 4).high, 2);
}

TEST(Shadow, TheAlphaBufferOnlyGrowsAndAnEmptyImageDoesNoPixelWork) {
    AlphaBuffer alpha;
    Image big(40, 30);
    BlurShadowMask(big.View(), 4, alpha);
    const std::size_t capacity = alpha.Capacity();
    EXPECT_EQ(capacity, 2u * 42 * 32);
    Image small(3, 3);
    BlurShadowMask(small.View(), 4, alpha);
    EXPECT_EQ(alpha.Capacity(), capacity);
    for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {-5, -5}}) {
        PixelView none{nullptr, w, h, 0};
        BlurShadowMask(none, 4, alpha); // must not touch any pixel
        ComposeOpaque(none, alpha, {}, {});
        ComposeTransparent(none, alpha, {});
    }
}

TEST(Shadow, CompositionsMixByTheMaskAndShiftByEight) {
    Image image(2, 1, 0x40);
    AlphaBuffer alpha;
    alpha.Prepare(2, 1);
    alpha.At(0, 0) = 255;
    alpha.At(1, 0) = 0;
    image.View().Pixel(0, 0)[3] = 0x77;
    ComposeOpaque(image.View(), alpha, Rgb{10, 20, 30}, Rgb{200, 210, 220});
    const std::uint8_t* p = image.View().Pixel(0, 0);
    EXPECT_EQ(p[0], (30 * 255) >> 8);  // blue from the shadow
    EXPECT_EQ(p[2], (10 * 255) >> 8);  // red
    EXPECT_EQ(p[3], 0x77) << "the fourth byte is left alone";
    const std::uint8_t* q = image.View().Pixel(1, 0);
    EXPECT_EQ(q[1], (210 * 255) >> 8); // all background: 255/256 of it
    Image behind(1, 1, 100);
    AlphaBuffer half;
    half.Prepare(1, 1);
    half.At(0, 0) = 128;
    ComposeTransparent(behind.View(), half, Rgb{0, 0, 0});
    EXPECT_EQ(behind.View().Pixel(0, 0)[0], (100 * 127) >> 8);
}

TEST(OkGlyph, IsAGreenCheckAndAGreyOneOnOlive) {
    const auto glyph = DrawOkGlyph();
    ASSERT_EQ(glyph.size(), static_cast<std::size_t>(36 * 18 * 3));
    auto at = [&](int x, int y) { return &glyph[static_cast<std::size_t>((y * 36 + x) * 3)]; };
    EXPECT_EQ(at(0, 0)[0], 0x00); // olive: blue 0, green 0x80, red 0x80
    EXPECT_EQ(at(0, 0)[1], 0x80);
    EXPECT_EQ(at(0, 0)[2], 0x80);
    const std::uint8_t* check = at(7, 13);
    EXPECT_GT(check[1], check[0] + 0x40);
    EXPECT_GT(check[1], check[2] + 0x40);
    const std::uint8_t* grey = at(18 + 7, 13);
    EXPECT_EQ(grey[0], grey[1]);
    EXPECT_EQ(grey[1], grey[2]);
}

TEST(Logo, IsDrawnFromItsShapesAtTheSizeAsked) {
    // Inside the left bar (design point 40, 30) it is the bar's colour at
    // every scale; on its left edge (35.35 at that height) a blend.
    for (int scale : {1, 2, 3}) {
        const std::vector<std::uint32_t> logo = DrawLogo(kLogoWidth * scale, kLogoHeight * scale);
        ASSERT_EQ(logo.size(), static_cast<std::size_t>(kLogoWidth * kLogoHeight * scale * scale));
        const auto at = [&](double x, double y) {
            return logo[static_cast<std::size_t>(y * scale) * kLogoWidth * scale + static_cast<std::size_t>(x * scale)];
        };
        EXPECT_EQ(at(40, 30), 0x1F4E9Cu) << scale;
        EXPECT_EQ(at(110, 30), 0x2F80EDu) << scale;
    }
    const std::vector<std::uint32_t> twice = DrawLogo(kLogoWidth * 2, kLogoHeight * 2);
    const std::uint32_t edge = twice[60 * kLogoWidth * 2 + 70], behind = twice[60 * kLogoWidth * 2 + 66];
    EXPECT_NE(edge, 0x1F4E9Cu);
    EXPECT_NE(edge, behind) << "a blend of the bar and the circle behind it";
    EXPECT_GT(edge >> 16, 0x1Fu);
    EXPECT_LT(edge >> 16, behind >> 16);
}
