#include "search/SysLocale.h"

namespace snq {

namespace {

// Published order, with the locale item (LCTYPE) that fills each text.
constexpr std::array<LocaleItemInfo, kLocaleItemCount> kItems{{
    {u"CalendarType", 0x1009},
    {u"CurrencyDigits", 0x19},
    {u"PositiveCurrencyFormat", 0x1B},
    {u"Digits", 0x11},
    {u"FirstDayOfWeek", 0x100C},
    {u"FirstWeekOfYear", 0x100D},
    {u"ShowLeadingZero", 0x12},
    {u"Measurement", 0x0D},
    {u"NegativeCurrencyFormat", 0x1C},
    {u"NegativeFormat", 0x1010},
    {u"ClockMode", 0x23},
    {u"MorningSymbol", 0x28},
    {u"AfternoonSymbol", 0x29},
    {u"CurrencySymbol", 0x14},
    {u"DateSeparator", 0x1D},
    {u"DecimalSeparator", 0x0E},
    {u"Grouping", 0x10},
    {u"ListSeparator", 0x0C},
    {u"LongDateFormat", 0x20},
    {u"CurrencyDecimalSeparator", 0x16},
    {u"CurrencyGrouping", 0x18},
    {u"CurrencyGroupingSign", 0x17},
    {u"NegativeSign", 0x51},
    {u"PositiveSign", 0x50},
    {u"ShortDateFormat", 0x1F},
    {u"ThousandSeparator", 0x0F},
    {u"TimeSeparator", 0x1E},
    {u"TimeFormat", 0x1003},
    {u"ShortDateOrder", 0x21},
    {u"LongDateOrder", 0x22},
    {u"YearDigits", 0x24},
    {u"InternationalCurrencySymbol", 0x15},
    {u"Language", 0x02},
    {u"LanguageEnglish", 0x1001},
    {u"LanguageSymbol", 0x03},
    {u"CountryCode", 0x05},
    {u"Country", 0x06},
    {u"CountrySymbol", 0x07},
}};

using LI = LocaleItem;

// The display sets' members, in their order.
constexpr std::array<LI, 16> kNumberInfo{
    LI::Digits, LI::ShowLeadingZero, LI::Measurement, LI::NegativeFormat, LI::DecimalSeparator,
    LI::Grouping, LI::ListSeparator, LI::NegativeSign, LI::PositiveSign, LI::ThousandSeparator,
    LI::Language, LI::LanguageEnglish, LI::LanguageSymbol, LI::CountryCode, LI::Country,
    LI::CountrySymbol};
constexpr std::array<LI, 8> kCurrencyInfo{
    LI::CurrencyDigits, LI::PositiveCurrencyFormat, LI::NegativeCurrencyFormat,
    LI::CurrencySymbol, LI::CurrencyDecimalSeparator, LI::CurrencyGrouping,
    LI::CurrencyGroupingSign, LI::InternationalCurrencySymbol};
constexpr std::array<LI, 14> kDateTimeInfo{
    LI::CalendarType, LI::FirstDayOfWeek, LI::FirstWeekOfYear, LI::ClockMode, LI::MorningSymbol,
    LI::AfternoonSymbol, LI::DateSeparator, LI::LongDateFormat, LI::ShortDateFormat,
    LI::TimeSeparator, LI::TimeFormat, LI::ShortDateOrder, LI::LongDateOrder, LI::YearDigits};

std::vector<std::u16string> Split(std::u16string_view list) {
    std::vector<std::u16string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = list.find(u';', start);
        out.emplace_back(list.substr(start, end - start));
        if (end == std::u16string_view::npos) return out;
        start = end + 1;
    }
}

} // namespace

const LocaleItemInfo& InfoOf(LocaleItem item) { return kItems[static_cast<std::size_t>(item)]; }

std::u16string ReplaceFirst(std::u16string text, std::u16string_view from, std::u16string_view to) {
    const std::size_t at = text.find(from);
    if (at != std::u16string::npos) text.replace(at, from.size(), to);
    return text;
}

std::u16string PickPattern(const std::vector<std::u16string>& patterns, std::u16string_view code) {
    if (code.empty() || code.size() > 9) return std::u16string(code);
    std::size_t index = 0;
    for (char16_t c : code) {
        if (c < u'0' || c > u'9') return std::u16string(code);
        index = index * 10 + static_cast<std::size_t>(c - u'0');
    }
    return index < patterns.size() ? patterns[index] : std::u16string(code);
}

std::u16string OrderLetters(std::u16string_view code) {
    if (code.empty()) return {};
    switch (code.front()) {
    case u'0': return u"MDY";
    case u'1': return u"DMY";
    case u'2': return u"YMD";
    default: return std::u16string(code);
    }
}

void TSysLocaleObject::Retrieve(ILocaleSource& source, const ProgressEvent& progress) {
    auto report = [&](std::u16string_view caption, int max, int position) {
        if (progress) progress(caption, max, position);
    };
    report(u"Locale", 100, 0);
    // U+00A4 stands for the currency symbol in the patterns; it is never
    // replaced.
    auto positiveCurrency = Split(u"\u00A41,1;1,1\u00A4;\u00A4 1,1;1,1 \u00A4");
    auto negativeCurrency = Split(
        u"(\u00A41,1);-\u00A41,1;\u00A4-1,1;\u00A41,1-;(1,1\u00A4);-1,1\u00A4;1,1-\u00A4;"
        u"1,1\u00A4-;-1,1 \u00A4;-\u00A4 1,1;1,1 \u00A4-;\u00A4 1,1-;\u00A4 -1,1;1,1- \u00A4;"
        u"( \u00A41,1);(1,1 \u00A4)");
    auto negativeNumber = Split(u"(1,1);-1,1;- 1,1;1,1-;1,1 -");
    auto leadingZero = Split(u",7;0,7");
    const auto clockMode = Split(u"12;24");

    const std::uint32_t locale = source.ThreadLocale();
    auto read = [&](LocaleItem item) {
        values_[static_cast<std::size_t>(item)] =
            source.Info(locale, InfoOf(item).lctype).value_or(std::u16string(kMissingLocaleText));
    };
    read(LI::NegativeSign);
    read(LI::DecimalSeparator);
    read(LI::CurrencyDecimalSeparator);
    const std::u16string& minus = Get(LI::NegativeSign);
    const std::u16string& decimal = Get(LI::DecimalSeparator);
    const std::u16string& currencyDecimal = Get(LI::CurrencyDecimalSeparator);

    for (auto& p : positiveCurrency) p = ReplaceFirst(p, u",", currencyDecimal);
    report(u"Locale", 100, 20);
    for (auto& p : negativeCurrency) p = ReplaceFirst(ReplaceFirst(p, u",", currencyDecimal), u"-", minus);
    report(u"Locale", 100, 40);
    for (auto& p : negativeNumber) p = ReplaceFirst(ReplaceFirst(p, u",", decimal), u"-", minus);
    report(u"Locale", 100, 60);
    for (auto& p : leadingZero) p = ReplaceFirst(p, u",", decimal);

    for (std::size_t i = 0; i < kLocaleItemCount; ++i) {
        const auto item = static_cast<LocaleItem>(i);
        if (item == LI::NegativeSign || item == LI::DecimalSeparator ||
            item == LI::CurrencyDecimalSeparator)
            continue;
        read(item);
        std::u16string& value = values_[i];
        switch (item) {
        case LI::PositiveCurrencyFormat: value = PickPattern(positiveCurrency, value); break;
        case LI::ShowLeadingZero: value = PickPattern(leadingZero, value); break;
        case LI::NegativeCurrencyFormat: value = PickPattern(negativeCurrency, value); break;
        case LI::NegativeFormat: value = PickPattern(negativeNumber, value); break;
        case LI::ClockMode: value = PickPattern(clockMode, value); break;
        case LI::ShortDateOrder:
        case LI::LongDateOrder: value = OrderLetters(value); break;
        default: break;
        }
    }

    DisplayList.clear();
    auto show = [&](const auto& members, const auto& selected) {
        for (std::size_t i = 0; i < members.size(); ++i)
            if (selected[i])
                DisplayList.emplace_back(std::u16string(InfoOf(members[i]).name), Get(members[i]));
    };
    show(kNumberInfo, DisplayNumberInfo);
    show(kCurrencyInfo, DisplayCurrencyInfo);
    show(kDateTimeInfo, DisplayDateTimeInfo);

    report(u"Locale", 100, 100);
    report(u"", 100, 0);
}

void TSysLocale::Loaded() {
    if (AutoRetrieve) Refresh();
}

void TSysLocale::Refresh() {
    if (OnRefresh) OnRefresh(*this);
    locale_.Retrieve(source_, [this](std::u16string_view caption, int max, int position) {
        if (OnProgress) OnProgress(*this, caption, max, position);
    });
    retrieved_ = true;
    if (OnAfterRefresh) OnAfterRefresh(*this);
}

} // namespace snq
