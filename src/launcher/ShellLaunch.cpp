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
    : platform_(platform), mainThread_(mainThread),
            // Not make_shared: its deleter lookup by type pulls the runtime's
      // shared-pointer support (a lock pool among it), 4 KB for nothing.
      self_(new TShellLauncher*(this)) {}

TShellLauncher::~TShellLauncher() {
    *self_ = nullptr;
    terminate_ = true;
    JoinWaitThread();
    TakeProcess(0);
}

void TShellLauncher::JoinWaitThread() {
    // A wait thread never waits for the main thread, so this returns once its
    // current poll is over.
    if (waitThread_) waitThread_->Join();
    waitThread_.reset();
}

void TShellLauncher::TakeProcess(ProcessId process) {
    const ProcessId old = process_.exchange(process);
    if (old) platform_.Close(old);
}

TShellLauncher::LaunchSettings TShellLauncher::CurrentSettings() const {
    return {{Action, FileName, Parameters, StartDir, ShowCommandOf(ShowMode)},
            static_cast<std::uint32_t>(Timeout),
            WaitType,
            WaitUntilFinished};
}

void TShellLauncher::Launch() {
    if (busy_ || FileName.empty()) return;
    // The wait thread of an earlier launch has handed its event over and is
    // ending (or has ended): collected first.
    JoinWaitThread();
    active_ = CurrentSettings();
    if (active_.waitUntilFinished) {
        LaunchAndWait();
        return;
    }
    launchError_ = 0;
    started_ = false;
    terminate_ = false;
    outcome_ = {};
    waitThread_ = platform_.StartThread([this] { WaitThreadBody(); });
    do {
        platform_.Sleep(10);
    } while (!started_);
}

void TShellLauncher::WaitThreadBody() noexcept {
    try {
        LaunchAndWait();
    } catch (...) {
        outcome_ = {};
        outcome_.error = std::current_exception();
    }
    started_ = true; // also when the thread failed before the start
    if (!outcome_.raiser && !outcome_.error) return;
    // Handed over without waiting: the main thread may be waiting for this
    // thread (a second Launch, or the destructor), even from inside the very
    // event it would otherwise wait for.
    try {
        mainThread_.Post([self = self_, outcome = outcome_] {
            if (outcome.error) std::rethrow_exception(outcome.error);
            TShellLauncher* launcher = *self;
            if (!launcher) return; // destroyed meanwhile, and its handle closed
            // The handle stays open for the event, and goes after it, unless
            // the handler destroyed the launcher (which closed it) or a new
            // start has replaced it.
            struct Release {
                const std::shared_ptr<TShellLauncher*>& self;
                ProcessId process;
                ~Release() {
                    if (TShellLauncher* still = *self) still->ReleaseProcess(process);
                }
            } release{self, outcome.process};
            launcher->launchError_ = outcome.launchError;
            launcher->processExitCode_ = outcome.exitCode;
            (launcher->*outcome.raiser)();
        });
    } catch (...) {
        // Out of memory for the hand-over: the event is lost, nothing else.
    }
}

void TShellLauncher::LaunchAndWait() {
    launchError_ = 0;
    shellInstance_ = 0;
    TakeProcess(0);
    processExitCode_ = 0;
    const ShellResult result = platform_.Execute(active_.request);
    if (!result.ok) {
        launchError_ = static_cast<std::uint32_t>(result.instance);
        started_ = true;
        if (active_.waitUntilFinished)
            DoError();
        else
            HandOver(&TShellLauncher::DoError);
        return;
    }
    shellInstance_ = result.instance;
    process_ = result.process;
    busy_ = true;
    started_ = true;
    // Whatever the wait does, an event handler's error included, the
    // launcher is idle again afterwards (and so before a background wait's
    // event is raised) and the handle closed, unless an event handed over
    // keeps it for its handler.
    struct Idle {
        TShellLauncher& self;
        ~Idle() {
            if (self.active_.waitUntilFinished || !self.outcome_.raiser)
                self.platform_.Close(self.process_.exchange(0));
            self.busy_ = false;
        }
    } idle{*this};
    if (!active_.waitUntilFinished)
        WaitInBackground();
    else if (active_.waitType == TWaitType::wtFullStop)
        WaitFullStop();
    else
        WaitProcessingMessages();
}

bool TShellLauncher::RaiseWaitResult(const WaitOutcome& r) {
    switch (r.result) {
    case kWaitObject0:
        processExitCode_ = platform_.ExitCode(process_);
        DoFinished();
        return true;
    case kWaitTimeout:
        DoTimeout();
        return true;
    case kWaitFailed:
        launchError_ = r.lastError;
        DoError();
        return true;
    default:
        return false;
    }
}

void TShellLauncher::WaitFullStop() {
    RaiseWaitResult(platform_.Wait(process_, active_.timeout));
}

void TShellLauncher::WaitProcessingMessages() {
    for (;;) {
        // The limit starts again after every batch of messages.
        const WaitOutcome r = platform_.WaitOrMessage(process_, active_.timeout);
        if (r.result == kWaitMessage) {
            // The program is ending: its quit request would wake every wait
            // at once, so the wait ends here, without an event.
            if (!platform_.ProcessMessages()) return;
            continue;
        }
        if (RaiseWaitResult(r)) return;
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
            if (elapsed >= active_.timeout) {
                HandOver(&TShellLauncher::DoTimeout);
                return;
            }
        }
    }
}

void TShellLauncher::HandOver(void (TShellLauncher::*raiser)()) {
    outcome_ = {raiser, launchError_, processExitCode_, process_, {}};
}

void TShellLauncher::ReleaseProcess(ProcessId process) {
    ProcessId expected = process;
    if (process && process_.compare_exchange_strong(expected, 0)) platform_.Close(process);
}

std::uint32_t TShellLauncher::LaunchNoWait() {
    if (busy_ || FileName.empty()) return 0;
    shellInstance_ = 0;
    // The handle an earlier start left is closed: nothing else would.
    TakeProcess(0);
    processExitCode_ = 0;
    const ShellResult result = platform_.Execute(CurrentSettings().request);
    if (!result.ok) return static_cast<std::uint32_t>(result.instance);
    shellInstance_ = result.instance;
    TakeProcess(result.process);
    return 0;
}

// The handlers are called through copies: a handler may destroy the
// launcher, and with it the handler it was called through.
void TShellLauncher::DoFinished() {
    if (const auto handler = OnFinished) handler(*this);
}

void TShellLauncher::DoTimeout() {
    if (const auto handler = OnTimeout) handler(*this);
}

void TShellLauncher::DoError() {
    if (const auto handler = OnError) handler(*this, launchError_);
}

} // namespace snq
