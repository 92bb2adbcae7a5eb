// Stands in for Internet Explorer's automation server: a local COM server
// whose object answers "Visible" and "Navigate" and records every call to
// %TEMP%\snq-automation.log. One process per instance (REGCLS_SINGLEUSE).
// When %TEMP%\snq-automation-fail exists, Navigate fails with a description.
#include <windows.h>
#include <oleauto.h>

#include <string>

// {6B1C2E0A-5A1D-4C8E-9F3B-2D7A1E5C9B40}
static const CLSID kServerClsid = {0x6b1c2e0a, 0x5a1d, 0x4c8e,
                                   {0x9f, 0x3b, 0x2d, 0x7a, 0x1e, 0x5c, 0x9b, 0x40}};

namespace {

std::wstring TempFile(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

void Log(const std::wstring& text) {
    const std::wstring line = std::to_wstring(::GetCurrentProcessId()) + L" " + text + L"\n";
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    HANDLE file = ::CreateFileW(TempFile(L"snq-automation.log").c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size() - 1), &written, nullptr);
    ::CloseHandle(file);
}

class Browser final : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        if (--refs_ == 0) {
            Log(L"released");
            ::PostQuitMessage(0);
            delete this;
            return 0;
        }
        return refs_;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (count != 1) return E_INVALIDARG;
        if (::lstrcmpiW(names[0], L"Visible") == 0) ids[0] = 1;
        else if (::lstrcmpiW(names[0], L"Navigate") == 0) ids[0] = 2;
        else return DISP_E_UNKNOWNNAME;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT*, EXCEPINFO* error, UINT*) override {
        if (id == 1 && (flags & DISPATCH_PROPERTYPUT) && params->cArgs == 1) {
            const VARIANT& v = params->rgvarg[0];
            Log(L"Visible vt=" + std::to_wstring(v.vt) + L" value=" +
                std::to_wstring(v.vt == VT_BOOL ? v.boolVal : 0));
            return S_OK;
        }
        if (id == 2 && (flags & DISPATCH_METHOD)) {
            std::wstring line = L"Navigate args=" + std::to_wstring(params->cArgs);
            if (params->cArgs >= 1) {
                const VARIANT& v = params->rgvarg[params->cArgs - 1];
                line += L" vt=" + std::to_wstring(v.vt);
                if (v.vt == (VT_BSTR | VT_BYREF) && v.pbstrVal && *v.pbstrVal)
                    line += L" url=" + std::wstring(*v.pbstrVal, ::SysStringLen(*v.pbstrVal));
            }
            Log(line);
            if (::GetFileAttributesW(TempFile(L"snq-automation-fail").c_str()) !=
                INVALID_FILE_ATTRIBUTES) {
                if (error) {
                    *error = EXCEPINFO{};
                    error->scode = E_FAIL;
                    error->bstrDescription = ::SysAllocString(L"Navigation refused by the test server");
                }
                return DISP_E_EXCEPTION;
            }
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    ULONG refs_ = 1;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        Log(L"created");
        auto* browser = new Browser();
        const HRESULT hr = browser->QueryInterface(iid, out);
        browser->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

} // namespace

int wmain() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Factory factory;
    DWORD cookie = 0;
    if (FAILED(::CoRegisterClassObject(kServerClsid, &factory, CLSCTX_LOCAL_SERVER,
                                       REGCLS_SINGLEUSE, &cookie)))
        return 1;
    // Ends when the object is released, or after half a minute at most.
    ::SetTimer(nullptr, 0, 30000, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) break;
        ::DispatchMessageW(&msg);
    }
    ::CoRevokeClassObject(cookie);
    ::CoUninitialize();
    return 0;
}
