#pragma once
#include "search/SysLocale.h"

namespace snq {

// GetLocaleInfoW for the thread's locale.
class Win32LocaleSource final : public ILocaleSource {
public:
    std::uint32_t ThreadLocale() override;
    std::optional<std::u16string> Info(std::uint32_t locale, std::uint32_t item) override;
};

} // namespace snq
