#pragma once
// A form: a top-level window owned by the application window, created
// hidden, that can be shown modally.
#include <string>

#include "framework/WindowWin32.h"

namespace snq {

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

class TCustomForm : protected IWindowHandler {
public:
    TCustomForm(const wchar_t* className, std::wstring_view caption, DWORD style, DWORD exStyle,
                int clientWidth, int clientHeight);
    virtual ~TCustomForm() = default;
    TCustomForm(const TCustomForm&) = delete;
    TCustomForm& operator=(const TCustomForm&) = delete;

    HWND Handle() const noexcept { return window_.get(); }
    bool Visible() const noexcept { return ::IsWindowVisible(window_.get()) != FALSE; }

    // Shows the form modally and returns its modal result. Raises
    // EInvalidOperation when the form is already visible.
    int ShowModal();
    int ModalResult() const noexcept { return modalResult_; }
    // A result other than mrNone ends a modal showing.
    void SetModalResult(int result);

protected:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void CenterOnScreen();
    // Runs before every modal showing, while the form is still hidden.
    virtual void BeforeShow() {}

private:
    UniqueHwnd window_;
    bool modal_ = false;
    int modalResult_ = mrNone;
};

} // namespace snq
