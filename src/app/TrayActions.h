#pragma once
// What the user meant by the notifications the shell sends for the icon.
// A shell that speaks the modern notifications (version 4) sends several
// for one action: a left click brings WM_LBUTTONDOWN, WM_LBUTTONUP and
// NIN_SELECT, a right click WM_RBUTTONDOWN, WM_RBUTTONUP and WM_CONTEXTMENU,
// and some Windows versions send NIN_KEYSELECT twice for one Enter. Each
// action acts once; a shell that sends only the mouse messages works as
// before (the click on the left button's release, the menu on the right
// button's release).
#include <cstdint>

namespace snq {

enum class TrayEvent {
    LeftDown,    // WM_LBUTTONDOWN
    LeftUp,      // WM_LBUTTONUP
    RightUp,     // WM_RBUTTONUP
    Select,      // NIN_SELECT: follows a left click
    KeySelect,   // NIN_KEYSELECT: Enter or Space on the icon
    ContextMenu, // WM_CONTEXTMENU: follows a right click, or Shift+F10 / the menu key
    Other,
};

enum class TrayAction {
    None,
    Search,       // as a click does
    MenuAtCursor, // the menu where the mouse is
    MenuAtAnchor, // the menu at the icon (the point the shell passes)
};

// Two NIN_KEYSELECT closer than this are one key press.
inline constexpr std::uint64_t kKeySelectRepeatMs = 500;
// A WM_CONTEXTMENU this soon after a right button's release belongs to it.
inline constexpr std::uint64_t kContextMenuFollowMs = 1000;

class TrayActions {
public:
    // The action for `event`, arriving at `now` (milliseconds).
    TrayAction On(TrayEvent event, std::uint64_t now);

private:
    bool leftDown_ = false;
    bool rightReleased_ = false;
    std::uint64_t rightReleasedAt_ = 0;
    bool keySelected_ = false;
    std::uint64_t keySelectedAt_ = 0;
};

} // namespace snq
