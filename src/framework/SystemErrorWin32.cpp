#include "framework/SystemErrorWin32.h"

#include <windows.h>

#include "framework/Exceptions.h"
#include "framework/Text.h"

namespace snq {

std::wstring SystemMessage(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\r' || text.back() == L'\n' ||
                             text.back() == L'.'))
        text.pop_back();
    return text;
}

std::wstring OleErrorText(long hr) {
    std::wstring text = SystemMessage(static_cast<unsigned long>(hr));
    if (text.empty()) text = L"OLE error " + ToWide(Hex(static_cast<unsigned long>(hr), 8));
    return text;
}

void RaiseLastError(std::u16string_view what) {
    const DWORD code = ::GetLastError();
    std::u16string message(what);
    const std::wstring system = code == ERROR_SUCCESS ? std::wstring() : SystemMessage(code);
    if (!system.empty()) message += u": " + ToU16(system);
    throw EOSError(message);
}

} // namespace snq
