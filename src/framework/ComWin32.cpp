#include "framework/ComWin32.h"

#include <objbase.h>

namespace snq {

void ComApartment::Enter() {
    if (entered_) return;
    ole32_ = DynamicLibrary(L"ole32.dll");
    const auto initialize = ole32_.Get<decltype(&::CoInitializeEx)>("CoInitializeEx");
    // No OLE 1.0 DDE: the shell's own advice for threads that call it.
    entered_ = initialize &&
               SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

ComApartment::~ComApartment() {
    if (!entered_) return;
    if (const auto uninitialize = ole32_.Get<decltype(&::CoUninitialize)>("CoUninitialize"))
        uninitialize();
}

} // namespace snq
