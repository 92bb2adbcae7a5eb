#pragma once
// Integer scaling as Windows does it, and the program's sizes at a DPI.
// Every size the program lays out is given in 96-DPI units (pixels at 100 %)
// and scaled to the window's DPI when it is used.

namespace snq {

inline constexpr int kDefaultDpi = 96;

// a × b / c rounded to the nearest integer, halves away from zero, as
// Win32's MulDiv; -1 when c is 0 or the result does not fit.
int MulDiv(int a, int b, int c) noexcept;

// `units` 96-DPI units at `dpi`.
inline int ScaleTo(int units, int dpi) noexcept { return MulDiv(units, dpi, kDefaultDpi); }

// A part of the desktop, such as a monitor's work area (the screen without
// the taskbar), in desktop coordinates: a monitor left of the primary one
// has negative ones.
struct ScreenArea {
    int left = 0, top = 0, width = 0, height = 0;
};

struct ScreenPoint {
    int x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// Where a window of `width` × `height` stands centred on `area`: its
// top-left corner. One larger than the area keeps its top-left corner (and
// title bar) on it.
ScreenPoint CenterIn(const ScreenArea& area, int width, int height) noexcept;

} // namespace snq
