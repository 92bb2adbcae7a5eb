// The settings end to end: the real menu changing the real registry.
#include <gtest/gtest.h>

#include "Probe.h"

#include "app/SettingsDialog.h"

#include <commctrl.h>

using namespace probe;
using snq::MenuCommand;

namespace {

const std::wstring kSettings = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ";
const std::wstring kRun = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kUserRun = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRun64 = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        RegDelete(L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel", L"");
        for (const std::wstring& key : {kRun, kRun64, kUserRun}) RegDelete(key, L"SNQ");
    }
    void Start(const std::wstring& exe = L"snapquery.exe") {
        program_ = std::make_unique<Program>(exe);
        tray_ = program_->WaitForTray();
        ASSERT_NE(tray_, nullptr);
    }
    void TearDown() override {
        program_.reset();
        RegDelete(L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel", L"");
        for (const std::wstring& key : {kRun, kRun64, kUserRun}) RegDelete(key, L"SNQ");
    }
    DWORD pid() const { return program_->Pid(); }
    void OpenAndCloseMenu() {
        RightClick(tray_);
        HWND menu = WaitForMenu(pid());
        ASSERT_NE(menu, nullptr);
        ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(WaitGone(menu));
    }
    std::unique_ptr<Program> program_;
    HWND tray_ = nullptr;
};

} // namespace

TEST_F(Settings, TheFirstMenuOpeningCreatesDefaultNo) {
    Start();
    EXPECT_EQ(RegGet(kSettings, L"Default"), L"<none>");
    OpenAndCloseMenu();
    EXPECT_EQ(RegGet(kSettings, L"Default"), L"No");
}

TEST_F(Settings, TheBrowserItemTogglesFromTheMarkTheRegistryGave) {
    RegSetText(kSettings, L"Default", L"Yes");
    Start();
    // "Yes" checks the item, so choosing it writes "No" ...
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::UseDefaultBrowser));
    Wait(300);
    EXPECT_EQ(RegGet(kSettings, L"Default"), L"No");
    // ... and then "Yes" again.
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::UseDefaultBrowser));
    Wait(300);
    EXPECT_EQ(RegGet(kSettings, L"Default"), L"Yes");
    // Any other text leaves it unchecked: choosing it writes "Yes".
    RegSetText(kSettings, L"Default", L"yes");
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::UseDefaultBrowser));
    Wait(300);
    EXPECT_EQ(RegGet(kSettings, L"Default"), L"Yes");
}

TEST_F(Settings, TheRunItemWritesTheQuotedPathWithSpacesAndRemovesIt) {
    const std::wstring dir = L"C:\\Program Files\\Snap Query";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring exe = dir + L"\\snapquery.exe";
    ASSERT_TRUE(::CopyFileW((ExeDir() + L"snapquery.exe").c_str(), exe.c_str(), FALSE));
    Start(exe);
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::AutoRun));
    Wait(300);
    // This user's entry, though the machine's could be written (Wine checks
    // no rights): one there would start this user's file for everyone.
    EXPECT_EQ(RegGet(kUserRun, L"SNQ"), L"\"" + exe + L"\"");
    EXPECT_EQ(RegGet(kRun, L"SNQ"), L"<none>");
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::AutoRun));
    Wait(300);
    EXPECT_EQ(RegGet(kUserRun, L"SNQ"), L"<none>");
    // A machine-wide entry (an older version's, or an administrator's, in
    // the 64-bit view) that starts a file from Program Files counts as set:
    // choosing the item removes it.
    RegSetText(kRun64, L"SNQ", L"\"" + exe + L"\"");
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::AutoRun));
    Wait(300);
    EXPECT_EQ(RegGet(kRun64, L"SNQ"), L"<none>");
    EXPECT_EQ(RegGet(kUserRun, L"SNQ"), L"<none>");
    // So does an older copy's, its path written without quotes.
    RegSetText(kRun, L"SNQ", exe);
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::AutoRun));
    Wait(300);
    EXPECT_EQ(RegGet(kRun, L"SNQ"), L"<none>");
    EXPECT_EQ(RegGet(kUserRun, L"SNQ"), L"<none>") << "counted as off: a second entry";
}

TEST_F(Settings, AMachineWideEntryOneUserCouldReplaceIsOffAndTheSettingsWindowRemovesIt) {
    // An older version's entry for everyone, starting a file in a folder of
    // the user's; an administrator's beside it in the other view.
    const std::wstring planted = L"\"" + TempDir() + L"snapquery.exe\"";
    const std::wstring installed = L"\"C:\\Program Files\\Snapquery\\snapquery.exe\"";
    RegSetText(kRun, L"SNQ", planted);
    Start();
    // It does not count: the item is unchecked, and choosing it adds this
    // user's own entry.
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::AutoRun));
    Wait(300);
    EXPECT_NE(RegGet(kUserRun, L"SNQ"), L"<none>");
    RegDelete(kUserRun, L"SNQ");
    RegSetText(kRun64, L"SNQ", installed);
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Settings));
    HWND window = WaitForWindow(pid(), L"Snapquery Settings");
    ASSERT_NE(window, nullptr);
    HWND offer = WaitForWindow(pid(), L"Confirm", L"It no longer counts as \"Auto Run at Startup\"");
    ASSERT_NE(offer, nullptr) << Describe(pid());
    EXPECT_NE(AllText(offer).find(planted), std::wstring::npos);
    ASSERT_TRUE(PressButton(offer, L"&Yes"));
    ASSERT_TRUE(WaitGone(offer));
    EXPECT_TRUE(Poll(8000, [] { return RegGet(kRun, L"SNQ") == L"<none>"; })) << "removed by the elevated copy";
    EXPECT_EQ(RegGet(kRun64, L"SNQ"), installed) << "nothing else";
    Wait(500);
    EXPECT_EQ(CountWindows(pid(), L"Warning", L""), 0) << Describe(pid());
    ASSERT_TRUE(PressButton(window, L"Cancel"));
    ASSERT_TRUE(WaitGone(window));
    EXPECT_EQ(ProcessesOf(L"snapquery.exe").size(), 1u) << "the elevated copy ended";
}

TEST_F(Settings, ADwordDefaultFailsEveryMenuOpeningAndSearchButTheProgramGoesOn) {
    const DWORD one = 1;
    RegSet(kSettings, L"Default", REG_DWORD, &one, sizeof(one));
    Start();
    for (int attempt = 0; attempt < 2; ++attempt) {
        RightClick(tray_);
        HWND box = WaitForWindow(pid(), L"Snapquery 1.5", L"Invalid data type for 'Default'");
        ASSERT_NE(box, nullptr);
        // The text ends in "'", so no full stop is added.
        EXPECT_EQ(AllText(box).find(L"'Default'."), std::wstring::npos);
        EXPECT_EQ(WaitForMenu(pid(), 300), nullptr) << "the menu must not open";
        ASSERT_TRUE(PressButton(box, L"OK"));
        ASSERT_TRUE(WaitGone(box));
    }
    EmptyClipboardNow();
    LeftClick(tray_);
    HWND box = WaitForWindow(pid(), L"Snapquery 1.5", L"Invalid data type for 'Default'");
    ASSERT_NE(box, nullptr);
    PressButton(box, L"OK");
    ASSERT_TRUE(WaitGone(box));
    // Corrected, everything works again.
    RegSetText(kSettings, L"Default", L"No");
    OpenAndCloseMenu();
    EXPECT_TRUE(program_->Running());
}

namespace {
void SetHotKeyBox(HWND box, WORD value) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(box, HKM_SETHOTKEY, value, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
}
// Says `text` in a warning, which OK closes.
bool Warned(DWORD pid, const std::wstring& text) {
    HWND warning = WaitForWindow(pid, L"Warning", text);
    return warning && PressButton(warning, L"OK") && WaitGone(warning);
}
} // namespace

TEST_F(Settings, TheSettingsWindowChecksAppliesAndStoresItsChoices) {
    Start();
    for (int i = 0; i < 100 && KeystrokeFree(MOD_CONTROL, 'G'); ++i) Wait(50);
    EXPECT_EQ(TrayTip(), L"Snapquery 1.5\r\nClick or press Ctrl+g to send clpiboard text to google search\r\nRight click for menu");
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Settings));
    HWND window = WaitForWindow(pid(), L"Snapquery Settings");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ClassOf(window), L"TSettingsForm");
    // At most one: the command again brings the same window to the front.
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Settings));
    Wait(300);
    EXPECT_EQ(CountWindows(pid(), L"Snapquery Settings", L""), 1);
    HWND box = ChildOfClass(window, L"msctls_hotkey32");
    ASSERT_NE(box, nullptr);
    // The hotkey in force is let go while the window is open, so that the
    // box records it rather than a search starting.
    EXPECT_TRUE(KeystrokeFree(MOD_CONTROL, 'G'));
    ASSERT_TRUE(WaitForeground(window));
    SetHotKeyBox(box, 0);
    ::PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, 0); // the box takes the focus
    ::PostMessageW(box, WM_LBUTTONUP, 0, 0);
    Wait(200);
    PressCtrlG();
    DWORD_PTR typed = 0;
    Poll(2000, [&] {
        ::SendMessageTimeoutW(box, HKM_GETHOTKEY, 0, 0, SMTO_ABORTIFHUNG, 2000, &typed);
        return LOBYTE(typed) != 0;
    });
    // Wine's hotkey box names injected letters by another key, so only
    // that a key came with Ctrl is compared.
    EXPECT_EQ(HIBYTE(typed), HOTKEYF_CONTROL);
    EXPECT_NE(LOBYTE(typed), 0) << "G went to the registered hotkey, not to the box";

    // A key that types is refused, and the window stays.
    SetHotKeyBox(box, 'G');
    ASSERT_TRUE(PressButton(window, L"OK"));
    EXPECT_TRUE(Warned(pid(), L"G cannot be a hotkey"));
    EXPECT_TRUE(::IsWindowVisible(window));
    // A hotkey another program holds is said so, and Ctrl+G stays.
    ASSERT_TRUE(::RegisterHotKey(nullptr, 0x7006, MOD_CONTROL | MOD_SHIFT, 'H'));
    SetHotKeyBox(box, MAKEWORD('H', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    ASSERT_TRUE(PressButton(window, L"OK"));
    EXPECT_TRUE(Warned(pid(), L"Ctrl+Shift+H is in use by another program."));
    ::UnregisterHotKey(nullptr, 0x7006);
    // An editing chord is refused by name.
    SetHotKeyBox(box, MAKEWORD('V', HOTKEYF_CONTROL));
    ASSERT_TRUE(PressButton(window, L"OK"));
    EXPECT_TRUE(Warned(pid(), L"Ctrl+V cannot be a hotkey: every program needs it"));
    SetHotKeyBox(box, MAKEWORD(VK_TAB, HOTKEYF_CONTROL));
    ASSERT_TRUE(PressButton(window, L"OK"));
    EXPECT_TRUE(Warned(pid(), L"Ctrl+Tab cannot be a hotkey: Windows and other programs use it"));
    // A custom address that is no web address is explained.
    ASSERT_TRUE(PressButton(window, L"C&ustom:"));
    HWND address = ChildOfClass(window, L"Edit");
    ASSERT_NE(address, nullptr);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"file:///C:/{query}"),
                          SMTO_ABORTIFHUNG, 2000, &ignored);
    SetHotKeyBox(box, MAKEWORD('G', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    ASSERT_TRUE(PressButton(window, L"OK"));
    EXPECT_TRUE(Warned(pid(), L"must start with https:// or http://"));

    // Ctrl+Shift+G, DuckDuckGo and web addresses: stored and in force.
    ASSERT_TRUE(PressButton(window, L"&DuckDuckGo"));
    ASSERT_TRUE(PressButton(window, L"Open &web addresses directly"));
    ASSERT_TRUE(PressButton(window, L"OK"));
    ASSERT_TRUE(WaitGone(window));
    EXPECT_EQ(RegGet(kSettings, L"HotKey"), L"Ctrl+Shift+G");
    EXPECT_EQ(RegGet(kSettings, L"SearchAddress"), L"https://duckduckgo.com/?q={query}");
    EXPECT_EQ(RegGet(kSettings, L"OpenAddresses"), L"Yes");
    EXPECT_EQ(RegGet(kSettings, L"CopySelection"), L"No");
    EXPECT_FALSE(KeystrokeFree(MOD_CONTROL | MOD_SHIFT, 'G'));
    EXPECT_TRUE(KeystrokeFree(MOD_CONTROL, 'G')) << "the old hotkey released";
    EXPECT_EQ(TrayTip(), L"Snapquery 1.5\r\nClick or press Ctrl+Shift+g to send clpiboard text to "
                         L"DuckDuckGo search\r\nRight click for menu");

    // Cancel changes nothing; the window shows what is stored.
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Settings));
    window = WaitForWindow(pid(), L"Snapquery Settings");
    ASSERT_NE(window, nullptr);
    box = ChildOfClass(window, L"msctls_hotkey32");
    DWORD_PTR shown = 0;
    ::SendMessageTimeoutW(box, HKM_GETHOTKEY, 0, 0, SMTO_ABORTIFHUNG, 2000, &shown);
    EXPECT_EQ(shown, static_cast<DWORD_PTR>(MAKEWORD('G', HOTKEYF_CONTROL | HOTKEYF_SHIFT)));
    SetHotKeyBox(box, MAKEWORD('H', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    ASSERT_TRUE(PressButton(window, L"Cancel"));
    ASSERT_TRUE(WaitGone(window));
    EXPECT_EQ(RegGet(kSettings, L"HotKey"), L"Ctrl+Shift+G");
    EXPECT_TRUE(KeystrokeFree(MOD_CONTROL | MOD_SHIFT, 'H'));
    EXPECT_FALSE(KeystrokeFree(MOD_CONTROL | MOD_SHIFT, 'G')) << "Cancel registers the old hotkey again";
    // Escape is Cancel.
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Settings));
    window = WaitForWindow(pid(), L"Snapquery Settings");
    ASSERT_NE(window, nullptr);
    ::PostMessageW(ChildOfClass(window, L"msctls_hotkey32"), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitGone(window));
}

TEST_F(Settings, AStoredHotkeyThatIsNotInForceIsExplainedOnceInTheSettingsWindow) {
    RegSetText(kSettings, L"HotKey", L"Ctrl+Tab");
    Start();
    for (int i = 0; i < 100 && KeystrokeFree(MOD_CONTROL, 'G'); ++i) Wait(50);
    EXPECT_FALSE(KeystrokeFree(MOD_CONTROL, 'G')) << "Ctrl+G in its place";
    EXPECT_TRUE(VisibleWindows(pid()).empty()) << "nothing said at start: " << Describe(pid());
    for (int opening = 0; opening < 2; ++opening) {
        ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Settings));
        HWND window = WaitForWindow(pid(), L"Snapquery Settings");
        ASSERT_NE(window, nullptr);
        HWND said = WaitForWindow(pid(), L"Warning", L"The hotkey stored for the main search is not in force. "
                                                     L"Ctrl+Tab cannot be a hotkey", opening == 0 ? 8000 : 1500);
        if (opening == 0) {
            ASSERT_NE(said, nullptr);
            ASSERT_TRUE(PressButton(said, L"OK"));
            ASSERT_TRUE(WaitGone(said));
        } else {
            EXPECT_EQ(said, nullptr) << "said once";
        }
        ASSERT_TRUE(PressButton(window, L"Cancel"));
        ASSERT_TRUE(WaitGone(window));
    }
}

TEST_F(Settings, AccessKeysOnLabelsMoveTheFocusAndItComesBackAfterSwitchingAway) {
    Start();
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Settings));
    HWND window = WaitForWindow(pid(), L"Snapquery Settings");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForeground(window));
    const auto focus = [&] { return FocusedControl(window); };
    // Out of the hotkey box (it would take Alt+L as a hotkey) first.
    PressKeys({}, VK_TAB);
    PressKeys({VK_MENU}, 'L');
    EXPECT_TRUE(Poll(2000, [&] { return focus() == snq::idLanguage; })) << focus();
    HelperWindow other;
    ASSERT_TRUE(other.Activate());
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Settings));
    ASSERT_TRUE(WaitForeground(window));
    EXPECT_TRUE(Poll(2000, [&] { return focus() == snq::idLanguage; })) << "after switching back: " << focus();
    PressKeys({VK_MENU}, 'H');
    EXPECT_TRUE(Poll(2000, [&] { return focus() == snq::idHotKey; })) << focus();
    ASSERT_TRUE(PressButton(window, L"Cancel"));
}
