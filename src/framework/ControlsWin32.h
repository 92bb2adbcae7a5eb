#pragma once
// Small child controls drawn by the program: a base with the mouse events,
// cursor and hint that labels and pictures share, a bevelled panel, a
// picture, and fonts.
#include <functional>
#include <string>

#include "framework/Color.h"
#include "framework/Scale.h"
#include "framework/WindowWin32.h"

namespace snq {

enum TCursor { crDefault = 0, crHandPoint = -21 };

// A font as the controls describe it.
struct TFont {
    std::wstring Name = L"MS Sans Serif";
    int Height = -11;
    bool Bold = false;
    TColor Color = clBlack;
    // The font at `dpi` (Height is in 96-DPI units).
    UniqueHfont Create(int dpi = kDefaultDpi) const;
};

// Resolves system colours (0xFF000000 + index) to RGB.
TColor ColorToRGB(TColor color);
constexpr TColor clBtnFace = 0xFF000000 | COLOR_BTNFACE;
constexpr TColor clWindowText = 0xFF000000 | COLOR_WINDOWTEXT;
constexpr TColor clBtnHighlight = 0xFF000000 | COLOR_BTNHIGHLIGHT;
constexpr TColor clBtnShadow = 0xFF000000 | COLOR_BTNSHADOW;
constexpr TColor clWindow = 0xFF000000 | COLOR_WINDOW;
constexpr TColor clHotLight = 0xFF000000 | COLOR_HOTLIGHT;

// Whether the user chose a high-contrast theme.
bool HighContrastOn();

// A 32-bit top-down DIB section: its rows are reached directly at `bits`.
UniqueHbitmap CreateDib32(HDC dc, int width, int height, void*& bits);

class TGraphicWindow : protected IWindowHandler {
public:
    TGraphicWindow(HWND parent, const wchar_t* className, int left, int top, int width, int height);
    virtual ~TGraphicWindow() = default;
    TGraphicWindow(const TGraphicWindow&) = delete;
    TGraphicWindow& operator=(const TGraphicWindow&) = delete;

    HWND Handle() const noexcept { return window_.get(); }
    // Positions and sizes in pixels.
    void SetBounds(int left, int top, int width, int height);
    // The DPI the control draws at (its fonts, its picture).
    int Dpi() const noexcept { return dpi_; }
    virtual void SetDpi(int dpi);
    RECT ClientRect() const;
    // Reached with Tab, and showing the focus.
    void SetTabStop();
    void Invalidate() const { ::InvalidateRect(window_.get(), nullptr, TRUE); }

    TCursor Cursor = crDefault;
    std::wstring Hint;
    bool Enabled = true;
    // With a tab stop (SetTabStop), Enter clicks it.
    std::function<void(TGraphicWindow& sender)> OnClick;
    std::function<void(TGraphicWindow& sender)> OnMouseEnter;
    std::function<void(TGraphicWindow& sender)> OnMouseLeave;
    std::function<void(TGraphicWindow& sender, int x, int y)> OnMouseMove;

protected:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void Paint(HDC dc) = 0;

private:
    UniqueHwnd window_;
    int dpi_ = kDefaultDpi;
    bool hovering_ = false;
    bool pressed_ = false;
};

// A panel with an inner raised and an outer lowered bevel.
class TPanel final : public TGraphicWindow {
public:
    TPanel(HWND parent, int left, int top, int width, int height)
        : TGraphicWindow(parent, L"TPanel", left, top, width, height) {}
    TColor Color = clBtnFace;

protected:
    void Paint(HDC dc) override;
};

// A picture drawn at its natural size from the top-left corner, clipped to
// the control; its owner makes it for the control's DPI.
class TImage final : public TGraphicWindow {
public:
    TImage(HWND parent, int left, int top, int width, int height)
        : TGraphicWindow(parent, L"TImage", left, top, width, height) {}
    void SetPicture(UniqueHbitmap picture);
    TColor Color = clBtnFace; // around the picture

protected:
    void Paint(HDC dc) override;

private:
    UniqueHbitmap picture_;
};

} // namespace snq
