#pragma once
// The Settings window's layout, texts and decisions, without Windows:
// SettingsFormWin32 makes the window from them.
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/Texts.h"
#include "search/Browsers.h"
#include "search/SearchTemplate.h"
#include "settings/Settings.h"

namespace snq {


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
// could abuse.
std::u16string UnsafeStartEntryText(std::u16string_view command);
// The message when another program holds the chosen hotkey.
std::u16string HotKeyInUseText(std::u16string_view hotKeyText);
// The message when the main search (`owner` empty) or the profile `owner`
// has the chosen hotkey already.
std::u16string HotKeyOwnedText(std::u16string_view hotKeyText, std::u16string_view owner);

// The "Open in" drop-down. The Settings window's starts with the default
// browser and Internet Explorer, a profile's with "As the main search";
// each installed browser follows, by its name.
struct OpenInList {
    bool profile = false;
    std::vector<InstalledBrowser> browsers;
    std::size_t Fixed() const { return profile ? 1 : 2; }
    std::vector<std::u16string> Names() const;
    // The entry that shows `browser` (a key; empty: the default browser, or
    // Internet Explorer with `internetExplorer`). A browser no longer
    // installed shows as the first entry, and sets `gone`.
    std::size_t IndexOf(std::u16string_view browser, bool internetExplorer, bool& gone) const;
    // The key the entry at `index` stores: empty for the fixed ones.
    std::u16string KeyAt(std::size_t index) const;
};

// The search profile window: a name, an address from the presets or typed,
// and a hotkey.
struct SearchPreset {
    std::u16string_view name;       // a product's name, the same in every language
    std::u16string_view searchTemplate;
    TextId translated = TextId{};   // else its name in the interface's language
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
    {u"", u"https://www.google.com/maps/search/?api=1&query={query}", TextId::PresetGoogleMaps},
    {u"", u"https://translate.google.com/?sl=auto&tl={lang}&text={query}&op=translate", TextId::PresetGoogleTranslate},
};
// A preset's name as the window shows it.
std::u16string PresetName(const SearchPreset& preset);
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
    TextId text; // "&" marks the mnemonic; TextId{} for none
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
    idLanguageLabel,
    idLanguage,
    idManaged,
    idCustomAddressName,
    idOpenInLabel,
    idOpenIn,
    idPrivateWindow,
};

inline constexpr int kSettingsWidth = 420;
inline constexpr int kSettingsHeight = 508;

inline constexpr ControlSpec kSettingsControls[] = {
    {idHotKeyLabel, ControlKind::Label, TextId::SettingsHotkey, 12, 15, 110, 16},
    {idHotKey, ControlKind::HotKey, TextId{}, 126, 12, 160, 22},
    {idNoHotKey, ControlKind::CheckBox, TextId::SettingsNoHotkey, 296, 13, 112, 20},
    {idSearchGroup, ControlKind::Group, TextId::SettingsSearchGroup, 12, 44, 396, 124},
    {idGoogle, ControlKind::FirstRadio, TextId::SettingsGoogle, 24, 64, 160, 20},
    {idBing, ControlKind::Radio, TextId::SettingsBing, 24, 86, 160, 20},
    {idDuckDuckGo, ControlKind::Radio, TextId::SettingsDuckduckgo, 24, 108, 160, 20},
    {idCustom, ControlKind::Radio, TextId::SettingsCustom, 24, 133, 110, 20},
    // No room for a label beside the radio button before the box: one of no
    // size gives the box its name by Windows' rule (the static text right
    // before a control names it, unless a tab stop comes between).
    {idCustomAddressName, ControlKind::Label, TextId::ProfileCustom, 138, 132, 0, 0},
    {idCustomAddress, ControlKind::Edit, TextId{}, 138, 132, 258, 22},
    {idCopySelection, ControlKind::CheckBox, TextId::SettingsCopySelection, 12, 178, 396, 20,
     &UserChoices::copySelection},
    {idOpenAddresses, ControlKind::CheckBox, TextId::SettingsOpenAddresses, 12, 202, 396, 20,
     &UserChoices::openAddresses},
    {idOpenInLabel, ControlKind::Label, TextId::SettingsOpenIn, 12, 235, 110, 16},
    {idOpenIn, ControlKind::DropList, TextId{}, 126, 232, 160, 22},
    {idPrivateWindow, ControlKind::CheckBox, TextId::SettingsPrivateWindow, 296, 233, 112, 20,
     &UserChoices::privateWindow},
    {idProfilesGroup, ControlKind::Group, TextId::SettingsProfilesGroup, 12, 262, 396, 166},
    {idProfileList, ControlKind::List, TextId{}, 24, 282, 256, 136},
    {idProfileAdd, ControlKind::Button, TextId::SettingsAdd, 292, 282, 104, 24},
    {idProfileEdit, ControlKind::Button, TextId::SettingsEdit, 292, 309, 104, 24},
    {idProfileRemove, ControlKind::Button, TextId::SettingsRemove, 292, 336, 104, 24},
    {idProfileUp, ControlKind::Button, TextId::SettingsMoveUp, 292, 363, 104, 24},
    {idProfileDown, ControlKind::Button, TextId::SettingsMoveDown, 292, 390, 104, 24},
    {idLanguageLabel, ControlKind::Label, TextId::SettingsLanguage, 12, 441, 110, 16},
    {idLanguage, ControlKind::DropList, TextId{}, 126, 438, 282, 22},
    // Beside the buttons, up to two lines; shown only when a policy decides.
    {idManaged, ControlKind::Label, TextId::SettingsManaged, 12, 468, 224, 32},
    {idSettingsOk, ControlKind::OkButton, TextId::CommonOk, 244, 472, 75, 25},
    {idSettingsCancel, ControlKind::CancelButton, TextId::CommonCancel, 333, 472, 75, 25},
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
    idProfileOpenInLabel,
    idProfileOpenIn,
    idProfilePrivateWindow,
};

inline constexpr int kProfileWidth = 400;
inline constexpr int kProfileHeight = 242;

inline constexpr ControlSpec kProfileControls[] = {
    {idProfileNameLabel, ControlKind::Label, TextId::ProfileName, 12, 15, 130, 16},
    {idProfileName, ControlKind::Edit, TextId{}, 148, 12, 240, 22},
    {idProfileEngineLabel, ControlKind::Label, TextId::ProfileEngine, 12, 47, 130, 16},
    {idProfileEngine, ControlKind::DropList, TextId{}, 148, 44, 240, 22},
    {idProfileAddressLabel, ControlKind::Label, TextId::ProfileAddress, 12, 79, 130, 16},
    {idProfileAddress, ControlKind::Edit, TextId{}, 148, 76, 240, 22},
    {idProfileHotKeyLabel, ControlKind::Label, TextId::ProfileHotkey, 12, 111, 130, 16},
    {idProfileHotKey, ControlKind::HotKey, TextId{}, 148, 108, 150, 22},
    {idProfileNoHotKey, ControlKind::CheckBox, TextId::ProfileNoHotkey, 308, 109, 80, 20},
    {idProfileOpenInLabel, ControlKind::Label, TextId::SettingsOpenIn, 12, 143, 130, 16},
    {idProfileOpenIn, ControlKind::DropList, TextId{}, 148, 140, 240, 22},
    {idProfilePrivateWindow, ControlKind::CheckBox, TextId::SettingsPrivateWindow, 148, 168, 240, 20},
    {idSettingsOk, ControlKind::OkButton, TextId::CommonOk, 224, 204, 75, 25},
    {idSettingsCancel, ControlKind::CancelButton, TextId::CommonCancel, 313, 204, 75, 25},
};

} // namespace snq
