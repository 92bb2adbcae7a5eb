// The tray shell end to end: the real program under Wine, driven from
// outside.
#include <gtest/gtest.h>

#include "Probe.h"

#include <shellapi.h>

#include <cstdio>

using namespace probe;
using snq::MenuCommand;

namespace {

const std::wstring kTitle = L"Snapquery 1.5";

class TrayShell : public ::testing::Test {
protected:
    void SetUp() override {
        program_ = std::make_unique<Program>();
        ASSERT_NE(program_->Pid(), 0u);
        tray_ = program_->WaitForTray();
        ASSERT_NE(tray_, nullptr) << "no tray icon";
    }
    void TearDown() override {
        // Leave nothing behind for the next test.
        if (program_ && program_->Running()) {
            for (HWND w : VisibleWindows(program_->Pid())) ::PostMessageW(w, WM_CLOSE, 0, 0);
        }
        program_.reset();
    }
    DWORD pid() const { return program_->Pid(); }

    // Waits for a message dialog containing `text`, checks that it is the
    // only one, and closes it with OK.
    void ExpectOneMessage(const std::wstring& text, const std::wstring& title = L"") {
        HWND dialog = WaitForWindow(pid(), title, text);
        ASSERT_NE(dialog, nullptr) << "no dialog with text";
        Wait(700); // a second dialog would have shown by now
        EXPECT_EQ(CountWindows(pid(), L"", text), 1) << Describe(pid());
        ASSERT_TRUE(PressButton(dialog, L"OK"));
        ASSERT_TRUE(WaitGone(dialog));
    }

    std::unique_ptr<Program> program_;
    HWND tray_ = nullptr;
};

} // namespace

TEST_F(TrayShell, RightClickOpensTheMenuAndEscapeClosesIt) {
    RightClick(tray_);
    HWND menu = WaitForMenu(pid());
    ASSERT_NE(menu, nullptr);
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitGone(menu));
    EXPECT_TRUE(program_->Running());
}

TEST_F(TrayShell, ClickAndDoubleClickEachRunTheSearchOnce) {
    EmptyClipboardNow();
    LeftClick(tray_);
    ExpectOneMessage(L"Snapquery: No Text in Clipboard", L"Information");
    DoubleClick(tray_);
    ExpectOneMessage(L"Snapquery: No Text in Clipboard", L"Information");
    // The menu command runs the same request.
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Search));
    ExpectOneMessage(L"Snapquery: No Text in Clipboard", L"Information");
}

TEST_F(TrayShell, TheModernNotificationsActOnceForEachThingTheUserDoes) {
    EmptyClipboardNow();
    // A click brings its button's down and up and NIN_SELECT: one search.
    for (UINT event : {UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONUP}, UINT{NIN_SELECT}})
        PostTrayEvent(tray_, event);
    ExpectOneMessage(L"Snapquery: No Text in Clipboard", L"Information");
    // Enter on the icon, which some Windows versions send twice: one search.
    PostTrayEvent(tray_, NIN_KEYSELECT);
    PostTrayEvent(tray_, NIN_KEYSELECT);
    ExpectOneMessage(L"Snapquery: No Text in Clipboard", L"Information");
    // A right click: its WM_CONTEXTMENU opens no second menu.
    for (UINT event : {UINT{WM_RBUTTONDOWN}, UINT{WM_RBUTTONUP}, UINT{WM_CONTEXTMENU}})
        PostTrayEvent(tray_, event);
    HWND menu = WaitForMenu(pid());
    ASSERT_NE(menu, nullptr);
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitGone(menu));
    EXPECT_EQ(WaitForMenu(pid(), 700), nullptr) << "a second menu";
    // The menu key (WM_CONTEXTMENU alone) opens it at the icon.
    PostTrayEvent(tray_, WM_CONTEXTMENU, {300, 12});
    menu = WaitForMenu(pid());
    ASSERT_NE(menu, nullptr);
    RECT r{};
    ::GetWindowRect(menu, &r);
    EXPECT_LE(r.left, 300);
    EXPECT_GE(r.right, 300) << "centred on the icon's position";
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitGone(menu));
}

TEST_F(TrayShell, ShowClipboardTextShowsTextInAnyScript) {
    const std::wstring text = L"\x03B5\x03BB\x03BB\x03B7\x03BD\x03B9\x03BA\x03AC \x4E2D\x6587 "
                              L"\x0639\x0631\x0628\x064A";
    SetClipboardText(text);
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::ShowClipboard));
    ExpectOneMessage(L"Current clipboard text: " + text);
}

TEST_F(TrayShell, ShowClipboardTextWithoutTextSaysSo) {
    SetClipboardImageOnly();
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::ShowClipboard));
    ExpectOneMessage(L"No text in clipboard");
    EmptyClipboardNow();
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::ShowClipboard));
    ExpectOneMessage(L"No text in clipboard");
}

TEST_F(TrayShell, ShowClipboardTextCutsAHugeTextAndStaysResponsive) {
    std::wstring huge(10'000'000, L'x');
    huge.replace(0, 5, L"start");
    SetClipboardText(huge);
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::ShowClipboard));
    // Within a second of the command (the menu closing).
    const ULONGLONG start = ::GetTickCount64();
    HWND dialog = WaitForWindow(pid(), L"", L"Current clipboard text: startxxx", 15000);
    ASSERT_NE(dialog, nullptr);
    const ULONGLONG took = ::GetTickCount64() - start;
    std::printf("huge text shown after %llu ms\n", took);
    EXPECT_LT(took, 1000u);
    const std::wstring shown = AllText(dialog);
    EXPECT_NE(shown.find(L"x\x2026"), std::wstring::npos);
    EXPECT_LT(shown.size(), 6000u);
    ASSERT_TRUE(PressButton(dialog, L"OK"));
    EmptyClipboardNow();
}

TEST_F(TrayShell, ClearClipboardRemovesEveryFormatAndIsSilentWhenEmpty) {
    SetClipboardText(L"to be cleared");
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::ClearClipboard));
    Wait(500);
    EXPECT_EQ(ClipboardFormatCount(), 0);
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::ClearClipboard));
    Wait(700);
    EXPECT_EQ(CountWindows(pid(), L"", L""), 0) << "no window may appear";
    EXPECT_TRUE(program_->Running());
}

TEST_F(TrayShell, AClipboardHeldOpenGivesTheErrorBoxAndTheProgramGoesOn) {
    SetClipboardText(L"kept");
    {
        ClipboardHolder hold;
        ASSERT_TRUE(hold.held());
        for (MenuCommand item : {MenuCommand::ShowClipboard, MenuCommand::ClearClipboard}) {
            ASSERT_TRUE(UseMenu(tray_, pid(), item));
            ExpectOneMessage(L"Cannot open clipboard.", kTitle);
        }
        // The tray click's handler reports the same way.
        LeftClick(tray_);
        ExpectOneMessage(L"Cannot open clipboard.", kTitle);
    }
    EXPECT_TRUE(program_->Running());
    EXPECT_EQ(ClipboardText(), L"kept");
    // And once the clipboard is free again, the menu works.
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::ShowClipboard));
    ExpectOneMessage(L"Current clipboard text: kept");
}

TEST_F(TrayShell, AClipboardHeldOnlyForAMomentIsWaitedFor) {
    SetClipboardText(L"brief");
    {
        ClipboardHolder hold;
        ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::ShowClipboard));
        Wait(60);
    }
    ExpectOneMessage(L"Current clipboard text: brief");
}

TEST_F(TrayShell, ExitRemovesTheIconAndEndsWithZero) {
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Exit));
    ASSERT_TRUE(program_->WaitExit(10000));
    EXPECT_EQ(program_->ExitCode(), 0u);
    EXPECT_FALSE(OwnsTrayIcon(tray_));
}

// What an installer does before it replaces the program's files: it sends
// the registered exit request to the application window and waits for the
// process. A window open in the program must not stand in the way.
class ExitRequest : public TrayShell {
protected:
    void RequestExitAndExpectAClearEnd() {
        HWND application = nullptr;
        for (HWND w : TopLevelWindows(pid()))
            if (ClassOf(w) == L"TApplication") application = w;
        ASSERT_NE(application, nullptr);
        DWORD_PTR answer = 0;
        ASSERT_NE(::SendMessageTimeoutW(application, ::RegisterWindowMessageW(snq::kExitRequestMessage),
                                        0, 0, SMTO_ABORTIFHUNG, 5000, &answer),
                  0);
        EXPECT_EQ(answer, 1u);
        ASSERT_TRUE(program_->WaitExit(10000)) << Describe(pid());
        EXPECT_EQ(program_->ExitCode(), 0u);
        EXPECT_FALSE(OwnsTrayIcon(tray_));
    }
};

TEST_F(ExitRequest, EndsTheProgramWhileTheAboutWindowIsOpen) {
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::About));
    ASSERT_NE(WaitForWindow(pid(), kTitle), nullptr);
    RequestExitAndExpectAClearEnd();
}

TEST_F(ExitRequest, EndsTheProgramWhileAMessageIsUp) {
    SetClipboardText(L"brief");
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::ShowClipboard));
    ASSERT_NE(WaitForWindow(pid(), L"", L"Current clipboard text: brief"), nullptr);
    RequestExitAndExpectAClearEnd();
}

TEST_F(ExitRequest, IsAnsweredOnlyByTheApplicationWindow) {
    // Any other window passes the message on unanswered, and the program
    // goes on.
    DWORD_PTR answer = 7;
    ASSERT_NE(::SendMessageTimeoutW(tray_, ::RegisterWindowMessageW(snq::kExitRequestMessage), 0, 0,
                                    SMTO_ABORTIFHUNG, 5000, &answer),
              0);
    EXPECT_EQ(answer, 0u);
    Wait(300);
    EXPECT_TRUE(program_->Running());
    EXPECT_TRUE(OwnsTrayIcon(tray_));
}

TEST_F(TrayShell, AboutOpensModallyAndRefusesASecondShowing) {
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::About));
    HWND about = WaitForWindow(pid(), kTitle);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(ClassOf(about), L"TAboutBox");
    // The tray menu stays usable while the About window is open.
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::About));
    ExpectOneMessage(L"Cannot make a visible window modal.", kTitle);
    EXPECT_TRUE(::IsWindowVisible(about));
    ASSERT_TRUE(PressButton(about, L"OK"));
    ASSERT_TRUE(WaitGone(about));
    // Reused: the same window shows again.
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::About));
    HWND again = WaitForWindow(pid(), kTitle);
    EXPECT_EQ(again, about);
    PressButton(again, L"OK");
}

TEST_F(TrayShell, ASecondStartIsRefusedWithZeroAndTheFirstGoesOn) {
    Program second;
    HWND info = WaitForWindow(second.Pid(), L"Information", L"SNQ is already running");
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(PressButton(info, L"OK"));
    ASSERT_TRUE(second.WaitExit(10000));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(program_->Running());
    EXPECT_TRUE(OwnsTrayIcon(tray_));
}

TEST_F(TrayShell, TheSecondInstancesMenuCannotCrashItWhileItsMessageIsUp) {
    Program second;
    HWND info = WaitForWindow(second.Pid(), L"Information", L"SNQ is already running");
    ASSERT_NE(info, nullptr);
    // Its icon is there already, and so is its menu: About comes before the
    // About window exists.
    HWND secondTray = second.WaitForTray();
    ASSERT_NE(secondTray, nullptr);
    ASSERT_TRUE(UseMenu(secondTray, second.Pid(), MenuCommand::About));
    Wait(500);
    ASSERT_TRUE(second.Running());
    ASSERT_TRUE(PressButton(info, L"OK"));
    ASSERT_TRUE(second.WaitExit(10000)) << Describe(second.Pid());
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_FALSE(OwnsTrayIcon(secondTray));
    EXPECT_TRUE(OwnsTrayIcon(tray_)) << "one icon left: the first instance's";
}

TEST_F(TrayShell, ASecondStartBringsTheFirstInstancesAboutWindowToTheTop) {
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::About));
    HWND about = WaitForWindow(pid(), kTitle);
    ASSERT_NE(about, nullptr);
    // Cover it with a window of ours.
    HWND cover = ::CreateWindowExW(0, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 800,
                                   nullptr, nullptr, nullptr, nullptr);
    ::SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    auto above = [](HWND a, HWND b) {
        for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
            if (w == a) return true;
            if (w == b) return false;
        }
        return false;
    };
    ASSERT_TRUE(above(cover, about));
    Program second;
    HWND info = WaitForWindow(second.Pid(), L"Information", L"SNQ is already running");
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(above(about, cover));
    PressButton(info, L"OK");
    EXPECT_TRUE(second.WaitExit(10000));
    ::DestroyWindow(cover);
    PressButton(about, L"OK");
}
