#include "framework/DpiWin32.h"

#include <algorithm>

#include "framework/Win32Handles.h"

namespace snq {

namespace {

// The per-monitor functions of Windows 10 (1607) and later, looked up so
// that the program still starts on Windows 7 and 8.
struct PerMonitor {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    template <class F> F Get(const char* name) const {
        return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
    }
    UINT(WINAPI* GetDpiForWindow)(HWND) = Get<decltype(GetDpiForWindow)>("GetDpiForWindow");
    BOOL(WINAPI* SystemParametersInfoForDpi)(UINT, UINT, PVOID, UINT, UINT) =
        Get<decltype(SystemParametersInfoForDpi)>("SystemParametersInfoForDpi");
    BOOL(WINAPI* AdjustWindowRectExForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) =
        Get<decltype(AdjustWindowRectExForDpi)>("AdjustWindowRectExForDpi");
    int(WINAPI* GetSystemMetricsForDpi)(int, UINT) =
        Get<decltype(GetSystemMetricsForDpi)>("GetSystemMetricsForDpi");
};

const PerMonitor& Api() {
    static const PerMonitor api; // GUI thread only
    return api;
}

int SystemDpi() {
    ScopedWindowDc screen(nullptr);
    return ::GetDeviceCaps(screen.get(), LOGPIXELSY);
}

} // namespace

int DpiOf(HWND window) {
    if (Api().GetDpiForWindow && window)
        if (const UINT dpi = Api().GetDpiForWindow(window)) return static_cast<int>(dpi);
    return SystemDpi();
}

LOGFONTW MessageFontFor(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!Api().SystemParametersInfoForDpi ||
        !Api().SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                                          static_cast<UINT>(dpi))) {
        // Older Windows: the system DPI's font, scaled.
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
    }
    // "Make text bigger" (100 to 225 %): at least that much larger than
    // Windows' own message font, 9 points.
    DWORD factor = 100, size = sizeof(factor);
    ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Accessibility", L"TextScaleFactor", RRF_RT_REG_DWORD,
                   nullptr, &factor, &size);
    LONG& height = metrics.lfMessageFont.lfHeight;
    const LONG least = -MulDiv(ScaleTo(12, dpi), static_cast<int>(std::min<DWORD>(factor, 225)), 100);
    if (factor > 100 && height < 0 && height > least) height = least;
    return metrics.lfMessageFont;
}

void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    if (Api().AdjustWindowRectExForDpi &&
        Api().AdjustWindowRectExForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        return;
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

int SystemMetricFor(int index, int dpi) {
    if (Api().GetSystemMetricsForDpi) return Api().GetSystemMetricsForDpi(index, static_cast<UINT>(dpi));
    return MulDiv(::GetSystemMetrics(index), dpi, SystemDpi());
}

ScreenArea UsersWorkArea(HWND owner) {
    HMONITOR monitor = nullptr;
    if (owner && ::IsWindowVisible(owner)) {
        monitor = ::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
    } else {
        POINT pointer{};
        ::GetCursorPos(&pointer);
        monitor = ::MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST);
    }
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(monitor, &info))
        return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const RECT& r = info.rcWork;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

} // namespace snq
