// The executable's resources, read from the built file.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L"\\/") + 1) + L"snapquery.exe";
}

struct Module {
    HMODULE h = ::LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ~Module() {
        if (h) ::FreeLibrary(h);
    }
};

std::string Resource(HMODULE module, LPCWSTR name, LPCWSTR type) {
    HRSRC r = ::FindResourceW(module, name, type);
    if (!r) return {};
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(module, r)));
    return std::string(data, ::SizeofResource(module, r));
}

} // namespace

TEST(Resources, IconHasSixThirtyTwoBitImages) {
    Module m;
    ASSERT_TRUE(m.h);
    const std::string group = Resource(m.h, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    const auto* words = reinterpret_cast<const WORD*>(group.data());
    ASSERT_EQ(words[2], 6);
    std::vector<int> sizes;
    for (int i = 0; i < 6; ++i) {
        const auto* e = reinterpret_cast<const BYTE*>(group.data() + 6 + 14 * i);
        sizes.push_back(e[0] == 0 ? 256 : e[0]);
        EXPECT_EQ(e[1], e[0]);
        EXPECT_EQ(*reinterpret_cast<const WORD*>(e + 6), 32) << "image " << i;
    }
    EXPECT_EQ(sizes, (std::vector<int>{256, 128, 48, 32, 24, 16}));
}

TEST(Resources, ManifestAsksForCommonControlsSixAsInvokerPerMonitorDpiAndWindowsSevenToEleven) {
    Module m;
    const std::string manifest = Resource(m.h, MAKEINTRESOURCEW(1), RT_MANIFEST);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
    for (const char* os : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(manifest.find(os), std::string::npos) << os;
}

TEST(Resources, VersionInformationNamesSnapqueryOnePointFive) {
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    wchar_t* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\FileDescription",
                                 reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, L"Snapquery 1.5");
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010005u);
}
