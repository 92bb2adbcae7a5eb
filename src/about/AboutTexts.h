#pragma once
// The About window's texts that are the same in every language; the others
// are TextId::AboutDescription and TextId::AboutCopyright.
#include <string_view>

#include "Version.h"

namespace snq {

inline constexpr std::wstring_view kAboutCaption = L"" SNQ_TITLE;
inline constexpr std::wstring_view kMakerAddress = L"www.varnel.example";
inline constexpr std::wstring_view kMakerLink = L"http://www.varnel.example";

} // namespace snq
