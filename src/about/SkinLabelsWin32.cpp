#include "about/SkinLabelsWin32.h"

#include <algorithm>

namespace snq {

TSkinCustomLabel::TSkinCustomLabel(HWND parent, int left, int top, const wchar_t* className)
    : TGraphicWindow(parent, className, left, top, 0, 0) {}

void TSkinCustomLabel::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    ::SetWindowTextW(Handle(), caption_.c_str()); // the name a screen reader reads
    if (AutoSize) AdjustBounds();
    Invalidate();
}

void TSkinCustomLabel::FontChanged() {
    fontHandle_.reset();
    if (AutoSize) AdjustBounds();
    Invalidate();
}

void TSkinCustomLabel::SetDpi(int dpi) {
    TGraphicWindow::SetDpi(dpi);
    FontChanged();
}

HFONT TSkinCustomLabel::FontHandle() {
    if (!fontHandle_) fontHandle_ = font_.Create(Dpi());
    return fontHandle_.get();
}

UINT TSkinCustomLabel::TextFlags() const {
    return DT_EXPANDTABS | DT_LEFT | (WordWrap ? DT_WORDBREAK : 0);
}

void TSkinCustomLabel::AdjustBounds() {
    RECT client = ClientRect();
    RECT rect{0, 0, WordWrap ? client.right : 0, 0};
    ScopedWindowDc dc(Handle());
    DrawCaptionText(dc.get(), rect, TextFlags() | DT_CALCRECT);
    RECT bounds{};
    ::GetWindowRect(Handle(), &bounds);
    ::MapWindowPoints(nullptr, ::GetParent(Handle()), reinterpret_cast<POINT*>(&bounds), 2);
    SetBounds(bounds.left, bounds.top, rect.right - rect.left, rect.bottom - rect.top);
}

void TSkinCustomLabel::DrawLabelText(HDC dc, RECT& rect, UINT flags, const std::wstring& text) {
    if (!ShowAccelChar) flags |= DT_NOPREFIX;
    ScopedSelectObject select(dc, FontHandle());
    ::SetBkMode(dc, TRANSPARENT);
    if (!Enabled && !(flags & DT_CALCRECT)) {
        ::OffsetRect(&rect, 1, 1);
        ::SetTextColor(dc, ColorToRGB(clBtnHighlight));
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
        ::OffsetRect(&rect, -1, -1);
        ::SetTextColor(dc, ColorToRGB(clBtnShadow));
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
        return;
    }
    ::SetTextColor(dc, ColorToRGB(GetPaintFont().Color));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

std::wstring TSkinCustomLabel::TextFor(UINT flags) const {
    std::wstring text = caption_;
    if ((flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar && text == L"&"))) text += L' ';
    return text;
}

void TSkinCustomLabel::DrawCaptionText(HDC dc, RECT& rect, UINT flags) {
    DrawLabelText(dc, rect, flags, TextFor(flags));
}

void TSkinCustomLabel::Paint(HDC dc) {
    RECT r = ClientRect();
    // Transparent: what lies behind is the parent's face colour.
    UniqueHbrush back(::CreateSolidBrush(ColorToRGB(Transparent ? clBtnFace : Color)));
    ::FillRect(dc, &r, back.get());
    DrawCaptionText(dc, r, TextFlags());
    if (::GetFocus() == Handle()) ::DrawFocusRect(dc, &r);
}

void TShadowParams::SetColor(TColor color) {
    color_ = color;
    const Rgb rgb = ToRgb(color == clNone ? clBlack : ColorToRGB(color));
    ShadowR = rgb.r;
    ShadowG = rgb.g;
    ShadowB = rgb.b;
}

TShadowLabel::TShadowLabel(HWND parent, int left, int top)
    : TSkinCustomLabel(parent, left, top, L"TShadowLabel") {
    Shadow.SetColor(clBlack);
}

void TShadowLabel::DrawCaptionText(HDC dc, RECT& rect, UINT flags) {
    if (Shadow.Mode == TShadowMode::smNone) {
        TSkinCustomLabel::DrawCaptionText(dc, rect, flags);
        return;
    }
    // Without a skin, smSkin1 takes the shadow's own values; the blur and
    // the offset grow with the DPI as the text does.
    const TColor color = Shadow.Color();
    const int blur = ScaleTo(Shadow.BlurCount, Dpi()), distance = ScaleTo(Shadow.Distance, Dpi());
    const std::wstring text = TextFor(flags);
    const bool measuring = (flags & DT_CALCRECT) != 0;
    if (!ShowAccelChar) flags |= DT_NOPREFIX;

    if (!Enabled) { // no shadow, and no room for one
        DrawLabelText(dc, rect, flags, text);
        return;
    }
    const TColor textColor = Kind.KindType == TLabelKindType::ktStandard ? Color : Kind.Color;
    ScopedSelectObject select(dc, FontHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(textColor));
    const bool shadowed = color != clNone && blur != 0;
    if (measuring || !shadowed) {
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
    } else {
        if (needsRebuild_ || !Shadow.CacheImage)
            RebuildShadowImage(dc, rect, flags, text, distance, blur);
        if (shadowImage_) {
            UniqueMemDc memory(::CreateCompatibleDC(dc));
            ScopedSelectObject image(memory.get(), shadowImage_.get());
            ::BitBlt(dc, 0, 0, imageWidth_, imageHeight_, memory.get(), 0, 0, SRCCOPY);
        }
        RECT inner{rect.left - margins_.low, rect.top - margins_.low, rect.right - margins_.high,
                   rect.bottom - margins_.high};
        ::SetTextColor(dc, ColorToRGB(textColor));
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner, flags);
    }
    if (measuring && shadowed) {
        margins_ = MarginsFor(distance, blur);
        rect.right += margins_.Growth();
        rect.bottom += margins_.Growth();
    }
}

void TShadowLabel::RebuildShadowImage(HDC dc, const RECT& rect, UINT flags, const std::wstring& text,
                                      int distance, int blurCount) {
    const int w = std::max(0L, rect.right - rect.left), h = std::max(0L, rect.bottom - rect.top);
    needsRebuild_ = false;
    shadowImage_.reset();
    shadowBits_ = nullptr;
    imageWidth_ = w;
    imageHeight_ = h;
    PixelView view{nullptr, w, h, w * 4};
    if (w > 0 && h > 0) {
        shadowImage_ = CreateDib32(dc, w, h, shadowBits_);
        if (!shadowImage_) return;
        view.pixels = static_cast<std::uint8_t*>(shadowBits_);
        UniqueMemDc memory(::CreateCompatibleDC(dc));
        ScopedSelectObject image(memory.get(), shadowImage_.get());
        RECT all{0, 0, w, h};
        ::FillRect(memory.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ScopedSelectObject font(memory.get(), FontHandle());
        ::SetBkMode(memory.get(), TRANSPARENT);
        ::SetTextColor(memory.get(), RGB(255, 255, 255));
        RECT mask{rect.left - margins_.low + distance, rect.top - margins_.low + distance,
                  rect.right - margins_.high + distance, rect.bottom - margins_.high + distance};
        ::DrawTextW(memory.get(), text.c_str(), static_cast<int>(text.size()), &mask, flags);
        ::GdiFlush();
        BlurShadowMask(view, blurCount, alpha_);
        const Rgb shadow{Shadow.ShadowR, Shadow.ShadowG, Shadow.ShadowB};
        if (Transparent) {
            ::BitBlt(memory.get(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
            ::GdiFlush();
            ComposeTransparent(view, alpha_, shadow);
        } else {
            ComposeOpaque(view, alpha_, shadow, ToRgb(ColorToRGB(Color)));
        }
    } else {
        alpha_.Prepare(0, 0);
    }
}

} // namespace snq
