#include "settings/Settings.h"

namespace snq {

TRegistry TSettings::Open(std::u16string_view path) {
    TRegistry reg(registry_);
    reg.RootKey_ = RootKey::LocalMachine;
    if (!reg.OpenKey(path)) {
        reg.RootKey_ = RootKey::CurrentUser;
        reg.OpenKey(path);
    }
    return reg;
}

void TSettings::GetSettings() {
    TRegistry reg = Open(kSettingsKey);
    bool useInternetExplorer = true;
    // The existence test and the read use two spellings of one name; the
    // registry matches names without regard to case.
    if (reg.ValueExists(u"default"))
        useInternetExplorer = reg.ReadString(u"Default") != u"Yes";
    else
        reg.WriteString(u"Default", u"No");
    UseInternetExplorer = useInternetExplorer;
}

bool TSettings::SetToStartup() {
    TRegistry machine(registry_);
    machine.RootKey_ = RootKey::LocalMachine;
    if (machine.OpenKey(kRunKey) && machine.ValueExists(kRunValueName)) return true;
    TRegistry user(registry_);
    user.RootKey_ = RootKey::CurrentUser;
    return user.OpenKey(kRunKey) && user.ValueExists(kRunValueName);
}

void TSettings::RunOnWinStart(std::u16string_view name, std::u16string_view command) {
    Open(kRunKey).WriteString(name, command);
}

void TSettings::DontRunOnWinStart(std::u16string_view name) {
    // From both hives; a refused deletion is ignored.
    for (RootKey root : {RootKey::LocalMachine, RootKey::CurrentUser}) {
        TRegistry reg(registry_);
        reg.RootKey_ = root;
        if (reg.OpenKey(kRunKey)) reg.DeleteValue(name);
    }
}

void TSettings::PopupMenu1Popup(bool& defaultBrowserMark, bool& autoRunMark) {
    GetSettings();
    defaultBrowserMark = !UseInternetExplorer;
    autoRunMark = SetToStartup();
}

void TSettings::UseDefaultBrowser1Click(bool& defaultBrowserMark) {
    Open(kSettingsKey).WriteString(u"Default", defaultBrowserMark ? u"No" : u"Yes");
    defaultBrowserMark = !defaultBrowserMark;
}

void TSettings::AutoRunatStartup1Click(bool& autoRunMark) {
    if (SetToStartup()) {
        DontRunOnWinStart(kRunValueName);
        autoRunMark = false;
    } else {
        RunOnWinStart(kRunValueName, executablePath_);
        autoRunMark = true;
    }
}

} // namespace snq
