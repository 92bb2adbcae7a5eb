#include <gtest/gtest.h>

#include <map>

#include "search/SysLocale.h"

using namespace snq;

namespace {

// German-like settings; items not in the map are not supplied.
class FakeLocale : public ILocaleSource {
public:
    std::map<std::uint32_t, std::u16string> items{
        {0x1001, u"German"}, {0x0E, u","},  {0x16, u","},  {0x51, u"-"},
        {0x1B, u"3"},        {0x1C, u"8"},  {0x1010, u"1"}, {0x12, u"1"},
        {0x23, u"1"},        {0x21, u"1"},  {0x22, u"2"},  {0x14, u"\u20ac"},
    };
    std::vector<std::uint32_t> asked;
    std::uint32_t ThreadLocale() override { return 0x407; }
    std::optional<std::u16string> Info(std::uint32_t locale, std::uint32_t item) override {
        EXPECT_EQ(locale, 0x407u);
        asked.push_back(item);
        auto it = items.find(item);
        if (it == items.end()) return std::nullopt;
        return it->second;
    }
};

} // namespace

TEST(SysLocale, ReadsEveryItemOnceAtLoadWhenAutoRetrieveIsSet) {
    FakeLocale source;
    TSysLocale locale(source);
    locale.Loaded();
    EXPECT_TRUE(source.asked.empty()) << "AutoRetrieve is off by default";
    EXPECT_EQ(locale.Locale().LanguageEnglish(), u"");
    locale.AutoRetrieve = true;
    locale.Loaded();
    EXPECT_EQ(source.asked.size(), kLocaleItemCount);
    // The three separators first, then the rest in published order.
    EXPECT_EQ(source.asked[0], 0x51u);
    EXPECT_EQ(source.asked[1], 0x0Eu);
    EXPECT_EQ(source.asked[2], 0x16u);
    EXPECT_EQ(source.asked[3], 0x1009u);
    EXPECT_EQ(locale.Locale().LanguageEnglish(), u"German");
    // Reading again retrieves nothing, whatever the platform now says.
    source.items[0x1001] = u"French";
    EXPECT_EQ(locale.Locale().LanguageEnglish(), u"German");
}

TEST(SysLocale, PatternsOrderLettersAndMissingItems) {
    FakeLocale source;
    TSysLocale locale(source);
    locale.Refresh();
    const TSysLocaleObject& l = locale.Locale();
    EXPECT_EQ(l.Get(LocaleItem::PositiveCurrencyFormat), u"1,1 \u00A4");
    EXPECT_EQ(l.Get(LocaleItem::NegativeCurrencyFormat), u"-1,1 \u00A4");
    EXPECT_EQ(l.Get(LocaleItem::NegativeFormat), u"-1,1");
    EXPECT_EQ(l.Get(LocaleItem::ShowLeadingZero), u"0,7");
    EXPECT_EQ(l.Get(LocaleItem::ClockMode), u"24");
    EXPECT_EQ(l.Get(LocaleItem::ShortDateOrder), u"DMY");
    EXPECT_EQ(l.Get(LocaleItem::LongDateOrder), u"YMD");
    EXPECT_EQ(l.Get(LocaleItem::CurrencySymbol), u"\u20ac");
    EXPECT_EQ(l.Get(LocaleItem::Country), u"Hallo");
    EXPECT_EQ(l.DisplayList.size(), kLocaleItemCount);
}

TEST(SysLocale, SeparatorsFillOnlyTheFirstOccurrence) {
    FakeLocale source;
    source.items[0x0E] = u".";
    source.items[0x16] = u"'";
    source.items[0x51] = u"\u2212";
    source.items[0x1C] = u"4"; // "(1,1$)"
    source.items[0x1010] = u"4"; // "1,1 -"
    TSysLocale locale(source);
    locale.Refresh();
    EXPECT_EQ(locale.Locale().Get(LocaleItem::NegativeCurrencyFormat), u"(1'1\u00A4)");
    EXPECT_EQ(locale.Locale().Get(LocaleItem::NegativeFormat), u"1.1 \u2212");
    EXPECT_EQ(ReplaceFirst(u"a,b,c", u",", u";"), u"a;b,c");
}

TEST(SysLocale, OddCodesKeepTheirRawText) {
    const std::vector<std::u16string> list{u"12", u"24"};
    EXPECT_EQ(PickPattern(list, u"1"), u"24");
    EXPECT_EQ(PickPattern(list, u"2"), u"2");
    EXPECT_EQ(PickPattern(list, u"-1"), u"-1");
    EXPECT_EQ(PickPattern(list, u"x"), u"x");
    EXPECT_EQ(PickPattern(list, u""), u"");
    EXPECT_EQ(PickPattern(list, u"99999999999999999999"), u"99999999999999999999");
    EXPECT_EQ(OrderLetters(u"0"), u"MDY");
    EXPECT_EQ(OrderLetters(u"9"), u"9");
    EXPECT_EQ(OrderLetters(u""), u"");
    EXPECT_EQ(OrderLetters(u"Hallo"), u"Hallo");
}

TEST(SysLocale, EventsAndProgressComeInTheirOrder) {
    FakeLocale source;
    TSysLocale locale(source);
    std::vector<std::string> seen;
    locale.OnRefresh = [&](TSysLocale&) { seen.push_back("refresh"); };
    locale.OnAfterRefresh = [&](TSysLocale& s) {
        EXPECT_TRUE(s.Retrieved());
        seen.push_back("after");
    };
    locale.OnProgress = [&](TSysLocale&, std::u16string_view caption, int max, int position) {
        EXPECT_EQ(max, 100);
        seen.push_back((caption == u"Locale" ? "Locale " : "- ") + std::to_string(position));
    };
    locale.Refresh();
    EXPECT_EQ(seen, (std::vector<std::string>{"refresh", "Locale 0", "Locale 20", "Locale 40",
                                              "Locale 60", "Locale 100", "- 0", "after"}));
}

TEST(SysLocale, TheDisplaySetsChooseTheListedValues) {
    FakeLocale source;
    TSysLocale locale(source);
    locale.Locale().DisplayNumberInfo.reset();
    locale.Locale().DisplayDateTimeInfo.reset();
    locale.Locale().DisplayCurrencyInfo.reset();
    locale.Locale().DisplayCurrencyInfo.set(3); // the currency symbol
    locale.Refresh();
    ASSERT_EQ(locale.Locale().DisplayList.size(), 1u);
    EXPECT_EQ(locale.Locale().DisplayList[0].first, u"CurrencySymbol");
    EXPECT_EQ(locale.Locale().DisplayList[0].second, u"\u20ac");
}
