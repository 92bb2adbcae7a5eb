#include "app/InstanceGuardWin32.h"

#include "framework/ApplicationWin32.h"
#include "framework/MessageDialogWin32.h"
#include "framework/Text.h"

namespace snq {

namespace {
HWND AsHwnd(WindowId id) { return reinterpret_cast<HWND>(id); }
} // namespace

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
