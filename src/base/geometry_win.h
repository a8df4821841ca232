// Conversions between the program's Point and Rect and Win32's POINT and RECT.
#pragma once

#include <windows.h>

#include "base/geometry.h"

namespace viz {

inline Point ToPoint(POINT p) { return Point{p.x, p.y}; }
inline POINT ToPOINT(Point p) { return POINT{p.x, p.y}; }
inline Rect ToRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace viz
