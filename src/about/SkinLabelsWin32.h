#pragma once
// The labels of the About window: a plain label, and one with a blurred
// shadow under its text. They draw as skinned labels do when no skin is
// active, which in this program is always.
#include <string>

#include "about/Shadow.h"
#include "framework/ControlsWin32.h"

namespace snq {

class TSkinCustomLabel : public TGraphicWindow {
public:
    TSkinCustomLabel(HWND parent, int left, int top, const wchar_t* className = L"TSkinLabel");

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(std::wstring caption);
    TFont& Font() { return font_; }
    // Applies changes of Font: re-measures when auto-sizing, then repaints.
    void FontChanged();
    // The font is made for the new DPI, and the label measured anew.
    void SetDpi(int dpi) override;

    bool AutoSize = true;
    bool Transparent = true;
    bool WordWrap = false;
    bool ShowAccelChar = true;
    TColor Color = clBtnFace;

    // Re-measures the caption and resizes the label (auto-size).
    void AdjustBounds();
    // Draws, or with DT_CALCRECT only measures, the caption in `rect`.
    virtual void DrawCaptionText(HDC dc, RECT& rect, UINT flags);
    // The font to paint with: without a skin, Font itself.
    virtual TFont& GetPaintFont() { return font_; }

protected:
    void Paint(HDC dc) override;
    UINT TextFlags() const;
    // The caption to draw or measure: an empty caption (or a lone "&"
    // prefix) measures as one space, so that the label keeps a height.
    std::wstring TextFor(UINT flags) const;
    // The framework's label text drawing, disabled drawing included.
    void DrawLabelText(HDC dc, RECT& rect, UINT flags, const std::wstring& text);
    HFONT FontHandle();

private:
    std::wstring caption_;
    TFont font_;
    UniqueHfont fontHandle_;
};

class TSkinLabel final : public TSkinCustomLabel {
public:
    TSkinLabel(HWND parent, int left, int top) : TSkinCustomLabel(parent, left, top) {}
};

struct TShadowParams {
    bool CacheImage = false;
    int BlurCount = 4;
    int Distance = 1;
    TShadowMode Mode = TShadowMode::smSkin1;
    TColor Color() const { return color_; }
    // Stores the colour and its RGB components (system colours resolved).
    void SetColor(TColor color);
    std::uint8_t ShadowR = 0, ShadowG = 0, ShadowB = 0;

private:
    TColor color_ = clBlack;
};

struct TLabelKind {
    TLabelKindType KindType = TLabelKindType::ktSkin;
    TColor Color = clWhite;
};

class TShadowLabel final : public TSkinCustomLabel {
public:
    TShadowLabel(HWND parent, int left, int top);

    TShadowParams Shadow;
    TLabelKind Kind;
    int MarginLow() const { return margins_.low; }
    int MarginHigh() const { return margins_.high; }

    void DrawCaptionText(HDC dc, RECT& rect, UINT flags) override;

private:
    void RebuildShadowImage(HDC dc, const RECT& rect, UINT flags, const std::wstring& text,
                            int distance, int blurCount);

    UniqueHbitmap shadowImage_;
    void* shadowBits_ = nullptr;
    int imageWidth_ = 0, imageHeight_ = 0;
    AlphaBuffer alpha_;
    bool needsRebuild_ = true;
    ShadowMargins margins_;
};

} // namespace snq
