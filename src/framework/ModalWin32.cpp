#include "framework/ModalWin32.h"

namespace snq {

TaskWindowsDisabler::TaskWindowsDisabler(HWND except) : focus_(::GetFocus()) {
    struct Context {
        HWND except;
        std::vector<HWND>* list;
    } context{except, &disabled_};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* c = reinterpret_cast<Context*>(param);
            if (window != c->except && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
                c->list->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
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
