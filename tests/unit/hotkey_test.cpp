#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hotkeys/HotKeySwap.h"
#include "hotkeys/HotKeyText.h"
#include "support/FakeKeyboard.h"

using namespace snq;
using snq::testing::FakeKeyboard;

namespace {

struct HotKeys : ::testing::Test {
    FakeKeyboard keyboard;
    THotKeyText text{keyboard};
    void SetUp() override { text.Startup(); }
};

} // namespace

TEST_F(HotKeys, ParsesTheProgramsHotkeyWithoutAskingTheLayout) {
    keyboard.scanLookups = 0;
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+g", false), 0x4047u);
    EXPECT_EQ(keyboard.scanLookups, 0) << "a letter as the key never consults a layout";
    EXPECT_EQ(text.ParseHotKey(u"ctrl + G", false), 0x4047u);
    EXPECT_EQ(text.ParseHotKey(u"g", false), 0x47u);
    EXPECT_EQ(text.ParseHotKey(u"+g", false), 0x47u);
    EXPECT_EQ(text.ParseHotKey(u"Strg+G", true), 0x4047u) << "the layout's own word";
}

TEST_F(HotKeys, RejectsTextsThatNameNoHotkey) {
    for (const char16_t* bad : {u"", u"Ctrl+", u"Ctrl+Shift", u"Ctrl+Foo+g", u"Foo", u"+", u" "})
        EXPECT_EQ(text.ParseHotKey(bad, false), 0u) << std::u16string(bad).size();
}

TEST_F(HotKeys, AModifierWordInOtherCaseIsLookedUpAsAKey) {
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+shift", false), 0x4010u);
    EXPECT_EQ(text.ParseHotKey(u"Alt+backspace", false), 0x8008u);
}

TEST_F(HotKeys, AllModifiersRoundTripInTheirFixedOrder) {
    const std::uint32_t value = text.ParseHotKey(u"Shift+Ctrl+Alt+Win+1", false);
    EXPECT_EQ(value, 0x1E031u);
    EXPECT_EQ(text.FormatHotKey(value, false), u"Ctrl+Shift+Alt+Win+1");
    EXPECT_EQ(text.FormatHotKey(value, true), u"Strg+Shift+Alt+Win+1");
    EXPECT_EQ(text.FormatHotKey(0x4074, false), u"Ctrl+F5");
    EXPECT_EQ(text.FormatHotKey(0, false), u"");
    EXPECT_EQ(text.FormatHotKey(0, true), u"");
    // A value with modifiers but no known key still gets its prefix.
    EXPECT_EQ(text.FormatHotKey(0x4000 | 0xE8, false), u"Ctrl+");
}

TEST_F(HotKeys, NamesComeFromTheUsLayoutForTheLookupOnly) {
    keyboard.calls.clear();
    EXPECT_EQ(text.FormatHotKey(0xBA, false), u";");
    EXPECT_EQ(keyboard.calls, (std::vector<std::string>{"activate 1033", "activate 1031"}));
    EXPECT_EQ(keyboard.current, 0x407u);
    EXPECT_EQ(text.FormatHotKey(0xBA, true), u"\u00dc");
    // Keys named by more than a letter are found by name, the lowest first;
    // "Num" gets back the "+" that cut it off.
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Num+", false), 0x406Bu);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+\"+\"", false), 0u);
    EXPECT_EQ(text.ParseHotKey(u"f5", false), 0x74u);
    EXPECT_EQ(text.ParseHotKey(u";", false), 0xBAu);
}

TEST_F(HotKeys, MediaKeysFallBackToTheirTableNamesOnlyWhenTheSystemHasNone) {
    EXPECT_EQ(text.FormatHotKey(173, true), u"Volume Mute");
    keyboard.local[173] = u"M";
    EXPECT_EQ(text.FormatHotKey(173, true), u"Volume Mute");
    keyboard.local[173] = u"Mute";
    EXPECT_EQ(text.FormatHotKey(173, true), u"Mute");
    EXPECT_TRUE(IsMediaKey(166));
    EXPECT_TRUE(IsMediaKey(183));
    EXPECT_FALSE(IsMediaKey(165));
    EXPECT_FALSE(IsMediaKey(184));
    EXPECT_EQ(MediaKeyName(172), u"Browser Start/Home");
    EXPECT_EQ(MediaKeyName(183), u"Start Application 2");
    EXPECT_EQ(MediaKeyName(184), u"");
}

TEST(HotKeyValue, PacksAndUnpacksTheFourModifiers) {
    EXPECT_EQ(PackHotKey(kModControl, 0x47), 0x4047u);
    EXPECT_EQ(PackHotKey(kModAlt | kModShift | kModWin | 0x4000, 0x31), 0x1A031u);
    EXPECT_EQ(UnpackHotKey(0x4047), (std::pair<std::uint16_t, std::uint16_t>{kModControl, 0x47}));
    EXPECT_EQ(UnpackHotKey(0x4147), UnpackHotKey(0x4047)) << "bit 8 is ignored";
    EXPECT_EQ(UnpackHotKey(0x1E031).first, kModControl | kModShift | kModAlt | kModWin);
    EXPECT_TRUE(IsCapitalsOnly(u""));
    EXPECT_TRUE(IsCapitalsOnly(u"ALT"));
    EXPECT_FALSE(IsCapitalsOnly(u"Alt"));
    EXPECT_FALSE(IsCapitalsOnly(u"\u00c4LT"));
}

TEST(HotKeyStartup, ReadsTheModifierNamesAndOwnsOnlyALayoutItLoaded) {
    FakeKeyboard keyboard;
    {
        THotKeyText text(keyboard);
        EXPECT_EQ(text.WinName, u"Win");
        text.Startup();
        EXPECT_EQ(text.CtrlName, u"Strg");
        EXPECT_EQ(text.WinName, u"Win");
        EXPECT_TRUE(text.OwnsUsLayout);
        text.Shutdown();
        EXPECT_EQ(keyboard.calls.back(), "unload 1033");
    }
    keyboard.calls.clear();
    keyboard.loaded.push_back(0x409); // US English was there before
    THotKeyText text(keyboard);
    text.Startup();
    EXPECT_FALSE(text.OwnsUsLayout);
    text.Shutdown();
    EXPECT_EQ(keyboard.calls, std::vector<std::string>{"load"});

    for (const char16_t* alt : {u"ALT", u""}) {
        keyboard.local[18] = alt;
        THotKeyText upper(keyboard);
        upper.Startup();
        EXPECT_EQ(upper.WinName, u"WIN");
    }
}

TEST(HotKeyItems, CutAtPlusAndLineBreaksButNotInsideQuotes) {
    EXPECT_EQ(THotKeyText::CutItems(u" ctrl + G"), (std::vector<std::u16string>{u"ctrl ", u"G"}));
    EXPECT_EQ(THotKeyText::CutItems(u"a\r\n+b"), (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(THotKeyText::CutItems(u"Ctrl+'+'"), (std::vector<std::u16string>{u"Ctrl", u"'+'"}));
    EXPECT_EQ(THotKeyText::CutItems(u"\"a+b\"+c"), (std::vector<std::u16string>{u"\"a+b\"", u"c"}));
    EXPECT_TRUE(THotKeyText::CutItems(u"").empty());
    EXPECT_TRUE(THotKeyText::CutItems(u"++ +").empty());
}

TEST(HotKeyChoice, KeysThatTypeEditOrMoveNeedCtrlAltOrWinAndTheStandardChordsAreRefused) {
    using P = HotKeyProblem;
    const std::pair<std::uint32_t, P> rows[] = {
        {0x4047, P::None},    {0x6047, P::None},  {0x8074, P::None}, {0x10047, P::None}, // Ctrl+G, Ctrl+Shift+G, Alt+F5, Win+G
        {0x0078, P::None},    {0x4024, P::None},  {0x8025, P::None},                    // F9 alone, Ctrl+Home, Alt+Left
        {0x6058, P::None},    {0xC02D, P::None},                                        // Ctrl+Shift+X, Ctrl+Alt+Insert
        {0x0047, P::TypedKey}, {0x2047, P::TypedKey}, {0x0031, P::TypedKey}, {0x0020, P::TypedKey},
        {0x00BC, P::TypedKey}, {0x2061, P::TypedKey},
        {0x4011, P::ModifierAlone}, {0x405B, P::ModifierAlone}, {0x4000, P::ModifierAlone}, {0x40A2, P::ModifierAlone},
        {0x000D, P::EditingKey}, {0x0009, P::EditingKey}, {0x001B, P::EditingKey}, // Enter, Tab, Esc
        {0x0008, P::EditingKey}, {0x002E, P::EditingKey}, {0x002D, P::EditingKey}, // Backspace, Delete, Insert
        {0x0021, P::EditingKey}, {0x2028, P::EditingKey},                         // PgUp, Shift+Down
        {0x4043, P::EditingKey}, {0x4056, P::EditingKey}, {0x4058, P::EditingKey}, // Ctrl+C, V, X
        {0x405A, P::EditingKey}, {0x4059, P::EditingKey}, {0x4041, P::EditingKey}, // Ctrl+Z, Y, A
        {0x8073, P::EditingKey}, {0x8009, P::EditingKey},                        // Alt+F4, Alt+Tab
        {0x402D, P::StandardShortcut}, {0x6043, P::StandardShortcut}, {0x6056, P::StandardShortcut}, // Ctrl+Insert, Ctrl+Shift+C, V
        {0x4009, P::StandardShortcut}, {0x4073, P::StandardShortcut},                               // Ctrl+Tab, Ctrl+F4
        {0x8020, P::StandardShortcut}, {0x401B, P::StandardShortcut},                               // Alt+Space, Ctrl+Esc
    };
    for (auto [value, problem] : rows) EXPECT_EQ(HotKeyProblemOf(value), problem) << std::hex << value;
}

TEST_F(HotKeys, CtrlAltWithAKeyThatALayoutTypesACharacterWithIsRefused) {
    // The user's layouts: German and Polish beside US English (which types
    // nothing with Ctrl+Alt).
    keyboard.loaded = {0x409, 0x407, 0x415};
    keyboard.layoutNames = {{0x407, u"German (Germany)"}, {0x415, u"Polish (Poland)"}};
    keyboard.ctrlAlt = {
        {{0x407, 'E', false}, {1, u"\u20ac"}}, {{0x407, 'Q', false}, {1, u"@"}},
        {{0x407, 'M', false}, {1, u"\u00b5"}}, {{0x415, 'A', false}, {1, u"\u0105"}},
        {{0x415, 'A', true}, {1, u"\u0104"}},  {{0x415, 0xBF, false}, {-1, u"\u02d9"}}, // a dead key
        {{0x407, 'G', false}, {1, u"\u0007"}},                                      // a control character
    };
    using P = HotKeyProblem;
    struct Row {
        std::uint32_t value;
        HotKeyRefusal refusal;
    };
    const Row rows[] = {
        {0xC045, {P::TypesCharacter, u"\u20ac", u"German (Germany)"}},  // Ctrl+Alt+E
        {0xC051, {P::TypesCharacter, u"@", u"German (Germany)"}},        // Ctrl+Alt+Q
        {0xC04D, {P::TypesCharacter, u"\u00b5", u"German (Germany)"}},  // Ctrl+Alt+M
        {0xE041, {P::TypesCharacter, u"\u0104", u"Polish (Poland)"}},   // Ctrl+Shift+Alt+A
        {0xC0BF, {P::TypesCharacter, u"\u02d9", u"Polish (Poland)"}},   // a dead key
        {0xC047, {}},                                                  // a control character types nothing
        {0xC057, {}},                                                  // Ctrl+Alt+W: no layout types with it
        {0x1C045, {}},                                                 // with Win it is no AltGr
        {0x8045, {}},                                                  // Alt+E
        {0x4043, {P::EditingKey}},                                     // the layout-free rules first
    };
    for (const Row& row : rows) EXPECT_EQ(text.RefusalOf(row.value), row.refusal) << std::hex << row.value;
    // Where the system keeps a dead key for the next key, it is let go.
    keyboard.ignoresStateFlag = true;
    EXPECT_EQ(text.RefusalOf(0xC0BF).problem, P::TypesCharacter);
    EXPECT_FALSE(keyboard.deadKeyWaiting);
}

namespace {
// A desktop where some keystrokes are taken by other programs.
struct FakeRegistrar : IHotKeyRegistrar {
    std::vector<std::uint32_t> taken;
    std::vector<std::string> calls;
    std::uint16_t next = 100;
    std::uint16_t Register(std::uint32_t value) override {
        calls.push_back("register " + std::to_string(value));
        if (std::find(taken.begin(), taken.end(), value) != taken.end()) return 0;
        taken.push_back(value);
        return next++;
    }
    void Unregister(std::uint16_t id) override { calls.push_back("unregister " + std::to_string(id)); }
};
} // namespace

TEST(HotKeyChoice, TheNewHotkeyIsRegisteredBeforeTheOldOneGoes) {
    FakeRegistrar desktop;
    HotKeyInForce current{0x4047, 7};
    EXPECT_EQ(SwapHotKey(desktop, current, 0x4047), SwapResult::Unchanged);
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_EQ(SwapHotKey(desktop, current, 0x6047), SwapResult::Swapped);
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"register 24647", "unregister 7"}));
    EXPECT_EQ(current.value, 0x6047u);
    EXPECT_EQ(current.id, 100);

    // Another program holds the keystroke: the old hotkey stays.
    desktop.taken.push_back(0x8074);
    desktop.calls.clear();
    EXPECT_EQ(SwapHotKey(desktop, current, 0x8074), SwapResult::InUse);
    EXPECT_EQ(desktop.calls, std::vector<std::string>{"register 32884"});
    EXPECT_EQ(current.value, 0x6047u);
    EXPECT_EQ(current.id, 100);

    // None: only the release.
    desktop.calls.clear();
    EXPECT_EQ(SwapHotKey(desktop, current, 0), SwapResult::Swapped);
    EXPECT_EQ(desktop.calls, std::vector<std::string>{"unregister 100"});
    EXPECT_EQ(current.id, 0);
    EXPECT_EQ(SwapHotKey(desktop, current, 0), SwapResult::Unchanged);

    // A value that could not be registered at start is tried again.
    HotKeyInForce failed{0x4047, 0};
    desktop.calls.clear();
    EXPECT_EQ(SwapHotKey(desktop, failed, 0x4047), SwapResult::Swapped);
    EXPECT_EQ(desktop.calls, std::vector<std::string>{"register 16455"});
}

TEST(HotKeyChoice, TheHotkeyControlsValueConvertsBothWays) {
    EXPECT_EQ(FromHotKeyControl(0x0347), 0x6047u); // Ctrl+Shift+G
    EXPECT_EQ(FromHotKeyControl(0x0474), 0x8074u); // Alt+F5
    EXPECT_EQ(FromHotKeyControl(0x0A2E), 0x402Eu); // Ctrl+Del, extended
    EXPECT_EQ(ToHotKeyControl(0x6047), 0x0347);
    EXPECT_EQ(ToHotKeyControl(0x402E), 0x0A2E) << "Del is an extended key";
    for (std::uint32_t v : {0x4047u, 0x6047u, 0xE070u, 0x2021u})
        EXPECT_EQ(FromHotKeyControl(ToHotKeyControl(v)), v);
}
