#pragma once
// The locale component: reads the regional settings of the calling thread's
// locale once into a value object whose texts stay as read.
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace snq {

class ILocaleSource {
public:
    virtual ~ILocaleSource() = default;
    virtual std::uint32_t ThreadLocale() = 0;
    // The item's text, or nothing when the platform does not supply it.
    virtual std::optional<std::u16string> Info(std::uint32_t locale, std::uint32_t item) = 0;
};

// The value object's texts, in their published order.
enum class LocaleItem : std::size_t {
    CalendarType, CurrencyDigits, PositiveCurrencyFormat, Digits, FirstDayOfWeek,
    FirstWeekOfYear, ShowLeadingZero, Measurement, NegativeCurrencyFormat, NegativeFormat,
    ClockMode, MorningSymbol, AfternoonSymbol, CurrencySymbol, DateSeparator, DecimalSeparator,
    Grouping, ListSeparator, LongDateFormat, CurrencyDecimalSeparator, CurrencyGrouping,
    CurrencyGroupingSign, NegativeSign, PositiveSign, ShortDateFormat, ThousandSeparator,
    TimeSeparator, TimeFormat, ShortDateOrder, LongDateOrder, YearDigits,
    InternationalCurrencySymbol, Language, LanguageEnglish, LanguageSymbol, CountryCode, Country,
    CountrySymbol,
};
inline constexpr std::size_t kLocaleItemCount = 38;

// What a text becomes when the platform does not supply its item.
inline constexpr std::u16string_view kMissingLocaleText = u"Hallo";

struct LocaleItemInfo {
    std::u16string_view name;
    std::uint32_t lctype;
};
const LocaleItemInfo& InfoOf(LocaleItem item);

using ProgressEvent =
    std::function<void(std::u16string_view caption, int max, int position)>;

class TSysLocaleObject {
public:
    const std::u16string& Get(LocaleItem item) const {
        return values_[static_cast<std::size_t>(item)];
    }
    const std::u16string& LanguageEnglish() const { return Get(LocaleItem::LanguageEnglish); }

    // Which values the display list shows; all on by default.
    std::bitset<16> DisplayNumberInfo = std::bitset<16>().set();
    std::bitset<8> DisplayCurrencyInfo = std::bitset<8>().set();
    std::bitset<14> DisplayDateTimeInfo = std::bitset<14>().set();
    // Caption and value of each displayed item, filled by Retrieve.
    std::vector<std::pair<std::u16string, std::u16string>> DisplayList;

    // Fills every text from the platform for the thread's locale.
    void Retrieve(ILocaleSource& source, const ProgressEvent& progress);

private:
    std::array<std::u16string, kLocaleItemCount> values_;
};

class TSysLocale {
public:
    explicit TSysLocale(ILocaleSource& source) : source_(source) {}

    bool AutoRetrieve = false;
    std::function<void(TSysLocale& sender)> OnRefresh;
    std::function<void(TSysLocale& sender)> OnAfterRefresh;
    std::function<void(TSysLocale& sender, std::u16string_view caption, int max, int position)>
        OnProgress;

    // The values of the last retrieval; reading retrieves nothing.
    const TSysLocaleObject& Locale() const { return locale_; }
    TSysLocaleObject& Locale() { return locale_; }
    bool Retrieved() const { return retrieved_; }

    // The load notification: retrieves once when AutoRetrieve is set.
    void Loaded();
    void Refresh();

private:
    ILocaleSource& source_;
    TSysLocaleObject locale_;
    bool retrieved_ = false;
};

// Pattern helpers, exposed for their tests.
// Replaces the first occurrence of `from` in `text` by `to`.
std::u16string ReplaceFirst(std::u16string text, std::u16string_view from, std::u16string_view to);
// The entry of `patterns` at the decimal index `code`, or `code` itself when
// it is not a number or lies outside the list.
std::u16string PickPattern(const std::vector<std::u16string>& patterns, std::u16string_view code);
// "MDY", "DMY" or "YMD" for a text starting with "0", "1" or "2"; the text
// itself otherwise.
std::u16string OrderLetters(std::u16string_view code);

} // namespace snq
