#pragma once
// Owners for every Win32 handle kind the program holds, plus scoped pairs.
#include <windows.h>
#include <objbase.h>
#include <commctrl.h>

#include "framework/UniqueHandle.h"

namespace snq {

// One owner type per handle kind: its traits, then its alias.
#define SNQ_UNIQUE_HANDLE(Alias, Type, Invalid, Close)                                             \
    struct Alias##Traits {                                                                         \
        using type = Type;                                                                         \
        static type invalid() noexcept { return Invalid; }                                         \
        static void close(type h) noexcept { Close; }                                              \
    };                                                                                             \
    using Alias = UniqueHandle<Alias##Traits>

// The window's object is unhooked first, so that no message of the
// destruction reaches an object that is itself being destroyed.
SNQ_UNIQUE_HANDLE(UniqueHwnd, HWND, nullptr,
                  (::SetWindowLongPtrW(h, GWLP_USERDATA, 0), ::DestroyWindow(h)));
SNQ_UNIQUE_HANDLE(UniqueHmenu, HMENU, nullptr, ::DestroyMenu(h));
SNQ_UNIQUE_HANDLE(UniqueHicon, HICON, nullptr, ::DestroyIcon(h));
SNQ_UNIQUE_HANDLE(UniqueHfont, HFONT, nullptr, ::DeleteObject(h));
SNQ_UNIQUE_HANDLE(UniqueHbitmap, HBITMAP, nullptr, ::DeleteObject(h));
SNQ_UNIQUE_HANDLE(UniqueHbrush, HBRUSH, nullptr, ::DeleteObject(h));
SNQ_UNIQUE_HANDLE(UniqueMemDc, HDC, nullptr, ::DeleteDC(h));
SNQ_UNIQUE_HANDLE(UniqueKernelHandle, HANDLE, nullptr, ::CloseHandle(h));
SNQ_UNIQUE_HANDLE(UniqueFileHandle, HANDLE, INVALID_HANDLE_VALUE, ::CloseHandle(h));
SNQ_UNIQUE_HANDLE(UniqueHkey, HKEY, nullptr, ::RegCloseKey(h));
SNQ_UNIQUE_HANDLE(UniqueAtom, ATOM, 0, ::GlobalDeleteAtom(h));
SNQ_UNIQUE_HANDLE(UniqueModule, HMODULE, nullptr, ::FreeLibrary(h));
SNQ_UNIQUE_HANDLE(UniqueHglobal, HGLOBAL, nullptr, ::GlobalFree(h));
SNQ_UNIQUE_HANDLE(UniqueEnhMetaFile, HENHMETAFILE, nullptr, ::DeleteEnhMetaFile(h));

// Selects an object into a DC and puts the previous one back.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~ScopedSelectObject() { ::SelectObject(dc_, old_); }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's painting, begun and always ended (also when drawing fails).
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) noexcept : window_(window), dc_(::BeginPaint(window, &ps_)) {}
    ~ScopedPaint() { ::EndPaint(window_, &ps_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A window DC, released with the window.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~ScopedWindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A locked global memory block.
class ScopedGlobalLock {
public:
    explicit ScopedGlobalLock(HGLOBAL memory) noexcept
        : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
    ~ScopedGlobalLock() {
        if (data_) ::GlobalUnlock(memory_);
    }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;
    void* data() const noexcept { return data_; }
    SIZE_T size() const noexcept { return data_ ? ::GlobalSize(memory_) : 0; }

private:
    HGLOBAL memory_;
    void* data_;
};

} // namespace snq
