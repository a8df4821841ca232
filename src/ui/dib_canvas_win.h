// A 32-bit top-down DIB section selected into its own memory DC, its pixels reachable in memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "ui/handle_win.h"

namespace viz {

class DibCanvas {
 public:
  // A new black canvas (the old one released); false, and an empty canvas, on failure.
  bool Create(int width, int height);
  void Reset();
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  uint32_t* bits() const { return bits_; }  // rows top-down, 0x00RRGGBB
  explicit operator bool() const { return bits_ != nullptr; }

 private:
  // Destroyed in reverse order: the canvas bitmap is selected out first, then it and the DC go.
  UniqueDc dc_;
  UniqueBitmap bmp_;
  std::optional<SelectGuard> selection_;
  uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace viz
