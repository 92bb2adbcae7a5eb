#include "launcher/ShellLaunch.h"

namespace snq {

int ShowCommandOf(TShowMode mode) {
    switch (mode) {
    case TShowMode::smNormal: return 1;    // SW_SHOWNORMAL
    case TShowMode::smMaximized: return 3; // SW_SHOWMAXIMIZED
    case TShowMode::smMinimized: return 7; // SW_SHOWMINNOACTIVE
    case TShowMode::smHide: return 0;      // SW_HIDE
    }
    return 1;
}

TShellLauncher::TShellLauncher(ILaunchPlatform& platform, IMainThread& mainThread)
    : platform_(platform), mainThread_(mainThread) {}

TShellLauncher::~TShellLauncher() {
    terminate_ = true;
    JoinWaitThread();
    TakeProcess(0);
}

void TShellLauncher::JoinWaitThread() {
    if (waitThread_) waitThread_->Join();
    waitThread_.reset();
}

void TShellLauncher::TakeProcess(ProcessId process) {
    const ProcessId old = process_.exchange(process);
    if (old) platform_.Close(old);
}

ShellResult TShellLauncher::Execute() {
    return platform_.Execute({Action, FileName, Parameters, StartDir, ShowCommandOf(ShowMode)});
}

void TShellLauncher::Launch() {
    if (busy_ || FileName.empty()) return;
    if (WaitUntilFinished) {
        LaunchAndWait();
        return;
    }
    // A finished wait thread of an earlier launch is collected first.
    JoinWaitThread();
    launchError_ = 0;
    started_ = false;
    terminate_ = false;
    waitThread_ = platform_.StartThread([this] { LaunchAndWait(); });
    do {
        platform_.Sleep(10);
    } while (!busy_ && launchError_ == 0 && !started_);
}

void TShellLauncher::LaunchAndWait() {
    launchError_ = 0;
    shellInstance_ = 0;
    TakeProcess(0);
    processExitCode_ = 0;
    const ShellResult result = Execute();
    if (!result.ok) {
        launchError_ = static_cast<std::uint32_t>(result.instance);
        started_ = true;
        if (WaitUntilFinished)
            DoError();
        else
            HandOver(&TShellLauncher::DoError);
        return;
    }
    shellInstance_ = result.instance;
    process_ = result.process;
    busy_ = true;
    started_ = true;
    // Whatever the wait does, an event handler's error included, the handle
    // is closed and the launcher is idle again afterwards.
    struct Idle {
        TShellLauncher& self;
        ~Idle() {
            const ProcessId process = self.process_.exchange(0);
            self.platform_.Close(process);
            self.busy_ = false;
        }
    } idle{*this};
    if (!WaitUntilFinished)
        WaitInBackground();
    else if (WaitType == TWaitType::wtFullStop)
        WaitFullStop();
    else
        WaitProcessingMessages();
}

void TShellLauncher::WaitFullStop() {
    const WaitOutcome r = platform_.Wait(process_, static_cast<std::uint32_t>(Timeout));
    switch (r.result) {
    case kWaitFailed:
        launchError_ = r.lastError;
        DoError();
        break;
    case kWaitObject0:
        processExitCode_ = platform_.ExitCode(process_);
        DoFinished();
        break;
    case kWaitTimeout:
        DoTimeout();
        break;
    default:
        break;
    }
}

void TShellLauncher::WaitProcessingMessages() {
    for (;;) {
        // The limit starts again after every batch of messages.
        const WaitOutcome r = platform_.WaitOrMessage(process_, static_cast<std::uint32_t>(Timeout));
        switch (r.result) {
        case kWaitObject0:
            processExitCode_ = platform_.ExitCode(process_);
            DoFinished();
            return;
        case kWaitMessage:
            platform_.ProcessMessages();
            break;
        case kWaitTimeout:
            DoTimeout();
            return;
        case kWaitFailed:
            launchError_ = r.lastError;
            DoError();
            return;
        default:
            break;
        }
    }
}

void TShellLauncher::WaitInBackground() {
    std::uint32_t elapsed = 0;
    while (!terminate_) {
        const WaitOutcome r = platform_.Wait(process_, 100);
        if (r.result == kWaitFailed) {
            launchError_ = r.lastError;
            HandOver(&TShellLauncher::DoError);
            return;
        }
        if (r.result == kWaitObject0) {
            processExitCode_ = platform_.ExitCode(process_);
            HandOver(&TShellLauncher::DoFinished);
            return;
        }
        if (r.result == kWaitTimeout) {
            elapsed += 100;
            // Both sides unsigned: a Timeout of -1 never expires.
            if (elapsed >= static_cast<std::uint32_t>(Timeout)) {
                HandOver(&TShellLauncher::DoTimeout);
                return;
            }
        }
    }
}

void TShellLauncher::HandOver(void (TShellLauncher::*raiser)()) {
    mainThread_.RunAndWait([this, raiser] { (this->*raiser)(); }, terminate_);
}

std::uint32_t TShellLauncher::LaunchNoWait() {
    if (busy_ || FileName.empty()) return 0;
    shellInstance_ = 0;
    // The handle of an earlier start is closed here rather than leaked.
    TakeProcess(0);
    processExitCode_ = 0;
    const ShellResult result = Execute();
    if (!result.ok) return static_cast<std::uint32_t>(result.instance);
    shellInstance_ = result.instance;
    TakeProcess(result.process);
    return 0;
}

void TShellLauncher::DoFinished() {
    if (OnFinished) OnFinished(*this);
}

void TShellLauncher::DoTimeout() {
    if (OnTimeout) OnTimeout(*this);
}

void TShellLauncher::DoError() {
    if (OnError) OnError(*this, launchError_);
}

} // namespace snq
