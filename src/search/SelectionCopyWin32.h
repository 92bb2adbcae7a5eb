#pragma once
// The selection copy's side of the system: the keyboard's state, the window
// in front, the clipboard and the injected Ctrl+C.
#include <windows.h>

#include <vector>

#include "framework/Win32Handles.h"
#include "search/SelectionCopy.h"

namespace snq {

// Every format on the clipboard in the program's own memory: memory-backed
// formats as bytes, the enhanced metafile as a copy. Of each family Windows
// converts within, one member is kept and Windows makes the others again.
class ClipboardSnapshot {
public:
    // Empty, and false (traced) when a format has no memory form, the whole
    // passes kMaxBytes, or reading it runs past `deadline` (GetTickCount64).
    bool Take(HWND owner, ULONGLONG deadline);
    // Puts the formats back in their order, marked as not to be recorded
    // again by clipboard history and managers, when the clipboard's
    // sequence number is still `expected`.
    RestoreOutcome PutBack(HWND owner, DWORD expected) const;
    std::optional<std::u16string> Text() const;

    static constexpr std::size_t kMaxBytes = 64u << 20;

private:
    struct Format {
        UINT id = 0;
        std::vector<unsigned char> bytes;
        UniqueEnhMetaFile metafile;
    };
    std::vector<Format> formats_;
};

class Win32SelectionHost final : public ISelectionHost {
public:
    // `hotKey`: the hotkey value that was pressed; `owner`: the window that
    // opens the clipboard on the program's behalf; `withdrawn`: set when the
    // user turns to the program's menu or windows meanwhile.
    Win32SelectionHost(std::uint32_t hotKey, HWND owner, const bool& withdrawn)
        : hotKey_(hotKey), owner_(owner), withdrawn_(withdrawn) {}

    bool AnyKeyHeld() override;
    std::pair<std::uintptr_t, std::uintptr_t> FrontHandles() override;
    FrontWindow DescribeFront() override;
    std::uint32_t ClipboardSequence() override;
    bool ClipboardHasText() override;
    bool KeepClipboard(std::uint64_t deadline) override { return kept_.Take(owner_, deadline); }
    std::optional<std::u16string> KeptText() override { return kept_.Text(); }
    std::optional<std::u16string> ClipboardText() override;
    RestoreOutcome RestoreClipboard(std::uint32_t expected) override { return kept_.PutBack(owner_, expected); }
    bool SendCopy() override;
    std::uint64_t Now() override;
    bool Wait(std::uint32_t ms) override;
    bool Withdrawn() override { return withdrawn_; }

private:
    std::uint32_t hotKey_;
    HWND owner_;
    const bool& withdrawn_;
    ClipboardSnapshot kept_;
};

} // namespace snq
