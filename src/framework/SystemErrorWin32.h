#pragma once
// The system's own texts for its error codes, and the error the program
// raises when a system call it cannot do without fails.
#include <string>
#include <string_view>

namespace snq {

// The system's text for an error code (or HRESULT), with trailing spaces,
// line breaks and full stops removed; empty when the system has none.
std::wstring SystemMessage(unsigned long code);

// SystemMessage for an HRESULT, or "OLE error %.8x" when the system has no
// text for it.
std::wstring OleErrorText(long hr);

// Raises EOSError "<what>: <the system's text for GetLastError()>", or just
// "<what>" when the last error holds nothing.
[[noreturn]] void RaiseLastError(std::u16string_view what);

} // namespace snq
