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

int Win32KeyboardLayout::TypeKey(LayoutHandle layout, unsigned key, bool ctrlAlt, bool shift, std::u16string& typed) {
    BYTE state[256] = {};
    // AltGr is the right Alt with the left Ctrl.
    if (ctrlAlt) state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_RMENU] = 0x80;
    if (shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    wchar_t out[8] = {};
    // Flag 4 leaves the keyboard's state (a dead key waiting for the next
    // key) as it was, from Windows 10 1607 on; RefusalOf clears a dead key
    // where it is not honoured.
    const int count = ::ToUnicodeEx(key, ::MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, AsHkl(layout)), state, out, 8,
                                    4, AsHkl(layout));
    const int length = count < 0 ? 1 : count > 8 ? 8 : count;
    typed = ToU16(std::wstring_view(out, static_cast<std::size_t>(length)));
    return count;
}

std::u16string Win32KeyboardLayout::LayoutName(LayoutHandle layout) {
    wchar_t name[128] = {};
    const LCID locale = MAKELCID(LOWORD(layout), SORT_DEFAULT);
    if (::GetLocaleInfoW(locale, LOCALE_SLOCALIZEDDISPLAYNAME, name, 128) > 0) return ToU16(name);
    // Its language identifier, as the system writes layouts ("00000407").
    std::u16string id(8, u'0');
    for (int i = 7, language = LOWORD(layout); language; --i, language >>= 4)
        id[static_cast<std::size_t>(i)] = u"0123456789ABCDEF"[language & 15];
    return id;
}

} // namespace snq
