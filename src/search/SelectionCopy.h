#pragma once
// "Copy the selection first when the hotkey is pressed": the steps before
// the hotkey's search, over ISelectionHost so that they are tested with a
// fake clock. The copy acts on another program's window, so it is sent only
// where it can do no harm: never to a terminal or a window onto another
// computer, never while the user still holds a key of the hotkey, never
// late, and the user's clipboard, every format of it, is put back after.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace snq {

inline constexpr std::uint32_t kReleaseWaitMs = 1000; // for the hotkey's keys to go up
// The Ctrl+C goes out within this of the hotkey, or not at all: the window
// in front then may no longer be the one the user meant.
inline constexpr std::uint32_t kCopyBudgetMs = 1100;
inline constexpr std::uint32_t kCopyWaitMs = 500;     // for the clipboard to change
inline constexpr std::uint32_t kCopySettleMs = 50;    // for a change to bring its text
inline constexpr std::uint32_t kRestoreRetryMs = 1000; // to put the user's clipboard back
inline constexpr std::uint32_t kRestorePollMs = 50;
inline constexpr std::uint32_t kSelectionPollMs = 10;

// The window in front, as the copy judges it.
struct FrontWindow {
    // The classes of the foreground window, its root owner, and the window
    // with the keyboard focus and its parents (a terminal hosted inside
    // another program's window).
    std::vector<std::u16string> classes;
    // The file name of the foreground window's program ("" when unknown).
    std::u16string process;
};

// Whether Ctrl+C could do harm in that window: a console or a terminal,
// where it stops the running program, or a remote-desktop or virtual-machine
// window, whose contents (a console, say) this program cannot see.
bool TakesCopyAsCommand(const FrontWindow& front);

enum class RestoreOutcome {
    Restored, // the clipboard holds again what was kept
    Replaced, // another copy came meanwhile: it stays
    Held,     // another program has the clipboard open: try again
    Failed,   // emptied or written in part: try again
};

class ISelectionHost {
public:
    // Whether the hotkey's key, Ctrl, Shift, Alt or Win is down.
    virtual bool AnyKeyHeld() = 0;
    // The foreground window and the focus in it, as handles to compare
    // (0 when there is no foreground window).
    virtual std::pair<std::uintptr_t, std::uintptr_t> FrontHandles() = 0;
    // What the copy needs to know of the window in front.
    virtual FrontWindow DescribeFront() = 0;
    virtual std::uint32_t ClipboardSequence() = 0;
    virtual bool ClipboardHasText() = 0;
    // Keeps every format on the clipboard in the program's own memory, to
    // be put back after the copy; false (and traced) when something there
    // cannot be kept, or not by `deadline`.
    virtual bool KeepClipboard(std::uint64_t deadline) = 0;
    // The text of what was kept, if it held any.
    virtual std::optional<std::u16string> KeptText() = 0;
    // The clipboard's text, or nothing when it holds none or cannot be read.
    virtual std::optional<std::u16string> ClipboardText() = 0;
    // Puts back what was kept, if the clipboard's sequence number is still
    // `expected`.
    virtual RestoreOutcome RestoreClipboard(std::uint32_t expected) = 0;
    // Ctrl+C to the foreground window, as the keyboard would send it; false
    // when the system did not take the input.
    virtual bool SendCopy() = 0;
    virtual std::uint64_t Now() = 0;
    // Waits, serving the program's own messages (it may own the clipboard);
    // false when the program was asked to exit meanwhile.
    virtual bool Wait(std::uint32_t ms) = 0;
    // Whether the user turned to the program's own menu or windows while
    // the copy waited: the window in front is no longer theirs to copy from.
    virtual bool Withdrawn() = 0;

protected:
    ~ISelectionHost() = default;
};

enum class CopyOutcome {
    Copied,        // the selection's text came: search it
    NothingCopied, // no selection, or no text came: the clipboard as it was
    NotSent,       // a terminal in front, a key still held, too late, a
                   // clipboard that cannot be kept: nothing sent
    Cancelled,     // the program is exiting: no search
};

struct CopyResult {
    CopyOutcome outcome = CopyOutcome::NotSent;
    // What the search takes in place of the clipboard: the selection's
    // text, or the user's own when it could not be put back.
    std::optional<std::u16string> text;
    // The copy displaced the user's clipboard and it could not be put back.
    bool restoreFailed = false;
};

// Keeps the user's clipboard first (nothing is sent when it cannot be
// kept); waits (at most kReleaseWaitMs) until the hotkey's keys are up;
// sends Ctrl+C only when they are, no terminal is in front, and keys and
// window are still so right before sending, within kCopyBudgetMs of the
// press; then waits (at most kCopyWaitMs) for the clipboard to change. What
// the copy brought is then replaced by what the user had, every format,
// unless another copy came meanwhile; retried for kRestoreRetryMs.
CopyResult CopySelection(ISelectionHost& host);

} // namespace snq
