#pragma once
// The real registry, HKEY_LOCAL_MACHINE in the view RootKey names.
#include "settings/Registry.h"

namespace snq {

class Win32Registry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> CreateKey(RootKey root, std::u16string_view path) override;
    std::unique_ptr<IRegistryKey> OpenKeyReadOnly(RootKey root, std::u16string_view path) override;
    bool DeleteKey(RootKey root, std::u16string_view path) override;
    std::vector<std::u16string> SubkeyNames(RootKey root, std::u16string_view path) override;
};

} // namespace snq
