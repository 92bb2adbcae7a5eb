#pragma once
// The clipboard as the program uses it: UTF-16 text (as the portable code
// holds it), opened on behalf of the application window.
#include <string>
#include <string_view>

#include <windows.h>

namespace snq {

// Opens the clipboard for the scope. Opens nest: only the outermost one
// calls OpenClipboard and only its matching close calls CloseClipboard.
// Raises EClipboardException "Cannot open clipboard" when another program
// keeps it open beyond the retry window.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner);
    ~ClipboardSession();
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
};

// The clipboard's text up to its first NUL, and at most `limit` units of
// it; empty when it holds no text.
std::u16string ReadClipboardText(HWND owner, std::size_t limit = std::u16string::npos);
// Removes every format.
void ClearClipboard(HWND owner);
// Replaces the clipboard's content with `text`.
void SetClipboardText(HWND owner, std::u16string_view text);

} // namespace snq
