#pragma once
// The texts' side of the system: the executable's string tables, read by
// language explicitly (Windows and Wine pick a resource's language by
// different rules, and LoadString takes none), and the user's preferred
// languages.
#include <string>
#include <string_view>
#include <vector>

#include "framework/Texts.h"

namespace snq {

class ResourceTexts final : public ITextSource {
public:
    std::u16string Load(std::uint16_t language, TextId id) override;
};

// The user's preferred interface languages, as Windows lists them ("de-DE").
std::vector<std::u16string> PreferredUiLanguages();

// Chooses the interface's language from `setting` (a tag; empty:
// Windows' display language) and shows texts from the string tables in it.
void UseUiLanguage(std::u16string_view setting);

} // namespace snq
