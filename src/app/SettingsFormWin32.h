#pragma once
// The Settings window: the hotkey, the search engine and the two choices
// about the hotkey's search, made on its first showing and shown modally.
#include <functional>
#include <vector>

#include "app/SettingsDialog.h"
#include "framework/FormWin32.h"

namespace snq {

class TSettingsForm final : public TCustomForm {
    UniqueHfont font_;

public:
    // `keys` names the hotkey in the window's messages; `limits` are the
    // ones a search checks the template against.
    TSettingsForm(THotKeyText& keys, AddressLimits limits);

    // What the window shows when it opens.
    std::function<UserChoices()> OnLoad;
    // Applies the choices on OK, once the window found nothing to say
    // against them: true closes the window, false keeps it open (the
    // handler has said why).
    std::function<bool(const UserChoices&)> OnApply;

protected:
    void BeforeShow() override;
    void DpiChanged() override;
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    HWND Control(int id) const { return ::GetDlgItem(Handle(), id); }
    void Show(const UserChoices& choices);
    SettingsChoices ReadControls() const;
    // OK: the choices checked, then applied.
    void Apply();
    void UpdateEnabled();

    THotKeyText& keys_;
    AddressLimits limits_;
    std::vector<UniqueHwnd> controls_;
    // The choices shown: what the window does not show stays as it was.
    UserChoices shown_;
    // The hotkey shown, and the hotkey box's value for it: the box knows no
    // Win key, so an unchanged box keeps the hotkey it showed.
    std::uint32_t shownHotKey_ = 0;
    LRESULT shownBoxValue_ = 0;
};

} // namespace snq
