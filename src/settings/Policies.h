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
    std::optional<std::u16string> browser;       // kDefaultBrowser, kInternetExplorer or a browser's key
    std::optional<bool> allowPrivateWindow;
    bool operator==(const Policies&) const = default;
    // Whether any policy decides anything.
    bool Any() const;
};

// The Browser policy's two values that name no installed browser.
inline constexpr std::u16string_view kDefaultBrowser = u"Default";
inline constexpr std::u16string_view kInternetExplorer = u"InternetExplorer";

// A text policy's check and what it sets: false when the text cannot be
// used. `keys` names hotkeys (none: the hotkey is not read), by `layouts`.
using TakePolicyText = bool (*)(Policies&, const std::u16string& text, THotKeyText* keys, LayoutCheck layouts);
bool TakeSearchAddress(Policies&, const std::u16string&, THotKeyText*, LayoutCheck);
bool TakeHotKey(Policies&, const std::u16string&, THotKeyText*, LayoutCheck);
bool TakeLanguage(Policies&, const std::u16string&, THotKeyText*, LayoutCheck);
bool TakeBrowser(Policies&, const std::u16string&, THotKeyText*, LayoutCheck);

// A value the program reads, and where it goes: a switch into its field,
// a text through its check. A new policy is a field above and a row here.
struct PolicyValue {
    std::u16string_view name;
    PolicyKind kind;
    std::optional<bool> Policies::*on = nullptr;
    TakePolicyText take = nullptr;
};

// Every value the program reads. The administrative templates are made
// from this list (scripts/make-policies), so the two cannot drift.
// policy-values-begin
inline constexpr PolicyValue kPolicyValues[] = {
    {u"SearchAddress", PolicyKind::Text, nullptr, TakeSearchAddress},
    {u"UseDefaultBrowser", PolicyKind::Switch, &Policies::useDefaultBrowser},
    {u"CopySelection", PolicyKind::Switch, &Policies::copySelection},
    {u"OpenAddresses", PolicyKind::Switch, &Policies::openAddresses},
    {u"HotKey", PolicyKind::Text, nullptr, TakeHotKey},
    {u"AllowProfiles", PolicyKind::Switch, &Policies::allowProfiles},
    {u"AllowSettings", PolicyKind::Switch, &Policies::allowSettings},
    {u"Language", PolicyKind::Text, nullptr, TakeLanguage},
    {u"Browser", PolicyKind::Text, nullptr, TakeBrowser},
    {u"AllowPrivateWindow", PolicyKind::Switch, &Policies::allowPrivateWindow},
};
// policy-values-end

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
// as not set; with AllowProfiles off the profiles are not used; with
// AllowPrivateWindow off no search opens a private window.
UserChoices InForce(UserChoices user, const Policies& policies, const AddressLimits& limits);

} // namespace snq
