#pragma once
// The search address: the interface language code for the user's language,
// and the address made of fixed pieces, that code and the clipboard text.
#include <string>
#include <string_view>

namespace snq {

inline constexpr std::u16string_view kSearchPrefix = u"https://www.google.com/search?complete=1&hl=";
inline constexpr std::u16string_view kQueryKey = u"&q=";
inline constexpr std::u16string_view kSearchSuffix = u"&btnG=Google+Search&aq=f&oq=";
// Browsers, the shell and the automation path all take addresses this long.
inline constexpr std::size_t kMaxAddressLength = 2048;

// The code for an English language name: an exact, case-sensitive match in
// the table; "en" for the empty name; empty for any other name.
std::u16string GetLanguageCode(std::u16string_view englishName);

// "https://www.google.com/search?complete=1&hl=" + code + "&q=" + query +
// "&btnG=Google+Search&aq=f&oq=", where the query is the text as UTF-8,
// percent-encoded but for A-Z a-z 0-9 - . _ ~ (a space as "+"), cut at a
// character boundary so that the address is at most `maxLength` long. Every
// UTF-16 unit of the text takes at least one character of the address, so
// no more than `maxLength` units of it can reach the address.
std::u16string BuildSearchAddress(std::u16string_view code, std::u16string_view text,
                                  std::size_t maxLength = kMaxAddressLength);

// The percent-encoding of the query alone, at most `budget` characters long.
std::u16string EncodeQuery(std::u16string_view text, std::size_t budget);

} // namespace snq
