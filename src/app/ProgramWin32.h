#pragma once
#include <windows.h>

namespace snq {
// The entry sequence; returns the process exit code.
int RunProgram(HINSTANCE instance);
} // namespace snq
