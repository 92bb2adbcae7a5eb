#include "about/AboutWin32.h"

#include "framework/ApplicationWin32.h"

namespace snq {

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
} // namespace

TAboutBox::TAboutBox()
    : TCustomForm(L"TAboutBox", L"Snapquery 1.5", kStyle, kExStyle, 298, 253) {
    LOGFONTW lf{};
    lf.lfHeight = -11;
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(lf.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    font_.reset(::CreateFontIndirectW(&lf));
    okButton_ = ::CreateWindowExW(0, L"BUTTON", L"OK",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 110, 214,
                                  75, 33, Handle(), reinterpret_cast<HMENU>(IDOK),
                                  Application().Instance(), nullptr);
    ::SendMessageW(okButton_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

LRESULT TAboutBox::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) ModalResult = mrOk;
        if (LOWORD(wParam) == IDCANCEL) ModalResult = mrCancel;
        return 0;
    default:
        return TCustomForm::HandleMessage(window, message, wParam, lParam);
    }
}

} // namespace snq
