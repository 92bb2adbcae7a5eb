#pragma once
// Search addresses from a template, the built-in search engines, and web
// addresses that are opened as they are.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "search/SearchAddress.h"

namespace snq {

// The placeholders of a template: the encoded text, and the interface
// language code.
inline constexpr std::u16string_view kQueryPlaceholder = u"{query}";
inline constexpr std::u16string_view kLangPlaceholder = u"{lang}";

inline constexpr std::u16string_view kBingTemplate = u"https://www.bing.com/search?q={query}";
inline constexpr std::u16string_view kDuckDuckGoTemplate = u"https://duckduckgo.com/?q={query}";

enum class TemplateProblem {
    None,
    NotWebAddress,  // starts with neither https:// nor http://
    NoQuery,        // holds no {query}
    BadCharacter,   // a space, a quote, a control character or a non-ASCII one
    TooLong,        // no room left for the text within the address limit
};

// What keeps `addressTemplate` from being used. Only web addresses are
// allowed, and only the characters a web address is made of: nothing that
// could end the browser's argument or start another.
TemplateProblem TemplateProblemOf(std::u16string_view addressTemplate,
                                  std::size_t maxLength = kMaxAddressLength);

// Whether `addressTemplate` can be used: the one test every reader of a
// template applies, with the limit of the way its addresses are opened.
inline bool TemplateUsable(std::u16string_view addressTemplate, std::size_t maxLength) {
    return TemplateProblemOf(addressTemplate, maxLength) == TemplateProblem::None;
}

// The address for `text`: every {lang} becomes `code`, every {query} the
// text encoded as BuildSearchAddress encodes it, shortened at a character
// boundary so that the address is at most `maxLength` long. An empty
// template is the built-in Google address (BuildSearchAddress).
std::u16string ExpandTemplate(std::u16string_view addressTemplate, std::u16string_view code,
                              std::u16string_view text, std::size_t maxLength = kMaxAddressLength);

// More of the clipboard than an address can use, so that a web address
// with white space around it is still seen whole.
inline constexpr std::size_t kAddressSlack = 256;

// The one http:// or https:// address that `text` is, with the white space
// around it removed: no white space, quote or control character inside, and
// at most `maxLength` long. Nothing for any other text: no other scheme is
// ever taken for an address.
std::optional<std::u16string> WebAddressIn(std::u16string_view text,
                                           std::size_t maxLength = kMaxAddressLength);

} // namespace snq
