#include "settings/Registry.h"

#include "framework/Exceptions.h"

namespace snq {

void RaiseRegistryError(TextId pattern, std::u16string_view name) { throw ERegistryException(Tr(pattern, {name})); }

std::u16string TextOf(const RegValue& value) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(value.data[i] | (value.data[i + 1] << 8));
        if (c == u'\0') break;
        text += c;
    }
    return text;
}

namespace {
std::u16string_view Relative(std::u16string_view path) {
    if (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
    return path;
}
} // namespace

bool TRegistry::OpenKey(std::u16string_view path) {
    key_ = registry_.CreateKey(root_, Relative(path));
    return key_ != nullptr;
}

bool TRegistry::OpenKeyReadOnly(std::u16string_view path) {
    key_ = registry_.OpenKeyReadOnly(root_, Relative(path));
    return key_ != nullptr;
}

bool TRegistry::ValueExists(std::u16string_view name) {
    return key_ && key_->Query(name).has_value();
}

std::u16string TRegistry::ReadString(std::u16string_view name) {
    const auto info = key_ ? key_->Query(name) : std::nullopt;
    if (!info || info->second == 0) return {};
    const auto value = key_->Read(name);
    if (!value) RaiseRegistryError(TextId::ErrorGetData, name);
    if (value->type != RegType::Sz && value->type != RegType::ExpandSz)
        RaiseRegistryError(TextId::ErrorDataType, name);
    return TextOf(*value);
}

std::optional<std::u16string> TRegistry::ReadStringIfAny(std::u16string_view name) {
    const auto value = key_ ? key_->Read(name) : std::nullopt;
    if (!value) return std::nullopt;
    if (value->data.empty()) return std::u16string(); // size 0 reads empty, whatever its type
    if (value->type != RegType::Sz && value->type != RegType::ExpandSz) return std::nullopt;
    return TextOf(*value);
}

void TRegistry::WriteString(std::u16string_view name, std::u16string_view text) {
    if (!key_ || !key_->WriteString(name, text)) RaiseRegistryError(TextId::ErrorSetData, name);
}

bool TRegistry::DeleteValue(std::u16string_view name) { return key_ && key_->Delete(name); }

std::optional<RegValue> TRegistry::ReadValue(std::u16string_view name) {
    return key_ ? key_->Read(name) : std::nullopt;
}

bool TRegistry::DeleteKey(std::u16string_view path) { return registry_.DeleteKey(root_, Relative(path)); }

} // namespace snq
