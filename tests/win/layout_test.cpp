// Every window in every language (the pseudo-language too, whose texts are
// about 40 % longer), with the message font as it is, 1.5 and 2 times as
// large: no text is wider than the control that shows it, and
// the About window's labels stay inside its panel, apart. And the string
// tables hold the translations as written.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "about/AboutWin32.h"
#include "app/ProfileFormWin32.h"
#include "app/SettingsFormWin32.h"
#include "framework/TextsWin32.h"
#include "hotkeys/KeyboardLayoutWin32.h"
#include "settings/RegistryWin32.h"
#include "support/TableTexts.h"

using namespace snq;

namespace {

std::function<void()> g_whileShown;

// Runs `check` once the modal form shows, then closes it.
void WhileShown(TCustomForm& form, std::function<void()> check) {
    g_whileShown = [&form, check] {
        check();
        ::PostMessageW(form.Handle(), WM_COMMAND, IDCANCEL, 0);
    };
    ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        if (auto run = std::exchange(g_whileShown, nullptr)) run();
    });
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

// The size `text` takes in the control's own font: on one line, or (with
// `wrapAt`) broken into lines that wide.
SIZE TextSize(HWND control, const std::wstring& text, HFONT font, int wrapAt = 0) {
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, font);
    RECT r{0, 0, wrapAt, 0};
    ::DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | (wrapAt ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return {r.right - r.left, r.bottom - r.top};
}

bool Inside(const RECT& inner, const RECT& outer);

// Whether Windows' rule names the box: the static text (or group box)
// right before it, unless a tab stop comes between.
bool Labelled(HWND box) {
    for (HWND w = ::GetWindow(box, GW_HWNDPREV); w; w = ::GetWindow(w, GW_HWNDPREV)) {
        wchar_t cls[32] = {};
        const auto style = ::GetWindowLongPtrW(w, GWL_STYLE);
        if ((::GetClassNameW(w, cls, 32), std::wstring_view(cls) == L"Static") || (style & BS_TYPEMASK) == BS_GROUPBOX)
            return !TextOf(w).empty();
        if (style & WS_TABSTOP) return false;
    }
    return false;
}

// What does not fit in the form's controls (or the form): "<text>: <width>
// for <room>"; and the boxes without a label.
std::vector<std::wstring> Clipped(HWND form) {
    std::vector<std::wstring> clipped;
    RECT client{}, placed{};
    ::GetClientRect(form, &client);
    for (HWND c = ::GetWindow(form, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        ::GetWindowRect(c, &placed);
        ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&placed), 2);
        if (::IsWindowVisible(c) && !Inside(placed, client)) clipped.push_back(L"outside the window: " + TextOf(c));
        wchar_t cls[32] = {};
        ::GetClassNameW(c, cls, 32);
        const std::wstring kind = cls;
        if (std::wstring_view(L"Edit ComboBox ListBox msctls_hotkey32").find(kind) != std::wstring_view::npos &&
            !Labelled(c))
            clipped.push_back(L"no label: " + std::to_wstring(::GetDlgCtrlID(c)));
        RECT r{};
        ::GetClientRect(c, &r);
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(c, GWL_STYLE));
        std::wstring text = TextOf(c);
        int room = r.right;
        if (kind == L"Button") {
            const DWORD type = style & BS_TYPEMASK;
            if (type == BS_GROUPBOX)
                room -= 2 * ::GetSystemMetrics(SM_CXEDGE) + 12;
            else if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON)
                room -= ::GetSystemMetrics(SM_CXMENUCHECK) + 4;
            else
                room -= 2 * ::GetSystemMetrics(SM_CXEDGE) + 4;
        } else if (kind == L"ComboBox") {
            room -= ::GetSystemMetrics(SM_CXVSCROLL) + 6;
        } else if (kind != L"Static" || r.right == 0) {
            continue; // (a label of no size only names the box after it)
        }
        const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(c, WM_GETFONT, 0, 0));
        // A label wraps its words (and must not need more lines than it has).
        const bool wraps = kind == L"Static" && !(style & SS_LEFTNOWORDWRAP);
        const SIZE size = TextSize(c, text, font, wraps ? room : 0);
        if (!text.empty() && (size.cx > room || (wraps && size.cy > r.bottom)))
            clipped.push_back(text + L": " + std::to_wstring(size.cx) + L"x" + std::to_wstring(size.cy) + L" for " +
                              std::to_wstring(room) + L"x" + std::to_wstring(r.bottom));
    }
    return clipped;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The About window's four labels.
std::array<TSkinCustomLabel*, 4> Labels(TAboutBox& about) {
    return {about.ShadowLabel1.get(), about.SkinLabel1.get(), about.Copyright.get(), about.Comments.get()};
}

class Layout : public ::testing::TestWithParam<std::tuple<UiLanguage, int>> {
protected:
    void SetUp() override {
        UseTexts(&texts_, std::get<0>(GetParam()).id);
        metrics_.cbSize = sizeof(metrics_);
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics_), &metrics_, 0);
        NONCLIENTMETRICSW larger = metrics_;
        larger.lfMessageFont.lfHeight = larger.lfMessageFont.lfHeight * std::get<1>(GetParam()) / 100;
        ASSERT_TRUE(::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(larger), &larger, 0));
    }
    void TearDown() override {
        UseTexts(&texts_, kEnglishLanguage);
        ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics_), &metrics_, 0);
    }
    NONCLIENTMETRICSW metrics_{};
    ResourceTexts texts_;
    Win32KeyboardLayout keyboard_;
    THotKeyText keys_{keyboard_};
};

} // namespace

TEST_P(Layout, TheSettingsAndProfileWindowsShowEveryTextWhole) {
    UserChoices choices;
    const std::u16string_view tag = std::get<0>(GetParam()).tag;
    choices.language = tag == u"en" ? u"" : tag;
    choices.profiles = {{u"Wikipedia", u"https://w.example/?q={query}", 0xC057}};
    Win32Registry registry;
    TSettingsForm settings(keys_, {}, registry);
    settings.OnLoad = [&] { return choices; };
    std::vector<std::wstring> clipped;
    WhileShown(settings, [&] { clipped = Clipped(settings.Handle()); });
    settings.ShowModal();
    EXPECT_EQ(clipped, std::vector<std::wstring>{}) << "Settings";

    TProfileForm profile(keys_, 2048, registry);
    WhileShown(profile, [&] { clipped = Clipped(profile.Handle()); });
    profile.Edit(choices, 0, {});
    EXPECT_EQ(clipped, std::vector<std::wstring>{}) << "Search profile";
}

TEST_P(Layout, TheAboutWindowsLabelsStayInsideItsPanelApart) {
    TAboutBox about;
    std::vector<std::wstring> problems;
    WhileShown(about, [&] {
        RECT panel{};
        ::GetClientRect(about.Panel1->Handle(), &panel);
        std::vector<RECT> placed;
        for (TSkinCustomLabel* label : Labels(about)) {
            RECT r{};
            ::GetWindowRect(label->Handle(), &r);
            ::MapWindowPoints(nullptr, about.Panel1->Handle(), reinterpret_cast<POINT*>(&r), 2);
            // The text as the label draws it, measured.
            UniqueHfont font = label->Font().Create(about.Dpi());
            RECT text{0, 0, label->WordWrap ? r.right - r.left : 0, 0};
            HDC dc = ::GetDC(label->Handle());
            HGDIOBJ old = ::SelectObject(dc, font.get());
            ::DrawTextW(dc, label->Caption().c_str(), -1, &text,
                        DT_CALCRECT | (label->WordWrap ? DT_WORDBREAK : DT_SINGLELINE));
            ::SelectObject(dc, old);
            ::ReleaseDC(label->Handle(), dc);
            if (text.right > r.right - r.left || text.bottom > r.bottom - r.top)
                problems.push_back(label->Caption() + L": clipped");
            if (!Inside(r, panel)) problems.push_back(label->Caption() + L": outside the panel");
            for (const RECT& other : placed) {
                RECT both{};
                if (::IntersectRect(&both, &r, &other)) problems.push_back(label->Caption() + L": overlaps");
            }
            placed.push_back(r);
        }
    });
    about.ShowModal();
    EXPECT_EQ(problems, std::vector<std::wstring>{});
}

// The contrast ratio of two colours, as the accessibility guidelines
// define it.
double Contrast(COLORREF a, COLORREF b) {
    auto luminance = [](COLORREF c) {
        double sum = 0;
        for (auto [v, weight] : {std::pair{GetRValue(c), 0.2126}, {GetGValue(c), 0.7152}, {GetBValue(c), 0.0722}})
            sum += weight * (v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4));
        return sum + 0.05;
    };
    return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
}

// In a black and in a white high-contrast scheme (window, window text,
// link, face, button text), every text of the About window stands out:
// a good many of its pixels at 4.5:1 or more against its background.
TEST(AboutInHighContrast, EveryTextStandsOutInABlackAndAWhiteScheme) {
    const int elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HOTLIGHT, COLOR_BTNFACE, COLOR_BTNTEXT};
    COLORREF saved[5], schemes[2][5] = {{0, 0xFFFFFF, 0x00FFFF, 0, 0xFFFFFF}, {0xFFFFFF, 0, 0x9F0000, 0xFFFFFF, 0}};
    for (int i = 0; i < 5; ++i) saved[i] = ::GetSysColor(elements[i]);
    for (const COLORREF* scheme : schemes) {
        ASSERT_TRUE(::SetSysColors(5, elements, scheme));
        TAboutBox about([] { return true; });
        std::vector<std::wstring> faint;
        WhileShown(about, [&] {
            ::RedrawWindow(about.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            HDC screen = ::GetDC(nullptr);
            for (TSkinCustomLabel* label : Labels(about)) {
                RECT r{};
                ::GetWindowRect(label->Handle(), &r);
                int clear = 0;
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x)
                        clear += Contrast(::GetPixel(screen, x, y), ::GetPixel(screen, r.left, r.top)) >= 4.5;
                if (clear < 20) faint.push_back(label->Caption());
            }
            ::ReleaseDC(nullptr, screen);
        });
        about.ShowModal();
        EXPECT_EQ(faint, std::vector<std::wstring>{}) << (scheme[0] ? "white" : "black");
    }
    ::SetSysColors(5, elements, saved);
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, Layout,
                         ::testing::Combine(::testing::ValuesIn(kUiLanguages), ::testing::Values(100, 150, 200)),
                         [](const ::testing::TestParamInfo<std::tuple<UiLanguage, int>>& info) {
                             std::string name;
                             for (char16_t c : std::get<0>(info.param).tag)
                                 if (c != u'-') name += static_cast<char>(c);
                             return name + "_" + std::to_string(std::get<1>(info.param));
                         });

// The string tables as built by the resource compiler hold every language's
// texts exactly as the translations give them: each script survives the
// compiler's character conversion.
TEST(StringTables, HoldEveryTranslationAsWritten) {
    ResourceTexts texts;
    for (const snq::testing::TestLanguage& expected : snq::testing::TestLanguages()) {
        const UiLanguage* language = ShippedLanguage(expected.tag);
        ASSERT_NE(language, nullptr);
        for (std::size_t i = 0; i < expected.texts.size(); ++i)
            EXPECT_EQ(texts.Load(language->id, static_cast<TextId>(i + 1)), expected.texts[i] ? expected.texts[i] : u"")
                << std::string(expected.tag.begin(), expected.tag.end()) << " " << i + 1;
    }
}
