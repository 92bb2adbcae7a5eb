#pragma once
// The Settings window's layout, texts and decisions, without Windows:
// SettingsFormWin32 makes the window from them.
#include <cstdint>
#include <string>
#include <string_view>

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

// Why OK cannot apply `choices`, or nothing; `hotKeyText` is the
// formatter's text of the hotkey box, `addressLimit` the longest address
// the chosen browser takes (the same limit a search checks the template
// against).
std::u16string SettingsProblem(const SettingsChoices& choices, std::u16string_view hotKeyText,
                               std::size_t addressLimit);
// The message when another program holds the chosen hotkey.
std::u16string HotKeyInUseText(std::u16string_view hotKeyText);

// The controls, in tab order, in 96-DPI units of the client area.
enum class ControlKind { Label, HotKey, CheckBox, Group, FirstRadio, Radio, Edit, OkButton, CancelButton };

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
};

inline constexpr int kSettingsWidth = 340;
inline constexpr int kSettingsHeight = 270;

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
    {idSettingsOk, ControlKind::OkButton, u"OK", 164, 236, 75, 25},
    {idSettingsCancel, ControlKind::CancelButton, u"Cancel", 253, 236, 75, 25},
};

} // namespace snq
