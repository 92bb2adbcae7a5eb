#pragma once
// Tells when a policy may have changed: anything under Software\Policies,
// of the machine or of the user (Group Policy's refresh writes there; so do
// Intune and an administrator's hand, which send no broadcast).
#include <windows.h>

#include <functional>

#include "framework/Win32Handles.h"

namespace snq {

class TPolicyWatch {
public:
    // `changed` runs in the message loop after each change.
    explicit TPolicyWatch(std::function<void()> changed);
    ~TPolicyWatch();
    TPolicyWatch(const TPolicyWatch&) = delete;
    TPolicyWatch& operator=(const TPolicyWatch&) = delete;

private:
    struct Watch {
        HKEY root;
        UniqueHkey key;
        bool onPolicies = false; // else on Software, for Policies to appear
        UniqueKernelHandle event;
    };
    // Opens Software\Policies (or, while it does not exist, Software) and
    // asks to be told of its next change.
    void Arm(Watch& watch);

    std::function<void()> changed_;
    Watch machine_{HKEY_LOCAL_MACHINE, {}, false, {}};
    Watch user_{HKEY_CURRENT_USER, {}, false, {}};
};

} // namespace snq
