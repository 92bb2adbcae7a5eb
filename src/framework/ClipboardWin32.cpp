#include "framework/ClipboardWin32.h"

#include <algorithm>
#include <cstring>

#include "framework/Exceptions.h"
#include "framework/Texts.h"
#include "framework/Win32Handles.h"

namespace snq {

namespace {

int g_openCount = 0;

// Clipboard managers and other programs open the clipboard for a moment
// right after every change, so one failed OpenClipboard means little. Try for
// about a quarter of a second before giving up; no messages are pumped, so
// nothing of ours runs in between.
constexpr DWORD kOpenRetryMs = 250;
constexpr DWORD kOpenRetryStepMs = 10;

} // namespace

ClipboardSession::ClipboardSession(HWND owner) {
    if (g_openCount == 0) {
        const ULONGLONG start = ::GetTickCount64();
        while (!::OpenClipboard(owner)) {
            if (::GetTickCount64() - start >= kOpenRetryMs)
                throw EClipboardException(Tr(TextId::ErrorClipboard));
            ::Sleep(kOpenRetryStepMs);
        }
    }
    ++g_openCount;
}

ClipboardSession::~ClipboardSession() {
    if (--g_openCount == 0) ::CloseClipboard();
}

std::u16string ReadClipboardText(HWND owner, std::size_t limit) {
    ClipboardSession session(owner);
    ScopedGlobalLock lock(::GetClipboardData(CF_UNICODETEXT));
    const auto* data = static_cast<const wchar_t*>(lock.data());
    if (!data) return {};
    // Never read past the block, even when the text lacks its terminator.
    const std::size_t capacity = std::min(lock.size() / sizeof(wchar_t), limit);
    std::size_t length = 0;
    while (length < capacity && data[length] != L'\0') ++length;
    return std::u16string(data, data + length);
}

void ClearClipboard(HWND owner) {
    ClipboardSession session(owner);
    ::EmptyClipboard();
}

void SetClipboardText(HWND owner, std::u16string_view text) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) throw EOutOfResources(Tr(TextId::ErrorOutOfMemory));
    {
        ScopedGlobalLock lock(memory.get());
        std::memcpy(lock.data(), text.data(), text.size() * sizeof(char16_t));
        static_cast<wchar_t*>(lock.data())[text.size()] = L'\0';
    }
    ClipboardSession session(owner);
    ::EmptyClipboard();
    // On success the clipboard owns the block.
    if (::SetClipboardData(CF_UNICODETEXT, memory.get())) memory.release();
}

} // namespace snq
