// The global hotkey end to end.
#include <gtest/gtest.h>

#include "Probe.h"

#include "app/SettingsDialog.h"

#include <atomic>
#include <commctrl.h>
#include <tuple>

using namespace probe;
using snq::MenuCommand;

namespace {

const wchar_t* kAtom = L"HotKeyManagerHotKey16455";

// Drops every reference on a global atom. Programs that earlier tests ended
// by force leave theirs behind; with none running, none is needed.
void DropAtom(const wchar_t* name) {
    for (ATOM atom; (atom = ::GlobalFindAtomW(name)) != 0;) ::GlobalDeleteAtom(atom);
}

bool CtrlGFree() { return KeystrokeFree(MOD_CONTROL, 'G'); }

class HotKey : public ::testing::Test {
protected:
    void SetUp() override {
        InstallRecordingBrowser();
        SetBrowserMode(true);
        // A program that an earlier test ended by force releases its
        // registration a moment after it is gone.
        for (int i = 0; i < 100 && !CtrlGFree(); ++i) Wait(50);
        ASSERT_TRUE(CtrlGFree());
        DropAtom(kAtom);
        program_ = std::make_unique<Program>();
        tray_ = program_->WaitForTray();
        ASSERT_NE(tray_, nullptr);
        for (int i = 0; i < 100 && CtrlGFree(); ++i) Wait(50);
        ASSERT_FALSE(CtrlGFree()) << "Ctrl+G was not registered";
    }
    void TearDown() override { program_.reset(); }
    DWORD pid() const { return program_->Pid(); }
    std::unique_ptr<Program> program_;
    HWND tray_ = nullptr;
};

} // namespace

TEST_F(HotKey, CtrlGIsRegisteredUnderItsAtomAndFreedAtExit) {
    EXPECT_NE(::GlobalFindAtomW(kAtom), 0);
    EXPECT_FALSE(CtrlGFree());
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Exit));
    ASSERT_TRUE(program_->WaitExit(10000));
    EXPECT_EQ(program_->ExitCode(), 0u);
    EXPECT_EQ(::GlobalFindAtomW(kAtom), 0);
    EXPECT_TRUE(CtrlGFree());
}

TEST_F(HotKey, CtrlGSearchesOnceWithTheSameAddressAsTheClick) {
    SetClipboardText(L"hotkey search");
    LeftClick(tray_);
    ASSERT_EQ(WaitForLines(BrowserLogPath(), 1).size(), 1u);
    PressCtrlG();
    const auto lines = WaitForLines(BrowserLogPath(), 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], lines[0]);
    Wait(500);
    EXPECT_EQ(ReadLines(BrowserLogPath()).size(), 2u);
}

TEST_F(HotKey, AHeldCtrlGSearchesOnceAndTwoPressesSearchTwice) {
    SetClipboardText(L"held");
    HoldCtrlG(12);
    ASSERT_EQ(WaitForLines(BrowserLogPath(), 1).size(), 1u);
    Wait(1000);
    EXPECT_EQ(ReadLines(BrowserLogPath()).size(), 1u) << "one search for one held press";
    PressCtrlG();
    ASSERT_EQ(WaitForLines(BrowserLogPath(), 2).size(), 2u);
    PressCtrlG();
    EXPECT_EQ(WaitForLines(BrowserLogPath(), 3).size(), 3u);
    Wait(500);
    EXPECT_EQ(ReadLines(BrowserLogPath()).size(), 3u);
}

TEST_F(HotKey, OnlyAHotkeyMessageWithTheRegisteredValueSearches) {
    SetClipboardText(L"posted");
    PostHotKey(pid(), MOD_CONTROL | MOD_SHIFT, 'G');
    PostHotKey(pid(), MOD_CONTROL, 'H');
    Wait(700);
    EXPECT_TRUE(ReadLines(BrowserLogPath()).empty());
    // Only the manager's window answers the right value: one search.
    PostHotKey(pid(), MOD_CONTROL, 'G');
    EXPECT_EQ(WaitForLines(BrowserLogPath(), 1).size(), 1u);
    Wait(500);
    EXPECT_EQ(ReadLines(BrowserLogPath()).size(), 1u);
}

TEST_F(HotKey, ASecondInstanceCannotTakeCtrlGAndSaysNothingAboutIt) {
    Program second;
    HWND info = WaitForWindow(second.Pid(), L"Information", L"SNQ is already running");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(VisibleWindows(second.Pid()).size(), 1u) << Describe(second.Pid());
    PressButton(info, L"OK");
    ASSERT_TRUE(second.WaitExit(10000));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_FALSE(CtrlGFree()) << "the first instance still holds it";
    EXPECT_NE(::GlobalFindAtomW(kAtom), 0);
}

TEST_F(HotKey, TheWindowThatWasActiveGetsTheFocusBackWhenTheMessageCloses) {
    HelperWindow helper;
    ASSERT_TRUE(helper.Activate());
    EmptyClipboardNow();
    PressCtrlG();
    HWND box = WaitForWindow(pid(), L"Information", L"Snapquery: No Text in Clipboard");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PressButton(box, L"OK"));
    ASSERT_TRUE(WaitGone(box));
    const bool back = WaitForeground(helper.Handle());
    const std::wstring other = ClassOf(::GetForegroundWindow());
    EXPECT_TRUE(back) << "the foreground is a " << std::string(other.begin(), other.end());
}

TEST_F(HotKey, CtrlGWhileTheNoTextMessageIsOpenRunsASecondRequest) {
    EmptyClipboardNow();
    PressCtrlG();
    HWND first = WaitForWindow(pid(), L"Information", L"Snapquery: No Text in Clipboard");
    ASSERT_NE(first, nullptr);
    PressCtrlG();
    for (int i = 0; i < 100 && CountWindows(pid(), L"Information", L"No Text in Clipboard") < 2; ++i)
        Wait(50);
    EXPECT_EQ(CountWindows(pid(), L"Information", L"No Text in Clipboard"), 2);
    for (HWND w : VisibleWindows(pid())) PressButton(w, L"OK");
}

namespace {
const std::wstring kSettingsKey = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ";

// A program started with the Settings window's choices stored.
class StoredChoices : public ::testing::Test {
protected:
    void SetUp() override {
        InstallRecordingBrowser();
        SetBrowserMode(true);
        for (int i = 0; i < 100 && !CtrlGFree(); ++i) Wait(50);
    }
    void Start() {
        program_ = std::make_unique<Program>();
        tray_ = program_->WaitForTray();
        ASSERT_NE(tray_, nullptr);
    }
    void TearDown() override {
        program_.reset();
        for (const wchar_t* name : {L"HotKey", L"SearchAddress", L"CopySelection", L"OpenAddresses"})
            RegDelete(kSettingsKey, name);
        RegDelete(kSettingsKey + L"\\Profiles", L"");
    }
    std::unique_ptr<Program> program_;
    HWND tray_ = nullptr;
};
} // namespace

TEST_F(StoredChoices, AStoredHotkeySearchesAndCtrlGIsLeftFree) {
    RegSetText(kSettingsKey, L"HotKey", L"Ctrl+Shift+G");
    Start();
    for (int i = 0; i < 100 && KeystrokeFree(MOD_CONTROL | MOD_SHIFT, 'G'); ++i) Wait(50);
    ASSERT_FALSE(KeystrokeFree(MOD_CONTROL | MOD_SHIFT, 'G')) << "Ctrl+Shift+G registered";
    EXPECT_TRUE(CtrlGFree());
    SetClipboardText(L"shifted");
    PressCtrlG();
    Wait(700);
    EXPECT_TRUE(ReadLines(BrowserLogPath()).empty()) << "Ctrl+G is not the hotkey";
    PressKeys({VK_CONTROL, VK_SHIFT}, 'G');
    const auto lines = WaitForLines(BrowserLogPath(), 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(L"&q=shifted&"), std::wstring::npos);
}

TEST_F(StoredChoices, AnUnusableStoredHotkeyIsCtrlGAndAnEmptyOneIsNone) {
    // One that does not parse, and one that every program needs for editing.
    for (auto [text, modifiers, key] : {std::tuple{L"Ctrl+Nonsense", 0u, 0u},
                                        std::tuple{L"Ctrl+C", UINT{MOD_CONTROL}, UINT{'C'}}}) {
        RegSetText(kSettingsKey, L"HotKey", text);
        Start();
        for (int i = 0; i < 100 && CtrlGFree(); ++i) Wait(50);
        EXPECT_FALSE(CtrlGFree()) << "the default, silently";
        if (key) EXPECT_TRUE(KeystrokeFree(modifiers, key)) << "left to the programs";
        EXPECT_TRUE(VisibleWindows(program_->Pid()).empty()) << Describe(program_->Pid());
        program_.reset();
        for (int i = 0; i < 100 && !CtrlGFree(); ++i) Wait(50);
    }
    RegSetText(kSettingsKey, L"HotKey", L"");
    Start();
    Wait(500);
    EXPECT_TRUE(CtrlGFree()) << "no hotkey at all";
}

TEST_F(StoredChoices, CopySelectionSearchesWhatIsSelectedAndPutsTheWholeClipboardBack) {
    RegSetText(kSettingsKey, L"CopySelection", L"Yes");
    Start();
    for (int i = 0; i < 100 && CtrlGFree(); ++i) Wait(50);
    const std::wstring text = L"old clipboard"; // with HTML beside it, and an image
    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 16, 0, 0, 0, 0};
    std::string dib(reinterpret_cast<const char*>(&header), sizeof(header));
    dib += std::string("\x10\x20\x30\xff\x40\x50\x60\xff\x70\x80\x90\xff\xa0\xb0\xc0\xff", 16);
    const UINT html = ::RegisterClipboardFormatW(L"HTML Format");
    const std::vector<std::pair<UINT, std::string>> user = {
        {CF_UNICODETEXT, std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2)},
        {html, "Version:0.9\r\nStartHTML:0\r\n<b>old</b> clipboard"},
        {CF_DIB, dib}};
    SetClipboardFormats(user);
    HelperWindow helper(L"selected words");
    ASSERT_TRUE(helper.Activate());
    PressCtrlG();
    const auto lines = WaitForLines(BrowserLogPath(), 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(L"&q=selected+words&"), std::wstring::npos) << lines[0].size();
    for (const auto& [format, bytes] : user)
        EXPECT_EQ(ClipboardBytes(format).value_or("<none>").substr(0, bytes.size()), bytes) << format;
    // Nothing selected: the clipboard as it is.
    HelperWindow plain;
    ASSERT_TRUE(plain.Activate());
    SetClipboardText(L"as it is");
    PressCtrlG();
    const auto more = WaitForLines(BrowserLogPath(), 2);
    ASSERT_EQ(more.size(), 2u);
    EXPECT_NE(more[1].find(L"&q=as+it+is&"), std::wstring::npos);
}

namespace {
// Keys that must not reach a window of the test: any C, and a Ctrl key-up
// while Shift is down (the user holds Ctrl+Shift; only they let go).
std::atomic<int> g_harmfulKeys{0};
LRESULT CALLBACK CountHarmfulKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static bool shift = false;
    const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    if (up || message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        if (wParam == VK_SHIFT) shift = !up;
        if (wParam == 'C' || (wParam == VK_CONTROL && up && shift)) ++g_harmfulKeys;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}
void HotKeyDown() {
    for (WORD key : {WORD{VK_CONTROL}, WORD{VK_SHIFT}, WORD{'G'}}) SendKey(key, 0);
    SendKey('G', KEYEVENTF_KEYUP);
}
void HotKeyUp() {
    SendKey(VK_SHIFT, KEYEVENTF_KEYUP);
    SendKey(VK_CONTROL, KEYEVENTF_KEYUP);
}
} // namespace

TEST_F(StoredChoices, TheCopyNeverReachesAConsoleNorAWindowWhileTheUserHoldsKeys) {
    RegSetText(kSettingsKey, L"HotKey", L"Ctrl+Shift+G");
    RegSetText(kSettingsKey, L"CopySelection", L"Yes");
    Start();
    for (int i = 0; i < 100 && KeystrokeFree(MOD_CONTROL | MOD_SHIFT, 'G'); ++i) Wait(50);
    SetClipboardText(L"as it was");
    // A console, a remote desktop, and a terminal hosted in another
    // program's window with the focus in it.
    const std::pair<const wchar_t*, const wchar_t*> fronts[] = {
        {L"ConsoleWindowClass", L""}, {L"TscShellContainerClass", L""}, {L"SnqConnectionManager", L"PuTTY"}};
    std::size_t searches = 0;
    for (auto [frontClass, focusClass] : fronts) {
        HelperWindow front(L"", frontClass, CountHarmfulKeys, focusClass);
        ASSERT_TRUE(front.Activate());
        HotKeyDown();
        HotKeyUp();
        ASSERT_EQ(WaitForLines(BrowserLogPath(), ++searches).size(), searches);
        Wait(300);
        EXPECT_EQ(g_harmfulKeys, 0) << "Ctrl+C reached " << frontClass << " " << focusClass;
    }
    // Ctrl and Shift held for 3 s after the hotkey: nothing is sent.
    HelperWindow front(L"", L"SnqKeyRecorder", CountHarmfulKeys);
    ASSERT_TRUE(front.Activate());
    // Wine syncs its key state with the X server's when a window takes the
    // focus, which drops keys injected meanwhile: the keys go down after it.
    Wait(500);
    HotKeyDown();
    Wait(3000);
    const auto lines = ReadLines(BrowserLogPath());
    HotKeyUp();
    Wait(300);
    EXPECT_EQ(g_harmfulKeys, 0) << "Ctrl+Shift+C, or a Ctrl key-up, reached the window in front";
    ASSERT_EQ(lines.size(), searches + 1) << "searched while the keys were held";
    for (const std::wstring& line : lines) EXPECT_NE(line.find(L"&q=as+it+was&"), std::wstring::npos);
    EXPECT_EQ(ClipboardText(), L"as it was");
    // The menu opened while the keys are down, the window in front again: nothing is sent.
    HotKeyDown();
    Wait(200);
    RightClick(tray_);
    HWND menu = WaitForMenu(program_->Pid());
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(front.Activate());
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitGone(menu));
    HotKeyUp();
    ASSERT_EQ(WaitForLines(BrowserLogPath(), searches + 2).size(), searches + 2);
    Wait(300);
    EXPECT_EQ(g_harmfulKeys, 0) << "a Ctrl+C after the tray menu opened";

    // An exit request while the copy waits for the keys ends it, unsearched.
    SetClipboardText(L"not searched");
    HotKeyDown();
    Wait(300);
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(::FindWindowW(L"TApplication", nullptr),
                          ::RegisterWindowMessageW(snq::kExitRequestMessage), 0, 0, SMTO_ABORTIFHUNG,
                          5000, &answer);
    const bool ended = program_->WaitExit(400);
    HotKeyUp();
    EXPECT_TRUE(ended) << "still waiting for the keys";
    Wait(1500);
    EXPECT_EQ(ReadLines(BrowserLogPath()).size(), searches + 2) << "a search after the exit request";
}

TEST_F(StoredChoices, AProfileHotkeyKeepsItsAddressWhenSettingsReplacesTheProfilesDuringTheCopy) {
    RegSetText(kSettingsKey + L"\\Profiles\\1", L"Name", L"Wiki");
    RegSetText(kSettingsKey + L"\\Profiles\\1", L"SearchAddress", L"https://wiki.example/?q={query}");
    RegSetText(kSettingsKey + L"\\Profiles\\1", L"HotKey", L"Ctrl+Alt+W");
    RegSetText(kSettingsKey, L"CopySelection", L"Yes");
    Start();
    for (int i = 0; i < 100 && KeystrokeFree(MOD_CONTROL | MOD_ALT, 'W'); ++i) Wait(50);
    SetClipboardText(L"pending");
    g_harmfulKeys = 0;
    HelperWindow front(L"", L"SnqKeyRecorder", CountHarmfulKeys);
    ASSERT_TRUE(front.Activate());
    Wait(500);
    // The hotkey's keys stay down, so the copy waits; meanwhile Settings
    // opens from the menu, and its OK removes the profile.
    for (WORD key : {WORD{VK_CONTROL}, WORD{VK_MENU}, WORD{'W'}}) SendKey(key, 0);
    SendKey('W', KEYEVENTF_KEYUP);
    Wait(200);
    ASSERT_TRUE(UseMenu(tray_, program_->Pid(), MenuCommand::Settings, true));
    HWND settings = WaitForWindow(program_->Pid(), L"Snapquery Settings");
    SendKey(VK_MENU, KEYEVENTF_KEYUP);
    SendKey(VK_CONTROL, KEYEVENTF_KEYUP);
    ASSERT_NE(settings, nullptr);
    // The user goes back to their window before pressing OK.
    ASSERT_TRUE(front.Activate());
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(::GetDlgItem(settings, snq::idProfileList), LB_SETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000,
                          &ignored);
    ASSERT_TRUE(PressButton(settings, L"&Remove"));
    ASSERT_TRUE(PressButton(settings, L"OK"));
    ASSERT_TRUE(WaitGone(settings));
    const auto lines = WaitForLines(BrowserLogPath(), 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(L"\"https://wiki.example/?q=pending\""), std::wstring::npos) << "the pressed profile's";
    Wait(1500);
    EXPECT_EQ(g_harmfulKeys, 0) << "a Ctrl+C went out after the Settings window";
    EXPECT_EQ(RegGet(kSettingsKey + L"\\Profiles\\1", L"Name"), L"<none>");
}

namespace {
// A window whose Ctrl+C puts an image on the clipboard and then keeps the
// clipboard open for 600 ms, as a slow clipboard manager may.
LRESULT CALLBACK CopyImageAndHold(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == 'C' && ::GetKeyState(VK_CONTROL) < 0) {
        SetClipboardImageOnly();
        if (::OpenClipboard(window)) {
            ::Sleep(600);
            ::CloseClipboard();
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

TEST_F(StoredChoices, TheUsersTextGoesBackWhenTheClipboardIsHeldAfterTheCopy) {
    RegSetText(kSettingsKey, L"CopySelection", L"Yes");
    Start();
    for (int i = 0; i < 100 && CtrlGFree(); ++i) Wait(50);
    SetClipboardText(L"kept text");
    HelperWindow front(L"", L"SnqImageCopier", CopyImageAndHold);
    ASSERT_TRUE(front.Activate());
    Wait(500);
    PressCtrlG();
    const auto lines = WaitForLines(BrowserLogPath(), 1);
    ASSERT_EQ(lines.size(), 1u) << Describe(program_->Pid());
    EXPECT_NE(lines[0].find(L"&q=kept+text&"), std::wstring::npos);
    EXPECT_EQ(ClipboardText(), L"kept text");
    EXPECT_TRUE(VisibleWindows(program_->Pid()).empty()) << Describe(program_->Pid());
}
