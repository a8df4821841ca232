// A model of the magnified view, for checking every pixel of it from outside: the image the
// program must show for a capture point, zoom and grid state, computed from what the screen
// holds there and the drawing rules (grid every cell from zoom 4, sub-grid every fifth cell
// through the centre cell, a gapped cross-hair below zoom 4, an inverting cursor marker).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "harness.h"

namespace viz::e2e {

inline constexpr int kZooms[10] = {1, 2, 3, 4, 6, 8, 10, 12, 16, 20};
inline constexpr int kRuler = 7;
inline constexpr COLORREF kGray = 0x999999, kBlue = 0xFF0000, kTranslucent = 0xCCCCCC;

int HalfAway(int num, int den);  // num / den rounded half away from zero (num, den > 0)
COLORREF Invert(COLORREF c);

// What the test knows about the program's window, read from outside.
struct ViewFrame {
  POINT viewOrigin{};  // screen point of the view's (0, 0): client origin + toolbar height
  int clientWidth = 0;
  int panelTop = 0;    // in view coordinates
};

int LineHeightOfTheWindowFont();
// The frame of the program's window with `visibleLines` information lines shown.
std::optional<ViewFrame> FrameOf(HWND app, int visibleLines);

// The image the view must show at `zoom` with the capture point `p`, grid on or off, grid drawn
// with `gridColor` combined by `gridOp` (copy, not, mask). Pixels whose source colour is
// unknown (CLR_INVALID from `source`) are not compared.
struct Expected {
  int width = 0, height = 0;  // the image area, from (kRuler, kRuler) of the view when grid is on
  int origin = 0;             // view coordinate of the image's (0, 0)
  std::vector<COLORREF> px;
  POINT centre{};             // centre cell in view coordinates
  COLORREF& at(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
};

enum class GridOp { Copy, Not, Mask };

// The colour the screen shows at a point, or CLR_INVALID where the test does not know it.
using SourceColors = std::function<COLORREF(POINT)>;
// The pattern inside `known` (a pattern window's rectangle), unknown elsewhere.
SourceColors PatternIn(const RECT& known);

Expected ExpectedImage(const ViewFrame& f, int zoom, POINT p, bool grid, COLORREF gridColor,
                       GridOp op, const SourceColors& source);

// The pixels the cursor marker covers around the centre cell, as GDI draws the square.
std::vector<POINT> MarkerPixels(POINT centre, int zoom, int mw);

// Compares the screen with the expected image; returns the number of differing pixels and
// describes the first few.
int Compare(const ScreenGrab& g, const ViewFrame& f, Expected e, int zoom, bool grid,
            std::string* report);

// Waits until the view of `app` matches the expected image; false with a report otherwise.
bool WaitForView(HWND app, int zoom, POINT p, const SourceColors& source, std::string* report,
                 bool grid = true, COLORREF gridColor = kGray, GridOp op = GridOp::Copy,
                 int visibleLines = 6);

}  // namespace viz::e2e
