# The release build: MinGW-w64's win32-thread variant, whose runtime needs no
# pthread library. The program uses Win32 threads and locks of its own; the
# test tree uses the posix variant, which GoogleTest needs.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-win32)
