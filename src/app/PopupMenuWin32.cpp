#include "app/PopupMenuWin32.h"

namespace snq {

namespace {
constexpr UINT kFirstCommand = 1;
}

TPopupMenu::TPopupMenu() : window_(AllocateUtilWindow(*this)) {}

bool TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup();
    ::TrackPopupMenu(Rebuild(), TPM_CENTERALIGN | TPM_RIGHTBUTTON, x, y, 0, window_.get(), nullptr);
    // The chosen item's command is posted before the menu returns.
    MSG chosen;
    return ::PeekMessageW(&chosen, window_.get(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE) != FALSE;
}

HMENU TPopupMenu::Rebuild() {
    commands_.clear();
    menu_.reset(Build(Items));
    return menu_.get();
}

HMENU TPopupMenu::Build(const std::vector<TMenuItem>& items) {
    HMENU menu = ::CreatePopupMenu();
    for (const TMenuItem& item : items) {
        if (!item.Visible) continue;
        if (item.Caption == L"-") {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (!item.Items.empty()) {
            ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Build(item.Items)), item.Caption.c_str());
        } else {
            commands_.push_back(item.OnClick);
            ::AppendMenuW(menu, MF_STRING | (item.Checked ? MF_CHECKED : MF_UNCHECKED) | (item.Enabled ? 0 : MF_GRAYED),
                          kFirstCommand + commands_.size() - 1, item.Caption.c_str());
        }
    }
    return menu;
}

LRESULT TPopupMenu::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == 0) {
        const std::size_t index = LOWORD(wParam) - kFirstCommand;
        if (index < commands_.size() && commands_[index]) commands_[index]();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace snq
