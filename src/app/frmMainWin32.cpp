#include "app/frmMainWin32.h"

#include "about/AboutWin32.h"
#include "app/MainTexts.h"
#include "app/TrayStartup.h"
#include "framework/ApplicationWin32.h"
#include "framework/ClipboardWin32.h"
#include "framework/ErrorText.h"
#include "framework/Exceptions.h"
#include "framework/MessageDialogWin32.h"
#include "framework/Text.h"
#include "search/BrowserLaunchWin32.h"
#include "search/SearchAddress.h"
#include "search/SearchRequest.h"

namespace snq {

TForm1::TForm1(THotKeyText& hotKeyText)
    : TCustomForm(L"TForm1", ToWide(kMainFormCaption), WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 156, 94),
      Settings(system_.registry, ToU16(ExecutablePath())),
      TrayIcon1(Application().Instance(), Application().Title()), RunOnce1(system_.instanceHost),
      Locale1(system_.localeSource), Launcher1(system_.launchPlatform, system_.mainThread),
      hotKeyText_(hotKeyText),
      programIcon_(LoadNearestIcon(Application().Instance(), 1)) {
    SetupTrayIcon();
    SetupPopupMenu();
    RunOnce1.RestorePrevInst = true;
    RunOnce1.Terminate = true;
    RunOnce1.MessageText = std::u16string(kAlreadyRunning);
    RunOnce1.ShowMessage = true;
    Locale1.AutoRetrieve = true;
    HK1.OnHotKeyPressed = [this](std::uint32_t hotKey, std::uint16_t index) {
        HK1HotKeyPressed(hotKey, index);
    };
    Launcher1.Action = u"Open";
    Launcher1.Timeout = -1;
    Launcher1.WaitType = TWaitType::wtProcessMessages;

    // Load notifications, in creation order.
    RunOnce1.Loaded();
    Locale1.Loaded();
    FormCreate();
}

void TForm1::SetupTrayIcon() {
    TrayIcon1.SetHint(ToWide(kTrayHint));
    TrayIcon1.SetBalloonHint(ToWide(kBalloonHint));
    TrayIcon1.SetBalloonTitle(ToWide(kBalloonTitle));
    TrayIcon1.SetBalloonTimeout(kBalloonTimeout);
    TrayIcon1.SetIcon(programIcon_.get());
    TrayIcon1.SetPopupMenu(&PopupMenu1);
    TrayIcon1.OnClick = [this] { TrayIcon1Click(); };
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
    case MenuCommand::UseDefaultBrowser: return &TForm1::UseDefaultBrowser1Click;
    case MenuCommand::AutoRun: return &TForm1::AutoRunatStartup1Click;
    case MenuCommand::ShowClipboard: return &TForm1::ShowClipboard1Click;
    case MenuCommand::ClearClipboard: return &TForm1::ClearClipboard1Click;
    case MenuCommand::Search: return &TForm1::Snapquery1Click;
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
    for (const MenuEntry& entry : kMenu) {
        TMenuItem& item = PopupMenu1.Items.emplace_back();
        item.Caption = ToWide(entry.caption);
        if (const auto handler = HandlerOf(entry.command))
            item.OnClick = [this, handler] { (this->*handler)(); };
    }
    PopupMenu1.OnPopup = [this] { PopupMenu1Popup(); };
}

void TForm1::FormCreate() {
    // Silently without the hotkey when another program holds Ctrl+G: the
    // tray click and the menu command still search.
    HK1.Add(hotKeyText_.ParseHotKey(u"Ctrl+g", false));
}

void TForm1::TrayIcon1Click() { SearchRequest(); }
void TForm1::Snapquery1Click() { SearchRequest(); }
void TForm1::HK1HotKeyPressed(std::uint32_t, std::uint16_t) { SearchRequest(); }

namespace {

// The search request's steps, carried out by the form and its components.
class FormSearchHost final : public ISearchHost {
public:
    FormSearchHost(TForm1& form) : form_(form) {}
    std::u16string LanguageEnglish() override { return form_.Locale1.Locale().LanguageEnglish(); }
    void SendCopyToFocus() override {
        // GetFocus names only a window of this thread: a selection in another
        // program is not copied.
        ::SendMessageW(::GetFocus(), WM_COPY, 0, 0);
    }
    void GetSettings() override { form_.Settings.GetSettings(); }
    bool UseInternetExplorer() override { return form_.Settings.UseInternetExplorer; }
    std::size_t AddressLimit() override {
        return UseInternetExplorer() ? kMaxAddressLength : ShellAddressLimit();
    }
    std::u16string ReadClipboardText(std::size_t limit) override {
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
        MessageDlg(ToWide(kSearchNoText), TMsgDlgType::mtInformation, Buttons(TMsgDlgBtn::mbOK), 0);
    }
    void OpenInIE(std::u16string_view address) override { snq::OpenInIE(ToWide(address)); }
    void OpenInDefaultBrowser(std::u16string_view address) override {
        form_.Launcher1.FileName = std::u16string(address);
        form_.Launcher1.LaunchNoWait(); // a start the shell refuses is silent
    }

private:
    TForm1& form_;
    std::u16string readText_;
    DWORD readSequence_ = 0;
    std::size_t readLimit_ = 0;
};

} // namespace

void TForm1::SearchRequest() {
    FormSearchHost host(*this);
    RunSearchRequest(host, LastSearchAddress);
}

void TForm1::PopupMenu1Popup() {
    // A settings error leaves both marks as they were.
    const bool defaultBrowser = Settings.UsesDefaultBrowser();
    const bool autoRun = Settings.SetToStartup();
    MenuItem(MenuCommand::UseDefaultBrowser).Checked = defaultBrowser;
    MenuItem(MenuCommand::AutoRun).Checked = autoRun;
}

void TForm1::UseDefaultBrowser1Click() {
    // From the item's own mark, not from the registry.
    TMenuItem& item = MenuItem(MenuCommand::UseDefaultBrowser);
    Settings.SetDefaultBrowser(!item.Checked);
    item.Checked = !item.Checked;
}

void TForm1::AutoRunatStartup1Click() {
    const bool run = !Settings.SetToStartup();
    Settings.SetRunAtStartup(run);
    MenuItem(MenuCommand::AutoRun).Checked = run;
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
