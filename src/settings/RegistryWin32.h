#pragma once
// The real registry. Keys under HKEY_LOCAL_MACHINE are opened in the 32-bit
// view, where the settings of earlier (32-bit) installations live.
#include "settings/Registry.h"

namespace snq {

class Win32Registry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> CreateKey(RootKey root, std::u16string_view path) override;
    std::unique_ptr<IRegistryKey> OpenKeyReadOnly(RootKey root, std::u16string_view path) override;
    bool DeleteKey(RootKey root, std::u16string_view path) override;
};

} // namespace snq
