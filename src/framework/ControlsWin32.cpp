#include "framework/ControlsWin32.h"

#include "framework/ApplicationWin32.h"

namespace snq {

UniqueHfont TFont::Create(int dpi) const {
    LOGFONTW lf{};
    lf.lfHeight = ScaleTo(Height, dpi);
    lf.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(lf.lfFaceName, Name.c_str(), LF_FACESIZE);
    return UniqueHfont(::CreateFontIndirectW(&lf));
}

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

TColor ColorToRGB(TColor color) {
    if (color & 0xFF000000) return ::GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

UniqueHbitmap CreateDib32(HDC dc, int width, int height, void*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bits = nullptr;
    return UniqueHbitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

TGraphicWindow::TGraphicWindow(HWND parent, const wchar_t* className, int left, int top, int width,
                               int height) {
    window_ = CreateBoundWindow(className, 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, L"", *this, parent);
    SetBounds(left, top, width, height);
}

void TGraphicWindow::SetBounds(int left, int top, int width, int height) {
    ::SetWindowPos(window_.get(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TGraphicWindow::SetDpi(int dpi) {
    dpi_ = dpi;
    Invalidate();
}

void TGraphicWindow::SetTabStop() {
    ::SetWindowLongPtrW(Handle(), GWL_STYLE, ::GetWindowLongPtrW(Handle(), GWL_STYLE) | WS_TABSTOP);
    // The dialog manager looks for tab stops inside the parent too.
    HWND parent = ::GetParent(Handle());
    ::SetWindowLongPtrW(parent, GWL_EXSTYLE, ::GetWindowLongPtrW(parent, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
}

RECT TGraphicWindow::ClientRect() const {
    RECT r{};
    ::GetClientRect(window_.get(), &r);
    return r;
}

LRESULT TGraphicWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // Paint draws everything
    case WM_PAINT: {
        const ScopedPaint paint(window);
        Paint(paint.get());
        return 0;
    }
    case WM_GETDLGCODE:
        // Enter comes to a focused control that clicks, not to the default
        // button.
        if (const MSG* key = reinterpret_cast<const MSG*>(lParam);
            key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN && OnClick)
            return DLGC_WANTMESSAGE;
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN && Enabled && OnClick) {
            OnClick(*this);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursorW(nullptr, Cursor == crHandPoint ? IDC_HAND : IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        if (!hovering_) {
            hovering_ = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
            ::TrackMouseEvent(&track);
            if (OnMouseEnter) OnMouseEnter(*this);
        }
        if (OnMouseMove) OnMouseMove(*this, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_MOUSELEAVE:
        hovering_ = false;
        if (OnMouseLeave) OnMouseLeave(*this);
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        return 0;
    case WM_LBUTTONUP:
        if (pressed_ && Enabled && OnClick) {
            pressed_ = false;
            OnClick(*this);
        }
        pressed_ = false;
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void TPanel::Paint(HDC dc) {
    RECT r = ClientRect();
    UniqueHbrush face(::CreateSolidBrush(ColorToRGB(Color)));
    ::FillRect(dc, &r, face.get());
    ::DrawEdge(dc, &r, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT);
}

void TImage::SetPicture(UniqueHbitmap picture) {
    picture_ = std::move(picture);
    Invalidate();
}

void TImage::Paint(HDC dc) {
    RECT r = ClientRect();
    UniqueHbrush face(::CreateSolidBrush(ColorToRGB(Color)));
    ::FillRect(dc, &r, face.get());
    if (!picture_) return;
    BITMAP info{};
    ::GetObjectW(picture_.get(), sizeof(info), &info);
    UniqueMemDc memory(::CreateCompatibleDC(dc));
    ScopedSelectObject select(memory.get(), picture_.get());
    // Natural size from the top-left corner (the picture is made for the
    // control's DPI); the control clips the rest.
    ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

} // namespace snq
