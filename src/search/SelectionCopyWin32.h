#pragma once
// The selection copy's side of the system: the keyboard's state, the window
// in front, the clipboard and the injected Ctrl+C.
#include <windows.h>

#include <bitset>

#include "framework/Win32Handles.h"
#include "search/SelectionCopy.h"

namespace snq {

// Made when the hotkey is pressed, and gone before the search: one at a
// time, on the GUI thread.
class Win32SelectionHost final : public ISelectionHost {
public:
    // `hotKey`: the hotkey value that was pressed; `owner`: the window that
    // opens the clipboard on the program's behalf.
    Win32SelectionHost(std::uint32_t hotKey, HWND owner);
    ~Win32SelectionHost();
    Win32SelectionHost(const Win32SelectionHost&) = delete;
    Win32SelectionHost& operator=(const Win32SelectionHost&) = delete;

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
    static LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) noexcept;

    std::uint32_t hotKey_;
    HWND owner_;
    // The keys that matter, as the hook saw them go down and up since the
    // press (seeded from the state at the press).
    std::bitset<256> down_;
    UniqueHook hook_;
};

} // namespace snq
