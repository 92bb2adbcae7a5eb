#pragma once
// "Copy the selection first when the hotkey is pressed": the steps before
// the hotkey's search, over ISelectionHost so that they are tested with a
// fake clock. The copy acts on another program's window, so it is sent only
// where it can do no harm: never to a terminal, never while the user still
// holds a key of the hotkey, and what it displaces is put back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snq {

inline constexpr std::uint32_t kReleaseWaitMs = 1000; // for the hotkey's keys to go up
inline constexpr std::uint32_t kCopyWaitMs = 500;     // for the clipboard to change
inline constexpr std::uint32_t kCopySettleMs = 50;    // for a change to bring its text
inline constexpr std::uint32_t kSelectionPollMs = 10;

// Whether a window of class `windowClass` is a console or a terminal, where
// Ctrl+C interrupts the running program instead of copying.
bool IsTerminalWindowClass(std::u16string_view windowClass);

class ISelectionHost {
public:
    // Whether the hotkey's key, Ctrl, Shift, Alt or Win is down.
    virtual bool AnyKeyHeld() = 0;
    // The window classes of the foreground window and of its root owner;
    // none when there is no foreground window.
    virtual std::vector<std::u16string> ForegroundClasses() = 0;
    virtual std::uint32_t ClipboardSequence() = 0;
    virtual bool ClipboardHasText() = 0;
    // The clipboard's text, or nothing when it holds none or cannot be read.
    virtual std::optional<std::u16string> ClipboardText() = 0;
    // Puts `text` on the clipboard in place of what is there.
    virtual void RestoreClipboardText(std::u16string_view text) = 0;
    // Ctrl+C to the foreground window, as the keyboard would send it; false
    // when the system did not take the input.
    virtual bool SendCopy() = 0;
    virtual std::uint64_t Now() = 0;
    // Waits, serving the program's own messages (it may own the clipboard);
    // false when the program was asked to exit meanwhile.
    virtual bool Wait(std::uint32_t ms) = 0;

protected:
    ~ISelectionHost() = default;
};

enum class CopyOutcome {
    Copied,        // the selection's text is on the clipboard: search it
    NothingCopied, // no selection, or no text came: the clipboard as it was
    NotSent,       // a terminal in front, or a key still held: nothing sent
    Cancelled,     // the program is exiting: no search
};

// Waits (at most kReleaseWaitMs) until the hotkey's keys are up; sends
// Ctrl+C only when they are and no terminal is in front, then waits (at
// most kCopyWaitMs) for the clipboard to change. A change that brings no
// text (files, an image) is undone: the user's text goes back.
CopyOutcome CopySelection(ISelectionHost& host);

} // namespace snq
