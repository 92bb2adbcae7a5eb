#pragma once
// The About window's texts.
#include <string_view>

#include "Version.h"

namespace snq {

inline constexpr std::wstring_view kAboutCaption = L"" SNQ_TITLE;
inline constexpr std::wstring_view kAboutDescription = L"Clipboard text to Google search in one click";
inline constexpr std::wstring_view kAboutCopyright = L"Copyright \u00a9 2026 Varnel";
inline constexpr std::wstring_view kMakerAddress = L"www.varnel.example";
inline constexpr std::wstring_view kMakerLink = L"http://www.varnel.example";

} // namespace snq
