// Both renderings of the message dialog, driven from a helper thread while
// the test thread sits in the dialog's modal loop.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "framework/ApplicationWin32.h"
#include "framework/ClipboardWin32.h"
#include "framework/MessageDialogWin32.h"
#include "framework/ModalWin32.h"
#include "framework/Text.h"

using namespace snq;

namespace {

HWND WaitForDialog(const wchar_t* title) {
    for (int i = 0; i < 200; ++i) {
        HWND w = ::FindWindowW(L"#32770", title);
        if (w && ::IsWindowVisible(w)) return w;
        ::Sleep(25);
    }
    return nullptr;
}

HWND ButtonWithText(HWND dialog, const std::wstring& caption) {
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t text[64] = {};
        ::GetWindowTextW(c, text, 64);
        if (caption == text) return c;
    }
    return nullptr;
}

void Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof(in));
}

void Press(HWND dialog, WORD vk) {
    ::SetForegroundWindow(dialog);
    ::Sleep(150);
    Key(vk, false);
    Key(vk, true);
}

// Runs `act` on the dialog titled `title` from another thread. When the
// dialog does not come, the test thread's modal loop is ended with a quit
// request, so that a failure cannot hang the run.
template <class F> std::thread Drive(const wchar_t* title, F act) {
    const DWORD testThread = ::GetCurrentThreadId();
    return std::thread([title, act, testThread] {
        HWND dialog = WaitForDialog(title);
        if (dialog) {
            act(dialog);
            for (int i = 0; i < 200 && ::IsWindow(dialog) && ::IsWindowVisible(dialog); ++i)
                ::Sleep(25);
            if (!::IsWindow(dialog) || !::IsWindowVisible(dialog)) return;
            ADD_FAILURE() << "the dialog did not close";
        } else {
            ADD_FAILURE() << "no dialog titled " << std::string(title, title + wcslen(title));
        }
        ::PostThreadMessageW(testThread, WM_QUIT, 0, 0);
    });
}

// Drops a quit request that a failed Drive left in the queue.
void DrainQuit() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// X of the classic form: the width of A-Z a-z in the message font / 52.
int MessageFontCharWidth() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    UniqueHfont font(::CreateFontIndirectW(&metrics.lfMessageFont));
    ScopedWindowDc dc(nullptr);
    ScopedSelectObject select(dc.get(), font.get());
    SIZE letters{};
    ::GetTextExtentPoint32W(dc.get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                            &letters);
    return (letters.cx / 26 + 1) / 2;
}

constexpr TMsgDlgButtons kYesNo = Buttons(TMsgDlgBtn::mbYes) | Buttons(TMsgDlgBtn::mbNo);

} // namespace

TEST(ClassicMessageForm, EnterPressesTheDefaultAndEscapeTheCancelButton) {
    auto enter = Drive(L"Confirm", [](HWND d) { Press(d, VK_RETURN); });
    int result = MessageDlg(L"Go on?", TMsgDlgType::mtConfirmation, kYesNo, 0,
                            DialogRendering::Classic);
    enter.join();
    DrainQuit();
    EXPECT_EQ(result, 6); // Yes is the default when there is no OK

    auto escape = Drive(L"Confirm", [](HWND d) { Press(d, VK_ESCAPE); });
    result = MessageDlg(L"Go on?", TMsgDlgType::mtConfirmation, kYesNo, 0, DialogRendering::Classic);
    escape.join();
    DrainQuit();
    EXPECT_EQ(result, 7); // No stands in for Cancel

    auto yes = Drive(L"Confirm", [](HWND d) {
        ::PostMessageW(ButtonWithText(d, L"&Yes"), BM_CLICK, 0, 0);
    });
    result = MessageDlg(L"Go on?", TMsgDlgType::mtConfirmation, kYesNo, 0, DialogRendering::Classic);
    yes.join();
    EXPECT_EQ(result, 6);
}

TEST(ClassicMessageForm, CustomKindIsTitledWithTheApplicationAndLaysOutItsParts) {
    std::atomic<bool> checked{false};
    auto check = Drive(L"Snapquery 1.5", [&](HWND d) {
        RECT client{};
        ::GetClientRect(d, &client);
        HWND ok = ButtonWithText(d, L"OK");
        RECT button{};
        ::GetWindowRect(ok, &button);
        ::MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&button), 2);
        // One button, centred, at least 50 dialog units wide: 50 X / 4
        // pixels, X the average width of the message font's letters.
        const int left = button.left, right = client.right - button.right;
        checked = ok && std::abs(left - right) <= 1 &&
                  button.right - button.left >= ::MulDiv(50, MessageFontCharWidth(), 4);
        ::PostMessageW(ok, BM_CLICK, 0, 0);
    });
    const int result = MessageDlg(L"Current clipboard text: x", TMsgDlgType::mtCustom,
                                  Buttons(TMsgDlgBtn::mbOK), 0, DialogRendering::Classic);
    check.join();
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(checked);
}

TEST(ClassicMessageForm, AButtonCommandSentFromAnotherThreadClosesItAtOnce) {
    // Screen readers and UI automation send their commands.
    auto send = Drive(L"Information", [](HWND d) {
        ::Sleep(300); // nothing else left in its queue to wake its loop
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(d, WM_COMMAND, IDOK, 0, SMTO_BLOCK, 2000, &ignored);
    });
    const int result = MessageDlg(L"sent", TMsgDlgType::mtInformation, Buttons(TMsgDlgBtn::mbOK), 0,
                                  DialogRendering::Classic);
    send.join();
    DrainQuit();
    EXPECT_EQ(result, 1);
}

TEST(ClassicMessageForm, CtrlCCopiesTheFramedText) {
    SetClipboardText(Application().Handle(), u"before");
    auto copy = Drive(L"Information", [](HWND d) {
        ::SetForegroundWindow(d);
        ::Sleep(200);
        Key(VK_CONTROL, false);
        Key('C', false);
        Key('C', true);
        Key(VK_CONTROL, true);
        ::Sleep(500);
        ::PostMessageW(ButtonWithText(d, L"OK"), BM_CLICK, 0, 0);
    });
    MessageDlg(L"\x03B1\x03B2\x03B3", TMsgDlgType::mtInformation, Buttons(TMsgDlgBtn::mbOK), 0,
               DialogRendering::Classic);
    copy.join();
    const std::wstring rule(27, L'-');
    EXPECT_EQ(ToWide(ReadClipboardText(Application().Handle())),
              rule + L"\r\nInformation\r\n" + rule + L"\r\n\x03B1\x03B2\x03B3\r\n" + rule +
                  L"\r\nOK   \r\n" + rule + L"\r\n");
}

TEST(TaskDialogRendering, KindsGiveTheirTitlesAndTheCustomKindTheApplications) {
    // The default rendering: the test harness provides visual styles, and
    // only a run outside it (a Windows desktop in the classic theme) skips.
    if (!TaskDialogsAvailable()) {
        if (::GetEnvironmentVariableW(L"SNQ_TEST_HARNESS", nullptr, 0) != 0)
            FAIL() << "task dialogs are not available";
        GTEST_SKIP() << "no visual styles here";
    }
    for (auto [kind, title] : {std::pair{TMsgDlgType::mtWarning, L"Warning"},
                               std::pair{TMsgDlgType::mtError, L"Error"},
                               std::pair{TMsgDlgType::mtInformation, L"Information"},
                               std::pair{TMsgDlgType::mtCustom, L"Snapquery 1.5"}}) {
        auto ok = Drive(title, [](HWND d) { ::PostMessageW(ButtonWithText(d, L"OK"), BM_CLICK, 0, 0); });
        EXPECT_EQ(MessageDlg(L"text", kind, Buttons(TMsgDlgBtn::mbOK), 0), 1);
        ok.join();
        DrainQuit();
    }
    // Yes/No: each button returns its own result. (Wine's task dialog does
    // not act on Escape, so the classic test covers the cancel mapping.)
    auto escape = Drive(L"Confirm", [](HWND d) {
        ::PostMessageW(ButtonWithText(d, L"&No"), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(MessageDlg(L"Go on?", TMsgDlgType::mtConfirmation, kYesNo, 0), 7);
    escape.join();
    DrainQuit();
}

TEST(ModalMachinery, AnErrorWhileWalkingTheThreadsWindowsLeavesAfterTheWalk) {
    // Two windows of this thread, so that a walk that went on would visit
    // the second.
    UniqueHwnd first(::CreateWindowExW(0, L"STATIC", L"a", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       nullptr, nullptr));
    UniqueHwnd second(::CreateWindowExW(0, L"STATIC", L"b", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        nullptr, nullptr));
    int visited = 0;
    EXPECT_THROW(ForEachThreadWindow([&](HWND) {
                     ++visited;
                     throw std::bad_alloc();
                 }),
                 std::bad_alloc);
    EXPECT_EQ(visited, 1);
}
