#pragma once
// Opens an address in a new, visible Internet Explorer instance through its
// automation server. Raises EOleSysError or EOleException with the
// failure's text.
#include <string_view>

namespace snq {

inline constexpr wchar_t kInternetExplorerProgId[] = L"InternetExplorer.Application";

void OpenInIE(std::wstring_view address);

// The system's text for an HRESULT with trailing spaces, line breaks and full
// stops removed, or "OLE error %.8x" when the system has none.
std::wstring OleErrorText(long hr);

} // namespace snq
