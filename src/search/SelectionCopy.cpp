#include "search/SelectionCopy.h"

namespace snq {

bool CopySelection(ISelectionHost& host) {
    const std::uint64_t pressed = host.Now();
    while (!host.HotKeyReleased() && host.Now() - pressed < kReleaseWaitMs)
        host.Wait(kSelectionPollMs);
    const std::uint32_t before = host.ClipboardSequence();
    host.SendCopy();
    const std::uint64_t sent = host.Now();
    while (host.ClipboardSequence() == before) {
        if (host.Now() - sent >= kCopyWaitMs) return false;
        host.Wait(kSelectionPollMs);
    }
    return true;
}

} // namespace snq
