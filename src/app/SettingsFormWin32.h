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
    TSettingsForm();

    // What the window shows when it opens.
    std::function<SettingsChoices()> OnLoad;
    // Applies the choices on OK: true closes the window, false keeps it open
    // (the handler has said why).
    std::function<bool(const SettingsChoices&)> OnApply;

protected:
    void BeforeShow() override;
    void DpiChanged() override;
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    HWND Control(int id) const { return ::GetDlgItem(Handle(), id); }
    void Show(const SettingsChoices& choices);
    SettingsChoices Read() const;
    void UpdateEnabled();

    std::vector<UniqueHwnd> controls_;
    // The hotkey shown, and the hotkey box's value for it: the box knows no
    // Win key, so an unchanged box keeps the hotkey it showed.
    std::uint32_t shownHotKey_ = 0;
    LRESULT shownBoxValue_ = 0;
};

} // namespace snq
