#include "app/SettingsFormWin32.h"

#include <commctrl.h>

#include "app/ProfileFormWin32.h"
#include "framework/Text.h"
#include "hotkeys/HotKeyText.h"
#include "settings/Policies.h"

#include <tuple>

namespace snq {

namespace {
constexpr int kEngineIds[] = {idGoogle, idBing, idDuckDuckGo, idCustom};
// Posted to the window to say what it found when it loaded.
constexpr UINT kSayNotices = WM_APP + 1;
} // namespace

TSettingsForm::TSettingsForm(THotKeyText& keys, AddressLimits limits, IRegistry& registry)
    : TDialogForm(L"TSettingsForm", TextId::SettingsTitle, kSettingsControls, kSettingsWidth, kSettingsHeight),
      keys_(keys), limits_(limits), registry_(registry) {}

TSettingsForm::~TSettingsForm() = default;

void TSettingsForm::Load() {
    // The hotkeys in a column of their own (in dialog units).
    const int tabStop = 62;
    ::SendMessageW(Control(idProfileList), LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    if (OnLoad) Show(OnLoad());
    ::SetFocus(Control(idHotKey));
    // Said once the window shows.
    ::PostMessageW(Handle(), kSayNotices, 0, 0);
}

void TSettingsForm::SayNotices() {
    std::u16string text;
    for (const SetAsideHotKey& setAside : shown_.setAside)
        text += (text.empty() ? u"" : u"\r\n\r\n") + SetAsideText(keys_.FormatHotKey(setAside.value, false), setAside);
    shown_.setAside.clear();
    if (browserGone_) text += (text.empty() ? u"" : u"\r\n\r\n") + Tr(TextId::SettingsBrowserGone);
    if (!text.empty()) Warn(text);
    if (OnShown) OnShown();
}

bool TSettingsForm::Decided(bool UserChoices::*choice) const {
    if (choice == &UserChoices::privateWindow) return Managed.allowPrivateWindow == false;
    return choice == &UserChoices::copySelection ? Managed.copySelection.has_value()
                                                 : Managed.openAddresses.has_value();
}

bool TSettingsForm::BrowserDecided() const { return Managed.browser || Managed.useDefaultBrowser; }

std::pair<bool, std::u16string> TSettingsForm::ChosenBrowser() const {
    const auto index = static_cast<std::size_t>(::SendMessageW(Control(idOpenIn), CB_GETCURSEL, 0, 0));
    // A browser of the user's own leaves the mode as it was.
    return {index < openIn_.Fixed() ? index == 1 : shown_.useInternetExplorer, openIn_.KeyAt(index)};
}

void TSettingsForm::Show(const UserChoices& own) {
    // The user's own choices are kept; what a policy decides is shown as
    // the policy sets it, and cannot be changed.
    shown_ = own;
    UserChoices choices = InForce(own, Managed, limits_);
    choices.profiles = own.profiles;
    const SettingsChoices shown = ShowChoices(choices);
    ShowHotKey(idHotKey, shown.hotKey);
    Check(Control(idNoHotKey), shown.noHotKey);
    for (int i = 0; i < 4; ++i)
        Check(Control(kEngineIds[i]), static_cast<int>(shown.engine) == i);
    // No longer than an address the chosen browser takes.
    ::SendMessageW(Control(idCustomAddress), EM_LIMITTEXT, limits_.For(choices.useInternetExplorer), 0);
    ::SetWindowTextW(Control(idCustomAddress), ToWide(shown.customAddress).c_str());
    for (std::size_t i = 0; i < Controls().size(); ++i)
        if (Specs()[i].choice) Check(Controls()[i].get(), choices.*Specs()[i].choice);
    // Windows' language, then each language by its own name.
    std::vector<std::u16string> languages{Tr(TextId::SettingsLanguageAutomatic)};
    std::size_t selected = 0;
    for (std::size_t i = 0; i < std::size(kUiLanguages); ++i) {
        languages.push_back(TextIn(kUiLanguages[i].id, TextId::SettingsLanguageName));
        if (kUiLanguages[i].tag == choices.language) selected = i + 1;
    }
    FillList(Control(idLanguage), languages, selected);
    // The installed browsers, as Windows lists them now.
    openIn_.browsers = InstalledBrowsers(registry_);
    FillList(Control(idOpenIn), openIn_.Names(),
             openIn_.IndexOf(choices.browser, choices.useInternetExplorer, browserGone_));
    browserGone_ &= !BrowserDecided();
    ::EnableWindow(Control(idOpenIn), !BrowserDecided());
    for (const int id : {idHotKey, idNoHotKey}) ::EnableWindow(Control(id), !Managed.hotKey);
    for (const int id : kEngineIds) ::EnableWindow(Control(id), !Managed.searchAddress);
    for (std::size_t i = 0; i < Controls().size(); ++i)
        if (Specs()[i].choice) ::EnableWindow(Controls()[i].get(), !Decided(Specs()[i].choice));
    ::EnableWindow(Control(idLanguage), !Managed.language);
    ::EnableWindow(Control(idProfileList), ProfilesEditable());
    ::ShowWindow(Control(idManaged), Managed.Any() ? SW_SHOWNA : SW_HIDE);
    ShowProfiles(0);
}

bool TSettingsForm::ProfilesEditable() const { return Managed.allowProfiles != false; }

void TSettingsForm::ShowProfiles(int selected) {
    HWND list = Control(idProfileList);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const SearchProfile& profile : shown_.profiles) {
        const std::wstring text = ToWide(
            ProfileListText(profile.name, profile.hotKey ? keys_.FormatHotKey(profile.hotKey, false) : u""));
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    UpdateEnabled();
}

int TSettingsForm::SelectedProfile() const {
    return static_cast<int>(::SendMessageW(Control(idProfileList), LB_GETCURSEL, 0, 0));
}

SettingsChoices TSettingsForm::ReadControls() const {
    SettingsChoices shown;
    shown.hotKey = HotKeyIn(idHotKey);
    shown.noHotKey = Checked(Control(idNoHotKey));
    for (int i = 0; i < 4; ++i)
        if (Checked(Control(kEngineIds[i]))) shown.engine = static_cast<SearchEngine>(i);
    shown.customAddress = TextOf(Control(idCustomAddress));
    return shown;
}

void TSettingsForm::Apply() {
    SettingsChoices shown = ReadControls();
    // What a policy decides stays the user's own, unchecked.
    const SettingsChoices own = ShowChoices(shown_);
    if (Managed.hotKey) std::tie(shown.hotKey, shown.noHotKey) = std::pair(own.hotKey, own.noHotKey);
    if (Managed.searchAddress) std::tie(shown.engine, shown.customAddress) = std::pair(own.engine, own.customAddress);
    UserChoices choices = shown_;
    if (!BrowserDecided()) std::tie(choices.useInternetExplorer, choices.browser) = ChosenBrowser();
    const std::u16string hotKeyText = keys_.FormatHotKey(shown.hotKey, false);
    std::u16string problem = SettingsProblem(shown, hotKeyText, keys_.RefusalOf(shown.hotKey),
                                             limits_.For(choices.useInternetExplorer && choices.browser.empty()));
    TakeChoices(shown, choices);
    // The profiles' hotkeys were checked against each other as they were
    // edited; the main one is checked against theirs here.
    if (problem.empty() && choices.hotKey != 0)
        for (const SearchProfile& profile : choices.profiles)
            if (profile.hotKey == choices.hotKey) problem = HotKeyOwnedText(hotKeyText, profile.name);
    if (!problem.empty()) {
        Warn(problem);
        return;
    }
    for (std::size_t i = 0; i < Controls().size(); ++i)
        if (Specs()[i].choice && !Decided(Specs()[i].choice)) choices.*Specs()[i].choice = Checked(Controls()[i].get());
    const auto language = static_cast<std::size_t>(::SendMessageW(Control(idLanguage), CB_GETCURSEL, 0, 0));
    if (!Managed.language)
        choices.language = language >= 1 && language <= std::size(kUiLanguages) ? kUiLanguages[language - 1].tag : u"";
    if (!OnApply || OnApply(choices)) SetModalResult(mrOk);
}

void TSettingsForm::UpdateEnabled() {
    ::EnableWindow(Control(idHotKey), !Managed.hotKey && !Checked(Control(idNoHotKey)));
    ::EnableWindow(Control(idCustomAddress), !Managed.searchAddress && Checked(Control(idCustom)));
    const auto [internetExplorer, browser] = ChosenBrowser();
    ::EnableWindow(Control(idPrivateWindow), !Decided(&UserChoices::privateWindow) &&
                                                 OpensPrivately(registry_, browser, internetExplorer));
    const int selected = ProfilesEditable() ? SelectedProfile() : -1;
    const int count = ProfilesEditable() ? static_cast<int>(shown_.profiles.size()) : static_cast<int>(kMaxProfiles);
    ::EnableWindow(Control(idProfileAdd), count < static_cast<int>(kMaxProfiles));
    ::EnableWindow(Control(idProfileEdit), selected >= 0);
    ::EnableWindow(Control(idProfileRemove), selected >= 0);
    ::EnableWindow(Control(idProfileUp), selected > 0);
    ::EnableWindow(Control(idProfileDown), selected >= 0 && selected + 1 < count);
}

void TSettingsForm::EditProfile(std::optional<std::size_t> index) {
    if (!ProfilesEditable() || (!index && shown_.profiles.size() >= kMaxProfiles)) return;
    if (!profileForm_)
        profileForm_ = std::make_unique<TProfileForm>(keys_, limits_.For(shown_.useInternetExplorer), registry_);
    const std::size_t at = index.value_or(shown_.profiles.size());
    // "As the main search" is the main search as the window now shows it.
    UserChoices main = shown_;
    const UserChoices inForce = InForce(shown_, Managed, limits_);
    std::tie(main.useInternetExplorer, main.browser) =
        BrowserDecided() ? std::pair(inForce.useInternetExplorer, inForce.browser) : ChosenBrowser();
    const auto profile = profileForm_->Edit(main, at, Managed);
    if (!profile) return;
    if (index)
        shown_.profiles[at] = *profile;
    else
        shown_.profiles.push_back(*profile);
    ShowProfiles(static_cast<int>(at));
}

void TSettingsForm::RemoveProfile() {
    const int selected = SelectedProfile();
    if (selected < 0 || !ProfilesEditable()) return;
    shown_.profiles.erase(shown_.profiles.begin() + selected);
    ShowProfiles(std::min(selected, static_cast<int>(shown_.profiles.size()) - 1));
}

void TSettingsForm::MoveProfile(int by) {
    const int selected = SelectedProfile(), to = selected + by;
    if (selected < 0 || to < 0 || to >= static_cast<int>(shown_.profiles.size())) return;
    std::swap(shown_.profiles[static_cast<std::size_t>(selected)], shown_.profiles[static_cast<std::size_t>(to)]);
    ShowProfiles(to);
}

void TSettingsForm::Command(int id, int code) {
    if (id == idProfileList) {
        if (code == LBN_DBLCLK && SelectedProfile() >= 0) EditProfile(static_cast<std::size_t>(SelectedProfile()));
        if (code == LBN_SELCHANGE) UpdateEnabled();
        return;
    }
    if (id == idOpenIn && code == CBN_SELCHANGE) UpdateEnabled();
    if (code != BN_CLICKED) return;
    switch (id) {
    case idProfileAdd: EditProfile(std::nullopt); break;
    case idProfileEdit:
        if (SelectedProfile() >= 0) EditProfile(static_cast<std::size_t>(SelectedProfile()));
        break;
    case idProfileRemove: RemoveProfile(); break;
    case idProfileUp: MoveProfile(-1); break;
    case idProfileDown: MoveProfile(1); break;
    default: UpdateEnabled(); break;
    }
}

LRESULT TSettingsForm::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSayNotices) {
        SayNotices();
        return 0;
    }
    // Delete in the list removes the chosen profile.
    if (message == WM_VKEYTOITEM && reinterpret_cast<HWND>(lParam) == Control(idProfileList)) {
        if (LOWORD(wParam) != VK_DELETE) return -1; // the list's own handling
        RemoveProfile();
        return -2;
    }
    return TDialogForm::HandleMessage(window, message, wParam, lParam);
}

} // namespace snq
