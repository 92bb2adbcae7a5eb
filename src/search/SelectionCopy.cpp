#include "search/SelectionCopy.h"

#include <algorithm>

namespace snq {

namespace {

// Consoles and terminal emulators, by the class of their main window.
constexpr std::u16string_view kTerminalClasses[] = {
    u"ConsoleWindowClass",            // Windows' console host
    u"PseudoConsoleWindow",           // a pseudo console's own window
    u"CASCADIA_HOSTING_WINDOW_CLASS", // Windows Terminal
    u"WineConsoleClass",              // Wine's console host
    u"mintty",                        // Git Bash, Cygwin, MSYS2
    u"PuTTY",                         // PuTTY
    u"VirtualConsoleClass",           // ConEmu, Cmder
    u"org.wezfurlong.wezterm",        // WezTerm
};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// Window classes match without regard to case.
bool SameClass(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

} // namespace

bool IsTerminalWindowClass(std::u16string_view windowClass) {
    return std::any_of(std::begin(kTerminalClasses), std::end(kTerminalClasses),
                       [&](std::u16string_view terminal) { return SameClass(terminal, windowClass); });
}

CopyOutcome CopySelection(ISelectionHost& host) {
    const std::uint64_t pressed = host.Now();
    while (host.AnyKeyHeld() && host.Now() - pressed < kReleaseWaitMs)
        if (!host.Wait(kSelectionPollMs)) return CopyOutcome::Cancelled;
    // Ctrl+C with a held Shift or Alt is another command (an inspector,
    // AltGr+C), and the injected Ctrl key-up would cancel the user's Ctrl.
    if (host.AnyKeyHeld()) return CopyOutcome::NotSent;
    const std::vector<std::u16string> front = host.ForegroundClasses();
    if (front.empty() || std::any_of(front.begin(), front.end(), [](const std::u16string& c) {
            return IsTerminalWindowClass(c);
        }))
        return CopyOutcome::NotSent;

    const std::optional<std::u16string> previous = host.ClipboardText();
    const std::uint32_t before = host.ClipboardSequence();
    if (!host.SendCopy()) return CopyOutcome::NotSent;
    const std::uint64_t sent = host.Now();
    std::uint32_t seen = before;
    std::uint64_t changed = 0;
    for (;;) {
        const std::uint32_t sequence = host.ClipboardSequence();
        if (sequence != seen) {
            seen = sequence;
            changed = host.Now();
        }
        if (seen != before) {
            if (host.ClipboardHasText()) return CopyOutcome::Copied;
            // A copy empties the clipboard before it sets its data: give the
            // text a moment to follow.
            if (host.Now() - changed >= kCopySettleMs || host.Now() - sent >= kCopyWaitMs + kCopySettleMs)
                break;
        } else if (host.Now() - sent >= kCopyWaitMs) {
            return CopyOutcome::NothingCopied;
        }
        if (!host.Wait(kSelectionPollMs)) return CopyOutcome::Cancelled;
    }
    // Files or an image took the text's place: the search and the
    // clipboard are as before.
    if (previous) host.RestoreClipboardText(*previous);
    return CopyOutcome::NothingCopied;
}

} // namespace snq
