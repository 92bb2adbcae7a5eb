#include "hotkeys/HotKeySwap.h"

#include "hotkeys/HotKeyText.h"

namespace snq {

namespace {

bool IsModifierKey(unsigned key) {
    return (key >= 0x10 && key <= 0x12) || key == 0x5B || key == 0x5C || (key >= 0xA0 && key <= 0xA5);
}

// Keys that type a character: space, digits, letters, the number pad's
// digits and operators, and the punctuation keys of every layout.
bool IsTypingKey(unsigned key) {
    return key == 0x20 || (key >= 0x30 && key <= 0x39) || (key >= 0x41 && key <= 0x5A) ||
           (key >= 0x60 && key <= 0x6F) || (key >= 0xBA && key <= 0xC0) ||
           (key >= 0xDB && key <= 0xDF) || key == 0xE2;
}

// Keys that edit text or move in it: Backspace, Tab, Enter, Esc, Space,
// Page Up to Down (the arrows among them), Insert and Delete.
bool IsEditingKey(unsigned key) {
    return key == 0x08 || key == 0x09 || key == 0x0D || key == 0x1B || (key >= 0x20 && key <= 0x28) ||
           key == 0x2D || key == 0x2E;
}

// The chords every program gives the same meaning.
bool IsStandardChord(std::uint32_t value) {
    const unsigned key = value & 0xFF;
    const std::uint32_t modifiers = value & (kShiftBit | kCtrlBit | kAltBit | kWinBit);
    if (modifiers == kCtrlBit)
        return key == 'C' || key == 'V' || key == 'X' || key == 'Z' || key == 'Y' || key == 'A';
    return modifiers == kAltBit && (key == 0x73 /* F4 */ || key == 0x09 /* Tab */);
}

// Chords with a meaning of their own in Windows or in terminals: copy
// (Ctrl+Insert; Ctrl+Shift+C and V in terminals), the next tab or pane,
// closing a document, the window menu, the Start menu.
bool IsShortcut(std::uint32_t value) {
    const unsigned key = value & 0xFF;
    const std::uint32_t modifiers = value & (kShiftBit | kCtrlBit | kAltBit | kWinBit);
    if (modifiers == kCtrlBit)
        return key == 0x2D /* Insert */ || key == 0x09 /* Tab */ || key == 0x73 /* F4 */ || key == 0x1B /* Esc */;
    if (modifiers == (kCtrlBit | kShiftBit)) return key == 'C' || key == 'V';
    return modifiers == kAltBit && key == 0x20 /* Space */;
}

} // namespace

HotKeyProblem HotKeyProblemOf(std::uint32_t value) {
    const unsigned key = value & 0xFF;
    const bool command = (value & (kCtrlBit | kAltBit | kWinBit)) != 0;
    if (key == 0 || IsModifierKey(key)) return HotKeyProblem::ModifierAlone;
    if (IsTypingKey(key) && !command) return HotKeyProblem::TypedKey;
    if ((IsEditingKey(key) && !command) || IsStandardChord(value)) return HotKeyProblem::EditingKey;
    if (IsShortcut(value)) return HotKeyProblem::StandardShortcut;
    return HotKeyProblem::None;
}

void ReleaseHotKey(IHotKeyRegistrar& registrar, HotKeyInForce& current) {
    if (current.id != 0) registrar.Unregister(current.id);
    current.id = 0;
}

SwapResult SwapHotKey(IHotKeyRegistrar& registrar, HotKeyInForce& current, std::uint32_t next) {
    // The same value again is a change only when it is not registered (it
    // was taken when the program started, say): it is tried once more.
    if (next == current.value && (next == 0 || current.id != 0)) return SwapResult::Unchanged;
    std::uint16_t id = 0;
    if (next != 0 && (id = registrar.Register(next)) == 0) return SwapResult::InUse;
    if (current.id != 0) registrar.Unregister(current.id);
    current = {next, id};
    return SwapResult::Swapped;
}

} // namespace snq
