#pragma once
// Owners for every Win32 handle kind the program holds, plus scoped pairs.
#include <windows.h>
#include <objbase.h>
#include <commctrl.h>

#include "framework/UniqueHandle.h"

namespace snq {

#define SNQ_HANDLE_TRAITS(Name, Type, Invalid, Close)                                              \
    struct Name {                                                                                  \
        using type = Type;                                                                         \
        static type invalid() noexcept { return Invalid; }                                         \
        static void close(type h) noexcept { Close; }                                              \
    }

SNQ_HANDLE_TRAITS(HwndTraits, HWND, nullptr, ::DestroyWindow(h));
SNQ_HANDLE_TRAITS(HmenuTraits, HMENU, nullptr, ::DestroyMenu(h));
SNQ_HANDLE_TRAITS(HiconTraits, HICON, nullptr, ::DestroyIcon(h));
SNQ_HANDLE_TRAITS(HfontTraits, HFONT, nullptr, ::DeleteObject(h));
SNQ_HANDLE_TRAITS(HbitmapTraits, HBITMAP, nullptr, ::DeleteObject(h));
SNQ_HANDLE_TRAITS(HbrushTraits, HBRUSH, nullptr, ::DeleteObject(h));
SNQ_HANDLE_TRAITS(MemDcTraits, HDC, nullptr, ::DeleteDC(h));
SNQ_HANDLE_TRAITS(KernelTraits, HANDLE, nullptr, ::CloseHandle(h));
SNQ_HANDLE_TRAITS(FileTraits, HANDLE, INVALID_HANDLE_VALUE, ::CloseHandle(h));
SNQ_HANDLE_TRAITS(HkeyTraits, HKEY, nullptr, ::RegCloseKey(h));
SNQ_HANDLE_TRAITS(AtomTraits, ATOM, 0, ::GlobalDeleteAtom(h));
SNQ_HANDLE_TRAITS(ModuleTraits, HMODULE, nullptr, ::FreeLibrary(h));
SNQ_HANDLE_TRAITS(HglobalTraits, HGLOBAL, nullptr, ::GlobalFree(h));

#undef SNQ_HANDLE_TRAITS

using UniqueHwnd = UniqueHandle<HwndTraits>;
using UniqueHmenu = UniqueHandle<HmenuTraits>;
using UniqueHicon = UniqueHandle<HiconTraits>;
using UniqueHfont = UniqueHandle<HfontTraits>;
using UniqueHbitmap = UniqueHandle<HbitmapTraits>;
using UniqueHbrush = UniqueHandle<HbrushTraits>;
using UniqueMemDc = UniqueHandle<MemDcTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFileHandle = UniqueHandle<FileTraits>;
using UniqueHkey = UniqueHandle<HkeyTraits>;
using UniqueAtom = UniqueHandle<AtomTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueHglobal = UniqueHandle<HglobalTraits>;

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
