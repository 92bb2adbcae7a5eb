#pragma once
// The user's choices and where they live: one value type, read, checked and
// written in one place. Every operation opens the registry anew through its
// own TRegistry and closes it again.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hotkeys/HotKeyText.h"
#include "search/SearchAddress.h"
#include "settings/Registry.h"

namespace snq {

inline constexpr std::u16string_view kSettingsKey = u"\\SOFTWARE\\Varnel\\SNQ";
inline constexpr std::u16string_view kRunKey = u"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::u16string_view kRunValueName = u"SNQ";
// The switch with which the program removes, elevated, the machine-wide
// start entries that do not count (TSettings::RemoveUnsafeMachineRunEntries)
// and does nothing else.
inline constexpr std::u16string_view kRemoveStartEntrySwitch = u"/RemoveMachineStartEntry";

inline constexpr std::uint32_t kDefaultHotKey = kCtrlBit | 'G';

// The search profiles live in numbered subkeys of this one (1 to 9, in
// menu order) under the settings key.
inline constexpr std::u16string_view kProfilesKey = u"Profiles";
inline constexpr std::size_t kMaxProfiles = 9;
inline constexpr std::size_t kMaxProfileName = 64;

// A search beside the main one: its own address and hotkey.
struct SearchProfile {
    std::u16string name;           // "Name": what the menu shows
    std::u16string searchTemplate; // "SearchAddress": a usable template
    std::uint32_t hotKey = 0;      // "HotKey": a usable hotkey; 0: none
    std::u16string browser{};      // "Browser": an installed browser's key; empty: as the main search
    bool privateWindow = false;    // "PrivateWindow": Yes
    bool operator==(const SearchProfile&) const = default;
};

// A profile's name as typed or stored, without the spaces around it.
std::u16string_view TrimmedProfileName(std::u16string_view name);
// Whether `name` can name a profile: 1 to kMaxProfileName characters after
// the spaces around it, none a control character (the menu puts a tab
// between the name and the hotkey).
bool ProfileNameUsable(std::u16string_view name);

// A stored hotkey that parses but cannot be one, and so is not in force:
// whose it is (a profile's name; empty: the main search's) and why.
struct SetAsideHotKey {
    std::u16string owner;
    std::uint32_t value = 0;
    HotKeyRefusal refusal;
    bool operator==(const SetAsideHotKey&) const = default;
};

// The user's choices, decoded and checked: a stored value that cannot be
// used stands here as its default. The defaults are what a registry with
// nothing stored gives.
struct UserChoices {
    // "Default" other than "Yes": searches open in Internet Explorer by
    // automation; "Yes": in the default browser.
    bool useInternetExplorer = true;
    // "HotKey": a hotkey value that parses and may be a hotkey; 0: none.
    std::uint32_t hotKey = kDefaultHotKey;
    // "SearchAddress": a usable template; empty: the built-in Google one.
    std::u16string searchTemplate;
    // "Browser": the key of a browser Windows lists as installed
    // (InstalledBrowsers), which searches then open in, whatever "Default"
    // says; empty, or one no longer installed: as "Default" says.
    std::u16string browser;
    // The Yes/No values (kYesNoChoices).
    bool privateWindow = false; // "PrivateWindow": open searches in a private window
    bool copySelection = false; // "CopySelection": copy the selection before a hotkey search
    bool openAddresses = false; // "OpenAddresses": open a copied web address as it is
    // "Language": the interface's language, a shipped tag; empty: Windows'.
    std::u16string language;
    // "Profiles": at most kMaxProfiles, each with a usable name and
    // template. A hotkey that the main search or an earlier profile has
    // counts as none.
    std::vector<SearchProfile> profiles;
    // The stored hotkeys the read set aside (the main one then is Ctrl+G, a
    // profile's none).
    std::vector<SetAsideHotKey> setAside;

    bool operator==(const UserChoices&) const = default;
};

// Which of `choices` has the hotkey `value` (non-zero), leaving out the
// profile at `except`: the main search (u""), a profile's name, or nothing.
std::optional<std::u16string> HotKeyOwner(const UserChoices& choices, std::uint32_t value,
                                          std::size_t except = kMaxProfiles);

// The Yes/No values: their registry names and the choice each holds. A new
// Yes/No setting is a field above, a row here and a control in the Settings
// window's table.
struct YesNoChoice {
    std::u16string_view name;
    bool UserChoices::*choice;
};
inline constexpr YesNoChoice kYesNoChoices[] = {
    {u"PrivateWindow", &UserChoices::privateWindow},
    {u"CopySelection", &UserChoices::copySelection},
    {u"OpenAddresses", &UserChoices::openAddresses},
};

// The longest address each way of opening takes.
struct AddressLimits {
    std::size_t defaultBrowser = kMaxAddressLength; // the shell's
    std::size_t automation = kMaxAddressLength;     // Internet Explorer's
    std::size_t For(bool useInternetExplorer) const {
        return useInternetExplorer ? automation : defaultBrowser;
    }
};

// How a read treats "Default", the browser mode.
enum class BrowserModeRead {
    // As a search and the menu read it: created as "No" when missing, and an
    // error (ERegistryException) when it cannot be read.
    CreateOrRaise,
    // Only read: never created, and its default when it cannot be read. For
    // reads before the user asked for anything (start-up, a hotkey press).
    Quietly,
};

// The stored "Language" (as Read gives it), read alone: for the start,
// before anything is shown.
std::u16string StoredLanguage(IRegistry& registry);

// Whether a read checks the stored hotkeys against the user's keyboard
// layouts (THotKeyText::RefusalOf): at start and for the Settings window,
// never on the way of a key press or a search. MainOnly checks the main
// hotkey's and reads no profile: the start shows the icon first, and a
// later read brings the profiles with their checks.
enum class LayoutCheck { Skip, Apply, MainOnly };

// Whether the program a start entry's command starts lies where only
// administrators can write: a quoted (or space-free) full path under one of
// `folders` (Program Files, Windows), outside the folders of Windows that
// every user may write to, with no "." or ".." step and no variable. A
// machine-wide entry that starts anything else would start, for every
// account that signs in, a file one user can replace.
bool StartsFromAdministratorsFolder(std::u16string_view command, const std::vector<std::u16string>& folders);

// A program to start with an administrator's rights, and its arguments.
struct ElevatedRun {
    std::u16string file;
    std::u16string parameters;
    bool operator==(const ElevatedRun&) const = default;
};

class TSettings {
public:
    // `keys` turns the stored hotkey text into a value and back (with US
    // names, so that the text means the same on every layout);
    // `administratorsFolders` gives where a machine-wide start entry may
    // point (StartsFromAdministratorsFolder), asked when first needed.
    using FolderList = std::vector<std::u16string> (*)();
    TSettings(IRegistry& registry, THotKeyText& keys, std::u16string executablePath,
              AddressLimits limits = {}, FolderList administratorsFolders = nullptr)
        : registry_(registry), keys_(keys), executablePath_(std::move(executablePath)), limits_(limits),
          folderList_(administratorsFolders) {}

    const AddressLimits& Limits() const noexcept { return limits_; }

    // Every choice, from one opening of the settings key in the hive the
    // write rule picks, so that what a standard user wrote is read back.
    // Only "Default" may write or raise (see BrowserModeRead); any other
    // value that cannot be used is its default, silently. A template is
    // checked against the limit of the browser mode read.
    UserChoices Read(BrowserModeRead browserMode = BrowserModeRead::CreateOrRaise,
                     LayoutCheck layouts = LayoutCheck::Skip);
    // Stores the Settings window's choices, the browser mode only when it
    // changed (the menu writes it on its own: SetDefaultBrowser). Raises
    // ERegistryException when a write fails.
    void Write(const UserChoices& choices);
    // Writes the browser mode, and chooses no browser of the user's own.
    void SetDefaultBrowser(bool useDefaultBrowser);
    IRegistry& Registry() noexcept { return registry_; }
    // Whether searches with `choices` go to the default browser.
    bool OpensInDefaultBrowser(const UserChoices& choices);

    // Whether a Run value "SNQ" starts the program (read access only): the
    // user's, or a machine-wide one (either registry view) that starts a
    // file in an administrators' folder.
    bool RunsAtStartup();
    // Adds the Run value (quoted path) or removes it from every hive.
    void SetRunAtStartup(bool run);
    // Writes the Run value under HKEY_CURRENT_USER, whatever the program's
    // rights, unless a machine-wide one that counts exists already.
    void RunOnWinStart(std::u16string_view name, std::u16string_view command);
    // Deletes the Run value from every hive and view that holds it; raises
    // ERegistryException "Failed to delete value '%s'" when one that counts
    // stays.
    void DontRunOnWinStart(std::u16string_view name);
    // The command of a machine-wide "SNQ" entry (either view) that does not
    // count because one user could replace what it starts; nothing when
    // there is none.
    std::optional<std::u16string> UnsafeMachineRunCommand();
    // Deletes every such entry, and nothing else; false when one stays.
    bool RemoveUnsafeMachineRunEntries();
    // How an administrator's consent removes those entries: `system` is
    // Windows' System32 folder.
    std::vector<ElevatedRun> StartEntryRemovals(std::u16string_view system);
    // The Run value's data: the executable's path in double quotes.
    std::u16string RunCommand() const;

private:
    // The write rule: the key under HKEY_LOCAL_MACHINE, or, when that is
    // refused for writing (a standard user, or an administrator under UAC),
    // under HKEY_CURRENT_USER. The returned object may still have no key.
    TRegistry OpenForWriting(std::u16string_view path);
    bool ValueExistsIn(RootKey root, std::u16string_view path, std::u16string_view name);
    // Whether the machine's Run value `name` in the view `root` exists and
    // counts (StartsFromAdministratorsFolder); nothing when there is none.
    std::optional<bool> MachineRunCounts(RootKey root, std::u16string_view name);
    // The administrators' folders, asked for when first needed.
    const std::vector<std::u16string>& AdministratorsFolderList();
    // The choices other than the browser mode; never raises.
    void ReadOthers(TRegistry& reg, LayoutCheck layouts, UserChoices& choices) noexcept;
    // A stored hotkey text: none when empty, `unusable` when it does not
    // parse or cannot be a hotkey. One that parses but cannot be one is set
    // aside in `choices`, as `owner`'s, and traced.
    std::uint32_t HotKeyOf(const std::u16string& text, std::uint32_t unusable, std::u16string_view owner,
                           LayoutCheck layouts, UserChoices& choices);
    void ReadProfiles(RootKey root, LayoutCheck layouts, UserChoices& choices);
    void WriteProfiles(RootKey root, const std::vector<SearchProfile>& profiles);
    static void WriteBrowser(TRegistry& reg, std::u16string_view browser);

    IRegistry& registry_;
    THotKeyText& keys_;
    std::u16string executablePath_;
    AddressLimits limits_;
    FolderList folderList_;
    std::optional<std::vector<std::u16string>> administratorsFolders_;
};

// The tray menu's two check marks, read from the registry just before the
// menu opens.
struct MenuMarks {
    bool defaultBrowser = false; // "Use Default Browser"
    bool autoRun = false;        // "Auto Run at Startup"
};

// Reads both marks (creating "Default" as a search does). Raises what the
// read raises; the caller then leaves the marks as they were.
MenuMarks ReadMenuMarks(TSettings& settings);
// "Use Default Browser" chosen: writes the mode opposite to the item's own
// mark (not to the registry, which may say otherwise), with no browser of
// its own chosen, and returns the new mark. Raises when the write fails;
// the mark then stays.
bool ToggleDefaultBrowser(TSettings& settings, bool checked);
// "Auto Run at Startup" chosen: adds the Run value when no hive holds one,
// else removes it from every hive, and returns the new mark. Raises when
// that fails; the mark then stays.
bool ToggleRunAtStartup(TSettings& settings);

} // namespace snq
