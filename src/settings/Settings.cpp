#include "settings/Settings.h"

#include <algorithm>
#include <exception>

#include "framework/Exceptions.h"
#include "framework/Trace.h"
#include "hotkeys/HotKeySwap.h"
#include "search/Browsers.h"
#include "search/SearchTemplate.h"

namespace snq {

namespace {
// The hives in the order the write rule tries them.
constexpr RootKey kHives[] = {RootKey::LocalMachine, RootKey::CurrentUser};
// The machine's Run key as 32-bit and as 64-bit programs see it.
constexpr RootKey kMachineViews[] = {RootKey::LocalMachine, RootKey::LocalMachine64};

char16_t Folded(char16_t c) {
    if (c == u'/') return u'\\';
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

// Whether `path` is `folder` or lies under it, without regard to case.
bool Under(std::u16string_view path, std::u16string_view folder) {
    while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.remove_suffix(1);
    if (folder.empty() || path.size() <= folder.size() || Folded(path[folder.size()]) != u'\\') return false;
    for (std::size_t i = 0; i < folder.size(); ++i)
        if (Folded(path[i]) != Folded(folder[i])) return false;
    return true;
}

// Folders inside Windows' own where every user may create files.
constexpr std::u16string_view kUserWritableInWindows[] = {
    u"Temp", u"Tasks", u"tracing", u"Registration\\CRMLog", u"System32\\Tasks", u"System32\\spool",
    u"System32\\Microsoft\\Crypto\\RSA\\MachineKeys", u"System32\\com\\dmp", u"SysWOW64\\Tasks",
    u"SysWOW64\\com\\dmp", u"debug", u"PLA",
};

std::u16string ProfilesPath() {
    return std::u16string(kSettingsKey) + u"\\" + std::u16string(kProfilesKey);
}

std::u16string ProfilePath(std::size_t number) {
    return ProfilesPath() + u"\\" + static_cast<char16_t>(u'0' + number);
}
} // namespace

std::u16string_view TrimmedProfileName(std::u16string_view name) {
    while (!name.empty() && name.front() == u' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == u' ') name.remove_suffix(1);
    return name;
}

bool ProfileNameUsable(std::u16string_view name) {
    name = TrimmedProfileName(name);
    if (name.empty() || name.size() > kMaxProfileName) return false;
    for (char16_t c : name)
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
    return true;
}

std::optional<std::u16string> HotKeyOwner(const UserChoices& choices, std::uint32_t value,
                                          std::size_t except) {
    if (value == choices.hotKey) return std::u16string();
    for (std::size_t i = 0; i < choices.profiles.size(); ++i)
        if (i != except && choices.profiles[i].hotKey == value) return choices.profiles[i].name;
    return std::nullopt;
}

namespace {

TRegistry OpenSettingsForWriting(IRegistry& registry, std::u16string_view path) {
    for (RootKey root : kHives) {
        TRegistry reg(registry, root);
        if (reg.OpenKey(path)) return reg;
    }
    // No current key: the operation's write raises its error.
    return TRegistry(registry, RootKey::CurrentUser);
}

// A stored language tag in its shipped spelling; anything else: automatic.
std::u16string LanguageOf(const std::optional<std::u16string>& stored) {
    const UiLanguage* language = stored ? ShippedLanguage(*stored) : nullptr;
    return language ? std::u16string(language->tag) : std::u16string();
}

} // namespace

std::u16string StoredLanguage(IRegistry& registry) {
    try {
        return LanguageOf(OpenSettingsForWriting(registry, kSettingsKey).ReadStringIfAny(u"Language"));
    } catch (const std::exception&) {
        return {}; // out of memory: Windows' language
    }
}

TRegistry TSettings::OpenForWriting(std::u16string_view path) { return OpenSettingsForWriting(registry_, path); }

bool TSettings::ValueExistsIn(RootKey root, std::u16string_view path, std::u16string_view name) {
    TRegistry reg(registry_, root);
    return reg.OpenKeyReadOnly(path) && reg.ValueExists(name);
}

UserChoices TSettings::Read(BrowserModeRead browserMode, LayoutCheck layouts) {
    UserChoices choices;
    if (browserMode == BrowserModeRead::CreateOrRaise) {
        TRegistry reg = OpenForWriting(kSettingsKey);
        // The existence test and the read use two spellings of one name; the
        // registry matches names without regard to case.
        if (reg.ValueExists(u"default"))
            choices.useInternetExplorer = reg.ReadString(u"Default") != u"Yes";
        else
            reg.WriteString(u"Default", u"No");
        ReadOthers(reg, layouts, choices);
        return choices;
    }
    try {
        TRegistry reg = OpenForWriting(kSettingsKey);
        choices.useInternetExplorer = reg.ReadStringIfAny(u"Default") != u"Yes";
        ReadOthers(reg, layouts, choices);
    } catch (const std::exception&) {
        // Out of memory opening the key: the defaults.
    }
    return choices;
}

std::uint32_t TSettings::HotKeyOf(const std::u16string& text, std::uint32_t unusable, std::u16string_view owner,
                                  LayoutCheck layouts, UserChoices& choices) {
    if (text.empty()) return 0;
    const std::uint32_t value = keys_.ParseHotKey(text, false);
    if (value == 0) return unusable;
    HotKeyRefusal refusal =
        layouts == LayoutCheck::Skip ? HotKeyRefusal(HotKeyProblemOf(value)) : keys_.RefusalOf(value);
    if (refusal.problem == HotKeyProblem::None) return value;
    Trace(u"the stored hotkey \"" + text + u"\"" + (owner.empty() ? u"" : u" of \"" + std::u16string(owner) + u"\"") +
          u" is not in force" +
          (refusal.character.empty() ? u"" : u": it types " + refusal.character + u" on " + refusal.layout));
    choices.setAside.push_back({std::u16string(owner), value, std::move(refusal)});
    return unusable;
}

void TSettings::ReadOthers(TRegistry& reg, LayoutCheck layouts, UserChoices& choices) noexcept {
    try {
        if (const auto text = reg.ReadStringIfAny(u"HotKey"))
            choices.hotKey = HotKeyOf(*text, kDefaultHotKey, u"", layouts, choices);
        const std::u16string address = reg.ReadStringIfAny(u"SearchAddress").value_or(u"");
        if (TemplateUsable(address, limits_.For(choices.useInternetExplorer)))
            choices.searchTemplate = address;
        for (const YesNoChoice& value : kYesNoChoices)
            choices.*value.choice = reg.ReadStringIfAny(value.name) == u"Yes";
        choices.browser = reg.ReadStringIfAny(u"Browser").value_or(u"");
        choices.language = LanguageOf(reg.ReadStringIfAny(u"Language"));
        if (layouts != LayoutCheck::MainOnly) ReadProfiles(reg.Root(), layouts, choices);
    } catch (const std::exception&) {
        // Out of memory: what was read so far, the rest its defaults.
    }
}

void TSettings::ReadProfiles(RootKey root, LayoutCheck layouts, UserChoices& choices) {
    // One opening when there are none.
    if (!TRegistry(registry_, root).OpenKeyReadOnly(ProfilesPath())) return;
    for (std::size_t number = 1; number <= kMaxProfiles; ++number) {
        TRegistry reg(registry_, root);
        if (!reg.OpenKeyReadOnly(ProfilePath(number))) continue;
        SearchProfile profile;
        profile.name = TrimmedProfileName(reg.ReadStringIfAny(u"Name").value_or(u""));
        profile.searchTemplate = reg.ReadStringIfAny(u"SearchAddress").value_or(u"");
        if (!ProfileNameUsable(profile.name) ||
            !TemplateUsable(profile.searchTemplate, limits_.For(choices.useInternetExplorer)))
            continue;
        profile.hotKey = HotKeyOf(reg.ReadStringIfAny(u"HotKey").value_or(u""), 0, profile.name, layouts, choices);
        profile.browser = reg.ReadStringIfAny(u"Browser").value_or(u"");
        profile.privateWindow = reg.ReadStringIfAny(u"PrivateWindow") == u"Yes";
        // A keystroke has one owner: the main search, then the profiles in order.
        if (profile.hotKey != 0 && HotKeyOwner(choices, profile.hotKey)) profile.hotKey = 0;
        choices.profiles.push_back(std::move(profile));
    }
}

void TSettings::Write(const UserChoices& choices) {
    TRegistry reg = OpenForWriting(kSettingsKey);
    reg.WriteString(u"HotKey", choices.hotKey ? keys_.FormatHotKey(choices.hotKey, false) : u"");
    reg.WriteString(u"SearchAddress", choices.searchTemplate);
    for (const YesNoChoice& value : kYesNoChoices)
        reg.WriteString(value.name, choices.*value.choice ? u"Yes" : u"No");
    reg.WriteString(u"Language", choices.language);
    // The browser mode as the menu writes it, and only when it changed:
    // whatever else "Default" holds stays.
    if (choices.browser.empty() && (reg.ReadStringIfAny(u"Default") != u"Yes") != choices.useInternetExplorer)
        reg.WriteString(u"Default", choices.useInternetExplorer ? u"No" : u"Yes");
    WriteBrowser(reg, choices.browser);
    WriteProfiles(reg.Root(), choices.profiles);
}

void TSettings::WriteProfiles(RootKey root, const std::vector<SearchProfile>& profiles) {
    for (std::size_t number = 1; number <= kMaxProfiles; ++number) {
        TRegistry reg(registry_, root);
        if (number > profiles.size()) {
            // The slots of removed profiles; one never made is no error, and
            // no other key is touched.
            reg.DeleteKey(ProfilePath(number));
            continue;
        }
        const SearchProfile& profile = profiles[number - 1];
        reg.OpenKey(ProfilePath(number));
        reg.WriteString(u"Name", profile.name);
        reg.WriteString(u"SearchAddress", profile.searchTemplate);
        reg.WriteString(u"HotKey", profile.hotKey ? keys_.FormatHotKey(profile.hotKey, false) : u"");
        WriteBrowser(reg, profile.browser);
        if (profile.privateWindow || reg.ValueExists(u"PrivateWindow"))
            reg.WriteString(u"PrivateWindow", profile.privateWindow ? u"Yes" : u"No");
    }
}

void TSettings::WriteBrowser(TRegistry& reg, std::u16string_view browser) {
    // Stored only when chosen: nothing new stored, searches go as before.
    if (!browser.empty())
        reg.WriteString(u"Browser", browser);
    else
        reg.DeleteValue(u"Browser");
}

bool TSettings::OpensInDefaultBrowser(const UserChoices& choices) {
    // A chosen browser that is no longer installed counts as the default one.
    return choices.browser.empty() ? !choices.useInternetExplorer : BrowserProgram(registry_, choices.browser).empty();
}

namespace {

// Whether `path` lies in an administrators' folder, outside the few in
// Windows' own folder that every user may write to.
bool InAdministratorsFolder(std::u16string_view path, const std::vector<std::u16string>& folders) {
    for (std::u16string folder : folders) {
        if (!Under(path, folder)) continue;
        while (!folder.empty() && Folded(folder.back()) == u'\\') folder.pop_back();
        for (std::u16string_view open : kUserWritableInWindows)
            if (Under(path, folder + u"\\" + std::u16string(open))) return false;
        return true;
    }
    return false;
}

} // namespace

bool StartsFromAdministratorsFolder(std::u16string_view command, const std::vector<std::u16string>& folders) {
    std::u16string_view path = command;
    while (!path.empty() && path.front() == u' ') path.remove_prefix(1);
    const bool quoted = !path.empty() && path.front() == u'"';
    if (quoted) {
        path.remove_prefix(1);
        const std::size_t end = path.find(u'"');
        if (end == std::u16string_view::npos) return false;
        path = path.substr(0, end);
    } else {
        while (!path.empty() && path.back() == u' ') path.remove_suffix(1);
    }
    // A full path on a drive, nothing to expand, no step up or aside.
    if (path.size() < 4 || path[1] != u':' || Folded(path[2]) != u'\\' ||
        path.find_first_of(u"%?*<>|\"") != std::u16string_view::npos)
        return false;
    for (std::size_t start = 3; start <= path.size();) {
        const std::size_t end = std::min(path.find_first_of(u"\\/", start), path.size());
        const std::u16string_view step = path.substr(start, end - start);
        if (step.empty() || step == u"." || step == u"..") return false;
        start = end + 1;
    }
    // Unquoted, Windows tries the path piece by piece at logon, cut at each
    // space ("C:\Program.exe", then "C:\Program Files\Snapquery.exe" ...):
    // the whole path is what runs only when no one user can put a file at
    // any of those places first, that is when each lies in the drive's
    // root or in an administrators' folder.
    if (!quoted)
        for (std::size_t space = path.find(u' '); space != std::u16string_view::npos;
             space = path.find(u' ', space + 1)) {
            const std::u16string piece = std::u16string(path.substr(0, space)) + u".exe";
            const bool inRoot = piece.find_first_of(u"\\/", 3) == std::u16string::npos;
            if (!inRoot && !InAdministratorsFolder(piece, folders)) return false;
        }
    return InAdministratorsFolder(path, folders);
}

const std::vector<std::u16string>& TSettings::AdministratorsFolderList() {
    if (!administratorsFolders_)
        administratorsFolders_ = folderList_ ? folderList_() : std::vector<std::u16string>{};
    return *administratorsFolders_;
}

std::optional<bool> TSettings::MachineRunCounts(RootKey root, std::u16string_view name) {
    TRegistry reg(registry_, root);
    if (!reg.OpenKeyReadOnly(kRunKey) || !reg.ValueExists(name)) return std::nullopt;
    const std::optional<std::u16string> command = reg.ReadStringIfAny(name);
    return command && StartsFromAdministratorsFolder(*command, AdministratorsFolderList());
}

bool TSettings::RunsAtStartup() {
    if (ValueExistsIn(RootKey::CurrentUser, kRunKey, kRunValueName)) return true;
    for (RootKey root : kMachineViews)
        if (MachineRunCounts(root, kRunValueName).value_or(false)) return true;
    return false;
}

std::optional<std::u16string> TSettings::UnsafeMachineRunCommand() {
    for (RootKey root : kMachineViews) {
        if (MachineRunCounts(root, kRunValueName) != false) continue;
        TRegistry reg(registry_, root);
        reg.OpenKeyReadOnly(kRunKey);
        return reg.ReadStringIfAny(kRunValueName).value_or(u"");
    }
    return std::nullopt;
}

bool TSettings::RemoveUnsafeMachineRunEntries() {
    bool remains = false;
    for (RootKey root : kMachineViews) {
        if (MachineRunCounts(root, kRunValueName) != false) continue;
        TRegistry reg(registry_, root);
        if (!reg.OpenKey(kRunKey) || !reg.DeleteValue(kRunValueName)) remains = true;
    }
    return !remains;
}

std::vector<ElevatedRun> TSettings::StartEntryRemovals(std::u16string_view system) {
    // This program itself, elevated, only where one user cannot swap the
    // file between the consent and the start.
    if (StartsFromAdministratorsFolder(RunCommand(), AdministratorsFolderList()))
        return {{executablePath_, std::u16string(kRemoveStartEntrySwitch)}};
    // Else Windows' own reg.exe, by full path, with fixed arguments: one
    // run for each view that holds such an entry.
    std::vector<ElevatedRun> runs;
    for (RootKey root : kMachineViews) {
        if (MachineRunCounts(root, kRunValueName) != false) continue;
        runs.push_back({std::u16string(system) + u"\\reg.exe",
                        u"delete \"HKLM" + std::u16string(kRunKey) + u"\" /v " + std::u16string(kRunValueName) +
                            u" /f " + (root == RootKey::LocalMachine ? u"/reg:32" : u"/reg:64")});
    }
    return runs;
}

void TSettings::RunOnWinStart(std::u16string_view name, std::u16string_view command) {
    // A machine-wide entry already starts the program for this user: a
    // per-user one beside it would start a second copy at every logon.
    for (RootKey root : kMachineViews)
        if (MachineRunCounts(root, name).value_or(false)) return;
    // Always this user's own: a machine-wide entry would start, for every
    // account that signs in, a file that this user can replace.
    TRegistry reg(registry_, RootKey::CurrentUser);
    reg.OpenKey(kRunKey); // without a key, the write raises its error
    reg.WriteString(name, command);
}

void TSettings::DontRunOnWinStart(std::u16string_view name) {
    // From every hive that holds it. An entry that stays (a machine-wide one
    // that this user may not delete) would go on starting the program, so it
    // is reported rather than shown as removed.
    // One that does not count (a file one user could replace) is removed
    // where this user may, and left to the Settings window's removal else.
    bool remains = false;
    for (RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::LocalMachine64}) {
        if (!ValueExistsIn(root, kRunKey, name)) continue;
        const bool counts = root == RootKey::CurrentUser || MachineRunCounts(root, name).value_or(false);
        TRegistry reg(registry_, root);
        if ((!reg.OpenKey(kRunKey) || !reg.DeleteValue(name)) && counts) remains = true;
    }
    if (remains) RaiseRegistryError(TextId::ErrorDeleteValue, name);
}

std::u16string TSettings::RunCommand() const {
    // Quoted: unquoted, a path with spaces is tried piece by piece at logon
    // ("C:\Program.exe" first).
    return u"\"" + executablePath_ + u"\"";
}

void TSettings::SetDefaultBrowser(bool useDefaultBrowser) {
    TRegistry reg = OpenForWriting(kSettingsKey);
    reg.WriteString(u"Default", useDefaultBrowser ? u"Yes" : u"No");
    reg.DeleteValue(u"Browser");
}

void TSettings::SetRunAtStartup(bool run) {
    if (run)
        RunOnWinStart(kRunValueName, RunCommand());
    else
        DontRunOnWinStart(kRunValueName);
}

MenuMarks ReadMenuMarks(TSettings& settings) {
    MenuMarks marks;
    marks.defaultBrowser = settings.OpensInDefaultBrowser(settings.Read());
    marks.autoRun = settings.RunsAtStartup();
    return marks;
}

bool ToggleDefaultBrowser(TSettings& settings, bool checked) {
    settings.SetDefaultBrowser(!checked);
    return !checked;
}

bool ToggleRunAtStartup(TSettings& settings) {
    const bool run = !settings.RunsAtStartup();
    settings.SetRunAtStartup(run);
    return run;
}

} // namespace snq
