// Stands in for a started program: sleeps, then exits with the given code.
//   sleeper.exe <milliseconds> <exit code>
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    const DWORD ms = argc > 1 ? static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)) : 0;
    const int code = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 0;
    ::Sleep(ms);
    return code;
}
