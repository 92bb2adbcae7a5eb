#include <gtest/gtest.h>

#include "framework/ErrorText.h"
#include "framework/Exceptions.h"
#include "framework/IconChoice.h"
#include "framework/Scale.h"
#include "framework/Text.h"
#include "framework/UniqueHandle.h"

using namespace snq;

namespace {

struct FakeTraits {
    using type = int;
    static inline int closed = 0;
    static int invalid() { return -1; }
    static void close(int) { ++closed; }
};
using FakeHandle = UniqueHandle<FakeTraits>;

} // namespace

TEST(UniqueHandle, ClosesOnceAcrossMovesResetsAndRelease) {
    FakeTraits::closed = 0;
    {
        FakeHandle a(3);
        FakeHandle b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_TRUE(b);
        FakeHandle c;
        c = std::move(b);
        EXPECT_EQ(c.get(), 3);
        c.reset(4); // closes 3
        EXPECT_EQ(FakeTraits::closed, 1);
        *c.put() = 5; // closes 4, takes 5
        EXPECT_EQ(FakeTraits::closed, 2);
        FakeHandle d(6);
        EXPECT_EQ(d.release(), 6); // given away: not closed
    }
    EXPECT_EQ(FakeTraits::closed, 3); // 5 at scope end
}

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(ErrorBoxText(u"Cannot open clipboard"), u"Cannot open clipboard.");
    EXPECT_EQ(ErrorBoxText(u"Failed to set data for 'Default'"),
              u"Failed to set data for 'Default'");
    EXPECT_EQ(ErrorBoxText(u"Done."), u"Done.");
    EXPECT_EQ(ErrorBoxText(u"ends with a space "), u"ends with a space ");
    for (const char16_t* own : {u"\u6253\u5F00\u3002", u"\u6253\u5F00\uFF01", u"\u6253\u5F00\uFF0E", u"\u6253\u5F00\uFF1F"})
        EXPECT_EQ(ErrorBoxText(own), own) << "a Chinese or Japanese full stop";
    EXPECT_EQ(ErrorBoxText(u"ends in a digit 1"), u"ends in a digit 1.");
    EXPECT_EQ(ErrorBoxText(u""), u"");
    EXPECT_EQ(ErrorBoxText(u"\u03a9"), u"\u03a9.");
}

TEST(StartupErrorText, FormatsClassModuleOffsetAndMessage) {
    EXPECT_EQ(StartupErrorText("EOutOfResources", u"snapquery.exe", 0x1A2B,
                               u"Error reading TrayIcon1.Visible: Cannot create shell "
                               u"notification icon"),
              u"Exception EOutOfResources in module snapquery.exe at 0000000000001A2B.\r\n"
              u"Error reading TrayIcon1.Visible: Cannot create shell notification icon.\r\n");
    EXPECT_EQ(StartupErrorText("Exception", u"a.exe", 0, u"Ends."),
              u"Exception Exception in module a.exe at 0000000000000000.\r\nEnds.\r\n");
    EXPECT_EQ(StartupErrorText("Exception", u"a.exe", 0, u""),
              u"Exception Exception in module a.exe at 0000000000000000.\r\n\r\n");
}

TEST(FormReadErrorText, NamesComponentAndProperty) {
    EXPECT_EQ(FormReadErrorText(u"TrayIcon1", u"Visible", u"Cannot create shell notification icon"),
              u"Error reading TrayIcon1.Visible: Cannot create shell notification icon");
}

TEST(Exceptions, CarryClassNameMessageAndRaisingAddress) {
    try {
        throw EInvalidOperation(u"Cannot make a visible window modal");
    } catch (const EException& e) {
        EXPECT_STREQ(e.ClassName(), "EInvalidOperation");
        EXPECT_EQ(e.Message(), u"Cannot make a visible window modal");
        EXPECT_NE(e.Address(), nullptr);
    }
}

TEST(Text, CutNeverSplitsASurrogatePair) {
    const std::u16string text = u"ab\U0001F600cd"; // a b <hi> <lo> c d
    EXPECT_EQ(CutAtCharBoundary(text, 2), u"ab");
    EXPECT_EQ(CutAtCharBoundary(text, 3), u"ab"); // would split the pair
    EXPECT_EQ(CutAtCharBoundary(text, 4), u"ab\U0001F600");
    EXPECT_EQ(CutAtCharBoundary(text, 99), text);
    EXPECT_EQ(CutAtCharBoundary(u"\xDC00x", 1), u"\xDC00"); // a lone low surrogate is a unit
}

TEST(Text, Utf8EncodesAllPlanesAndReplacesLoneSurrogates) {
    EXPECT_EQ(ToUtf8(u"A\u00e9\u4e2d\U0001F600"), "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
    EXPECT_EQ(ToUtf8(u"x\xD800y"), "x\xEF\xBF\xBDy");
    EXPECT_EQ(ToUtf8(u"\xDC00"), "\xEF\xBF\xBD");
    EXPECT_EQ(Decimal(16455), u"16455");
    EXPECT_EQ(Decimal(0), u"0");
}

TEST(IconChoice, ThirtyTwoPixelImageWinsForTheProgramIcon) {
    // The program icon's directory: 256 (stored as 0), 128, 48, 32, 24, 16.
    const std::vector<IconEntry> icon{{0, 0, 1ull << 32},  {128, 128, 1ull << 32},
                                      {48, 48, 1ull << 32}, {32, 32, 1ull << 32},
                                      {24, 24, 1ull << 32}, {16, 16, 1ull << 32}};
    EXPECT_EQ(ChooseIconImage(icon, 32, 32, 1ull << 32), 3u);
    EXPECT_EQ(ChooseIconImage(icon, 16, 16, 1ull << 32), 5u);
    EXPECT_EQ(ChooseIconImage(icon, 24, 24, 1ull << 32), 4u);
}

TEST(IconChoice, ColoursBeyondTheDisplayOrFewerThanTheBestAreSkipped) {
    const std::vector<IconEntry> icon{{16, 16, 256}, {32, 32, 16}, {32, 32, 1ull << 32}};
    // 32 x 32 with 16 colours has fewer colours than the best so far;
    // the 32-bit one is more than a 256-colour display shows.
    EXPECT_EQ(ChooseIconImage(icon, 32, 32, 256), 0u);
    EXPECT_EQ(ChooseIconImage(icon, 32, 32, 1ull << 32), 2u);
    EXPECT_EQ(ChooseIconImage({}, 32, 32, 256), 0u);
    EXPECT_EQ(IconColors(16, 4), 16u);
    EXPECT_EQ(IconColors(0, 32), 1ull << 32);
}

TEST(Text, HexIsLowerCaseAndPadded) {
    EXPECT_EQ(Hex(0x800401F3, 8), u"800401f3");
    EXPECT_EQ(Hex(0x1A, 8), u"0000001a");
    EXPECT_EQ(Hex(0, 1), u"0");
}

TEST(Scale, RoundsAsWindowsDoesAndScalesNinetySixDpiUnits) {
    EXPECT_EQ(MulDiv(50, 7, 4), 88);   // 87.5: halves go up
    EXPECT_EQ(MulDiv(-50, 7, 4), -88); // and down below zero
    EXPECT_EQ(MulDiv(10, 7, 4), 18);   // 17.5
    EXPECT_EQ(MulDiv(9, 7, 4), 16);    // 15.75
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(1 << 30, 8, 1), -1);
    EXPECT_EQ(MulDiv(1 << 30, 8, 4), -1); // 2^31 does not fit
    for (int dpi : {96, 120, 144, 192}) {
        EXPECT_EQ(ScaleTo(0, dpi), 0);
        EXPECT_EQ(ScaleTo(298, dpi), 298 * dpi / 96 + (298 * dpi % 96 * 2 >= 96));
        EXPECT_EQ(ScaleTo(-3, dpi), -ScaleTo(3, dpi));
    }
    EXPECT_EQ(ScaleTo(298, 144), 447);
    EXPECT_EQ(ScaleTo(253, 144), 380); // 379.5
    EXPECT_EQ(ScaleTo(1, 120), 1);     // 1.25
    EXPECT_EQ(ScaleTo(3, 120), 4);     // 3.75
    EXPECT_EQ(ScaleTo(2, 120), 3);     // 2.5
}

TEST(Scale, AWindowIsCentredOnTheWorkAreaOfItsMonitorAndKeptOnIt) {
    struct Row {
        ScreenArea area;
        int width, height;
        ScreenPoint at;
    };
    const Row rows[] = {
        {{0, 0, 1280, 760}, 300, 200, {490, 280}},          // the primary monitor
        {{-1920, 0, 1920, 1040}, 300, 200, {-1110, 420}},   // one left of it
        {{1280, -200, 2560, 1400}, 600, 400, {2260, 300}},  // one right of it and higher
        {{0, 40, 1280, 760}, 300, 200, {490, 320}},         // the taskbar at the top
        {{1280, 0, 800, 600}, 1000, 700, {1280, 0}},        // larger than the area
        {{0, 0, 1280, 760}, 1280, 760, {0, 0}},             // exactly its size
    };
    for (const Row& row : rows)
        EXPECT_EQ(CenterIn(row.area, row.width, row.height), row.at) << row.area.left << "," << row.area.top;
}

