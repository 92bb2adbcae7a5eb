// Search profiles end to end: stored profiles, their hotkeys and the
// "Search with" submenu.
#include <gtest/gtest.h>

#include "Probe.h"

#include <commctrl.h>

#include "app/SettingsDialog.h"

using namespace probe;

namespace {

const std::wstring kSettingsKey = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ";
const std::wstring kWiki = L"https://wiki.example/?q={query}";
const std::wstring kMaps = L"https://maps.example/?q={query}";

class Profiles : public ::testing::Test {
protected:
    void SetUp() override {
        InstallRecordingBrowser();
        SetBrowserMode(true);
        for (int i = 0; i < 100 && !KeystrokeFree(MOD_CONTROL, 'G'); ++i) Wait(50);
    }
    void TearDown() override {
        program_.reset();
        RegDelete(kSettingsKey + L"\\Profiles", L"");
    }
    void Store(int slot, const std::wstring& name, const std::wstring& address, const std::wstring& hotKey) {
        const std::wstring key = kSettingsKey + L"\\Profiles\\" + std::to_wstring(slot);
        RegSetText(key, L"Name", name);
        RegSetText(key, L"SearchAddress", address);
        RegSetText(key, L"HotKey", hotKey);
    }
    void Start() {
        program_ = std::make_unique<Program>();
        tray_ = program_->WaitForTray();
        ASSERT_NE(tray_, nullptr);
        for (int i = 0; i < 100 && KeystrokeFree(MOD_CONTROL, 'G'); ++i) Wait(50);
    }
    // The address of the next search the browser gets.
    std::wstring NextSearch() {
        const auto lines = WaitForLines(BrowserLogPath(), ++searches_);
        return lines.size() >= searches_ ? lines[searches_ - 1] : L"";
    }
    std::size_t searches_ = 0;
    std::unique_ptr<Program> program_;
    HWND tray_ = nullptr;
};

} // namespace

TEST_F(Profiles, EachHotkeyAndMenuItemSearchesItsOwnAddressBesideTheMainSearch) {
    Store(1, L"Wiki", kWiki, L"Ctrl+Alt+W");
    Store(2, L"Maps", kMaps, L"Ctrl+Alt+M");
    Start();
    // Registered once the program is idle, a moment after the icon.
    EXPECT_TRUE(Poll(2000, [] { return !KeystrokeFree(MOD_CONTROL | MOD_ALT, 'M'); })) << "in force after start";
    SetClipboardText(L"two words");
    PressKeys({VK_CONTROL, VK_MENU}, 'W');
    EXPECT_NE(NextSearch().find(L"\"https://wiki.example/?q=two+words\""), std::wstring::npos);
    PressKeys({VK_CONTROL, VK_MENU}, 'M');
    EXPECT_NE(NextSearch().find(L"\"https://maps.example/?q=two+words\""), std::wstring::npos);
    PressCtrlG();
    EXPECT_NE(NextSearch().find(L"google.com/search?complete=1"), std::wstring::npos) << "the main search";
    ASSERT_TRUE(UseProfileItem(tray_, program_->Pid(), 1));
    EXPECT_NE(NextSearch().find(L"\"https://maps.example/?q=two+words\""), std::wstring::npos);
    // The menu's other items keep their places below the submenu.
    ASSERT_TRUE(UseMenu(tray_, program_->Pid(), snq::MenuCommand::Settings, true));
    HWND settings = WaitForWindow(program_->Pid(), L"Snapquery Settings");
    ASSERT_NE(settings, nullptr);
    PressButton(settings, L"Cancel");
    EXPECT_TRUE(WaitGone(settings));
}

namespace {
void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &ignored);
}
HWND Child(HWND parent, int id) { return ::GetDlgItem(parent, id); }
} // namespace

// Two browsers Windows lists as installed for the user, stand-ins that
// record their command lines: a profile opens in its own one, in a private
// window by that browser's switch; the main search, in the default browser
// as before.
TEST_F(Profiles, OneOpensInItsOwnBrowserInAPrivateWindowAndTheMainSearchAsBefore) {
    const std::wstring clients = L"HKCU\\SOFTWARE\\Clients\\StartMenuInternet\\";
    ::CreateDirectoryW((TempDir() + L"Mozilla Firefox").c_str(), nullptr);
    const std::wstring firefox = TempDir() + L"Mozilla Firefox\\firefox.exe", other = TempDir() + L"other.exe";
    for (const auto& [key, program] : {std::pair{L"Firefox-308046B0AF4A39CB", firefox}, {L"Other", other}}) {
        ::CopyFileW((ExeDir() + L"recorder.exe").c_str(), program.c_str(), FALSE);
        RegSetText(clients + key, L"", key);
        RegSetText(clients + key + L"\\shell\\open\\command", L"", L"\"" + program + L"\" -osint -url \"%1\"");
    }
    Store(1, L"Wiki", kWiki, L"Ctrl+Alt+W");
    Start();
    // The menu has "Search with" once the profiles are read, after the start.
    ASSERT_TRUE(Poll(2000, [] { return !KeystrokeFree(MOD_CONTROL | MOD_ALT, 'W'); }));
    // Chosen in the profile's window: only a browser with a switch for one
    // offers a private window.
    ASSERT_TRUE(UseMenu(tray_, program_->Pid(), snq::MenuCommand::Settings, true));
    HWND settings = WaitForWindow(program_->Pid(), L"Snapquery Settings");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(::SendMessageW(Child(settings, snq::idOpenIn), CB_GETCURSEL, 0, 0), 0) << "the default browser";
    Send(Child(settings, snq::idProfileList), LB_SETCURSEL, 0, 0);
    Send(settings, WM_COMMAND, MAKEWPARAM(snq::idProfileList, LBN_SELCHANGE), 0);
    ASSERT_TRUE(PressButton(settings, L"&Edit..."));
    HWND profile = WaitForWindow(program_->Pid(), L"Search Profile");
    ASSERT_NE(profile, nullptr);
    HWND openIn = Child(profile, snq::idProfileOpenIn), privately = Child(profile, snq::idProfilePrivateWindow);
    for (const wchar_t* name : {L"Other", L"Firefox-308046B0AF4A39CB"}) {
        DWORD_PTR at = 0;
        ::SendMessageTimeoutW(openIn, CB_FINDSTRINGEXACT, 0, reinterpret_cast<LPARAM>(name), SMTO_ABORTIFHUNG, 2000, &at);
        Send(openIn, CB_SETCURSEL, at, 0);
        Send(profile, WM_COMMAND, MAKEWPARAM(snq::idProfileOpenIn, CBN_SELCHANGE), reinterpret_cast<LPARAM>(openIn));
        EXPECT_EQ(::IsWindowEnabled(privately) != FALSE, name[0] == L'F') << name;
    }
    Send(privately, BM_CLICK, 0, 0);
    ASSERT_TRUE(PressButton(profile, L"OK"));
    ASSERT_TRUE(WaitGone(profile));
    ASSERT_TRUE(PressButton(settings, L"OK"));
    ASSERT_TRUE(WaitGone(settings));
    EXPECT_EQ(RegGet(kSettingsKey + L"\\Profiles\\1", L"Browser"), L"Firefox-308046B0AF4A39CB");
    SetClipboardText(L"two words");
    PressKeys({VK_CONTROL, VK_MENU}, 'W');
    EXPECT_EQ(NextSearch(), L"\"" + firefox + L"\" -private-window https://wiki.example/?q=two+words");
    PressCtrlG();
    EXPECT_EQ(NextSearch().find(L"\"" + ExeDir() + L"recorder.exe\" \"https://www.google.com/"), 0u);
    RegDelete(L"HKCU\\SOFTWARE\\Clients", L"");
}

TEST_F(Profiles, AHotkeyWithAnOwnerAlreadyIsNoneForTheProfileAndNothingIsSaid) {
    ASSERT_TRUE(::RegisterHotKey(nullptr, 0x700A, MOD_CONTROL | MOD_ALT, 'T')); // another program's
    Store(1, L"Main's", kWiki, L"Ctrl+G");
    Store(2, L"Taken", kMaps, L"Ctrl+Alt+T");
    Store(3, L"Wiki", kWiki, L"Ctrl+Alt+W");
    Store(4, L"Again", kMaps, L"Ctrl+Alt+W");
    Start();
    Wait(500);
    EXPECT_TRUE(VisibleWindows(program_->Pid()).empty()) << Describe(program_->Pid());
    EXPECT_EQ(TrayBalloon(1500), L"") << "nothing said at start";
    ::UnregisterHotKey(nullptr, 0x700A);
    SetClipboardText(L"owner");
    PressCtrlG();
    EXPECT_NE(NextSearch().find(L"google.com/search"), std::wstring::npos) << "Ctrl+G stays the main's";
    PressKeys({VK_CONTROL, VK_MENU}, 'W');
    EXPECT_NE(NextSearch().find(L"wiki.example"), std::wstring::npos) << "the first owner keeps it";
    EXPECT_TRUE(KeystrokeFree(MOD_CONTROL | MOD_ALT, 'T')) << "the taken one was not registered later";
}

TEST_F(Profiles, OneAddedInTheSettingsWindowIsStoredAndItsHotkeySearches) {
    Start();
    ASSERT_TRUE(UseMenu(tray_, program_->Pid(), snq::MenuCommand::Settings));
    HWND settings = WaitForWindow(program_->Pid(), L"Snapquery Settings");
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(PressButton(settings, L"&Add..."));
    HWND profile = WaitForWindow(program_->Pid(), L"Search Profile");
    ASSERT_NE(profile, nullptr);
    // The Wikipedia preset names the profile; Ctrl+Alt+W is its hotkey.
    HWND engines = Child(profile, snq::idProfileEngine);
    for (int preset : {1, 3}) {
        Send(engines, CB_SETCURSEL, preset, 0);
        Send(profile, WM_COMMAND, MAKEWPARAM(snq::idProfileEngine, CBN_SELCHANGE), reinterpret_cast<LPARAM>(engines));
    }
    Send(Child(profile, snq::idProfileNoHotKey), BM_CLICK, 0, 0);
    Send(Child(profile, snq::idProfileHotKey), HKM_SETHOTKEY, MAKEWORD('W', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    ASSERT_TRUE(PressButton(profile, L"OK"));
    ASSERT_TRUE(WaitGone(profile));
    EXPECT_TRUE(Poll(2000, [&] { return FocusedControl(settings) == snq::idProfileAdd; })) << "the focus came back to Add...";
    ASSERT_TRUE(PressButton(settings, L"OK"));
    ASSERT_TRUE(WaitGone(settings));
    EXPECT_EQ(RegGet(kSettingsKey + L"\\Profiles\\1", L"Name"), L"Wikipedia");
    EXPECT_EQ(RegGet(kSettingsKey + L"\\Profiles\\1", L"HotKey"), L"Ctrl+Alt+W");
    SetClipboardText(L"seam");
    PressKeys({VK_CONTROL, VK_MENU}, 'W');
    EXPECT_NE(NextSearch().find(L"wikipedia.org/search-redirect.php?family=wikipedia&language=en&search=seam"),
              std::wstring::npos);
}
