#pragma once
// The Settings window: the hotkey, the search engine, the two choices about
// the hotkey's search and the search profiles, made on its first showing and
// shown modally.
#include <functional>
#include <memory>

#include "app/DialogFormWin32.h"
#include "app/SettingsDialog.h"
#include "settings/Policies.h"

namespace snq {

class TProfileForm;

class TSettingsForm final : public TDialogForm {
public:
    // `keys` names the hotkeys in the window's texts; `limits` are the ones
    // a search checks a template against.
    // `registry` lists the installed browsers.
    TSettingsForm(THotKeyText& keys, AddressLimits limits, IRegistry& registry);
    ~TSettingsForm() override;

    // What the window shows when it opens.
    std::function<UserChoices()> OnLoad;
    // Applies the choices on OK, once the window found nothing to say
    // against them: true closes the window, false keeps it open (the
    // handler has said why).
    std::function<bool(const UserChoices&)> OnApply;
    // The window has shown (and said why stored hotkeys are not in force).
    std::function<void()> OnShown;
    // What policies decide: shown as they set it, and not to be changed.
    Policies Managed;

protected:
    void Load() override;
    void Apply() override;
    void Command(int id, int code) override;
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Show(const UserChoices& own);
    bool Decided(bool UserChoices::*choice) const;
    bool ProfilesEditable() const;
    // Says why stored hotkeys are not in force (shown_.setAside).
    void SayNotices();
    SettingsChoices ReadControls() const;
    void UpdateEnabled();
    // The browser mode the "Open in" list chooses: Internet Explorer,
    // and the browser's key (empty: none of the user's own).
    std::pair<bool, std::u16string> ChosenBrowser() const;
    bool BrowserDecided() const;
    // The profiles' list from shown_, with the item at `selected` chosen.
    void ShowProfiles(int selected);
    int SelectedProfile() const;
    // Add (`index` none) or edit a profile in its own window.
    void EditProfile(std::optional<std::size_t> index);
    void RemoveProfile();
    void MoveProfile(int by);

    THotKeyText& keys_;
    AddressLimits limits_;
    IRegistry& registry_;
    OpenInList openIn_;
    // A chosen browser was uninstalled: said once the window shows.
    bool browserGone_ = false;
    // The choices shown, the profiles as edited: what the window does not
    // show stays as it was.
    UserChoices shown_;
    // Made on its first use; it goes first.
    std::unique_ptr<TProfileForm> profileForm_;
};

} // namespace snq
