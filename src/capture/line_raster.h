// One-pixel lines written straight into a 32-bit pixel buffer, for the grid: the same pixels as
// GDI's MoveTo + LineTo with a one-pixel solid pen, at a fraction of the cost.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/geometry.h"

namespace viz {

// The pen modes the grid uses.
enum class PenRop { Copy, Not, Mask };

// The GDI binary raster code (R2_COPYPEN, R2_NOT, R2_MASKPEN) as a PenRop; other codes have none.
std::optional<PenRop> PenRopFromR2(int r2);

// Draws each segment from its start up to, not including, its end into `pixels` (top-down rows
// of `width` 0x00RRGGBB pixels, `height` rows), clipped to columns [0, width) and rows
// [0, clipBottom). Segments are drawn one after another, so where two cross the pen mode is
// applied twice (Not restores the pixel), as with separate GDI lines. `rgb` is 0x00RRGGBB.
// Only horizontal and vertical segments are drawn this way: if any other is given nothing is
// drawn and the result is false.
bool RasterSegments(uint32_t* pixels, int32_t width, int32_t height, int32_t clipBottom,
                    const std::vector<Segment>& segments, uint32_t rgb, PenRop rop);

}  // namespace viz
