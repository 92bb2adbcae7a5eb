#include "hotkeys/HotKeyText.h"

#include <algorithm>
#include <array>

#include "framework/Text.h"

namespace snq {

namespace {

constexpr std::array<std::u16string_view, 18> kMediaKeyNames{
    u"Browser Back",   u"Browser Forward",   u"Browser Refresh",   u"Browser Stop",
    u"Browser Search", u"Browser Favorites", u"Browser Start/Home", u"Volume Mute",
    u"Volume Down",    u"Volume Up",         u"Next Track",        u"Previous Track",
    u"Stop Media",     u"Play/Pause Media",  u"Start Mail",        u"Select Media",
    u"Start Application 1", u"Start Application 2",
};

std::u16string_view Trim(std::u16string_view s) {
    while (!s.empty() && s.front() <= u' ') s.remove_prefix(1);
    while (!s.empty() && s.back() <= u' ') s.remove_suffix(1);
    return s;
}

constexpr unsigned kF1 = 0x70; // VK_F1; F24 is 23 after it

bool IsExtended(unsigned key) { return (key >= 33 && key <= 40) || key == 45 || key == 46; }

} // namespace

std::uint32_t PackHotKey(std::uint16_t modifiers, std::uint16_t key) {
    std::uint32_t value = 0;
    if (modifiers & kModAlt) value += kAltBit;
    if (modifiers & kModControl) value += kCtrlBit;
    if (modifiers & kModShift) value += kShiftBit;
    if (modifiers & kModWin) value += kWinBit;
    return value + key;
}

std::pair<std::uint16_t, std::uint16_t> UnpackHotKey(std::uint32_t value) {
    std::uint16_t flags = 0;
    if (value & kWinBit) flags |= kModWin;
    if (value & kAltBit) flags |= kModAlt;
    if (value & kCtrlBit) flags |= kModControl;
    if (value & kShiftBit) flags |= kModShift;
    return {flags, static_cast<std::uint16_t>(value & 0xFF)};
}

std::uint32_t FromHotKeyControl(std::uint16_t value) {
    const unsigned flags = value >> 8;
    std::uint32_t hotKey = value & 0xFF;
    if (flags & 1) hotKey |= kShiftBit;
    if (flags & 2) hotKey |= kCtrlBit;
    if (flags & 4) hotKey |= kAltBit;
    return hotKey;
}

std::uint16_t ToHotKeyControl(std::uint32_t value) {
    unsigned flags = 0;
    if (value & kShiftBit) flags |= 1;
    if (value & kCtrlBit) flags |= 2;
    if (value & kAltBit) flags |= 4;
    if (IsExtended(value & 0xFF)) flags |= 8;
    return static_cast<std::uint16_t>((flags << 8) | (value & 0xFF));
}

bool IsMediaKey(std::uint16_t key) { return key >= 166 && key <= 183; }

std::u16string MediaKeyName(std::uint16_t key) {
    return IsMediaKey(key) ? std::u16string(kMediaKeyNames[key - 166]) : std::u16string();
}

bool IsCapitalsOnly(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; });
}

void THotKeyText::Startup() {
    started_ = true;
    ShiftName = FormatHotKey(16, true);
    CtrlName = FormatHotKey(17, true);
    AltName = FormatHotKey(18, true);
    if (IsCapitalsOnly(AltName)) WinName = u"WIN";
    const std::vector<LayoutHandle> loaded = layout_.LoadedLayouts();
    UsLayout = layout_.LoadUsLayout();
    // A layout the user had before stays loaded when the program ends.
    OwnsUsLayout = std::find(loaded.begin(), loaded.end(), UsLayout) == loaded.end();
}

void THotKeyText::Shutdown() {
    if (OwnsUsLayout) layout_.Unload(UsLayout);
    OwnsUsLayout = false;
    ShiftName.clear();
    CtrlName.clear();
    AltName.clear();
    WinName.clear();
    started_ = false;
}

std::u16string THotKeyText::FormatHotKey(std::uint32_t value, bool localNames) {
    const unsigned key = value & 0xFF;
    const long extendedBit = IsExtended(key) ? 0x1000000 : 0;
    std::u16string name;
    // Letters, digits and function keys have the same US names everywhere:
    // no layout is asked for them.
    if (!localNames && ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))) {
        name = std::u16string(1, static_cast<char16_t>(key));
    } else if (!localNames && key >= kF1 && key <= kF1 + 23) {
        name = u"F" + Decimal(key - kF1 + 1);
    } else if (localNames) {
        Started();
        const long parameter = static_cast<long>(layout_.ScanCode(key) << 16) | extendedBit;
        if (parameter != 0) name = layout_.KeyName(parameter);
    } else {
        Started();
        const long parameter = static_cast<long>(layout_.ScanCode(key, UsLayout) << 16) | extendedBit;
        if (parameter != 0) {
            // The name comes from the active layout: switch to US English
            // for the lookup only. The layout stays loaded until shutdown.
            const LayoutHandle previous = layout_.CurrentLayout();
            const bool switched = previous != UsLayout;
            if (switched) layout_.Activate(UsLayout);
            name = layout_.KeyName(parameter);
            if (switched) layout_.Activate(previous);
        }
    }
    if (name.size() <= 1 && IsMediaKey(static_cast<std::uint16_t>(key)))
        name = MediaKeyName(static_cast<std::uint16_t>(key));

    std::u16string prefix;
    if (value & kCtrlBit) prefix += (localNames ? CtrlName : u"Ctrl") + u"+";
    if (value & kShiftBit) prefix += (localNames ? ShiftName : u"Shift") + u"+";
    if (value & kAltBit) prefix += (localNames ? AltName : u"Alt") + u"+";
    if (value & kWinBit) prefix += (localNames ? WinName : u"Win") + u"+";
    return prefix + name;
}

std::vector<std::u16string> THotKeyText::CutItems(std::u16string_view text) {
    std::vector<std::u16string> items;
    std::u16string item;
    char16_t quote = 0;
    auto finish = [&] {
        if (!item.empty()) items.push_back(item);
        item.clear();
    };
    for (char16_t c : text) {
        if (quote) {
            item += c;
            if (c == quote) quote = 0;
        } else if (c == u'+' || c == u'\r' || c == u'\n') {
            finish();
        } else if (c == u' ' && item.empty()) {
            // leading spaces are skipped
        } else {
            if (c == u'\'' || c == u'"') quote = c;
            item += c;
        }
    }
    finish();
    return items;
}

std::uint16_t THotKeyText::ParseModifiers(const std::vector<std::u16string>& items) {
    if (items.size() < 2) return 0;
    std::uint16_t flags = 0;
    for (std::size_t i = 0; i + 1 < items.size(); ++i) {
        const std::u16string_view word = Trim(items[i]);
        // The layout's own names are asked for only when a word is not a US one.
        const auto is = [&](std::u16string_view us, const std::u16string& local) {
            return layout_.SameText(word, us) || (Started(), layout_.SameText(word, local));
        };
        if (is(u"Shift", ShiftName))
            flags |= kModShift;
        else if (is(u"Ctrl", CtrlName))
            flags |= kModControl;
        else if (is(u"Alt", AltName))
            flags |= kModAlt;
        else if (is(u"Win", WinName))
            flags |= kModWin;
        else
            return 0;
    }
    return flags;
}

std::uint16_t THotKeyText::ParseKey(const std::vector<std::u16string>& items, bool localNames) {
    if (items.empty()) return 0;
    std::u16string item(Trim(items.back()));
    if (item.size() == 1) {
        char16_t c = item[0];
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        // Letters and digits are their own virtual keys: no layout is asked.
        if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')) return c;
        return FindKeyByName(std::u16string(1, c), localNames);
    }
    // "Num +" was cut at its "+".
    if (item == u"Num") item = u"Num +";
    Started();
    for (const std::u16string& word : {std::u16string(u"Ctrl"), CtrlName, std::u16string(u"Alt"),
                                       AltName, std::u16string(u"Shift"), ShiftName,
                                       std::u16string(u"Win"), WinName})
        if (item == word) return 0;
    return FindKeyByName(item, localNames);
}

std::uint16_t THotKeyText::FindKeyByName(std::u16string_view name, bool localNames) {
    for (std::uint16_t key = 8; key <= 255; ++key)
        if (layout_.SameText(FormatHotKey(key, localNames), name)) return key;
    return 0;
}

std::uint32_t THotKeyText::ParseHotKey(std::u16string_view text, bool localNames) {
    const std::vector<std::u16string> items = CutItems(text);
    const std::uint16_t flags = ParseModifiers(items);
    if (flags == 0 && items.size() >= 2) return 0;
    const std::uint16_t key = ParseKey(items, localNames);
    return key == 0 ? 0 : PackHotKey(flags, key);
}

} // namespace snq

namespace snq {

HotKeyRefusal THotKeyText::RefusalOf(std::uint32_t value) {
    const HotKeyProblem problem = HotKeyProblemOf(value);
    const std::uint32_t modifiers = value & (kShiftBit | kCtrlBit | kAltBit | kWinBit);
    if (problem != HotKeyProblem::None || (modifiers & ~kShiftBit) != (kCtrlBit | kAltBit)) return {problem};
    const unsigned key = value & 0xFF;
    const bool shift = (modifiers & kShiftBit) != 0;
    for (const LayoutHandle layout : layout_.LoadedLayouts()) {
        std::u16string typed;
        if (layout_.TypeKey(layout, key, true, shift, typed) < 0) {
            // A dead key: where the system kept it for the next key (the
            // flag not honoured), the same key again lets it go.
            std::u16string ignored;
            for (int i = 0; i < 4 && layout_.TypeKey(layout, key, true, shift, ignored) < 0; ++i) {
            }
        }
        // Control characters (Ctrl+letter on some layouts) type nothing.
        std::erase_if(typed, [](char16_t c) { return c < 0x20 || c == 0x7F; });
        if (!typed.empty()) return {HotKeyProblem::TypesCharacter, typed, layout_.LayoutName(layout)};
    }
    return {};
}

} // namespace snq
