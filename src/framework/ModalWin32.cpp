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

void RunModalLoop(HWND dialog, const bool& done, IModalFilter* filter) {
    MSG msg;
    while (!done && ::IsWindow(dialog)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            ::PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
            break;
        }
        if (filter && filter->PreTranslate(msg)) continue;
        if (::IsDialogMessageW(dialog, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace snq
