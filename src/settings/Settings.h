#pragma once
// The two settings: the browser mode and the Run entry. Every operation
// opens the registry anew through its own TRegistry and closes it again.
#include <optional>
#include <string>
#include <string_view>

#include "settings/Registry.h"

namespace snq {

inline constexpr std::u16string_view kSettingsKey = u"\\SOFTWARE\\Varnel\\SNQ";
inline constexpr std::u16string_view kRunKey = u"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::u16string_view kRunValueName = u"SNQ";

// The choices of the Settings window, as stored beside "Default": raw
// texts and marks, each its default when missing or unreadable.
struct StoredOptions {
    std::optional<std::u16string> hotKey; // "HotKey": nothing when not stored
    std::u16string searchAddress;         // "SearchAddress": empty for Google
    bool copySelection = false;           // "CopySelection" = "Yes"
    bool openAddresses = false;           // "OpenAddresses" = "Yes"
};

class TSettings {
public:
    TSettings(IRegistry& registry, std::u16string executablePath)
        : registry_(registry), executablePath_(std::move(executablePath)) {}

    // True: searches open in Internet Explorer by automation; false: in the
    // default browser. Set by every completed GetSettings.
    bool UseInternetExplorer = false;
    // The Settings window's choices, as every completed GetSettings read
    // them.
    StoredOptions Options;

    // Reads the browser mode, creating "Default" = "No" when it is missing.
    // Reads and writes of "Default" keep to one hive: the one the write rule
    // picks (below).
    void GetSettings();
    // Whether the Run value "SNQ" exists in either hive (read access only).
    bool SetToStartup();
    // Writes the Run value under the write rule, unless a machine-wide one
    // exists already.
    void RunOnWinStart(std::u16string_view name, std::u16string_view command);
    // Deletes the Run value from every hive that holds it; raises
    // ERegistryException "Failed to delete value '%s'" when one stays.
    void DontRunOnWinStart(std::u16string_view name);
    // The Run value's data: the executable's path in double quotes.
    std::u16string RunCommand() const;

    // Reads the browser mode (GetSettings): true for the default browser.
    bool UsesDefaultBrowser();
    // Writes the browser mode; UseInternetExplorer follows at the next read.
    void SetDefaultBrowser(bool useDefaultBrowser);
    // Adds the Run value (quoted path) or removes it from every hive.
    void SetRunAtStartup(bool run);

    // The Settings window's choices, from the hive that "Default" lives in.
    // Never raises: what cannot be read is its default.
    StoredOptions ReadOptions();
    // Stores them all; raises ERegistryException when a write fails.
    void WriteOptions(std::u16string_view hotKey, std::u16string_view searchAddress,
                      bool copySelection, bool openAddresses);

private:
    // The write rule: the key under HKEY_LOCAL_MACHINE, or, when that is
    // refused for writing (a standard user, or an administrator under UAC),
    // under HKEY_CURRENT_USER. The returned object may still have no key.
    TRegistry OpenForWriting(std::u16string_view path);
    bool ValueExistsIn(RootKey root, std::u16string_view path, std::u16string_view name);
    static StoredOptions ReadOptionsFrom(TRegistry& reg) noexcept;

    IRegistry& registry_;
    std::u16string executablePath_;
};

// The tray menu's two check marks, read from the registry just before the
// menu opens.
struct MenuMarks {
    bool defaultBrowser = false; // "Use Default Browser"
    bool autoRun = false;        // "Auto Run at Startup"
};

// Reads both marks (creating "Default" as GetSettings does). Raises what
// GetSettings raises; the caller then leaves the marks as they were.
MenuMarks ReadMenuMarks(TSettings& settings);
// "Use Default Browser" chosen: writes the mode opposite to the item's own
// mark (not to the registry, which may say otherwise) and returns the new
// mark. Raises when the write fails; the mark then stays.
bool ToggleDefaultBrowser(TSettings& settings, bool checked);
// "Auto Run at Startup" chosen: adds the Run value when no hive holds one,
// else removes it from every hive, and returns the new mark. Raises when
// that fails; the mark then stays.
bool ToggleRunAtStartup(TSettings& settings);

} // namespace snq
