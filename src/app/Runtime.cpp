// The C++ runtime's default terminate handler prints the type of an
// uncaught exception, demangled, and so pulls the whole demangler into a
// static executable. No exception leaves this program's boundaries, so the
// handler only has to end the process.
#include <cstdlib>

#if defined(__GLIBCXX__) && defined(__MINGW32__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx
#endif
