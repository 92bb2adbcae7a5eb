// Built as uxtheme.dll for the DLL search-order test: when a process loads
// it, it leaves %TEMP%\snq-dll-marker behind. A program that loads its
// system DLLs from the system folder only never loads it from its own.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, path);
        ::lstrcatW(path, L"snq-dll-marker");
        HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    }
    return TRUE;
}
