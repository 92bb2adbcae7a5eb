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
        const wchar_t* path;
        bool subtree;
        Watch* policies = nullptr; // the Policies watch below this Software watch
        UniqueHkey key;
        UniqueKernelHandle event;
    };
    // Asks to be told of the key's next change: once more after `fired`,
    // else only when it is not asked already. A key deleted under the
    // handle is opened anew, or left alone while it does not exist.
    static void Arm(Watch& watch, bool fired);

    std::function<void()> changed_;
    // Software itself, for Software\Policies made or deleted (a policy
    // refresh deletes it), and Software\Policies with everything below it.
    Watch watches_[4] = {{HKEY_LOCAL_MACHINE, L"Software", false, &watches_[1], {}, {}},
                         {HKEY_LOCAL_MACHINE, L"Software\\Policies", true, nullptr, {}, {}},
                         {HKEY_CURRENT_USER, L"Software", false, &watches_[3], {}, {}},
                         {HKEY_CURRENT_USER, L"Software\\Policies", true, nullptr, {}, {}}};
};

} // namespace snq
