// The physical limit the bench measures against: a minimal tray program that
// does only the essential. A hidden window, one tray icon, one hotkey; a
// click reads the clipboard and hands one address to the shell.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

constexpr UINT kTrayMessage = WM_USER + 1;

std::wstring Encode(const std::wstring& text) {
    static const char hex[] = "0123456789ABCDEF";
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                            nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes,
                          nullptr, nullptr);
    std::wstring out;
    for (unsigned char c : utf8) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            out += static_cast<wchar_t>(c);
        } else {
            out += L'%';
            out += static_cast<wchar_t>(hex[c >> 4]);
            out += static_cast<wchar_t>(hex[c & 15]);
        }
    }
    return out;
}

// An address holds at most this many characters (fewer under Wine, whose
// shell takes no more), and every character of the text takes at least one:
// no more of the text is read.
std::size_t AddressLimit() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") ? 768 : 2048;
}

void Search(HWND window) {
    const std::size_t kAddressLimit = AddressLimit();
    std::wstring text;
    // Another program (Wine's clipboard bridge to X, say) may hold the
    // clipboard for a moment: a search is not lost for that.
    bool open = false;
    for (int i = 0; i < 100 && !(open = ::OpenClipboard(window) != FALSE); ++i) ::Sleep(10);
    if (open) {
        if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            if (auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
                text.assign(p, ::wcsnlen(p, kAddressLimit));
                ::GlobalUnlock(data);
            }
        }
        ::CloseClipboard();
    }
    if (text.empty()) return;
    const std::wstring address = (L"https://www.google.com/search?q=" + Encode(text)).substr(0, kAddressLimit);
    ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayMessage && LOWORD(lParam) == WM_LBUTTONUP) Search(window);
    if (message == WM_HOTKEY) Search(window);
    if (message == WM_CLOSE) ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"SnqBaseline";
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"SnqBaseline", L"", WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, instance, nullptr);
    NOTIFYICONDATAW icon{};
    icon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    icon.hWnd = window;
    icon.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(window));
    icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    ::lstrcpyW(icon.szTip, L"baseline");
    ::Shell_NotifyIconW(NIM_ADD, &icon);
    ::RegisterHotKey(window, 1, MOD_CONTROL, 'G');
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    ::Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
