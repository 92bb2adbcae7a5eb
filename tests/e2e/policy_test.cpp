// Policies end to end: what an administrator sets under
// Software\Policies\Varnel\Snapquery decides over the user's choices, the
// machine's over the user's, and takes effect while the program runs.
#include <gtest/gtest.h>

#include "Probe.h"

#include "app/SettingsDialog.h"

using namespace probe;
using snq::MenuCommand;

namespace {

const std::wstring kMachinePolicy = L"HKLM\\SOFTWARE\\Policies\\Varnel\\Snapquery";
const std::wstring kUserPolicy = L"HKCU\\Software\\Policies\\Varnel\\Snapquery";
const std::wstring kSettingsKey = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ";

void SetSwitch(const std::wstring& key, const wchar_t* name, DWORD on) { RegSet(key, name, REG_DWORD, &on, sizeof(on)); }

// What Windows sends every top-level window after a Group Policy refresh.
void BroadcastPolicyChange() {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Policy"), SMTO_ABORTIFHUNG,
                          3000, &ignored);
}

class Policy : public ::testing::Test {
protected:
    void SetUp() override {
        InstallRecordingBrowser();
        SetBrowserMode(true);
        RegSetText(kSettingsKey, L"SearchAddress", L"https://user.example/?q={query}");
    }
    void TearDown() override {
        program_.reset();
        RegDelete(kMachinePolicy, L"");
        RegDelete(kUserPolicy, L"");
        RegDelete(kSettingsKey, L"SearchAddress");
        RegDelete(kSettingsKey, L"CopySelection");
    }
    void Start() {
        program_ = std::make_unique<Program>();
        tray_ = program_->WaitForTray();
        ASSERT_NE(tray_, nullptr);
    }
    // The host the next search goes to.
    std::wstring NextSearchHost() {
        SetClipboardText(L"managed");
        LeftClick(tray_);
        const auto lines = WaitForLines(BrowserLogPath(), ++searches_);
        if (lines.size() < searches_) return L"<no search>";
        const std::wstring& line = lines[searches_ - 1];
        const std::size_t from = line.find(L"://") + 3;
        return line.substr(from, line.find(L'/', from) - from);
    }
    HWND OpenSettings() {
        if (!UseMenu(tray_, program_->Pid(), MenuCommand::Settings)) return nullptr;
        return WaitForClass(program_->Pid(), L"TSettingsForm", 1500);
    }
    std::size_t searches_ = 0;
    std::unique_ptr<Program> program_;
    HWND tray_ = nullptr;
};

} // namespace

TEST_F(Policy, TheMachinesPolicyDecidesOverTheUsersPolicyAndTheUsersChoice) {
    RegSetText(kMachinePolicy, L"SearchAddress", L"https://machine.example/?q={query}");
    RegSetText(kUserPolicy, L"SearchAddress", L"https://userpolicy.example/?q={query}");
    RegSetText(kSettingsKey, L"CopySelection", L"Yes");
    SetSwitch(kMachinePolicy, L"CopySelection", 0);
    SetSwitch(kUserPolicy, L"CopySelection", 1);
    RegSetText(kUserPolicy, L"HotKey", L"Ctrl+G");
    Start();
    EXPECT_EQ(NextSearchHost(), L"machine.example");
    // The copy is off by the machine's policy: the hotkey searches the
    // clipboard, not the selection.
    HelperWindow selection(L"selected words");
    ASSERT_TRUE(selection.Activate());
    SetClipboardText(L"clipboard words");
    PressCtrlG();
    const auto lines = WaitForLines(BrowserLogPath(), ++searches_);
    ASSERT_EQ(lines.size(), searches_);
    EXPECT_NE(lines.back().find(L"q=clipboard+words"), std::wstring::npos) << lines.back();
    // The Settings window shows the policy's address, greyed, says why, and
    // its OK keeps the user's own.
    HWND window = OpenSettings();
    ASSERT_NE(window, nullptr);
    HWND address = ::GetDlgItem(window, snq::idCustomAddress);
    EXPECT_EQ(AllText(address), L"https://machine.example/?q={query}\n");
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, snq::idCustom)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, snq::idCopySelection)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, snq::idHotKey))) << "decided by the HotKey policy";
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(window, snq::idManaged)));
    ASSERT_TRUE(PressButton(window, L"OK"));
    ASSERT_TRUE(WaitGone(window));
    EXPECT_EQ(RegGet(kSettingsKey, L"SearchAddress"), L"https://user.example/?q={query}");
    EXPECT_EQ(RegGet(kSettingsKey, L"CopySelection"), L"Yes");
}

TEST_F(Policy, WithoutSettingsAllowedTheSettingsWindowStaysClosed) {
    SetSwitch(kMachinePolicy, L"AllowSettings", 0);
    Start();
    EXPECT_EQ(OpenSettings(), nullptr);
    EXPECT_TRUE(VisibleWindows(program_->Pid()).empty()) << Describe(program_->Pid());
}

TEST_F(Policy, APolicySetOrRemovedWhileTheProgramRunsTakesEffect) {
    Start();
    EXPECT_EQ(NextSearchHost(), L"user.example");
    RegSetText(kMachinePolicy, L"SearchAddress", L"https://machine.example/?q={query}");
    BroadcastPolicyChange();
    EXPECT_EQ(NextSearchHost(), L"machine.example");
    RegDelete(kMachinePolicy, L"SearchAddress");
    BroadcastPolicyChange();
    EXPECT_EQ(NextSearchHost(), L"user.example");
    // Without a broadcast: the watch, also after a refresh deleted the key.
    RegSetText(kUserPolicy, L"SearchAddress", L"https://userpolicy.example/?q={query}");
    Wait(500);
    EXPECT_EQ(NextSearchHost(), L"userpolicy.example");
    RegDelete(L"HKCU\\Software\\Policies", L"");
    Wait(500);
    EXPECT_EQ(NextSearchHost(), L"user.example");
    RegSetText(kUserPolicy, L"SearchAddress", L"https://userpolicy.example/?q={query}");
    Wait(500);
    EXPECT_EQ(NextSearchHost(), L"userpolicy.example") << "the watch went deaf";
    // In a message box's loop, which serves no watch: the broadcast alone.
    ASSERT_TRUE(UseMenu(tray_, program_->Pid(), MenuCommand::ShowClipboard));
    HWND box = WaitForWindow(program_->Pid(), L"", L"Current clipboard text");
    ASSERT_NE(box, nullptr);
    RegDelete(kUserPolicy, L"SearchAddress");
    BroadcastPolicyChange();
    EXPECT_EQ(NextSearchHost(), L"user.example") << "the broadcast was not heard";
    ASSERT_TRUE(PressButton(box, L"OK"));
}
