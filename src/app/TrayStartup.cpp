#include "app/TrayStartup.h"

#include <algorithm>

namespace snq {

bool AddTrayIconAtStartup(ITrayStartupHost& host, std::uint32_t retryMs, std::uint32_t limitMs) {
    const std::uint64_t start = host.Now();
    for (;;) {
        if (host.AddIcon()) return true;
        const std::uint64_t elapsed = host.Now() - start;
        if (elapsed >= limitMs) return false;
        const std::uint64_t wait = std::min<std::uint64_t>(retryMs, limitMs - elapsed);
        if (!host.Wait(static_cast<std::uint32_t>(wait))) return false;
    }
}

} // namespace snq
