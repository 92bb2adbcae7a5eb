#pragma once
// The hotkey manager: registers system-wide hotkeys on its own hidden window
// and turns each press into an event.
#include <cstdint>
#include <functional>
#include <vector>

#include "framework/WindowWin32.h"
#include "hotkeys/HotKeySwap.h"

namespace snq {

class THotKeyEntry {
public:
    THotKeyEntry(std::uint32_t hotKey, UniqueAtom atom) : HotKey(hotKey), atom_(std::move(atom)) {}
    // The value exactly as it was passed to Add.
    std::uint32_t HotKey;
    // The global atom: also the registration's identifier and the event's Index.
    std::uint16_t Id() const noexcept { return atom_.get(); }

private:
    friend class THotKeyManager;
    UniqueAtom atom_; // one reference on the atom, dropped with the entry
};

class THotKeyManager final : public IHotKeyRegistrar, private IWindowHandler {
public:
    THotKeyManager();
    // Unregisters every hotkey before the window goes.
    ~THotKeyManager();
    THotKeyManager(const THotKeyManager&) = delete;
    THotKeyManager& operator=(const THotKeyManager&) = delete;

    // Registers the hotkey; returns its identifier, or 0 when the
    // registration failed (the keystroke is taken, say).
    std::uint16_t Add(std::uint32_t hotKey);
    // Unregisters the hotkey of identifier `id`; false when there is none.
    bool Remove(std::uint16_t id);
    // Unregisters everything, last first.
    void Clear();

    // The registrar the hotkey swap uses: Add and Remove.
    std::uint16_t Register(std::uint32_t value) override { return Add(value); }
    void Unregister(std::uint16_t id) override { Remove(id); }

    std::function<void(std::uint32_t hotKey, std::uint16_t index)> OnHotKeyPressed;

    const std::vector<THotKeyEntry>& Entries() const noexcept { return entries_; }
    HWND Handle() const noexcept { return window_.get(); }

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool ReleaseEntry(THotKeyEntry& entry);
    bool Contains(std::uint32_t hotKey) const;
    // A press of `key` while the key of the last reported press has not been
    // released since is the keyboard's repeat, not a new press. Hosts that
    // ignore MOD_NOREPEAT still send those; the key state tells them apart.
    bool IsRepeat(std::uint16_t key);

    static constexpr UINT_PTR kReleaseTimer = 1;
    static constexpr UINT kReleasePollMs = 15;

    UniqueHwnd window_;
    std::vector<THotKeyEntry> entries_;
    std::uint16_t heldKey_ = 0; // polled until released; 0: none
};

} // namespace snq
