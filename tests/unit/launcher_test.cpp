#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "launcher/ShellLaunch.h"

using namespace snq;
using namespace std::chrono_literals;

namespace {

// A scripted shell: each start gives the next prepared result; a process
// ends after a set number of waits, and every wait and close is recorded.
class FakePlatform : public ILaunchPlatform {
public:
    struct Process {
        int waitsUntilExit = -1; // -1: runs until told otherwise
        std::uint32_t exitCode = 0;
    };
    std::deque<ShellResult> results;
    std::map<ProcessId, Process> processes;
    std::deque<std::uint32_t> messageWaits; // scripted WaitOrMessage results
    std::vector<ShellRequest> requests;
    std::vector<std::uint32_t> waitTimeouts;
    std::vector<ProcessId> closed;
    std::atomic<int> waits{0};
    int processedMessages = 0;
    std::atomic<bool> hold{false}; // blocks waits while set
    std::mutex mutex;

    struct Thread : IWaitThread {
        std::thread thread;
        void Join() override {
            if (thread.joinable()) thread.join();
        }
    };
    std::unique_ptr<IWaitThread> StartThread(std::function<void()> body) override {
        auto t = std::make_unique<Thread>();
        t->thread = std::thread(std::move(body));
        return t;
    }
    ShellResult Execute(const ShellRequest& request) override {
        std::lock_guard lock(mutex);
        requests.push_back(request);
        ShellResult r = results.empty() ? ShellResult{true, 42, 0} : results.front();
        if (!results.empty()) results.pop_front();
        return r;
    }
    WaitOutcome Wait(ProcessId process, std::uint32_t ms) override {
        while (hold) std::this_thread::sleep_for(1ms);
        ++waits;
        std::lock_guard lock(mutex);
        waitTimeouts.push_back(ms);
        if (!process || !processes.count(process)) return {kWaitFailed, 6};
        Process& p = processes[process];
        if (p.waitsUntilExit == 0) return {kWaitObject0, 0};
        if (p.waitsUntilExit > 0) --p.waitsUntilExit;
        return {kWaitTimeout, 0};
    }
    WaitOutcome WaitOrMessage(ProcessId process, std::uint32_t ms) override {
        waitTimeouts.push_back(ms);
        if (!process) return {kWaitFailed, 6};
        if (messageWaits.empty()) return {kWaitTimeout, 0};
        const std::uint32_t r = messageWaits.front();
        messageWaits.pop_front();
        return {r, 0};
    }
    bool ProcessMessages() override {
        ++processedMessages;
        return !quitRequested;
    }
    bool quitRequested = false;
    std::uint32_t ExitCode(ProcessId process) override {
        std::lock_guard lock(mutex);
        return processes[process].exitCode;
    }
    void Close(ProcessId process) override {
        std::lock_guard lock(mutex);
        closed.push_back(process);
    }
    void Sleep(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

// The main thread is the test's thread; it runs handed-over tasks in Pump.
class FakeMainThread : public IMainThread {
public:
    std::thread::id mainId = std::this_thread::get_id();
    std::vector<std::thread::id> ranOn;

    void Post(std::function<void()> task) override {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(task));
        }
        posted_.notify_all();
    }
    // Waits until a task is queued (a wait thread has handed its event over).
    bool WaitForPosted(std::chrono::milliseconds limit = 3000ms) {
        std::unique_lock lock(mutex_);
        return posted_.wait_for(lock, limit, [this] { return !queue_.empty(); });
    }
    // Runs queued tasks until `until` holds or time runs out.
    template <class F> bool PumpUntil(F until, std::chrono::milliseconds limit = 3000ms) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!until()) {
            if (std::chrono::steady_clock::now() > end) return false;
            RunQueued();
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }
    // Runs the tasks queued so far; a task's error leaves here.
    void RunQueued() {
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(mutex_);
                if (queue_.empty()) return;
                task = std::move(queue_.front());
                queue_.pop_front();
            }
            ranOn.push_back(std::this_thread::get_id());
            task();
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> queue_;
};

// Ends the test run when the scope is not left within `limit`: a deadlock
// must fail the run, not hang it.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit = 5s)
        : thread_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
                  std::fprintf(stderr, "watchdog: %s did not finish: deadlock\n",
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
                  std::_Exit(1);
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

struct Events {
    int finished = 0, timeouts = 0, errors = 0;
    std::uint32_t errorCode = 0;
    void Bind(TShellLauncher& l) {
        l.OnFinished = [this](TShellLauncher&) { ++finished; };
        l.OnTimeout = [this](TShellLauncher&) { ++timeouts; };
        l.OnError = [this](TShellLauncher&, std::uint32_t code) {
            ++errors;
            errorCode = code;
        };
    }
    int total() const { return finished + timeouts + errors; }
};

} // namespace

TEST(ShellLauncher, DefaultsAndShowCommands) {
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    EXPECT_EQ(l.Action, u"Open");
    EXPECT_EQ(l.Timeout, -1);
    EXPECT_EQ(l.WaitType, TWaitType::wtFullStop);
    EXPECT_FALSE(l.WaitUntilFinished);
    EXPECT_EQ(l.ShowMode, TShowMode::smNormal);
    EXPECT_EQ(ShowCommandOf(TShowMode::smNormal), 1);
    EXPECT_EQ(ShowCommandOf(TShowMode::smMaximized), 3);
    EXPECT_EQ(ShowCommandOf(TShowMode::smMinimized), 7);
    EXPECT_EQ(ShowCommandOf(TShowMode::smHide), 0);
}

TEST(ShellLauncher, NoFileNameMeansNoShellCall) {
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    EXPECT_EQ(l.LaunchNoWait(), 0u);
    l.Launch();
    l.WaitUntilFinished = true;
    l.Launch();
    EXPECT_TRUE(platform.requests.empty());
}

TEST(ShellLauncher, LaunchNoWaitSendsTheRequestAndClosesTheHandleItReplaces) {
    FakePlatform platform;
    FakeMainThread main;
    Events events;
    {
        TShellLauncher l(platform, main);
        events.Bind(l);
        l.FileName = u"https://example.test/?q=1";
        l.ShowMode = TShowMode::smMinimized;
        platform.results = {{true, 42, 7}, {true, 42, 8}, {false, 31, 0}};
        EXPECT_EQ(l.LaunchNoWait(), 0u);
        EXPECT_EQ(l.ProcessHandle(), 7u);
        EXPECT_EQ(l.ShellInstance(), 42u);
        EXPECT_FALSE(l.Busy());
        EXPECT_EQ(l.LaunchNoWait(), 0u);
        EXPECT_EQ(platform.closed, std::vector<ProcessId>{7});
        EXPECT_EQ(l.LaunchNoWait(), 31u);
        EXPECT_EQ(l.ShellInstance(), 0u);
        EXPECT_EQ(l.LaunchError(), 0u);
    }
    EXPECT_EQ(platform.closed, (std::vector<ProcessId>{7, 8}));
    ASSERT_EQ(platform.requests.size(), 3u);
    const ShellRequest& r = platform.requests[0];
    EXPECT_EQ(r.verb, u"Open");
    EXPECT_EQ(r.file, u"https://example.test/?q=1");
    EXPECT_EQ(r.parameters, u"");
    EXPECT_EQ(r.directory, u"");
    EXPECT_EQ(r.showCommand, 7);
    EXPECT_EQ(events.total(), 0);
}

TEST(ShellLauncher, FullStopWaitReportsFinishTimeoutAndFailure) {
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    Events events;
    events.Bind(l);
    l.FileName = u"helper.exe";
    l.WaitUntilFinished = true;

    platform.results = {{true, 42, 5}};
    platform.processes[5] = {0, 17};
    l.Launch();
    EXPECT_EQ(events.finished, 1);
    EXPECT_EQ(l.ProcessExitCode(), 17u);
    EXPECT_EQ(platform.waitTimeouts.back(), kInfinite); // -1 is INFINITE
    EXPECT_EQ(platform.closed.back(), 5u);
    EXPECT_FALSE(l.Busy());

    l.Timeout = 0;
    platform.results = {{true, 42, 6}};
    platform.processes[6] = {};
    l.Launch();
    EXPECT_EQ(events.timeouts, 1);
    EXPECT_EQ(platform.waitTimeouts.back(), 0u);

    platform.results = {{true, 42, 0}}; // started, but no process handle
    l.Launch();
    EXPECT_EQ(events.errors, 1);
    EXPECT_EQ(events.errorCode, 6u);
    EXPECT_EQ(l.LaunchError(), 6u);
    EXPECT_EQ(platform.closed.back(), 0u) << "closed even without a handle";

    platform.results = {{false, 2, 0}};
    l.Launch();
    EXPECT_EQ(events.errors, 2);
    EXPECT_EQ(events.errorCode, 2u);
    EXPECT_FALSE(l.Busy());
}

TEST(ShellLauncher, MessageWaitStartsItsLimitAgainAfterEachMessage) {
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    Events events;
    events.Bind(l);
    l.FileName = u"helper.exe";
    l.WaitUntilFinished = true;
    l.WaitType = TWaitType::wtProcessMessages;
    l.Timeout = 1000;
    platform.results = {{true, 42, 5}};
    platform.processes[5] = {};
    platform.messageWaits = {kWaitMessage, kWaitMessage, 0x80 /* abandoned: wait again */,
                             kWaitMessage, kWaitTimeout};
    l.Launch();
    EXPECT_EQ(platform.processedMessages, 3);
    EXPECT_EQ(events.timeouts, 1);
    EXPECT_EQ(platform.waitTimeouts, std::vector<std::uint32_t>(5, 1000u));

    platform.results = {{true, 42, 0}};
    l.Launch();
    EXPECT_EQ(events.errorCode, 6u);
}

TEST(ShellLauncher, ALaunchFromAHandlerInsideTheMessageWaitDoesNothing) {
    struct ReentrantPlatform : FakePlatform {
        TShellLauncher* launcher = nullptr;
        bool ProcessMessages() override {
            FakePlatform::ProcessMessages();
            launcher->Launch();
            EXPECT_EQ(launcher->LaunchNoWait(), 0u);
            return true;
        }
    } platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    platform.launcher = &l;
    l.FileName = u"helper.exe";
    l.WaitUntilFinished = true;
    l.WaitType = TWaitType::wtProcessMessages;
    platform.results = {{true, 42, 5}};
    platform.processes[5] = {};
    platform.messageWaits = {kWaitMessage, kWaitObject0};
    l.Launch();
    EXPECT_EQ(platform.processedMessages, 1);
    EXPECT_EQ(platform.requests.size(), 1u);
}

TEST(ShellLauncher, AnEventHandlerErrorStillClosesTheHandleAndEndsBusy) {
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    l.FileName = u"helper.exe";
    l.WaitUntilFinished = true;
    l.OnFinished = [](TShellLauncher&) { throw std::runtime_error("handler failed"); };
    platform.results = {{true, 42, 5}};
    platform.processes[5] = {0, 0};
    EXPECT_THROW(l.Launch(), std::runtime_error);
    EXPECT_FALSE(l.Busy());
    EXPECT_EQ(platform.closed, std::vector<ProcessId>{5});
}

TEST(ShellLauncher, BackgroundWaitRunsEventsOnTheMainThreadAndCountsOnlyPolls) {
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    Events events;
    events.Bind(l);
    std::thread::id eventThread;
    l.OnTimeout = [&](TShellLauncher&) {
        ++events.timeouts;
        eventThread = std::this_thread::get_id();
    };
    l.FileName = u"helper.exe";
    l.Timeout = 250;
    platform.results = {{true, 42, 5}};
    platform.processes[5] = {};
    platform.hold = true;
    l.Launch();
    EXPECT_TRUE(l.Busy()) << "Launch returns once the start is made";
    platform.hold = false;
    ASSERT_TRUE(main.PumpUntil([&] { return events.timeouts == 1 && !l.Busy(); }));
    EXPECT_EQ(platform.waits, 3); // 100 + 100 + 100 >= 250
    EXPECT_EQ(eventThread, main.mainId);
    EXPECT_EQ(platform.waitTimeouts, std::vector<std::uint32_t>(3, 100u));

    // Timeout 0 expires after the first poll.
    l.Timeout = 0;
    platform.waits = 0;
    platform.results = {{true, 42, 6}};
    platform.processes[6] = {};
    l.Launch();
    ASSERT_TRUE(main.PumpUntil([&] { return events.timeouts == 2 && !l.Busy(); }));
    EXPECT_EQ(platform.waits, 1);
}

TEST(ShellLauncher, BackgroundWaitWithoutLimitNeverTimesOutAndIgnoresASecondLaunch) {
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    Events events;
    events.Bind(l);
    l.FileName = u"helper.exe";
    platform.results = {{true, 42, 5}};
    platform.processes[5] = {60, 3}; // ends after 60 polls
    platform.hold = true;            // the waits take their time
    l.Launch();
    EXPECT_TRUE(l.Busy());
    l.Launch();
    EXPECT_EQ(l.LaunchNoWait(), 0u);
    platform.hold = false;
    ASSERT_TRUE(main.PumpUntil([&] { return events.finished == 1 && !l.Busy(); }));
    EXPECT_EQ(events.timeouts, 0);
    EXPECT_EQ(l.ProcessExitCode(), 3u);
    EXPECT_EQ(platform.requests.size(), 1u);
    EXPECT_EQ(platform.closed, std::vector<ProcessId>{5});
}

TEST(ShellLauncher, BackgroundStartFailuresReachTheMainThreadEvenWithCodeZero) {
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    Events events;
    events.Bind(l);
    l.FileName = u"missing.exe";
    platform.results = {{false, 2, 0}};
    l.Launch(); // returns once the start has failed
    ASSERT_TRUE(main.PumpUntil([&] { return events.errors == 1; }));
    EXPECT_EQ(events.errorCode, 2u);
    // The shell may fail with code 0 (out of resources): Launch still returns.
    platform.results = {{false, 0, 0}};
    const auto start = std::chrono::steady_clock::now();
    l.Launch();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    ASSERT_TRUE(main.PumpUntil([&] { return events.errors == 2; }));
    EXPECT_EQ(events.errorCode, 0u);
    // No process handle: the wait fails with the invalid-handle code.
    platform.results = {{true, 42, 0}};
    l.Launch();
    ASSERT_TRUE(main.PumpUntil([&] { return events.errors == 3 && !l.Busy(); }));
    EXPECT_EQ(events.errorCode, 6u);
}

TEST(ShellLauncher, AnEarlierErrorDoesNotEndTheNextStartUpWait) {
    struct SlowShell : FakePlatform {
        ShellResult Execute(const ShellRequest& r) override {
            std::this_thread::sleep_for(200ms);
            return FakePlatform::Execute(r);
        }
    } platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    Events events;
    events.Bind(l);
    l.FileName = u"x";
    platform.results = {{false, 2, 0}};
    l.Launch();
    ASSERT_TRUE(main.PumpUntil([&] { return events.errors == 1; }));
    ASSERT_EQ(l.LaunchError(), 2u);
    platform.results = {{true, 42, 5}};
    platform.processes[5] = {};
    l.Launch();
    // Launch returned only after the start: the launcher is busy with it.
    EXPECT_TRUE(l.Busy());
    EXPECT_EQ(platform.requests.size(), 2u);
}

TEST(ShellLauncher, DestroyingDuringAWaitReturnsPromptlyWithoutAnEvent) {
    FakePlatform platform;
    FakeMainThread main;
    Events events;
    std::chrono::steady_clock::time_point start;
    {
        TShellLauncher l(platform, main);
        events.Bind(l);
        l.FileName = u"helper.exe";
        platform.results = {{true, 42, 5}};
        platform.processes[5] = {};
        l.Launch();
        ASSERT_TRUE(l.Busy());
        start = std::chrono::steady_clock::now();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(events.total(), 0);
    EXPECT_EQ(platform.closed, std::vector<ProcessId>{5});

    // Also when the wait thread has handed an event over that has not run.
    {
        TShellLauncher l(platform, main);
        events.Bind(l);
        l.FileName = u"helper.exe";
        l.Timeout = 0;
        platform.results = {{true, 42, 6}};
        platform.processes[6] = {};
        l.Launch();
        ASSERT_TRUE(main.WaitForPosted()) << "the time-out has been handed over";
    }
    main.RunQueued();
    EXPECT_EQ(events.total(), 0);
}

// The wait thread never waits for the main thread, so none of these may
// block: each runs under a watchdog, and nothing is pumped between the calls.
TEST(ShellLauncherHandOver, BackToBackLaunchesAfterARefusedStartRunInOrder) {
    Watchdog watchdog;
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    std::vector<std::string> seen;
    l.OnError = [&](TShellLauncher&, std::uint32_t code) { seen.push_back("error " + std::to_string(code)); };
    l.OnFinished = [&](TShellLauncher& s) {
        seen.push_back("finished " + std::to_string(s.ProcessExitCode()));
    };
    l.FileName = u"helper.exe";
    platform.results = {{false, 2, 0}, {true, 42, 5}};
    platform.processes[5] = {0, 7};
    l.Launch();
    l.Launch(); // joins the first thread, which has handed its error over
    ASSERT_TRUE(main.PumpUntil([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen, (std::vector<std::string>{"error 2", "finished 7"}));
    main.PumpUntil([] { return false; }, 50ms);
    EXPECT_EQ(seen.size(), 2u) << "once each";
    EXPECT_EQ(main.ranOn, std::vector<std::thread::id>(2, main.mainId));
}

TEST(ShellLauncherHandOver, ARetryFromOnErrorStartsAgain) {
    Watchdog watchdog;
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    Events events;
    events.Bind(l);
    l.OnError = [&](TShellLauncher& sender, std::uint32_t) {
        ++events.errors;
        sender.Launch();
    };
    l.FileName = u"helper.exe";
    platform.results = {{false, 2, 0}, {true, 42, 5}};
    platform.processes[5] = {0, 0};
    l.Launch();
    ASSERT_TRUE(main.PumpUntil([&] { return events.finished == 1; }));
    EXPECT_EQ(events.errors, 1);
    EXPECT_EQ(platform.requests.size(), 2u);
}

TEST(ShellLauncherHandOver, TheLauncherMayBeDestroyedInsideItsOwnEvent) {
    Watchdog watchdog;
    FakePlatform platform;
    FakeMainThread main;
    std::optional<TShellLauncher> l(std::in_place, platform, main);
    int finished = 0;
    l->OnFinished = [&](TShellLauncher&) {
        ++finished;
        l.reset();
    };
    l->FileName = u"helper.exe";
    platform.results = {{true, 42, 5}};
    platform.processes[5] = {0, 0};
    l->Launch();
    ASSERT_TRUE(main.PumpUntil([&] { return !l.has_value(); }));
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(platform.closed, std::vector<ProcessId>{5});
}

TEST(ShellLauncherHandOver, TheWaitThreadWorksFromTheSettingsOfItsLaunch) {
    Watchdog watchdog;
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    Events events;
    events.Bind(l);
    l.FileName = u"helper.exe";
    platform.results = {{true, 42, 5}};
    platform.processes[5] = {5, 3};
    platform.hold = true;
    l.Launch(); // no limit
    l.Timeout = 0;
    l.FileName = u"other.exe";
    platform.hold = false;
    ASSERT_TRUE(main.PumpUntil([&] { return events.total() == 1; }));
    EXPECT_EQ(events.finished, 1) << "a limit set after Launch is not the wait's";
    EXPECT_EQ(platform.requests[0].file, u"helper.exe");
}

TEST(ShellLauncherHandOver, AnErrorOnTheWaitThreadIsRaisedOnTheMainThread) {
    Watchdog watchdog;
    struct FailingWait : FakePlatform {
        WaitOutcome Wait(ProcessId, std::uint32_t) override { throw std::runtime_error("wait failed"); }
    } platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    l.FileName = u"helper.exe";
    platform.results = {{true, 42, 5}};
    l.Launch();
    EXPECT_THROW(main.PumpUntil([] { return false; }, 500ms), std::runtime_error);
    EXPECT_EQ(main.ranOn, std::vector<std::thread::id>{main.mainId});
    EXPECT_FALSE(l.Busy());
    EXPECT_EQ(platform.closed, std::vector<ProcessId>{5});
}

TEST(ShellLauncherHandOver, LaunchReturnsWhenTheThreadFailsBeforeTheStart) {
    Watchdog watchdog;
    struct FailingShell : FakePlatform {
        ShellResult Execute(const ShellRequest&) override { throw std::bad_alloc(); }
    } platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    l.FileName = u"helper.exe";
    l.Launch();
    EXPECT_THROW(main.RunQueued(), std::bad_alloc);

    struct NoThread : FakePlatform {
        std::unique_ptr<IWaitThread> StartThread(std::function<void()>) override {
            throw std::runtime_error("no thread");
        }
    } threadless;
    TShellLauncher other(threadless, main);
    other.FileName = u"helper.exe";
    EXPECT_THROW(other.Launch(), std::runtime_error);
    EXPECT_FALSE(other.Busy());
}

TEST(ShellLauncherHandOver, AMessageWaitEndsWhenTheProgramIsAskedToEnd) {
    Watchdog watchdog;
    FakePlatform platform;
    FakeMainThread main;
    TShellLauncher l(platform, main);
    Events events;
    events.Bind(l);
    l.FileName = u"helper.exe";
    l.WaitUntilFinished = true;
    l.WaitType = TWaitType::wtProcessMessages;
    platform.results = {{true, 42, 5}};
    platform.processes[5] = {};
    platform.quitRequested = true;
    // A pending quit request wakes every wait: without an end, this spins.
    platform.messageWaits = std::deque<std::uint32_t>(1000, kWaitMessage);
    l.Launch();
    EXPECT_EQ(platform.processedMessages, 1);
    EXPECT_EQ(events.total(), 0);
    EXPECT_FALSE(l.Busy());
}
