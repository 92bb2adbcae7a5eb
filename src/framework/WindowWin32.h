#pragma once
// The one window-binding idiom of the program: a window procedure that finds
// its object through GWLP_USERDATA (stored at WM_NCCREATE) and calls the
// object's handler, catching every error at that boundary.
#include <string_view>

#include "framework/Win32Handles.h"

namespace snq {

class IWindowHandler {
public:
    virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~IWindowHandler() = default;
};

// Registers (once per process) a window class whose procedure dispatches to
// IWindowHandler, and creates a window of it bound to `handler`.
UniqueHwnd CreateBoundWindow(const wchar_t* className, DWORD exStyle, DWORD style,
                             std::wstring_view title, IWindowHandler& handler,
                             HWND owner = nullptr, HICON icon = nullptr);

// The framework's hidden utility window: class "TPUtilWindow",
// WS_EX_TOOLWINDOW, WS_POPUP, never shown. A hidden top-level window rather
// than a message-only one, so that it receives broadcasts such as
// "TaskbarCreated".
UniqueHwnd AllocateUtilWindow(IWindowHandler& handler);
// The same as a message-only window, for messages of the program's own (a
// hotkey, a thread's report): no broadcasts reach it, and it costs less.
UniqueHwnd AllocateMessageWindow(IWindowHandler& handler);

// Runs `body` and hands any error it raises to the application error box.
// For every entry point that the system calls.
template <class F> void GuardBoundary(F&& body) noexcept;
void ReportBoundaryException() noexcept;

template <class F> void GuardBoundary(F&& body) noexcept {
    try {
        body();
    } catch (...) {
        ReportBoundaryException();
    }
}

} // namespace snq
