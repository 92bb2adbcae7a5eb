#include <gtest/gtest.h>

#include "app/MainTexts.h"
#include "framework/Texts.h"
#include "search/SearchTemplate.h"
#include "support/TableTexts.h"

using namespace snq;

namespace {
// Every unit test sees the English texts unless it chooses another language.
class EnglishTexts : public ::testing::Environment {
    void SetUp() override { snq::testing::UseEnglishTexts(); }
};
const auto* const kEnglish = ::testing::AddGlobalTestEnvironment(new EnglishTexts);
} // namespace

TEST(UiLanguage, IsTheSettingsElseTheFirstPreferredThatShipsElseEnglish) {
    using V = std::vector<std::u16string>;
    struct Row {
        const char16_t* setting;
        V preferred;
        const char16_t* chosen;
    };
    const Row rows[] = {
        {u"", V{u"de-DE"}, u"de"},
        {u"", V{u"de-AT", u"fr-FR"}, u"de"},             // the language alone
        {u"", V{u"sv-SE", u"fr-CA"}, u"fr"},             // the first that ships
        {u"", V{u"zh-TW"}, u"zh-Hant"},
        {u"", V{u"zh-HK"}, u"zh-Hant"},
        {u"", V{u"zh-Hant-TW"}, u"zh-Hant"},
        {u"", V{u"zh-CN"}, u"zh-Hans"},
        {u"", V{u"zh-SG"}, u"zh-Hans"},
        {u"", V{u"pt-PT"}, u"pt-BR"},
        {u"", V{u"PT-br"}, u"pt-BR"},
        {u"", V{u"sv-SE", u"fi-FI"}, u"en"},
        {u"", V{}, u"en"},
        {u"ja", V{u"de-DE"}, u"ja"},                    // the setting wins
        {u"ZH-hans", V{u"de-DE"}, u"zh-Hans"},
        {u"xx", V{u"de-DE"}, u"de"},                    // nothing shipped: automatic
        {u"de-DE", V{u"ru-RU"}, u"ru"},                 // a setting names a shipped tag exactly
    };
    for (const Row& row : rows)
        EXPECT_EQ(ChooseUiLanguage(row.setting, row.preferred).tag, std::u16string_view(row.chosen))
            << std::string(row.setting, row.setting + std::char_traits<char16_t>::length(row.setting));
}

namespace {
// German, with one text missing.
struct GermanWithAGap final : ITextSource {
    std::u16string Load(std::uint16_t language, TextId id) override {
        if (language == kEnglishLanguage) return id == TextId::MenuExit ? u"Exit SNQ" : u"Settings...";
        return id == TextId::MenuExit ? u"" : u"Einstellungen...";
    }
};
} // namespace

TEST(Texts, AMissingTranslationIsItsEnglishOneAndPlaceholdersAreFilledOnce) {
    GermanWithAGap texts;
    UseTexts(&texts, 0x0007);
    EXPECT_EQ(Tr(TextId::MenuSettings), u"Einstellungen...");
    EXPECT_EQ(Tr(TextId::MenuExit), u"Exit SNQ");
    snq::testing::UseEnglishTexts();
    EXPECT_EQ(Format(u"%2 vor %1, %3%", {u"a%2", u"b"}), u"b vor a%2, %");
}

TEST(Texts, TheTipAndTheBalloonFitTheShellInEveryLanguageCutInTheHost) {
    // The longest key names, a long custom host, and the hotkey taken.
    const std::u16string key = u"Strg+Umschalt+Alt+Win+Browser Favoriten";
    const std::u16string host = std::u16string(240, u'h') + u".example";
    snq::testing::TableTexts texts;
    for (const UiLanguage& language : kUiLanguages) {
        UseTexts(&texts, language.id);
        const std::string tag(language.tag.begin(), language.tag.end());
        for (bool taken : {false, true}) {
            EXPECT_LE(TrayHint(key, taken, host).size(), kTipLimit) << tag;
            EXPECT_LE(BalloonHint(key, taken, host).size(), kBalloonTextLimit) << tag;
        }
        // With a usual key, cut in the host, not at the end.
        const std::u16string usual = u"Ctrl+Shift+F12";
        for (const std::u16string& text : {TrayHint(usual, false, host), BalloonHint(usual, false, host)}) {
            EXPECT_TRUE(text.ends_with(Tr(TextId::TrayRightClick))) << tag;
            EXPECT_NE(text.find(u"hhh\u2026"), std::u16string::npos) << tag;
        }
        EXPECT_LE(HotKeyTakenNotice(key).size(), kBalloonTextLimit) << tag;
        // With a hotkey of three keys and the default search (or Bing),
        // nothing is cut, taken or not, as in English.
        for (std::u16string_view search : {std::u16string_view(), kBingTemplate})
            for (bool taken : {false, true})
                for (const std::u16string& text : {TrayHint(u"Ctrl+Alt+G", taken, SearchTarget(search)),
                                                   BalloonHint(u"Ctrl+Alt+G", taken, SearchTarget(search))})
                    EXPECT_EQ(text.find(u'\u2026'), std::u16string::npos) << tag << " " << taken;
    }
    snq::testing::UseEnglishTexts();
}
