#pragma once
// The application object: its hidden top-level window (which carries the
// title), the message loop, the error box and the end-of-session exit.
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "framework/WindowWin32.h"

namespace snq {

class TApplication final : private IWindowHandler {
public:
    explicit TApplication(HINSTANCE instance);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    HINSTANCE Instance() const noexcept { return instance_; }
    HWND Handle() const noexcept { return window_.get(); }

    // The title is the hidden window's text (up to 255 characters); when that
    // is empty, the stored title.
    std::wstring Title() const;
    void SetTitle(std::wstring title);

    bool ShowMainForm = true;
    bool MainFormOnTaskBar = false;

    // Runs the message loop until the quit request arrives; while it waits,
    // it also waits for the watched events.
    void Run();
    // Runs `task` once, in the message loop, a moment (10 ms) after it
    // starts and when no message is waiting: after every message of the
    // start, and after whoever waits for this program to be ready
    // (WaitForInputIdle) was told that it is.
    void WhenIdle(std::function<void()> task);
    // Runs `signalled` in the message loop each time `event` is set (an
    // auto-reset event, owned by the caller, that outlives the loop).
    void Watch(HANDLE event, std::function<void()> signalled);
    // Stops watching `event`.
    void Unwatch(HANDLE event) noexcept;
    // Posts the quit request; nothing stops at once.
    void Terminate() noexcept;
    // Handles every message waiting in the thread's queue. A quit request
    // stays queued for the loop that owns it; the result is then false.
    bool ProcessMessages();

    // Shows the error box for the error being handled (inside a catch).
    void HandleException(std::exception_ptr error) noexcept;

    // The window that owns a dialog: the active window of this thread when it
    // is visible, else the application window.
    HWND DialogOwner() const noexcept;

    // Lets other programs (an installer, say) ask the program to exit: the
    // registered window message `name`, sent to the application window, is
    // answered with 1 and ends the message loop as the Exit command does.
    void AcceptExitRequest(const wchar_t* name) noexcept;

    // Called once when the session ends (WM_ENDSESSION with wParam non-zero),
    // before the process exits with code 0.
    std::function<void()> OnEndSession;

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    HINSTANCE instance_;
    std::wstring title_;
    std::vector<HANDLE> events_;
    std::vector<std::function<void()>> signalled_;
    std::vector<std::function<void()>> whenIdle_;
    UINT exitRequest_ = 0;
    UniqueHwnd window_;
};

// The process's application object, set while one exists.
TApplication& Application();
bool HasApplication() noexcept;

// The executable's full path, however long.
std::wstring ExecutablePath();

// Text of an error for the error boxes.
std::u16string ErrorMessageOf(std::exception_ptr error);

} // namespace snq
