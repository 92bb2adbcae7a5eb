// Brings up each window of the program worth a picture, one after another,
// and hands its place on the screen to scripts/screenshots, which captures
// it from the display.
//   screenshot_driver.exe <folder>
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

int Run() {
    SetClipboardText(L"Stra\u00dfe, \u041f\u0440\u0438\u0432\u0435\u0442, \u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1");
    // Three search profiles, from the presets.
    const std::wstring profiles = L"HKLM\\SOFTWARE\\Wow6432Node\\Varnel\\SNQ\\Profiles\\";
    const std::size_t presets[] = {3, 5, 6};
    const wchar_t* keys[] = {L"Ctrl+Alt+W", L"Ctrl+Alt+M", L"Ctrl+Alt+T"};
    for (int i = 0; i < 3; ++i) {
        const snq::SearchPreset& preset = snq::kSearchPresets[presets[i]];
        const std::wstring key = profiles + std::to_wstring(i + 1);
        RegSetText(key, L"Name", std::wstring(preset.name.begin(), preset.name.end()));
        RegSetText(key, L"SearchAddress", std::wstring(preset.searchTemplate.begin(), preset.searchTemplate.end()));
        RegSetText(key, L"HotKey", keys[i]);
    }
    Program program;
    HWND tray = program.WaitForTray();
    if (!tray) {
        std::fwprintf(stderr, L"screenshots: the program shows no icon\n");
        return 1;
    }
    const DWORD pid = program.Pid();
    bool ok = true;

    RightClick(tray);
    HWND menu = WaitForMenu(pid);
    ok &= Capture(L"tray-menu", {menu});
    if (menu) {
        // "Search with" open: right into the submenu.
        for (std::size_t i = 0; i <= snq::MenuIndexOf(MenuCommand::SearchWith); ++i)
            if (snq::kMenu[i].command != MenuCommand::None) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
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

    UseMenu(tray, pid, MenuCommand::About, true);
    HWND about = WaitForWindow(pid, Wide(SNQ_TITLE));
    ok &= Capture(L"about", {about});
    if (about) {
        PressButton(about, L"OK");
        WaitGone(about);
    }

    UseMenu(tray, pid, MenuCommand::Settings, true);
    const std::wstring settingsTitle(snq::kSettingsTitle.begin(), snq::kSettingsTitle.end());
    HWND settings = WaitForWindow(pid, settingsTitle);
    ok &= Capture(L"settings", {settings});
    if (settings) {
        PressButton(settings, L"&Edit...");
        const std::wstring profileTitle(snq::kProfileTitle.begin(), snq::kProfileTitle.end());
        HWND profile = WaitForWindow(pid, profileTitle);
        ok &= Capture(L"profile", {profile});
        PressButton(profile, L"Cancel");
        WaitGone(profile);
        PressButton(settings, L"Cancel");
        WaitGone(settings);
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
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: screenshot_driver <folder>\n");
        return 2;
    }
    g_folder = argv[1];
    return Run();
}
