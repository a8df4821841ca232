// The program's one point and one rectangle: device pixels of the virtual desktop, of a window's
// client area or of a bitmap. A rectangle's right and bottom edges are exclusive, as in Win32
// RECT. Conversions to and from POINT and RECT are in geometry_win.h.
#pragma once

#include <cstdint>

namespace viz {

struct Point {
  int32_t x = 0;
  int32_t y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  // The rectangle of a size whose top-left corner is (x, y).
  static constexpr Rect OfSize(int32_t x, int32_t y, int32_t width, int32_t height) {
    return Rect{x, y, x + width, y + height};
  }

  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  Point topLeft() const { return {left, top}; }

  friend bool operator==(const Rect&, const Rect&) = default;
};

// A line from `from` to `to`; like GDI's LineTo the end point itself is not drawn.
struct Segment {
  Point from;
  Point to;

  friend bool operator==(const Segment&, const Segment&) = default;
};

}  // namespace viz
