#include "framework/ModalWin32.h"

namespace snq {

TaskWindowsDisabler::TaskWindowsDisabler(HWND except) : focus_(::GetFocus()) {
    ForEachThreadWindow([&](HWND window) {
        if (window != except && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
            disabled_.push_back(window);
    });
    for (HWND window : disabled_) ::EnableWindow(window, FALSE);
}

TaskWindowsDisabler::~TaskWindowsDisabler() {
    for (HWND window : disabled_)
        if (::IsWindow(window)) ::EnableWindow(window, TRUE);
    if (focus_ && ::IsWindow(focus_)) ::SetFocus(focus_);
}

ForegroundReturn::~ForegroundReturn() {
    HWND now = ::GetForegroundWindow();
    if (!previous_ || now == previous_ || !::IsWindow(previous_)) return;
    DWORD owner = 0;
    if (now) ::GetWindowThreadProcessId(now, &owner);
    // Someone else's window, or a visible one of ours: the user's choice.
    if (now && (owner != ::GetCurrentProcessId() || ::IsWindowVisible(now))) return;
    ::SetForegroundWindow(previous_);
}

} // namespace snq
