#include <windows.h>

#include "app/ProgramWin32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return snq::RunProgram(instance); }
