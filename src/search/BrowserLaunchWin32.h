#pragma once
// Opens an address in a new, visible Internet Explorer instance through its
// automation server. Raises EOleSysError or EOleException with the
// failure's text.
#include <cstddef>
#include <string>
#include <string_view>

namespace snq {

inline constexpr wchar_t kInternetExplorerProgId[] = L"InternetExplorer.Application";

void OpenInIE(std::wstring_view address);

// Starts `program` with the address as its one argument, after the private
// switch when there is one (BrowserCommandLine); an address that could be
// more than one argument starts nothing (traced, as the shell's refusals
// are silent). Raises EOSError when the start fails.
void OpenInProgram(std::u16string_view program, std::u16string_view privateSwitch, std::u16string_view address);

// The longest address that the default browser's start through the shell
// takes here: kMaxAddressLength, or less under Wine, whose shell overruns a
// fixed 1,024-character buffer (and crashes the calling program) when the
// address and the browser's command line together are longer.
std::size_t ShellAddressLimit();

} // namespace snq
