#include "search/SelectionCopyWin32.h"

#include <exception>

#include "framework/ApplicationWin32.h"
#include "framework/ClipboardWin32.h"
#include "framework/Text.h"
#include "framework/Win32Handles.h"

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

namespace {

// The window with the keyboard focus in the foreground window's thread.
HWND FocusIn(HWND front) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(front, nullptr), &info) ? info.hwndFocus : nullptr;
}

std::u16string ProgramOf(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return {};
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!::QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    const std::wstring_view full(path, size);
    return ToU16(full.substr(full.find_last_of(L"\\/") + 1));
}

} // namespace

std::pair<std::uintptr_t, std::uintptr_t> Win32SelectionHost::FrontHandles() {
    HWND front = ::GetForegroundWindow();
    return {reinterpret_cast<std::uintptr_t>(front), reinterpret_cast<std::uintptr_t>(front ? FocusIn(front) : nullptr)};
}

FrontWindow Win32SelectionHost::DescribeFront() {
    FrontWindow described;
    HWND front = ::GetForegroundWindow();
    if (!front) return described;
    described.classes.push_back(ClassName(front));
    // A console's own dialogs (Find, Properties) belong to it.
    if (HWND root = ::GetAncestor(front, GA_ROOTOWNER); root && root != front)
        described.classes.push_back(ClassName(root));
    // A terminal hosted in another program's window (a connection manager's
    // tab) has the focus, or holds the child that has it.
    int depth = 0;
    for (HWND focus = FocusIn(front); focus && focus != front && depth < 32; ++depth) {
        described.classes.push_back(ClassName(focus));
        focus = ::GetAncestor(focus, GA_PARENT);
    }
    described.process = ProgramOf(front);
    return described;
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

bool Win32SelectionHost::RestoreClipboardText(std::u16string_view text) {
    try {
        SetClipboardText(owner_, text);
        return true;
    } catch (const std::exception&) {
        return false; // held by another program: tried again
    }
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
