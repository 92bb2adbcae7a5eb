#pragma once
// The selection copy's side of the system: the keyboard's state, the window
// in front, the clipboard and the injected Ctrl+C.
#include <windows.h>

#include "search/SelectionCopy.h"

namespace snq {

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
    std::optional<std::u16string> ClipboardText() override;
    bool RestoreClipboardText(std::u16string_view text) override;
    bool SendCopy() override;
    std::uint64_t Now() override;
    bool Wait(std::uint32_t ms) override;
    bool Withdrawn() override { return withdrawn_; }

private:
    std::uint32_t hotKey_;
    HWND owner_;
    const bool& withdrawn_;
};

} // namespace snq
