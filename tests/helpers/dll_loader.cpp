// Loads a DLL by its bare name the unprotected way (the program's own folder
// first), for the DLL search-order test to show that a planted DLL would be
// loaded by a program that does not guard against it.
//   dll_loader.exe <name>
#include <windows.h>

int wmain(int argc, wchar_t** argv) { return argc > 1 && ::LoadLibraryW(argv[1]) ? 0 : 1; }
