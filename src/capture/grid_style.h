// How the grid is drawn, as the grid commands hold it. The commands are the one place the grid's
// colour, pen and sub-grid live; the picture asks them each cycle rather than keeping a copy.
// Platform independent.
#pragma once

#include <cstdint>

#include "commands/command_list.h"

namespace viz {

// How grid lines combine with the pixels below them.
enum class GridPen { Copy, Not, Mask };

struct GridStyle {
  uint32_t color = 0x999999;  // COLORREF 0x00BBGGRR
  GridPen pen = GridPen::Copy;
  bool subShown = true;
  uint32_t subColor = 0xFF0000;

  bool operator==(const GridStyle&) const = default;
};

// The checked grid-colour command gives the colour (its tag) and the pen (Invert inverts,
// Transparent masks, the others copy); the checked sub-grid command gives the sub-grid colour
// (its tag), or no sub-grid.
GridStyle GridStyleOf(const CommandList& commands);

}  // namespace viz
