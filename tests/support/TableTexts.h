#pragma once
// The interface's texts for tests that run without the executable's string
// tables: every language's, from the same translations (TextTables.inc).
#include <string_view>
#include <vector>

#include "framework/Texts.h"

namespace snq::testing {

struct TestLanguage {
    std::u16string_view tag;
    std::vector<const char16_t*> texts; // by id - 1; nullptr: not translated
};

inline const std::vector<TestLanguage>& TestLanguages() {
    static const std::vector<TestLanguage> languages = {
#include "TextTables.inc"
    };
    return languages;
}

class TableTexts final : public ITextSource {
public:
    std::u16string Load(std::uint16_t language, TextId id) override {
        for (const UiLanguage& ui : kUiLanguages)
            if (ui.id == language)
                for (const TestLanguage& test : TestLanguages())
                    if (test.tag == ui.tag) {
                        const auto index = static_cast<std::size_t>(id) - 1;
                        return index < test.texts.size() && test.texts[index] ? test.texts[index] : u"";
                    }
        return {};
    }
};

// Shows the texts in English, as the tests expect them unless they choose.
inline void UseEnglishTexts() {
    static TableTexts texts;
    UseTexts(&texts, kEnglishLanguage);
}

} // namespace snq::testing
