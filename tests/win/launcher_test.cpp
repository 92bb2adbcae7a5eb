// The shell launcher with real processes: sleeper.exe sleeps for a while and
// exits with a given code.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <thread>

#include "framework/MessageDialogWin32.h"
#include "framework/Text.h"
#include "launcher/ShellLaunchWin32.h"

using namespace snq;

namespace {

std::u16string Here(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return ToU16(p.substr(0, p.find_last_of(L"\\/") + 1) + name);
}

// Pumps this thread's messages until `done` holds or `ms` pass.
template <class F> bool PumpUntil(F done, DWORD ms = 5000) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    MSG msg;
    while (!done()) {
        if (::GetTickCount64() > end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return true;
}

class Launcher : public ::testing::Test {
protected:
    Win32LaunchPlatform platform;
    Win32MainThread mainThread;
    TShellLauncher launcher{platform, mainThread};
    int finished = 0, timeouts = 0, errors = 0;
    std::uint32_t errorCode = 0;
    DWORD eventThread = 0;
    UniqueKernelHandle kept; // a copy of the process handle, taken in an event

    void SetUp() override {
        launcher.OnFinished = [this](TShellLauncher&) {
            ++finished;
            eventThread = ::GetCurrentThreadId();
        };
        launcher.OnTimeout = [this](TShellLauncher& l) {
            ++timeouts;
            eventThread = ::GetCurrentThreadId();
            HANDLE copy = nullptr;
            ::DuplicateHandle(::GetCurrentProcess(), reinterpret_cast<HANDLE>(l.ProcessHandle()),
                              ::GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
            kept.reset(copy);
        };
        launcher.OnError = [this](TShellLauncher&, std::uint32_t code) {
            ++errors;
            errorCode = code;
        };
    }
    void TearDown() override {
        if (kept) ::TerminateProcess(kept.get(), 0);
    }
    void Sleeper(int ms, int code) {
        launcher.FileName = Here(L"sleeper.exe");
        launcher.Parameters = Ascii(std::to_string(ms) + " " + std::to_string(code));
    }
    bool KeptRunning() { return kept && ::WaitForSingleObject(kept.get(), 0) == WAIT_TIMEOUT; }
};

} // namespace

TEST_F(Launcher, StartFailuresGiveTheShellsCodesWithoutEventOrDialog) {
    launcher.FileName = u"C:\\no\\such\\file.exe";
    EXPECT_EQ(launcher.LaunchNoWait(), 2u);
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring document = std::wstring(temp) + L"snapquery-test.snqnoassoc";
    UniqueFileHandle file(::CreateFileW(document.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        0, nullptr));
    file.reset();
    launcher.FileName = ToU16(document);
    EXPECT_EQ(launcher.LaunchNoWait(), 31u);
    ::DeleteFileW(document.c_str());
    EXPECT_EQ(finished + timeouts + errors, 0);
    launcher.FileName.clear();
    EXPECT_EQ(launcher.LaunchNoWait(), 0u);
}

TEST_F(Launcher, FullStopReportsTheExitCodeAndATimeoutLeavesTheProcessRunning) {
    launcher.WaitUntilFinished = true;
    Sleeper(200, 7);
    launcher.Launch();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(launcher.ProcessExitCode(), 7u);
    EXPECT_FALSE(launcher.Busy());

    Sleeper(5000, 0);
    launcher.Timeout = 0;
    const ULONGLONG start = ::GetTickCount64();
    launcher.Launch();
    EXPECT_LT(::GetTickCount64() - start, 3000u);
    EXPECT_EQ(timeouts, 1);
    EXPECT_TRUE(KeptRunning());
}

TEST_F(Launcher, MessagesKeepTheMessageWaitFromExpiring) {
    launcher.WaitUntilFinished = true;
    launcher.WaitType = TWaitType::wtProcessMessages;
    launcher.Timeout = 1000;
    Sleeper(2500, 3);
    const DWORD self = ::GetCurrentThreadId();
    std::atomic<bool> stop{false};
    std::thread poster([&] {
        while (!stop) {
            ::Sleep(500);
            ::PostThreadMessageW(self, WM_NULL, 0, 0);
        }
    });
    launcher.Launch();
    stop = true;
    poster.join();
    EXPECT_EQ(timeouts, 0);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(launcher.ProcessExitCode(), 3u);

    Sleeper(4000, 0); // without messages the limit expires
    launcher.Launch();
    EXPECT_EQ(timeouts, 1);
    EXPECT_TRUE(KeptRunning());
}

TEST_F(Launcher, BackgroundWaitRunsItsEventsOnTheMainThread) {
    Sleeper(700, 5);
    launcher.Launch();
    EXPECT_TRUE(launcher.Busy());
    launcher.Launch(); // busy: nothing happens
    ASSERT_TRUE(PumpUntil([&] { return finished == 1 && !launcher.Busy(); }));
    EXPECT_EQ(timeouts, 0);
    EXPECT_EQ(launcher.ProcessExitCode(), 5u);
    EXPECT_EQ(eventThread, ::GetCurrentThreadId());

    Sleeper(5000, 0);
    launcher.Timeout = 250;
    const ULONGLONG start = ::GetTickCount64();
    launcher.Launch();
    ASSERT_TRUE(PumpUntil([&] { return timeouts == 1; }));
    const ULONGLONG took = ::GetTickCount64() - start;
    EXPECT_GE(took, 280u); // three polls of 100 ms
    EXPECT_LT(took, 3000u);
    EXPECT_TRUE(KeptRunning());
}

TEST_F(Launcher, BackgroundEventsRunInsideAModalDialog) {
    Sleeper(300, 9);
    launcher.OnFinished = [this](TShellLauncher&) {
        ++finished;
        // Close the dialog that the main thread is sitting in.
        if (HWND dialog = ::FindWindowW(L"#32770", L"Information"))
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    };
    launcher.Launch();
    MessageDlg(L"waiting", TMsgDlgType::mtInformation, Buttons(TMsgDlgBtn::mbOK), 0,
               DialogRendering::Classic);
    EXPECT_EQ(finished, 1);
}

TEST(LauncherLifetime, DestroyingTheLauncherDuringAWaitReturnsPromptlyWithoutEvents) {
    Win32LaunchPlatform platform;
    Win32MainThread mainThread;
    int events = 0;
    ULONGLONG took = 0;
    std::optional<TShellLauncher> launcher(std::in_place, platform, mainThread);
    launcher->OnFinished = [&](TShellLauncher&) { ++events; };
    launcher->OnTimeout = [&](TShellLauncher&) { ++events; };
    launcher->FileName = Here(L"sleeper.exe");
    launcher->Parameters = u"3000 0";
    launcher->Launch();
    ASSERT_TRUE(launcher->Busy());
    const ULONGLONG start = ::GetTickCount64();
    launcher.reset();
    took = ::GetTickCount64() - start;
    EXPECT_LT(took, 1000u);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(events, 0);
}

namespace {
// S_FALSE: the thread was in a single-threaded apartment already.
HRESULT ApartmentOfThisThread() {
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(hr)) ::CoUninitialize();
    return hr;
}
} // namespace

TEST(LauncherCom, TheShellIsAskedOnlyFromAThreadThatHasCom) {
    // A fresh thread stands in for the GUI thread.
    HRESULT gui = E_FAIL, worker = E_FAIL;
    std::thread([&] {
        Win32LaunchPlatform platform;
        Win32MainThread mainThread;
        TShellLauncher launcher(platform, mainThread);
        launcher.FileName = Here(L"sleeper.exe");
        launcher.Parameters = u"0 0";
        EXPECT_EQ(launcher.LaunchNoWait(), 0u);
        gui = ApartmentOfThisThread();
        platform.StartThread([&] { worker = ApartmentOfThisThread(); })->Join();
    }).join();
    EXPECT_EQ(gui, S_FALSE);
    EXPECT_EQ(worker, S_FALSE);
}
