#pragma once
// The window that adds or edits a search profile: its name, an address from
// the presets or typed, and a hotkey.
#include "app/DialogFormWin32.h"
#include "app/SettingsDialog.h"
#include "settings/Policies.h"

namespace snq {

class TProfileForm final : public TDialogForm {
public:
    // `registry` lists the installed browsers.
    TProfileForm(THotKeyText& keys, std::size_t addressLimit, IRegistry& registry);

    // Shows `profile` of `choices` (at `index`; a new one at
    // choices.profiles.size()) and returns what OK took, or nothing.
    // `managed`: what policies decide.
    std::optional<SearchProfile> Edit(const UserChoices& choices, std::size_t index, const Policies& managed);

protected:
    void Load() override;
    void Apply() override;
    void Command(int id, int code) override;

private:
    void UpdateEnabled();
    std::size_t ChosenBrowser() const;

    THotKeyText& keys_;
    std::size_t addressLimit_;
    IRegistry& registry_;
    OpenInList openIn_{true, {}};
    const UserChoices* choices_ = nullptr;
    const Policies* managed_ = nullptr;
    std::size_t index_ = 0;
    SearchProfile profile_;
    // The name a preset put in the name box, which the next preset replaces.
    std::u16string presetName_;
};

} // namespace snq
