#include "settings/RegistryWin32.h"

#include "framework/Text.h"
#include "framework/Win32Handles.h"

namespace snq {

namespace {

class Win32Key final : public IRegistryKey {
public:
    explicit Win32Key(HKEY key) : key_(key) {}

    std::optional<std::pair<RegType, std::uint32_t>> Query(std::u16string_view name) override {
        const std::wstring wide = ToWide(name);
        DWORD type = 0, size = 0;
        if (::RegQueryValueExW(key_.get(), wide.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        return std::pair{ToType(type), static_cast<std::uint32_t>(size)};
    }

    std::optional<RegValue> Read(std::u16string_view name) override {
        const std::wstring wide = ToWide(name);
        // One call for the short texts of the settings; a longer value gives
        // its size, and may grow between the size and the read: retry.
        RegValue value{RegType::None, std::vector<std::uint8_t>(512)};
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = 0, size = static_cast<DWORD>(value.data.size());
            const LONG rc = ::RegQueryValueExW(key_.get(), wide.c_str(), nullptr, &type,
                                               value.data.data(), &size);
            if (rc == ERROR_MORE_DATA) {
                value.data.resize(size);
                continue;
            }
            if (rc != ERROR_SUCCESS) return std::nullopt;
            value.type = ToType(type);
            value.data.resize(size);
            return value;
        }
        return std::nullopt;
    }

    bool WriteString(std::u16string_view name, std::u16string_view text) override {
        const std::wstring wide = ToWide(name);
        const std::wstring data = ToWide(text);
        return ::RegSetValueExW(key_.get(), wide.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.c_str()),
                                static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) ==
               ERROR_SUCCESS;
    }

    bool Delete(std::u16string_view name) override {
        const std::wstring wide = ToWide(name);
        return ::RegDeleteValueW(key_.get(), wide.c_str()) == ERROR_SUCCESS;
    }

private:
    static RegType ToType(DWORD type) {
        switch (type) {
        case REG_NONE: return RegType::None;
        case REG_SZ: return RegType::Sz;
        case REG_EXPAND_SZ: return RegType::ExpandSz;
        case REG_BINARY: return RegType::Binary;
        case REG_DWORD: return RegType::Dword;
        default: return RegType::Other;
        }
    }

    UniqueHkey key_;
};

} // namespace

namespace {
HKEY HiveOf(RootKey root) { return root == RootKey::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
REGSAM ViewOf(RootKey root) {
    switch (root) {
    case RootKey::LocalMachine: return KEY_WOW64_32KEY;
    case RootKey::LocalMachine64: return KEY_WOW64_64KEY;
    case RootKey::CurrentUser: break;
    }
    return 0;
}
} // namespace

std::unique_ptr<IRegistryKey> Win32Registry::CreateKey(RootKey root, std::u16string_view path) {
    const std::wstring wide = ToWide(path);
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HiveOf(root), wide.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS | ViewOf(root), nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32Key>(key);
}

std::unique_ptr<IRegistryKey> Win32Registry::OpenKeyReadOnly(RootKey root,
                                                             std::u16string_view path) {
    const std::wstring wide = ToWide(path);
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HiveOf(root), wide.c_str(), 0, KEY_READ | ViewOf(root), &key) !=
        ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32Key>(key);
}

bool Win32Registry::DeleteKey(RootKey root, std::u16string_view path) {
    const std::wstring wide = ToWide(path);
    return ::RegDeleteKeyExW(HiveOf(root), wide.c_str(), ViewOf(root), 0) == ERROR_SUCCESS;
}

std::vector<std::u16string> Win32Registry::SubkeyNames(RootKey root, std::u16string_view path) {
    std::vector<std::u16string> names;
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HiveOf(root), ToWide(path).c_str(), 0, KEY_ENUMERATE_SUB_KEYS | ViewOf(root), &opened) !=
        ERROR_SUCCESS)
        return names;
    const UniqueHkey key(opened);
    wchar_t name[256]; // a key's name is at most 255 characters
    for (DWORD i = 0, length = 256; ::RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr,
                                                    nullptr) == ERROR_SUCCESS;
         ++i, length = 256)
        names.push_back(ToU16(std::wstring_view(name, length)));
    return names;
}

} // namespace snq
