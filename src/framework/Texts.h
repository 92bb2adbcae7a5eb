#pragma once
// The user interface's texts, by id (TextIds.h, made from
// res/lang/snapquery.pot), in the language chosen for the interface; a text
// that language lacks is its English one. The language is chosen
// explicitly, never left to the system's rules for picking resources.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "TextIds.h"

namespace snq {

inline constexpr std::uint16_t kEnglishLanguage = 0x0409;

// Where texts come from: the executable's string tables, or a test's.
class ITextSource {
public:
    // The text `id` in the language `language` (an identifier, e.g. 0x0007),
    // or empty when that language has none.
    virtual std::u16string Load(std::uint16_t language, TextId id) = 0;

protected:
    ~ITextSource() = default;
};

// The source and the language from now on.
void UseTexts(ITextSource* source, std::uint16_t language) noexcept;
std::uint16_t TextLanguage() noexcept;

// The text `id` in the language in force, else in English.
std::u16string Tr(TextId id);
// The text `id` in `language`, else in English.
std::u16string TextIn(std::uint16_t language, TextId id);
// `pattern` with %1 to %9 replaced by `args`, in one pass (a "%1" inside an
// argument stays as it is).
std::u16string Format(std::u16string_view pattern, std::initializer_list<std::u16string_view> args);
std::u16string Tr(TextId id, std::initializer_list<std::u16string_view> args);
// The language to show: the one `setting` names (a tag of kUiLanguages, in
// any case), else the first of the user's `preferred` languages (tags as
// Windows lists them, e.g. "de-AT") that is shipped, matched by its whole tag
// and then by its language alone ("zh-TW" and "zh-HK" are zh-Hant, "zh-CN"
// and "zh-SG" zh-Hans, every "pt-*" pt-BR), else English.
const UiLanguage& ChooseUiLanguage(std::u16string_view setting, const std::vector<std::u16string>& preferred);
// The shipped language `setting` names, or nullptr (automatic).
const UiLanguage* ShippedLanguage(std::u16string_view setting);

} // namespace snq
