// The search end to end: the address that reaches a recording browser or a
// recording automation server registered in the test's prefix.
#include <gtest/gtest.h>

#include "Probe.h"

#include <oleauto.h>

using namespace probe;
using snq::MenuCommand;

namespace {

const std::wstring kTitle = L"Snapquery 1.5";
const std::wstring kPrefix = L"https://www.google.com/search?complete=1&hl=en&q=";
const std::wstring kSuffix = L"&btnG=Google+Search&aq=f&oq=";

class Search : public ::testing::Test {
protected:
    void SetUp() override {
        recorder_ = InstallRecordingBrowser();
        InstallRecordingAutomationServer();
        UseDefaultBrowser(true);
        program_ = std::make_unique<Program>();
        tray_ = program_->WaitForTray();
        ASSERT_NE(tray_, nullptr);
    }
    void TearDown() override {
        program_.reset();
        ::DeleteFileW((TempDir() + L"snq-automation-fail").c_str());
    }
    static void UseDefaultBrowser(bool yes) { SetBrowserMode(yes); }
    static std::wstring BrowserLog() { return BrowserLogPath(); }
    static std::wstring AutomationLog() { return AutomationLogPath(); }
    std::wstring Opened(const std::wstring& address) const {
        return L"\"" + recorder_ + L"\" \"" + address + L"\"";
    }
    DWORD pid() const { return program_->Pid(); }
    // A browser start takes a while: rather than wait and see nothing, a
    // good search follows, and its line must be the only one.
    void ExpectOnlyTheNextSearchOpens() {
        SetClipboardText(L"next");
        LeftClick(tray_);
        const auto lines = WaitForLines(BrowserLog(), 1);
        Wait(300);
        EXPECT_EQ(ReadLines(BrowserLog()), std::vector<std::wstring>{Opened(kPrefix + L"next" + kSuffix)});
    }

    std::wstring recorder_;
    std::unique_ptr<Program> program_;
    HWND tray_ = nullptr;
};

} // namespace

TEST_F(Search, TheClickAndTheMenuCommandOpenTheSameEncodedAddress) {
    SetClipboardText(L"C++ & \"x\" #1 100%");
    LeftClick(tray_);
    auto lines = WaitForLines(BrowserLog(), 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], Opened(kPrefix + L"C%2B%2B+%26+%22x%22+%231+100%25" + kSuffix));
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::Search));
    lines = WaitForLines(BrowserLog(), 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], lines[0]);
    Wait(500);
    EXPECT_EQ(ReadLines(BrowserLog()).size(), 2u) << "one start per trigger";
}

TEST_F(Search, TextInAnyScriptArrivesAsEncodedUtf8) {
    SetClipboardText(L"\x03B1\x03B2 \x4E2D\x6587 \x0639\x0631\x0628\x064A");
    LeftClick(tray_);
    const auto lines = WaitForLines(BrowserLog(), 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], Opened(kPrefix + L"%CE%B1%CE%B2+%E4%B8%AD%E6%96%87+%D8%B9%D8%B1%D8%A8%D9%8A" +
                               kSuffix));
}

TEST_F(Search, AHugeClipboardOpensACutValidAddress) {
    // Through the automation path: Wine's shell drops command lines longer
    // than about 1,024 characters, which a full-length address exceeds.
    UseDefaultBrowser(false);
    SetClipboardText(std::wstring(10'000'000, L'z'));
    LeftClick(tray_);
    const auto lines = WaitForLines(AutomationLog(), 3, 15000);
    ASSERT_GE(lines.size(), 3u);
    const std::wstring& navigate = lines[2];
    const std::wstring address = navigate.substr(navigate.find(L"url=") + 4);
    EXPECT_EQ(address.size(), 2048u);
    EXPECT_EQ(address.find(kPrefix + L"zzz"), 0u);
    EXPECT_EQ(address.rfind(kSuffix), address.size() - kSuffix.size());
    EmptyClipboardNow();
}

TEST_F(Search, ALongTextGoesToTheDefaultBrowserInAnAddressItsShellTakes) {
    // Wine's shell crashes its caller on an address and browser command line
    // of more than 1,024 characters together; Windows takes 2,048.
    SetClipboardText(std::wstring(100'000, L'z'));
    LeftClick(tray_);
    const auto lines = WaitForLines(BrowserLog(), 1);
    ASSERT_EQ(lines.size(), 1u);
    const std::wstring head = L"\"" + recorder_ + L"\" \"";
    ASSERT_EQ(lines[0].rfind(head, 0), 0u);
    const std::wstring address = lines[0].substr(head.size(), lines[0].size() - head.size() - 1);
    EXPECT_EQ(address.rfind(kPrefix + L"zzz", 0), 0u);
    EXPECT_EQ(address.rfind(kSuffix), address.size() - kSuffix.size());
    EXPECT_LE(address.size(), 768u);
    EXPECT_GE(address.size(), 760u);
    EXPECT_TRUE(program_->Running());
    EmptyClipboardNow();
}

TEST_F(Search, NoTextOpensNothingAndSaysSo) {
    for (bool image : {false, true}) {
        if (image)
            SetClipboardImageOnly();
        else
            EmptyClipboardNow();
        LeftClick(tray_);
        HWND box = WaitForWindow(pid(), L"Information", L"Snapquery: No Text in Clipboard");
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(PressButton(box, L"OK"));
        ASSERT_TRUE(WaitGone(box));
    }
    ExpectOnlyTheNextSearchOpens();
}

TEST_F(Search, ABusyClipboardOpensNothing) {
    SetClipboardText(L"held");
    {
        ClipboardHolder hold;
        LeftClick(tray_);
        ASSERT_TRUE(DismissErrorBox(pid(), L"Cannot open clipboard.")) << Describe(pid());
    }
    ExpectOnlyTheNextSearchOpens();
}

TEST_F(Search, AutomationModeCreatesANewVisibleInstancePerSearch) {
    UseDefaultBrowser(false);
    SetClipboardText(L"ie one");
    LeftClick(tray_);
    WaitForLines(AutomationLog(), 4, 15000);
    SetClipboardText(L"ie two");
    LeftClick(tray_);
    const auto lines = WaitForLines(AutomationLog(), 8, 15000);
    ASSERT_EQ(lines.size(), 8u) << "log: " << lines.size();
    auto field = [](const std::wstring& line) { return line.substr(line.find(L' ') + 1); };
    auto pidOf = [](const std::wstring& line) { return line.substr(0, line.find(L' ')); };
    const std::wstring vtByRefBstr = std::to_wstring(VT_BSTR | VT_BYREF);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(field(lines[4 * i]), L"created");
        EXPECT_EQ(field(lines[4 * i + 1]), L"Visible vt=11 value=-1");
        EXPECT_EQ(field(lines[4 * i + 2]),
                  L"Navigate args=1 vt=" + vtByRefBstr + L" url=" + kPrefix +
                      (i == 0 ? L"ie+one" : L"ie+two") + kSuffix);
        EXPECT_EQ(field(lines[4 * i + 3]), L"released");
    }
    EXPECT_NE(pidOf(lines[0]), pidOf(lines[4])) << "a new instance for each search";
    EXPECT_TRUE(ReadLines(BrowserLog()).empty());
}

TEST_F(Search, AMissingAutomationServerIsReportedAndTheProgramGoesOn) {
    UseDefaultBrowser(false);
    RegDelete(L"HKLM\\Software\\Classes\\InternetExplorer.Application", L"");
    SetClipboardText(L"x");
    LeftClick(tray_);
    // The text ends in a double quote, which sorts before ".": no full stop.
    HWND box = WaitForWindow(pid(), kTitle, L", ProgID: \"InternetExplorer.Application\"\n");
    ASSERT_NE(box, nullptr) << Describe(pid());
    PressButton(box, L"OK");
    ASSERT_TRUE(WaitGone(box));
    EXPECT_TRUE(program_->Running());
    ASSERT_TRUE(UseMenu(tray_, pid(), MenuCommand::ShowClipboard)); // the menu still works
    HWND shown = WaitForWindow(pid(), L"", L"Current clipboard text: x");
    ASSERT_NE(shown, nullptr);
    PressButton(shown, L"OK");
}

TEST_F(Search, AServerThatRefusesNavigateIsReportedWithItsDescription) {
    UseDefaultBrowser(false);
    {
        HANDLE flag = ::CreateFileW((TempDir() + L"snq-automation-fail").c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_ALWAYS, 0, nullptr);
        ::CloseHandle(flag);
    }
    SetClipboardText(L"x");
    LeftClick(tray_);
    ASSERT_TRUE(DismissErrorBox(pid(), L"Navigation refused by the test server."))
        << Describe(pid());
    EXPECT_TRUE(program_->Running());
    // The reference was released on the error path: the server ended.
    const auto lines = WaitForLines(AutomationLog(), 4, 10000);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find(L"released"), std::wstring::npos);
}

TEST_F(Search, TheChosenEngineAndWebAddressesShapeWhatOpens) {
    const std::wstring key = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ";
    RegSetText(key, L"SearchAddress", L"https://duckduckgo.com/?q={query}");
    SetClipboardText(L"caf\x00e9 & co");
    LeftClick(tray_);
    auto lines = WaitForLines(BrowserLog(), 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], Opened(L"https://duckduckgo.com/?q=caf%C3%A9+%26+co"));
    // A copied web address opens as it is; any other scheme is searched.
    RegSetText(key, L"SearchAddress", L"");
    RegSetText(key, L"OpenAddresses", L"Yes");
    SetClipboardText(L"  https://example.com/a?b=c&d=%20e  \r\n");
    LeftClick(tray_);
    lines = WaitForLines(BrowserLog(), 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], Opened(L"https://example.com/a?b=c&d=%20e"));
    SetClipboardText(L"file:///C:/windows/notepad.exe");
    LeftClick(tray_);
    lines = WaitForLines(BrowserLog(), 3);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], Opened(kPrefix + L"file%3A%2F%2F%2FC%3A%2Fwindows%2Fnotepad.exe" + kSuffix));
    RegDelete(key, L"OpenAddresses");
    RegDelete(key, L"SearchAddress");
}

// From the command line: handed to the running copy, else searched by the
// new process alone, which then ends; an unknown profile opens nothing.
TEST_F(Search, TheCommandLineSearchesInTheRunningCopyOrAlone) {
    const auto run = [](const std::wstring& args) {
        Program caller(L"snapquery.exe", args);
        return caller.WaitExit(10000) ? caller.ExitCode() : 99;
    };
    EXPECT_EQ(run(L"/search \"two words\""), 0u);
    EXPECT_EQ(WaitForLines(BrowserLog(), 1), std::vector<std::wstring>{Opened(kPrefix + L"two+words" + kSuffix)});
    EXPECT_EQ(WaitForLines(TempDir() + L"snq-browser.parents", 1), std::vector<std::wstring>{std::to_wstring(pid())})
        << "opened by the running copy";
    EXPECT_TRUE(OwnsTrayIcon(tray_)) << "the running copy goes on";
    Program unknown(L"snapquery.exe", L"-SEARCH x /profile Nope");
    HWND box = WaitForWindow(unknown.Pid(), L"Error", L"No search profile is named Nope.");
    EXPECT_TRUE(box && PressButton(box, L"OK"));
    EXPECT_TRUE(unknown.WaitExit(5000) && unknown.ExitCode() == 2u);
    program_.reset();
    EXPECT_EQ(run(L"/search alone"), 0u);
    Wait(300);
    EXPECT_EQ(ReadLines(BrowserLog()),
              (std::vector<std::wstring>{Opened(kPrefix + L"two+words" + kSuffix), Opened(kPrefix + L"alone" + kSuffix)}));
}
