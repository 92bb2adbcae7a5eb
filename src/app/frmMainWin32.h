#pragma once
// The hidden main form: it owns the components and carries the handlers of
// the tray icon, the menu and the hotkey.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/InstanceGuardWin32.h"
#include "app/MainTexts.h"
#include "app/PopupMenuWin32.h"
#include "app/SettingsFormWin32.h"
#include "app/TrayIconWin32.h"
#include "framework/FormWin32.h"
#include "hotkeys/HotKeyManagerWin32.h"
#include "hotkeys/HotKeySwap.h"
#include "hotkeys/HotKeyText.h"
#include "launcher/ShellLaunchWin32.h"
#include "search/SysLocaleWin32.h"
#include "settings/RegistryWin32.h"
#include "settings/Policies.h"
#include "settings/PolicyWatchWin32.h"
#include "settings/Settings.h"

namespace snq {

class TAboutBox;

class TForm1 final : public TCustomForm {
public:
    // Builds the components in their order, applies their settings, sends
    // their load notifications (the single-instance check among them) and
    // runs FormCreate. Without `tray`, none of that: the form only runs a
    // search from the command line (CommandSearch).
    explicit TForm1(THotKeyText& hotKeyText, bool tray = true);
    ~TForm1() override = default;

    // The tray click, the hotkey and the menu command all run this.
    void SearchRequest();
    // A search with the profile at `index` (its hotkey, its menu item).
    void ProfileSearch(std::size_t index);

    void TrayIcon1Click();
    void HK1HotKeyPressed(std::uint32_t hotKey, std::uint16_t index);
    void PopupMenu1Popup();
    void UseDefaultBrowser1Click();
    void AutoRunatStartup1Click();
    void ShowClipboard1Click();
    void ClearClipboard1Click();
    void Snapquery1Click();
    void Settings1Click();
    void About1Click();
    void Exit1Click();
    void FormCreate(const UserChoices& choices);

    // A search from the command line: what became of it. `replyFirst`: in
    // a message from another process, which is answered once the search
    // is taken (so that it never waits on a box shown here).
    CommandExit CommandSearch(const CommandRequest& request, bool replyFirst);

    // The user's choices with what policies decide over them.
    UserChoices ChoicesInForce(BrowserModeRead browserMode = BrowserModeRead::CreateOrRaise,
                               LayoutCheck layouts = LayoutCheck::Skip);

protected:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The system's side of the settings and the components: made before
    // them and gone after them.
    struct Win32Side {
        Win32Registry registry;
        Win32InstanceHost instanceHost;
        Win32LocaleSource localeSource;
        Win32LaunchPlatform launchPlatform;
        Win32MainThread mainThread;
    } system_;

public:
    // The settings' state lives as long as the form; each operation opens
    // the registry anew.
    TSettings Settings;

    // Components, in creation order; they are destroyed in reverse.
    TTrayIcon TrayIcon1;
    TPopupMenu PopupMenu1;
    TRunOnce RunOnce1;
    TSysLocale Locale1;
    THotKeyManager HK1;
    TShellLauncher Launcher1;

    // The clipboard text that "Show clipboard text" read last.
    std::u16string ShownClipboardText;
    // The address that the latest search request composed.
    std::u16string LastSearchAddress;
    // The About window, once it has been made (after this form).
    TAboutBox* AboutBox = nullptr;

private:
    // The policies and the choices in force that the start needs (the
    // main hotkey's, checked against the keyboard layouts).
    UserChoices ReadChoicesForStart();
    void SetupTrayIcon(const UserChoices& choices);
    // The tip and the balloon's text for `hotKey` (`taken`: another program
    // holds it) and the search; returns the hotkey's text.
    std::u16string SetTrayTexts(std::uint32_t hotKey, bool taken, std::u16string_view searchTemplate);
    void SetupPopupMenu();
    // The items' captions in the interface's language.
    void SetMenuCaptions();
    TMenuItem& MenuItem(MenuCommand command);
    // The menu caption, the tip and the balloon: the hotkey in force and
    // where a search goes.
    void UpdateTexts(const UserChoices& choices);
    // The items of "Search with", when they are not made yet.
    void MakeProfileItems();
    bool ApplySettings(const UserChoices& choices);
    // The profiles in force, their hotkeys not registered yet.
    void SetProfiles(std::vector<SearchProfile> profiles);
    // Registers the hotkeys of profiles_ that are not; returns the first
    // one another program holds, if any (the others are registered).
    std::optional<std::size_t> RegisterProfileKeys();
    void ReleaseProfileKeys();
    // Policies may have changed: read them again, and apply what changed.
    void PoliciesChanged();
    // The choices in force now: language, hotkeys, profiles, texts.
    void ApplyChoicesInForce();
    // Offers, once, to remove a machine-wide start entry one user could abuse.
    void OfferStartEntryRemoval();
    // False when the shell refused to start the default browser.
    bool RunSearch(const SearchProfile* profile, const std::optional<std::u16string>& text = std::nullopt,
                   bool privateWindow = false);
    void WithdrawCopy();
    // A warning in a balloon, once; the tip and balloon texts as before after.
    void ShowNotice(const std::u16string& notice);

    THotKeyText& hotKeyText_;
    bool tray_;
    HotKeyInForce hotKey_;
    // The profiles in force, as read at start or stored by OK, and their
    // hotkeys' registrations.
    std::vector<SearchProfile> profiles_;
    std::vector<HotKeyInForce> profileKeys_;
    bool copyingSelection_ = false;
    bool copyWithdrawn_ = false;
    // The stored hotkeys the Settings window said were not in force.
    std::vector<SetAsideHotKey> setAsideSaid_;
    bool startEntrySaid_ = false;
    // The "Language" in force that the texts were chosen by.
    std::u16string languageSetting_;
    // What policies decide, as read at start and at each change.
    Policies policies_;
    std::unique_ptr<TPolicyWatch> policyWatch_;

public:
    // Made on its first showing; it goes first.
    std::unique_ptr<TSettingsForm> SettingsForm;
};

} // namespace snq
