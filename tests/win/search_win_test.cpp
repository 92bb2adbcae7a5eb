#include <gtest/gtest.h>

#include <windows.h>

#include "framework/SystemErrorWin32.h"
#include "framework/Text.h"
#include "search/BrowserLaunchWin32.h"
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
