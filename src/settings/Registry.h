#pragma once
// The registry as the settings use it, behind a small interface so that the
// settings' decisions are tested against a fake one. RegistryWin32 is the
// real adapter.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Texts.h"

namespace snq {

// HKEY_LOCAL_MACHINE in the 32-bit view (where the settings of earlier,
// 32-bit, installations live) and in the 64-bit view, and HKEY_CURRENT_USER.
enum class RootKey { LocalMachine, CurrentUser, LocalMachine64 };

// The registry's value types that matter here.
enum class RegType : std::uint32_t { None = 0, Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4, Other = 0xFFFF };

struct RegValue {
    RegType type = RegType::None;
    std::vector<std::uint8_t> data;
};

// An open key. Value names are matched without regard to case.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    // Type and data size, or nothing when the value cannot be queried.
    virtual std::optional<std::pair<RegType, std::uint32_t>> Query(std::u16string_view name) = 0;
    // Type and data, or nothing when the read fails.
    virtual std::optional<RegValue> Read(std::u16string_view name) = 0;
    // Writes a REG_SZ value, its terminating NUL included.
    virtual bool WriteString(std::u16string_view name, std::u16string_view text) = 0;
    virtual bool Delete(std::u16string_view name) = 0;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Opens `path` under `root` for reading and writing, creating it when
    // missing; nothing when that is refused.
    virtual std::unique_ptr<IRegistryKey> CreateKey(RootKey root, std::u16string_view path) = 0;
    // Opens an existing key for reading only; nothing when it is missing or
    // refused. A standard user may read the machine's keys but not write
    // them, so existence tests and reads ask for no more than this.
    virtual std::unique_ptr<IRegistryKey> OpenKeyReadOnly(RootKey root,
                                                          std::u16string_view path) = 0;
    // Deletes the key (one without subkeys) and its values; false when it
    // is missing or that is refused.
    virtual bool DeleteKey(RootKey root, std::u16string_view path) = 0;
    // The names of the subkeys of `path`; none when it is missing.
    virtual std::vector<std::u16string> SubkeyNames(RootKey root, std::u16string_view path) = 0;
};

// A text value's characters up to its first NUL.
std::u16string TextOf(const RegValue& value);

// Raises ERegistryException with the text `pattern` ("Failed to set data for
// '%1'"), its %1 filled with `name`.
[[noreturn]] void RaiseRegistryError(TextId pattern, std::u16string_view name);

// The registry access object of one operation: a root, at most one open
// ("current") key, and the text reads and writes with their errors.
class TRegistry {
public:
    TRegistry(IRegistry& registry, RootKey root) : registry_(registry), root_(root) {}

    RootKey Root() const { return root_; }
    // Opens (creating) the key for reading and writing; a leading "\" makes
    // the path relative to the root. Returns whether there is now a current
    // key.
    bool OpenKey(std::u16string_view path);
    // Opens an existing key for reading only.
    bool OpenKeyReadOnly(std::u16string_view path);
    bool ValueExists(std::u16string_view name);
    // Raises ERegistryException "Invalid data type for '%s'" or "Failed to
    // get data for '%s'"; a missing value or one of size 0 reads empty.
    std::u16string ReadString(std::u16string_view name);
    // The text of `name`, or nothing when it is missing, cannot be read or
    // is not a text: one read, no error.
    std::optional<std::u16string> ReadStringIfAny(std::u16string_view name);
    // The value `name` as stored, or nothing when it is missing or cannot
    // be read.
    std::optional<RegValue> ReadValue(std::u16string_view name);
    // Raises ERegistryException "Failed to set data for '%s'".
    void WriteString(std::u16string_view name, std::u16string_view text);
    bool DeleteValue(std::u16string_view name);
    // Deletes the key at `path` (one without subkeys) under the root.
    bool DeleteKey(std::u16string_view path);
    void CloseKey() { key_.reset(); }

private:
    IRegistry& registry_;
    RootKey root_;
    std::unique_ptr<IRegistryKey> key_;
};

} // namespace snq
