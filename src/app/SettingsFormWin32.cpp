#include "app/SettingsFormWin32.h"

#include "framework/ApplicationWin32.h"
#include "framework/DynamicLibraryWin32.h"
#include "framework/Text.h"
#include "framework/MessageDialogWin32.h"
#include "hotkeys/HotKeyText.h"

namespace snq {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle = 0;
};

ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label: return {L"STATIC", SS_LEFT | WS_GROUP};
    case ControlKind::HotKey: return {HOTKEY_CLASSW, WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE};
    case ControlKind::CheckBox: return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP};
    case ControlKind::Group: return {L"BUTTON", BS_GROUPBOX | WS_GROUP};
    case ControlKind::FirstRadio: return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP};
    case ControlKind::Radio: return {L"BUTTON", BS_AUTORADIOBUTTON};
    case ControlKind::Edit:
        return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE};
    case ControlKind::OkButton: return {L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP};
    case ControlKind::CancelButton: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP};
    }
    return {L"STATIC", 0};
}

constexpr int kEngineIds[] = {idGoogle, idBing, idDuckDuckGo, idCustom};

bool Checked(HWND control) { return ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Check(HWND control, bool on) {
    ::SendMessageW(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace

TSettingsForm::TSettingsForm(THotKeyText& keys, AddressLimits limits)
    : TCustomForm(L"TSettingsForm", ToWide(kSettingsTitle), kStyle, kExStyle, kSettingsWidth,
                  kSettingsHeight),
      keys_(keys), limits_(limits) {}

void TSettingsForm::BeforeShow() {
    if (controls_.empty()) CreateControls();
    if (OnLoad) Show(OnLoad());
    ::SetFocus(Control(idHotKey));
}

void TSettingsForm::CreateControls() {
    // The hotkey box is a common control of its own class.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_HOTKEY_CLASS};
    if (Comctl().InitCommonControlsEx) Comctl().InitCommonControlsEx(&classes);
    for (const ControlSpec& control : kSettingsControls) {
        const ControlClass cls = ClassOf(control.kind);
        const std::wstring text = ToWide(control.text);
        controls_.emplace_back(::CreateWindowExW(
            cls.exStyle, cls.name, text.c_str(), WS_CHILD | WS_VISIBLE | cls.style, 0, 0, 0, 0,
            Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
            Application().Instance(), nullptr));
    }
    DpiChanged();
}

void TSettingsForm::DpiChanged() {
    if (controls_.empty()) return; // made on the first showing, at the DPI of then
    const LOGFONTW font = MessageFontFor(Dpi());
    font_.reset(::CreateFontIndirectW(&font));
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const ControlSpec& place = kSettingsControls[i];
        ::SetWindowPos(controls_[i].get(), nullptr, Scale(place.x), Scale(place.y), Scale(place.width),
                       Scale(place.height), SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(controls_[i].get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
}

void TSettingsForm::Show(const UserChoices& choices) {
    shown_ = choices;
    const SettingsChoices shown = ShowChoices(choices);
    shownHotKey_ = shown.hotKey;
    ::SendMessageW(Control(idHotKey), HKM_SETHOTKEY, ToHotKeyControl(shown.hotKey), 0);
    shownBoxValue_ = ::SendMessageW(Control(idHotKey), HKM_GETHOTKEY, 0, 0);
    Check(Control(idNoHotKey), shown.noHotKey);
    for (int i = 0; i < 4; ++i)
        Check(Control(kEngineIds[i]), static_cast<int>(shown.engine) == i);
    // No longer than an address the chosen browser takes.
    ::SendMessageW(Control(idCustomAddress), EM_LIMITTEXT,
                   limits_.For(choices.useInternetExplorer), 0);
    ::SetWindowTextW(Control(idCustomAddress), ToWide(shown.customAddress).c_str());
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (kSettingsControls[i].choice)
            Check(controls_[i].get(), choices.*kSettingsControls[i].choice);
    UpdateEnabled();
}

SettingsChoices TSettingsForm::ReadControls() const {
    SettingsChoices shown;
    const LRESULT box = ::SendMessageW(Control(idHotKey), HKM_GETHOTKEY, 0, 0);
    shown.hotKey = box == shownBoxValue_ ? shownHotKey_
                                         : FromHotKeyControl(static_cast<std::uint16_t>(box));
    shown.noHotKey = Checked(Control(idNoHotKey));
    for (int i = 0; i < 4; ++i)
        if (Checked(Control(kEngineIds[i]))) shown.engine = static_cast<SearchEngine>(i);
    HWND address = Control(idCustomAddress);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(address)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(address, text.data(), static_cast<int>(text.size()))));
    shown.customAddress = ToU16(text);
    return shown;
}

void TSettingsForm::Apply() {
    const SettingsChoices shown = ReadControls();
    const std::u16string problem = SettingsProblem(shown, keys_.FormatHotKey(shown.hotKey, false),
                                                   limits_.For(shown_.useInternetExplorer));
    if (!problem.empty()) {
        MessageDlg(ToWide(problem), TMsgDlgType::mtWarning, Buttons(TMsgDlgBtn::mbOK), 0);
        return;
    }
    UserChoices choices = shown_;
    TakeChoices(shown, choices);
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (kSettingsControls[i].choice)
            choices.*kSettingsControls[i].choice = Checked(controls_[i].get());
    if (!OnApply || OnApply(choices)) SetModalResult(mrOk);
}

void TSettingsForm::UpdateEnabled() {
    ::EnableWindow(Control(idHotKey), !Checked(Control(idNoHotKey)));
    ::EnableWindow(Control(idCustomAddress), Checked(Control(idCustom)));
}

LRESULT TSettingsForm::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            Apply();
            break;
        case IDCANCEL:
            SetModalResult(mrCancel);
            break;
        default:
            if (HIWORD(wParam) == BN_CLICKED) UpdateEnabled();
            break;
        }
        return 0;
    default:
        return TCustomForm::HandleMessage(window, message, wParam, lParam);
    }
}

} // namespace snq
