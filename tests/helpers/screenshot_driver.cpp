// Brings up each window of the program worth a picture, one after another,
// and hands its place on the screen to scripts/screenshots, which captures
// it from the display.
//   screenshot_driver.exe <folder> [language...]
// Each language (a tag) adds the About, Settings and profile windows in it,
// as about-<tag>.png and so on.
// For each picture it writes <folder>\<name>.rect ("x y width height
// display") and waits for <folder>\<name>.done before it goes on.
#include <windows.h>

#include <cstdio>
#include <string>

#include "Probe.h"
#include "Version.h"
#include "app/SettingsDialog.h"

using namespace probe;
using snq::MenuCommand;

namespace {

std::wstring g_folder;

// Hands the rectangle of the windows over (all of them: a menu and its
// submenu) and waits until it has been captured.
bool Capture(const wchar_t* name, std::initializer_list<HWND> windows) {
    RECT r{};
    for (HWND window : windows) {
        RECT w{};
        if (!window || !::GetWindowRect(window, &w)) {
            std::fwprintf(stderr, L"screenshots: no window for %ls\n", name);
            return false;
        }
        ::UnionRect(&r, &r, &w);
    }
    Wait(400); // let it finish painting
    char display[64] = "";
    ::GetEnvironmentVariableA("DISPLAY", display, sizeof(display));
    const std::wstring base = g_folder + L"\\" + name;
    const std::wstring partial = base + L".part";
    FILE* file = _wfopen(partial.c_str(), L"wb");
    if (!file) return false;
    std::fprintf(file, "%ld %ld %ld %ld %s\n", r.left, r.top, r.right - r.left, r.bottom - r.top, display);
    std::fclose(file);
    ::MoveFileW(partial.c_str(), (base + L".rect").c_str());
    if (!Poll(30000, [&] { return FileExists(base + L".done"); })) {
        std::fwprintf(stderr, L"screenshots: %ls was not captured\n", name);
        return false;
    }
    return true;
}

std::wstring Wide(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

// A visible window of the process by its class, whatever the language.
HWND WaitForClass(DWORD pid, const wchar_t* cls) {
    return Poll(8000, [&] {
        HWND found = nullptr;
        for (HWND w : VisibleWindows(pid))
            if (ClassOf(w) == cls) found = w;
        return found;
    });
}

void Command(HWND window, int id) { ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// The About, Settings and profile windows, named with `suffix`.
bool CaptureWindows(HWND tray, DWORD pid, const std::wstring& suffix) {
    bool ok = true;
    UseMenu(tray, pid, MenuCommand::About, true);
    HWND about = WaitForClass(pid, L"TAboutBox");
    ok &= Capture((L"about" + suffix).c_str(), {about});
    Command(about, IDOK);
    WaitGone(about);

    UseMenu(tray, pid, MenuCommand::Settings, true);
    HWND settings = WaitForClass(pid, L"TSettingsForm");
    ok &= Capture((L"settings" + suffix).c_str(), {settings});
    if (settings) {
        Command(settings, snq::idProfileEdit);
        HWND profile = WaitForClass(pid, L"TProfileForm");
        ok &= Capture((L"profile" + suffix).c_str(), {profile});
        Command(profile, IDCANCEL);
        WaitGone(profile);
        Command(settings, IDCANCEL);
        WaitGone(settings);
    }
    return ok;
}

// The menu with "Search with" open.
void CaptureSubmenu(DWORD pid, HWND menu, bool& ok) {
    if (!menu) return;
    // "Search with" open: right into the submenu.
    for (std::size_t i = 0; i <= snq::MenuIndexOf(MenuCommand::SearchWith); ++i)
        if (snq::kMenu[i] != MenuCommand::None) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0);
    HWND submenu = Poll(3000, [&] {
        HWND found = nullptr;
        for (HWND w : TopLevelWindows(pid))
            if (w != menu && ClassOf(w) == L"#32768" && ::IsWindowVisible(w)) found = w;
        return found;
    });
    ok &= Capture(L"search-with", {menu, submenu});
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    WaitGone(menu);
}

// All the pictures, or with `language` (a tag) the windows in it.
int Run(const std::wstring& language) {
    SetClipboardText(L"Stra\u00dfe, \u041f\u0440\u0438\u0432\u0435\u0442, \u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1");
    // Three search profiles, from the presets.
    const std::wstring profiles = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ\\Profiles\\";
    const std::size_t presets[] = {3, 5, 6};
    const wchar_t* names[] = {L"Wikipedia", L"Google Maps", L"Google Translate"};
    const wchar_t* keys[] = {L"Ctrl+Alt+W", L"Ctrl+Alt+M", L"Ctrl+Alt+T"};
    for (int i = 0; i < 3; ++i) {
        const snq::SearchPreset& preset = snq::kSearchPresets[presets[i]];
        const std::wstring key = profiles + std::to_wstring(i + 1);
        RegSetText(key, L"Name", names[i]);
        RegSetText(key, L"SearchAddress", std::wstring(preset.searchTemplate.begin(), preset.searchTemplate.end()));
        RegSetText(key, L"HotKey", keys[i]);
    }
    const std::wstring settingsKey = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ";
    if (language.empty())
        RegDelete(settingsKey, L"Language");
    else
        RegSetText(settingsKey, L"Language", language);
    Program program;
    HWND tray = program.WaitForTray();
    if (!tray) {
        std::fwprintf(stderr, L"screenshots: the program shows no icon\n");
        return 1;
    }
    const DWORD pid = program.Pid();
    bool ok = true;

    if (language.empty()) {
        RightClick(tray);
        HWND menu = WaitForMenu(pid);
        ok &= Capture(L"tray-menu", {menu});
        CaptureSubmenu(pid, menu, ok);
    }
    ok &= CaptureWindows(tray, pid, language.empty() ? L"" : L"-" + language);
    if (!language.empty()) {
        UseMenu(tray, pid, MenuCommand::Exit, true);
        program.WaitExit(5000);
        return ok ? 0 : 1;
    }

    UseMenu(tray, pid, MenuCommand::ShowClipboard, true);
    HWND message = WaitForWindow(pid, L"", L"Current clipboard text");
    ok &= Capture(L"clipboard-text", {message});
    if (message) {
        PressButton(message, L"OK");
        WaitGone(message);
    }

    UseMenu(tray, pid, MenuCommand::Exit, true);
    program.WaitExit(5000);
    return ok ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: screenshot_driver <folder> [language...]\n");
        return 2;
    }
    g_folder = argv[1];
    int status = Run(L"");
    for (int i = 2; i < argc; ++i) status |= Run(argv[i]);
    return status;
}
