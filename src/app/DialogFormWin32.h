#pragma once
// A form whose controls come from a table (ControlSpec): made on its first
// showing, laid out and given the message font at the form's DPI, and again
// when it moves to a monitor of another; its texts are set from their ids
// at every showing, in the interface's language of then. Enter is OK and
// Esc is Cancel. The layout grows as a whole when the message font is too
// large for a text to fit it.
#include <span>
#include <vector>

#include "app/SettingsDialog.h"
#include "framework/FormWin32.h"

namespace snq {

class TDialogForm : public TCustomForm {
public:
    TDialogForm(const wchar_t* className, TextId title, std::span<const ControlSpec> controls, int width,
                int height);

protected:
    // The controls are made; the form is about to show.
    virtual void Load() = 0;
    // OK: check and apply, and end the showing with SetModalResult.
    virtual void Apply() = 0;
    // Another control's notification (`code` as WM_COMMAND's high word).
    virtual void Command(int id, int code) = 0;

    HWND Control(int id) const { return ::GetDlgItem(Handle(), id); }
    const std::vector<UniqueHwnd>& Controls() const noexcept { return controls_; }
    std::span<const ControlSpec> Specs() const noexcept { return specs_; }
    static bool Checked(HWND control);
    static void Check(HWND control, bool on);
    static std::u16string TextOf(HWND control);
    // A drop-down list's choices, `selected` chosen.
    static void FillList(HWND list, const std::vector<std::u16string>& choices, std::size_t selected);
    // The form's hotkey box (`id`): shows `value`, and gives it back as long
    // as the box is unchanged, since the box knows no Win key.
    void ShowHotKey(int id, std::uint32_t value);
    std::uint32_t HotKeyIn(int id) const;
    // Says why OK cannot apply, in a warning the user closes.
    static void Warn(std::u16string_view text);

    void BeforeShow() override;
    void DpiChanged() override;
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // How much the layout must grow (in thousandths) for every text to fit.
    int TextScaleNeeded() const;

    TextId title_;
    std::span<const ControlSpec> specs_;
    std::vector<UniqueHwnd> controls_;
    UniqueHfont font_;
    // The hotkey shown, and the box's value for it.
    std::uint32_t shownHotKey_ = 0;
    LRESULT shownBoxValue_ = 0;
};

} // namespace snq
