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
    menu_.reset(::CreatePopupMenu());
    for (std::size_t i = 0; i < Items.size(); ++i) {
        const TMenuItem& item = Items[i];
        if (item.Caption == L"-") {
            ::AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        ::AppendMenuW(menu_.get(), MF_STRING | (item.Checked ? MF_CHECKED : MF_UNCHECKED),
                      kFirstCommand + i, item.Caption.c_str());
    }
    return menu_.get();
}

LRESULT TPopupMenu::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == 0) {
        const std::size_t index = LOWORD(wParam) - kFirstCommand;
        if (index < Items.size() && Items[index].OnClick) Items[index].OnClick();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace snq
