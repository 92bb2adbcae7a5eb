// The About window end to end.
#include <gtest/gtest.h>

#include "Probe.h"

using namespace probe;
using snq::MenuCommand;

namespace {

const std::wstring kTitle = L"Snapquery 1.5";

// The screen pixels of a window, as 0x00RRGGBB.
std::vector<COLORREF> Capture(HWND window, int& width, int& height) {
    RECT r{};
    ::GetWindowRect(window, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(::GetPixel(memory, x, y));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

int Brightness(COLORREF c) { return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3; }

class About : public ::testing::Test {
protected:
    void SetUp() override {
        recorder_ = InstallRecordingBrowser();
        program_ = std::make_unique<Program>();
        tray_ = program_->WaitForTray();
        ASSERT_NE(tray_, nullptr);
        ASSERT_TRUE(UseMenu(tray_, program_->Pid(), MenuCommand::About));
        about_ = WaitForWindow(program_->Pid(), kTitle);
        ASSERT_NE(about_, nullptr);
        ASSERT_EQ(ClassOf(about_), L"TAboutBox");
        Wait(300); // painted
    }
    void TearDown() override { program_.reset(); }
    std::wstring recorder_;
    std::unique_ptr<Program> program_;
    HWND tray_ = nullptr;
    HWND about_ = nullptr;
};

} // namespace

TEST_F(About, HasItsDesignSizeAndLayout) {
    RECT client{};
    ::GetClientRect(about_, &client);
    EXPECT_EQ(client.right, 298);
    EXPECT_EQ(client.bottom, 253);
    HWND panel = ChildOfClass(about_, L"TPanel");
    ASSERT_NE(panel, nullptr);
    RECT r{};
    ::GetWindowRect(panel, &r);
    ::MapWindowPoints(nullptr, about_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 9);
    EXPECT_EQ(r.top, 8);
    EXPECT_EQ(r.right - r.left, 281);
    EXPECT_EQ(r.bottom - r.top, 198);
    HWND image = ChildOfClass(panel, L"TImage");
    ASSERT_NE(image, nullptr);
    ::GetClientRect(image, &r);
    EXPECT_EQ(r.right, 145);
    EXPECT_EQ(r.bottom, 105);
    HWND title = ChildOfClass(panel, L"TShadowLabel");
    ASSERT_NE(title, nullptr);
    ::GetWindowRect(title, &r);
    ::MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 23);
    EXPECT_EQ(r.top, 1);
    EXPECT_GT(r.right - r.left, 100);
}

// The title's pixels: white text over a darker shadow that lies down and to
// the right of it, on the face colour.
void ExpectShadowedTitle(HWND about) {
    HWND title = ChildOfClass(ChildOfClass(about, L"TPanel"), L"TShadowLabel");
    ASSERT_NE(title, nullptr);
    int w = 0, h = 0;
    const auto pixels = Capture(title, w, h);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * w + x)]; };
    long whites = 0, darks = 0, shadowBelowRight = 0, shadowAboveLeft = 0;
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x) {
            if (Brightness(at(x, y)) < 110) ++darks;
            if (Brightness(at(x, y)) < 245) continue;
            ++whites;
            // The text's edges: is the shadow beside it down-right or up-left?
            if (Brightness(at(x + 1, y + 1)) < 140) ++shadowBelowRight;
            if (Brightness(at(x - 1, y - 1)) < 140) ++shadowAboveLeft;
        }
    ASSERT_GT(whites, 40) << "white text pixels";
    ASSERT_GT(darks, 40) << "shadow pixels";
    EXPECT_GT(shadowBelowRight, 2 * shadowAboveLeft);
    // Around it, the face colour (mixed with a zero mask, so 255/256 of it).
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_NEAR(Brightness(at(0, 0)), Brightness(face), 2);
}

TEST_F(About, TheTitleIsWhiteOverADarkerShadowDownAndRight) { ExpectShadowedTitle(about_); }

TEST_F(About, EnterClosesItAndTheSameWindowShowsAgain) {
    HWND ok = ChildOfClass(about_, L"Button");
    ASSERT_NE(ok, nullptr);
    ::PostMessageW(ok, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitGone(about_));
    EXPECT_TRUE(program_->Running());
    ASSERT_TRUE(UseMenu(tray_, program_->Pid(), MenuCommand::About));
    EXPECT_EQ(WaitForWindow(program_->Pid(), kTitle), about_);
    PressButton(about_, L"OK");
}

TEST_F(About, AnOkCommandSentFromAnotherProgramClosesItAtOnce) {
    // Nothing else to wake its loop: no message left in its queue, and no
    // mouse over it (whose tracking sets a timer).
    ::SetCursorPos(0, 0);
    Wait(500);
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(about_, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 3000, &ignored));
    EXPECT_TRUE(WaitGone(about_, 1000));
    // And it shows again as usual.
    ASSERT_TRUE(UseMenu(tray_, program_->Pid(), MenuCommand::About));
    EXPECT_EQ(WaitForWindow(program_->Pid(), kTitle), about_);
    PressButton(about_, L"OK");
}

TEST_F(About, ClickingTheAddressOpensTheHintsFullAddress) {
    HWND panel = ChildOfClass(about_, L"TPanel");
    // The address label is the one at (80, 67).
    HWND label = ::ChildWindowFromPoint(panel, POINT{85, 70});
    ASSERT_NE(label, panel);
    ::PostMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    ::PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    const auto lines = WaitForLines(BrowserLogPath(), 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], L"\"" + recorder_ + L"\" \"http://www.varnel.example\"");
    EXPECT_TRUE(::IsWindowVisible(about_)) << "the window stays open";
    // The picture opens the same address.
    HWND image = ChildOfClass(panel, L"TImage");
    ::PostMessageW(image, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(image, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(WaitForLines(BrowserLogPath(), 2).size(), 2u);
    PressButton(about_, L"OK");
}

TEST_F(About, ItOpensOnOkAndTabThenEnterOpensTheAddress) {
    EXPECT_EQ(FocusedControl(about_), IDOK);
    PressKeys({}, VK_TAB);
    Wait(200);
    GUITHREADINFO info{sizeof(info)};
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(about_, nullptr), &info);
    EXPECT_EQ(ClassOf(info.hwndFocus), L"TSkinLabel");
    EXPECT_EQ(TitleOf(info.hwndFocus), L"www.varnel.example") << "its name";
    PressKeys({}, VK_RETURN);
    EXPECT_EQ(WaitForLines(BrowserLogPath(), 1).size(), 1u);
    EXPECT_TRUE(::IsWindowVisible(about_)) << "Enter opened the address, not OK";
    PressButton(about_, L"OK");
}

TEST_F(About, HoveringTheAddressTurnsItBlueAndLeavingTurnsItBlack) {
    HWND panel = ChildOfClass(about_, L"TPanel");
    HWND label = ::ChildWindowFromPoint(panel, POINT{85, 70});
    ASSERT_NE(label, panel);
    auto inks = [&] {
        int w = 0, h = 0;
        const auto pixels = Capture(label, w, h);
        int blue = 0, dark = 0;
        for (COLORREF c : pixels) {
            if (GetBValue(c) > 150 && GetRValue(c) < 100 && GetGValue(c) < 100) ++blue;
            if (Brightness(c) < 90) ++dark;
        }
        return std::pair{blue, dark};
    };
    EXPECT_EQ(inks().first, 0);
    ::PostMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    Wait(400);
    const auto hovered = inks();
    EXPECT_GT(hovered.first, 10) << "blue text while hovered";
    ::PostMessageW(label, WM_MOUSELEAVE, 0, 0);
    Wait(400);
    const auto left = inks();
    EXPECT_EQ(left.first, 0);
    EXPECT_GT(left.second, 10) << "black text after leaving";
    PressButton(about_, L"OK");
}

namespace {

RECT ClientRectIn(HWND window, HWND parent) {
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE ClientSize(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// The program at a DPI set in the prefix, the classic message dialog (no
// visual styles) and the sizes that depend on the DPI.
struct Sizes {
    SIZE about{}, panel{}, picture{}, button{}, settings{}, message{};
    POINT panelAt{};
};

Sizes MeasureAt(DWORD dpi) {
    const std::wstring desktop = L"HKCU\\Control Panel\\Desktop";
    const std::wstring themes = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
    RegSet(desktop, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
    RegSetText(themes, L"ThemeActive", L"0");
    Sizes sizes;
    {
        Program program;
        HWND tray = program.WaitForTray();
        EXPECT_NE(tray, nullptr);
        ::SetCursorPos(0, 0);
        EXPECT_TRUE(UseMenu(tray, program.Pid(), MenuCommand::About));
        HWND about = WaitForWindow(program.Pid(), kTitle);
        EXPECT_NE(about, nullptr);
        if (about) {
            Wait(300);
            HWND panel = ChildOfClass(about, L"TPanel");
            const RECT p = ClientRectIn(panel, about);
            sizes.about = ClientSize(about);
            sizes.panelAt = {p.left, p.top};
            sizes.panel = {p.right - p.left, p.bottom - p.top};
            sizes.picture = ClientSize(ChildOfClass(panel, L"TImage"));
            sizes.button = ClientSize(ChildOfClass(about, L"Button"));
            ExpectShadowedTitle(about);
            PressButton(about, L"OK");
            WaitGone(about);
        }
        EXPECT_TRUE(UseMenu(tray, program.Pid(), MenuCommand::Settings));
        if (HWND settings = WaitForWindow(program.Pid(), L"Snapquery Settings")) {
            sizes.settings = ClientSize(settings);
            PressButton(settings, L"Cancel");
            WaitGone(settings);
        }
        SetClipboardText(L"dpi");
        EXPECT_TRUE(UseMenu(tray, program.Pid(), MenuCommand::ShowClipboard));
        if (HWND message = WaitForWindow(program.Pid(), kTitle, L"Current clipboard text: dpi")) {
            sizes.message = ClientSize(message);
            PressButton(message, L"OK");
            WaitGone(message);
        }
    }
    const DWORD normal = 96;
    RegSet(desktop, L"LogPixels", REG_DWORD, &normal, sizeof(normal));
    RegDelete(themes, L"ThemeActive");
    return sizes;
}

} // namespace

TEST(HighDpi, EveryWindowGrowsWithTheDpiAndStaysTheSameAtNinetySix) {
    InstallRecordingBrowser();
    const Sizes normal = MeasureAt(96);
    EXPECT_EQ(normal.about.cx, 298);
    EXPECT_EQ(normal.about.cy, 253);
    EXPECT_EQ(normal.panel.cx, 281);
    EXPECT_EQ(normal.picture.cx, 145);
    EXPECT_EQ(normal.button.cx, 75);
    EXPECT_EQ(normal.settings.cx, 420);
    EXPECT_EQ(normal.settings.cy, 508);

    const Sizes large = MeasureAt(144); // 150 %
    auto grows = [](LONG small, LONG big) { EXPECT_NEAR(big, small * 3 / 2.0, 1.0) << small; };
    grows(normal.about.cx, large.about.cx);
    grows(normal.about.cy, large.about.cy);
    grows(normal.panelAt.x, large.panelAt.x);
    grows(normal.panelAt.y, large.panelAt.y);
    grows(normal.panel.cx, large.panel.cx);
    grows(normal.panel.cy, large.panel.cy);
    grows(normal.picture.cx, large.picture.cx);
    grows(normal.picture.cy, large.picture.cy);
    grows(normal.button.cx, large.button.cx);
    grows(normal.button.cy, large.button.cy);
    grows(normal.settings.cx, large.settings.cx);
    grows(normal.settings.cy, large.settings.cy);
    // The classic message dialog follows its font, which grows about as
    // much.
    ASSERT_GT(normal.message.cx, 0);
    EXPECT_NEAR(static_cast<double>(large.message.cx) / normal.message.cx, 1.5, 0.12);
    EXPECT_NEAR(static_cast<double>(large.message.cy) / normal.message.cy, 1.5, 0.12);
}
