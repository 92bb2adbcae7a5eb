#pragma once
// What every modal window of the program shares: the other visible windows
// of the thread are disabled while it is up, and a nested message loop runs
// until it is done.
#include <vector>

#include <windows.h>

namespace snq {

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

// Runs the thread's messages through `dialog` until `done` turns true or
// the dialog goes away. A quit request ends the loop and is posted again for
// the outer loop.
class IModalFilter {
public:
    // True when the message was handled and must not be dispatched.
    virtual bool PreTranslate(MSG& msg) = 0;

protected:
    ~IModalFilter() = default;
};
void RunModalLoop(HWND dialog, const bool& done, IModalFilter* filter = nullptr);

} // namespace snq
