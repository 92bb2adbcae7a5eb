// Replacements for parts of the C++ runtime that a static executable would
// otherwise carry whole.
//
// The default terminate handler prints the type of an uncaught exception,
// demangled, and so pulls in the whole demangler. The standard containers'
// error helpers build std::logic_error and its kin, whose copy-on-write
// strings pull in the runtime's string and random-device code (about 60 KB).
// No exception leaves this program's boundaries, and the containers' errors
// (a request too large, an index out of range) cannot be met by the
// program's own use of them; when they are, they reach the error box as the
// program's own errors.
#include <cstdlib>
#include <new>

#if defined(__GLIBCXX__) && defined(__MINGW32__)
#include "framework/Texts.h"
#include "framework/Exceptions.h"

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_alloc(); }
void __throw_length_error(const char*) { throw std::bad_alloc(); }
void __throw_logic_error(const char*) { throw snq::EInvalidOperation(snq::Tr(snq::TextId::ErrorInvalidOperation)); }
void __throw_out_of_range_fmt(const char*, ...) {
    throw snq::EInvalidOperation(snq::Tr(snq::TextId::ErrorIndex));
}
void __throw_bad_function_call() { throw snq::EInvalidOperation(snq::Tr(snq::TextId::ErrorEmptyFunction)); }
} // namespace std
#endif

#if defined(__MINGW32__)
#include <windows.h>

#include <cstdint>

// The stack canary (-fstack-protector). Its runtime library seeds it with
// CryptAcquireContext, which loads a cryptographic provider at every start;
// the system's RtlGenRandom (SystemFunction036, in advapi32, which the
// program loads anyway) gives the same randomness for far less.
extern "C" {
__declspec(dllimport) BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length);

// A fixed value until the constructor below replaces it, before any of the
// program's own code runs.
std::uintptr_t __stack_chk_guard = static_cast<std::uintptr_t>(0x2f5a8c1d7e6b4903ull);

// A smashed stack, or a checked copy past its buffer: the process ends at
// once, with nothing more run on a stack that cannot be trusted.
void __stack_chk_fail() { __builtin_trap(); }
void __stack_chk_fail_local() { __builtin_trap(); }
void __chk_fail() { __builtin_trap(); }
}

namespace {
__attribute__((constructor(101))) void SeedStackGuard() {
    std::uintptr_t seed = 0;
    if (SystemFunction036(&seed, sizeof(seed)) && seed != 0) __stack_chk_guard = seed;
}
} // namespace
#endif
