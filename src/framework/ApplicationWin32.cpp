#include "framework/ApplicationWin32.h"

#include <new>
#include <utility>

#include "framework/ErrorText.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"
#include "framework/Texts.h"

namespace snq {

namespace {
TApplication* g_application = nullptr;
// When the tasks for when idle run: this long after the message loop starts,
// or later when other messages are waiting.
constexpr UINT kIdleDelayMs = 10;
} // namespace

TApplication& Application() { return *g_application; }
bool HasApplication() noexcept { return g_application != nullptr; }

TApplication::TApplication(HINSTANCE instance) : instance_(instance) {
    window_ = CreateBoundWindow(L"TApplication",
                                0, WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU |
                                       WS_MINIMIZEBOX,
                                L"", *this, nullptr,
                                ::LoadIconW(instance, MAKEINTRESOURCEW(1)));
    g_application = this;
}

TApplication::~TApplication() {
    if (g_application == this) g_application = nullptr;
}

std::wstring TApplication::Title() const {
    wchar_t buffer[256] = {};
    const int length = ::GetWindowTextW(window_.get(), buffer, 256);
    if (length > 0) return std::wstring(buffer, static_cast<std::size_t>(length));
    return title_;
}

void TApplication::SetTitle(std::wstring title) {
    title_ = std::move(title);
    ::SetWindowTextW(window_.get(), title_.c_str());
}

std::wstring ExecutablePath() {
    // Paths may be longer than MAX_PATH; grow until the name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void TApplication::WhenIdle(std::function<void()> task) { whenIdle_.push_back(std::move(task)); }

void TApplication::Run() {
    MSG msg;
    // The tasks for when idle run at a timer's first tick. Its message comes
    // only when no other is waiting, and after the thread's first wait: the
    // end of the start for whoever waits for it (WaitForInputIdle), whom
    // Wine would otherwise still hold back while they run.
    UINT_PTR idleTimer = whenIdle_.empty() ? 0 : ::SetTimer(nullptr, 0, kIdleDelayMs, nullptr);
    for (;;) {
        const auto count = static_cast<DWORD>(events_.size());
        const DWORD woken = ::MsgWaitForMultipleObjectsEx(count, events_.data(), INFINITE, QS_ALLINPUT,
                                                          MWMO_INPUTAVAILABLE);
        if (woken < WAIT_OBJECT_0 + count) {
            // As from a window procedure: no error leaves the loop.
            try {
                signalled_[woken - WAIT_OBJECT_0]();
            } catch (...) {
                HandleException(std::current_exception());
            }
            continue;
        }
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return;
            if (idleTimer && msg.message == WM_TIMER && !msg.hwnd && msg.wParam == idleTimer) {
                ::KillTimer(nullptr, std::exchange(idleTimer, 0));
                for (auto& task : std::exchange(whenIdle_, {})) {
                    try {
                        task();
                    } catch (...) {
                        HandleException(std::current_exception());
                    }
                }
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void TApplication::Watch(HANDLE event, std::function<void()> signalled) {
    events_.push_back(event);
    signalled_.push_back(std::move(signalled));
}

void TApplication::Unwatch(HANDLE event) noexcept {
    for (std::size_t i = 0; i < events_.size(); ++i)
        if (events_[i] == event) {
            events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(i));
            signalled_.erase(signalled_.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}

void TApplication::Terminate() noexcept { ::PostQuitMessage(0); }

void TApplication::AcceptExitRequest(const wchar_t* name) noexcept {
    exitRequest_ = ::RegisterWindowMessageW(name);
}

bool TApplication::ProcessMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the loop that owns it.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

std::u16string ErrorMessageOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const EException& e) {
        return e.Message();
    } catch (const std::bad_alloc&) {
        return Tr(TextId::ErrorOutOfMemory);
    } catch (const std::exception& e) {
        return Ascii(e.what());
    } catch (...) {
        return Tr(TextId::ErrorUnknown);
    }
}

void TApplication::HandleException(std::exception_ptr error) noexcept {
    try {
        const std::wstring text = ToWide(ErrorBoxText(ErrorMessageOf(error)));
        const std::wstring caption = Title();
        ::MessageBoxW(DialogOwner(), text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
    } catch (...) {
        // Out of memory while reporting: nothing more can be shown.
    }
}

HWND TApplication::DialogOwner() const noexcept {
    HWND active = ::GetActiveWindow();
    if (active && ::IsWindowVisible(active) &&
        ::GetWindowThreadProcessId(active, nullptr) == ::GetCurrentThreadId())
        return active;
    return window_.get();
}

LRESULT TApplication::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (exitRequest_ != 0 && message == exitRequest_) {
        // Open windows and modal loops end as the quit request passes
        // through them; the tray icon goes with the main form.
        Terminate();
        return 1;
    }
    switch (message) {
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) {
            // The session ends now: tear the program down from inside this
            // message, as no further message will be delivered.
            if (OnEndSession) OnEndSession();
            ::ExitProcess(0);
        }
        return 0;
    case WM_CLOSE:
        Terminate();
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace snq
