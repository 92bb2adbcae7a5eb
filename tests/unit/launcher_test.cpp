#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
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
    void ProcessMessages() override { ++processedMessages; }
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

    bool RunAndWait(const std::function<void()>& task, const std::atomic<bool>& cancel) override {
        if (std::this_thread::get_id() == mainId) {
            task();
            return true;
        }
        auto done = std::make_shared<bool>(false);
        std::unique_lock lock(mutex_);
        queue_.push_back({&task, done});
        while (!*done) {
            if (cancel) {
                std::erase_if(queue_, [&](auto& e) { return e.done == done; });
                return false;
            }
            cv_.wait_for(lock, 2ms);
        }
        return true;
    }
    // Runs queued tasks until `until` holds or time runs out.
    template <class F> bool PumpUntil(F until, std::chrono::milliseconds limit = 3000ms) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!until()) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::unique_lock lock(mutex_);
            while (!queue_.empty()) {
                auto entry = queue_.front();
                queue_.pop_front();
                ranOn.push_back(std::this_thread::get_id());
                (*entry.task)();
                *entry.done = true;
            }
            cv_.notify_all();
            lock.unlock();
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }

private:
    struct Entry {
        const std::function<void()>* task;
        std::shared_ptr<bool> done;
    };
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Entry> queue_;
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
        void ProcessMessages() override {
            FakePlatform::ProcessMessages();
            launcher->Launch();
            EXPECT_EQ(launcher->LaunchNoWait(), 0u);
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
    l.Launch();
    EXPECT_TRUE(l.Busy() || platform.waits > 0);
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
    l.Launch();
    EXPECT_TRUE(l.Busy());
    l.Launch();
    EXPECT_EQ(l.LaunchNoWait(), 0u);
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
    l.FileName = u"x";
    platform.results = {{false, 2, 0}};
    l.Launch();
    main.PumpUntil([&] { return false; }, 300ms);
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
    {
        TShellLauncher l(platform, main);
        events.Bind(l);
        l.FileName = u"helper.exe";
        platform.results = {{true, 42, 5}};
        platform.processes[5] = {};
        l.Launch();
        ASSERT_TRUE(l.Busy());
    }
    EXPECT_EQ(events.total(), 0);
    EXPECT_EQ(platform.closed, std::vector<ProcessId>{5});

    // Also when the wait thread is blocked handing an event over.
    {
        TShellLauncher l(platform, main);
        events.Bind(l);
        l.FileName = u"helper.exe";
        l.Timeout = 0;
        platform.results = {{true, 42, 6}};
        platform.processes[6] = {};
        l.Launch();
        std::this_thread::sleep_for(50ms); // the timeout is waiting for the main thread
    }
    main.PumpUntil([] { return false; }, 50ms);
    EXPECT_EQ(events.total(), 0);
}
