#pragma once
// The DPI of the program's windows. The program is per-monitor DPI aware:
// every size it computes is given in 96-DPI units and scaled to the DPI of
// the window's monitor (ScaleTo), and fonts are made for that DPI. Windows
// older than 10 (1607) know only the system DPI, which is used there.
#include <windows.h>

#include "framework/Scale.h"

namespace snq {

// The DPI of the monitor `window` is on (the system's where Windows does
// not tell it per window).
int DpiOf(HWND window);

// The message font (as dialogs use) for `dpi`, at least as much larger than
// Windows' own as "Make text bigger" asks.
LOGFONTW MessageFontFor(int dpi);

// The window rectangle around a client rectangle, for `dpi`.
void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

// A system metric (SM_CXSMICON, say) for `dpi`.
int SystemMetricFor(int index, int dpi);

// The work area of the monitor the user is looking at: the one that holds
// `owner` when it is visible, else the one that holds the mouse pointer
// (which clicked the icon or the menu).
ScreenArea UsersWorkArea(HWND owner);

} // namespace snq
