#include "framework/FormWin32.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <algorithm>

#include "framework/ApplicationWin32.h"
#include "framework/ComWin32.h"
#include "framework/DynamicLibraryWin32.h"
#include "framework/Exceptions.h"
#include "framework/ModalWin32.h"
#include "framework/Texts.h"

namespace snq {

namespace {

// Tells accessibility clients that a form's client area is a dialog, as a
// dialog box's is, so that a screen reader reads its texts when it opens;
// with `clear`, takes that back before the window goes.
void AnnotateAsDialog(HWND window, bool clear) {
    static ComApartment com; // GUI thread only
    com.Enter();
    static const DynamicLibrary ole32(L"ole32.dll");
    const auto create = ole32.Get<decltype(&::CoCreateInstance)>("CoCreateInstance");
    constexpr CLSID kAccPropServices{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
    constexpr IID kIAccPropServices{0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
    constexpr MSAAPROPID kRole{0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};
    Microsoft::WRL::ComPtr<IAccPropServices> services;
    if (!create || FAILED(create(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                                 reinterpret_cast<void**>(services.GetAddressOf()))))
        return;
    if (clear) {
        services->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &kRole, 1);
        return;
    }
    VARIANT role{};
    role.vt = VT_I4;
    role.lVal = ROLE_SYSTEM_DIALOG;
    services->SetHwndProp(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kRole, role);
}

} // namespace

TCustomForm::~TCustomForm() {
    if (annotated_) AnnotateAsDialog(window_.get(), true);
}

TCustomForm::TCustomForm(const wchar_t* className, std::wstring_view caption, DWORD style,
                         DWORD exStyle, int clientWidth, int clientHeight, FormWindow made)
    : className_(className), caption_(caption), style_(style), exStyle_(exStyle), clientWidth_(clientWidth),
      clientHeight_(clientHeight) {
    if (made == FormWindow::Now) MakeWindow();
}

void TCustomForm::MakeWindow() {
    window_ = CreateBoundWindow(className_, exStyle_, style_, caption_, *this, Application().Handle());
    dpi_ = DpiOf(window_.get());
    Resize();
}

void TCustomForm::Resize() {
    RECT frame{0, 0, Scale(clientWidth_), Scale(clientHeight_)};
    AdjustForDpi(frame, style_, exStyle_, dpi_);
    ::SetWindowPos(window_.get(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
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
    Resize();
}

void TCustomForm::SetTextScale(int permille) {
    permille = std::max(permille, 1000);
    if (permille == textScale_) return;
    textScale_ = permille;
    Resize();
}

int TCustomForm::ShowModal() {
    if (Visible() || modal_) throw EInvalidOperation(Tr(TextId::ErrorModal));
    if (!window_) MakeWindow();
    if (!annotated_) AnnotateAsDialog(window_.get(), false);
    annotated_ = true;
    lastFocus_ = nullptr;
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
    case WM_ACTIVATE:
        // A plain window puts the focus on itself when activated, and a
        // screen reader then says the title and nothing more.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = ::GetFocus(); focus && ::IsChild(window, focus)) lastFocus_ = focus;
            return 0;
        }
        [[fallthrough]];
    case WM_SETFOCUS: {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(window, focus)) return 0;
        HWND back = lastFocus_ && ::IsChild(window, lastFocus_) && ::IsWindowEnabled(lastFocus_)
                        ? lastFocus_
                        : ::GetNextDlgTabItem(window, nullptr, FALSE);
        if (back) ::SetFocus(back);
        return 0;
    }
    case WM_NEXTDLGCTL: {
        // What the dialog manager sends for an access key on a label or a
        // group; only a dialog's own procedure acts on it.
        HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                   : ::GetNextDlgTabItem(window, ::GetFocus(), wParam != 0);
        if (next) ::SetFocus(next);
        return 0;
    }
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        // Another message font, text size or colour scheme: the form is laid
        // out and drawn anew (a hidden one at its next showing).
        if (Visible()) {
            DpiChanged();
            ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        return 0;
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
