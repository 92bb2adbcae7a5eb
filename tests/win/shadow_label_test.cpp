// The shadowed label's measuring and painting on real device contexts.
#include <gtest/gtest.h>

#include "about/SkinLabelsWin32.h"
#include "framework/Exceptions.h"
#include "framework/FormWin32.h"

using namespace snq;

namespace {

class Host final : public TCustomForm {
public:
    Host() : TCustomForm(L"TestHost", L"host", WS_POPUP, 0, 400, 200) {}
};

SIZE SizeOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE PlainTextSize(TShadowLabel& label, const std::wstring& text) {
    ScopedWindowDc dc(label.Handle());
    UniqueHfont font = label.Font().Create();
    ScopedSelectObject select(dc.get(), font.get());
    RECT r{};
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
                DT_CALCRECT | DT_EXPANDTABS | DT_LEFT);
    return {r.right, r.bottom};
}

} // namespace

TEST(ShadowLabel, MeasuresItsTextPlusTheRoomTheShadowNeeds) {
    Host host;
    TShadowLabel label(host.Handle(), 0, 0);
    label.Font() = TFont{L"MS Sans Serif", -19, true, clBlack};
    label.FontChanged();
    label.SetCaption(L"Snapquery 1.5");
    const SIZE text = PlainTextSize(label, L"Snapquery 1.5");
    SIZE size = SizeOf(label.Handle());
    EXPECT_EQ(size.cx, text.cx + 8);
    EXPECT_EQ(size.cy, text.cy + 8);
    EXPECT_EQ(label.MarginLow(), -3);
    EXPECT_EQ(label.MarginHigh(), 5);

    label.Shadow.Distance = 10;
    label.AdjustBounds();
    EXPECT_EQ(SizeOf(label.Handle()).cx, text.cx + 14);
    EXPECT_EQ(label.MarginLow(), 0);
    EXPECT_EQ(label.MarginHigh(), 14);

    label.Shadow.Distance = -2;
    label.AdjustBounds();
    EXPECT_EQ(SizeOf(label.Handle()).cx, text.cx + 8);
    EXPECT_EQ(label.MarginLow(), -6);

    label.Shadow.BlurCount = 0; // no shadow: no room for one
    label.AdjustBounds();
    EXPECT_EQ(SizeOf(label.Handle()).cx, text.cx);
    label.Shadow.BlurCount = 4;
    label.Shadow.SetColor(clNone);
    label.AdjustBounds();
    EXPECT_EQ(SizeOf(label.Handle()).cx, text.cx);
}

TEST(ShadowLabel, AnEmptyCaptionMeasuresAsOneSpace) {
    Host host;
    TShadowLabel label(host.Handle(), 0, 0);
    label.Shadow.BlurCount = 0;
    label.SetCaption(L"");
    const SIZE space = PlainTextSize(label, L" ");
    EXPECT_EQ(SizeOf(label.Handle()).cx, space.cx);
    EXPECT_EQ(SizeOf(label.Handle()).cy, space.cy);
}

TEST(ShadowLabel, PaintsWhiteTextOverItsShadowAndRebuildsEachTime) {
    Host host;
    TShadowLabel label(host.Handle(), 0, 0);
    label.Font() = TFont{L"MS Sans Serif", -19, true, clBlack};
    label.FontChanged();
    label.SetCaption(L"Hi");
    const SIZE size = SizeOf(label.Handle());
    ScopedWindowDc screen(nullptr);
    UniqueMemDc dc(::CreateCompatibleDC(screen.get()));
    UniqueHbitmap target(::CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    ScopedSelectObject select(dc.get(), target.get());
    RECT r{0, 0, size.cx, size.cy};
    ::FillRect(dc.get(), &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    label.DrawCaptionText(dc.get(), r, DT_EXPANDTABS | DT_LEFT);
    int white = 0, dark = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            const COLORREF c = ::GetPixel(dc.get(), x, y);
            const int level = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
            white += level > 250;
            dark += level < 100;
        }
    EXPECT_GT(dark, 10);
    EXPECT_GT(white, 10);
    // The disabled label draws no shadow: nothing dark beyond its text.
    label.Enabled = false;
    ::FillRect(dc.get(), &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    RECT again = r;
    label.DrawCaptionText(dc.get(), again, DT_EXPANDTABS | DT_LEFT);
    int black = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) black += ::GetPixel(dc.get(), x, y) == RGB(0, 0, 0);
    EXPECT_EQ(black, 0);
}

namespace {
// A control whose drawing fails, and which hands out the DC it was given.
class FailingPicture final : public TGraphicWindow {
public:
    explicit FailingPicture(HWND parent) : TGraphicWindow(parent, L"FailingPicture", 0, 0, 50, 50) {}
    using TGraphicWindow::HandleMessage;
    HDC painted = nullptr;

protected:
    void Paint(HDC dc) override {
        painted = dc;
        throw EOutOfResources(u"no paint");
    }
};
} // namespace

TEST(GraphicWindow, APaintThatFailsStillEndsThePainting) {
    Host host;
    FailingPicture picture(host.Handle());
    ::InvalidateRect(picture.Handle(), nullptr, FALSE);
    EXPECT_THROW(picture.HandleMessage(picture.Handle(), WM_PAINT, 0, 0), EOutOfResources);
    ASSERT_NE(picture.painted, nullptr);
    // EndPaint gave the DC back: there is nothing left to release.
    EXPECT_EQ(::ReleaseDC(picture.Handle(), picture.painted), 0);
    RECT update{};
    EXPECT_FALSE(::GetUpdateRect(picture.Handle(), &update, FALSE));
}
