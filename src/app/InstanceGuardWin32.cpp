#include "app/InstanceGuardWin32.h"

#include "framework/ApplicationWin32.h"
#include "framework/MessageDialogWin32.h"
#include "framework/Text.h"

namespace snq {

namespace {
HWND AsHwnd(WindowId id) { return reinterpret_cast<HWND>(id); }
// A section of the session's namespace, as the guard's mutex is, and with
// the default security: the user's own.
std::wstring SectionName(std::u16string_view guard) { return ToWide(guard) + L" window"; }
} // namespace

void Win32InstanceHost::PublishWindow(std::u16string_view name, HWND window) {
    window_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(HWND),
                                       SectionName(name).c_str()));
    if (!window_ || ::GetLastError() == ERROR_ALREADY_EXISTS) return window_.reset();
    if (void* view = ::MapViewOfFile(window_.get(), FILE_MAP_WRITE, 0, 0, sizeof(HWND))) {
        *static_cast<HWND*>(view) = window;
        ::UnmapViewOfFile(view);
    }
}

HWND PublishedWindow(std::u16string_view name) {
    const UniqueKernelHandle section(::OpenFileMappingW(FILE_MAP_READ, FALSE, SectionName(name).c_str()));
    if (!section) return nullptr;
    HWND window = nullptr;
    if (const void* view = ::MapViewOfFile(section.get(), FILE_MAP_READ, 0, 0, sizeof(HWND))) {
        window = *static_cast<const HWND*>(view);
        ::UnmapViewOfFile(view);
    }
    return window && ::IsWindow(window) ? window : nullptr;
}

std::u16string Win32InstanceHost::ApplicationTitle() { return ToU16(Application().Title()); }

bool Win32InstanceHost::CreateGuardMutex(std::u16string_view name) {
    // No namespace prefix: the name belongs to the current logon session.
    const std::wstring wide = ToWide(name);
    mutex_.reset(::CreateMutexW(nullptr, FALSE, wide.c_str()));
    return ::GetLastError() == ERROR_ALREADY_EXISTS || !mutex_;
}

WindowId Win32InstanceHost::FindTopLevelWindow(std::u16string_view title) {
    const std::wstring wide = ToWide(title);
    return reinterpret_cast<WindowId>(::FindWindowW(nullptr, wide.c_str()));
}

void Win32InstanceHost::SetWindowTitle(WindowId window, std::u16string_view title) {
    const std::wstring wide = ToWide(title);
    ::SetWindowTextW(AsHwnd(window), wide.c_str());
}

bool Win32InstanceHost::IsIconic(WindowId window) { return ::IsIconic(AsHwnd(window)) != FALSE; }
void Win32InstanceHost::Restore(WindowId window) { ::ShowWindow(AsHwnd(window), SW_RESTORE); }
void Win32InstanceHost::BringToTop(WindowId window) { ::BringWindowToTop(AsHwnd(window)); }

void Win32InstanceHost::ShowInformation(std::u16string_view text) {
    MessageDlg(ToWide(text), TMsgDlgType::mtInformation, Buttons(TMsgDlgBtn::mbOK), 0);
}

void Win32InstanceHost::TerminateApplication() { Application().Terminate(); }

} // namespace snq
