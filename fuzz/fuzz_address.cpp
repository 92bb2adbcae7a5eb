// The search address and its encoder on arbitrary UTF-16 (lone surrogates,
// NULs, anything): the address stays well formed, within its limit, and its
// query decodes back to the UTF-8 of a prefix of the text.
#include <cstdlib>

#include "FuzzInput.h"
#include "framework/Text.h"
#include "search/SearchAddress.h"

namespace {

int Hex(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::u16string code = snq::GetLanguageCode(Utf16Of(data + 1, std::min<std::size_t>(size - 1, data[0] % 24)));
    const std::u16string text = Utf16Of(data + 1, size - 1);
    const std::u16string address = snq::BuildSearchAddress(code, text);
    if (address.size() > snq::kMaxAddressLength) std::abort();
    const std::u16string head = std::u16string(snq::kSearchPrefix) + code + std::u16string(snq::kQueryKey);
    if (address.compare(0, head.size(), head) != 0) std::abort();
    if (!address.ends_with(snq::kSearchSuffix)) std::abort();
    const std::u16string query =
        address.substr(head.size(), address.size() - head.size() - snq::kSearchSuffix.size());
    std::string decoded;
    for (std::size_t i = 0; i < query.size(); ++i) {
        const char16_t c = query[i];
        if (c == u'+') {
            decoded += ' ';
        } else if (c == u'%') {
            if (i + 2 >= query.size()) std::abort();
            const int hi = Hex(query[i + 1]), lo = Hex(query[i + 2]);
            if (hi < 0 || lo < 0) std::abort();
            decoded += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
                   c == u'-' || c == u'.' || c == u'_' || c == u'~') {
            decoded += static_cast<char>(c);
        } else {
            std::abort(); // nothing else may stand unencoded
        }
    }
    const std::string whole = snq::ToUtf8(text);
    if (whole.compare(0, decoded.size(), decoded) != 0) std::abort();
    // The address has room for any one character: a text is never lost.
    if (!text.empty() && query.empty()) std::abort();
    // A search reads no more of the text than can reach the address.
    if (snq::BuildSearchAddress(code, text.substr(0, snq::kMaxAddressLength)) != address) std::abort();
    // A shorter limit holds as well.
    const std::size_t limit = 80 + data[0] * 4;
    if (snq::BuildSearchAddress(code, text, limit).size() > limit) std::abort();
    return 0;
}
