#include "settings/Settings.h"

#include <exception>

#include "framework/Exceptions.h"

namespace snq {

namespace {
// The hives in the order the write rule tries them.
constexpr RootKey kHives[] = {RootKey::LocalMachine, RootKey::CurrentUser};
} // namespace

TRegistry TSettings::OpenForWriting(std::u16string_view path) {
    for (RootKey root : kHives) {
        TRegistry reg(registry_, root);
        if (reg.OpenKey(path)) return reg;
    }
    // No current key: the operation's write raises its error.
    return TRegistry(registry_, RootKey::CurrentUser);
}

bool TSettings::ValueExistsIn(RootKey root, std::u16string_view path, std::u16string_view name) {
    TRegistry reg(registry_, root);
    return reg.OpenKeyReadOnly(path) && reg.ValueExists(name);
}

void TSettings::GetSettings() {
    // Read where a toggle writes, so that a standard user (refused the
    // machine's key for writing) reads back what the menu wrote.
    TRegistry reg = OpenForWriting(kSettingsKey);
    bool useInternetExplorer = true;
    // The existence test and the read use two spellings of one name; the
    // registry matches names without regard to case.
    if (reg.ValueExists(u"default"))
        useInternetExplorer = reg.ReadString(u"Default") != u"Yes";
    else
        reg.WriteString(u"Default", u"No");
    UseInternetExplorer = useInternetExplorer;
    // The Settings window's choices beside it, from the same opening.
    Options = ReadOptionsFrom(reg);
}

bool TSettings::SetToStartup() {
    for (RootKey root : kHives)
        if (ValueExistsIn(root, kRunKey, kRunValueName)) return true;
    return false;
}

void TSettings::RunOnWinStart(std::u16string_view name, std::u16string_view command) {
    // A machine-wide entry already starts the program for this user: a
    // per-user one beside it would start a second copy at every logon.
    if (ValueExistsIn(RootKey::LocalMachine, kRunKey, name)) return;
    OpenForWriting(kRunKey).WriteString(name, command);
}

void TSettings::DontRunOnWinStart(std::u16string_view name) {
    // From every hive that holds it. An entry that stays (a machine-wide one
    // that this user may not delete) would go on starting the program, so it
    // is reported rather than shown as removed.
    bool remains = false;
    for (RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine}) {
        if (!ValueExistsIn(root, kRunKey, name)) continue;
        TRegistry reg(registry_, root);
        if (!reg.OpenKey(kRunKey) || !reg.DeleteValue(name)) remains = true;
    }
    if (remains) RaiseRegistryError(u"Failed to delete value '%s'", name);
}

std::u16string TSettings::RunCommand() const {
    // Quoted: unquoted, a path with spaces is tried piece by piece at logon
    // ("C:\Program.exe" first).
    return u"\"" + executablePath_ + u"\"";
}

bool TSettings::UsesDefaultBrowser() {
    GetSettings();
    return !UseInternetExplorer;
}

void TSettings::SetDefaultBrowser(bool useDefaultBrowser) {
    OpenForWriting(kSettingsKey).WriteString(u"Default", useDefaultBrowser ? u"Yes" : u"No");
}

StoredOptions TSettings::ReadOptions() {
    try {
        TRegistry reg = OpenForWriting(kSettingsKey);
        return ReadOptionsFrom(reg);
    } catch (const std::exception&) {
        return {}; // out of memory opening the key: the defaults
    }
}

StoredOptions TSettings::ReadOptionsFrom(TRegistry& reg) noexcept {
    StoredOptions options;
    try {
        options.hotKey = reg.ReadStringIfAny(u"HotKey");
        options.searchAddress = reg.ReadStringIfAny(u"SearchAddress").value_or(u"");
        options.copySelection = reg.ReadStringIfAny(u"CopySelection") == u"Yes";
        options.openAddresses = reg.ReadStringIfAny(u"OpenAddresses") == u"Yes";
    } catch (const std::exception&) {
        return {}; // out of memory: the defaults
    }
    return options;
}

void TSettings::WriteOptions(std::u16string_view hotKey, std::u16string_view searchAddress,
                             bool copySelection, bool openAddresses) {
    TRegistry reg = OpenForWriting(kSettingsKey);
    reg.WriteString(u"HotKey", hotKey);
    reg.WriteString(u"SearchAddress", searchAddress);
    reg.WriteString(u"CopySelection", copySelection ? u"Yes" : u"No");
    reg.WriteString(u"OpenAddresses", openAddresses ? u"Yes" : u"No");
}

void TSettings::SetRunAtStartup(bool run) {
    if (run)
        RunOnWinStart(kRunValueName, RunCommand());
    else
        DontRunOnWinStart(kRunValueName);
}

MenuMarks ReadMenuMarks(TSettings& settings) {
    MenuMarks marks;
    marks.defaultBrowser = settings.UsesDefaultBrowser();
    marks.autoRun = settings.SetToStartup();
    return marks;
}

bool ToggleDefaultBrowser(TSettings& settings, bool checked) {
    settings.SetDefaultBrowser(!checked);
    return !checked;
}

bool ToggleRunAtStartup(TSettings& settings) {
    const bool run = !settings.SetToStartup();
    settings.SetRunAtStartup(run);
    return run;
}

} // namespace snq
