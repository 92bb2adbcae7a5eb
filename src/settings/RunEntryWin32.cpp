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

std::u16string SystemFolder() {
    wchar_t path[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    return length && length < MAX_PATH ? ToU16(std::wstring_view(path, length)) : u"";
}

bool RunElevated(HWND owner, const std::vector<ElevatedRun>& runs) {
    for (const ElevatedRun& run : runs) {
        const std::wstring file = ToWide(run.file), parameters = ToWide(run.parameters);
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
        info.hwnd = owner;
        info.lpVerb = L"runas";
        info.lpFile = file.c_str();
        info.lpParameters = parameters.c_str();
        info.nShow = SW_HIDE;
        if (!::ShellExecuteExW(&info)) {
            if (::GetLastError() == ERROR_CANCELLED) return false;
            continue;
        }
        if (!info.hProcess) continue;
        UniqueKernelHandle process(info.hProcess);
        const ULONGLONG end = ::GetTickCount64() + 60000;
        while (::MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) {
            if (!Application().ProcessMessages() || ::GetTickCount64() >= end) break;
        }
    }
    return true;
}

int RunStartEntryRemoval() {
    Win32Registry registry;
    Win32KeyboardLayout keyboard;
    THotKeyText keys(keyboard); // no hotkey is read
    TSettings settings(registry, keys, ToU16(ExecutablePath()), {}, AdministratorsFolders);
    return settings.RemoveUnsafeMachineRunEntries() ? 0 : 1;
}

} // namespace snq
