#pragma once
// A system DLL loaded on first use rather than at start: the program's
// start-up then pays only for what every run needs.
#include "framework/Win32Handles.h"

namespace snq {

// From the system folder only: a DLL of that name beside the executable (in
// Downloads, say) is never loaded in its place.
class DynamicLibrary {
public:
    DynamicLibrary() = default;
    explicit DynamicLibrary(const wchar_t* name);
    // The function `name`, or nullptr when the DLL or the export is missing.
    template <class F> F Get(const char* name) const {
        return module_ ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module_.get(), name)))
                       : nullptr;
    }

private:
    UniqueModule module_;
};

// Makes every later load of a DLL by name, and of the DLLs it depends on,
// look in the system folder only. Called first thing at start.
void RestrictDllSearchToSystem();

// The common controls (version 6, through the manifest), loaded on first use.
struct CommonControls {
    DynamicLibrary library{L"comctl32.dll"};
    decltype(&::ImageList_Create) ImageList_Create = library.Get<decltype(&::ImageList_Create)>("ImageList_Create");
    decltype(&::ImageList_Add) ImageList_Add = library.Get<decltype(&::ImageList_Add)>("ImageList_Add");
    decltype(&::ImageList_Destroy) ImageList_Destroy =
        library.Get<decltype(&::ImageList_Destroy)>("ImageList_Destroy");
    // Only version 6 (through the manifest) has it; nullptr elsewhere.
    decltype(&::TaskDialogIndirect) TaskDialogIndirect =
        library.Get<decltype(&::TaskDialogIndirect)>("TaskDialogIndirect");
    decltype(&::InitCommonControlsEx) InitCommonControlsEx =
        library.Get<decltype(&::InitCommonControlsEx)>("InitCommonControlsEx");
};
const CommonControls& Comctl();

SNQ_UNIQUE_HANDLE(UniqueImageList, HIMAGELIST, nullptr, Comctl().ImageList_Destroy(h));

} // namespace snq
