#pragma once
// A form: a top-level window owned by the application window, created
// hidden, that can be shown modally. Its sizes are given in 96-DPI units
// and scaled to the DPI of its monitor, also when it moves to another. The
// focus behaves as in a dialog: the control that had it gets it back when
// the form is active again (else the first tab stop), and an access key on
// a label or a group moves it to the control that follows.
#include <string>

#include "framework/DpiWin32.h"
#include "framework/WindowWin32.h"

namespace snq {

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

// When a form's window is made: with the form, or on its first showing (a
// form that most runs never show costs nothing at start).
enum class FormWindow { Now, OnFirstShow };

class TCustomForm : protected IWindowHandler {
public:
    // The client size in 96-DPI units.
    TCustomForm(const wchar_t* className, std::wstring_view caption, DWORD style, DWORD exStyle,
                int clientWidth, int clientHeight, FormWindow made = FormWindow::Now);
    virtual ~TCustomForm();
    TCustomForm(const TCustomForm&) = delete;
    TCustomForm& operator=(const TCustomForm&) = delete;

    HWND Handle() const noexcept { return window_.get(); }
    int Dpi() const noexcept { return dpi_; }
    // `units` 96-DPI units at the form's DPI, grown with its text.
    int Scale(int units) const noexcept { return ScaleTo(MulDiv(units, textScale_, 1000), dpi_); }
    bool Visible() const noexcept { return ::IsWindowVisible(window_.get()) != FALSE; }

    // Shows the form modally and returns its modal result. Raises
    // EInvalidOperation when the form is already visible.
    int ShowModal();
    int ModalResult() const noexcept { return modalResult_; }
    // A result other than mrNone ends a modal showing.
    void SetModalResult(int result);

protected:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Centred on the work area of the monitor the user is looking at, at
    // that monitor's scaling.
    void CenterOnUsersMonitor();
    // Runs before every modal showing, while the form is still hidden.
    virtual void BeforeShow() {}
    // Lays the form's contents out anew after its DPI, the message font or
    // the colours changed (the form itself is resized already for a DPI).
    virtual void DpiChanged() {}
    // Another client height, in 96-DPI units (contents that need more room).
    void SetClientHeight(int units);
    // How much larger than its design the form's text is (in thousandths,
    // never below 1000): every size grows by as much.
    int TextScale() const noexcept { return textScale_; }
    void SetTextScale(int permille);

private:
    void MakeWindow();
    void Resize();

    const wchar_t* className_;
    std::wstring caption_;
    UniqueHwnd window_;
    DWORD style_, exStyle_;
    int clientWidth_, clientHeight_;
    int dpi_ = kDefaultDpi;
    int textScale_ = 1000;
    // The control to give the focus back to when the form is activated.
    HWND lastFocus_ = nullptr;
    bool modal_ = false;
    bool annotated_ = false; // told to be a dialog
    int modalResult_ = mrNone;
};

} // namespace snq
