#include <gtest/gtest.h>

#include <windows.h>

#include "framework/SystemErrorWin32.h"
#include "framework/Text.h"
#include "framework/Win32Handles.h"
#include "search/BrowserLaunchWin32.h"
#include "search/SelectionCopyWin32.h"
#include "search/SysLocaleWin32.h"

using namespace snq;

TEST(LocaleSource, ReadsTheEnglishLanguageNameOfALocale) {
    Win32LocaleSource source;
    EXPECT_EQ(source.Info(0x0407, 0x1001), u"German");
    EXPECT_EQ(source.Info(0x0409, 0x1001), u"English");
    EXPECT_EQ(source.Info(0x0409, 0x7FFF), std::nullopt);
    // The component over the real source, for the thread's locale.
    TSysLocale locale(source);
    locale.Refresh();
    EXPECT_FALSE(locale.Locale().LanguageEnglish().empty());
    const std::u16string clock = locale.Locale().Get(LocaleItem::ClockMode);
    EXPECT_TRUE(clock == u"12" || clock == u"24");
    ::SetThreadLocale(0x0407);
    locale.Refresh();
    EXPECT_EQ(locale.Locale().LanguageEnglish(), u"German");
    EXPECT_EQ(locale.Locale().Get(LocaleItem::ShortDateOrder), u"DMY");
    ::SetThreadLocale(0x0409);
}

TEST(OleErrorText, TrimsTheSystemTextOrNamesTheCode) {
    const std::wstring text = OleErrorText(E_OUTOFMEMORY);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'.');
    EXPECT_NE(text.back(), L'\n');
    EXPECT_EQ(OleErrorText(static_cast<long>(0xA0001234)), L"OLE error a0001234");
}

TEST(SelectionHost, DescribesTheFrontWindowItsOwnerTheFocusedChildAndTheProgram) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    for (const wchar_t* name : {L"SnqOwnerWindow", L"SnqHostedTerminal"}) {
        wc.lpszClassName = name;
        ::RegisterClassW(&wc);
    }
    // A dialog-like popup of a terminal's window, hosting a focused child.
    UniqueHwnd owner(::CreateWindowExW(0, L"SnqOwnerWindow", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                       200, nullptr, nullptr, nullptr, nullptr));
    UniqueHwnd popup(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 20, 20, 100, 100, owner.get(),
                                       nullptr, nullptr, nullptr));
    HWND child = ::CreateWindowExW(0, L"SnqHostedTerminal", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                                   popup.get(), nullptr, nullptr, nullptr);
    ::SetForegroundWindow(popup.get());
    ::SetFocus(child);
    const bool unused = false;
    Win32SelectionHost host(0, nullptr, unused);
    const FrontWindow front = host.DescribeFront();
    EXPECT_EQ(front.classes, (std::vector<std::u16string>{u"Static", u"SnqOwnerWindow", u"SnqHostedTerminal"}));
    EXPECT_EQ(front.process, u"win_tests.exe");
    EXPECT_EQ(host.FrontHandles().second, reinterpret_cast<std::uintptr_t>(child));
}
