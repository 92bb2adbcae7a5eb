// The interface in the user's language end to end. Wine takes the user's
// language from LC_ALL when it starts, so each language is a ctest entry of
// its own (with-wine.sh with SNQ_LC_ALL); the test reads which it is.
#include <gtest/gtest.h>

#include "Probe.h"

#include "app/SettingsDialog.h"

using namespace probe;
using snq::MenuCommand;

namespace {

const std::wstring kSettingsKey = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ";

// What the Settings window says in a language: its title and its hotkey
// label.
struct Shown {
    LANGID language;
    const wchar_t* title;
    const wchar_t* hotKeyLabel;
};
const Shown kShown[] = {
    {0x0409, L"Snapquery Settings", L"&Hotkey:"},
    {0x0407, L"Snapquery-Einstellungen", L"&Tastenk\u00fcrzel:"},
    {0x0419, L"\u041f\u0430\u0440\u0430\u043c\u0435\u0442\u0440\u044b Snapquery", L"&\u0421\u043e\u0447\u0435\u0442\u0430\u043d\u0438\u0435:"},
    {0x0411, L"Snapquery \u306e\u8a2d\u5b9a", L"\u30db\u30c3\u30c8\u30ad\u30fc(&H):"},
    {0x000C, L"Param\u00e8tres de Snapquery", L"&Raccourci\u00a0:"},
};

const Shown* ShownIn(LANGID language) {
    for (const Shown& shown : kShown)
        if (shown.language == language || PRIMARYLANGID(shown.language) == language) return &shown;
    return nullptr;
}

class Language : public ::testing::Test {
protected:
    void SetUp() override {
        InstallRecordingBrowser();
        SetBrowserMode(true);
    }
    void TearDown() override {
        program_.reset();
        RegDelete(kSettingsKey, L"Language");
    }
    // Starts the program and reads its Settings window's title and label.
    std::pair<std::wstring, std::wstring> SettingsTexts() {
        program_ = std::make_unique<Program>();
        HWND tray = program_->WaitForTray();
        if (!tray || !UseMenu(tray, program_->Pid(), MenuCommand::Settings)) return {};
        HWND window = WaitForClass(program_->Pid(), L"TSettingsForm");
        if (!window) return {};
        std::pair texts{TitleOf(window), TitleOf(::GetDlgItem(window, snq::idHotKeyLabel))};
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        WaitGone(window);
        return texts;
    }
    std::unique_ptr<Program> program_;
};

} // namespace

TEST_F(Language, TheSettingsWindowSpeaksTheUsersLanguage) {
    const Shown* expected = ShownIn(::GetUserDefaultUILanguage());
    ASSERT_NE(expected, nullptr) << "no row for the user's language " << std::hex << ::GetUserDefaultUILanguage();
    EXPECT_EQ(SettingsTexts(), std::pair(std::wstring(expected->title), std::wstring(expected->hotKeyLabel)));
    // The search's language still follows the locale.
    SetClipboardText(L"x");
    LeftClick(program_->WaitForTray());
    const auto lines = WaitForLines(BrowserLogPath(), 1);
    ASSERT_EQ(lines.size(), 1u);
    if (::GetUserDefaultUILanguage() == 0x0409) {
        EXPECT_NE(lines[0].find(L"hl=en&"), std::wstring::npos) << lines[0];
        EXPECT_EQ(TrayTip(), L"Snapquery 1.5\r\nClick or press Ctrl+g to send clpiboard text to google search\r\n"
                             L"Right click for menu");
    }
}

TEST_F(Language, TheLanguageSettingWinsOverWindowsAndAnUnknownOneIsIgnored) {
    RegSetText(kSettingsKey, L"Language", L"fr");
    EXPECT_EQ(SettingsTexts(), std::pair(std::wstring(ShownIn(0x000C)->title), std::wstring(ShownIn(0x000C)->hotKeyLabel)));
    program_.reset();
    RegSetText(kSettingsKey, L"Language", L"xx-Unknown");
    const Shown* users = ShownIn(::GetUserDefaultUILanguage());
    ASSERT_NE(users, nullptr);
    EXPECT_EQ(SettingsTexts(), std::pair(std::wstring(users->title), std::wstring(users->hotKeyLabel)));
    EXPECT_TRUE(VisibleWindows(program_->Pid()).empty()) << "nothing said of it: " << Describe(program_->Pid());
}
