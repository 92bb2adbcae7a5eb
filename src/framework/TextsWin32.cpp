#include "framework/TextsWin32.h"

#include <windows.h>

#include "framework/Text.h"

namespace snq {

std::u16string ResourceTexts::Load(std::uint16_t language, TextId id) {
    const unsigned number = static_cast<unsigned>(id);
    HMODULE module = ::GetModuleHandleW(nullptr);
    // Strings live in blocks of 16, block n + 1 holding ids 16n to 16n + 15,
    // each a length and that many UTF-16 units; a missing one has length 0.
    HRSRC block = ::FindResourceExW(module, MAKEINTRESOURCEW(6) /* RT_STRING */,
                                    MAKEINTRESOURCEW(number / 16 + 1), language);
    if (!block) return {};
    const auto* data = static_cast<const char16_t*>(::LockResource(::LoadResource(module, block)));
    const std::size_t size = ::SizeofResource(module, block) / sizeof(char16_t);
    if (!data) return {};
    std::size_t at = 0;
    for (unsigned i = 0; i < number % 16 && at < size; ++i) at += 1 + data[at];
    if (at >= size || at + 1 + data[at] > size) return {};
    return std::u16string(data + at + 1, data[at]);
}

std::vector<std::u16string> PreferredUiLanguages() {
    ULONG count = 0, length = 0;
    if (!::GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &length) || length == 0) return {};
    std::wstring names(length, L'\0');
    if (!::GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &length)) return {};
    // NUL-separated, ending with two NULs.
    std::vector<std::u16string> languages;
    for (std::size_t at = 0; at < names.size() && names[at];) {
        const std::size_t end = names.find(L'\0', at);
        languages.push_back(ToU16(std::wstring_view(names).substr(at, end - at)));
        at = end + 1;
    }
    return languages;
}

void UseUiLanguage(std::u16string_view setting) {
    static ResourceTexts texts;
    const UiLanguage* chosen = ShippedLanguage(setting);
    UseTexts(&texts, (chosen ? *chosen : ChooseUiLanguage(u"", PreferredUiLanguages())).id);
}

} // namespace snq
