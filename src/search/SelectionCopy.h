#pragma once
// "Copy the selection first when the hotkey is pressed": the steps before
// the hotkey's search, over ISelectionHost so that they are tested with a
// fake clock.
#include <cstdint>

namespace snq {

inline constexpr std::uint32_t kReleaseWaitMs = 1000; // for the hotkey's keys to go up
inline constexpr std::uint32_t kCopyWaitMs = 500;     // for the clipboard to change
inline constexpr std::uint32_t kSelectionPollMs = 10;

class ISelectionHost {
public:
    // Whether the hotkey's keys, modifiers included, are all up.
    virtual bool HotKeyReleased() = 0;
    virtual std::uint32_t ClipboardSequence() = 0;
    // Ctrl+C to the foreground window, as the keyboard would send it.
    virtual void SendCopy() = 0;
    virtual std::uint64_t Now() = 0;
    // Waits, serving the program's own messages (it may own the clipboard).
    virtual void Wait(std::uint32_t ms) = 0;

protected:
    ~ISelectionHost() = default;
};

// Waits (at most kReleaseWaitMs) until the hotkey's keys are up, so that
// the copy is not merged with a held Shift or Alt, sends Ctrl+C and waits
// (at most kCopyWaitMs) for the clipboard to change. True when it did: the
// search then uses what was copied; false when nothing was (no selection,
// or a window that refuses the input), and the clipboard is as it was.
bool CopySelection(ISelectionHost& host);

} // namespace snq
