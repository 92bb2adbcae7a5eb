#pragma once
// Choosing another global hotkey: which values can be one, and the swap that
// registers the new one before it lets the old one go.
#include <cstdint>

namespace snq {

enum class HotKeyProblem {
    None,
    ModifierAlone, // Ctrl, Shift, Alt or Win without a key
    TypedKey,      // a key that types something, without Ctrl, Alt or Win
};

// What keeps `value` (non-zero) from being a global hotkey. A key that types
// a character (a letter, a digit, punctuation, the space bar, the number
// pad) needs Ctrl, Alt or Win: alone or with Shift it would be taken from
// every program's typing. Function keys and the like may stand alone.
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

// Puts `next` (0: none) in place of `current`. The new hotkey is registered
// first and the old one released only when that worked, so that a keystroke
// another program holds leaves the old hotkey as it was (InUse).
SwapResult SwapHotKey(IHotKeyRegistrar& registrar, HotKeyInForce& current, std::uint32_t next);

} // namespace snq
