#pragma once
// The selection copy's side of the system: the keyboard's state, the window
// in front, the clipboard and the injected Ctrl+C.
#include <windows.h>

#include "search/SelectionCopy.h"

namespace snq {

class Win32SelectionHost final : public ISelectionHost {
public:
    // `hotKey`: the hotkey value that was pressed; `owner`: the window that
    // opens the clipboard on the program's behalf.
    Win32SelectionHost(std::uint32_t hotKey, HWND owner) : hotKey_(hotKey), owner_(owner) {}

    bool AnyKeyHeld() override;
    std::vector<std::u16string> ForegroundClasses() override;
    std::uint32_t ClipboardSequence() override;
    bool ClipboardHasText() override;
    std::optional<std::u16string> ClipboardText() override;
    void RestoreClipboardText(std::u16string_view text) override;
    bool SendCopy() override;
    std::uint64_t Now() override;
    bool Wait(std::uint32_t ms) override;

private:
    std::uint32_t hotKey_;
    HWND owner_;
};

} // namespace snq
