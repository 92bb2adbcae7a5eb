#include "settings/RunEntryWin32.h"

#include <shellapi.h>
#include <shlobj.h>

#include "framework/ApplicationWin32.h"
#include "framework/Text.h"
#include "framework/Win32Handles.h"
#include "hotkeys/KeyboardLayoutWin32.h"
#include "settings/RegistryWin32.h"
#include "settings/Settings.h"

namespace snq {

std::vector<std::u16string> AdministratorsFolders() {
    std::vector<std::u16string> folders;
    for (int folder : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_WINDOWS}) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(::SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path)) && path[0])
            folders.push_back(ToU16(path));
    }
    return folders;
}

bool RemoveStartEntryElevated(HWND owner) {
    const std::wstring exe = ExecutablePath();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpVerb = L"runas";
    info.lpFile = exe.c_str();
    info.lpParameters = kRemoveStartEntrySwitch;
    info.nShow = SW_HIDE;
    // Declined at the elevation prompt: ERROR_CANCELLED, and nothing to say.
    if (!::ShellExecuteExW(&info) || !info.hProcess) return false;
    UniqueKernelHandle process(info.hProcess);
    const ULONGLONG end = ::GetTickCount64() + 60000;
    while (::MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) {
        if (!Application().ProcessMessages() || ::GetTickCount64() >= end) return false;
    }
    DWORD code = 1;
    return ::GetExitCodeProcess(process.get(), &code) && code == 0;
}

int RunStartEntryRemoval() {
    Win32Registry registry;
    Win32KeyboardLayout keyboard;
    THotKeyText keys(keyboard); // no hotkey is read
    TSettings settings(registry, keys, ToU16(ExecutablePath()), {}, AdministratorsFolders);
    return settings.RemoveUnsafeMachineRunEntries() ? 0 : 1;
}

} // namespace snq
