#include "search/SearchTemplate.h"

#include <algorithm>

#include "framework/Text.h"

namespace snq {

namespace {

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// The scheme and the "//", when `text` starts with a web address's.
std::size_t WebSchemeLength(std::u16string_view text) {
    for (std::u16string_view scheme : {u"https://", u"http://"})
        if (StartsWithNoCase(text, scheme)) return scheme.size();
    return 0;
}

bool IsWhiteSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200B) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

bool IsControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// Replaces every `from` by `to`.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from,
                          std::u16string_view to) {
    std::u16string out;
    for (std::size_t at = 0;;) {
        const std::size_t found = text.find(from, at);
        out += text.substr(at, found - at);
        if (found == std::u16string_view::npos) return out;
        out += to;
        at = found + from.size();
    }
}

std::size_t Count(std::u16string_view text, std::u16string_view what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::u16string_view::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TemplateProblem TemplateProblemOf(std::u16string_view addressTemplate, std::size_t maxLength) {
    if (WebSchemeLength(addressTemplate) == 0) return TemplateProblem::NotWebAddress;
    const std::size_t queries = Count(addressTemplate, kQueryPlaceholder);
    if (queries == 0) return TemplateProblem::NoQuery;
    for (char16_t c : addressTemplate)
        if (c <= u' ' || c >= 0x7F || c == u'"' || c == u'<' || c == u'>' || c == u'\\' ||
            c == u'^' || c == u'`' || c == u'|')
            return TemplateProblem::BadCharacter;
    // Room for one encoded character (at most 12) for each {query}.
    const std::size_t fixed = ExpandTemplate(addressTemplate, u"xx-XX", u"", maxLength).size();
    if (fixed + queries * 12 > maxLength) return TemplateProblem::TooLong;
    return TemplateProblem::None;
}

std::u16string ExpandTemplate(std::u16string_view addressTemplate, std::u16string_view code,
                              std::u16string_view text, std::size_t maxLength) {
    if (addressTemplate.empty()) return BuildSearchAddress(code, text, maxLength);
    const std::u16string withCode = ReplaceAll(addressTemplate, kLangPlaceholder, code);
    const std::size_t queries = Count(withCode, kQueryPlaceholder);
    if (queries == 0) return withCode.substr(0, std::min(withCode.size(), maxLength));
    const std::size_t fixed = withCode.size() - queries * kQueryPlaceholder.size();
    const std::size_t budget = fixed < maxLength ? (maxLength - fixed) / queries : 0;
    return ReplaceAll(withCode, kQueryPlaceholder, EncodeQuery(text, budget));
}

std::optional<std::u16string> WebAddressIn(std::u16string_view text, std::size_t maxLength) {
    while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
    const std::size_t scheme = WebSchemeLength(text);
    if (scheme == 0 || text.size() == scheme || text.size() > maxLength) return std::nullopt;
    // A quote would end the browser's argument and start another.
    for (char16_t c : text)
        if (IsWhiteSpace(c) || IsControl(c) || c == u'"') return std::nullopt;
    return std::u16string(text);
}

} // namespace snq
