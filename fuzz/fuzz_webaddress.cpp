// Web-address detection and template expansion on arbitrary UTF-16: nothing
// but an http:// or https:// address is ever taken, never longer than the
// limit, and never with white space, a quote or a control character in it;
// an expanded template keeps its limit.
#include <cstdlib>

#include "FuzzInput.h"
#include "search/SearchTemplate.h"

namespace {

bool LowerStartsWith(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
        if (c != prefix[i]) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t limit = 16 + data[0] * 8;
    const std::u16string text = Utf16Of(data + 1, size - 1);
    if (const auto address = snq::WebAddressIn(text, limit)) {
        if (address->size() > limit) std::abort();
        if (!LowerStartsWith(*address, u"https://") && !LowerStartsWith(*address, u"http://"))
            std::abort();
        for (char16_t c : *address)
            if (c <= u' ' || c == u'"' || c == 0x7F) std::abort();
        if (text.find(*address) == std::u16string::npos) std::abort();
    }
    if (snq::TemplateProblemOf(text, limit) == snq::TemplateProblem::None) {
        if (snq::ExpandTemplate(text, u"en", text, limit).size() > limit) std::abort();
    }
    return 0;
}
