#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "app/MainTexts.h"
#include "app/PopupMenuWin32.h"
#include "app/TrayIconWin32.h"
#include "framework/DpiWin32.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"

using namespace snq;

namespace {

bool IconExists(HWND window) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = NOTIFYICONDATAW_V2_SIZE;
    probe.hWnd = window;
    probe.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(window));
    return ::Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

void Tray(HWND window, UINT mouse) { ::SendMessageW(window, WM_TRAYNOTIFY, 0, mouse); }

// Runs `check` when `window` receives WM_DESTROY: what a component cleaned
// up before its window went. (The system frees a window's icon and hotkeys
// with the window itself, so afterwards nothing tells.)
class OnDestroy {
public:
    OnDestroy(HWND window, std::function<void(HWND)> check) : window_(window) {
        current_ = this;
        check_ = std::move(check);
        previous_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
            window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OnDestroy::Proc)));
    }
    ~OnDestroy() { current_ = nullptr; }
    bool ran = false;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        OnDestroy* self = current_;
        if (self && message == WM_DESTROY && window == self->window_) {
            self->ran = true;
            self->check_(window);
        }
        return ::CallWindowProcW(self ? self->previous_ : ::DefWindowProcW, window, message, wParam,
                                 lParam);
    }
    static inline OnDestroy* current_ = nullptr;
    HWND window_;
    std::function<void(HWND)> check_;
    WNDPROC previous_ = nullptr;
};

} // namespace

TEST(TrayIcon, StartsWithTheRecordTheShellExpectsAndTheTitleAsTip) {
    TTrayIcon icon(::GetModuleHandleW(nullptr), L"Snapquery 1.5");
    const NOTIFYICONDATAW& d = icon.Data();
    EXPECT_EQ(d.cbSize, sizeof(NOTIFYICONDATAW)) << "version 4's fields";
    EXPECT_EQ(d.hWnd, icon.Handle());
    EXPECT_EQ(d.uID, static_cast<UINT>(reinterpret_cast<UINT_PTR>(icon.Handle())));
    EXPECT_EQ(d.uFlags, static_cast<UINT>(NIF_ICON | NIF_MESSAGE | NIF_TIP | NIF_SHOWTIP)) << "a hidden tip";
    EXPECT_EQ(d.uCallbackMessage, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(d.uTimeout, 3000u);
    EXPECT_STREQ(d.szTip, L"Snapquery 1.5");
    EXPECT_FALSE(icon.Visible());
    EXPECT_FALSE(IconExists(icon.Handle()));
    wchar_t cls[64] = {};
    ::GetClassNameW(icon.Handle(), cls, 64);
    EXPECT_STREQ(cls, L"TPUtilWindow");
    EXPECT_EQ(::GetWindowLongPtrW(icon.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
}

TEST(TrayIcon, HintIsCutTo127CharactersAndAnEmptyHintDropsTheTip) {
    TTrayIcon icon(::GetModuleHandleW(nullptr), L"Snapquery 1.5");
    const std::wstring hint = ToWide(TrayHint(u"Ctrl+G", false, SearchTarget(u"")));
    icon.SetHint(hint);
    EXPECT_EQ(std::wstring(icon.Data().szTip), hint); // whole, with its line breaks
    const std::wstring longHint(200, L'h');
    icon.SetHint(longHint);
    EXPECT_EQ(std::wstring(icon.Data().szTip), longHint.substr(0, 127));
    icon.SetHint(L"");
    EXPECT_EQ(icon.Data().uFlags & NIF_TIP, 0u);
    EXPECT_STREQ(icon.Data().szTip, L"");
}

TEST(TrayIcon, BalloonFieldsAreStoredButNeverShown) {
    TTrayIcon icon(::GetModuleHandleW(nullptr), L"Snapquery 1.5");
    icon.SetBalloonHint(std::wstring(300, L'b'));
    icon.SetBalloonTitle(std::wstring(100, L't'));
    icon.SetBalloonTimeout(3500);
    EXPECT_EQ(std::wstring(icon.Data().szInfo).size(), 255u);
    EXPECT_EQ(std::wstring(icon.Data().szInfoTitle).size(), 63u);
    EXPECT_EQ(icon.Data().uTimeout, 3500u);
    EXPECT_EQ(icon.Data().uFlags & NIF_INFO, 0u);
}

TEST(TrayIcon, VisibleAddsAndRemovesTheIconAndDestructionRemovesIt) {
    HWND window = nullptr;
    std::optional<OnDestroy> watch;
    {
        TTrayIcon icon(::GetModuleHandleW(nullptr), L"Snapquery 1.5");
        window = icon.Handle();
        icon.SetIcon(::LoadIconW(nullptr, IDI_APPLICATION));
        icon.SetVisible(true);
        EXPECT_TRUE(IconExists(window));
        icon.SetVisible(false);
        EXPECT_FALSE(IconExists(window));
        icon.SetVisible(true);
        EXPECT_TRUE(IconExists(window));
        watch.emplace(window, [](HWND w) { EXPECT_FALSE(IconExists(w)) << "removed first"; });
    }
    EXPECT_TRUE(watch->ran);
    EXPECT_FALSE(IconExists(window));
}

TEST(TrayIcon, AnAddThatTimedOutButMadeTheIconCountsAsAdded) {
    TTrayIcon icon(::GetModuleHandleW(nullptr), L"Snapquery 1.5");
    icon.SetIcon(::LoadIconW(nullptr, IDI_APPLICATION));
    NOTIFYICONDATAW data = icon.Data();
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_ADD, &data)); // the add a busy shell timed out
    ASSERT_FALSE(::Shell_NotifyIconW(NIM_ADD, &data)) << "a second add fails";
    EXPECT_NO_THROW(icon.SetVisible(true));
    EXPECT_TRUE(IconExists(icon.Handle()));
}

TEST(TrayIcon, ComesBackAfterTheTaskbarIsRecreatedAndGoesAtSessionEnd) {
    TTrayIcon icon(::GetModuleHandleW(nullptr), L"Snapquery 1.5");
    icon.SetVisible(true);
    NOTIFYICONDATAW data = icon.Data();
    ::Shell_NotifyIconW(NIM_DELETE, &data); // as if the shell had restarted
    ASSERT_FALSE(IconExists(icon.Handle()));
    ::SendMessageW(icon.Handle(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(IconExists(icon.Handle()));
    EXPECT_EQ(::SendMessageW(icon.Handle(), WM_QUERYENDSESSION, 0, 0), 1);
    ::SendMessageW(icon.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IconExists(icon.Handle()));
}

TEST(TrayIcon, AClickNeedsItsButtonDownAndADoubleClickClicksOnce) {
    TTrayIcon icon(::GetModuleHandleW(nullptr), L"Snapquery 1.5");
    int clicks = 0;
    icon.OnClick = [&] { ++clicks; };
    Tray(icon.Handle(), WM_LBUTTONUP);
    EXPECT_EQ(clicks, 0);
    Tray(icon.Handle(), WM_LBUTTONDOWN);
    Tray(icon.Handle(), WM_LBUTTONUP);
    EXPECT_EQ(clicks, 1);
    Tray(icon.Handle(), WM_LBUTTONDOWN);
    Tray(icon.Handle(), WM_LBUTTONUP);
    Tray(icon.Handle(), WM_LBUTTONDBLCLK);
    Tray(icon.Handle(), WM_LBUTTONUP);
    EXPECT_EQ(clicks, 2);
    // The right button never clicks.
    Tray(icon.Handle(), WM_RBUTTONDOWN);
    Tray(icon.Handle(), WM_RBUTTONUP);
    EXPECT_EQ(clicks, 2);
}

TEST(PopupMenu, BuildsTheTwelveItemsWithSeparatorsAndMarks) {
    const std::wstring expected[] = {L"&Use Default Browser", L"Auto &Run at Startup", L"-",
                                     L"S&how clipboard text", L"&Clear Clipboard", L"-",
                                     L"&Snapquery (CTRL+G)", L"-", L"S&ettings...", L"&About SNQ",
                                     L"-", L"E&xit SNQ"};
    TPopupMenu menu;
    for (const MenuCommand command : kMenu) {
        TMenuItem& item = menu.Items.emplace_back();
        item.Caption = ToWide(MenuCaption(command));
        // Without profiles, as the program makes it.
        item.Visible = command != MenuCommand::SearchWith;
    }
    menu.Items[MenuIndexOf(MenuCommand::AutoRun)].Checked = true;
    HMENU handle = menu.Rebuild();
    ASSERT_EQ(::GetMenuItemCount(handle), 12);
    for (int i = 0; i < 12; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        ::GetMenuItemInfoW(handle, i, TRUE, &info);
        if (expected[i] == L"-") {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << i;
            continue;
        }
        wchar_t text[64] = {};
        ::GetMenuStringW(handle, i, text, 64, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(text), expected[i]);
        EXPECT_EQ((info.fState & MFS_CHECKED) != 0, i == 1) << i;
        EXPECT_EQ(info.fState & MFS_DEFAULT, 0u);
    }
}

TEST(PopupMenu, ACommandRunsItsItemAlsoInASubmenuAndHiddenItemsAreLeftOut) {
    TPopupMenu menu;
    std::vector<int> ran;
    for (int i = 0; i < 4; ++i) {
        TMenuItem& item = menu.Items.emplace_back();
        item.Caption = L"item";
        item.OnClick = [&ran, i] { ran.push_back(i); };
        item.Visible = i != 1;
    }
    for (int i = 10; i < 12; ++i) {
        TMenuItem& sub = menu.Items[2].Items.emplace_back();
        sub.Caption = L"Wikipedia\tCtrl+Alt+W";
        sub.OnClick = [&ran, i] { ran.push_back(i); };
    }
    HMENU handle = menu.Rebuild();
    ASSERT_EQ(::GetMenuItemCount(handle), 3);
    ASSERT_EQ(::GetMenuItemCount(::GetSubMenu(handle, 1)), 2);
    // Commands count from 1: item 0, the submenu's two, item 3.
    for (WPARAM command : {1, 3, 4, 99}) ::SendMessageW(menu.WindowHandle(), WM_COMMAND, command, 0);
    EXPECT_EQ(ran, (std::vector<int>{0, 11, 3}));
}

TEST(UtilityWindows, AWindowThatCannotBeMadeRaisesAnErrorNamingIt) {
    struct Refuser final : IWindowHandler {
        LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_CREATE) return -1;
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
    } refuser;
    try {
        CreateBoundWindow(L"SnqRefusedWindow", 0, WS_POPUP, L"", refuser);
        ADD_FAILURE() << "no error";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.Message().rfind(u"Cannot create a window of class SnqRefusedWindow", 0), 0u)
            << std::string(e.Message().begin(), e.Message().end());
    }
}

namespace {
// The program's own executable, for its icon resource.
struct ProgramImage {
    HMODULE module = [] {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring p(path);
        p = p.substr(0, p.find_last_of(L"\\/") + 1) + L"snapquery.exe";
        return ::LoadLibraryExW(p.c_str(), nullptr,
                                LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
    }();
    ~ProgramImage() { ::FreeLibrary(module); }
};

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}
} // namespace

TEST(TrayIcon, TakesTheImageThatFitsTheNotificationAreaAtItsDpi) {
    ProgramImage program;
    ASSERT_NE(program.module, nullptr);
    TTrayIcon icon(program.module, L"Snapquery 1.5");
    icon.SetIconResource(1);
    icon.SetVisible(true);
    EXPECT_EQ(IconWidth(icon.Data().hIcon), SystemMetricFor(SM_CXSMICON, DpiOf(icon.Handle())));
    // Moved to a monitor at 150 % (or that monitor's scaling changed).
    RECT suggested{0, 0, 0, 0};
    ::SendMessageW(icon.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    const int large = SystemMetricFor(SM_CXSMICON, 144);
    EXPECT_GT(large, 16);
    EXPECT_EQ(IconWidth(icon.Data().hIcon), large);
    EXPECT_TRUE(IconExists(icon.Handle()));
}
