#include "search/SysLocaleWin32.h"

#include <windows.h>

#include "framework/Text.h"

namespace snq {

std::uint32_t Win32LocaleSource::ThreadLocale() { return ::GetThreadLocale(); }

std::optional<std::u16string> Win32LocaleSource::Info(std::uint32_t locale, std::uint32_t item) {
    wchar_t buffer[256] = {};
    const int count = ::GetLocaleInfoW(locale, item, buffer, 256);
    if (count <= 0) return std::nullopt;
    return ToU16(std::wstring_view(buffer, static_cast<std::size_t>(count - 1)));
}

} // namespace snq
