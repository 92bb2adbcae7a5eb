#include "app/frmMainWin32.h"

#include "about/AboutWin32.h"
#include "app/MainTexts.h"
#include "app/TrayStartup.h"
#include "hotkeys/HotKeySwap.h"
#include "framework/ApplicationWin32.h"
#include "framework/ClipboardWin32.h"
#include "framework/ErrorText.h"
#include "framework/Exceptions.h"
#include "framework/MessageDialogWin32.h"
#include "framework/Text.h"
#include "framework/TextsWin32.h"
#include "search/BrowserLaunchWin32.h"
#include "search/Browsers.h"
#include "search/SearchAddress.h"
#include "search/SearchRequest.h"
#include "search/SelectionCopyWin32.h"
#include "settings/PolicyWatchWin32.h"
#include "settings/RunEntryWin32.h"

namespace snq {

TForm1::TForm1(THotKeyText& hotKeyText, bool tray)
    : TCustomForm(L"TForm1", ToWide(kMainFormCaption), WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 156, 94),
      Settings(system_.registry, hotKeyText, ToU16(ExecutablePath()),
               AddressLimits{ShellAddressLimit(), kMaxAddressLength}, AdministratorsFolders),
      TrayIcon1(Application().Instance(), Application().Title()), RunOnce1(system_.instanceHost),
      Locale1(system_.localeSource), Launcher1(system_.launchPlatform, system_.mainThread),
      hotKeyText_(hotKeyText), tray_(tray) {
    // A search from the command line with no copy running: no icon, no
    // hotkeys, no guard (a copy starting meanwhile is the one that runs).
    // The icon comes with the tip of the hotkey and search in force.
    UserChoices choices;
    if (tray_) {
        choices = ReadChoicesForStart();
        SetupTrayIcon(choices);
    }
    SetupPopupMenu();
    RunOnce1.RestorePrevInst = true;
    RunOnce1.Terminate = true;
    RunOnce1.MessageText = Tr(TextId::MsgAlreadyRunning);
    RunOnce1.ShowMessage = true;
    Locale1.AutoRetrieve = true;
    HK1.OnHotKeyPressed = [this](std::uint32_t hotKey, std::uint16_t index) {
        HK1HotKeyPressed(hotKey, index);
    };
    Launcher1.Action = u"Open";
    Launcher1.Timeout = -1;
    Launcher1.WaitType = TWaitType::wtProcessMessages;

    // Load notifications, in creation order.
    if (tray_) {
        RunOnce1.Loaded();
        system_.instanceHost.PublishWindow(ToU16(Application().Title()), Handle());
    }
    Locale1.Loaded();
    if (tray_)
        FormCreate(choices);
    else
        policies_ = ReadPolicies(system_.registry, &hotKeyText_, LayoutCheck::Skip);
}

void TForm1::SetupTrayIcon(const UserChoices& choices) {
    // The texts of the hotkey in force, as when it is registered (FormCreate
    // says otherwise when another program holds it).
    SetTrayTexts(choices.hotKey, false, choices.searchTemplate);
    TrayIcon1.SetBalloonTitle(ToWide(kBalloonTitle));
    TrayIcon1.SetBalloonTimeout(kBalloonTimeout);
    TrayIcon1.SetIconResource(1);
    TrayIcon1.SetPopupMenu(&PopupMenu1);
    TrayIcon1.OnClick = [this] { TrayIcon1Click(); };
    // The balloon that says the hotkey is taken leads to where another is
    // chosen.
    TrayIcon1.OnBalloonClick = [this] {
        if (hotKey_.value && !hotKey_.id) Settings1Click();
    };
    TrayIcon1.AddRetryLimitMs = kTrayRetryLimitMs;
    try {
        TrayIcon1.SetVisible(true);
    } catch (EException& e) {
        // Reported as the form's reading of the stored property failing.
        e.SetMessage(FormReadErrorText(u"TrayIcon1", u"Visible", e.Message()));
        throw;
    }
}

namespace {

// Each command's handler; a command without one does not compile.
void (TForm1::*HandlerOf(MenuCommand command))() {
    switch (command) {
    case MenuCommand::None: break;
    case MenuCommand::SearchWith: break; // a submenu
    case MenuCommand::UseDefaultBrowser: return &TForm1::UseDefaultBrowser1Click;
    case MenuCommand::AutoRun: return &TForm1::AutoRunatStartup1Click;
    case MenuCommand::ShowClipboard: return &TForm1::ShowClipboard1Click;
    case MenuCommand::ClearClipboard: return &TForm1::ClearClipboard1Click;
    case MenuCommand::Search: return &TForm1::Snapquery1Click;
    case MenuCommand::Settings: return &TForm1::Settings1Click;
    case MenuCommand::About: return &TForm1::About1Click;
    case MenuCommand::Exit: return &TForm1::Exit1Click;
    }
    return nullptr;
}

} // namespace

TMenuItem& TForm1::MenuItem(MenuCommand command) {
    return PopupMenu1.Items[MenuIndexOf(command)];
}

void TForm1::SetupPopupMenu() {
    for (const MenuCommand command : kMenu) {
        TMenuItem& item = PopupMenu1.Items.emplace_back();
        // The profiles' submenu shows once there are profiles.
        item.Visible = command != MenuCommand::SearchWith;
        if (const auto handler = HandlerOf(command)) item.OnClick = [this, handler] { (this->*handler)(); };
    }
    SetMenuCaptions();
    PopupMenu1.OnPopup = [this] { PopupMenu1Popup(); };
}

void TForm1::SetMenuCaptions() {
    for (std::size_t i = 0; i < std::size(kMenu); ++i) PopupMenu1.Items[i].Caption = ToWide(MenuCaption(kMenu[i]));
}

UserChoices TForm1::ChoicesInForce(BrowserModeRead browserMode, LayoutCheck layouts) {
    return InForce(Settings.Read(browserMode, layouts), policies_, Settings.Limits());
}

UserChoices TForm1::ReadChoicesForStart() {
    // The hotkeys stored by the Settings window (or set by a policy), else
    // Ctrl+G. The profiles (their hotkeys with their layout checks) and the
    // policies' watch come once the icon is there and the program idle.
    policies_ = ReadPolicies(system_.registry, &hotKeyText_, LayoutCheck::Apply);
    return ChoicesInForce(BrowserModeRead::Quietly, LayoutCheck::MainOnly);
}

void TForm1::FormCreate(const UserChoices& choices) {
    // Silently without the hotkey when another program holds it: the tray
    // click and the menu still search, and a balloon and the tip say why
    // the keys do not.
    languageSetting_ = choices.language;
    hotKey_ = {choices.hotKey, choices.hotKey ? HK1.Register(choices.hotKey) : std::uint16_t{0}};
    if (hotKey_.value && !hotKey_.id) {
        // Said once, without a box; a click on it opens Settings.
        TrayIcon1.SetBalloonHint(ToWide(HotKeyTakenNotice(hotKeyText_.FormatHotKey(hotKey_.value, false))));
        TrayIcon1.SetBalloonFlags(TBalloonFlags::bfWarning);
        TrayIcon1.ShowBalloon();
    }
    SetProfiles(choices.profiles);
    UpdateTexts(choices);
    Application().WhenIdle([this] {
        // After the start: one call into the shell fewer before its end.
        TrayIcon1.UseModernNotifications();
        ApplyChoicesInForce(); // a profile's taken hotkey is none, silently
        policyWatch_ = std::make_unique<TPolicyWatch>([this] { PoliciesChanged(); });
    });
}

void TForm1::PoliciesChanged() {
    Policies now = ReadPolicies(system_.registry, &hotKeyText_, LayoutCheck::Apply);
    if (now == policies_) return;
    policies_ = std::move(now);
    // The Settings window holds the hotkeys let go: they are registered
    // anew, in force, when it closes.
    if (SettingsForm && SettingsForm->Visible()) return;
    ApplyChoicesInForce();
}

void TForm1::ApplyChoicesInForce() {
    const UserChoices choices = ChoicesInForce(BrowserModeRead::Quietly, LayoutCheck::Apply);
    if (choices.language != languageSetting_) {
        languageSetting_ = choices.language;
        UseUiLanguage(languageSetting_);
        SetMenuCaptions();
    }
    // A hotkey another program holds counts as taken, silently.
    if (SwapHotKey(HK1, hotKey_, choices.hotKey) == SwapResult::InUse) {
        ReleaseHotKey(HK1, hotKey_);
        hotKey_.value = choices.hotKey;
    }
    ReleaseProfileKeys();
    SetProfiles(choices.profiles);
    RegisterProfileKeys();
    UpdateTexts(choices);
}

LRESULT TForm1::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A search from the command line, for as long as the icon is there.
    if (message == WM_COPYDATA && tray_) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData != kCommandRequestData) return FALSE;
        const auto request = ParseCommandLine(SplitArguments(
            std::u16string_view(static_cast<const char16_t*>(data->lpData), data->cbData / sizeof(char16_t))));
        // The exit code plus one: a window that knows no such request answers 0.
        return 1 + static_cast<LRESULT>(request && !request->usage ? CommandSearch(*request, true)
                                                                   : CommandExit::BadArguments);
    }
    // Windows says so to every top-level window after a Group Policy refresh.
    if (message == WM_SETTINGCHANGE && lParam && std::wstring_view(reinterpret_cast<const wchar_t*>(lParam)) == L"Policy")
        PoliciesChanged();
    return TCustomForm::HandleMessage(window, message, wParam, lParam);
}

void TForm1::SetProfiles(std::vector<SearchProfile> profiles) {
    profiles_ = std::move(profiles);
    profileKeys_.clear();
    for (const SearchProfile& profile : profiles_) profileKeys_.push_back({profile.hotKey, 0});
}

std::optional<std::size_t> TForm1::RegisterProfileKeys() {
    std::optional<std::size_t> taken;
    for (std::size_t i = 0; i < profileKeys_.size(); ++i) {
        HotKeyInForce& key = profileKeys_[i];
        if (key.value && !key.id && !(key.id = HK1.Register(key.value)) && !taken) taken = i;
    }
    return taken;
}

void TForm1::ReleaseProfileKeys() {
    for (HotKeyInForce& key : profileKeys_) ReleaseHotKey(HK1, key);
}

std::u16string TForm1::SetTrayTexts(std::uint32_t hotKey, bool taken, std::u16string_view searchTemplate) {
    const std::u16string key = hotKey ? hotKeyText_.FormatHotKey(hotKey, false) : u"";
    const std::u16string target = SearchTarget(searchTemplate);
    TrayIcon1.SetHint(ToWide(TrayHint(key, taken, target)));
    TrayIcon1.SetBalloonHint(ToWide(BalloonHint(key, taken, target)));
    return key;
}

void TForm1::UpdateTexts(const UserChoices& choices) {
    const bool taken = hotKey_.value != 0 && hotKey_.id == 0;
    const std::u16string key = SetTrayTexts(hotKey_.value, taken, choices.searchTemplate);
    MenuItem(MenuCommand::Search).Caption = ToWide(SearchCaption(taken ? u"" : key));
    // The profiles' submenu; its items are made when the menu first opens.
    TMenuItem& searchWith = MenuItem(MenuCommand::SearchWith);
    searchWith.Visible = !profiles_.empty();
    searchWith.Items.clear();
}

void TForm1::MakeProfileItems() {
    TMenuItem& searchWith = MenuItem(MenuCommand::SearchWith);
    if (!searchWith.Items.empty()) return;
    for (std::size_t i = 0; i < profiles_.size(); ++i) {
        const HotKeyInForce& registered = profileKeys_[i];
        TMenuItem& item = searchWith.Items.emplace_back();
        item.Caption = ToWide(ProfileMenuCaption(
            profiles_[i].name, registered.id ? hotKeyText_.FormatHotKey(registered.value, false) : u""));
        item.OnClick = [this, i] { ProfileSearch(i); };
    }
}

// A trigger that comes while the selection is being copied is dropped.
void TForm1::TrayIcon1Click() {
    if (!copyingSelection_) SearchRequest();
}

void TForm1::Snapquery1Click() {
    if (!copyingSelection_) SearchRequest();
}

void TForm1::HK1HotKeyPressed(std::uint32_t hotKey, std::uint16_t) {
    if (copyingSelection_) return;
    // The main search's, or a profile's: a copy, since the copy's wait
    // serves the menu and the Settings window, whose OK replaces profiles_.
    std::optional<SearchProfile> profile;
    if (hotKey != hotKey_.value) {
        for (std::size_t i = 0; i < profileKeys_.size(); ++i)
            if (profileKeys_[i].value == hotKey) profile = profiles_[i];
        if (!profile) return;
    }
    std::optional<std::u16string> text;
    if (ChoicesInForce(BrowserModeRead::Quietly).copySelection) {
        copyingSelection_ = true;
        copyWithdrawn_ = false;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{copyingSelection_};
        Win32SelectionHost host(hotKey, Application().Handle(), copyWithdrawn_);
        CopyResult copied = CopySelection(host);
        // Asked to exit while waiting: no search starts after that.
        if (copied.outcome == CopyOutcome::Cancelled) return;
        if (copied.restoreFailed) ShowNotice(Tr(TextId::ClipboardNotRestored));
        text = std::move(copied.text);
    }
    RunSearch(profile ? &*profile : nullptr, text);
}

void TForm1::ShowNotice(const std::u16string& notice) {
    TrayIcon1.SetBalloonHint(ToWide(notice));
    TrayIcon1.SetBalloonFlags(TBalloonFlags::bfWarning);
    TrayIcon1.ShowBalloon();
    TrayIcon1.SetBalloonFlags(TBalloonFlags::bfNone);
    UpdateTexts(ChoicesInForce(BrowserModeRead::Quietly));
}

void TForm1::WithdrawCopy() {
    // The user turned to the menu or a window of ours while the copy waits:
    // the window in front is no longer the one to copy from.
    if (copyingSelection_) copyWithdrawn_ = true;
}

void TForm1::Settings1Click() {
    WithdrawCopy();
    // An administrator may keep the window closed (its item is greyed).
    if (policies_.allowSettings == false) return;
    if (!SettingsForm) {
        SettingsForm = std::make_unique<TSettingsForm>(hotKeyText_, Settings.Limits(), Settings.Registry());
        SettingsForm->OnLoad = [this] {
            // The hotkey in force, which may differ from the stored one
            // (unless a policy decides it: the window shows the policy's).
            UserChoices choices = Settings.Read(BrowserModeRead::Quietly, LayoutCheck::Apply);
            if (!policies_.hotKey) choices.hotKey = hotKey_.value;
            // Why stored hotkeys are not in force is said once.
            if (choices.setAside == setAsideSaid_)
                choices.setAside.clear();
            else
                setAsideSaid_ = choices.setAside;
            return choices;
        };
        SettingsForm->OnApply = [this](const UserChoices& c) { return ApplySettings(c); };
        SettingsForm->OnShown = [this] { OfferStartEntryRemoval(); };
    }
    SettingsForm->Managed = policies_;
    // At most one: a second command brings it to the front.
    if (SettingsForm->Visible()) {
        ::SetForegroundWindow(SettingsForm->Handle());
        return;
    }
    // Windows hands a registered hotkey to its owner before any window sees
    // the keys: released while the window is open, so that its box can
    // record it. OK registers the new one; otherwise the old one comes back.
    ReleaseHotKey(HK1, hotKey_);
    ReleaseProfileKeys();
    const Policies policiesBefore = policies_;
    auto registerAgain = [this, &policiesBefore] {
        // Policies that changed meanwhile take effect now.
        if (policies_ != policiesBefore) return ApplyChoicesInForce();
        SwapHotKey(HK1, hotKey_, hotKey_.value);
        RegisterProfileKeys();
        UpdateTexts(ChoicesInForce(BrowserModeRead::Quietly));
    };
    try {
        SettingsForm->ShowModal();
    } catch (...) {
        registerAgain();
        throw;
    }
    registerAgain();
}

void TForm1::OfferStartEntryRemoval() {
    // Said once: a machine-wide start entry that one user could abuse (an
    // older version wrote it) no longer counts, and goes only with an
    // administrator's consent.
    if (startEntrySaid_) return;
    const std::optional<std::u16string> command = Settings.UnsafeMachineRunCommand();
    if (!command) return;
    startEntrySaid_ = true;
    if (MessageDlg(ToWide(UnsafeStartEntryText(*command)), TMsgDlgType::mtConfirmation,
                   Buttons(TMsgDlgBtn::mbYes) | Buttons(TMsgDlgBtn::mbNo), 0) != ButtonOf(TMsgDlgBtn::mbYes).result)
        return;
    HWND owner = SettingsForm ? SettingsForm->Handle() : nullptr;
    // The elevated process's exit code proves nothing: the registry is read
    // again. Declined at the prompt, there is nothing to say.
    if (RunElevated(owner, Settings.StartEntryRemovals(SystemFolder())) && Settings.UnsafeMachineRunCommand())
        MessageDlg(ToWide(Tr(TextId::StartEntryStays)), TMsgDlgType::mtWarning, Buttons(TMsgDlgBtn::mbOK), 0);
}

bool TForm1::ApplySettings(const UserChoices& own) {
    // The user's own choices are stored; what policies decide is in force.
    const UserChoices choices = InForce(own, policies_, Settings.Limits());
    const auto warn = [this](std::uint32_t value) {
        MessageDlg(ToWide(HotKeyInUseText(hotKeyText_.FormatHotKey(value, false))), TMsgDlgType::mtWarning,
                   Buttons(TMsgDlgBtn::mbOK), 0);
        return false;
    };
    // Every hotkey is let go while the window is open: the new ones are
    // registered here, and taken back when one cannot be.
    const std::uint32_t before = hotKey_.value;
    const std::vector<SearchProfile> profilesBefore = profiles_;
    const auto restore = [&] {
        ReleaseProfileKeys();
        ReleaseHotKey(HK1, hotKey_);
        hotKey_.value = before;
        SetProfiles(profilesBefore);
    };
    if (SwapHotKey(HK1, hotKey_, choices.hotKey) == SwapResult::InUse) return warn(choices.hotKey);
    SetProfiles(choices.profiles);
    if (const auto taken = RegisterProfileKeys()) {
        const std::uint32_t value = profileKeys_[*taken].value;
        restore();
        return warn(value);
    }
    try {
        Settings.Write(own);
    } catch (...) {
        restore(); // nothing stored, and the window stays
        throw;
    }
    // Another language: the menu now, the tip when the window closes, and
    // every window as it next opens.
    if (choices.language != languageSetting_) {
        languageSetting_ = choices.language;
        UseUiLanguage(languageSetting_);
        SetMenuCaptions();
    }
    return true;
}

namespace {

// The search request's steps, carried out by the form and its components.
class FormSearchHost final : public ISearchHost {
public:
    // With `profile`, its address in place of the main one; with `text`,
    // that in place of the clipboard's; with `privateWindow`, in a private
    // window whatever the choices say.
    FormSearchHost(TForm1& form, const SearchProfile* profile, const std::optional<std::u16string>& text,
                   bool privateWindow)
        : form_(form), profile_(profile), text_(text), privateWindow_(privateWindow) {}
    // Whether the shell refused to start the default browser.
    bool refused = false;
    std::u16string LanguageEnglish() override { return form_.Locale1.Locale().LanguageEnglish(); }
    void SendCopyToFocus() override {
        // GetFocus names only a window of this thread: a selection in another
        // program is not copied.
        ::SendMessageW(::GetFocus(), WM_COPY, 0, 0);
    }
    SearchChoices ReadChoices() override {
        const UserChoices inForce = form_.ChoicesInForce();
        // A profile opens in its own browser, else as the main search does.
        return {inForce.useInternetExplorer, profile_ ? profile_->searchTemplate : inForce.searchTemplate,
                inForce.openAddresses, profile_ && !profile_->browser.empty() ? profile_->browser : inForce.browser,
                privateWindow_ || (profile_ ? profile_->privateWindow : inForce.privateWindow)};
    }
    std::size_t AddressLimit(bool useInternetExplorer) override {
        return form_.Settings.Limits().For(useInternetExplorer);
    }
    std::u16string ReadClipboardText(std::size_t limit) override {
        if (text_) return text_->substr(0, limit);
        // The system copies the whole text into this process on every read:
        // a clipboard that has not changed since this request read it is
        // not read again.
        const DWORD sequence = ::GetClipboardSequenceNumber();
        if (sequence == 0 || sequence != readSequence_ || limit > readLimit_) {
            readText_ = snq::ReadClipboardText(Application().Handle(), limit);
            readSequence_ = sequence;
            readLimit_ = limit;
        }
        return readText_.substr(0, limit);
    }
    void ShowNoText() override {
        MessageDlg(ToWide(Tr(TextId::MsgSearchNoText)), TMsgDlgType::mtInformation, Buttons(TMsgDlgBtn::mbOK), 0);
    }
    void OpenInIE(std::u16string_view address) override { snq::OpenInIE(ToWide(address)); }
    void OpenInDefaultBrowser(std::u16string_view address) override {
        form_.Launcher1.FileName = std::u16string(address);
        refused = form_.Launcher1.LaunchNoWait() != 0; // silent, but for the command line
    }
    void OpenInBrowser(std::u16string_view browser, bool privateWindow, std::u16string_view address) override {
        if (const auto start = BrowserStartFor(form_.Settings.Registry(), browser, privateWindow))
            OpenInProgram(start->program, start->privateSwitch, address);
        else
            OpenInDefaultBrowser(address);
    }

private:
    TForm1& form_;
    const SearchProfile* profile_;
    const std::optional<std::u16string>& text_;
    bool privateWindow_;
    std::u16string readText_;
    DWORD readSequence_ = 0;
    std::size_t readLimit_ = 0;
};

} // namespace

void TForm1::SearchRequest() { RunSearch(nullptr); }

void TForm1::ProfileSearch(std::size_t index) {
    if (index < profiles_.size() && !copyingSelection_) {
        const SearchProfile profile = profiles_[index];
        RunSearch(&profile);
    }
}

bool TForm1::RunSearch(const SearchProfile* profile, const std::optional<std::u16string>& text, bool privateWindow) {
    FormSearchHost host(*this, profile, text, privateWindow);
    RunSearchRequest(host, LastSearchAddress);
    return !host.refused;
}

CommandExit TForm1::CommandSearch(const CommandRequest& request, bool replyFirst) {
    if ((request.profile && policies_.allowProfiles == false) ||
        (request.privateWindow && policies_.allowPrivateWindow == false))
        return CommandExit::Refused;
    std::optional<SearchProfile> profile;
    if (request.profile) {
        const std::wstring name = ToWide(*request.profile);
        for (const SearchProfile& candidate : ChoicesInForce(BrowserModeRead::Quietly).profiles) {
            const std::wstring own = ToWide(candidate.name);
            if (::CompareStringOrdinal(own.c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL) profile = candidate;
        }
        if (!profile) return CommandExit::NoSuchProfile;
    }
    if (request.text ? request.text->empty() : snq::ReadClipboardText(Application().Handle(), 1).empty())
        return CommandExit::NothingToSearch;
    // Taken: the caller goes, and the search goes on here.
    if (replyFirst) ::ReplyMessage(1 + static_cast<LRESULT>(CommandExit::Searched));
    return RunSearch(profile ? &*profile : nullptr, request.text, request.privateWindow) ? CommandExit::Searched
                                                                                        : CommandExit::Failed;
}

void TForm1::PopupMenu1Popup() {
    WithdrawCopy();
    MakeProfileItems();
    // A settings error leaves both marks as they were.
    const MenuMarks marks = ReadMenuMarks(Settings);
    // What a policy decides is shown greyed, as the policy sets it.
    TMenuItem& browser = MenuItem(MenuCommand::UseDefaultBrowser);
    browser.Checked = policies_.useDefaultBrowser.value_or(marks.defaultBrowser);
    if (policies_.browser) browser.Checked = Settings.OpensInDefaultBrowser(InForce({}, policies_, Settings.Limits()));
    browser.Enabled = !policies_.useDefaultBrowser && !policies_.browser;
    MenuItem(MenuCommand::Settings).Enabled = policies_.allowSettings != false;
    MenuItem(MenuCommand::AutoRun).Checked = marks.autoRun;
}

void TForm1::UseDefaultBrowser1Click() {
    if (policies_.useDefaultBrowser || policies_.browser) return; // decided by a policy
    TMenuItem& item = MenuItem(MenuCommand::UseDefaultBrowser);
    item.Checked = ToggleDefaultBrowser(Settings, item.Checked);
}

void TForm1::AutoRunatStartup1Click() {
    MenuItem(MenuCommand::AutoRun).Checked = ToggleRunAtStartup(Settings);
}

void TForm1::ShowClipboard1Click() {
    ShownClipboardText = ReadClipboardText(Application().Handle());
    ShowMessage(ToWide(ClipboardMessage(ShownClipboardText)));
}

void TForm1::ClearClipboard1Click() { ClearClipboard(Application().Handle()); }

void TForm1::About1Click() {
    // The About window is made after this form. A second instance's menu
    // works while its "already running" message is up, which is before then.
    if (AboutBox) AboutBox->ShowModal();
}

void TForm1::Exit1Click() { Application().Terminate(); }

} // namespace snq
