// Points and rectangles in device pixels of the virtual desktop (or of a window's client area).
// A rectangle's right and bottom edges are exclusive, as in Win32 RECT.
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
