#pragma once
// What an administrator decides for everyone (by Group Policy, Intune or by
// hand): values under Software\Policies\Varnel\Snapquery, the machine's over
// the user's, each over the user's own choice. The program never writes
// them, nor copies them into the user's settings.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/Settings.h"

namespace snq {

inline constexpr std::u16string_view kPolicyKey = u"SOFTWARE\\Policies\\Varnel\\Snapquery";

// A policy's value: a text (REG_SZ) or a switch (REG_DWORD 0 or 1).
enum class PolicyKind { Text, Switch };

struct PolicyValue {
    std::u16string_view name;
    PolicyKind kind;
};

// Every value the program reads. The administrative templates are made
// from this list (scripts/make-policies), so the two cannot drift.
// policy-values-begin
inline constexpr PolicyValue kPolicyValues[] = {
    {u"SearchAddress", PolicyKind::Text},
    {u"UseDefaultBrowser", PolicyKind::Switch},
    {u"CopySelection", PolicyKind::Switch},
    {u"OpenAddresses", PolicyKind::Switch},
    {u"HotKey", PolicyKind::Text},
    {u"AllowProfiles", PolicyKind::Switch},
    {u"AllowSettings", PolicyKind::Switch},
    {u"Language", PolicyKind::Text},
};
// policy-values-end

// What policies decide: nothing where none does, or where its value cannot
// be used (a wrong type, an unusable text: traced, never said).
struct Policies {
    std::optional<std::u16string> searchAddress; // a template (checked again in force)
    std::optional<bool> useDefaultBrowser;
    std::optional<bool> copySelection;
    std::optional<bool> openAddresses;
    std::optional<std::uint32_t> hotKey;         // 0: none
    std::optional<bool> allowProfiles;
    std::optional<bool> allowSettings;
    std::optional<std::u16string> language;      // a shipped tag
    bool operator==(const Policies&) const = default;
    // Whether any policy decides anything.
    bool Any() const;
};

// Reads the policies from HKEY_LOCAL_MACHINE (its 64-bit view: the key is
// shared by both) and then HKEY_CURRENT_USER; a machine value wins. A
// hotkey is refused as the user's is (`layouts`: with the keyboard
// layouts' rule); without `keys` it is not read.
Policies ReadPolicies(IRegistry& registry, THotKeyText* keys, LayoutCheck layouts);

// The interface's language in force: a policy's, else the user's stored one
// (StoredLanguage). For the start, before anything is shown.
std::u16string LanguageInForce(IRegistry& registry);

// The choices in force: `user`'s, with what `policies` decide over them. A
// policy's template that the browser in force cannot take (`limits`) counts
// as not set; with AllowProfiles off the profiles are not used.
UserChoices InForce(UserChoices user, const Policies& policies, const AddressLimits& limits);

} // namespace snq
