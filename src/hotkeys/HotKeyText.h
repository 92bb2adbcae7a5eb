#pragma once
// The hotkey value (a virtual key with modifier bits) and its conversions to
// and from text. Key names come from the keyboard layout through
// IKeyboardLayout, so the parser and formatter are tested with a fake one.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "hotkeys/HotKeySwap.h"

namespace snq {

// Modifier flags as RegisterHotKey and WM_HOTKEY use them.
inline constexpr std::uint16_t kModAlt = 1;
inline constexpr std::uint16_t kModControl = 2;
inline constexpr std::uint16_t kModShift = 4;
inline constexpr std::uint16_t kModWin = 8;

// Modifier bits of a hotkey value.
inline constexpr std::uint32_t kShiftBit = 0x2000;
inline constexpr std::uint32_t kCtrlBit = 0x4000;
inline constexpr std::uint32_t kAltBit = 0x8000;
inline constexpr std::uint32_t kWinBit = 0x10000;

std::uint32_t PackHotKey(std::uint16_t modifiers, std::uint16_t key);
// Modifier flags and the virtual key (the low 8 bits).
std::pair<std::uint16_t, std::uint16_t> UnpackHotKey(std::uint32_t value);
// The hotkey control's value (virtual key, and in the high byte its flags:
// 1 Shift, 2 Ctrl, 4 Alt, 8 extended key) as a hotkey value, and back. The
// control knows no Win key.
std::uint32_t FromHotKeyControl(std::uint16_t value);
std::uint16_t ToHotKeyControl(std::uint32_t value);
bool IsMediaKey(std::uint16_t key);
std::u16string MediaKeyName(std::uint16_t key);
bool IsCapitalsOnly(std::u16string_view text);

using LayoutHandle = std::uintptr_t;

class IKeyboardLayout {
public:
    virtual ~IKeyboardLayout() = default;
    // Virtual key to scan code (MapVirtualKey mode 0) under the thread's
    // current layout, or under `layout`.
    virtual unsigned ScanCode(unsigned key) = 0;
    virtual unsigned ScanCode(unsigned key, LayoutHandle layout) = 0;
    // GetKeyNameText for a key-message parameter, up to its first NUL.
    virtual std::u16string KeyName(long keyParameter) = 0;
    virtual LayoutHandle CurrentLayout() = 0;
    virtual void Activate(LayoutHandle layout) = 0;
    // The layouts loaded for the user (at most 100).
    virtual std::vector<LayoutHandle> LoadedLayouts() = 0;
    // US English, loaded without activating it or telling the shell.
    virtual LayoutHandle LoadUsLayout() = 0;
    virtual void Unload(LayoutHandle layout) = 0;
    // Equality without regard to case, under the user's default locale.
    virtual bool SameText(std::u16string_view a, std::u16string_view b) = 0;
    // ToUnicodeEx for `key` under `layout` with Ctrl and Alt (when
    // `ctrlAlt`) and Shift (when `shift`) down, asked to leave the
    // keyboard's state alone: the characters in `typed`, and the count,
    // negative for a dead key.
    virtual int TypeKey(LayoutHandle layout, unsigned key, bool ctrlAlt, bool shift, std::u16string& typed) = 0;
    // The layout's name for the user ("German (Germany)").
    virtual std::u16string LayoutName(LayoutHandle layout) = 0;
};

// Why a hotkey cannot be one: HotKeyProblemOf's answer, or for
// TypesCharacter the character and the layout that types it.
struct HotKeyRefusal {
    HotKeyRefusal(HotKeyProblem why = HotKeyProblem::None, std::u16string typed = {}, std::u16string on = {})
        : problem(why), character(std::move(typed)), layout(std::move(on)) {}
    HotKeyProblem problem;
    std::u16string character;
    std::u16string layout;
    bool operator==(const HotKeyRefusal&) const = default;
};

// The unit-wide state of the key names: set up once before any form exists
// and torn down after the last one.
class THotKeyText {
public:
    explicit THotKeyText(IKeyboardLayout& layout) : layout_(layout) {}

    std::u16string ShiftName = u"Shift";
    std::u16string CtrlName = u"Ctrl";
    std::u16string AltName = u"Alt";
    std::u16string WinName = u"Win";
    LayoutHandle UsLayout = 0;
    bool OwnsUsLayout = false;

    // Asks the layouts for the modifier names and loads the US layout. Done
    // when first needed (the first hotkey named or parsed beyond letters,
    // digits and function keys), so that the program can start without
    // asking the keyboard at all.
    void Startup();
    // Unloads the US layout only when Startup loaded it.
    void Shutdown();

    // With `localNames`, key names of the user's layout and the layout's
    // modifier names; otherwise US English names and "Ctrl", "Shift",
    // "Alt", "Win". Modifiers always in the order Ctrl, Shift, Alt, Win.
    std::u16string FormatHotKey(std::uint32_t value, bool localNames);
    // 0 when the text names no hotkey.
    std::uint32_t ParseHotKey(std::u16string_view text, bool localNames);
    // Why `value` (non-zero) cannot be a hotkey: HotKeyProblemOf, then, for
    // Ctrl+Alt (and Shift) with a key, whether one of the user's layouts
    // types a character with it (Ctrl+Alt is AltGr; a dead key counts). It
    // asks the layouts: for when a hotkey is chosen or read, never when a
    // key is pressed.
    HotKeyRefusal RefusalOf(std::uint32_t value);

    // The steps of ParseHotKey.
    static std::vector<std::u16string> CutItems(std::u16string_view text);
    std::uint16_t ParseModifiers(const std::vector<std::u16string>& items);
    std::uint16_t ParseKey(const std::vector<std::u16string>& items, bool localNames);
    std::uint16_t FindKeyByName(std::u16string_view name, bool localNames);

private:
    void Started() {
        if (!started_) Startup();
    }

    IKeyboardLayout& layout_;
    bool started_ = false;
};

} // namespace snq
