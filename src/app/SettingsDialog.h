#pragma once
// The Settings window's layout, texts and decisions, without Windows:
// SettingsFormWin32 makes the window from them.
#include <cstdint>
#include <string>
#include <string_view>

#include "search/SearchTemplate.h"
#include "settings/Settings.h"

namespace snq {

inline constexpr std::u16string_view kSettingsTitle = u"Snapquery Settings";

enum class SearchEngine { Google, Bing, DuckDuckGo, Custom };

// The window shows and returns UserChoices. Its Yes/No boxes stand for one
// choice each (ControlSpec::choice); these controls stand for the hotkey
// and the template together.
struct SettingsChoices {
    std::uint32_t hotKey = 0; // the hotkey box (a hotkey value); 0 when empty
    bool noHotKey = false;    // "None"
    SearchEngine engine = SearchEngine::Google;
    std::u16string customAddress; // the Custom box
};

// The controls that show `choices`, and the choices they hold.
SettingsChoices ShowChoices(const UserChoices& choices);
void TakeChoices(const SettingsChoices& shown, UserChoices& choices);

// Why the hotkey `hotKeyText` cannot be one ("Ctrl+V cannot be a hotkey:
// ..."), or nothing.
std::u16string HotKeyRefusalText(std::u16string_view hotKeyText, const HotKeyRefusal& refusal);
// Why OK cannot apply `choices`, or nothing; `hotKeyText` is the
// formatter's text of the hotkey box and `refusal` what keeps it from being
// a hotkey (THotKeyText::RefusalOf), `addressLimit` the longest address
// the chosen browser takes (the same limit a search checks the template
// against).
std::u16string SettingsProblem(const SettingsChoices& choices, std::u16string_view hotKeyText,
                               const HotKeyRefusal& refusal, std::size_t addressLimit);
// Why a stored hotkey (`hotKeyText`) is not in force, said once in the
// Settings window.
std::u16string SetAsideText(std::u16string_view hotKeyText, const SetAsideHotKey& setAside);
// The offer to remove a machine-wide start entry (`command`) that one user
// could abuse, and what is said when it stays.
std::u16string UnsafeStartEntryText(std::u16string_view command);
inline constexpr std::u16string_view kStartEntryStays =
    u"The start entry for every user could not be removed. An administrator can remove the value SNQ "
    u"under HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run.";
// The message when another program holds the chosen hotkey.
std::u16string HotKeyInUseText(std::u16string_view hotKeyText);
// The message when the main search (`owner` empty) or the profile `owner`
// has the chosen hotkey already.
std::u16string HotKeyOwnedText(std::u16string_view hotKeyText, std::u16string_view owner);

// The search profile window: a name, an address from the presets or typed,
// and a hotkey.
inline constexpr std::u16string_view kProfileTitle = u"Search Profile";

struct SearchPreset {
    std::u16string_view name;
    std::u16string_view searchTemplate;
};
// {lang} is the user's interface language (Google, Wikipedia) or the
// language to translate into.
inline constexpr SearchPreset kSearchPresets[] = {
    {u"Google", u"https://www.google.com/search?hl={lang}&q={query}"},
    {u"Bing", kBingTemplate},
    {u"DuckDuckGo", kDuckDuckGoTemplate},
    {u"Wikipedia",
     u"https://www.wikipedia.org/search-redirect.php?family=wikipedia&language={lang}&search={query}&go=Go"},
    {u"YouTube", u"https://www.youtube.com/results?search_query={query}"},
    {u"Google Maps", u"https://www.google.com/maps/search/?api=1&query={query}"},
    {u"Google Translate", u"https://translate.google.com/?sl=auto&tl={lang}&text={query}&op=translate"},
};
inline constexpr std::u16string_view kCustomPreset = u"Custom";
// The preset a template is, or std::size(kSearchPresets) for Custom.
std::size_t PresetOf(std::u16string_view searchTemplate);

// Why OK cannot take `profile` (`noHotKey`: "None" ticked), or nothing. Its
// hotkey may be no other's in `choices` but the profile's own at `index`.
std::u16string ProfileProblem(const SearchProfile& profile, bool noHotKey, std::u16string_view hotKeyText,
                              const HotKeyRefusal& refusal, std::size_t addressLimit, const UserChoices& choices,
                              std::size_t index);
// A profile in the Settings window's list, and in the menu (where "&"
// would mark a mnemonic): the name, and the hotkey's text after a tab.
std::u16string ProfileListText(std::u16string_view name, std::u16string_view hotKeyText);
std::u16string ProfileMenuCaption(std::u16string_view name, std::u16string_view hotKeyText);

// The controls, in tab order, in 96-DPI units of the client area.
enum class ControlKind {
    Label, HotKey, CheckBox, Group, FirstRadio, Radio, Edit, List, Button, DropList, OkButton, CancelButton
};

struct ControlSpec {
    int id;
    ControlKind kind;
    std::u16string_view text; // "&" marks the mnemonic
    int x, y, width, height;
    bool UserChoices::*choice = nullptr; // the Yes/No choice a check box shows
};

enum SettingsControlId : int {
    idSettingsOk = 1, // IDOK
    idSettingsCancel = 2, // IDCANCEL
    idHotKeyLabel = 100,
    idHotKey,
    idNoHotKey,
    idSearchGroup,
    idGoogle,
    idBing,
    idDuckDuckGo,
    idCustom,
    idCustomAddress,
    idCopySelection,
    idOpenAddresses,
    idProfilesGroup,
    idProfileList,
    idProfileAdd,
    idProfileEdit,
    idProfileRemove,
    idProfileUp,
    idProfileDown,
};

inline constexpr int kSettingsWidth = 340;
inline constexpr int kSettingsHeight = 446;

inline constexpr ControlSpec kSettingsControls[] = {
    {idHotKeyLabel, ControlKind::Label, u"&Hotkey:", 12, 15, 80, 16},
    {idHotKey, ControlKind::HotKey, u"", 96, 12, 150, 22},
    {idNoHotKey, ControlKind::CheckBox, u"&None", 256, 13, 72, 20},
    {idSearchGroup, ControlKind::Group, u"Search with", 12, 44, 316, 124},
    {idGoogle, ControlKind::FirstRadio, u"&Google", 24, 64, 120, 20},
    {idBing, ControlKind::Radio, u"&Bing", 24, 86, 120, 20},
    {idDuckDuckGo, ControlKind::Radio, u"&DuckDuckGo", 24, 108, 120, 20},
    {idCustom, ControlKind::Radio, u"C&ustom:", 24, 133, 72, 20},
    {idCustomAddress, ControlKind::Edit, u"", 100, 132, 216, 22},
    {idCopySelection, ControlKind::CheckBox, u"Copy the &selection first when the hotkey is pressed", 12,
     178, 316, 20, &UserChoices::copySelection},
    {idOpenAddresses, ControlKind::CheckBox, u"Open &web addresses directly", 12, 202, 316, 20,
     &UserChoices::openAddresses},
    {idProfilesGroup, ControlKind::Group, u"Search pro&files (Search with in the menu)", 12, 232, 316, 166},
    {idProfileList, ControlKind::List, u"", 24, 252, 196, 136},
    {idProfileAdd, ControlKind::Button, u"&Add...", 232, 252, 84, 24},
    {idProfileEdit, ControlKind::Button, u"&Edit...", 232, 279, 84, 24},
    {idProfileRemove, ControlKind::Button, u"&Remove", 232, 306, 84, 24},
    {idProfileUp, ControlKind::Button, u"Move u&p", 232, 333, 84, 24},
    {idProfileDown, ControlKind::Button, u"Move d&own", 232, 360, 84, 24},
    {idSettingsOk, ControlKind::OkButton, u"OK", 164, 410, 75, 25},
    {idSettingsCancel, ControlKind::CancelButton, u"Cancel", 253, 410, 75, 25},
};

enum ProfileControlId : int {
    idProfileNameLabel = 200,
    idProfileName,
    idProfileEngineLabel,
    idProfileEngine,
    idProfileAddressLabel,
    idProfileAddress,
    idProfileHotKeyLabel,
    idProfileHotKey,
    idProfileNoHotKey,
};

inline constexpr int kProfileWidth = 340;
inline constexpr int kProfileHeight = 188;

inline constexpr ControlSpec kProfileControls[] = {
    {idProfileNameLabel, ControlKind::Label, u"&Name:", 12, 15, 84, 16},
    {idProfileName, ControlKind::Edit, u"", 100, 12, 228, 22},
    {idProfileEngineLabel, ControlKind::Label, u"&Search with:", 12, 47, 84, 16},
    {idProfileEngine, ControlKind::DropList, u"", 100, 44, 228, 22},
    {idProfileAddressLabel, ControlKind::Label, u"&Address:", 12, 79, 84, 16},
    {idProfileAddress, ControlKind::Edit, u"", 100, 76, 228, 22},
    {idProfileHotKeyLabel, ControlKind::Label, u"&Hotkey:", 12, 111, 84, 16},
    {idProfileHotKey, ControlKind::HotKey, u"", 100, 108, 150, 22},
    {idProfileNoHotKey, ControlKind::CheckBox, u"N&one", 256, 109, 72, 20},
    {idSettingsOk, ControlKind::OkButton, u"OK", 164, 150, 75, 25},
    {idSettingsCancel, ControlKind::CancelButton, u"Cancel", 253, 150, 75, 25},
};

} // namespace snq
