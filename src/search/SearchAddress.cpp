#include "search/SearchAddress.h"

#include <array>
#include <utility>

#include "framework/Text.h"

namespace snq {

namespace {

constexpr std::array<std::pair<std::u16string_view, std::u16string_view>, 37> kLanguages{{
    {u"Hebrew", u"he"},      {u"Arabic", u"ar"},     {u"German", u"de"},
    {u"English", u"en"},     {u"Korean", u"ko"},     {u"Japanese", u"ja"},
    {u"Turkish", u"tr"},     {u"Portuguese", u"pt-PT"}, {u"Greek", u"el"},
    {u"Danish", u"da"},      {u"Dutch", u"nl"},      {u"Finnish", u"fi"},
    {u"French", u"fr"},      {u"Hungarian", u"hu"},  {u"Italian", u"it"},
    {u"Norwegian", u"no"},   {u"Polish", u"pl"},     {u"Russian", u"ru"},
    {u"Spanish", u"es"},     {u"Swedish", u"sv"},    {u"Bulgarian", u"bg"},
    {u"Chinese", u"zh"},     {u"Croatian", u"hr"},   {u"Czech", u"cs"},
    {u"Estonian", u"et"},    {u"Filipino", u"tl"},   {u"Georgian", u"ka"},
    {u"Hindi", u"hi"},       {u"Icelandic", u"is"},  {u"Indonesian", u"id"},
    {u"Kannada", u"kn"},     {u"Kurdish", u"ku"},    {u"Persian", u"fa"},
    {u"Romanian", u"ro"},    {u"Thai", u"th"},       {u"Ukrainian", u"uk"},
    {u"Vietnamese", u"vi"},
}};

bool Unreserved(char32_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u'_' || c == u'~';
}

} // namespace

std::u16string GetLanguageCode(std::u16string_view englishName) {
    std::u16string code;
    for (const auto& [name, entry] : kLanguages)
        if (name == englishName) code = entry;
    if (englishName.empty()) code = u"en";
    return code;
}

std::u16string EncodeQuery(std::u16string_view text, std::size_t budget) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        // One character (a surrogate pair counts as one) at a time.
        const std::size_t units = CharUnits(text, i);
        std::u16string piece;
        if (units == 1 && text[i] == u' ') {
            piece = u"+";
        } else if (units == 1 && Unreserved(text[i])) {
            piece = text[i];
        } else {
            for (unsigned char byte : ToUtf8(text.substr(i, units)))
                piece += u'%' + Hex(byte, 2, LetterCase::Upper);
        }
        if (out.size() + piece.size() > budget) break;
        out += piece;
        i += units;
    }
    return out;
}

std::u16string BuildSearchAddress(std::u16string_view code, std::u16string_view text,
                                  std::size_t maxLength) {
    std::u16string address(kSearchPrefix);
    address += code;
    address += kQueryKey;
    const std::size_t fixed = address.size() + kSearchSuffix.size();
    address += EncodeQuery(text, fixed < maxLength ? maxLength - fixed : 0);
    address += kSearchSuffix;
    return address;
}

} // namespace snq
