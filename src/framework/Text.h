#pragma once
// Small text helpers shared by the portable code. Portable code holds text as
// UTF-16 (std::u16string); the Win32 side converts to and from std::wstring,
// which has the same 16-bit units there.
#include <string>
#include <string_view>

namespace snq {

// ASCII to UTF-16, for fixed texts and numbers.
std::u16string Ascii(std::string_view text);

// Unsigned decimal digits, no sign, no leading zeros.
std::u16string Decimal(unsigned long long value);

enum class LetterCase { Lower, Upper };

// Hexadecimal digits, zero-padded to `width`.
std::u16string Hex(unsigned long long value, int width, LetterCase letters = LetterCase::Lower);

// The halves of a surrogate pair.
constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// How many units the character at `at` takes: 2 for a whole surrogate pair.
constexpr std::size_t CharUnits(std::u16string_view text, std::size_t at) {
    return IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]) ? 2 : 1;
}

// The first `limit` UTF-16 units of `text`, never splitting a surrogate pair.
std::u16string_view CutAtCharBoundary(std::u16string_view text, std::size_t limit);

// An ASCII letter in lower case; any other unit as it is.
constexpr char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }
// Whether two texts are the same, ASCII letters without regard to case.
bool SameAsciiText(std::u16string_view a, std::u16string_view b);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

#ifdef _WIN32
// Between the portable code's UTF-16 and the Win32 side's wide strings
// (the same 16-bit units there).
inline std::wstring ToWide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
inline std::u16string ToU16(std::wstring_view s) { return std::u16string(s.begin(), s.end()); }
#endif

} // namespace snq
