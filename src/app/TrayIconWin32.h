#pragma once
// The notification-area icon: its notify-icon record, its hidden message
// window and the mouse messages that the shell sends to it.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/TrayActions.h"
#include "framework/WindowWin32.h"

namespace snq {

class TPopupMenu;

enum class TBalloonFlags { bfNone, bfInfo, bfWarning, bfError };

// The shell's callback message for the icon.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;

class TTrayIcon final : private IWindowHandler {
public:
    // Sets the defaults, creates the message window and fills the record;
    // the tip starts as the application's title. `instance` holds the icon
    // shown when none is set.
    TTrayIcon(HINSTANCE instance, std::wstring_view title);
    // Removes the icon (result ignored) and releases what it holds.
    ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    const std::wstring& Hint() const noexcept { return hint_; }
    void SetHint(const std::wstring& hint);
    void SetBalloonHint(const std::wstring& text);
    void SetBalloonTitle(const std::wstring& text);
    void SetBalloonTimeout(int milliseconds);
    void SetBalloonFlags(TBalloonFlags flags) { balloonFlags_ = flags; }
    // Takes a copy of the icon.
    void SetIcon(HICON icon);
    // The icon of the executable's icon resource `id`, in its image that
    // fits the notification area at the current DPI; made again when the
    // DPI or the taskbar changes.
    void SetIconResource(int id);
    void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }
    bool Visible() const noexcept { return visible_; }
    // Adds (true) or removes (false) the icon. Raises EOutOfResources when
    // the shell refuses (for adding: for longer than AddRetryLimitMs).
    void SetVisible(bool visible);
    // How long adding keeps trying while the shell refuses the icon (the
    // notification area may not exist yet at logon); 0: one attempt.
    std::uint32_t AddRetryLimitMs = 0;
    // Shows the balloon once, with its text, title, flags and timeout as
    // set; the icon's later changes do not show it again.
    void ShowBalloon();

    // A click, or Enter or Space on the icon.
    std::function<void()> OnClick;
    // The user clicked the balloon.
    std::function<void()> OnBalloonClick;

    // Asks the shell for the modern notifications (keyboard selection, the
    // menu key, the icon's position) for the icon added. Asked again by
    // itself when a new shell adds the icon again; after the first add, by
    // the owner, which may wait for a quiet moment: until then the shell
    // sends the mouse messages alone, which work as they always have.
    void UseModernNotifications() noexcept;

    HWND Handle() const noexcept { return window_.get(); }
    const NOTIFYICONDATAW& Data() const noexcept { return data_; }

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void UpdateIcon();
    void Notify(DWORD message) noexcept;
    // A change for the shell: sent only once the icon has been added (before
    // that the shell knows no such icon and NIM_ADD carries the record).
    void NotifyChange() noexcept;
    bool NotifyChecked(DWORD message) noexcept;
    bool AddWithRetry();
    void LoadIconForDpi(int dpi);
    void RunPopup(POINT at, bool byKeyboard);

    HINSTANCE instance_;
    UniqueHwnd window_;
    NOTIFYICONDATAW data_{};
    std::wstring hint_, balloonHint_, balloonTitle_;
    int balloonTimeout_ = 3000;
    TBalloonFlags balloonFlags_ = TBalloonFlags::bfNone;
    UniqueHicon icon_;        // the configured icon
    UniqueHicon currentIcon_; // the one the shell receives
    TPopupMenu* popupMenu_ = nullptr;
    int iconResource_ = 0;
    bool visible_ = false;
    bool added_ = false;
    TrayActions actions_;
};

// The image of icon resource `resourceId` nearest `size` pixels square.
UniqueHicon LoadNearestIcon(HINSTANCE instance, int resourceId, int size);

} // namespace snq
