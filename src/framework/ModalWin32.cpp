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

} // namespace snq
