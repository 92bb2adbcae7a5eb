#include "search/SelectionCopyWin32.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "framework/ApplicationWin32.h"
#include "framework/ClipboardWin32.h"
#include "framework/Text.h"
#include "framework/Trace.h"
#include "framework/Win32Handles.h"

namespace snq {

namespace {

std::u16string ClassName(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return ToU16(std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0));
}

INPUT Key(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    // Remote-desktop and virtual-machine windows read the scan code only.
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

} // namespace

bool Win32SelectionHost::AnyKeyHeld() {
    for (int key : {static_cast<int>(hotKey_ & 0xFF), VK_CONTROL, VK_SHIFT, VK_MENU, VK_LWIN, VK_RWIN})
        if (::GetAsyncKeyState(key) < 0) return true;
    return false;
}

namespace {

// The window with the keyboard focus in the foreground window's thread.
HWND FocusIn(HWND front) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(front, nullptr), &info) ? info.hwndFocus : nullptr;
}

std::u16string ProgramOf(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return {};
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!::QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    const std::wstring_view full(path, size);
    return ToU16(full.substr(full.find_last_of(L"\\/") + 1));
}

} // namespace

std::pair<std::uintptr_t, std::uintptr_t> Win32SelectionHost::FrontHandles() {
    HWND front = ::GetForegroundWindow();
    return {reinterpret_cast<std::uintptr_t>(front), reinterpret_cast<std::uintptr_t>(front ? FocusIn(front) : nullptr)};
}

FrontWindow Win32SelectionHost::DescribeFront() {
    FrontWindow described;
    HWND front = ::GetForegroundWindow();
    if (!front) return described;
    described.classes.push_back(ClassName(front));
    // A console's own dialogs (Find, Properties) belong to it.
    if (HWND root = ::GetAncestor(front, GA_ROOTOWNER); root && root != front)
        described.classes.push_back(ClassName(root));
    // A terminal hosted in another program's window (a connection manager's
    // tab) has the focus, or holds the child that has it.
    int depth = 0;
    for (HWND focus = FocusIn(front); focus && focus != front && depth < 32; ++depth) {
        described.classes.push_back(ClassName(focus));
        focus = ::GetAncestor(focus, GA_PARENT);
    }
    described.process = ProgramOf(front);
    return described;
}

std::uint32_t Win32SelectionHost::ClipboardSequence() { return ::GetClipboardSequenceNumber(); }

bool Win32SelectionHost::ClipboardHasText() {
    return ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
}

std::optional<std::u16string> Win32SelectionHost::ClipboardText() {
    if (!ClipboardHasText()) return std::nullopt;
    try {
        return ReadClipboardText(owner_);
    } catch (const std::exception&) {
        return std::nullopt; // held by another program
    }
}

namespace {

enum class Keep { Bytes, Metafile, Skip, Never };

// How a format is kept. `listed` holds every format on the clipboard.
Keep KeepingOf(UINT format, const std::vector<UINT>& listed) {
    const auto has = [&](UINT f) { return std::find(listed.begin(), listed.end(), f) != listed.end(); };
    const auto first = [&](UINT a, UINT b) { return *std::find_if(listed.begin(), listed.end(), [&](UINT f) { return f == a || f == b; }); };
    switch (format) {
    // Windows makes these from the DIB (the palette too): of the DIBs, the
    // one listed first is the one the program put there.
    case CF_BITMAP:
    case CF_PALETTE: return has(CF_DIB) || has(CF_DIBV5) ? Keep::Skip : Keep::Never;
    case CF_DIB:
    case CF_DIBV5: return first(CF_DIB, CF_DIBV5) == format ? Keep::Bytes : Keep::Skip;
    // ... and the old metafile from the enhanced one.
    case CF_METAFILEPICT: return has(CF_ENHMETAFILE) ? Keep::Skip : Keep::Never;
    case CF_ENHMETAFILE: return Keep::Metafile;
    // Handles of other kinds, or drawn by their owner: no memory form.
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE: return Keep::Never;
    }
    if (format >= CF_PRIVATEFIRST && format <= CF_GDIOBJLAST) return Keep::Never;
    if (format >= 0xC000) {
        // OLE's note of the object that made the copy, which is then gone:
        // the formats themselves carry the data.
        wchar_t name[64] = {};
        const int length = ::GetClipboardFormatNameW(format, name, 64);
        const std::wstring_view n(name, length > 0 ? static_cast<std::size_t>(length) : 0);
        if (n == L"DataObject" || n == L"Ole Private Data") return Keep::Skip;
    }
    return Keep::Bytes;
}

bool Refuse(const std::u16string& why) {
    Trace(u"the selection is not copied: " + why);
    return false;
}

} // namespace

bool ClipboardSnapshot::Take(HWND owner, ULONGLONG deadline) {
    formats_.clear();
    try {
        ClipboardSession session(owner);
        std::vector<UINT> listed;
        for (UINT f = 0; (f = ::EnumClipboardFormats(f)) != 0;) listed.push_back(f);
        std::size_t total = 0;
        bool text = false;
        for (UINT f : listed) {
            Keep keep = KeepingOf(f, listed);
            // Windows makes the other texts from the Unicode one and
            // CF_LOCALE: it stands where the first of its family stood.
            if (f == CF_TEXT || f == CF_OEMTEXT || f == CF_UNICODETEXT) {
                if (text) continue;
                text = true;
                f = CF_UNICODETEXT;
                keep = Keep::Bytes;
            }
            if (keep == Keep::Skip) continue;
            if (keep == Keep::Never) return formats_.clear(), Refuse(u"format " + Decimal(f) + u" cannot be kept");
            // The owner may render each format on request: that is what
            // can take long.
            HANDLE data = ::GetClipboardData(f);
            if (::GetTickCount64() > deadline)
                return formats_.clear(), Refuse(u"the clipboard took too long to read");
            // A format its owner fails to render holds nothing to lose.
            if (!data) continue;
            Format& kept = formats_.emplace_back();
            kept.id = f;
            std::size_t size = 0;
            if (keep == Keep::Metafile) {
                kept.metafile.reset(::CopyEnhMetaFileW(static_cast<HENHMETAFILE>(data), nullptr));
                if (!kept.metafile)
                    return formats_.clear(), Refuse(u"format " + Decimal(f) + u" could not be copied");
                size = ::GetEnhMetaFileBits(kept.metafile.get(), 0, nullptr);
            }
            ScopedGlobalLock lock(keep == Keep::Bytes ? data : nullptr);
            if (keep == Keep::Bytes && !lock.data())
                return formats_.clear(), Refuse(u"format " + Decimal(f) + u" cannot be kept");
            if ((total += size + lock.size()) > kMaxBytes)
                return formats_.clear(), Refuse(u"the clipboard holds more than 64 MB");
            const auto* bytes = static_cast<const unsigned char*>(lock.data());
            if (bytes) kept.bytes.assign(bytes, bytes + lock.size());
        }
    } catch (const std::exception&) {
        formats_.clear();
        return Refuse(u"the clipboard could not be opened");
    }
    return true;
}

namespace {

UniqueHglobal MemoryOf(const void* bytes, std::size_t size) {
    UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1));
    if (!memory) return memory;
    ScopedGlobalLock lock(memory.get());
    if (!lock.data()) return UniqueHglobal();
    if (size) std::memcpy(lock.data(), bytes, size);
    return memory;
}

// Hands `memory` to the clipboard, which owns it on success.
template <class Owner> bool Give(UINT format, Owner& memory) {
    if (!memory || !::SetClipboardData(format, memory.get())) return false;
    memory.release();
    return true;
}

} // namespace

RestoreOutcome ClipboardSnapshot::PutBack(HWND owner, DWORD expected) const {
    try {
        ClipboardSession session(owner);
        if (::GetClipboardSequenceNumber() != expected) return RestoreOutcome::Replaced;
        if (!::EmptyClipboard()) return RestoreOutcome::Failed;
        bool all = true;
        for (const Format& f : formats_) {
            if (f.metafile) {
                UniqueEnhMetaFile copy(::CopyEnhMetaFileW(f.metafile.get(), nullptr));
                all = Give(f.id, copy) && all;
            } else {
                UniqueHglobal memory = MemoryOf(f.bytes.data(), f.bytes.size());
                all = Give(f.id, memory) && all;
            }
        }
        // The user's own earlier copy: not a new entry for Windows'
        // clipboard history, the cloud clipboard or a clipboard manager.
        const DWORD no = 0;
        for (const wchar_t* name : {L"ExcludeClipboardContentFromMonitorProcessing", L"CanIncludeInClipboardHistory",
                                    L"CanUploadToCloudClipboard"}) {
            UniqueHglobal memory = MemoryOf(&no, sizeof(no));
            if (const UINT id = ::RegisterClipboardFormatW(name)) Give(id, memory);
        }
        return all ? RestoreOutcome::Restored : RestoreOutcome::Failed;
    } catch (const std::exception&) {
        return RestoreOutcome::Held;
    }
}

std::optional<std::u16string> ClipboardSnapshot::Text() const {
    for (const Format& f : formats_) {
        if (f.id != CF_UNICODETEXT) continue;
        const auto* units = reinterpret_cast<const char16_t*>(f.bytes.data());
        std::size_t length = 0;
        while (length < f.bytes.size() / 2 && units[length] != u'\0') ++length;
        return std::u16string(units, units + length);
    }
    return std::nullopt;
}

bool Win32SelectionHost::SendCopy() {
    INPUT keys[] = {Key(VK_CONTROL, 0), Key('C', 0), Key('C', KEYEVENTF_KEYUP),
                    Key(VK_CONTROL, KEYEVENTF_KEYUP)};
    const UINT sent = ::SendInput(4, keys, sizeof(INPUT));
    if (sent == 4) return true;
    // Part of it went in: no key may stay down.
    if (sent > 0) {
        INPUT up[] = {keys[2], keys[3]};
        ::SendInput(2, up, sizeof(INPUT));
    }
    return false;
}

std::uint64_t Win32SelectionHost::Now() { return ::GetTickCount64(); }

bool Win32SelectionHost::Wait(std::uint32_t ms) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    return Application().ProcessMessages();
}

} // namespace snq
