#include "hotkeys/KeyboardLayoutWin32.h"

#include <windows.h>

#include "framework/Text.h"

namespace snq {

namespace {
HKL AsHkl(LayoutHandle h) { return reinterpret_cast<HKL>(h); }
} // namespace

unsigned Win32KeyboardLayout::ScanCode(unsigned key) { return ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC); }

unsigned Win32KeyboardLayout::ScanCode(unsigned key, LayoutHandle layout) {
    return ::MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, AsHkl(layout));
}

std::u16string Win32KeyboardLayout::KeyName(long keyParameter) {
    wchar_t name[256] = {};
    const int length = ::GetKeyNameTextW(keyParameter, name, 256);
    // Up to the first NUL.
    return ToU16(std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0)
                 .substr(0, std::wstring_view(name).size()));
}

LayoutHandle Win32KeyboardLayout::CurrentLayout() {
    return reinterpret_cast<LayoutHandle>(::GetKeyboardLayout(0));
}

void Win32KeyboardLayout::Activate(LayoutHandle layout) { ::ActivateKeyboardLayout(AsHkl(layout), 0); }

std::vector<LayoutHandle> Win32KeyboardLayout::LoadedLayouts() {
    HKL list[100] = {};
    const int count = ::GetKeyboardLayoutList(100, list);
    std::vector<LayoutHandle> out;
    for (int i = 0; i < count && i < 100; ++i) out.push_back(reinterpret_cast<LayoutHandle>(list[i]));
    return out;
}

LayoutHandle Win32KeyboardLayout::LoadUsLayout() {
    return reinterpret_cast<LayoutHandle>(::LoadKeyboardLayoutW(L"00000409", KLF_NOTELLSHELL));
}

void Win32KeyboardLayout::Unload(LayoutHandle layout) { ::UnloadKeyboardLayout(AsHkl(layout)); }

bool Win32KeyboardLayout::SameText(std::u16string_view a, std::u16string_view b) {
    const std::wstring wa = ToWide(a), wb = ToWide(b);
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
                            static_cast<int>(wa.size()), wb.c_str(),
                            static_cast<int>(wb.size())) == CSTR_EQUAL;
}

} // namespace snq
