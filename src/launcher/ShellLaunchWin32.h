#pragma once
// The launcher's system side: the shell request and the waits, and the
// hand-over of events to the GUI thread.
#include <deque>
#include <memory>

#include "framework/ComWin32.h"
#include "framework/WindowWin32.h"
#include "launcher/ShellLaunch.h"

namespace snq {

class Win32LaunchPlatform final : public ILaunchPlatform {
public:
    std::unique_ptr<IWaitThread> StartThread(std::function<void()> body) override;
    ShellResult Execute(const ShellRequest& request) override;
    WaitOutcome Wait(ProcessId process, std::uint32_t milliseconds) override;
    WaitOutcome WaitOrMessage(ProcessId process, std::uint32_t milliseconds) override;
    bool ProcessMessages() override;
    std::uint32_t ExitCode(ProcessId process) override;
    void Close(ProcessId process) override;
    void Sleep(std::uint32_t milliseconds) override;

private:
    // The thread that made the platform: the GUI thread, whose apartment
    // is held from its first shell request on.
    DWORD guiThread_ = ::GetCurrentThreadId();
    ComApartment com_;
};

// Runs tasks of other threads on the thread that created it: a posted
// message to its utility window wakes that thread, also inside a modal loop
// (a message dialog, a popup menu). The posting thread never waits.
class Win32MainThread final : public IMainThread, private IWindowHandler {
public:
    Win32MainThread();
    ~Win32MainThread();
    void Post(std::function<void()> task) override;

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    UniqueHwnd window_;
    // Win32's own lock: it needs no freeing.
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::deque<std::function<void()>> queue_;
};

} // namespace snq
