#pragma once
// The single-instance guard. The check itself is platform-free: it talks to
// the system through IInstanceHost, which InstanceGuardWin32 implements.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/VersionedComponents.h"

namespace snq {

using WindowId = std::uintptr_t; // 0: no window

class IInstanceHost {
public:
    virtual ~IInstanceHost() = default;
    virtual std::u16string ApplicationTitle() = 0;
    // Creates (or opens) the named mutex and keeps its handle. True when
    // another instance counts as running: the name existed already, or no
    // handle could be had.
    virtual bool CreateGuardMutex(std::u16string_view name) = 0;
    virtual void CloseGuardMutex() = 0;
    virtual WindowId FindTopLevelWindow(std::u16string_view title) = 0;
    virtual void SetWindowTitle(WindowId window, std::u16string_view title) = 0;
    virtual bool IsIconic(WindowId window) = 0;
    virtual void Restore(WindowId window) = 0;
    virtual void BringToTop(WindowId window) = 0;
    virtual void ShowInformation(std::u16string_view text) = 0;
    virtual void TerminateApplication() = 0;
};

class TRunOnce : public TVersionedComponent {
public:
    explicit TRunOnce(IInstanceHost& host) : host_(host) {}
    ~TRunOnce() override;
    TRunOnce(const TRunOnce&) = delete;
    TRunOnce& operator=(const TRunOnce&) = delete;

    // The load notification: runs the single-instance check.
    void Loaded();

    std::u16string MessageText;
    bool ShowMessage = false;
    bool Terminate = true;
    bool RestorePrevInst = true;
    std::function<void(TRunOnce& sender)> OnExists;

private:
    IInstanceHost& host_;
    bool FCheckDone = false;
};

} // namespace snq
