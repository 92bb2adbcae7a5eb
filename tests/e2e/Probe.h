#pragma once
// Drives the real snapquery.exe from outside, as a user and the shell would:
// starts it, finds its tray window, posts the tray callback, reads and
// presses dialogs, sets and reads the clipboard. Every wait is bounded.
#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "app/MainTexts.h"

namespace probe {

constexpr UINT kTrayCallback = WM_USER + 1;

std::wstring ExeDir();

// Calls `f` every 50 ms until it gives a true value or `ms` have passed;
// returns its last value.
template <class F> auto Poll(DWORD ms, F&& f) -> decltype(f()) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    for (;;) {
        if (auto r = f()) return r;
        if (::GetTickCount64() >= end) return f();
        ::Sleep(50);
    }
}

// A started program; ended (by its own handle) when the object goes.
class Program {
public:
    // A name is taken from this test's folder; a path with a drive as is.
    explicit Program(const std::wstring& exeName = L"snapquery.exe",
                     const std::wstring& args = L"");
    // A program that something else started.
    explicit Program(DWORD runningPid);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD Pid() const { return pid_; }
    HANDLE Process() const { return process_; }
    bool Running() const;
    // Waits for the process to end; returns false on time-out.
    bool WaitExit(DWORD ms);
    DWORD ExitCode() const;
    // The hidden window that owns the tray icon, once the program has reached
    // its message loop; nullptr on time-out.
    HWND WaitForTray(DWORD ms = 10000);
    void Kill();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Whether (window, uID = window) owns a tray icon: NIM_MODIFY with no flags
// changes nothing and succeeds only for an existing icon.
bool OwnsTrayIcon(HWND window);

// What Wine's notification area shows for the (first) icon: its tip, read
// by pointing at the icon, and the text of a balloon that is up (waiting up
// to `ms` for one). Empty when there is none.
std::wstring TrayTip();
std::wstring TrayBalloon(DWORD ms = 5000);

void LeftClick(HWND tray);
// Posts what a shell speaking the modern notifications (version 4) sends:
// `event` with the icon's identifier, and the icon's position.
void PostTrayEvent(HWND tray, UINT event, POINT at = {200, 10});
void DoubleClick(HWND tray);
void RightClick(HWND tray);

// The open popup menu of the process, or nullptr on time-out.
HWND WaitForMenu(DWORD pid, DWORD ms = 5000);
// Selects the item of `command` with the keyboard (separators are skipped,
// and "Search with" unless profiles are stored) and presses Enter.
void ChooseMenuItem(HWND menuWindow, snq::MenuCommand command, bool profiles = false);
// Right-click, wait for the menu, choose the item.
bool UseMenu(HWND tray, DWORD pid, snq::MenuCommand command, bool profiles = false);
// Right-click, and choose the profile at `index` in "Search with".
bool UseProfileItem(HWND tray, DWORD pid, int index);

// Visible top-level windows of the process, and all of them.
std::vector<HWND> VisibleWindows(DWORD pid);
std::vector<HWND> TopLevelWindows(DWORD pid);
std::wstring TitleOf(HWND window);
std::wstring ClassOf(HWND window);
// The window's text and all its children's texts, joined by "\n".
std::wstring AllText(HWND window);
// A visible top-level window of `pid` whose title is `title` (any title
// when empty) and whose own or child text contains `text`.
HWND WaitForWindow(DWORD pid, const std::wstring& title, const std::wstring& text = L"",
                   DWORD ms = 8000);
// The visible top-level window of `pid` of window class `windowClass` (for a
// window whose title is in the user's language).
HWND WaitForClass(DWORD pid, const std::wstring& windowClass, DWORD ms = 8000);
int CountWindows(DWORD pid, const std::wstring& title, const std::wstring& text);
// One line per visible top-level window: handle, class, title and texts.
std::wstring Describe(DWORD pid);
// The first child (at any depth) of that window class.
HWND ChildOfClass(HWND parent, const std::wstring& cls);
// Waits for the error box (titled "Snapquery 1.5") with that text, presses
// its OK and waits until it is gone; false when it does not come or go.
bool DismissErrorBox(DWORD pid, const std::wstring& text);
// Presses the child button with that caption (or the default: Enter).
bool PressButton(HWND dialog, const std::wstring& caption);
void PressEnter(HWND window);
// Waits until the window is gone.
bool WaitGone(HWND window, DWORD ms = 5000);

// The edges that record what the program hands on: a browser registered
// for http and https that logs its command line, and an automation server
// registered as "InternetExplorer.Application" that logs its calls.
std::wstring InstallRecordingBrowser(); // returns the recorder's path
std::wstring BrowserLogPath();
std::wstring AutomationLogPath();
void InstallRecordingAutomationServer();
// Sets the registry's browser mode: "Yes" (default browser) or "No".
void SetBrowserMode(bool defaultBrowser);
// One key down (flags 0) or up (KEYEVENTF_KEYUP), as the keyboard sends it.
void SendKey(WORD key, DWORD flags);
// The id of the control with the keyboard focus in `window`'s thread (0: none).
int FocusedControl(HWND window);
// Presses Ctrl+G as the keyboard would.
void PressCtrlG();
// Presses `key` with the modifier keys held, as the keyboard would.
void PressKeys(std::initializer_list<WORD> modifiers, WORD key);
// Holds Ctrl+G down for `keyDowns` key-downs of G, 30 ms apart as the
// keyboard's repeat sends them, then releases both keys.
void HoldCtrlG(int keyDowns);
// Posts WM_HOTKEY to every utility window of the process, message-only ones too.
void PostHotKey(DWORD pid, UINT modifiers, UINT key);
// Whether no program holds the keystroke as its hotkey (it is tried).
bool KeystrokeFree(UINT modifiers, UINT key);

// Clipboard.
void SetClipboardText(const std::wstring& text);
void SetClipboardImageOnly();
// Each format with its bytes, in this order, in place of what is there.
void SetClipboardFormats(const std::vector<std::pair<UINT, std::string>>& formats);
// The bytes of a memory-backed format (the block may be larger than what
// was put there), or nothing.
std::optional<std::string> ClipboardBytes(UINT format);
void EmptyClipboardNow();
std::wstring ClipboardText();
int ClipboardFormatCount();

// Holds the clipboard open for its lifetime, from this process.
class ClipboardHolder {
public:
    ClipboardHolder();
    ~ClipboardHolder();
    bool held() const { return held_; }

private:
    bool held_;
};

void Wait(DWORD ms);

// The handles a process holds: GetProcessHandleCount, or where that reports
// nothing (Wine), the entries of the system's handle table for the process.
DWORD HandleCount(HANDLE process, DWORD pid);
// Whether this runs under Wine, where some counts are not kept.
bool UnderWine();

// A visible top-level window of the test, on a thread of its own that serves
// its messages, as another program's window would be.
class HelperWindow {
public:
    // With `editText`, the window holds an edit control with that text, all
    // of it selected and the focus in it. With `windowClass`, the window is
    // of that class, registered here with `procedure`; with `childClass`, it
    // hosts a child of that class (and procedure) that has the focus.
    explicit HelperWindow(const std::wstring& editText = L"", const std::wstring& windowClass = L"",
                          WNDPROC procedure = ::DefWindowProcW, const std::wstring& childClass = L"");
    ~HelperWindow();
    HelperWindow(const HelperWindow&) = delete;
    HelperWindow& operator=(const HelperWindow&) = delete;
    HWND Handle() const { return window_; }
    // Makes it the foreground window; false when it does not become so.
    bool Activate();

private:
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    std::wstring editText_;
    std::wstring class_;
    std::wstring childClass_;
};

// Waits until `window` is the foreground window.
bool WaitForeground(HWND window, DWORD ms = 3000);

bool FileExists(const std::wstring& path);
// The path an environment variable names (a Linux path: the same file
// through Wine's drive for the root); empty when it is not set.
std::wstring PathFromEnvironment(const wchar_t* variable);

// The processes whose executable is named `exeName` (e.g. "snapquery.exe").
std::vector<DWORD> ProcessesOf(const std::wstring& exeName);

// The temporary folder of this prefix's user, with a trailing backslash.
std::wstring TempDir();
// The lines of a UTF-8 text file; empty when it does not exist.
std::vector<std::wstring> ReadLines(const std::wstring& path);
// Waits until the file has at least `count` lines.
std::vector<std::wstring> WaitForLines(const std::wstring& path, std::size_t count,
                                       DWORD ms = 8000);

// Registry, by "HKLM\\..." or "HKCU\\..." paths as this 64-bit process sees them
// (the program's machine settings are under SOFTWARE\\Wow6432Node).
std::wstring RegGet(const std::wstring& path, const std::wstring& name); // "<none>" if absent
void RegSet(const std::wstring& path, const std::wstring& name, DWORD type, const void* data,
            DWORD size);
std::optional<DWORD> RegGetNumber(const std::wstring& path, const std::wstring& name);
bool RegKeyExists(const std::wstring& path);
void RegSetText(const std::wstring& path, const std::wstring& name, const std::wstring& text);
// Deletes a value, or the whole key when `name` is empty.
void RegDelete(const std::wstring& path, const std::wstring& name);

} // namespace probe
