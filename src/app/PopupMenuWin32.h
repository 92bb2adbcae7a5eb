#pragma once
// The tray menu: items addressed by position, rebuilt into a menu handle
// each time it opens, and its owner window that runs the chosen item.
#include <functional>
#include <string>
#include <vector>

#include "framework/WindowWin32.h"

namespace snq {

struct TMenuItem {
    std::wstring Caption; // "-" is a separator
    bool Checked = false;
    bool Visible = true;
    bool Enabled = true; // greyed when false (a policy decides it)
    std::function<void()> OnClick;
    std::vector<TMenuItem> Items; // a submenu's
};

class TPopupMenu final : private IWindowHandler {
public:
    TPopupMenu();
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;

    std::vector<TMenuItem> Items;
    std::function<void()> OnPopup;

    // Raises OnPopup, rebuilds the menu and tracks it centred horizontally on
    // (x, y). A chosen item runs once the menu has closed. Returns whether
    // one was chosen.
    bool Popup(int x, int y);
    // Makes the menu handle anew from Items (the visible ones).
    HMENU Rebuild();

    HWND WindowHandle() const noexcept { return window_.get(); }

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    HMENU Build(const std::vector<TMenuItem>& items);

    UniqueHwnd window_; // the popup-list window that receives WM_COMMAND
    UniqueHmenu menu_;  // its submenus go with it
    // What each command runs, as the menu was built last.
    std::vector<std::function<void()>> commands_;
};

} // namespace snq
