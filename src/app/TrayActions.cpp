#include "app/TrayActions.h"

namespace snq {

TrayAction TrayActions::On(TrayEvent event, std::uint64_t now) {
    // The menu's own WM_CONTEXTMENU comes right after the release; another
    // button or key in between means it is not coming (the pointer may
    // move meanwhile).
    const bool afterRightRelease =
        rightReleased_ && event == TrayEvent::ContextMenu && now - rightReleasedAt_ < kContextMenuFollowMs;
    if (event != TrayEvent::Other) rightReleased_ = false;
    switch (event) {
    case TrayEvent::LeftDown:
        leftDown_ = true;
        return TrayAction::None;
    case TrayEvent::LeftUp:
        // A release needs its press: a modal dialog's loop may deliver the
        // second half of a double click.
        if (!leftDown_) return TrayAction::None;
        leftDown_ = false;
        return TrayAction::Search;
    case TrayEvent::RightUp:
        rightReleased_ = true;
        rightReleasedAt_ = now;
        return TrayAction::MenuAtCursor;
    case TrayEvent::KeySelect:
        if (keySelected_ && now - keySelectedAt_ < kKeySelectRepeatMs) return TrayAction::None;
        keySelected_ = true;
        keySelectedAt_ = now;
        return TrayAction::Search;
    case TrayEvent::ContextMenu:
        return afterRightRelease ? TrayAction::None : TrayAction::MenuAtAnchor;
    case TrayEvent::Select:
    case TrayEvent::Other:
        break;
    }
    return TrayAction::None;
}

} // namespace snq
