#include <gtest/gtest.h>

#include <windows.h>

#include "hotkeys/HotKeyManagerWin32.h"
#include "hotkeys/HotKeyText.h"
#include "hotkeys/KeyboardLayoutWin32.h"

using namespace snq;

namespace {

// Counts the references on a global atom by deleting until it is gone, then
// restores them.
int AtomReferences(const wchar_t* name) {
    int count = 0;
    ATOM atom;
    while ((atom = ::GlobalFindAtomW(name)) != 0) {
        ::GlobalDeleteAtom(atom);
        ++count;
    }
    for (int i = 0; i < count; ++i) ::GlobalAddAtomW(name);
    return count;
}

// Serves this thread's messages for a while: long enough for the manager to
// see that the key of the last press is up again.
void LetTheKeyGo() {
    const ULONGLONG end = ::GetTickCount64() + 100;
    MSG msg;
    while (::GetTickCount64() < end) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
}

bool KeystrokeFree(UINT flags, UINT key) {
    if (!::RegisterHotKey(nullptr, 0x7000, flags, key)) return false;
    ::UnregisterHotKey(nullptr, 0x7000);
    return true;
}

} // namespace

WNDPROC previous = nullptr;
bool freeAtDestroy = false;
LRESULT CALLBACK WatchDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) freeAtDestroy = KeystrokeFree(MOD_CONTROL, 'G');
    return ::CallWindowProcW(previous, window, message, wParam, lParam);
}

TEST(HotKeyManager, AddRegistersCtrlGUnderItsAtomAndClearReleasesIt) {
    const wchar_t* name = L"HotKeyManagerHotKey16455";
    ASSERT_EQ(AtomReferences(name), 0);
    {
        THotKeyManager manager;
        const std::uint16_t id = manager.Add(0x4047);
        ASSERT_NE(id, 0);
        EXPECT_EQ(id, ::GlobalFindAtomW(name));
        ASSERT_EQ(manager.Entries().size(), 1u);
        EXPECT_EQ(manager.Entries()[0].HotKey, 0x4047u);
        EXPECT_FALSE(KeystrokeFree(MOD_CONTROL, 'G'));
        wchar_t cls[32] = {};
        ::GetClassNameW(manager.Handle(), cls, 32);
        EXPECT_STREQ(cls, L"TPUtilWindow");

        // The same value again: the keystroke is taken, the extra atom
        // reference is dropped, and the first entry stays.
        EXPECT_EQ(manager.Add(0x4047), 0);
        EXPECT_EQ(manager.Entries().size(), 1u);
        EXPECT_EQ(AtomReferences(name), 1);
        // Unregistered before its window goes (the window's end would free
        // it anyway, and then nothing would tell).
        previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
            manager.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchDestroy)));
    }
    EXPECT_TRUE(freeAtDestroy);
    EXPECT_EQ(AtomReferences(name), 0);
    EXPECT_TRUE(KeystrokeFree(MOD_CONTROL, 'G'));
}

TEST(HotKeyManager, PressesAreFoundByValueAndEveryMessageGoesOnToTheDefault) {
    THotKeyManager manager;
    const std::uint16_t id = manager.Add(0x4047);
    ASSERT_NE(id, 0);
    std::vector<std::pair<std::uint32_t, std::uint16_t>> pressed;
    // No handler bound: nothing happens.
    ::SendMessageW(manager.Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL, 'G'));
    manager.OnHotKeyPressed = [&](std::uint32_t hotKey, std::uint16_t index) {
        pressed.emplace_back(hotKey, index);
    };
    ::SendMessageW(manager.Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL, 'G'));
    // Before the key has been seen released, the same key again is the
    // keyboard's repeat.
    ::SendMessageW(manager.Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL, 'G'));
    EXPECT_EQ(pressed.size(), 1u);
    LetTheKeyGo();
    // Found by value: the identifier in wParam does not matter.
    ::SendMessageW(manager.Handle(), WM_HOTKEY, 0x1234, MAKELPARAM(MOD_CONTROL, 'G'));
    ::SendMessageW(manager.Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL | MOD_SHIFT, 'G'));
    ::SendMessageW(manager.Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL, 'H'));
    ASSERT_EQ(pressed.size(), 2u);
    EXPECT_EQ(pressed[0], (std::pair<std::uint32_t, std::uint16_t>{0x4047, id}));
    EXPECT_EQ(pressed[1].second, 0x1234);
}

TEST(HotKeyManager, AValueWithStrayBitsRegistersItsKeystrokeButIsNeverReported) {
    THotKeyManager manager;
    ASSERT_NE(manager.Add(0x4147), 0); // bit 8 set
    EXPECT_FALSE(KeystrokeFree(MOD_CONTROL, 'G'));
    int pressed = 0;
    manager.OnHotKeyPressed = [&](std::uint32_t, std::uint16_t) { ++pressed; };
    ::SendMessageW(manager.Handle(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL, 'G'));
    EXPECT_EQ(pressed, 0);
    manager.Clear();
    EXPECT_TRUE(manager.Entries().empty());
    manager.Clear(); // on an empty list: nothing
}

TEST(KeyboardLayout, TheRealLayoutNamesModifiersAndParsesTheProgramsHotkey) {
    Win32KeyboardLayout keyboard;
    THotKeyText text(keyboard);
    text.Startup();
    EXPECT_FALSE(text.ShiftName.empty());
    EXPECT_FALSE(text.CtrlName.empty());
    EXPECT_NE(text.UsLayout, 0u);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+g", false), 0x4047u);
    EXPECT_EQ(text.FormatHotKey(0x4047, false), u"Ctrl+G");
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+shift", false), 0x4010u);
    EXPECT_EQ(text.ParseHotKey(u"Alt+F5", false), 0x8074u);
    // The system's own answer: Shift+A types a letter, Ctrl+Alt+A nothing.
    std::u16string typed;
    EXPECT_EQ(keyboard.TypeKey(text.UsLayout, 'A', false, true, typed), 1);
    EXPECT_EQ(typed, u"A");
    EXPECT_LE(keyboard.TypeKey(text.UsLayout, 'A', true, false, typed), 0);
    text.Shutdown();
}
