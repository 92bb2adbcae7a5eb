#include "search/SelectionCopyWin32.h"

#include <exception>
#include <initializer_list>

#include "framework/ApplicationWin32.h"
#include "framework/ClipboardWin32.h"
#include "framework/Text.h"

namespace snq {

namespace {

Win32SelectionHost* g_watching = nullptr; // the one whose hook runs

std::u16string ClassName(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return ToU16(std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0));
}

INPUT Key(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    // Remote-desktop and virtual-machine windows read the scan code only.
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

// The left and right keys count as their shared key.
unsigned SharedKey(unsigned key) {
    switch (key) {
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return key;
    }
}

} // namespace

Win32SelectionHost::Win32SelectionHost(std::uint32_t hotKey, HWND owner)
    : hotKey_(hotKey), owner_(owner) {
    for (int key : {static_cast<int>(hotKey_ & 0xFF), VK_CONTROL, VK_SHIFT, VK_MENU, VK_LWIN, VK_RWIN})
        down_[static_cast<std::size_t>(key)] = ::GetAsyncKeyState(key) < 0;
    // The key state alone can lose a key that is still held: Wine drops
    // injected keys from it when it syncs with the X server. Every key going
    // up or down is seen here as well, and a key counts as held while
    // either says so.
    g_watching = this;
    hook_.reset(::SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHook, ::GetModuleHandleW(nullptr), 0));
}

Win32SelectionHost::~Win32SelectionHost() {
    hook_.reset();
    g_watching = nullptr;
}

LRESULT CALLBACK Win32SelectionHost::KeyboardHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION && g_watching) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        g_watching->down_[SharedKey(key->vkCode & 0xFF)] = !(key->flags & LLKHF_UP);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool Win32SelectionHost::AnyKeyHeld() {
    for (int key : {static_cast<int>(hotKey_ & 0xFF), VK_CONTROL, VK_SHIFT, VK_MENU, VK_LWIN, VK_RWIN})
        if (down_[static_cast<std::size_t>(key)] || ::GetAsyncKeyState(key) < 0) return true;
    return false;
}
std::vector<std::u16string> Win32SelectionHost::ForegroundClasses() {
    HWND front = ::GetForegroundWindow();
    if (!front) return {};
    std::vector<std::u16string> classes{ClassName(front)};
    // A console's own dialogs (Find, Properties) belong to it.
    if (HWND root = ::GetAncestor(front, GA_ROOTOWNER); root && root != front)
        classes.push_back(ClassName(root));
    return classes;
}

std::uint32_t Win32SelectionHost::ClipboardSequence() { return ::GetClipboardSequenceNumber(); }

bool Win32SelectionHost::ClipboardHasText() {
    return ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
}

std::optional<std::u16string> Win32SelectionHost::ClipboardText() {
    if (!ClipboardHasText()) return std::nullopt;
    try {
        return ReadClipboardText(owner_);
    } catch (const std::exception&) {
        return std::nullopt; // held by another program: nothing to put back
    }
}

void Win32SelectionHost::RestoreClipboardText(std::u16string_view text) {
    SetClipboardText(owner_, text);
}

bool Win32SelectionHost::SendCopy() {
    INPUT keys[] = {Key(VK_CONTROL, 0), Key('C', 0), Key('C', KEYEVENTF_KEYUP),
                    Key(VK_CONTROL, KEYEVENTF_KEYUP)};
    const UINT sent = ::SendInput(4, keys, sizeof(INPUT));
    if (sent == 4) return true;
    // Part of it went in: no key may stay down.
    if (sent > 0) {
        INPUT up[] = {keys[2], keys[3]};
        ::SendInput(2, up, sizeof(INPUT));
    }
    return false;
}

std::uint64_t Win32SelectionHost::Now() { return ::GetTickCount64(); }

bool Win32SelectionHost::Wait(std::uint32_t ms) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    return Application().ProcessMessages();
}

} // namespace snq
