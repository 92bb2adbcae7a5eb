#pragma once
// COM for the threads that hand work to the shell or to an automation server.
// ShellExecuteEx may pass a request to shell extensions that COM activates,
// so COM must be ready on the calling thread before it is called.
#include "framework/DynamicLibraryWin32.h"

namespace snq {

// A hold on the calling thread's single-threaded apartment, taken on first
// use (most runs never need COM) and given back when the object goes, on the
// same thread.
class ComApartment {
public:
    ComApartment() = default;
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // Enters the apartment unless this object has already.
    void Enter();

private:
    DynamicLibrary ole32_;
    bool entered_ = false;
};

} // namespace snq
