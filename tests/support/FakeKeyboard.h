#pragma once
// A keyboard for tests of the hotkey texts, shared by the unit tests and the
// fuzz target.
#include <map>
#include <tuple>
#include <string>
#include <vector>

#include "hotkeys/HotKeyText.h"

namespace snq::testing {

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

    // What Ctrl+Alt(+Shift)+key types per layout: the count (negative for
    // a dead key) and the characters. With `ignoresStateFlag`, a dead key
    // waits for the next key, as where ToUnicodeEx ignores flag 4.
    struct Typed {
        int count;
        std::u16string text;
    };
    std::map<std::tuple<LayoutHandle, unsigned, bool>, Typed> ctrlAlt;
    std::map<LayoutHandle, std::u16string> layoutNames;
    bool ignoresStateFlag = false;
    bool deadKeyWaiting = false;
    // Only Ctrl+Alt is modelled: RefusalOf asks nothing else.
    int TypeKey(LayoutHandle layout, unsigned key, bool, bool shift, std::u16string& typed) override {
        const auto it = ctrlAlt.find({layout, key, shift});
        const Typed result = it == ctrlAlt.end() ? Typed{0, u""} : it->second;
        if (deadKeyWaiting) {
            // The waiting accent and this key's.
            deadKeyWaiting = false;
            typed = result.text + result.text;
            return 2;
        }
        deadKeyWaiting = result.count < 0 && ignoresStateFlag;
        typed = result.text;
        return result.count;
    }
    std::u16string LayoutName(LayoutHandle layout) override { return layoutNames[layout]; }

private:
    static bool Known(const std::map<unsigned, std::u16string>& names, unsigned key) {
        return names.count(key) > 0;
    }
};

} // namespace snq::testing
