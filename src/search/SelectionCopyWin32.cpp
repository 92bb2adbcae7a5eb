#include "search/SelectionCopyWin32.h"

#include <exception>

#include "framework/ApplicationWin32.h"
#include "framework/ClipboardWin32.h"
#include "framework/Text.h"

namespace snq {

namespace {

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

} // namespace

bool Win32SelectionHost::AnyKeyHeld() {
    for (int key : {static_cast<int>(hotKey_ & 0xFF), VK_CONTROL, VK_SHIFT, VK_MENU, VK_LWIN, VK_RWIN})
        if (::GetAsyncKeyState(key) < 0) return true;
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
