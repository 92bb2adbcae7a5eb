#include "framework/MessageDialogWin32.h"

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/ApplicationWin32.h"
#include "framework/ClipboardWin32.h"
#include "framework/DpiWin32.h"
#include "framework/DynamicLibraryWin32.h"
#include "framework/ModalWin32.h"
#include "framework/Text.h"

namespace snq {

namespace {

// The button ids are the results, except Help, whose result 0 is no id.
constexpr int kHelpId = 1100;
int IdOf(const ButtonInfo& b) { return b.button == TMsgDlgBtn::mbHelp ? kHelpId : b.result; }

PCWSTR TaskIconOf(TTaskIcon icon) {
    switch (icon) {
    case TTaskIcon::Warning: return TD_WARNING_ICON;
    case TTaskIcon::Error: return TD_ERROR_ICON;
    case TTaskIcon::Information: return TD_INFORMATION_ICON;
    default: return nullptr;
    }
}

LPCWSTR ClassicIconOf(TMsgIcon icon) {
    switch (icon) {
    case TMsgIcon::Exclamation: return IDI_EXCLAMATION;
    case TMsgIcon::Hand: return IDI_HAND;
    case TMsgIcon::Asterisk: return IDI_ASTERISK;
    case TMsgIcon::Question: return IDI_QUESTION;
    default: return nullptr;
    }
}

int ShowTaskDialog(std::wstring_view text, TMsgDlgType kind, TMsgDlgButtons buttons) {
    const std::vector<ButtonInfo> order = ButtonsInOrder(buttons);
    std::vector<std::wstring> captions;
    std::vector<TASKDIALOG_BUTTON> taskButtons;
    captions.reserve(order.size());
    for (const ButtonInfo& b : order) captions.push_back(ToWide(Tr(b.caption)));
    for (std::size_t i = 0; i < order.size(); ++i)
        taskButtons.push_back({IdOf(order[i]), captions[i].c_str()});

    // A window without a title is announced by a screen reader as nothing
    // at all: the custom kind has the application's, as in the classic form.
    const std::wstring title = ToWide(ClassicTitle(kind, ToU16(Application().Title())));
    const std::wstring content(text);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof(config);
    config.hwndParent = Application().DialogOwner();
    config.hInstance = Application().Instance();
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
    config.pszWindowTitle = title.c_str();
    config.pszMainInstruction = L"";
    config.pszContent = content.c_str();
    config.pszMainIcon = TaskIconOf(KindOf(kind).taskIcon);
    config.cButtons = static_cast<UINT>(taskButtons.size());
    config.pButtons = taskButtons.data();
    const int defaultResult = DefaultButtonResult(buttons);
    config.nDefaultButton = defaultResult < 0 ? 0 : defaultResult;
    // Help shows help for the context and keeps the dialog open.
    config.pfCallback = [](HWND, UINT notification, WPARAM wParam, LPARAM, LONG_PTR) -> HRESULT {
        return notification == TDN_BUTTON_CLICKED && wParam == kHelpId ? S_FALSE : S_OK;
    };

    const ForegroundReturn foreground;
    int pressed = 0;
    {
        // The task dialog enables its owner again before it closes; the
        // other windows come back once it has gone.
        const TaskWindowsDisabler disabler(config.hwndParent);
        if (FAILED(Comctl().TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) return 0;
    }
    if (pressed == IDCANCEL && !(buttons & Buttons(TMsgDlgBtn::mbCancel))) {
        const int cancel = CancelButtonResult(buttons);
        return cancel < 0 ? 0 : cancel;
    }
    return pressed;
}

// The classic rendering: a dialog built at run time with the metrics of the
// message form.
class MessageForm final : private IModalFilter {
public:
    MessageForm(std::wstring_view text, TMsgDlgType kind, TMsgDlgButtons buttons)
        : text_(text), kind_(kind), buttons_(buttons), order_(ButtonsInOrder(buttons)),
          title_(ToWide(ClassicTitle(kind, ToU16(Application().Title())))) {}

    int Show() {
        // An empty template; the controls are made in WM_INITDIALOG.
        struct alignas(4) {
            DLGTEMPLATE header;
            WORD menu, windowClass, title;
        } dialogTemplate{};
        dialogTemplate.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        HWND owner = Application().DialogOwner();
        const ForegroundReturn foreground;
        // Made before the dialog, so that it keeps the focus of before.
        std::optional<TaskWindowsDisabler> disabler(std::in_place);
        UniqueHwnd dialog(::CreateDialogIndirectParamW(Application().Instance(),
                                                       &dialogTemplate.header, owner, DialogProc,
                                                       reinterpret_cast<LPARAM>(this)));
        if (!dialog) return 0;
        window_ = dialog.get();
        ::ShowWindow(window_, SW_SHOW);
        RunModalLoop(window_, [this] { return done_; }, this);
        // Enabled again before the dialog goes, so that closing it can
        // activate its owner rather than another program.
        disabler.reset();
        return result_;
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        auto* self = reinterpret_cast<MessageForm*>(::GetWindowLongPtrW(window, DWLP_USER));
        if (!self) return FALSE;
        INT_PTR handled = FALSE;
        GuardBoundary([&] { handled = self->Handle(window, message, wParam, lParam); });
        return handled;
    }

    INT_PTR Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_INITDIALOG:
            window_ = window;
            Build();
            return FALSE; // the focus is set by Build
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == kHelpId) return TRUE;
            if (id == IDCANCEL && !(buttons_ & Buttons(TMsgDlgBtn::mbCancel))) {
                const int cancel = CancelButtonResult(buttons_);
                if (cancel >= 0) Close(cancel);
                return TRUE;
            }
            for (const ButtonInfo& b : order_)
                if (IdOf(b) == id) Close(b.result);
            return TRUE;
        }
        case WM_CLOSE:
            ::SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        case WM_DPICHANGED: {
            // Laid out anew at the new DPI, where the system suggests.
            const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
            while (HWND child = ::GetWindow(window, GW_CHILD)) ::DestroyWindow(child);
            Build();
            ::SetWindowPos(window, nullptr, suggested.left, suggested.top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return TRUE;
        }
        default:
            return FALSE;
        }
    }

    void Close(int result) {
        result_ = result;
        done_ = true;
        // Wakes the modal loop, which looks at `done_` after each posted
        // message: the close may come from a sent one.
        ::PostMessageW(window_, WM_NULL, 0, 0);
    }

    void Build() { Create(LayoutMessageForm(Measure())); }

    // The metrics of the form's text and buttons in the message font.
    MessageFormMetrics Measure() {
        const int dpi = DpiOf(window_);
        const LOGFONTW font = MessageFontFor(dpi);
        font_.reset(::CreateFontIndirectW(&font));

        ScopedWindowDc dc(window_);
        ScopedSelectObject select(dc.get(), font_.get());
        SIZE letters{};
        ::GetTextExtentPoint32W(dc.get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                                &letters);
        MessageFormMetrics m{};
        m.charWidth = (letters.cx / 26 + 1) / 2;
        m.charHeight = letters.cy;
        // The monitor the user is looking at: its owner's, or the pointer's.
        area_ = UsersWorkArea(::GetWindow(window_, GW_OWNER));
        m.screenWidth = area_.width;
        m.screenHeight = area_.height;
        RECT textRect{0, 0, m.screenWidth / 2, 0};
        ::DrawTextW(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &textRect,
                    DT_EXPANDTABS | DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        m.textWidth = textRect.right;
        m.textHeight = textRect.bottom;
        for (const ButtonInfo& b : order_) {
            const std::wstring caption = ToWide(Tr(b.caption));
            RECT r{};
            ::DrawTextW(dc.get(), caption.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
            m.widestCaption = std::max<int>(m.widestCaption, r.right - r.left);
        }
        m.buttonCount = static_cast<int>(order_.size());
        m.hasIcon = ClassicIconOf(KindOf(kind_).classicIcon) != nullptr;
        m.iconSize = SystemMetricFor(SM_CXICON, dpi);
        m.captionPadding = ScaleTo(8, dpi);
        return m;
    }

    // Sizes the form and makes its icon, text and buttons where `layout` says.
    void Create(const MessageFormLayout& layout) {
        ::SetWindowTextW(window_, title_.c_str());
        const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE));
        RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
        // The frame at the monitor's scaling, as the other windows'.
        AdjustForDpi(frame, style, exStyle, DpiOf(window_));
        ::SetWindowPos(window_, nullptr, area_.left + layout.left + frame.left,
                       area_.top + layout.top + frame.top,
                       frame.right - frame.left, frame.bottom - frame.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);

        if (const LPCWSTR iconId = ClassicIconOf(KindOf(kind_).classicIcon)) {
            HWND icon = Child(L"STATIC", L"", SS_ICON | SS_REALSIZEIMAGE, layout.icon, -1);
            // The system's icon in the size the layout gives it (shared: not freed).
            HANDLE image = ::LoadImageW(nullptr, iconId, IMAGE_ICON, layout.icon.width,
                                        layout.icon.height, LR_SHARED);
            ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(image), 0);
        }
        Child(L"STATIC", text_, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, layout.text, -1);
        const int defaultResult = DefaultButtonResult(buttons_);
        for (std::size_t i = 0; i < order_.size(); ++i) {
            const bool isDefault = order_[i].result == defaultResult &&
                                   order_[i].button != TMsgDlgBtn::mbHelp;
            HWND button = Child(L"BUTTON", ToWide(Tr(order_[i].caption)),
                                WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                layout.buttons[i], IdOf(order_[i]));
            if (isDefault) {
                ::SendMessageW(window_, DM_SETDEFID, IdOf(order_[i]), 0);
                ::SetFocus(button);
            }
        }
    }

    HWND Child(const wchar_t* cls, const std::wstring& text, DWORD style, const Rect& r, int id) {
        HWND child = ::CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left,
                                       r.top, r.width, r.height, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       Application().Instance(), nullptr);
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        return child;
    }

    bool PreTranslate(MSG& msg) override {
        const bool ours = msg.hwnd == window_ || ::IsChild(window_, msg.hwnd);
        if (ours && msg.message == WM_KEYDOWN && msg.wParam == 'C' &&
            ::GetKeyState(VK_CONTROL) < 0) {
            GuardBoundary([&] {
                ::MessageBeep(0);
                SetClipboardText(Application().Handle(),
                                 MessageFormCopyText(ToU16(title_), ToU16(text_), order_));
            });
            return true;
        }
        return false;
    }

    std::wstring text_;
    TMsgDlgType kind_;
    TMsgDlgButtons buttons_;
    std::vector<ButtonInfo> order_;
    std::wstring title_;
    UniqueHfont font_;
    HWND window_ = nullptr;
    ScreenArea area_; // where it is centred
    bool done_ = false;
    int result_ = 0;
};

} // namespace

bool TaskDialogsAvailable() {
    // Visual styles are asked about only when a dialog is shown.
    static const DynamicLibrary uxtheme(L"uxtheme.dll");
    static const auto isAppThemed = uxtheme.Get<BOOL(WINAPI*)()>("IsAppThemed");
    return isAppThemed && isAppThemed() && Comctl().TaskDialogIndirect != nullptr;
}

int MessageDlg(std::wstring_view text, TMsgDlgType kind, TMsgDlgButtons buttons, int /*helpContext*/,
               DialogRendering rendering) {
    const bool task = rendering == DialogRendering::TaskDialog ||
                      (rendering == DialogRendering::Automatic && TaskDialogsAvailable());
    if (task && Comctl().TaskDialogIndirect) return ShowTaskDialog(text, kind, buttons);
    return MessageForm(text, kind, buttons).Show();
}

void ShowMessage(std::wstring_view text) {
    MessageDlg(text, TMsgDlgType::mtCustom, Buttons(TMsgDlgBtn::mbOK), 0);
}

} // namespace snq
