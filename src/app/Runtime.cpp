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
#include "framework/Exceptions.h"

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_alloc(); }
void __throw_length_error(const char*) { throw std::bad_alloc(); }
void __throw_logic_error(const char*) { throw snq::EInvalidOperation(u"Invalid operation"); }
void __throw_out_of_range_fmt(const char*, ...) {
    throw snq::EInvalidOperation(u"Index out of range");
}
void __throw_bad_function_call() { throw snq::EInvalidOperation(u"Call of an empty function"); }
} // namespace std
#endif
