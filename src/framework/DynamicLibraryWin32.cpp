#include "framework/DynamicLibraryWin32.h"

#include <string>

namespace snq {

DynamicLibrary::DynamicLibrary(const wchar_t* name)
    : module_(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    // Windows 7 without its search-path update knows no search flags: the
    // system folder's full path then.
    if (module_ || ::GetLastError() != ERROR_INVALID_PARAMETER) return;
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    module_.reset(::LoadLibraryW(path.c_str()));
}

void RestrictDllSearchToSystem() {
    // Looked up rather than imported: Windows 7 without that update lacks it.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

const CommonControls& Comctl() {
    static const CommonControls controls; // GUI thread only
    return controls;
}

} // namespace snq
