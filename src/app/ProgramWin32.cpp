#include "app/ProgramWin32.h"

#include <memory>

#include "about/AboutWin32.h"
#include "app/MainTexts.h"
#include "app/frmMainWin32.h"
#include "framework/ApplicationWin32.h"
#include "framework/DynamicLibraryWin32.h"
#include "framework/ErrorText.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"
#include "hotkeys/KeyboardLayoutWin32.h"

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
        const std::wstring text = W(StartupErrorText(className, U(module), address ? offset : 0,
                                                     U(ErrorMessageOf(error))));
        ::MessageBoxW(nullptr, text.c_str(), L"Application Error",
                      MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    } catch (...) {
    }
}

} // namespace

int RunProgram(HINSTANCE instance) {
    RestrictDllSearchToSystem();
    // The key names' unit state comes before every form and goes after them.
    Win32KeyboardLayout keyboard;
    THotKeyText hotKeyText(keyboard);
    hotKeyText.Startup();
    struct Shutdown {
        THotKeyText& text;
        ~Shutdown() { text.Shutdown(); }
    } shutdown{hotKeyText};

    // COM and the common controls are loaded when first needed (the first
    // automation search, the first dialog): most runs never need them.

    std::unique_ptr<TApplication> application;
    TAboutBox* aboutBox = nullptr;
    std::unique_ptr<TForm1> mainForm;
    std::unique_ptr<TAboutBox> aboutOwner;
    // The forms go in the reverse of their creation: the About window first.
    auto destroyForms = [&] {
        aboutOwner.reset();
        aboutBox = nullptr;
        mainForm.reset();
    };
    try {
        application = std::make_unique<TApplication>(instance);
        application->ShowMainForm = false;
        application->MainFormOnTaskBar = false;
        application->SetTitle(W(kApplicationTitle));
        mainForm = std::make_unique<TForm1>(hotKeyText, aboutBox);
        aboutOwner = std::make_unique<TAboutBox>();
        aboutBox = aboutOwner.get();
        application->OnEndSession = [&] {
            destroyForms();
            hotKeyText.Shutdown();
        };
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        ShowStartupError(error);
        return 1;
    }
    application->Run();
    destroyForms();
    return 0;
}

} // namespace snq
