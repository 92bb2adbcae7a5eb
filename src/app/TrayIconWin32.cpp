#include "app/TrayIconWin32.h"

#include <windowsx.h>

#include <cstring>
#include <vector>

#include "app/PopupMenuWin32.h"
#include "app/TrayStartup.h"
#include "framework/ApplicationWin32.h"
#include "framework/DpiWin32.h"
#include "framework/Exceptions.h"
#include "framework/IconChoice.h"
#include "framework/Texts.h"

namespace snq {

namespace {

UINT TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

// Copies at most capacity - 1 characters and terminates.
template <std::size_t N> void CopyCut(wchar_t (&field)[N], const std::wstring& text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), length * sizeof(wchar_t));
    field[length] = L'\0';
}

} // namespace

TTrayIcon::TTrayIcon(HINSTANCE instance, std::wstring_view title) : instance_(instance) {
    TaskbarCreatedMessage();
    window_ = AllocateUtilWindow(*this);
    // The whole record: the icon asks for version-4 notifications, whose
    // fields lie past the version-2 size.
    data_.cbSize = sizeof(data_);
    data_.hWnd = window_.get();
    data_.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(window_.get()));
    data_.uTimeout = static_cast<UINT>(balloonTimeout_);
    data_.hIcon = currentIcon_.get();
    // With version 4 the shell shows the standard tip only when asked to
    // (Wine shows it regardless).
    data_.uFlags = NIF_ICON | NIF_MESSAGE | NIF_SHOWTIP;
    data_.uCallbackMessage = WM_TRAYNOTIFY;
    CopyCut(data_.szTip, std::wstring(title));
    if (!title.empty()) data_.uFlags |= NIF_TIP;
    UpdateIcon();
}

TTrayIcon::~TTrayIcon() { Notify(NIM_DELETE); }

void TTrayIcon::Notify(DWORD message) noexcept { ::Shell_NotifyIconW(message, &data_); }

void TTrayIcon::NotifyChange() noexcept {
    if (added_) Notify(NIM_MODIFY);
}

bool TTrayIcon::NotifyChecked(DWORD message) noexcept {
    return ::Shell_NotifyIconW(message, &data_) != FALSE;
}

void TTrayIcon::UpdateIcon() {
    data_.hIcon = currentIcon_.get();
    if (visible_) NotifyChange();
}

void TTrayIcon::SetHint(const std::wstring& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    CopyCut(data_.szTip, hint_);
    if (hint_.empty())
        data_.uFlags &= ~NIF_TIP;
    else
        data_.uFlags |= NIF_TIP;
    UpdateIcon();
}

void TTrayIcon::SetBalloonHint(const std::wstring& text) {
    if (text == balloonHint_) return;
    balloonHint_ = text;
    // The shell reads it only with a balloon shown (ShowBalloon).
    CopyCut(data_.szInfo, balloonHint_);
}

void TTrayIcon::SetBalloonTitle(const std::wstring& text) {
    if (text == balloonTitle_) return;
    balloonTitle_ = text;
    CopyCut(data_.szInfoTitle, balloonTitle_);
}

void TTrayIcon::SetBalloonTimeout(int milliseconds) {
    balloonTimeout_ = milliseconds;
    data_.uTimeout = static_cast<UINT>(milliseconds);
}

void TTrayIcon::SetIcon(HICON icon) {
    icon_.reset(icon ? ::CopyIcon(icon) : nullptr);
    currentIcon_.reset(icon ? ::CopyIcon(icon) : nullptr);
    UpdateIcon();
}

void TTrayIcon::SetIconResource(int id) {
    iconResource_ = id;
    LoadIconForDpi(DpiOf(window_.get()));
}

void TTrayIcon::LoadIconForDpi(int dpi) {
    if (iconResource_ == 0) return;
    const int size = SystemMetricFor(SM_CXSMICON, dpi);
    const UniqueHicon icon = LoadNearestIcon(instance_, iconResource_, size);
    if (icon) SetIcon(icon.get());
}

void TTrayIcon::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    HICON source = icon_ ? icon_.get() : ::LoadIconW(instance_, MAKEINTRESOURCEW(1));
    currentIcon_.reset(source ? ::CopyIcon(source) : nullptr);
    UpdateIcon();
    if (visible_) {
        if (!AddWithRetry()) throw EOutOfResources(Tr(TextId::ErrorTrayAdd));
        added_ = true;
    } else {
        added_ = false;
        if (!NotifyChecked(NIM_DELETE))
            throw EOutOfResources(Tr(TextId::ErrorTrayRemove));
    }
}

bool TTrayIcon::AddWithRetry() {
    class Host final : public ITrayStartupHost {
    public:
        explicit Host(TTrayIcon& icon) : icon_(icon) {}
        // "TaskbarCreated" during a wait adds the icon in the handler. A
        // busy shell at logon may time an add out and still make the icon:
        // every later add then fails, and a change of it shows it is there.
        bool AddIcon() override {
            return icon_.added_ || icon_.NotifyChecked(NIM_ADD) || icon_.NotifyChecked(NIM_MODIFY);
        }
        std::uint64_t Now() override { return ::GetTickCount64(); }
        bool Wait(std::uint32_t ms) override {
            const ULONGLONG end = ::GetTickCount64() + ms;
            for (ULONGLONG now; !icon_.added_ && (now = ::GetTickCount64()) < end;) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now),
                                            QS_ALLINPUT);
                if (!Application().ProcessMessages()) return false;
            }
            return true;
        }

    private:
        TTrayIcon& icon_;
    } host(*this);
    return AddTrayIconAtStartup(host, kTrayRetryMs, AddRetryLimitMs);
}

void TTrayIcon::UseModernNotifications() noexcept {
    // A shell that refuses keeps sending the mouse messages alone, which
    // work as they always have.
    data_.uVersion = NOTIFYICON_VERSION_4;
    Notify(NIM_SETVERSION);
    data_.uTimeout = static_cast<UINT>(balloonTimeout_); // shares the field
}

void TTrayIcon::ShowBalloon() {
    data_.uFlags |= NIF_INFO;
    data_.dwInfoFlags = static_cast<DWORD>(balloonFlags_);
    NotifyChange();
    data_.uFlags &= ~NIF_INFO;
}

void TTrayIcon::RunPopup(POINT at, bool byKeyboard) {
    // Foreground first, so that the menu closes when the user clicks
    // elsewhere.
    ::SetForegroundWindow(Application().Handle());
    Application().ProcessMessages();
    const bool chosen = popupMenu_->Popup(at.x, at.y);
    // A mouse user who clicked elsewhere keeps the focus where they put it.
    if (!byKeyboard) return;
    // Opened by keyboard: the keyboard focus goes back to the icon, where
    // the user left it, and not to this program's invisible window; after a
    // chosen command only once it (and a window it opened) is done.
    MSG command;
    if (chosen && ::PeekMessageW(&command, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE)) ::DispatchMessageW(&command);
    Notify(NIM_SETFOCUS);
}

LRESULT TTrayIcon::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) return 1;
    if (message == WM_ENDSESSION) {
        if (wParam) {
            Notify(NIM_DELETE);
            added_ = false;
        }
        return 0;
    }
    if (message == TaskbarCreatedMessage()) {
        // A new taskbar may stand on a monitor of another DPI.
        LoadIconForDpi(DpiOf(window));
        if (visible_ && NotifyChecked(NIM_ADD)) {
            added_ = true;
            UseModernNotifications();
        }
        return 0;
    }
    if (message == WM_DPICHANGED) {
        LoadIconForDpi(HIWORD(wParam));
        return 0;
    }
    if (message != WM_TRAYNOTIFY) return 0; // no default processing
    // The event is the low word of lParam in both notification versions;
    // version 4 passes the icon's position in wParam.
    TrayEvent event = TrayEvent::Other;
    switch (LOWORD(lParam)) {
    case WM_LBUTTONDOWN: event = TrayEvent::LeftDown; break;
    case WM_LBUTTONUP: event = TrayEvent::LeftUp; break;
    case WM_RBUTTONUP: event = TrayEvent::RightUp; break;
    case NIN_SELECT: event = TrayEvent::Select; break;
    case NIN_KEYSELECT: event = TrayEvent::KeySelect; break;
    case WM_CONTEXTMENU: event = TrayEvent::ContextMenu; break;
    case NIN_BALLOONUSERCLICK:
        if (OnBalloonClick) OnBalloonClick();
        return 0;
    default: return 0;
    }
    // Decided before anything runs: a handler may open a modal dialog whose
    // loop delivers the rest of a double click.
    switch (actions_.On(event, ::GetTickCount64())) {
    case TrayAction::None: break;
    case TrayAction::Search:
        if (OnClick) OnClick();
        break;
    case TrayAction::MenuAtCursor: {
        POINT at{};
        ::GetCursorPos(&at);
        if (popupMenu_) RunPopup(at, false);
        break;
    }
    case TrayAction::MenuAtAnchor:
        if (popupMenu_) RunPopup({GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)}, true);
        break;
    }
    return 0;
}

UniqueHicon LoadNearestIcon(HINSTANCE instance, int resourceId, int size) {
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colorCount, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
    struct GroupHeader {
        WORD reserved, type, count;
    };
#pragma pack(pop)
    HRSRC group = ::FindResourceW(instance, MAKEINTRESOURCEW(resourceId), RT_GROUP_ICON);
    const auto* header =
        group ? static_cast<const GroupHeader*>(::LockResource(::LoadResource(instance, group)))
              : nullptr;
    if (!header || header->count == 0) return UniqueHicon();
    const auto* entries = reinterpret_cast<const GroupEntry*>(header + 1);

    std::vector<IconEntry> candidates;
    for (WORD i = 0; i < header->count; ++i)
        candidates.push_back({entries[i].width, entries[i].height,
                              IconColors(entries[i].colorCount, entries[i].bitCount)});
    ScopedWindowDc screen(nullptr);
    const int displayBits =
        ::GetDeviceCaps(screen.get(), BITSPIXEL) * ::GetDeviceCaps(screen.get(), PLANES);
    const std::size_t chosen =
        ChooseIconImage(candidates, size, size, IconColors(0, displayBits));

    const GroupEntry& e = entries[chosen];
    HRSRC image = ::FindResourceW(instance, MAKEINTRESOURCEW(e.id), RT_ICON);
    if (!image) return UniqueHicon();
    auto* bits = static_cast<BYTE*>(::LockResource(::LoadResource(instance, image)));
    const int w = e.width ? e.width : 256, h = e.height ? e.height : 256;
    return UniqueHicon(::CreateIconFromResourceEx(bits, ::SizeofResource(instance, image), TRUE,
                                                  0x00030000, w, h, LR_DEFAULTCOLOR));
}

} // namespace snq
