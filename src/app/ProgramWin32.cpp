#include "app/ProgramWin32.h"

#include <optional>

#include "about/AboutWin32.h"
#include "app/CommandLine.h"
#include "app/MainTexts.h"
#include "app/frmMainWin32.h"
#include "framework/ApplicationWin32.h"
#include "framework/DynamicLibraryWin32.h"
#include "framework/ErrorText.h"
#include "framework/Exceptions.h"
#include "framework/MessageDialogWin32.h"
#include "framework/Text.h"
#include "framework/Trace.h"
#include "hotkeys/KeyboardLayoutWin32.h"
#include "framework/TextsWin32.h"
#include "settings/Policies.h"
#include "settings/RegistryWin32.h"
#include "settings/RunEntryWin32.h"
#include "framework/Texts.h"

#include <shellapi.h>

namespace snq {

namespace {

// The box for an error before the message loop runs; the program then ends.
void ShowStartupError(std::exception_ptr error) noexcept {
    try {
        const char* className = "Exception";
        const void* address = nullptr;
        try {
            std::rethrow_exception(error);
        } catch (const EException& e) {
            className = e.ClassName();
            address = e.Address();
        } catch (...) {
        }
        std::wstring module = ExecutablePath();
        module = module.substr(module.find_last_of(L"\\/:") + 1);
        HMODULE base = nullptr;
        if (address)
            ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                     GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                 static_cast<LPCWSTR>(address), &base);
        const auto offset = reinterpret_cast<std::uintptr_t>(address) -
                            reinterpret_cast<std::uintptr_t>(base);
        const std::wstring text = ToWide(StartupErrorText(className, ToU16(module), address ? offset : 0,
                                                     ErrorMessageOf(error)));
        ::MessageBoxW(nullptr, text.c_str(), ToWide(Tr(TextId::ErrorApplication)).c_str(),
                      MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    } catch (...) {
    }
}

// The program's parts, in the order of their creation; they go in the
// reverse. The key names' unit state comes before every form and goes after
// them; the About window is made after the main form and goes before it.
class TProgram {
public:
    // Without `tray`: only for a search from the command line.
    explicit TProgram(HINSTANCE instance, bool tray = true) : application_(instance) {
        application_.ShowMainForm = false;
        application_.MainFormOnTaskBar = false;
        application_.SetTitle(ToWide(kApplicationTitle));
        application_.AcceptExitRequest(kExitRequestMessage);
        TForm1& mainForm = mainForm_.emplace(hotKeyText_, tray);
        mainForm.AboutBox = &aboutBox_.emplace();
        // The session's end tears everything down from inside its message:
        // the process ends there.
        application_.OnEndSession = [this] {
            DestroyForms();
            hotKeyText_.Shutdown();
        };
    }
    ~TProgram() { DestroyForms(); }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    void Run() { application_.Run(); }
    TForm1& MainForm() { return *mainForm_; }

private:
    void DestroyForms() noexcept {
        if (mainForm_) mainForm_->AboutBox = nullptr;
        aboutBox_.reset();
        mainForm_.reset();
    }

    // The unit state's start-up and shutdown steps.
    struct HotKeyTextUnit {
        THotKeyText& text;
        explicit HotKeyTextUnit(THotKeyText& unit) : text(unit) {}
        ~HotKeyTextUnit() { text.Shutdown(); }
        HotKeyTextUnit(const HotKeyTextUnit&) = delete;
        HotKeyTextUnit& operator=(const HotKeyTextUnit&) = delete;
    };

    Win32KeyboardLayout keyboard_;
    THotKeyText hotKeyText_{keyboard_};
    HotKeyTextUnit unit_{hotKeyText_};
    TApplication application_;
    std::optional<TForm1> mainForm_;
    std::optional<TAboutBox> aboutBox_;
};

// Says `text` on the console the program was started from, else in a box.
void Say(HINSTANCE instance, const std::u16string& text, TMsgDlgType kind) {
    if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
        const UniqueKernelHandle console(::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                                       OPEN_EXISTING, 0, nullptr));
        const std::wstring line = ToWide(text) + L"\r\n";
        DWORD written = 0;
        if (console.get() != INVALID_HANDLE_VALUE &&
            ::WriteConsoleW(console.get(), line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr))
            return;
    }
    // The box is the program's own, titled as ever.
    std::optional<TApplication> own;
    if (!HasApplication()) own.emplace(instance).SetTitle(ToWide(kApplicationTitle));
    MessageDlg(ToWide(text), kind, Buttons(TMsgDlgBtn::mbOK), 0);
}

// Hands a search from the command line to the copy running in this session
// (its window), which answers once it has taken it.
CommandExit HandOver(HWND running, const std::vector<std::u16string>& args) {
    std::u16string data = JoinArguments(args);
    COPYDATASTRUCT copy{kCommandRequestData, static_cast<DWORD>(data.size() * sizeof(char16_t)), data.data()};
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, 10000,
                              &answer) && answer > 0 && answer <= 6)
        return static_cast<CommandExit>(answer - 1);
    return CommandExit::Failed;
}

// Says why a search from the command line did not open (what went wrong in
// the search itself was said where it ran), and returns the exit code.
int Said(HINSTANCE instance, CommandExit exit, const CommandRequest& request) {
    switch (exit) {
    case CommandExit::NoSuchProfile: Say(instance, Tr(TextId::CmdNoProfile, {*request.profile}), TMsgDlgType::mtError); break;
    case CommandExit::NothingToSearch: Say(instance, Tr(TextId::MsgSearchNoText), TMsgDlgType::mtInformation); break;
    case CommandExit::Refused: Say(instance, Tr(TextId::SettingsManaged), TMsgDlgType::mtError); break;
    default: break;
    }
    return static_cast<int>(exit);
}

// The program's arguments, its name left out.
std::vector<std::u16string> Arguments() {
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::u16string> out;
    for (int i = 1; args && i < count; ++i) out.push_back(ToU16(args[i]));
    ::LocalFree(args);
    return out;
}

} // namespace

int RunProgram(HINSTANCE instance) {
    RestrictDllSearchToSystem();
    SetTraceSink([](std::u16string_view line) { ::OutputDebugStringW(ToWide(line).c_str()); });
    const std::vector<std::u16string> args = Arguments();
    // The elevated copy the Settings window starts does its one task, and
    // nothing else: no window, no single-instance check.
    if (args.size() == 1 && SameAsciiText(args[0], kRemoveStartEntrySwitch)) return RunStartEntryRemoval();
    // The interface's language, before anything can be said.
    {
        Win32Registry registry;
        UseUiLanguage(LanguageInForce(registry));
    }
    // A search from the command line goes to the copy running in this
    // session, else it is made here, without an icon.
    std::optional<CommandRequest> request;
    if (!args.empty()) {
        request = ParseCommandLine(args);
        if (!request || request->usage) {
            Say(instance, Tr(TextId::CmdUsage), request ? TMsgDlgType::mtInformation : TMsgDlgType::mtError);
            return static_cast<int>(request ? CommandExit::Searched : CommandExit::BadArguments);
        }
        if (HWND running = PublishedWindow(kApplicationTitle)) return Said(instance, HandOver(running, args), *request);
    }
    // COM and the common controls are loaded when first needed (the first
    // shell start, the first dialog): most runs never need them.
    std::optional<TProgram> program;
    try {
        program.emplace(instance, !request);
        if (request) return Said(instance, program->MainForm().CommandSearch(*request, false), *request);
    } catch (...) {
        if (!request) {
            ShowStartupError(std::current_exception());
            return 1;
        }
        Say(instance, ErrorMessageOf(std::current_exception()), TMsgDlgType::mtError);
        return static_cast<int>(CommandExit::Failed);
    }
    program->Run();
    return 0;
}

} // namespace snq
