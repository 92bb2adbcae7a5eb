// The settings end to end: the real menu changing the real registry.
#include <gtest/gtest.h>

#include "Probe.h"

using namespace probe;
using snq::MenuCommand;

namespace {

const std::wstring kSettings = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ";
const std::wstring kRun = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        RegDelete(L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel", L"");
        RegDelete(kRun, L"SNQ");
    }
    void Start(const std::wstring& exe = L"snapquery.exe") {
        program_ = std::make_unique<Program>(exe);
        tray_ = program_->WaitForTray();
        ASSERT_NE(tray_, nullptr);
    }
    void TearDown() override {
        program_.reset();
        RegDelete(L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel", L"");
        RegDelete(kRun, L"SNQ");
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
    EXPECT_EQ(RegGet(kRun, L"SNQ"), L"\"" + exe + L"\"");
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::AutoRun));
    Wait(300);
    EXPECT_EQ(RegGet(kRun, L"SNQ"), L"<none>");
    // An entry that points elsewhere, quoted or not, counts as set: choosing
    // the item removes it.
    RegSetText(kRun, L"SNQ", L"D:\\elsewhere\\snapquery.exe");
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::AutoRun));
    Wait(300);
    EXPECT_EQ(RegGet(kRun, L"SNQ"), L"<none>");
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
