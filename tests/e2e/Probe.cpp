#include "Probe.h"

#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

namespace probe {

std::wstring ExeDir() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L"\\/") + 1);
}

void Wait(DWORD ms) { ::Sleep(ms); }

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

DWORD HandleCount(HANDLE process, DWORD pid) {
    DWORD count = 0;
    if (::GetProcessHandleCount(process, &count) && count > 0) return count;
    // SystemHandleInformation (16): a count, then one entry per handle.
    struct Entry {
        ULONG ownerPid;
        BYTE objectType, flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    while (query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) ==
           static_cast<LONG>(0xC0000004)) // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    const ULONG entries = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entry = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    for (ULONG i = 0; i < entries; ++i)
        if (entry[i].ownerPid == pid) ++count;
    return count;
}

HelperWindow::HelperWindow(const std::wstring& editText, const std::wstring& windowClass,
                           WNDPROC procedure, const std::wstring& childClass)
    : editText_(editText), class_(windowClass), childClass_(childClass) {
    if (class_.empty()) class_ = L"STATIC";
    for (const std::wstring* name : {&windowClass, &childClass}) {
        if (name->empty()) continue;
        WNDCLASSW wc{};
        wc.lpfnWndProc = procedure;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = name->c_str();
        ::RegisterClassW(&wc);
    }
    ready_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = ::CreateThread(
        nullptr, 0,
        [](LPVOID param) -> DWORD {
            auto* self = static_cast<HelperWindow*>(param);
            self->window_ = ::CreateWindowExW(0, self->class_.c_str(), L"Helper window",
                                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, 400,
                                              300, nullptr, nullptr, nullptr, nullptr);
            if (!self->editText_.empty()) {
                self->edit_ = ::CreateWindowExW(0, L"EDIT", self->editText_.c_str(),
                                                WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300,
                                                24, self->window_, nullptr, nullptr, nullptr);
                ::SendMessageW(self->edit_, EM_SETSEL, 0, -1);
            } else if (!self->childClass_.empty()) {
                self->edit_ = ::CreateWindowExW(0, self->childClass_.c_str(), L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                                300, 200, self->window_, nullptr, nullptr, nullptr);
            }
            ::SetEvent(self->ready_);
            MSG msg;
            while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
                // Activation gives the focus to the window itself: the
                // edit takes it back on request.
                if (msg.hwnd == nullptr && msg.message == WM_APP && self->edit_)
                    ::SetFocus(self->edit_);
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::DestroyWindow(self->window_);
            return 0;
        },
        this, 0, &threadId_);
    ::WaitForSingleObject(ready_, 5000);
}

HelperWindow::~HelperWindow() {
    ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    ::WaitForSingleObject(thread_, 5000);
    ::CloseHandle(thread_);
    ::CloseHandle(ready_);
    for (const std::wstring& name : {class_, childClass_})
        if (!name.empty() && name != L"STATIC") ::UnregisterClassW(name.c_str(), ::GetModuleHandleW(nullptr));
}

bool HelperWindow::Activate() {
    ::SetForegroundWindow(window_);
    if (!WaitForeground(window_)) return false;
    if (edit_) {
        ::PostThreadMessageW(threadId_, WM_APP, 0, 0);
        GUITHREADINFO info{sizeof(info)};
        for (int i = 0; i < 60; ++i, ::Sleep(50))
            if (::GetGUIThreadInfo(threadId_, &info) && info.hwndFocus == edit_) return true;
        return false;
    }
    return true;
}

bool WaitForeground(HWND window, DWORD ms) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    while (::GetForegroundWindow() != window) {
        if (::GetTickCount64() >= end) return false;
        ::Sleep(50);
    }
    return true;
}

Program::Program(const std::wstring& exeName, const std::wstring& args) {
    const bool absolute = exeName.find(L':') != std::wstring::npos;
    std::wstring command = L"\"" + (absolute ? L"" : ExeDir()) + exeName + L"\"";
    if (!args.empty()) command += L" " + args;
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    // Wine occasionally refuses a start while an earlier process of the same
    // image is still being torn down; try again briefly.
    for (int attempt = 0; attempt < 10; ++attempt) {
        std::wstring line = command;
        if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi)) {
            ::CloseHandle(pi.hThread);
            process_ = pi.hProcess;
            pid_ = pi.dwProcessId;
            return;
        }
        std::fprintf(stderr, "probe: CreateProcess failed (%lu), retrying\n", ::GetLastError());
        ::Sleep(200);
    }
}

Program::Program(DWORD runningPid)
    : process_(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE,
                             FALSE, runningPid)),
      pid_(process_ ? runningPid : 0) {}

Program::~Program() {
    Kill();
    if (process_) ::CloseHandle(process_);
}

void Program::Kill() {
    if (process_ && Running()) {
        ::TerminateProcess(process_, 99);
        ::WaitForSingleObject(process_, 5000);
    }
}

bool Program::Running() const {
    return process_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Program::WaitExit(DWORD ms) {
    return process_ && ::WaitForSingleObject(process_, ms) == WAIT_OBJECT_0;
}

DWORD Program::ExitCode() const {
    DWORD code = 0;
    ::GetExitCodeProcess(process_, &code);
    return code;
}

namespace {

struct EnumContext {
    DWORD pid;
    std::vector<HWND> found;
    bool visibleOnly;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto* c = reinterpret_cast<EnumContext*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == c->pid && (!c->visibleOnly || ::IsWindowVisible(window)))
        c->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevel(DWORD pid, bool visibleOnly) {
    EnumContext c{pid, {}, visibleOnly};
    ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&c));
    return c.found;
}

} // namespace

bool OwnsTrayIcon(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = window;
    data.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(window));
    data.uFlags = 0;
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

namespace {

std::vector<HWND> VisibleTooltips() {
    std::vector<HWND> found;
    ::EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            if (ClassOf(w) == L"tooltips_class32" && ::IsWindowVisible(w))
                reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The text of a tool of another process's tooltip control: the current one
// (a tip) or the first (a balloon), read through memory in that process.
std::wstring ToolText(HWND tooltip, UINT message) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(tooltip, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return L"";
    constexpr SIZE_T kText = 1024, kSize = 4096;
    auto* remote = static_cast<BYTE*>(::VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
    wchar_t text[(kSize - kText) / sizeof(wchar_t)] = {};
    if (remote) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.lpszText = reinterpret_cast<LPWSTR>(remote + kText);
        ::WriteProcessMemory(process, remote, &info, sizeof(info), nullptr);
        DWORD_PTR got = 0;
        if (::SendMessageTimeoutW(tooltip, message, 0, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                                  2000, &got) && got)
            ::ReadProcessMemory(process, remote + kText, text, sizeof(text) - sizeof(wchar_t), nullptr);
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    return text;
}

} // namespace

std::wstring TrayTip() {
    HWND icon = ::FindWindowExW(::FindWindowW(L"__winex11_standalone_tray", nullptr), nullptr,
                                L"__winex11_tray_icon", nullptr);
    RECT r{};
    if (!icon || !::GetWindowRect(icon, &r)) return L"";
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    // A balloon that is up is a tooltip too, one without a current tool.
    const auto text = Poll(3000, [] {
        for (HWND tip : VisibleTooltips())
            if (std::wstring t = ToolText(tip, TTM_GETCURRENTTOOLW); !t.empty())
                return std::optional<std::wstring>(t);
        return std::optional<std::wstring>();
    });
    ::SetCursorPos(r.right + 400, r.bottom + 400);
    Wait(300);
    return text.value_or(L"");
}

std::wstring TrayBalloon(DWORD ms) {
    return Poll(ms, [] {
               for (HWND tip : VisibleTooltips())
                   if (std::wstring t = ToolText(tip, TTM_ENUMTOOLSW); !t.empty())
                       return std::optional<std::wstring>(t);
               return std::optional<std::wstring>();
           })
        .value_or(L"");
}

HWND Program::WaitForTray(DWORD ms) {
    HWND tray = Poll(ms, [&]() -> HWND {
        for (HWND w : TopLevel(pid_, false))
            if (ClassOf(w) == L"TPUtilWindow" && OwnsTrayIcon(w)) return w;
        return nullptr;
    });
    // The icon comes early in start-up; the hotkey and the rest follow. Wait
    // until the program sits in its message loop.
    if (tray) ::WaitForInputIdle(process_, ms);
    return tray;
}

void LeftClick(HWND tray) {
    ::PostMessageW(tray, kTrayCallback, 0, WM_LBUTTONDOWN);
    ::PostMessageW(tray, kTrayCallback, 0, WM_LBUTTONUP);
}

void PostTrayEvent(HWND tray, UINT event, POINT at) {
    ::PostMessageW(tray, kTrayCallback, MAKEWPARAM(at.x, at.y),
                   MAKELPARAM(event, static_cast<UINT>(reinterpret_cast<UINT_PTR>(tray))));
}

void DoubleClick(HWND tray) {
    ::PostMessageW(tray, kTrayCallback, 0, WM_LBUTTONDOWN);
    ::PostMessageW(tray, kTrayCallback, 0, WM_LBUTTONUP);
    ::PostMessageW(tray, kTrayCallback, 0, WM_LBUTTONDBLCLK);
    ::PostMessageW(tray, kTrayCallback, 0, WM_LBUTTONUP);
}

void RightClick(HWND tray) {
    ::PostMessageW(tray, kTrayCallback, 0, WM_RBUTTONDOWN);
    ::PostMessageW(tray, kTrayCallback, 0, WM_RBUTTONUP);
}

HWND WaitForMenu(DWORD pid, DWORD ms) {
    return Poll(ms, [&]() -> HWND {
        for (HWND w : TopLevel(pid, true))
            if (ClassOf(w) == L"#32768") return w;
        return nullptr;
    });
}

void ChooseMenuItem(HWND menuWindow, snq::MenuCommand command, bool profiles) {
    // Wine keeps menus inside their process, so the item list cannot be read
    // from here: the program's own table says where the separators stand.
    int presses = 0;
    for (std::size_t i = 0; i <= snq::MenuIndexOf(command); ++i)
        if (snq::kMenu[i] != snq::MenuCommand::None &&
            (profiles || snq::kMenu[i] != snq::MenuCommand::SearchWith))
            ++presses;
    for (int i = 0; i < presses; ++i) ::PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
}

bool UseMenu(HWND tray, DWORD pid, snq::MenuCommand command, bool profiles) {
    RightClick(tray);
    HWND menu = WaitForMenu(pid);
    if (!menu) return false;
    ChooseMenuItem(menu, command, profiles);
    return WaitGone(menu);
}

bool UseProfileItem(HWND tray, DWORD pid, int index) {
    RightClick(tray);
    HWND menu = WaitForMenu(pid);
    if (!menu) return false;
    // To "Search with", then right into its submenu, which opens with its
    // first item chosen.
    int presses = 0;
    for (std::size_t i = 0; i <= snq::MenuIndexOf(snq::MenuCommand::SearchWith); ++i)
        if (snq::kMenu[i] != snq::MenuCommand::None) ++presses;
    for (int i = 0; i < presses; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0);
    for (int i = 0; i < index; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    return WaitGone(menu);
}

std::vector<HWND> VisibleWindows(DWORD pid) { return TopLevel(pid, true); }
std::vector<HWND> TopLevelWindows(DWORD pid) { return TopLevel(pid, false); }

std::wstring TitleOf(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

std::wstring AllText(HWND window) {
    std::wstring all;
    // With a time-out: a hung or crashed program must not hang the test.
    auto add = [&](HWND w) {
        DWORD_PTR length = 0;
        ::SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        DWORD_PTR copied = 0;
        ::SendMessageTimeoutW(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                              SMTO_ABORTIFHUNG, 1000, &copied);
        text.resize(::wcslen(text.c_str()));
        all += text + L"\n";
    };
    add(window);
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            (*reinterpret_cast<decltype(add)*>(param))(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&add));
    return all;
}

namespace {
std::vector<HWND> Matching(DWORD pid, const std::wstring& title, const std::wstring& text) {
    std::vector<HWND> out;
    for (HWND w : TopLevel(pid, true)) {
        if (ClassOf(w) == L"#32768" || ClassOf(w) == L"tooltips_class32") continue;
        if (!title.empty() && TitleOf(w) != title) continue;
        if (!text.empty() && AllText(w).find(text) == std::wstring::npos) continue;
        out.push_back(w);
    }
    return out;
}
} // namespace

HWND WaitForWindow(DWORD pid, const std::wstring& title, const std::wstring& text, DWORD ms) {
    return Poll(ms, [&]() -> HWND {
        auto found = Matching(pid, title, text);
        return found.empty() ? nullptr : found.front();
    });
}

HWND WaitForClass(DWORD pid, const std::wstring& windowClass, DWORD ms) {
    return Poll(ms, [&]() -> HWND {
        for (HWND w : VisibleWindows(pid))
            if (ClassOf(w) == windowClass) return w;
        return nullptr;
    });
}

std::wstring Describe(DWORD pid) {
    std::wstring out;
    for (HWND w : TopLevel(pid, true)) {
        wchar_t handle[32];
        ::swprintf(handle, 32, L"%p", static_cast<void*>(w));
        out += std::wstring(handle) + L" [" + ClassOf(w) + L"] \"" + TitleOf(w) + L"\": " +
               AllText(w) + L"\n";
    }
    return out;
}

int CountWindows(DWORD pid, const std::wstring& title, const std::wstring& text) {
    return static_cast<int>(Matching(pid, title, text).size());
}

namespace {
template <class Match> HWND FindChild(HWND parent, Match match) {
    struct Find {
        Match* match;
        HWND found;
    } find{&match, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* f = reinterpret_cast<Find*>(param);
            if (!(*f->match)(child)) return TRUE;
            f->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
}
} // namespace

HWND ChildOfClass(HWND parent, const std::wstring& cls) {
    return FindChild(parent, [&](HWND child) { return ClassOf(child) == cls; });
}

bool PressButton(HWND dialog, const std::wstring& caption) {
    HWND button = FindChild(dialog, [&](HWND child) {
        return ClassOf(child) == L"Button" && TitleOf(child) == caption;
    });
    if (!button) return false;
    ::PostMessageW(button, BM_CLICK, 0, 0);
    return true;
}

bool DismissErrorBox(DWORD pid, const std::wstring& text) {
    HWND box = WaitForWindow(pid, L"Snapquery 1.5", text);
    return box && PressButton(box, L"OK") && WaitGone(box);
}

void PressEnter(HWND window) {
    ::PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageW(window, WM_KEYUP, VK_RETURN, 0);
}

bool WaitGone(HWND window, DWORD ms) {
    return Poll(ms, [&] { return !::IsWindow(window) || !::IsWindowVisible(window); });
}

namespace {
bool OpenClipboardRetry() {
    for (int i = 0; i < 100; ++i) {
        if (::OpenClipboard(nullptr)) return true;
        ::Sleep(20);
    }
    return false;
}
} // namespace

void SetClipboardText(const std::wstring& text) {
    SetClipboardFormats({{CF_UNICODETEXT, std::string(reinterpret_cast<const char*>(text.c_str()),
                                                      (text.size() + 1) * sizeof(wchar_t))}});
}

void SetClipboardFormats(const std::vector<std::pair<UINT, std::string>>& formats) {
    if (!OpenClipboardRetry()) return;
    ::EmptyClipboard();
    for (const auto& [format, bytes] : formats) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size());
        ::GlobalUnlock(memory);
        ::SetClipboardData(format, memory);
    }
    ::CloseClipboard();
}

std::optional<std::string> ClipboardBytes(UINT format) {
    ClipboardHolder held;
    HANDLE data = held.held() ? ::GetClipboardData(format) : nullptr;
    const char* start = data ? static_cast<const char*>(::GlobalLock(data)) : nullptr;
    if (!start) return std::nullopt;
    std::string bytes(start, ::GlobalSize(data));
    ::GlobalUnlock(data);
    return bytes;
}

void SetClipboardImageOnly() {
    if (!OpenClipboardRetry()) return;
    ::EmptyClipboard();
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 8, 8);
    ::ReleaseDC(nullptr, screen);
    ::SetClipboardData(CF_BITMAP, bitmap);
    ::CloseClipboard();
}

void EmptyClipboardNow() {
    if (!OpenClipboardRetry()) return;
    ::EmptyClipboard();
    ::CloseClipboard();
}

std::wstring ClipboardText() {
    if (!OpenClipboardRetry()) return L"<busy>";
    std::wstring text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

int ClipboardFormatCount() {
    if (!OpenClipboardRetry()) return -1;
    const int count = ::CountClipboardFormats();
    ::CloseClipboard();
    return count;
}

ClipboardHolder::ClipboardHolder() : held_(OpenClipboardRetry()) {}
ClipboardHolder::~ClipboardHolder() {
    if (held_) ::CloseClipboard();
}

} // namespace probe

namespace probe {

namespace {
HKEY Root(const std::wstring& path, std::wstring& sub) {
    const auto slash = path.find(L'\\');
    const std::wstring hive = path.substr(0, slash);
    sub = path.substr(slash + 1);
    return hive == L"HKCU" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}
} // namespace

std::wstring RegGet(const std::wstring& path, const std::wstring& name) {
    std::wstring sub;
    HKEY root = Root(path, sub);
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer);
    if (::RegGetValueW(root, sub.c_str(), name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                                                            RRF_NOEXPAND,
                       nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<none>";
    return buffer;
}

std::optional<DWORD> RegGetNumber(const std::wstring& path, const std::wstring& name) {
    std::wstring sub;
    HKEY root = Root(path, sub);
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegGetValueW(root, sub.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool RegKeyExists(const std::wstring& path) {
    std::wstring sub;
    HKEY root = Root(path, sub);
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

void RegSet(const std::wstring& path, const std::wstring& name, DWORD type, const void* data,
            DWORD size) {
    std::wstring sub;
    HKEY root = Root(path, sub);
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

void RegSetText(const std::wstring& path, const std::wstring& name, const std::wstring& text) {
    RegSet(path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
}

void RegDelete(const std::wstring& path, const std::wstring& name) {
    std::wstring sub;
    HKEY root = Root(path, sub);
    if (name.empty())
        ::RegDeleteTreeW(root, sub.c_str());
    else
        ::RegDeleteKeyValueW(root, sub.c_str(), name.c_str());
}

} // namespace probe

namespace probe {

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring PathFromEnvironment(const wchar_t* variable) {
    const wchar_t* given = _wgetenv(variable);
    std::wstring path = given ? given : L"";
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t& c : path)
            if (c == L'/') c = L'\\';
        path = L"Z:" + path;
    }
    return path;
}

std::vector<DWORD> ProcessesOf(const std::wstring& exeName) {
    std::vector<DWORD> found;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
         more = ::Process32NextW(snapshot, &entry))
        if (::lstrcmpiW(entry.szExeFile, exeName.c_str()) == 0) found.push_back(entry.th32ProcessID);
    ::CloseHandle(snapshot);
    return found;
}

std::wstring TempDir() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    return temp;
}

std::vector<std::wstring> ReadLines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    ::CloseHandle(file);
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                             nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::vector<std::wstring> WaitForLines(const std::wstring& path, std::size_t count, DWORD ms) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    for (;;) {
        auto lines = ReadLines(path);
        if (lines.size() >= count || ::GetTickCount64() >= end) return lines;
        ::Sleep(50);
    }
}

} // namespace probe

namespace probe {

std::wstring BrowserLogPath() { return TempDir() + L"snq-browser.log"; }
std::wstring AutomationLogPath() { return TempDir() + L"snq-automation.log"; }

std::wstring InstallRecordingBrowser() {
    const std::wstring recorder = ExeDir() + L"recorder.exe";
    // Wine reads the handlers from the machine's classes only.
    for (const wchar_t* scheme : {L"http", L"https"})
        RegSetText(std::wstring(L"HKLM\\Software\\Classes\\") + scheme + L"\\shell\\open\\command",
                   L"", L"\"" + recorder + L"\" \"%1\"");
    ::DeleteFileW(BrowserLogPath().c_str());
    ::DeleteFileW((TempDir() + L"snq-browser.parents").c_str());
    return recorder;
}

void InstallRecordingAutomationServer() {
    const std::wstring clsid = L"{6B1C2E0A-5A1D-4C8E-9F3B-2D7A1E5C9B40}";
    RegSetText(L"HKLM\\Software\\Classes\\CLSID\\" + clsid + L"\\LocalServer32", L"",
               L"\"" + ExeDir() + L"automation_server.exe\"");
    RegSetText(L"HKLM\\Software\\Classes\\InternetExplorer.Application\\CLSID", L"", clsid);
    ::DeleteFileW(AutomationLogPath().c_str());
    ::DeleteFileW((TempDir() + L"snq-automation-fail").c_str());
}

void SetBrowserMode(bool defaultBrowser) {
    RegSetText(L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ", L"Default", defaultBrowser ? L"Yes" : L"No");
}

void SendKey(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    ::SendInput(1, &input, sizeof(INPUT));
}

void PressCtrlG() {
    INPUT keys[4] = {};
    const WORD order[4][2] = {{VK_CONTROL, 0}, {'G', 0}, {'G', KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = order[i][0];
        keys[i].ki.dwFlags = order[i][1];
    }
    ::SendInput(4, keys, sizeof(INPUT));
}

int FocusedControl(HWND window) {
    GUITHREADINFO info{sizeof(info)};
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return ::GetDlgCtrlID(info.hwndFocus);
}

void PressKeys(std::initializer_list<WORD> modifiers, WORD key) {
    for (WORD m : modifiers) SendKey(m, 0);
    SendKey(key, 0);
    SendKey(key, KEYEVENTF_KEYUP);
    for (auto m = modifiers.end(); m != modifiers.begin();) SendKey(*--m, KEYEVENTF_KEYUP);
}

void HoldCtrlG(int keyDowns) {
    SendKey(VK_CONTROL, 0);
    for (int i = 0; i < keyDowns; ++i) {
        if (i > 0) ::Sleep(30);
        SendKey('G', 0);
    }
    SendKey('G', KEYEVENTF_KEYUP);
    SendKey(VK_CONTROL, KEYEVENTF_KEYUP);
}

void PostHotKey(DWORD pid, UINT modifiers, UINT key) {
    std::vector<HWND> windows = TopLevel(pid, false);
    for (HWND w = nullptr; (w = ::FindWindowExW(HWND_MESSAGE, w, L"TPUtilWindow", nullptr));) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == pid) windows.push_back(w);
    }
    for (HWND w : windows)
        if (ClassOf(w) == L"TPUtilWindow") ::PostMessageW(w, WM_HOTKEY, 1, MAKELPARAM(modifiers, key));
}

bool KeystrokeFree(UINT modifiers, UINT key) {
    if (!::RegisterHotKey(nullptr, 0x7000, modifiers, key)) return false;
    ::UnregisterHotKey(nullptr, 0x7000);
    return true;
}

} // namespace probe
