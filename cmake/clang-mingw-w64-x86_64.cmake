# The second compiler: clang for 64-bit Windows, with MinGW-w64's headers,
# C++ library, runtime and linker (the win32-thread variant, as the release
# build).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Debian names GCC's folder after its thread model ("12-win32"), which clang
# does not take for a GCC version: its C++ headers and libraries are named.
file(GLOB SNQ_MINGW_GCC LIST_DIRECTORIES true /usr/lib/gcc/x86_64-w64-mingw32/*-win32)
list(GET SNQ_MINGW_GCC -1 SNQ_MINGW_GCC)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${SNQ_MINGW_GCC}/include/c++ \
-isystem ${SNQ_MINGW_GCC}/include/c++/x86_64-w64-mingw32 -isystem ${SNQ_MINGW_GCC}/include/c++/backward")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${SNQ_MINGW_GCC}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-L${SNQ_MINGW_GCC}")
