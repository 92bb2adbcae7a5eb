// The per-machine package end to end, run as an administrator's deployment
// runs it (msiexec, silently): install, upgrade, start, remove. SNQ_MSI and
// SNQ_OLD_MSI name this release's package and an older one's.
#include <gtest/gtest.h>

#include "Probe.h"

#include <msi.h>
#include <shlobj.h>

#include <vector>

using namespace probe;

namespace {

const wchar_t kUpgradeCode[] = L"{D5B9FBC6-0099-4CFB-94BC-2C04E165881F}";
const std::wstring kMachineRun = L"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRemembered = L"HKLM\\Software\\Varnel\\SNQ";

// The installed products of this upgrade code.
std::vector<std::wstring> Installed() {
    std::vector<std::wstring> products;
    wchar_t code[39];
    for (DWORD i = 0; ::MsiEnumRelatedProductsW(kUpgradeCode, 0, i, code) == ERROR_SUCCESS; ++i) products.push_back(code);
    return products;
}

class Msi : public ::testing::Test {
protected:
    void SetUp() override {
        msi_ = PathFromEnvironment(L"SNQ_MSI");
        oldMsi_ = PathFromEnvironment(L"SNQ_OLD_MSI");
        ASSERT_TRUE(FileExists(msi_) && FileExists(oldMsi_)) << "no packages: package first (scripts/package)";
        wchar_t* raw = nullptr;
        ASSERT_TRUE(SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_ProgramFiles, 0, nullptr, &raw)));
        folder_ = std::wstring(raw) + L"\\Snapquery";
        ::CoTaskMemFree(raw);
        exe_ = folder_ + L"\\snapquery.exe";
    }
    void TearDown() override {
        for (DWORD pid : ProcessesOf(L"snapquery.exe")) Program(pid).Kill();
    }

    static DWORD Msiexec(const std::wstring& args) {
        wchar_t system[MAX_PATH];
        ::GetSystemDirectoryW(system, MAX_PATH);
        Program msiexec(std::wstring(system) + L"\\msiexec.exe", args + L" /qn");
        return msiexec.WaitExit(180000) ? msiexec.ExitCode() : ~0u;
    }

    std::wstring msi_, oldMsi_, folder_, exe_;
};

} // namespace

TEST_F(Msi, InstallsForEveryUserStartsAtLogonOnlyWhenAskedAndRemovesAllItInstalled) {
    // An older release, told to start at logon.
    ASSERT_EQ(Msiexec(L"/i \"" + oldMsi_ + L"\" AUTOSTART=1"), 0u);
    EXPECT_EQ(RegGet(kMachineRun, L"SNQ"), L"\"" + exe_ + L"\"");
    const std::vector<std::wstring> old = Installed();
    ASSERT_EQ(old.size(), 1u);

    // This release over it, saying nothing: the older one goes, the start
    // at logon stays.
    ASSERT_EQ(Msiexec(L"/i \"" + msi_ + L"\""), 0u);
    const std::vector<std::wstring> upgraded = Installed();
    ASSERT_EQ(upgraded.size(), 1u);
    EXPECT_NE(upgraded[0], old[0]);
    EXPECT_EQ(RegGet(kMachineRun, L"SNQ"), L"\"" + exe_ + L"\"");

    // The installed program runs for this user.
    {
        Program program(exe_, L"");
        EXPECT_NE(program.WaitForTray(), nullptr);
    }
    for (DWORD pid : ProcessesOf(L"snapquery.exe")) Program(pid).Kill();

    // Removed: every file and value it installed.
    ASSERT_EQ(Msiexec(L"/x \"" + msi_ + L"\""), 0u);
    EXPECT_TRUE(Installed().empty());
    EXPECT_FALSE(FileExists(folder_));
    EXPECT_EQ(RegGet(kMachineRun, L"SNQ"), L"<none>");
    EXPECT_FALSE(RegKeyExists(kRemembered));

    // Without AUTOSTART: no start at logon, and a Run value of the same
    // name that it did not write is neither replaced nor removed.
    RegSetText(kMachineRun, L"SNQ", L"C:\\Tools\\other.exe");
    ASSERT_EQ(Msiexec(L"/i \"" + msi_ + L"\""), 0u);
    EXPECT_TRUE(FileExists(exe_));
    EXPECT_EQ(RegGet(kMachineRun, L"SNQ"), L"C:\\Tools\\other.exe");
    ASSERT_EQ(Msiexec(L"/x \"" + msi_ + L"\""), 0u);
    EXPECT_FALSE(FileExists(folder_));
    EXPECT_EQ(RegGet(kMachineRun, L"SNQ"), L"C:\\Tools\\other.exe");
}
