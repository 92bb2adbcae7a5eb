#pragma once
// The window that adds or edits a search profile: its name, an address from
// the presets or typed, and a hotkey.
#include "app/DialogFormWin32.h"
#include "app/SettingsDialog.h"

namespace snq {

class TProfileForm final : public TDialogForm {
public:
    TProfileForm(THotKeyText& keys, std::size_t addressLimit);

    // Shows `profile` of `choices` (at `index`; a new one at
    // choices.profiles.size()) and returns what OK took, or nothing.
    std::optional<SearchProfile> Edit(const UserChoices& choices, std::size_t index);

protected:
    void Load() override;
    void Apply() override;
    void Command(int id, int code) override;

private:
    void UpdateEnabled();

    THotKeyText& keys_;
    std::size_t addressLimit_;
    const UserChoices* choices_ = nullptr;
    std::size_t index_ = 0;
    SearchProfile profile_;
    // The name a preset put in the name box, which the next preset replaces.
    std::u16string presetName_;
};

} // namespace snq
