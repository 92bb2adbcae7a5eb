// Stands in for the default browser: appends its command line, exactly as
// received, to %TEMP%\snq-browser.log (one UTF-8 line per start), and the
// process that started it to snq-browser.parents.
#include <windows.h>
#include <tlhelp32.h>

#include <string>

int wmain() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring log = std::wstring(temp) + L"snq-browser.log";
    const std::wstring line = std::wstring(::GetCommandLineW()) + L"\n";
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                            nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(),
                          bytes, nullptr, nullptr);
    HANDLE file = ::CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    ::WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(file);
    PROCESSENTRY32W entry{sizeof(entry)};
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        if (entry.th32ProcessID == ::GetCurrentProcessId()) break;
    ::CloseHandle(snapshot);
    const std::string parent = std::to_string(entry.th32ParentProcessID) + "\n";
    file = ::CreateFileW((log.substr(0, log.size() - 3) + L"parents").c_str(), FILE_APPEND_DATA,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    ::WriteFile(file, parent.data(), static_cast<DWORD>(parent.size()), &written, nullptr);
    ::CloseHandle(file);
    return 0;
}
