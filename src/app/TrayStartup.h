#pragma once
// Adding the tray icon at start-up. A program started from the Run key at
// logon can come before the notification area exists; the first NIM_ADD
// then fails, and the icon is tried again for a while before start-up gives
// up.
#include <cstdint>

namespace snq {

inline constexpr std::uint32_t kTrayRetryMs = 500;
inline constexpr std::uint32_t kTrayRetryLimitMs = 30000;

class ITrayStartupHost {
public:
    // One attempt to add the icon; true when it is in place.
    virtual bool AddIcon() = 0;
    // Milliseconds from any fixed point.
    virtual std::uint64_t Now() = 0;
    // Waits up to `ms` without using the processor, serving the thread's
    // messages; returns early when the shell announces its taskbar. False
    // when the program is asked to end meanwhile: no more attempts then.
    virtual bool Wait(std::uint32_t ms) = 0;

protected:
    ~ITrayStartupHost() = default;
};

// Adds the icon, and when that fails tries again every `retryMs` (and at
// once after the taskbar is announced) until `limitMs` have passed. Returns
// whether the icon is in place.
bool AddTrayIconAtStartup(ITrayStartupHost& host, std::uint32_t retryMs = kTrayRetryMs,
                          std::uint32_t limitMs = kTrayRetryLimitMs);

} // namespace snq
