#include "app/DialogFormWin32.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ApplicationWin32.h"
#include "framework/DynamicLibraryWin32.h"
#include "framework/MessageDialogWin32.h"
#include "framework/Text.h"
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
    case ControlKind::List:
        // Delete comes to the form (WM_VKEYTOITEM); tabs align the hotkeys.
        return {L"LISTBOX",
                LBS_NOTIFY | LBS_USETABSTOPS | LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                    WS_TABSTOP | WS_GROUP,
                WS_EX_CLIENTEDGE};
    case ControlKind::Button: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP};
    case ControlKind::DropList: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP};
    case ControlKind::OkButton: return {L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP};
    case ControlKind::CancelButton: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP};
    }
    return {L"STATIC", 0};
}

} // namespace

TDialogForm::TDialogForm(const wchar_t* className, TextId title, std::span<const ControlSpec> controls, int width,
                         int height)
    : TCustomForm(className, L"", kStyle, kExStyle, width, height), title_(title), specs_(controls) {}

bool TDialogForm::Checked(HWND control) {
    return ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TDialogForm::Check(HWND control, bool on) {
    ::SendMessageW(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::u16string TDialogForm::TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return ToU16(text);
}

void TDialogForm::FillList(HWND list, const std::vector<std::u16string>& choices, std::size_t selected) {
    ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const std::u16string& choice : choices)
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(choice).c_str()));
    ::SendMessageW(list, CB_SETCURSEL, selected, 0);
}

void TDialogForm::ShowHotKey(int id, std::uint32_t value) {
    shownHotKey_ = value;
    ::SendMessageW(Control(id), HKM_SETHOTKEY, ToHotKeyControl(value), 0);
    shownBoxValue_ = ::SendMessageW(Control(id), HKM_GETHOTKEY, 0, 0);
}

std::uint32_t TDialogForm::HotKeyIn(int id) const {
    const LRESULT box = ::SendMessageW(Control(id), HKM_GETHOTKEY, 0, 0);
    return box == shownBoxValue_ ? shownHotKey_ : FromHotKeyControl(static_cast<std::uint16_t>(box));
}

void TDialogForm::Warn(std::u16string_view text) {
    MessageDlg(ToWide(text), TMsgDlgType::mtWarning, Buttons(TMsgDlgBtn::mbOK), 0);
}

void TDialogForm::BeforeShow() {
    if (controls_.empty()) {
        // The hotkey box is a common control of its own class.
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_HOTKEY_CLASS};
        if (Comctl().InitCommonControlsEx) Comctl().InitCommonControlsEx(&classes);
        for (const ControlSpec& control : specs_) {
            const ControlClass cls = ClassOf(control.kind);
            controls_.emplace_back(::CreateWindowExW(
                cls.exStyle, cls.name, L"", WS_CHILD | WS_VISIBLE | cls.style, 0, 0, 0, 0, Handle(),
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), Application().Instance(), nullptr));
        }
    }
    ::SetWindowTextW(Handle(), ToWide(Tr(title_)).c_str());
    for (std::size_t i = 0; i < specs_.size(); ++i)
        if (specs_[i].text != TextId{}) ::SetWindowTextW(controls_[i].get(), ToWide(Tr(specs_[i].text)).c_str());
    Load();
    // Laid out at every showing, for the texts loaded: the message font may
    // have grown since.
    DpiChanged();
}

int TDialogForm::TextScaleNeeded() const {
    // Each text measured in the form's font against its room at the design's
    // size; the whole layout grows by the largest shortfall.
    ScopedWindowDc dc(Handle());
    ScopedSelectObject select(dc.get(), font_.get());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    const int edge = ::GetSystemMetrics(SM_CXEDGE);
    int needed = 1000;
    auto atLeast = [&needed](int size, int room) {
        if (room > 0) needed = std::max(needed, MulDiv(size, 1000, room));
    };
    for (std::size_t i = 0; i < specs_.size(); ++i) {
        const ControlSpec& design = specs_[i];
        const int width = ScaleTo(design.width, Dpi()), height = ScaleTo(design.height, Dpi());
        wchar_t text[256];
        ::GetWindowTextW(controls_[i].get(), text, 256);
        RECT line{};
        ::DrawTextW(dc.get(), text, -1, &line, DT_CALCRECT | DT_SINGLELINE);
        switch (design.kind) {
        case ControlKind::Label:
            // A label wraps its words: it needs a width and height in which
            // they take no more lines than it has.
            if (!text[0] || width == 0) break;
            for (;; needed += 50) {
                RECT wrapped{0, 0, MulDiv(width, needed, 1000), 0};
                ::DrawTextW(dc.get(), text, -1, &wrapped, DT_CALCRECT | DT_WORDBREAK);
                if ((wrapped.right <= MulDiv(width, needed, 1000) && wrapped.bottom <= MulDiv(height, needed, 1000)) ||
                    needed >= 4000)
                    break;
            }
            break;
        case ControlKind::CheckBox:
        case ControlKind::FirstRadio:
        case ControlKind::Radio:
            atLeast(line.right + SystemMetricFor(SM_CXMENUCHECK, Dpi()) + 4, width);
            atLeast(metrics.tmHeight, height);
            break;
        case ControlKind::Group:
            atLeast(line.right + 2 * edge + 12, width);
            break;
        case ControlKind::Button:
        case ControlKind::OkButton:
        case ControlKind::CancelButton:
            atLeast(line.right + 4 * edge + 4, width);
            atLeast(metrics.tmHeight + 4 * edge, height);
            break;
        case ControlKind::DropList:
            // Its widest choice, beside the arrow.
            for (int item = 0, count = static_cast<int>(::SendMessageW(controls_[i].get(), CB_GETCOUNT, 0, 0));
                 item < count; ++item) {
                if (::SendMessageW(controls_[i].get(), CB_GETLBTEXTLEN, item, 0) >= 256) continue;
                ::SendMessageW(controls_[i].get(), CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
                RECT r{};
                ::DrawTextW(dc.get(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
                atLeast(r.right + SystemMetricFor(SM_CXVSCROLL, Dpi()) + 6, width);
            }
            [[fallthrough]];
        case ControlKind::Edit:
        case ControlKind::HotKey:
            atLeast(metrics.tmHeight + 3 * edge, height);
            break;
        case ControlKind::List:
            break;
        }
    }
    return needed;
}

void TDialogForm::DpiChanged() {
    if (controls_.empty()) return; // made on the first showing, at the DPI of then
    const LOGFONTW font = MessageFontFor(Dpi());
    font_.reset(::CreateFontIndirectW(&font));
    SetTextScale(TextScaleNeeded());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const ControlSpec& place = specs_[i];
        // A drop-down list's height is its open list's.
        const int height = Scale(place.height) * (place.kind == ControlKind::DropList ? 10 : 1);
        ::SetWindowPos(controls_[i].get(), nullptr, Scale(place.x), Scale(place.y), Scale(place.width),
                       height, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(controls_[i].get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
}

LRESULT TDialogForm::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
            Command(LOWORD(wParam), HIWORD(wParam));
            break;
        }
        return 0;
    default:
        return TCustomForm::HandleMessage(window, message, wParam, lParam);
    }
}

} // namespace snq
