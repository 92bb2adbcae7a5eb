// The settings against the real registry of the test's own prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/Exceptions.h"
#include "hotkeys/KeyboardLayoutWin32.h"
#include "settings/RegistryWin32.h"
#include "settings/Settings.h"

using namespace snq;

namespace {

const wchar_t* kSettings32 = L"SOFTWARE\\Wow6432Node\\Varnel\\SNQ";
const wchar_t* kRun32 = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::u16string kExe = u"C:\\Program Files\\Snap Query\\snapquery.exe";

void Reset() {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\Varnel");
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnel");
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRun32, L"SNQ");
}

void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettings32, 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

std::wstring Get(const wchar_t* path, const wchar_t* name) {
    wchar_t buffer[512] = {};
    DWORD size = sizeof(buffer);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, path, name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return L"<none>";
    return buffer;
}

std::u16string ErrorOf(TSettings& settings) {
    try {
        settings.Read();
    } catch (const ERegistryException& e) {
        return e.Message();
    }
    return u"<no error>";
}

class RealRegistry : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    Win32Registry registry;
    Win32KeyboardLayout keyboard;
    THotKeyText keys{keyboard};
    TSettings settings{registry, keys, kExe};
};

} // namespace

TEST_F(RealRegistry, AFreshRegistryGetsNoInTheThirtyTwoBitView) {
    EXPECT_TRUE(settings.Read().useInternetExplorer);
    EXPECT_EQ(Get(kSettings32, L"Default"), L"No");
    EXPECT_EQ(Get(L"SOFTWARE\\Varnel\\SNQ", L"Default"), L"<none>");
}

TEST_F(RealRegistry, TypesSizesNulsAndNameCase) {
    SetRaw(L"DEFAULT", REG_EXPAND_SZ, L"Yes", 8);
    EXPECT_FALSE(settings.Read().useInternetExplorer);

    const wchar_t withNul[] = L"Yes\0No";
    SetRaw(L"Default", REG_SZ, withNul, sizeof(withNul));
    EXPECT_FALSE(settings.Read().useInternetExplorer);

    SetRaw(L"Default", REG_SZ, L"", 0);
    EXPECT_TRUE(settings.Read().useInternetExplorer);

    const DWORD one = 1;
    SetRaw(L"Default", REG_DWORD, &one, sizeof(one));
    EXPECT_EQ(ErrorOf(settings), u"Invalid data type for 'Default'");
    const BYTE bytes[] = {'Y', 0, 'e', 0, 's', 0};
    SetRaw(L"Default", REG_BINARY, bytes, sizeof(bytes));
    EXPECT_EQ(ErrorOf(settings), u"Invalid data type for 'Default'");
}

TEST_F(RealRegistry, RunEntryIsTheUsersOwnHoldsTheQuotedPathAndGoesAgain) {
    const wchar_t* userRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    auto userValue = [&] {
        wchar_t buffer[512] = {};
        DWORD size = sizeof(buffer);
        return ::RegGetValueW(HKEY_CURRENT_USER, userRun, L"SNQ", RRF_RT_REG_SZ, nullptr, buffer, &size) ==
                       ERROR_SUCCESS
                   ? std::wstring(buffer)
                   : L"<none>";
    };
    settings.SetRunAtStartup(true);
    EXPECT_EQ(userValue(), L"\"C:\\Program Files\\Snap Query\\snapquery.exe\"");
    EXPECT_EQ(Get(kRun32, L"SNQ"), L"<none>");
    EXPECT_TRUE(settings.RunsAtStartup());
    settings.SetRunAtStartup(false);
    EXPECT_EQ(userValue(), L"<none>");
    EXPECT_FALSE(settings.RunsAtStartup());
}
