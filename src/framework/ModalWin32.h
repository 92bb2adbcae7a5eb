#pragma once
// What every modal window of the program shares: the other visible windows
// of the thread are disabled while it is up, and a nested message loop runs
// until it is done.
#include <exception>
#include <vector>

#include <windows.h>

namespace snq {

// Calls `visit` for each top-level window of the calling thread. An error
// that `visit` raises ends the walk and leaves here, never through the
// system's callback.
template <class Visit> void ForEachThreadWindow(Visit visit) {
    struct Walk {
        Visit& visit;
        std::exception_ptr error;
    } walk{visit, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* w = reinterpret_cast<Walk*>(param);
            try {
                w->visit(window);
                return TRUE;
            } catch (...) {
                w->error = std::current_exception();
                return FALSE;
            }
        },
        reinterpret_cast<LPARAM>(&walk));
    if (walk.error) std::rethrow_exception(walk.error);
}

// Disables the thread's visible, enabled top-level windows (but `except`) for
// the scope, and restores them and the focus afterwards. Hidden windows, such
// as the tray icon's, stay enabled, so the tray keeps working meanwhile.
class TaskWindowsDisabler {
public:
    explicit TaskWindowsDisabler(HWND except = nullptr);
    ~TaskWindowsDisabler();
    TaskWindowsDisabler(const TaskWindowsDisabler&) = delete;
    TaskWindowsDisabler& operator=(const TaskWindowsDisabler&) = delete;

private:
    std::vector<HWND> disabled_;
    HWND focus_;
};

// Gives the foreground back to the window that had it when a modal window of
// the program came up (another program's, when the hotkey opened it), if
// closing the modal window left the foreground with none of the program's
// visible windows. Closing a window activates its owner, and the owner of
// the program's dialogs is often its hidden application window.
class ForegroundReturn {
public:
    ForegroundReturn() noexcept : previous_(::GetForegroundWindow()) {}
    ~ForegroundReturn();
    ForegroundReturn(const ForegroundReturn&) = delete;
    ForegroundReturn& operator=(const ForegroundReturn&) = delete;

private:
    HWND previous_;
};

class IModalFilter {
public:
    // True when the message was handled and must not be dispatched.
    virtual bool PreTranslate(MSG& msg) = 0;

protected:
    ~IModalFilter() = default;
};

// Runs the thread's messages through `dialog` until `done()` holds or the
// dialog goes away. A quit request ends the loop and is posted again for the
// outer loop; the result is then false.
template <class Done> bool RunModalLoop(HWND dialog, Done done, IModalFilter* filter = nullptr) {
    MSG msg;
    while (!done() && ::IsWindow(dialog)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            ::PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
            return false;
        }
        if (filter && filter->PreTranslate(msg)) continue;
        if (::IsDialogMessageW(dialog, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

} // namespace snq
