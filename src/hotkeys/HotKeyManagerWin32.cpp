#include "hotkeys/HotKeyManagerWin32.h"

#include <algorithm>
#include <string>

#include "framework/Text.h"
#include "hotkeys/HotKeyText.h"

namespace snq {

THotKeyManager::THotKeyManager() : window_(AllocateMessageWindow(*this)) {}

THotKeyManager::~THotKeyManager() { Clear(); }

std::uint16_t THotKeyManager::Add(std::uint32_t hotKey) {
    const auto [flags, key] = UnpackHotKey(hotKey);
    // The name depends only on the value, so every manager (and every copy
    // of the program) that adds the same value shares the atom.
    const std::wstring name = L"HotKeyManagerHotKey" + ToWide(Decimal(hotKey));
    UniqueAtom atom(::GlobalAddAtomW(name.c_str()));
    if (!atom) return 0;
    // Holding the keys would otherwise report a press per keyboard repeat.
    if (!::RegisterHotKey(window_.get(), atom.get(), flags | MOD_NOREPEAT, key))
        return 0; // the atom goes
    const std::uint16_t id = atom.get();
    entries_.emplace_back(hotKey, std::move(atom));
    return id;
}

bool THotKeyManager::ReleaseEntry(THotKeyEntry& entry) {
    const bool unregistered = ::UnregisterHotKey(window_.get(), entry.Id()) != FALSE;
    entry.atom_.reset(); // whether or not the unregistration succeeded
    return unregistered;
}

bool THotKeyManager::Remove(std::uint16_t id) {
    const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                    [id](const THotKeyEntry& e) { return e.Id() == id; });
    if (entry == entries_.end()) return false;
    ReleaseEntry(*entry);
    entries_.erase(entry);
    return true;
}

void THotKeyManager::Clear() {
    while (!entries_.empty()) {
        ReleaseEntry(entries_.back());
        entries_.pop_back();
    }
}

bool THotKeyManager::Contains(std::uint32_t hotKey) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [hotKey](const THotKeyEntry& e) { return e.HotKey == hotKey; });
}

bool THotKeyManager::IsRepeat(std::uint16_t key) {
    if (key == heldKey_) return true;
    heldKey_ = key;
    ::SetTimer(window_.get(), kReleaseTimer, kReleasePollMs, nullptr);
    return false;
}

LRESULT THotKeyManager::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY && OnHotKeyPressed) {
        // The entry is found by its value, not by the identifier in wParam.
        const std::uint32_t hotKey = PackHotKey(LOWORD(lParam), HIWORD(lParam));
        if (Contains(hotKey) && !IsRepeat(HIWORD(lParam))) OnHotKeyPressed(hotKey, LOWORD(wParam));
    }
    if (message == WM_TIMER && wParam == kReleaseTimer) {
        // Timers come only once no posted message waits, so the repeats that
        // were queued while the key was down have all been seen by now.
        if (::GetAsyncKeyState(heldKey_) >= 0) {
            heldKey_ = 0;
            ::KillTimer(window, kReleaseTimer);
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace snq
