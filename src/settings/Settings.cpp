#include "settings/Settings.h"

#include <exception>

#include "framework/Exceptions.h"
#include "hotkeys/HotKeySwap.h"
#include "search/SearchTemplate.h"

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

UserChoices TSettings::Read(BrowserModeRead browserMode) {
    UserChoices choices;
    if (browserMode == BrowserModeRead::CreateOrRaise) {
        TRegistry reg = OpenForWriting(kSettingsKey);
        // The existence test and the read use two spellings of one name; the
        // registry matches names without regard to case.
        if (reg.ValueExists(u"default"))
            choices.useInternetExplorer = reg.ReadString(u"Default") != u"Yes";
        else
            reg.WriteString(u"Default", u"No");
        ReadOthers(reg, choices);
        return choices;
    }
    try {
        TRegistry reg = OpenForWriting(kSettingsKey);
        choices.useInternetExplorer = reg.ReadStringIfAny(u"Default") != u"Yes";
        ReadOthers(reg, choices);
    } catch (const std::exception&) {
        // Out of memory opening the key: the defaults.
    }
    return choices;
}

void TSettings::ReadOthers(TRegistry& reg, UserChoices& choices) noexcept {
    try {
        if (const auto text = reg.ReadStringIfAny(u"HotKey")) {
            const std::uint32_t value = keys_.ParseHotKey(*text, false);
            if (text->empty())
                choices.hotKey = 0;
            else if (value != 0 && HotKeyProblemOf(value) == HotKeyProblem::None)
                choices.hotKey = value;
        }
        const std::u16string address = reg.ReadStringIfAny(u"SearchAddress").value_or(u"");
        if (TemplateUsable(address, limits_.For(choices.useInternetExplorer)))
            choices.searchTemplate = address;
        for (const YesNoChoice& value : kYesNoChoices)
            choices.*value.choice = reg.ReadStringIfAny(value.name) == u"Yes";
    } catch (const std::exception&) {
        // Out of memory: what was read so far, the rest its defaults.
    }
}

void TSettings::Write(const UserChoices& choices) {
    TRegistry reg = OpenForWriting(kSettingsKey);
    reg.WriteString(u"HotKey", choices.hotKey ? keys_.FormatHotKey(choices.hotKey, false) : u"");
    reg.WriteString(u"SearchAddress", choices.searchTemplate);
    for (const YesNoChoice& value : kYesNoChoices)
        reg.WriteString(value.name, choices.*value.choice ? u"Yes" : u"No");
}

bool TSettings::RunsAtStartup() {
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

void TSettings::SetDefaultBrowser(bool useDefaultBrowser) {
    OpenForWriting(kSettingsKey).WriteString(u"Default", useDefaultBrowser ? u"Yes" : u"No");
}

void TSettings::SetRunAtStartup(bool run) {
    if (run)
        RunOnWinStart(kRunValueName, RunCommand());
    else
        DontRunOnWinStart(kRunValueName);
}

MenuMarks ReadMenuMarks(TSettings& settings) {
    MenuMarks marks;
    marks.defaultBrowser = !settings.Read().useInternetExplorer;
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
