// The locale's pattern substitution and order letters on whatever the
// platform might return for each item.
#include "FuzzInput.h"
#include "search/SysLocale.h"

namespace {

class FuzzLocale : public snq::ILocaleSource {
public:
    FuzzLocale(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint32_t ThreadLocale() override { return 0x409; }
    std::optional<std::u16string> Info(std::uint32_t, std::uint32_t) override {
        if (offset_ >= size_) return std::nullopt;
        const std::size_t length = data_[offset_++] % 12;
        if (length == 11) return std::nullopt; // not supplied
        const std::size_t take = std::min(length * 2, size_ - offset_);
        std::u16string text = Utf16Of(data_ + offset_, take);
        offset_ += take;
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzLocale source(data, size);
    snq::TSysLocale locale(source);
    locale.AutoRetrieve = true;
    locale.Loaded();
    const std::u16string& order = locale.Locale().Get(snq::LocaleItem::ShortDateOrder);
    (void)order;
    std::vector<std::u16string> list{u"12", u"24"};
    snq::PickPattern(list, snq::OrderLetters(locale.Locale().LanguageEnglish()));
    snq::ReplaceFirst(locale.Locale().Get(snq::LocaleItem::Country), u",",
                      locale.Locale().Get(snq::LocaleItem::DecimalSeparator));
    return 0;
}
