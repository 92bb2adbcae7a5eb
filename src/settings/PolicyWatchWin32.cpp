#include "settings/PolicyWatchWin32.h"

#include "framework/ApplicationWin32.h"

namespace snq {

TPolicyWatch::TPolicyWatch(std::function<void()> changed) : changed_(std::move(changed)) {
    for (Watch& watch : watches_) {
        watch.event.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
        if (!watch.event) continue;
        Arm(watch, true);
        Application().Watch(watch.event.get(), [this, &watch] {
            Arm(watch, true);
            if (watch.policies) Arm(*watch.policies, false);
            changed_();
        });
    }
}

TPolicyWatch::~TPolicyWatch() {
    for (Watch& watch : watches_)
        if (watch.event) Application().Unwatch(watch.event.get());
}

void TPolicyWatch::Arm(Watch& watch, bool fired) {
    if (watch.key && ::RegQueryInfoKeyW(watch.key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_KEY_DELETED)
        watch.key.reset();
    else if (watch.key && !fired)
        return;
    if (!watch.key) {
        // The machine's policies are one key for 32-bit and 64-bit programs.
        HKEY key = nullptr;
        if (::RegOpenKeyExW(watch.root, watch.path, 0, KEY_NOTIFY | KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
            ERROR_SUCCESS)
            return;
        watch.key.reset(key);
    }
    // Asynchronous: the event is set at the next change, once.
    if (::RegNotifyChangeKeyValue(watch.key.get(), watch.subtree, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                  watch.event.get(), TRUE) != ERROR_SUCCESS)
        watch.key.reset();
}

} // namespace snq
