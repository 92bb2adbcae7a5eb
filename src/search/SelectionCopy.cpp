#include "search/SelectionCopy.h"

#include <algorithm>

#include "framework/Text.h"

namespace snq {

namespace {

// Windows where Ctrl+C is a command, by class: consoles and terminal
// emulators, and windows onto another computer. Best effort: a program
// that is in neither table is copied from.
constexpr std::u16string_view kCommandWindowClasses[] = {
    u"ConsoleWindowClass",            // Windows' console host
    u"PseudoConsoleWindow",           // a pseudo console's own window
    u"CASCADIA_HOSTING_WINDOW_CLASS", // Windows Terminal
    u"WineConsoleClass",              // Wine's console host
    u"mintty",                        // Git Bash, Cygwin, MSYS2
    u"PuTTY",                         // PuTTY
    u"KiTTY",                         // KiTTY
    u"VTWin32",                       // Tera Term
    u"TMobaXtermForm",                // MobaXterm
    u"VirtualConsoleClass",           // ConEmu, Cmder
    u"org.wezfurlong.wezterm",        // WezTerm
    u"TscShellContainerClass",        // Remote Desktop Connection
    u"RAIL_WINDOW",                   // a RemoteApp program's window
    // The Remote Desktop control inside a connection manager's window.
    u"IHWindowClass",
    u"OPContainerClass",
    u"OPWindowClass",
    u"UIMainClass",
    u"UIContainerClass",
};

// The same, by program, for those whose windows have generic classes.
constexpr std::u16string_view kCommandWindowPrograms[] = {
    u"mstsc.exe",           // Remote Desktop Connection
    u"msrdc.exe",           // Remote Desktop client
    u"vmconnect.exe",       // Hyper-V's virtual machine connection
    u"vmware.exe",          // VMware Workstation
    u"vmrc.exe",            // VMware Remote Console
    u"VirtualBoxVM.exe",    // VirtualBox
    u"wfica32.exe",         // Citrix Workspace
    u"CDViewer.exe",        // Citrix Workspace (desktop viewer)
    u"WindowsTerminal.exe", // Windows Terminal
    u"alacritty.exe",       // Alacritty
    u"wezterm-gui.exe",     // WezTerm
    u"Tabby.exe",           // Tabby
    u"Hyper.exe",           // Hyper
    u"emacs.exe",           // Emacs (its own terminals take Ctrl+C as a prefix)
    u"vncviewer.exe",       // VNC viewers
    u"tvnviewer.exe",       // TightVNC
    u"TeamViewer.exe",      // TeamViewer
    u"AnyDesk.exe",         // AnyDesk
    u"rustdesk.exe",        // RustDesk
    u"vmware-view.exe",     // VMware Horizon
    u"parsecd.exe",         // Parsec
    u"RDCMan.exe",          // Remote Desktop Connection Manager
    u"mRemoteNG.exe",       // mRemoteNG
    u"RoyalTS.exe",         // Royal TS
    u"SecureCRT.exe",       // SecureCRT
    u"Xshell.exe",          // Xshell
};

// Window classes and file names match without regard to case.
bool SameName(std::u16string_view a, std::u16string_view b) { return SameAsciiText(a, b); }

template <std::size_t N> bool Listed(const std::u16string_view (&table)[N], std::u16string_view name) {
    return std::any_of(std::begin(table), std::end(table), [&](std::u16string_view n) { return SameName(n, name); });
}

} // namespace

bool TakesCopyAsCommand(const FrontWindow& front) {
    return Listed(kCommandWindowPrograms, front.process) ||
           std::any_of(front.classes.begin(), front.classes.end(),
                       [](const std::u16string& c) { return Listed(kCommandWindowClasses, c); });
}

namespace {

CopyResult Only(CopyOutcome outcome) { return {outcome, std::nullopt, false}; }

// Puts the user's clipboard back unless another copy replaced the one
// made, trying again while another program holds the clipboard; false
// when it could not be put back.
bool PutBack(ISelectionHost& host, std::uint32_t expected) {
    const std::uint64_t start = host.Now();
    for (;;) {
        switch (host.RestoreClipboard(expected)) {
        case RestoreOutcome::Restored:
        case RestoreOutcome::Replaced: return true;
        // What is there now is this program's own partial write.
        case RestoreOutcome::Failed: expected = host.ClipboardSequence(); break;
        case RestoreOutcome::Held: break;
        }
        if (host.Now() - start >= kRestoreRetryMs || !host.Wait(kRestorePollMs)) return false;
    }
}

} // namespace

CopyResult CopySelection(ISelectionHost& host) {
    const std::uint64_t pressed = host.Now();
    // Kept before the checks: another program's delayed rendering can make
    // this slow, and nothing may come between the checks and the copy.
    const std::uint32_t keptAt = host.ClipboardSequence();
    if (!host.KeepClipboard(pressed + kCopyBudgetMs)) return Only(CopyOutcome::NotSent);
    while (host.AnyKeyHeld() && host.Now() - pressed < kReleaseWaitMs) {
        if (!host.Wait(kSelectionPollMs)) return Only(CopyOutcome::Cancelled);
        if (host.Withdrawn()) return Only(CopyOutcome::NotSent);
    }
    // Ctrl+C with a held Shift or Alt is another command (an inspector,
    // AltGr+C), and the injected Ctrl key-up would cancel the user's Ctrl.
    if (host.AnyKeyHeld()) return Only(CopyOutcome::NotSent);
    const auto handles = host.FrontHandles();
    if (handles.first == 0 || TakesCopyAsCommand(host.DescribeFront())) return Only(CopyOutcome::NotSent);
    // Right before sending: the same window, no key down, not late, and
    // the clipboard still the one kept.
    const std::uint32_t before = host.ClipboardSequence();
    if (host.AnyKeyHeld() || host.FrontHandles() != handles || host.Now() - pressed > kCopyBudgetMs ||
        host.Withdrawn() || before != keptAt)
        return Only(CopyOutcome::NotSent);

    if (!host.SendCopy()) return Only(CopyOutcome::NotSent);
    const std::uint64_t sent = host.Now();
    std::uint32_t seen = before;
    std::uint64_t changed = 0;
    bool brought = false;
    for (;;) {
        const std::uint32_t sequence = host.ClipboardSequence();
        if (sequence != seen) {
            seen = sequence;
            changed = host.Now();
        }
        if (seen != before) {
            if ((brought = host.ClipboardHasText())) break;
            // A copy empties the clipboard before it sets its data: give the
            // text a moment to follow.
            if (host.Now() - changed >= kCopySettleMs || host.Now() - sent >= kCopyWaitMs + kCopySettleMs)
                break;
        } else if (host.Now() - sent >= kCopyWaitMs) {
            return Only(CopyOutcome::NothingCopied);
        }
        if (!host.Wait(kSelectionPollMs)) {
            // Exiting: the user's clipboard goes back all the same.
            if (host.ClipboardSequence() != before) host.RestoreClipboard(host.ClipboardSequence());
            return Only(CopyOutcome::Cancelled);
        }
    }
    CopyResult result{CopyOutcome::NothingCopied, std::nullopt, false};
    if (brought && (result.text = host.ClipboardText())) result.outcome = CopyOutcome::Copied;
    // Read after the text: rendering it on request may have changed it.
    result.restoreFailed = !PutBack(host, host.ClipboardSequence());
    // Files or an image took the clipboard's place and stayed there: the
    // user's text is searched all the same.
    if (result.restoreFailed && result.outcome == CopyOutcome::NothingCopied) result.text = host.KeptText();
    return result;
}

} // namespace snq
