#include <gtest/gtest.h>

#include "app/MainTexts.h"
#include "app/SettingsDialog.h"
#include "framework/MessageDialog.h"
#include "support/TableTexts.h"

using namespace snq;

namespace {
constexpr TMsgDlgButtons kAll = (1u << 11) - 1;
TMsgDlgButtons Of(std::initializer_list<TMsgDlgBtn> list) {
    TMsgDlgButtons set = 0;
    for (TMsgDlgBtn b : list) set |= Buttons(b);
    return set;
}
} // namespace

TEST(MessageDialog, ButtonsAppearInTheFixedOrderWithTheirCaptionsAndResults) {
    const auto all = ButtonsInOrder(kAll);
    ASSERT_EQ(all.size(), 11u);
    const char16_t* captions[] = {u"&Yes", u"&No", u"OK", u"Cancel", u"&Abort", u"&Retry",
                                  u"&Ignore", u"&All", u"N&o to All", u"Yes to &All", u"&Help"};
    const int results[] = {6, 7, 1, 2, 3, 4, 5, 8, 9, 10, 0};
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(Tr(all[i].caption), captions[i]);
        EXPECT_EQ(all[i].result, results[i]);
    }
    // Order does not depend on how the set was written.
    const auto some = ButtonsInOrder(Of({TMsgDlgBtn::mbHelp, TMsgDlgBtn::mbOK, TMsgDlgBtn::mbYes}));
    ASSERT_EQ(some.size(), 3u);
    EXPECT_EQ(some[0].button, TMsgDlgBtn::mbYes);
    EXPECT_EQ(some[1].button, TMsgDlgBtn::mbOK);
    EXPECT_EQ(some[2].button, TMsgDlgBtn::mbHelp);
}

TEST(MessageDialog, DefaultAndCancelButtonsFollowTheirPreferenceOrder) {
    EXPECT_EQ(DefaultButtonResult(Of({TMsgDlgBtn::mbOK, TMsgDlgBtn::mbYes})), 1);
    EXPECT_EQ(DefaultButtonResult(Of({TMsgDlgBtn::mbYes, TMsgDlgBtn::mbRetry})), 6);
    EXPECT_EQ(DefaultButtonResult(Of({TMsgDlgBtn::mbRetry, TMsgDlgBtn::mbAbort})), 4);
    EXPECT_EQ(DefaultButtonResult(Of({TMsgDlgBtn::mbAbort})), -1);
    EXPECT_EQ(CancelButtonResult(Of({TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbNo})), 2);
    EXPECT_EQ(CancelButtonResult(Of({TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbOK})), 7);
    EXPECT_EQ(CancelButtonResult(Of({TMsgDlgBtn::mbOK})), 1);
    EXPECT_EQ(CancelButtonResult(Of({TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbRetry})), -1);
}

TEST(MessageDialog, KindsHaveTheirTitlesAndIcons) {
    EXPECT_EQ(Tr(KindOf(TMsgDlgType::mtWarning).title), u"Warning");
    EXPECT_EQ(KindOf(TMsgDlgType::mtError).classicIcon, TMsgIcon::Hand);
    EXPECT_EQ(Tr(KindOf(TMsgDlgType::mtInformation).title), u"Information");
    EXPECT_EQ(Tr(KindOf(TMsgDlgType::mtConfirmation).title), u"Confirm");
    // A confirmation shows the information icon as a task dialog.
    EXPECT_EQ(KindOf(TMsgDlgType::mtConfirmation).taskIcon, TTaskIcon::Information);
    EXPECT_EQ(Tr(KindOf(TMsgDlgType::mtCustom).title), u"");
    EXPECT_EQ(KindOf(TMsgDlgType::mtCustom).classicIcon, TMsgIcon::None);
    EXPECT_EQ(ClassicTitle(TMsgDlgType::mtCustom, u"Snapquery 1.5"), u"Snapquery 1.5");
    EXPECT_EQ(ClassicTitle(TMsgDlgType::mtError, u"Snapquery 1.5"), u"Error");
}

TEST(MessageFormLayout, FollowsTheDialogUnitMetrics) {
    // X = 6, Y = 13, as for an 8-point message font.
    MessageFormMetrics m{6, 13, 200, 26, 30, 2, true, 1280, 800};
    const MessageFormLayout l = LayoutMessageForm(m);
    // margins 12 x 13; spacing 15 x 16; buttons 75 x 23 (22.75, rounded
    // as MulDiv rounds), 6 apart.
    EXPECT_EQ(l.icon, (Rect{12, 13, 32, 32}));
    EXPECT_EQ(l.text, (Rect{12 + 32 + 15, 13, 200, 26}));
    const int iconTextWidth = 200 + 32 + 15;
    EXPECT_EQ(l.clientWidth, iconTextWidth + 24);
    EXPECT_EQ(l.clientHeight, 32 + 23 + 16 + 26);
    const int group = 75 * 2 + 6;
    ASSERT_EQ(l.buttons.size(), 2u);
    EXPECT_EQ(l.buttons[0], (Rect{(l.clientWidth - group) / 2, 32 + 13 + 16, 75, 23}));
    EXPECT_EQ(l.buttons[1].left, l.buttons[0].left + 75 + 6);
    EXPECT_EQ(l.left, (1280 - l.clientWidth) / 2);
    EXPECT_EQ(l.top, (800 - l.clientHeight) / 2);
}

TEST(MessageFormLayout, WideCaptionsWidenButtonsAndButtonsCanWidenTheForm) {
    MessageFormMetrics m{6, 13, 20, 13, 100, 3, false, 1024, 768};
    const MessageFormLayout l = LayoutMessageForm(m);
    ASSERT_EQ(l.buttons.size(), 3u);
    EXPECT_EQ(l.buttons[0].width, 108); // caption + 8 beats 50X/4 = 75
    const int group = 108 * 3 + 6 * 2;
    EXPECT_EQ(l.clientWidth, group + 24);
    EXPECT_EQ(l.buttons[0].left, 12);
    // Without an icon the text starts at the margin and its height counts.
    EXPECT_EQ(l.text, (Rect{12, 13, 20, 13}));
    EXPECT_EQ(l.clientHeight, 13 + 23 + 16 + 26);
}

TEST(MessageFormCopyText, FramesTitleMessageAndCaptionsWithoutAmpersands) {
    const auto buttons =
        ButtonsInOrder(Buttons(TMsgDlgBtn::mbYes) | Buttons(TMsgDlgBtn::mbNo));
    const std::u16string rule = u"---------------------------\r\n";
    EXPECT_EQ(MessageFormCopyText(u"Confirm", u"Go on?", buttons),
              rule + u"Confirm\r\n" + rule + u"Go on?\r\n" + rule + u"Yes   No   \r\n" + rule);
}

TEST(ClipboardMessage, ShowsTextEmptyOrACutOfALargeText) {
    EXPECT_EQ(ClipboardMessage(u""), u"No text in clipboard");
    EXPECT_EQ(ClipboardMessage(u"\u03b1\u03b2 \u4e2d"), u"Current clipboard text: \u03b1\u03b2 \u4e2d");
    const std::u16string exact(kShownTextLimit, u'x');
    EXPECT_EQ(ClipboardMessage(exact), u"Current clipboard text: " + exact);
    const std::u16string big(10'000'000, u'y');
    const std::u16string shown = ClipboardMessage(big);
    EXPECT_EQ(shown.size(), std::u16string(u"Current clipboard text: ").size() + kShownTextLimit + 1);
    EXPECT_EQ(shown.back(), u'\u2026');
}

TEST(MainTexts, EachCommandHasOneItem) {
    for (MenuCommand c : {MenuCommand::UseDefaultBrowser, MenuCommand::AutoRun,
                          MenuCommand::ShowClipboard, MenuCommand::ClearClipboard,
                          MenuCommand::Search, MenuCommand::Settings, MenuCommand::About,
                          MenuCommand::Exit}) {
        const std::size_t at = MenuIndexOf(c);
        ASSERT_LT(at, std::size(kMenu));
        EXPECT_EQ(kMenu[at], c);
        for (std::size_t i = at + 1; i < std::size(kMenu); ++i) EXPECT_NE(kMenu[i], c);
    }
    // "Search with" stands right below the search.
    EXPECT_EQ(MenuIndexOf(MenuCommand::SearchWith), MenuIndexOf(MenuCommand::Search) + 1);
}

TEST(MainTexts, TheSearchItemShowsTheHotkeyInForce) {
    EXPECT_EQ(SearchCaption(u"Ctrl+G"), u"&Snapquery (CTRL+G)");
    EXPECT_EQ(SearchCaption(u"Ctrl+Shift+G"), u"&Snapquery (CTRL+SHIFT+G)");
    EXPECT_EQ(SearchCaption(u"Alt+F5"), u"&Snapquery (ALT+F5)");
    EXPECT_EQ(SearchCaption(u""), u"&Snapquery");
    EXPECT_EQ(SearchCaption(u"Ctrl+G"), MenuCaption(MenuCommand::Search))
        << "the default caption is the default hotkey's";
    // Where "S" is another item's key (Settings in Japanese), the next letter;
    // and a caption quoted in a message leaves its key out.
    snq::testing::TableTexts texts;
    UseTexts(&texts, 0x0011);
    EXPECT_EQ(SearchCaption(u"Ctrl+G"), u"S&napquery (CTRL+G)");
    EXPECT_EQ(UnsafeStartEntryText(u"x").find(u'&'), std::u16string::npos);
    snq::testing::UseEnglishTexts();
}

TEST(MessageFormLayout, OutOfRangeMetricsGiveASaneNonNegativeForm) {
    MessageFormMetrics m{-5, -13, 2'000'000'000, -1, 2'000'000'000, 99, true, -100, 5};
    const MessageFormLayout l = LayoutMessageForm(m);
    EXPECT_GE(l.clientWidth, 0);
    EXPECT_GE(l.clientHeight, 0);
    EXPECT_EQ(l.buttons.size(), 11u);
}

TEST(SettingsDialog, ControlsFitTheWindowDoNotOverlapAndHaveOneMnemonicEach) {
    const auto inside = [](const ControlSpec& a, const ControlSpec& b) {
        return a.x >= b.x && a.y >= b.y && a.x + a.width <= b.x + b.width &&
               a.y + a.height <= b.y + b.height;
    };
    std::u16string mnemonics;
    for (const ControlSpec& c : kSettingsControls) {
        EXPECT_GE(c.x, 8) << c.id;
        EXPECT_GE(c.y, 8) << c.id;
        EXPECT_LE(c.x + c.width, kSettingsWidth - 8) << c.id;
        EXPECT_LE(c.y + c.height, kSettingsHeight - 8) << c.id;
        for (const ControlSpec& d : kSettingsControls) {
            if (&c == &d || c.kind == ControlKind::Group || d.kind == ControlKind::Group) continue;
            const bool apart = c.x + c.width <= d.x || d.x + d.width <= c.x ||
                               c.y + c.height <= d.y || d.y + d.height <= c.y;
            EXPECT_TRUE(apart) << c.id << " overlaps " << d.id;
        }
        if (c.kind == ControlKind::Radio || c.kind == ControlKind::FirstRadio ||
            c.id == idCustomAddress) {
            EXPECT_TRUE(inside(c, kSettingsControls[3])) << c.id << " outside its group";
        }
        const std::u16string text = Tr(c.text);
        const std::size_t amp = text.find(u'&');
        if (amp == std::u16string_view::npos) continue;
        char16_t m = text[amp + 1];
        if (m >= u'A' && m <= u'Z') m = static_cast<char16_t>(m + 32);
        EXPECT_EQ(mnemonics.find(m), std::u16string::npos) << "mnemonic used twice: " << c.id;
        mnemonics += m;
    }
}

TEST(SettingsDialog, OkExplainsWhatItCannotApply) {
    using P = HotKeyProblem;
    struct Row {
        std::uint32_t hotKey;
        bool none;
        const char16_t* keyText;
        HotKeyRefusal refusal;
        const char16_t* address; // nullptr: Google
        const char16_t* problem;
    };
    const Row rows[] = {
        {0x6047, false, u"Ctrl+Shift+G", {}, nullptr, u""},
        {0, false, u"", {}, nullptr, u"Press the keys of the hotkey in the Hotkey box, or choose None."},
        {0, true, u"", {}, nullptr, u""},
        {0x0047, false, u"G", {P::TypedKey}, nullptr,
         u"G cannot be a hotkey: it types a character. Use it with Ctrl, Alt or Win."},
        {0x4011, false, u"Ctrl+Ctrl", {P::ModifierAlone}, nullptr, u"Ctrl+Ctrl cannot be a hotkey: add a key to it."},
        {0x4056, false, u"Ctrl+V", {P::EditingKey}, nullptr,
         u"Ctrl+V cannot be a hotkey: every program needs it for typing and editing."},
        {0x4009, false, u"Ctrl+Tab", {P::StandardShortcut}, nullptr,
         u"Ctrl+Tab cannot be a hotkey: Windows and other programs use it as a shortcut of their own."},
        {0xC045, false, u"Ctrl+Alt+E", {P::TypesCharacter, u"\u20ac", u"German (Germany)"}, nullptr,
         u"Ctrl+Alt+E cannot be a hotkey: it types \u20ac on the German (Germany) keyboard layout."},
        {0xC045, true, u"Ctrl+Alt+E", {P::TypesCharacter, u"\u20ac", u"German (Germany)"}, nullptr, u""},
        {0x4047, false, u"Ctrl+G", {}, u"file:///C:/{query}", u"The custom address must start with https:// or http://."},
        {0x4047, false, u"Ctrl+G", {}, u"https://x.example/",
         u"The custom address must contain {query} where the searched text goes."},
        {0x4047, false, u"Ctrl+G", {}, u"https://x.example/?q={query}", u""},
    };
    for (const Row& row : rows) {
        SettingsChoices c{row.hotKey, row.none, row.address ? SearchEngine::Custom : SearchEngine::Google,
                          row.address ? row.address : u""};
        EXPECT_EQ(SettingsProblem(c, row.keyText, row.refusal, 2048), row.problem)
            << std::string(c.customAddress.begin(), c.customAddress.end()) << " " << row.hotKey;
    }
    EXPECT_EQ(HotKeyInUseText(u"Ctrl+Shift+G"), u"Ctrl+Shift+G is in use by another program.");
}

TEST(SettingsDialog, StoredTemplatesShowAsTheirEngineAndComeBackTheSame) {
    for (auto [stored, engine] : {std::pair{u"", SearchEngine::Google},
                                  {u"https://www.bing.com/search?q={query}", SearchEngine::Bing},
                                  {u"https://duckduckgo.com/?q={query}", SearchEngine::DuckDuckGo},
                                  {u"https://x.example/?q={query}", SearchEngine::Custom}}) {
        UserChoices choices;
        choices.searchTemplate = stored;
        const SettingsChoices shown = ShowChoices(choices);
        EXPECT_EQ(shown.engine, engine);
        UserChoices back;
        TakeChoices(shown, back);
        EXPECT_EQ(back.searchTemplate, std::u16string(stored));
    }
}

TEST(SettingsDialog, AProfileNeedsANameAnAddressAndAHotkeyNoOneElseHas) {
    UserChoices choices; // the main search has Ctrl+G
    choices.profiles = {{u"Wikipedia", std::u16string(kSearchPresets[3].searchTemplate), 0xC057}};
    const SearchProfile maps{u"Maps", std::u16string(kSearchPresets[5].searchTemplate), 0xC04D};
    struct Row {
        SearchProfile profile;
        bool none;
        std::size_t index;
        const char16_t* problem;
    };
    const Row rows[] = {
        {maps, false, 1, u""},
        {{u"  ", maps.searchTemplate, 0}, true, 1, u"Give the profile a name of up to 64 characters: it is what the menu shows."},
        {{u"Maps", u"https://maps.example/", 0}, true, 1, u"The custom address must contain {query} where the searched text goes."},
        {{u"Maps", maps.searchTemplate, 0x4047}, false, 1, u"Ctrl+G is already the hotkey of the main search."},
        {{u"Maps", maps.searchTemplate, 0xC057}, false, 1, u"Ctrl+Alt+W is already the hotkey of Wikipedia."},
        {{u"Wikipedia", maps.searchTemplate, 0xC057}, false, 0, u""}, // its own
        {{u"Maps", maps.searchTemplate, 0xC057}, true, 1, u""},       // None ticked
    };
    for (const Row& row : rows) {
        const char16_t* text = row.profile.hotKey == 0x4047 ? u"Ctrl+G" : u"Ctrl+Alt+W";
        EXPECT_EQ(ProfileProblem(row.profile, row.none, text, {}, 2048, choices, row.index), row.problem)
            << std::string(row.profile.name.begin(), row.profile.name.end());
    }
    EXPECT_EQ(ProfileMenuCaption(u"R&D", u"Ctrl+Alt+R"), u"R&&D\tCtrl+Alt+R");
    EXPECT_EQ(ProfileMenuCaption(u"Maps", u""), u"Maps");
    EXPECT_EQ(PresetOf(u"https://x.example/?q={query}"), std::size(kSearchPresets));
}
