#include "framework/WindowWin32.h"

#include "framework/ApplicationWin32.h"
#include "framework/SystemErrorWin32.h"
#include "framework/Text.h"
#include "framework/Texts.h"

namespace snq {

namespace {

LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        // Creation itself always takes the default path: a handler that
        // swallows unknown messages would otherwise abort it.
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    auto* handler = reinterpret_cast<IWindowHandler*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (!handler) return ::DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    GuardBoundary([&] { result = handler->HandleMessage(window, message, wParam, lParam); });
    return result;
}

void RegisterBoundClass(HINSTANCE instance, const wchar_t* className, HICON icon) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, className, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = BoundWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    wc.hIcon = icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        RaiseLastError(Tr(TextId::ErrorWindowClass, {ToU16(className)}));
}

} // namespace

UniqueHwnd CreateBoundWindow(const wchar_t* className, DWORD exStyle, DWORD style,
                             std::wstring_view title, IWindowHandler& handler, HWND owner,
                             HICON icon) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    RegisterBoundClass(instance, className, icon);
    const std::wstring text(title);
    HWND window = ::CreateWindowExW(exStyle, className, text.c_str(), style, 0, 0, 0, 0, owner,
                                    nullptr, instance, &handler);
    if (!window) RaiseLastError(Tr(TextId::ErrorWindow, {ToU16(className)}));
    return UniqueHwnd(window);
}

UniqueHwnd AllocateUtilWindow(IWindowHandler& handler) {
    return CreateBoundWindow(L"TPUtilWindow", WS_EX_TOOLWINDOW, WS_POPUP, L"", handler);
}

UniqueHwnd AllocateMessageWindow(IWindowHandler& handler) {
    return CreateBoundWindow(L"TPUtilWindow", 0, 0, L"", handler, HWND_MESSAGE);
}

void ReportBoundaryException() noexcept {
    if (HasApplication()) Application().HandleException(std::current_exception());
}

} // namespace snq
