#pragma once
// The About window, created once at start and shown modally from the menu.
#include "framework/FormWin32.h"

namespace snq {

class TAboutBox final : public TCustomForm {
public:
    TAboutBox();

protected:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    UniqueHfont font_;
    HWND okButton_ = nullptr;
};

} // namespace snq
