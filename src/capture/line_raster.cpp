#include "capture/line_raster.h"

#include <algorithm>

namespace viz {
namespace {

constexpr int kR2Not = 6, kR2MaskPen = 9, kR2CopyPen = 13;  // GDI's binary raster codes
constexpr uint32_t kRgbMask = 0x00FFFFFF;

template <PenRop Rop>
void Apply(uint32_t* p, uint32_t rgb) {
  if constexpr (Rop == PenRop::Copy) *p = rgb;
  if constexpr (Rop == PenRop::Not) *p = ~*p & kRgbMask;
  if constexpr (Rop == PenRop::Mask) *p &= rgb;
}

// The pixels a segment covers along one axis: from `a` toward `b`, `b` left out, as the
// half-open range [lo, hi).
void Span(int32_t a, int32_t b, int32_t* lo, int32_t* hi) {
  if (b >= a) {
    *lo = a;
    *hi = b;
  } else {
    *lo = b + 1;
    *hi = a + 1;
  }
}

template <PenRop Rop>
void Draw(uint32_t* pixels, int32_t width, int32_t clipBottom, const std::vector<Segment>& segs,
          uint32_t rgb) {
  for (const Segment& s : segs) {
    int32_t lo, hi;
    if (s.from.y == s.to.y) {
      const int32_t y = s.from.y;
      if (y < 0 || y >= clipBottom) continue;
      Span(s.from.x, s.to.x, &lo, &hi);
      lo = std::max(lo, 0);
      hi = std::min(hi, width);
      uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
      for (int32_t x = lo; x < hi; ++x) Apply<Rop>(row + x, rgb);
    } else {
      const int32_t x = s.from.x;
      if (x < 0 || x >= width) continue;
      Span(s.from.y, s.to.y, &lo, &hi);
      lo = std::max(lo, 0);
      hi = std::min(hi, clipBottom);
      for (int32_t y = lo; y < hi; ++y)
        Apply<Rop>(pixels + static_cast<size_t>(y) * static_cast<size_t>(width) + x, rgb);
    }
  }
}

}  // namespace

std::optional<PenRop> PenRopFromR2(int r2) {
  switch (r2) {
    case kR2CopyPen: return PenRop::Copy;
    case kR2Not: return PenRop::Not;
    case kR2MaskPen: return PenRop::Mask;
    default: return std::nullopt;
  }
}

bool RasterSegments(uint32_t* pixels, int32_t width, int32_t height, int32_t clipBottom,
                    const std::vector<Segment>& segments, uint32_t rgb, PenRop rop) {
  for (const Segment& s : segments)
    if (s.from.x != s.to.x && s.from.y != s.to.y) return false;
  if (!pixels || width <= 0 || height <= 0) return true;
  clipBottom = std::clamp(clipBottom, 0, height);
  rgb &= kRgbMask;
  switch (rop) {
    case PenRop::Copy: Draw<PenRop::Copy>(pixels, width, clipBottom, segments, rgb); break;
    case PenRop::Not: Draw<PenRop::Not>(pixels, width, clipBottom, segments, rgb); break;
    case PenRop::Mask: Draw<PenRop::Mask>(pixels, width, clipBottom, segments, rgb); break;
  }
  return true;
}

}  // namespace viz
