#pragma once
// Choosing another global hotkey: which values can be one, and the swap that
// registers the new one before it lets the old one go.
#include <cstdint>

namespace snq {

enum class HotKeyProblem {
    None,
    ModifierAlone,    // Ctrl, Shift, Alt or Win without a key
    TypedKey,         // a key that types something, without Ctrl, Alt or Win
    EditingKey,       // a key or chord every program needs for editing and moving
    StandardShortcut, // a chord that Windows or terminals give a meaning of their own
    TypesCharacter,   // Ctrl+Alt with a key that types a character on a layout (AltGr)
};

// What keeps `value` (non-zero) from being a global hotkey, the keyboard
// layouts aside. A registered hotkey is taken from every program, so it may
// not be:
// - a key that types a character (a letter, a digit, punctuation, the space
//   bar, the number pad) without Ctrl, Alt or Win;
// - an editing or moving key (Enter, Tab, Esc, Space, Backspace, Delete,
//   Insert, Home, End, Page Up, Page Down, the arrows) alone or with Shift;
// - Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z, Ctrl+Y, Ctrl+A, Alt+F4 or Alt+Tab;
// - Ctrl+Insert, Ctrl+Shift+C, Ctrl+Shift+V, Ctrl+Tab, Ctrl+F4, Alt+Space or
//   Ctrl+Esc (StandardShortcut).
// Function keys and the like may stand alone. THotKeyText::RefusalOf adds
// the layouts' rule (TypesCharacter).
HotKeyProblem HotKeyProblemOf(std::uint32_t value);

class IHotKeyRegistrar {
public:
    // Registers the hotkey: its identifier, or 0 when the keystroke is taken.
    virtual std::uint16_t Register(std::uint32_t value) = 0;
    virtual void Unregister(std::uint16_t id) = 0;

protected:
    ~IHotKeyRegistrar() = default;
};

enum class SwapResult { Unchanged, Swapped, InUse };

// The hotkey in force: its value (0: none) and registration (0: none).
struct HotKeyInForce {
    std::uint32_t value = 0;
    std::uint16_t id = 0;
};

// Lets the hotkey go for a while: `current` keeps its value without a
// registration, and SwapHotKey with the same value registers it again.
void ReleaseHotKey(IHotKeyRegistrar& registrar, HotKeyInForce& current);

// Puts `next` (0: none) in place of `current`. The new hotkey is registered
// first and the old one released only when that worked, so that a keystroke
// another program holds leaves the old hotkey as it was (InUse).
SwapResult SwapHotKey(IHotKeyRegistrar& registrar, HotKeyInForce& current, std::uint32_t next);

} // namespace snq
