#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "app/CommandLine.h"
#include "app/InstanceGuard.h"
#include "app/TrayStartup.h"

using namespace snq;

namespace {

// A desktop of titled windows and one named-mutex table, recording calls.
class FakeDesktop : public IInstanceHost {
public:
    std::u16string title = u"Snapquery 1.5";
    bool mutexExists = false;
    bool mutexFails = false;
    std::vector<std::pair<WindowId, std::u16string>> windows; // z-order: first found first
    std::map<WindowId, bool> iconic;
    std::vector<std::string> calls;
    int mutexOpen = 0;

    std::u16string ApplicationTitle() override { return title; }
    bool CreateGuardMutex(std::u16string_view name) override {
        calls.push_back("CreateMutex");
        EXPECT_EQ(name, title);
        if (!mutexFails) ++mutexOpen;
        return mutexExists || mutexFails;
    }
    void CloseGuardMutex() override {
        calls.push_back("CloseMutex");
        if (mutexOpen > 0) --mutexOpen;
    }
    WindowId FindTopLevelWindow(std::u16string_view t) override {
        calls.push_back("Find");
        for (auto& [id, text] : windows)
            if (text == t) return id;
        return 0;
    }
    void SetWindowTitle(WindowId id, std::u16string_view t) override {
        calls.push_back("SetTitle");
        for (auto& [wid, text] : windows)
            if (wid == id) text = t;
    }
    bool IsIconic(WindowId id) override { return iconic[id]; }
    void Restore(WindowId id) override { calls.push_back("Restore " + std::to_string(id)); }
    void BringToTop(WindowId id) override { calls.push_back("Top " + std::to_string(id)); }
    void ShowInformation(std::u16string_view text) override {
        calls.push_back("Info");
        shown = text;
    }
    void TerminateApplication() override { calls.push_back("Terminate"); }
    std::u16string shown;
};

TRunOnce& Configure(TRunOnce& guard) {
    guard.MessageText = u"SNQ is already running";
    guard.ShowMessage = true;
    return guard;
}

} // namespace

TEST(RunOnce, DefaultsAndVersion) {
    FakeDesktop desk;
    TRunOnce guard(desk);
    EXPECT_TRUE(guard.Terminate);
    EXPECT_TRUE(guard.RestorePrevInst);
    EXPECT_FALSE(guard.ShowMessage);
    EXPECT_EQ(guard.MessageText, u"");
    EXPECT_EQ(guard.Version, u"1.3");
}

TEST(RunOnce, FirstInstanceHoldsTheMutexUntilDestroyedAndDoesNothingElse) {
    FakeDesktop desk;
    desk.windows = {{1, u"Snapquery 1.5"}};
    {
        TRunOnce guard(desk);
        Configure(guard).Loaded();
        EXPECT_EQ(desk.calls, (std::vector<std::string>{"CreateMutex"}));
        EXPECT_EQ(desk.mutexOpen, 1);
    }
    EXPECT_EQ(desk.mutexOpen, 0);
    EXPECT_EQ(desk.windows[0].second, u"Snapquery 1.5");
}

TEST(RunOnce, NeverCheckedGuardClosesNothing) {
    FakeDesktop desk;
    { TRunOnce guard(desk); }
    EXPECT_TRUE(desk.calls.empty());
}

TEST(RunOnce, SecondInstanceBlanksItsOwnTitleRaisesTheEarlierWindowThenShowsAndQuits) {
    FakeDesktop desk;
    desk.mutexExists = true;
    // Our own application window comes first in the lookup, the earlier
    // instance's second.
    desk.windows = {{20, u"Snapquery 1.5"}, {10, u"Snapquery 1.5"}};
    int exists = 0;
    TRunOnce guard(desk);
    Configure(guard).OnExists = [&](TRunOnce& sender) {
        EXPECT_EQ(&sender, &guard);
        EXPECT_EQ(desk.calls.size(), 1u); // before anything else is done
        ++exists;
    };
    guard.Loaded();
    EXPECT_EQ(exists, 1);
    EXPECT_EQ(desk.windows[0].second, u"");
    EXPECT_EQ(desk.calls, (std::vector<std::string>{"CreateMutex", "Find", "SetTitle", "Find",
                                                    "Top 10", "Info", "Terminate"}));
    EXPECT_EQ(desk.shown, u"SNQ is already running");
}

TEST(RunOnce, AMinimisedEarlierWindowIsRestored) {
    FakeDesktop desk;
    desk.mutexExists = true;
    desk.windows = {{20, u"Snapquery 1.5"}, {10, u"Snapquery 1.5"}};
    desk.iconic[10] = true;
    TRunOnce guard(desk);
    guard.Loaded();
    EXPECT_NE(std::find(desk.calls.begin(), desk.calls.end(), "Restore 10"), desk.calls.end());
    // ShowMessage is false by default: no dialog, but still terminates.
    EXPECT_EQ(desk.calls.back(), "Terminate");
    EXPECT_EQ(std::count(desk.calls.begin(), desk.calls.end(), "Info"), 0);
}

TEST(RunOnce, WithoutTerminateTheSecondInstanceKeepsRunningAndShowsNothing) {
    FakeDesktop desk;
    desk.mutexExists = true;
    desk.windows = {{20, u"Snapquery 1.5"}, {10, u"Snapquery 1.5"}};
    TRunOnce guard(desk);
    Configure(guard).Terminate = false;
    guard.Loaded();
    EXPECT_EQ(desk.calls, (std::vector<std::string>{"CreateMutex", "Find", "SetTitle", "Find",
                                                    "Top 10"}));
}

TEST(RunOnce, WithoutRestorePrevInstNoWindowIsLookedUpOrRenamed) {
    FakeDesktop desk;
    desk.mutexExists = true;
    desk.windows = {{20, u"Snapquery 1.5"}};
    TRunOnce guard(desk);
    Configure(guard).RestorePrevInst = false;
    guard.Loaded();
    EXPECT_EQ(desk.calls, (std::vector<std::string>{"CreateMutex", "Info", "Terminate"}));
    EXPECT_EQ(desk.windows[0].second, u"Snapquery 1.5");
}

TEST(RunOnce, AMutexThatCannotBeHadCountsAsAnotherInstanceAndAnEmptyTextIsShown) {
    FakeDesktop desk;
    desk.mutexFails = true;
    TRunOnce guard(desk);
    guard.ShowMessage = true; // MessageText left empty
    guard.Loaded();
    EXPECT_EQ(desk.calls, (std::vector<std::string>{"CreateMutex", "Find", "SetTitle", "Find",
                                                    "Info", "Terminate"}));
    EXPECT_EQ(desk.shown, u"");
}

namespace {

// A shell whose notification area appears at `readyAt` (never when 0),
// announcing its taskbar then when `announces` is set; time passes only in
// Wait.
class LateShell : public ITrayStartupHost {
public:
    std::uint64_t now = 1000, readyAt = 0;
    bool announces = false, quitAt5s = false;
    std::vector<std::uint64_t> attempts; // ms after the start
    std::vector<std::uint32_t> waits;

    bool Ready() const { return readyAt != 0 && now >= readyAt; }
    bool AddIcon() override {
        attempts.push_back(now - 1000);
        return Ready();
    }
    std::uint64_t Now() override { return now; }
    bool Wait(std::uint32_t ms) override {
        waits.push_back(ms);
        const std::uint64_t until = now + ms;
        if (announces && readyAt > now && readyAt < until)
            now = readyAt; // the broadcast ends the wait early
        else
            now = until;
        return !(quitAt5s && now >= 6000);
    }
};

} // namespace

TEST(TrayStartup, AnIconTheShellTakesAtOnceNeedsNoWait) {
    LateShell shell;
    shell.readyAt = 1;
    EXPECT_TRUE(AddTrayIconAtStartup(shell));
    EXPECT_EQ(shell.attempts, std::vector<std::uint64_t>{0});
    EXPECT_TRUE(shell.waits.empty());
}

TEST(TrayStartup, ALateNotificationAreaIsTriedEveryHalfSecondOrAtItsAnnouncement) {
    LateShell polled;
    polled.readyAt = 1000 + 1700;
    EXPECT_TRUE(AddTrayIconAtStartup(polled));
    EXPECT_EQ(polled.attempts, (std::vector<std::uint64_t>{0, 500, 1000, 1500, 2000}));

    LateShell announced;
    announced.readyAt = 1000 + 1700;
    announced.announces = true;
    EXPECT_TRUE(AddTrayIconAtStartup(announced));
    EXPECT_EQ(announced.attempts.back(), 1700u) << "added at the announcement";
}

TEST(TrayStartup, GivesUpAfterThirtySecondsWithoutSpinning) {
    LateShell never;
    EXPECT_FALSE(AddTrayIconAtStartup(never));
    EXPECT_EQ(never.attempts.back(), 30000u);
    EXPECT_EQ(never.attempts.size(), 61u);
    for (std::uint32_t ms : never.waits) EXPECT_EQ(ms, 500u);

    // Asked to end meanwhile: no more attempts.
    LateShell quitting;
    quitting.quitAt5s = true;
    EXPECT_FALSE(AddTrayIconAtStartup(quitting));
    EXPECT_EQ(quitting.attempts.back(), 4500u);
}

// The arguments as they reach a running copy: joined, split, then read.
TEST(CommandLine, ReadsTheOptionsInAnyOrderAndRefusesTheRest) {
    using Args = std::vector<std::u16string>;
    struct Row {
        Args args;
        std::optional<CommandRequest> request;
    } rows[] = {
        {{u"/search"}, CommandRequest{}},
        {{u"-Private", u"/profile", u"Wiki", u"/SEARCH", u"a \"b\""}, CommandRequest{false, u"a \"b\"", u"Wiki", true}},
        {{u"/search", u"/private"}, CommandRequest{false, std::nullopt, std::nullopt, true}},
        {{u"/?"}, CommandRequest{true, std::nullopt, std::nullopt, false}},
        {{u"/search", u"x", u"y"}, std::nullopt},        // left over
        {{u"/search", u"/profile"}, std::nullopt},       // no name
        {{u"/private", u"/private", u"/search"}, std::nullopt},
        {{u"/profile", u"Wiki"}, std::nullopt},          // no /search
        {{u"/search", u"/usr"}, CommandRequest{false, u"/usr", std::nullopt, false}}, // no option: the text
        {{u"/foo", u"/search"}, std::nullopt},
        {{u"/?", u"/search"}, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ParseCommandLine(SplitArguments(JoinArguments(row.args))), row.request) << row.args.size();
    }
}
