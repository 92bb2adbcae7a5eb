#include "app/ProgramWin32.h"

#include <optional>

#include "about/AboutWin32.h"
#include "app/MainTexts.h"
#include "app/frmMainWin32.h"
#include "framework/ApplicationWin32.h"
#include "framework/DynamicLibraryWin32.h"
#include "framework/ErrorText.h"
#include "framework/Exceptions.h"
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
    explicit TProgram(HINSTANCE instance) : application_(instance) {
        application_.ShowMainForm = false;
        application_.MainFormOnTaskBar = false;
        application_.SetTitle(ToWide(kApplicationTitle));
        application_.AcceptExitRequest(kExitRequestMessage);
        TForm1& mainForm = mainForm_.emplace(hotKeyText_);
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

} // namespace

namespace {

// Whether the program was started with `option` as its only argument.
bool StartedWith(const wchar_t* option) {
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const bool with = args && count == 2 && ::lstrcmpiW(args[1], option) == 0;
    ::LocalFree(args);
    return with;
}

} // namespace

int RunProgram(HINSTANCE instance) {
    RestrictDllSearchToSystem();
    SetTraceSink([](std::u16string_view line) { ::OutputDebugStringW(ToWide(line).c_str()); });
    // The elevated copy the Settings window starts does its one task, and
    // nothing else: no window, no single-instance check.
    if (StartedWith(ToWide(kRemoveStartEntrySwitch).c_str())) return RunStartEntryRemoval();
    // The interface's language, before anything can be said.
    {
        Win32Registry registry;
        UseUiLanguage(LanguageInForce(registry));
    }
    // COM and the common controls are loaded when first needed (the first
    // shell start, the first dialog): most runs never need them.
    std::optional<TProgram> program;
    try {
        program.emplace(instance);
    } catch (...) {
        ShowStartupError(std::current_exception());
        return 1;
    }
    program->Run();
    return 0;
}

} // namespace snq
