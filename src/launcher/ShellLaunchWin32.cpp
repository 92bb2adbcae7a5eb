#include "launcher/ShellLaunchWin32.h"

#include <shellapi.h>

#include "framework/ApplicationWin32.h"
#include "framework/ComWin32.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"
#include "framework/Texts.h"

namespace snq {

namespace {

constexpr UINT kRunTasks = WM_APP + 1;
HANDLE AsHandle(ProcessId p) { return reinterpret_cast<HANDLE>(p); }

class Win32WaitThread final : public IWaitThread {
public:
    explicit Win32WaitThread(std::function<void()> body) : body_(std::move(body)) {
        handle_.reset(::CreateThread(nullptr, 0, &Entry, this, 0, nullptr));
        if (!handle_) throw EOutOfResources(Tr(TextId::ErrorWaitThread));
    }
    ~Win32WaitThread() override { Join(); }
    void Join() override {
        if (handle_) ::WaitForSingleObject(handle_.get(), INFINITE);
        handle_.reset();
    }

private:
    static DWORD WINAPI Entry(LPVOID self) noexcept {
        // The shell request is made on this thread, so COM is ready here for
        // its life. The body hands its own errors to the GUI thread: none
        // may be shown from this one.
        try {
            ComApartment com;
            com.Enter();
            static_cast<Win32WaitThread*>(self)->body_();
        } catch (...) {
        }
        return 0;
    }
    std::function<void()> body_;
    UniqueKernelHandle handle_;
};

// Holds an SRW lock exclusively for the scope.
class ScopedExclusive {
public:
    explicit ScopedExclusive(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
    ~ScopedExclusive() { ::ReleaseSRWLockExclusive(&lock_); }
    ScopedExclusive(const ScopedExclusive&) = delete;
    ScopedExclusive& operator=(const ScopedExclusive&) = delete;

private:
    SRWLOCK& lock_;
};

} // namespace

std::unique_ptr<IWaitThread> Win32LaunchPlatform::StartThread(std::function<void()> body) {
    return std::make_unique<Win32WaitThread>(std::move(body));
}

ShellResult Win32LaunchPlatform::Execute(const ShellRequest& request) {
    // A wait thread entered its own apartment.
    if (::GetCurrentThreadId() == guiThread_) com_.Enter();
    const std::wstring verb = ToWide(request.verb), file = ToWide(request.file),
                       parameters = ToWide(request.parameters), directory = ToWide(request.directory);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // No close of the process handle, wait for DDE conversations to end, and
    // no error dialogs of the shell's own.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
    info.hwnd = nullptr;
    // Empty texts go as empty strings, never as null pointers.
    info.lpVerb = verb.c_str();
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = directory.c_str();
    info.nShow = request.showCommand;
    ShellResult result;
    result.ok = ::ShellExecuteExW(&info) != FALSE;
    result.instance = reinterpret_cast<std::uintptr_t>(info.hInstApp);
    result.process = result.ok ? reinterpret_cast<ProcessId>(info.hProcess) : 0;
    if (!result.ok) UniqueKernelHandle discard(info.hProcess);
    return result;
}

WaitOutcome Win32LaunchPlatform::Wait(ProcessId process, std::uint32_t milliseconds) {
    const DWORD r = ::WaitForSingleObject(AsHandle(process), milliseconds);
    return {r, r == WAIT_FAILED ? ::GetLastError() : 0};
}

WaitOutcome Win32LaunchPlatform::WaitOrMessage(ProcessId process, std::uint32_t milliseconds) {
    HANDLE handle = AsHandle(process);
    // Posted and sent messages wake the wait; input, timers and paints do not.
    const DWORD r = ::MsgWaitForMultipleObjects(1, &handle, FALSE, milliseconds,
                                                QS_POSTMESSAGE | QS_SENDMESSAGE | QS_ALLPOSTMESSAGE);
    return {r, r == WAIT_FAILED ? ::GetLastError() : 0};
}

bool Win32LaunchPlatform::ProcessMessages() { return Application().ProcessMessages(); }

std::uint32_t Win32LaunchPlatform::ExitCode(ProcessId process) {
    DWORD code = 0;
    ::GetExitCodeProcess(AsHandle(process), &code);
    return code;
}

void Win32LaunchPlatform::Close(ProcessId process) {
    // The owner of every process handle the launcher holds.
    UniqueKernelHandle owned(AsHandle(process));
}

void Win32LaunchPlatform::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

Win32MainThread::Win32MainThread() : window_(AllocateMessageWindow(*this)) {}

Win32MainThread::~Win32MainThread() = default;

void Win32MainThread::Post(std::function<void()> task) {
    {
        ScopedExclusive hold(lock_);
        queue_.push_back(std::move(task));
    }
    ::PostMessageW(window_.get(), kRunTasks, 0, 0);
}

LRESULT Win32MainThread::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunTasks) return ::DefWindowProcW(window, message, wParam, lParam);
    for (;;) {
        std::function<void()> task;
        {
            ScopedExclusive hold(lock_);
            if (queue_.empty()) break;
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        // An error of the task goes to the error box here, on this thread.
        GuardBoundary(task);
    }
    return 0;
}

} // namespace snq
