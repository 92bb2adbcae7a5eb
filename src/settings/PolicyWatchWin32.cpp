#include "settings/PolicyWatchWin32.h"

#include "framework/ApplicationWin32.h"

namespace snq {

TPolicyWatch::TPolicyWatch(std::function<void()> changed) : changed_(std::move(changed)) {
    for (Watch* watch : {&machine_, &user_}) {
        watch->event.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
        if (!watch->event) continue;
        Arm(*watch);
        Application().Watch(watch->event.get(), [this, watch] {
            Arm(*watch);
            changed_();
        });
    }
}

TPolicyWatch::~TPolicyWatch() {
    for (Watch* watch : {&machine_, &user_})
        if (watch->event) Application().Unwatch(watch->event.get());
}

void TPolicyWatch::Arm(Watch& watch) {
    // The machine's policies are one key for 32-bit and 64-bit programs.
    const REGSAM access = KEY_NOTIFY | KEY_WOW64_64KEY;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!watch.onPolicies) {
            HKEY key = nullptr;
            if (::RegOpenKeyExW(watch.root, L"Software\\Policies", 0, access, &key) == ERROR_SUCCESS) {
                watch.key.reset(key);
                watch.onPolicies = true;
            } else if (!watch.key && ::RegOpenKeyExW(watch.root, L"Software", 0, access, &key) == ERROR_SUCCESS) {
                watch.key.reset(key);
            }
        }
        if (!watch.key) return;
        // Asynchronous: the event is set at the next change, once; armed
        // again each time it is.
        if (::RegNotifyChangeKeyValue(watch.key.get(), watch.onPolicies,
                                      REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, watch.event.get(),
                                      TRUE) == ERROR_SUCCESS)
            return;
        // The key is gone (a policy refresh deletes Software\Policies): open
        // it again, or watch Software until it is back.
        watch.key.reset();
        watch.onPolicies = false;
    }
}

} // namespace snq
