// The setup program end to end, run as package managers run it (silently)
// on this prefix's user: install, start, upgrade over a running copy, and
// uninstall. SNQ_INSTALLER names the setup program (a Linux or a Windows
// path); the packaging script writes it.
#include <gtest/gtest.h>

#include <optional>

#include "Probe.h"
#include "Version.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <memory>
#include <vector>

using namespace probe;
using snq::MenuCommand;

namespace {

const std::wstring kUninstallKey = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Snapquery";
const std::wstring kUserRun = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kUserSettings = L"HKCU\\Software\\Varnel\\SNQ";
const std::wstring kMachineSettings = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ";

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* raw = nullptr;
    std::wstring path;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &raw))) path = raw;
    ::CoTaskMemFree(raw);
    return path;
}

// What RunToEnd gives for a program that did not end in time: no exit code
// a program returns.
constexpr DWORD kHung = ~0u;

// Runs a program to its end; its exit code, or kHung when it could not
// start or did not end within `ms`. `pid` receives its process identifier.
DWORD RunToEnd(const std::wstring& exe, const std::wstring& args, DWORD ms = 120000, DWORD* pid = nullptr) {
    Program program(exe, args);
    if (pid) *pid = program.Pid();
    return program.WaitExit(ms) ? program.ExitCode() : kHung;
}

// The process that started `pid`; nothing when `pid` runs no more.
std::optional<DWORD> ParentOf(DWORD pid) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{sizeof(entry)};
    std::optional<DWORD> parent;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        if (entry.th32ProcessID == pid) parent = entry.th32ParentProcessID;
    ::CloseHandle(snapshot);
    return parent;
}

// The version resource's file version of `exe`: "1.5.0.0".
std::wstring FileVersion(const std::wstring& exe) {
    DWORD ignored = 0;
    std::vector<BYTE> data(::GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (data.empty() || !::GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
        !::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &size))
        return L"";
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionLS));
}

// The one running snapquery.exe other than `except`, as a started program.
std::unique_ptr<Program> WaitForOtherCopy(DWORD except, DWORD ms = 15000) {
    const DWORD pid = Poll(ms, [&]() -> DWORD {
        for (DWORD p : ProcessesOf(L"snapquery.exe"))
            if (p != except) return p;
        return 0;
    });
    if (pid == 0) return nullptr;
    return std::make_unique<Program>(pid);
}

// A window that says yes to the exit request and then does not exit.
LRESULT CALLBACK AgreeButStay(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ::RegisterWindowMessageW(snq::kExitRequestMessage)) return 1;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class Install : public ::testing::Test {
protected:
    void SetUp() override {
        installer_ = PathFromEnvironment(L"SNQ_INSTALLER");
        ASSERT_FALSE(installer_.empty()) << "SNQ_INSTALLER is not set: package first (scripts/package)";
        ASSERT_TRUE(FileExists(installer_)) << "no setup program at " << std::string(installer_.begin(), installer_.end());
        folder_ = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Snapquery";
        exe_ = folder_ + L"\\snapquery.exe";
        shortcut_ = KnownFolder(FOLDERID_Programs) + L"\\Snapquery.lnk";
    }
    void TearDown() override {
        for (DWORD pid : ProcessesOf(L"snapquery.exe")) Program(pid).Kill();
    }

    DWORD Setup(const std::wstring& switches, DWORD* pid = nullptr) {
        return RunToEnd(installer_, switches, 120000, pid);
    }

    // Runs the entry's quiet command ("<uninstaller>" /S). The uninstaller
    // hands over to a copy of itself outside the folder it removes and
    // returns at once; the entry goes last, so wait for that.
    bool UninstallSilently() {
        const std::wstring quiet = RegGet(kUninstallKey, L"QuietUninstallString");
        const auto close = quiet.find(L'"', 1);
        if (quiet.empty() || quiet[0] != L'"' || close == std::wstring::npos) return false;
        if (RunToEnd(quiet.substr(1, close - 1), quiet.substr(close + 1)) != 0) return false;
        return Poll(60000, [&] { return !RegKeyExists(kUninstallKey); });
    }

    std::wstring installer_, folder_, exe_, shortcut_;
};

} // namespace

TEST_F(Install, AsksForNoAdministrator) {
    // The manifest in the setup program asks to run as the user who starts it.
    HMODULE image = ::LoadLibraryExW(installer_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    HRSRC found = ::FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(::LockResource(::LoadResource(image, found)));
    const std::string manifest(text, ::SizeofResource(image, found));
    ::FreeLibrary(image);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;
}

TEST_F(Install, InstallsUpgradesOverARunningCopyAndUninstallsWithoutATrace) {
    // Settings of this user and of the machine, from an earlier use.
    RegSetText(kUserSettings, L"Default", L"Yes");
    RegSetText(kMachineSettings, L"Default", L"No");

    // Install, silently, with the defaults, while another program has a
    // window of the class Snapquery's application window has: it is not
    // taken for a running Snapquery.
    auto other = std::make_unique<HelperWindow>(L"", L"TApplication");
    ASSERT_EQ(Setup(L"/S"), 0u);
    other.reset();
    for (const wchar_t* file : {L"snapquery.exe", L"LICENSE", L"README.txt", L"uninstall.exe"})
        EXPECT_TRUE(FileExists(folder_ + L"\\" + file)) << "missing " << std::string(file, file + wcslen(file));
    EXPECT_TRUE(FileExists(shortcut_));
    EXPECT_EQ(RegGet(kUninstallKey, L"DisplayName"), L"Snapquery");
    EXPECT_EQ(RegGet(kUninstallKey, L"DisplayVersion"), L"" SNQ_VERSION);
    EXPECT_EQ(RegGet(kUninstallKey, L"Publisher"), L"Varnel");
    EXPECT_EQ(RegGet(kUninstallKey, L"DisplayIcon"), exe_ + L",0");
    EXPECT_EQ(RegGet(kUninstallKey, L"InstallLocation"), folder_);
    EXPECT_EQ(RegGet(kUninstallKey, L"UninstallString"), L"\"" + folder_ + L"\\uninstall.exe\"");
    EXPECT_EQ(RegGet(kUninstallKey, L"QuietUninstallString"), L"\"" + folder_ + L"\\uninstall.exe\" /S");
    const auto size = RegGetNumber(kUninstallKey, L"EstimatedSize");
    ASSERT_TRUE(size.has_value());
    EXPECT_GT(*size, 100u); // KB: the program alone is larger
    EXPECT_LT(*size, 2000u);
    // Nothing for the machine, and no start at sign-in unless asked.
    EXPECT_FALSE(RegKeyExists(L"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Snapquery"));
    EXPECT_EQ(RegGet(kUserRun, L"SNQ"), L"<none>");
    EXPECT_TRUE(ProcessesOf(L"snapquery.exe").empty());

    // The installed program runs and shows its icon.
    auto first = std::make_unique<Program>(exe_);
    HWND firstTray = first->WaitForTray();
    ASSERT_NE(firstTray, nullptr) << "the installed program shows no icon";

    // Upgrade while it runs: it is asked to exit, ends cleanly, and the copy
    // it had running comes back from the new files, started through the
    // shell rather than as the setup's child (an elevated setup would pass
    // its rights on; under Wine every process counts as elevated).
    DWORD setup = 0;
    ASSERT_EQ(Setup(L"/S /AUTOSTART", &setup), 0u);
    ASSERT_TRUE(first->WaitExit(5000));
    EXPECT_EQ(first->ExitCode(), 0u);
    EXPECT_FALSE(OwnsTrayIcon(firstTray));
    auto second = WaitForOtherCopy(first->Pid());
    ASSERT_NE(second, nullptr) << "the upgrade did not start Snapquery again";
    const std::optional<DWORD> parent = ParentOf(second->Pid());
    ASSERT_TRUE(parent) << "the new copy ended at once";
    EXPECT_NE(*parent, setup) << "started with the setup's rights";
    HWND secondTray = second->WaitForTray();
    ASSERT_NE(secondTray, nullptr);
    // Start at sign-in: the program's own Run value, which its menu shows
    // as checked, so that choosing the item removes it.
    EXPECT_EQ(RegGet(kUserRun, L"SNQ"), L"\"" + exe_ + L"\"");
    ASSERT_TRUE(UseMenu(secondTray, second->Pid(), MenuCommand::AutoRun));
    EXPECT_TRUE(Poll(3000, [&] { return RegGet(kUserRun, L"SNQ") == L"<none>"; }));

    // A silent upgrade that says nothing about it keeps the user's choice.
    RegSetText(kUserRun, L"SNQ", L"\"" + exe_ + L"\"");
    ASSERT_EQ(Setup(L"/S"), 0u);
    ASSERT_TRUE(second->WaitExit(5000));
    EXPECT_EQ(RegGet(kUserRun, L"SNQ"), L"\"" + exe_ + L"\"");
    auto third = WaitForOtherCopy(second->Pid());
    ASSERT_NE(third, nullptr);
    HWND thirdTray = third->WaitForTray();
    ASSERT_NE(thirdTray, nullptr);

    // Uninstall while it runs: it goes, and so does everything of this user.
    ASSERT_TRUE(UninstallSilently()) << "the uninstaller did not finish";
    ASSERT_TRUE(third->WaitExit(5000));
    EXPECT_EQ(third->ExitCode(), 0u);
    EXPECT_FALSE(OwnsTrayIcon(thirdTray));
    EXPECT_FALSE(FileExists(folder_));
    EXPECT_FALSE(FileExists(shortcut_));
    EXPECT_FALSE(RegKeyExists(kUninstallKey));
    EXPECT_EQ(RegGet(kUserRun, L"SNQ"), L"<none>");
    EXPECT_FALSE(RegKeyExists(kUserSettings));
    // The machine's settings belong to its administrator.
    EXPECT_EQ(RegGet(kMachineSettings, L"Default"), L"No");
}

TEST_F(Install, KeepsTheUsersFolderWhenItHoldsOtherFiles) {
    ASSERT_EQ(Setup(L"/S"), 0u);
    const std::wstring theirs = folder_ + L"\\notes.txt";
    HANDLE file = ::CreateFileW(theirs.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
    ASSERT_TRUE(UninstallSilently());
    EXPECT_TRUE(FileExists(theirs));
    EXPECT_FALSE(FileExists(folder_ + L"\\uninstall.exe"));
    ::DeleteFileW(theirs.c_str());
    ::RemoveDirectoryW(folder_.c_str());
}

TEST_F(Install, FailsRatherThanReplaceACopyThatWillNotCloseAndLeavesItWhole) {
    ASSERT_EQ(Setup(L"/S"), 0u);
    {
        HelperWindow stuck(L"", L"TApplication", AgreeButStay);
        // Silent: no one to press Retry, so the setup gives up and says so,
        // promptly rather than waiting on a box no one sees.
        const DWORD code = Setup(L"/S");
        EXPECT_NE(code, kHung) << "the setup hung";
        EXPECT_EQ(code, 2u);
    }
    EXPECT_EQ(FileVersion(exe_), L"" SNQ_VERSION_QUAD) << "the installed copy is whole";
    ASSERT_TRUE(UninstallSilently());
}

TEST_F(Install, RefusesAFolderThatHoldsAnotherProgramsFiles) {
    const std::wstring theirs = TempDir() + L"their-program";
    ::CreateDirectoryW(theirs.c_str(), nullptr);
    const std::wstring license = theirs + L"\\LICENSE";
    HANDLE file = ::CreateFileW(license.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, "theirs", 6, &written, nullptr);
    ::CloseHandle(file);
    const DWORD code = Setup(L"/S /D=" + theirs);
    EXPECT_NE(code, kHung);
    EXPECT_EQ(code, 3u) << "refused";
    WIN32_FILE_ATTRIBUTE_DATA info{};
    ASSERT_TRUE(::GetFileAttributesExW(license.c_str(), GetFileExInfoStandard, &info));
    EXPECT_EQ(info.nFileSizeLow, 6u) << "their LICENSE overwritten";
    EXPECT_FALSE(FileExists(theirs + L"\\snapquery.exe"));
    EXPECT_FALSE(RegKeyExists(kUninstallKey));
    ::DeleteFileW(license.c_str());
    ::RemoveDirectoryW(theirs.c_str());
}

TEST_F(Install, UpgradesAnOlderReleaseWhileItRuns) {
    const std::wstring older = PathFromEnvironment(L"SNQ_OLD_INSTALLER");
    ASSERT_TRUE(FileExists(older)) << "no older release's setup: package one (scripts/test does)";
    ASSERT_EQ(RunToEnd(older, L"/S /RUN"), 0u);
    auto running = WaitForOtherCopy(0);
    ASSERT_NE(running, nullptr) << "/RUN started nothing";
    ASSERT_NE(running->WaitForTray(), nullptr);
    EXPECT_EQ(FileVersion(exe_), L"1.4.0.0");
    ASSERT_EQ(Setup(L"/S"), 0u);
    ASSERT_TRUE(running->WaitExit(5000));
    EXPECT_EQ(FileVersion(exe_), L"" SNQ_VERSION_QUAD);
    EXPECT_EQ(RegGet(kUninstallKey, L"DisplayVersion"), L"" SNQ_VERSION);
    auto upgraded = WaitForOtherCopy(running->Pid());
    ASSERT_NE(upgraded, nullptr) << "the upgrade did not start the new Snapquery";
    EXPECT_NE(upgraded->WaitForTray(), nullptr);
    ASSERT_TRUE(UninstallSilently());
}
