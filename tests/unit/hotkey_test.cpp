#include <gtest/gtest.h>

#include <map>

#include "hotkeys/HotKeyText.h"

using namespace snq;

namespace {

// A keyboard with US names (layout 0x409) and, for the user's own layout
// (0x407), German ones. Scan codes are the key plus 0x100 so that every key
// has its own.
class FakeKeyboard : public IKeyboardLayout {
public:
    LayoutHandle current = 0x407;
    std::vector<LayoutHandle> loaded{0x407};
    std::map<unsigned, std::u16string> us, local;
    std::vector<std::string> calls;
    int scanLookups = 0;

    FakeKeyboard() {
        for (unsigned c = '0'; c <= '9'; ++c) us[c] = std::u16string(1, static_cast<char16_t>(c));
        for (unsigned c = 'A'; c <= 'Z'; ++c) us[c] = std::u16string(1, static_cast<char16_t>(c));
        us[8] = u"Backspace";
        us[16] = u"Shift";
        us[17] = u"Ctrl";
        us[18] = u"Alt";
        us[33] = u"Page Up";
        us[0x6B] = u"Num +";
        us[0x74] = u"F5";
        us[160] = u"Shift"; // the left Shift key has the same name
        us[173] = u"";
        us[0xBA] = u";";
        local = us;
        local[17] = u"Strg";
        local[0xBA] = u"\u00dc";
    }
    unsigned ScanCode(unsigned key) override {
        ++scanLookups;
        return Known(local, key) ? key + 0x100 : 0;
    }
    unsigned ScanCode(unsigned key, LayoutHandle layout) override {
        ++scanLookups;
        return layout == 0x409 && Known(us, key) ? key + 0x100 : 0;
    }
    std::u16string KeyName(long parameter) override {
        const unsigned key = ((parameter >> 16) & 0x1FF) - 0x100;
        const auto& names = current == 0x409 ? us : local;
        auto it = names.find(key);
        return it == names.end() ? u"" : it->second;
    }
    LayoutHandle CurrentLayout() override { return current; }
    void Activate(LayoutHandle layout) override {
        calls.push_back("activate " + std::to_string(layout));
        current = layout;
    }
    std::vector<LayoutHandle> LoadedLayouts() override { return loaded; }
    LayoutHandle LoadUsLayout() override {
        calls.push_back("load");
        return 0x409;
    }
    void Unload(LayoutHandle layout) override { calls.push_back("unload " + std::to_string(layout)); }
    bool SameText(std::u16string_view a, std::u16string_view b) override {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
            if (fold(a[i]) != fold(b[i])) return false;
        }
        return true;
    }

private:
    static bool Known(const std::map<unsigned, std::u16string>& names, unsigned key) {
        return names.count(key) > 0;
    }
};

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
    EXPECT_EQ(PackHotKey(MOD_CONTROL_FLAG, 0x47), 0x4047u);
    EXPECT_EQ(PackHotKey(MOD_ALT_FLAG | MOD_SHIFT_FLAG | MOD_WIN_FLAG | 0x4000, 0x31), 0x1A031u);
    EXPECT_EQ(UnpackHotKey(0x4047), (std::pair<std::uint16_t, std::uint16_t>{MOD_CONTROL_FLAG, 0x47}));
    EXPECT_EQ(UnpackHotKey(0x4147), UnpackHotKey(0x4047)) << "bit 8 is ignored";
    EXPECT_EQ(UnpackHotKey(0x1E031).first, MOD_CONTROL_FLAG | MOD_SHIFT_FLAG | MOD_ALT_FLAG | MOD_WIN_FLAG);
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
