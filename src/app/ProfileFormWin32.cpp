#include "app/ProfileFormWin32.h"

#include <commctrl.h>

#include "framework/Text.h"

namespace snq {

namespace {
constexpr std::size_t kCustom = std::size(kSearchPresets);
} // namespace

TProfileForm::TProfileForm(THotKeyText& keys, std::size_t addressLimit, IRegistry& registry)
    : TDialogForm(L"TProfileForm", TextId::ProfileTitle, kProfileControls, kProfileWidth, kProfileHeight),
      keys_(keys), addressLimit_(addressLimit), registry_(registry) {}

std::optional<SearchProfile> TProfileForm::Edit(const UserChoices& choices, std::size_t index,
                                                const Policies& managed) {
    choices_ = &choices;
    managed_ = &managed;
    index_ = index;
    profile_ = index < choices.profiles.size() ? choices.profiles[index] : SearchProfile{};
    if (ShowModal() != mrOk) return std::nullopt;
    return profile_;
}

void TProfileForm::Load() {
    presetName_.clear();
    HWND engines = Control(idProfileEngine);
    // The presets' names in the interface's language of now.
    ::SendMessageW(engines, CB_RESETCONTENT, 0, 0);
    for (const SearchPreset& preset : kSearchPresets)
        ::SendMessageW(engines, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(PresetName(preset)).c_str()));
    ::SendMessageW(engines, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(Tr(TextId::ProfileCustom)).c_str()));
    ::SendMessageW(Control(idProfileAddress), EM_LIMITTEXT, addressLimit_, 0);
    ::SendMessageW(Control(idProfileName), EM_LIMITTEXT, kMaxProfileName, 0);
    ::SetWindowTextW(Control(idProfileName), ToWide(profile_.name).c_str());
    // A new profile starts from the first preset.
    const std::size_t preset = profile_.searchTemplate.empty() ? 0 : PresetOf(profile_.searchTemplate);
    ::SendMessageW(engines, CB_SETCURSEL, preset, 0);
    ::SetWindowTextW(Control(idProfileAddress),
                     ToWide(preset == kCustom ? profile_.searchTemplate : kSearchPresets[preset].searchTemplate).c_str());
    ShowHotKey(idProfileHotKey, profile_.hotKey);
    Check(Control(idProfileNoHotKey), profile_.hotKey == 0);
    // A browser no longer installed shows as the main search's, as it opens.
    openIn_.browsers = InstalledBrowsers(registry_);
    bool gone = false;
    FillList(Control(idProfileOpenIn), openIn_.Names(), openIn_.IndexOf(managed_->browser ? u"" : profile_.browser, false, gone));
    // A Browser policy decides for the profiles too.
    ::EnableWindow(Control(idProfileOpenIn), !managed_->browser);
    Check(Control(idProfilePrivateWindow), profile_.privateWindow && managed_->allowPrivateWindow != false);
    UpdateEnabled();
    ::SetFocus(Control(idProfileName));
}

void TProfileForm::UpdateEnabled() {
    const auto preset = static_cast<std::size_t>(::SendMessageW(Control(idProfileEngine), CB_GETCURSEL, 0, 0));
    // A preset's address is shown as it is; only Custom's is typed.
    ::SendMessageW(Control(idProfileAddress), EM_SETREADONLY, preset != kCustom, 0);
    ::EnableWindow(Control(idProfileHotKey), !Checked(Control(idProfileNoHotKey)));
    // Where the search would open, and whether it can open privately there.
    const std::size_t chosen = ChosenBrowser();
    const std::u16string key = chosen ? openIn_.KeyAt(chosen) : choices_->browser;
    ::EnableWindow(Control(idProfilePrivateWindow),
                   managed_->allowPrivateWindow != false &&
                       OpensPrivately(registry_, key, !chosen && choices_->useInternetExplorer));
}

std::size_t TProfileForm::ChosenBrowser() const {
    if (managed_->browser) return 0;
    const auto index = ::SendMessageW(Control(idProfileOpenIn), CB_GETCURSEL, 0, 0);
    return index > 0 ? static_cast<std::size_t>(index) : 0;
}

void TProfileForm::Command(int id, int code) {
    if (id == idProfileEngine && code == CBN_SELCHANGE) {
        const auto preset = static_cast<std::size_t>(::SendMessageW(Control(idProfileEngine), CB_GETCURSEL, 0, 0));
        if (preset < kCustom) {
            ::SetWindowTextW(Control(idProfileAddress), ToWide(kSearchPresets[preset].searchTemplate).c_str());
            // A profile without a name yet takes the preset's, and keeps
            // following the presets (arrowing through the list) until the
            // user writes one.
            const std::u16string name = TextOf(Control(idProfileName));
            if (name.empty() || name == presetName_) {
                presetName_ = PresetName(kSearchPresets[preset]);
                ::SetWindowTextW(Control(idProfileName), ToWide(presetName_).c_str());
            }
        }
        UpdateEnabled();
    } else if ((id == idProfileNoHotKey && code == BN_CLICKED) || (id == idProfileOpenIn && code == CBN_SELCHANGE)) {
        UpdateEnabled();
    }
}

void TProfileForm::Apply() {
    SearchProfile profile;
    profile.name = TrimmedProfileName(TextOf(Control(idProfileName)));
    profile.searchTemplate = TextOf(Control(idProfileAddress));
    const bool none = Checked(Control(idProfileNoHotKey));
    profile.hotKey = HotKeyIn(idProfileHotKey);
    const std::u16string problem =
        ProfileProblem(profile, none, keys_.FormatHotKey(profile.hotKey, false), keys_.RefusalOf(profile.hotKey),
                       addressLimit_, *choices_, index_);
    if (!problem.empty()) {
        Warn(problem);
        return;
    }
    if (none) profile.hotKey = 0;
    // What a policy decides stays the profile's own.
    profile.browser = managed_->browser ? profile_.browser : openIn_.KeyAt(ChosenBrowser());
    profile.privateWindow = managed_->allowPrivateWindow == false ? profile_.privateWindow
                                                                  : Checked(Control(idProfilePrivateWindow));
    profile_ = profile;
    SetModalResult(mrOk);
}

} // namespace snq
