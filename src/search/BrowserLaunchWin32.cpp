#include "search/BrowserLaunchWin32.h"

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <string>

#include "framework/ComWin32.h"
#include "framework/DynamicLibraryWin32.h"
#include "framework/Exceptions.h"
#include "framework/SystemErrorWin32.h"
#include "framework/Text.h"
#include "framework/Trace.h"
#include "framework/Win32Handles.h"
#include "search/Browsers.h"
#include "search/SearchAddress.h"
#include "framework/Texts.h"

namespace snq {

namespace {

using Microsoft::WRL::ComPtr;

// Automation, loaded with the first automation search, with COM ready on
// the GUI thread from then on.
struct Ole {
    ComApartment com;
    DynamicLibrary ole32{L"ole32.dll"};
    DynamicLibrary oleaut32{L"oleaut32.dll"};
    decltype(&::CLSIDFromProgID) CLSIDFromProgID =
        ole32.Get<decltype(&::CLSIDFromProgID)>("CLSIDFromProgID");
    decltype(&::CoCreateInstance) CoCreateInstance =
        ole32.Get<decltype(&::CoCreateInstance)>("CoCreateInstance");
    decltype(&::SysAllocStringLen) SysAllocStringLen =
        oleaut32.Get<decltype(&::SysAllocStringLen)>("SysAllocStringLen");
    decltype(&::SysFreeString) SysFreeString = oleaut32.Get<decltype(&::SysFreeString)>("SysFreeString");

    bool Usable() const {
        return CLSIDFromProgID && CoCreateInstance && SysAllocStringLen && SysFreeString;
    }
};

Ole& Api() {
    static Ole ole; // GUI thread only
    return ole;
}

// Owns a BSTR.
class Bstr {
public:
    explicit Bstr(std::wstring_view text)
        : value_(Api().SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
        if (!value_) throw EOutOfResources(Tr(TextId::ErrorOutOfMemory));
    }
    ~Bstr() { Api().SysFreeString(value_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR& get() { return value_; }

private:
    BSTR value_ = nullptr;
};

// The EXCEPINFO of a failed Invoke, with its strings released.
struct ExceptionInfo : EXCEPINFO {
    ExceptionInfo() : EXCEPINFO{} {}
    ~ExceptionInfo() {
        Api().SysFreeString(bstrSource);
        Api().SysFreeString(bstrDescription);
        Api().SysFreeString(bstrHelpFile);
    }
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;
};

DISPID Resolve(IDispatch& object, const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 0;
    if (FAILED(object.GetIDsOfNames(IID_NULL, names, 1, ::GetThreadLocale(), &id))) {
        throw EOleError(Tr(TextId::ErrorAutomationMethod, {ToU16(name)}));
    }
    return id;
}

void Invoke(IDispatch& object, DISPID id, WORD flags, DISPPARAMS& params) {
    ExceptionInfo info;
    const HRESULT hr = object.Invoke(id, IID_NULL, ::GetThreadLocale(), flags, &params, nullptr,
                                     &info, nullptr);
    if (SUCCEEDED(hr)) return;
    if (hr == DISP_E_EXCEPTION) {
        if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
        if (info.bstrDescription && *info.bstrDescription)
            throw EOleException(ToU16(std::wstring(info.bstrDescription)));
        throw EOleException(ToU16(OleErrorText(info.scode ? info.scode : hr)));
    }
    throw EOleSysError(ToU16(OleErrorText(hr)));
}

} // namespace

std::size_t ShellAddressLimit() {
    // Room for a browser command line of up to about 250 characters.
    constexpr std::size_t kWineShellAddressLimit = 768;
    static const bool wine =
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine ? kWineShellAddressLimit : kMaxAddressLength;
}

void OpenInIE(std::wstring_view address) {
    // A new instance every time; none is looked for or reused.
    Api().com.Enter();
    if (!Api().Usable()) throw EOleSysError(ToU16(OleErrorText(E_NOINTERFACE)));
    CLSID clsid{};
    HRESULT hr = Api().CLSIDFromProgID(kInternetExplorerProgId, &clsid);
    ComPtr<IDispatch> browser;
    if (SUCCEEDED(hr))
        hr = Api().CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(browser.GetAddressOf()));
    if (FAILED(hr))
        throw EOleSysError(ToU16(OleErrorText(hr) + L", ProgID: \"" + kInternetExplorerProgId + L"\""));

    const DISPID visible = Resolve(*browser.Get(), L"Visible");
    VARIANT on{};
    on.vt = VT_BOOL;
    on.boolVal = VARIANT_TRUE;
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS put{&on, &putId, 1, 1};
    Invoke(*browser.Get(), visible, DISPATCH_PROPERTYPUT, put);

    const DISPID navigate = Resolve(*browser.Get(), L"Navigate");
    Bstr url(address);
    VARIANT arg{};
    arg.vt = VT_BSTR | VT_BYREF;
    arg.pbstrVal = &url.get();
    DISPPARAMS call{&arg, nullptr, 1, 0};
    Invoke(*browser.Get(), navigate, DISPATCH_METHOD, call);
    // The reference goes with `browser`; the window is the user's from here.
}

void OpenInProgram(std::u16string_view program, std::u16string_view privateSwitch, std::u16string_view address) {
    // The program itself, never a command interpreter or the shell on a
    // built line: the address is one argument, or nothing starts.
    // A registered command may name its program through variables
    // (%ProgramFiles%).
    wchar_t expanded[MAX_PATH];
    const DWORD length = ::ExpandEnvironmentStringsW(ToWide(program).c_str(), expanded, MAX_PATH);
    const std::u16string path = length && length <= MAX_PATH ? ToU16(expanded) : std::u16string(program);
    const auto line = BrowserCommandLine(path, privateSwitch, address);
    if (!line) {
        Trace(u"refused: a program without its full path, or an address of more than one argument");
        return;
    }
    std::wstring command = ToWide(*line);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(ToWide(path).c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started))
        RaiseLastError(program); // "<program>: <the system's reason>"
    const UniqueKernelHandle process(started.hProcess), thread(started.hThread);
}

} // namespace snq
