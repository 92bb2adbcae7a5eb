// The shadowed label's measuring and painting on real device contexts.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

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

namespace {

// A memory DC with a bitmap of `size`, filled mid-grey, so that neither
// white text nor a dark shadow is there before the label draws.
struct Canvas {
    explicit Canvas(SIZE size) : rect{0, 0, size.cx, size.cy} {
        ScopedWindowDc screen(nullptr);
        dc.reset(::CreateCompatibleDC(screen.get()));
        bitmap.reset(::CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
        select.emplace(dc.get(), bitmap.get());
        Clear();
    }
    void Clear() {
        UniqueHbrush grey(::CreateSolidBrush(RGB(128, 128, 128)));
        ::FillRect(dc.get(), &rect, grey.get());
    }
    int Count(const std::function<bool(COLORREF)>& match) const {
        int n = 0;
        for (int y = 0; y < rect.bottom; ++y)
            for (int x = 0; x < rect.right; ++x) n += match(::GetPixel(dc.get(), x, y));
        return n;
    }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> out;
        for (int y = 0; y < rect.bottom; ++y)
            for (int x = 0; x < rect.right; ++x) out.push_back(::GetPixel(dc.get(), x, y));
        return out;
    }
    RECT rect;
    UniqueMemDc dc;
    UniqueHbitmap bitmap;
    std::optional<ScopedSelectObject> select;
};

int Level(COLORREF c) { return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3; }

} // namespace

TEST(ShadowLabel, PaintsWhiteTextOverItsShadowAndRebuildsEachTime) {
    Host host;
    TShadowLabel label(host.Handle(), 0, 0);
    label.Font() = TFont{L"MS Sans Serif", -19, true, clBlack};
    label.FontChanged();
    label.SetCaption(L"Hi");
    const SIZE area{120, 40};
    Canvas canvas(area);
    RECT r = canvas.rect;
    label.DrawCaptionText(canvas.dc.get(), r, DT_EXPANDTABS | DT_LEFT);
    EXPECT_GT(canvas.Count([](COLORREF c) { return Level(c) > 250; }), 10) << "white text";
    EXPECT_GT(canvas.Count([](COLORREF c) { return Level(c) < 80; }), 10) << "a dark shadow";

    // A new caption is drawn with its own shadow: the image is made anew on
    // each paint, and matches a label that never showed the old caption.
    label.SetCaption(L"Ho");
    canvas.Clear();
    r = canvas.rect;
    label.DrawCaptionText(canvas.dc.get(), r, DT_EXPANDTABS | DT_LEFT);
    TShadowLabel fresh(host.Handle(), 0, 0);
    fresh.Font() = label.Font();
    fresh.FontChanged();
    fresh.SetCaption(L"Ho");
    Canvas expected(area);
    r = expected.rect;
    fresh.DrawCaptionText(expected.dc.get(), r, DT_EXPANDTABS | DT_LEFT);
    EXPECT_EQ(canvas.Pixels(), expected.Pixels());

    // The disabled label draws its text twice, highlight then shadow
    // colour, and no shadow.
    label.Enabled = false;
    canvas.Clear();
    r = canvas.rect;
    label.DrawCaptionText(canvas.dc.get(), r, DT_EXPANDTABS | DT_LEFT);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    EXPECT_GT(canvas.Count([&](COLORREF c) { return c == highlight; }), 10);
    EXPECT_GT(canvas.Count([&](COLORREF c) { return c == shadow; }), 10);
    EXPECT_EQ(canvas.Count([](COLORREF c) { return Level(c) < 80; }), 0) << "no dark shadow";
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
