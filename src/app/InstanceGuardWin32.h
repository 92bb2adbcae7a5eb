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

private:
    // Holding this handle open is what marks the running instance; the
    // mutex itself is never waited on.
    UniqueKernelHandle mutex_;
};

} // namespace snq
