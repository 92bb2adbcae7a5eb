#include "framework/FormWin32.h"

#include "framework/ApplicationWin32.h"
#include "framework/Exceptions.h"
#include "framework/ModalWin32.h"
#include "framework/Texts.h"

namespace snq {

TCustomForm::TCustomForm(const wchar_t* className, std::wstring_view caption, DWORD style,
                         DWORD exStyle, int clientWidth, int clientHeight, FormWindow made)
    : className_(className), caption_(caption), style_(style), exStyle_(exStyle), clientWidth_(clientWidth),
      clientHeight_(clientHeight) {
    if (made == FormWindow::Now) MakeWindow();
}

void TCustomForm::MakeWindow() {
    window_ = CreateBoundWindow(className_, exStyle_, style_, caption_, *this, Application().Handle());
    dpi_ = DpiOf(window_.get());
    RECT frame{0, 0, Scale(clientWidth_), Scale(clientHeight_)};
    AdjustForDpi(frame, style_, exStyle_, dpi_);
    ::SetWindowPos(window_.get(), nullptr, 0, 0, frame.right - frame.left,
                   frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void TCustomForm::CenterOnUsersMonitor() {
    const ScreenArea area = UsersWorkArea(::GetWindow(window_.get(), GW_OWNER));
    // Twice: a move onto a monitor of another DPI resizes the form (its
    // WM_DPICHANGED), and the new size is centred again.
    for (int pass = 0; pass < 2; ++pass) {
        RECT r{};
        ::GetWindowRect(window_.get(), &r);
        const ScreenPoint at = CenterIn(area, r.right - r.left, r.bottom - r.top);
        const int dpi = dpi_;
        ::SetWindowPos(window_.get(), nullptr, at.x, at.y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
        if (dpi_ == dpi) break;
    }
}

void TCustomForm::SetClientHeight(int units) {
    if (units == clientHeight_) return;
    clientHeight_ = units;
    RECT frame{0, 0, Scale(clientWidth_), Scale(clientHeight_)};
    AdjustForDpi(frame, style_, exStyle_, dpi_);
    ::SetWindowPos(window_.get(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

int TCustomForm::ShowModal() {
    if (Visible() || modal_) throw EInvalidOperation(Tr(TextId::ErrorModal));
    if (!window_) MakeWindow();
    BeforeShow();
    modalResult_ = mrNone;
    modal_ = true;
    const ForegroundReturn foreground;
    {
        // The other windows are enabled again before this one is hidden, so
        // that hiding it can activate one of them.
        const TaskWindowsDisabler disabler(window_.get());
        CenterOnUsersMonitor();
        ::ShowWindow(window_.get(), SW_SHOW);
        ::SetForegroundWindow(window_.get());
        // The loop ends when a handler sets the modal result.
        if (!RunModalLoop(window_.get(), [this] { return modalResult_ != mrNone; }))
            modalResult_ = mrCancel;
    }
    ::ShowWindow(window_.get(), SW_HIDE);
    modal_ = false;
    return modalResult_;
}

void TCustomForm::SetModalResult(int result) {
    modalResult_ = result;
    // The modal loop looks at the result after each posted message; a
    // result set while handling a sent one (a screen reader, UI
    // automation, another program) would otherwise wait for the next.
    if (modal_ && result != mrNone) ::PostMessageW(window_.get(), WM_NULL, 0, 0);
}

LRESULT TCustomForm::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DPICHANGED: {
        // Moved to a monitor of another DPI: the suggested rectangle keeps
        // the client area's size in 96-DPI units.
        dpi_ = HIWORD(wParam);
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(window, nullptr, suggested.left, suggested.top,
                       suggested.right - suggested.left, suggested.bottom - suggested.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        DpiChanged();
        return 0;
    }
    case WM_CLOSE:
        if (modal_) {
            SetModalResult(mrCancel);
            return 0;
        }
        ::ShowWindow(window, SW_HIDE);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace snq
