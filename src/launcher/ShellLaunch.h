#pragma once
// The shell launcher: hands a document, program or address to the shell with
// a verb and, when asked, waits for the process it started, in the calling
// thread or in a wait thread whose events run on the main thread.
//
// The system calls sit behind ILaunchPlatform and the hand-over to the main
// thread behind IMainThread, so the launcher's decisions are tested natively.
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace snq {

enum class TShowMode { smNormal, smMaximized, smMinimized, smHide };
enum class TWaitType { wtFullStop, wtProcessMessages };

// The show command of a mode: SW_SHOWNORMAL, SW_SHOWMAXIMIZED,
// SW_SHOWMINNOACTIVE (minimised, not activated), SW_HIDE.
int ShowCommandOf(TShowMode mode);

using ProcessId = std::uintptr_t; // a process handle value; 0: none

inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitMessage = 1; // WAIT_OBJECT_0 + 1 of the message wait
inline constexpr std::uint32_t kWaitTimeout = 0x102;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

struct ShellRequest {
    std::u16string verb, file, parameters, directory; // empty, never absent
    int showCommand;
};

struct ShellResult {
    bool ok = false;
    std::uintptr_t instance = 0; // hInstApp: the shell's code on failure
    ProcessId process = 0;       // may be 0 even on success
};

struct WaitOutcome {
    std::uint32_t result;
    std::uint32_t lastError; // meaningful with kWaitFailed
};

// A started thread; Join waits until its body has returned.
class IWaitThread {
public:
    virtual ~IWaitThread() = default;
    virtual void Join() = 0;
};

class ILaunchPlatform {
public:
    // Runs `body` on a new thread. `body` reports its own errors.
    virtual std::unique_ptr<IWaitThread> StartThread(std::function<void()> body) = 0;
    virtual ~ILaunchPlatform() = default;
    // One ShellExecuteEx with SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT |
    // SEE_MASK_FLAG_NO_UI and no owner window.
    virtual ShellResult Execute(const ShellRequest& request) = 0;
    virtual WaitOutcome Wait(ProcessId process, std::uint32_t milliseconds) = 0;
    // Waits for the process or for posted or sent messages (wake mask 0x148).
    virtual WaitOutcome WaitOrMessage(ProcessId process, std::uint32_t milliseconds) = 0;
    // Handles the waiting messages; false when the program has been asked to
    // end (the request stays queued for the program's own loop).
    virtual bool ProcessMessages() = 0;
    virtual std::uint32_t ExitCode(ProcessId process) = 0;
    virtual void Close(ProcessId process) = 0; // called even for 0
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

class IMainThread {
public:
    virtual ~IMainThread() = default;
    // Queues `task` to run on the main thread and returns at once; tasks run
    // in the order they were queued. An error that leaves a task goes to the
    // main thread's error report.
    virtual void Post(std::function<void()> task) = 0;
};

class TShellLauncher {
public:
    TShellLauncher(ILaunchPlatform& platform, IMainThread& mainThread);
    // Asks a running wait thread to end and joins it: no event fires after
    // this, also none that was handed over and not yet raised. Closes any
    // process handle still held.
    virtual ~TShellLauncher();
    TShellLauncher(const TShellLauncher&) = delete;
    TShellLauncher& operator=(const TShellLauncher&) = delete;

    std::u16string Action = u"Open";
    std::u16string FileName;
    std::u16string Parameters;
    TShowMode ShowMode = TShowMode::smNormal;
    std::u16string StartDir;
    std::int32_t Timeout = -1; // -1: no limit
    TWaitType WaitType = TWaitType::wtFullStop;
    bool WaitUntilFinished = false;
    std::function<void(TShellLauncher& sender)> OnFinished;
    std::function<void(TShellLauncher& sender)> OnTimeout;
    std::function<void(TShellLauncher& sender, std::uint32_t errorCode)> OnError;

    // Starts FileName and waits as WaitUntilFinished and WaitType say; the
    // outcome arrives through the events. Does nothing while busy or without
    // a FileName. A wait thread works from the settings as they were here.
    virtual void Launch();
    // Starts FileName without waiting and without events: 0, or the shell's
    // failure code.
    virtual std::uint32_t LaunchNoWait();

    bool Busy() const noexcept { return busy_; }
    std::uint32_t LaunchError() const noexcept { return launchError_; }
    std::uint32_t ProcessExitCode() const noexcept { return processExitCode_; }
    std::uintptr_t ShellInstance() const noexcept { return shellInstance_; }
    ProcessId ProcessHandle() const noexcept { return process_; }

protected:
    virtual void WaitProcessingMessages();
    virtual void WaitFullStop();
    virtual void WaitInBackground();
    virtual void DoFinished();
    virtual void DoTimeout();
    virtual void DoError();

private:
    // What one launch works from, taken when it starts.
    struct LaunchSettings {
        ShellRequest request;
        std::uint32_t timeout = kInfinite;
        TWaitType waitType = TWaitType::wtFullStop;
        bool waitUntilFinished = false;
    };
    // An event the wait thread has for the main thread, with the state it
    // saw.
    struct Outcome {
        void (TShellLauncher::*raiser)() = nullptr;
        std::uint32_t launchError = 0;
        std::uint32_t exitCode = 0;
        ProcessId process = 0; // kept open until the event has been raised
        std::exception_ptr error;
    };

    LaunchSettings CurrentSettings() const;
    // Raises the event of a finished, timed-out or failed wait; false for
    // any other result.
    bool RaiseWaitResult(const WaitOutcome& r);
    void LaunchAndWait();
    void WaitThreadBody() noexcept;
    void TakeProcess(ProcessId process);
    // Closes `process` if it is still the one held.
    void ReleaseProcess(ProcessId process);
    // From the wait thread: notes the event to hand to the main thread once
    // the wait is over and the launcher idle again.
    void HandOver(void (TShellLauncher::*raiser)());
    void JoinWaitThread();

    ILaunchPlatform& platform_;
    IMainThread& mainThread_;
    // Written by Launch before the wait thread starts and read only by it.
    LaunchSettings active_;
    Outcome outcome_;
    // What handed-over events find of the launcher: null once it is gone.
    // Set and read on the main thread only.
    std::shared_ptr<TShellLauncher*> self_;
    std::atomic<std::uint32_t> processExitCode_{0};
    std::atomic<std::uint32_t> launchError_{0};
    std::atomic<std::uintptr_t> shellInstance_{0};
    std::atomic<ProcessId> process_{0};
    std::atomic<bool> busy_{false};
    // Set by the wait thread once the shell request has returned, whatever
    // its outcome, or the thread has failed before it: ends Launch's
    // start-up wait.
    std::atomic<bool> started_{false};
    std::atomic<bool> terminate_{false};
    std::unique_ptr<IWaitThread> waitThread_;
};

} // namespace snq
