#include "ui/dib_canvas_win.h"

#include <algorithm>

namespace viz {

bool DibCanvas::Create(int width, int height) {
  Reset();
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bmp(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bmp || !bits) return false;
  UniqueDc dc(::CreateCompatibleDC(nullptr));
  if (!dc) return false;
  dc_ = std::move(dc);
  bmp_ = std::move(bmp);
  selection_.emplace(dc_.get(), bmp_.get());
  bits_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  // Black, as a fresh bitmap with a black brush would be.
  std::fill(bits_, bits_ + static_cast<size_t>(width) * height, 0u);
  return true;
}

void DibCanvas::Reset() {
  selection_.reset();  // the DC's own bitmap back in before either goes
  dc_.reset();
  bmp_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
}

}  // namespace viz
