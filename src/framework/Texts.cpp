#include "framework/Texts.h"

#include <algorithm>

#include "framework/Text.h"

namespace snq {

namespace {

ITextSource* g_source = nullptr;
std::uint16_t g_language = kEnglishLanguage;

bool SameTag(std::u16string_view a, std::u16string_view b) { return SameAsciiText(a, b); }

const UiLanguage* Find(std::u16string_view tag) {
    for (const UiLanguage& language : kUiLanguages)
        if (SameTag(language.tag, tag)) return &language;
    return nullptr;
}

// The shipped language for one of the user's preferred languages.
const UiLanguage* Match(std::u16string_view preferred) {
    if (const UiLanguage* exact = Find(preferred)) return exact;
    const std::u16string_view language = preferred.substr(0, preferred.find(u'-'));
    if (SameTag(language, u"zh")) {
        // Traditional characters in Taiwan, Hong Kong and Macao, or by script.
        std::u16string_view rest = preferred.substr(std::min(preferred.size(), language.size() + 1));
        rest = rest.substr(0, rest.find(u'-'));
        const bool traditional =
            SameTag(rest, u"Hant") || SameTag(rest, u"TW") || SameTag(rest, u"HK") || SameTag(rest, u"MO");
        return Find(traditional ? u"zh-Hant" : u"zh-Hans");
    }
    if (SameTag(language, u"pt")) return Find(u"pt-BR");
    return Find(language);
}

} // namespace

void UseTexts(ITextSource* source, std::uint16_t language) noexcept {
    g_source = source;
    g_language = language;
}

std::uint16_t TextLanguage() noexcept { return g_language; }

std::u16string TextIn(std::uint16_t language, TextId id) {
    if (!g_source) return {};
    std::u16string text = g_source->Load(language, id);
    if (text.empty() && language != kEnglishLanguage) text = g_source->Load(kEnglishLanguage, id);
    return text;
}

std::u16string Tr(TextId id) { return TextIn(g_language, id); }

std::u16string Format(std::u16string_view pattern, std::initializer_list<std::u16string_view> args) {
    std::u16string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c == u'%' && i + 1 < pattern.size() && pattern[i + 1] >= u'1' && pattern[i + 1] <= u'9') {
            const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - u'1');
            if (n < args.size()) out += args.begin()[n];
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::u16string Tr(TextId id, std::initializer_list<std::u16string_view> args) { return Format(Tr(id), args); }

const UiLanguage* ShippedLanguage(std::u16string_view setting) { return Find(setting); }

const UiLanguage& ChooseUiLanguage(std::u16string_view setting, const std::vector<std::u16string>& preferred) {
    if (const UiLanguage* chosen = Find(setting)) return *chosen;
    for (const std::u16string& tag : preferred)
        if (const UiLanguage* shipped = Match(tag)) return *shipped;
    return *Find(u"en");
}

} // namespace snq
