#pragma once
// The system side of the single-instance guard.
#include "app/InstanceGuard.h"
#include "framework/Win32Handles.h"

namespace snq {

class Win32InstanceHost final : public IInstanceHost {
public:
    std::u16string ApplicationTitle() override;
    bool CreateGuardMutex(std::u16string_view name) override;
    void CloseGuardMutex() override { mutex_.reset(); }
    WindowId FindTopLevelWindow(std::u16string_view title) override;
    void SetWindowTitle(WindowId window, std::u16string_view title) override;
    bool IsIconic(WindowId window) override;
    void Restore(WindowId window) override;
    void BringToTop(WindowId window) override;
    void ShowInformation(std::u16string_view text) override;
    void TerminateApplication() override;

    // Makes `window` known beside the guard named `name` for as long as
    // this object lives: the window that takes requests from the command
    // line.
    void PublishWindow(std::u16string_view name, HWND window);

private:
    // Holding this handle open is what marks the running instance; the
    // mutex itself is never waited on.
    UniqueKernelHandle mutex_;
    UniqueKernelHandle window_;
};

// The window the running copy in this session published beside the guard
// `name`, or none.
HWND PublishedWindow(std::u16string_view name);

} // namespace snq
