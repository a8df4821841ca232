// Geometry of the magnified view and everything drawn from it, as plain data: capture size,
// centre cell, grid and sub-grid lines, cursor marker, rulers, the screen areas copied, and the
// point arithmetic of glides, panning and double clicks.
//
// Coordinates are view-bitmap pixels (the bitmap starts under the toolbar) unless said.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/geometry.h"

namespace viz {

inline constexpr int32_t kRulerWidth = 7;
inline constexpr uint32_t kRulerGray = 0x808080;   // COLORREF
inline constexpr uint32_t kRulerBlue = 0xFF0000;   // COLORREF 0x00BBGGRR
inline constexpr uint32_t kRulerMarkerRed = 0x0000FF;

// Rounds halves away from zero (2.5 -> 3, -2.5 -> -3), saturating at the int32_t range.
int32_t RoundHalfAway(double v);
// num / den rounded half away from zero, exactly; den must not be 0.
int32_t RoundDivHalfAway(int64_t num, int64_t den);

struct ViewGeometry {
  int32_t clientWidth = 0;
  int32_t panelTop = 0;  // top of the information panel (FInfoRect.top)
  int32_t zoom = 1;
  bool gridShown = false;

  int32_t rulerWidth = 0;  // FRulerWidth
  Rect imageArea;          // (ruler, ruler, client width, panel top)
  int32_t captureWidth = 0;   // FCaptureWidth = grid columns
  int32_t captureHeight = 0;  // FCaptureHeight = grid rows
  int32_t destWidth = 0;
  int32_t destHeight = 0;
  int32_t halfX = 0;  // FCaptureHalfX: column of the capture point
  int32_t halfY = 0;  // FCaptureHalfY
  int32_t markerWidth = 1;
  Point centerCell;  // FCenterCell: where the centre pixel's colour is read

  int32_t columns() const { return captureWidth; }
  int32_t rows() const { return captureHeight; }
};

// A zoom below 1 is taken as 1. An image area with no room (panel top at or above the ruler)
// gives a capture size of 0.
ViewGeometry ComputeViewGeometry(int32_t clientWidth, int32_t panelTop, int32_t zoom,
                                 bool gridShown);

// Grid lines in the grid colour and sub-grid lines in the sub-grid colour; both empty when the
// grid is hidden. From zoom 4 a full grid with a sub-grid every fifth cell through the centre
// cell; below zoom 4 only the two lines along the rulers and a cross-hair with a gap around the
// centre cell, which takes the sub-grid colour.
struct GridLines {
  std::vector<Segment> grid;
  std::vector<Segment> subGrid;
};
GridLines ComputeGridLines(const ViewGeometry& g, bool subGridShown);

// The inverting square around the centre cell, drawn with a pen of the marker width.
struct CursorMarker {
  Rect square;                    // left, top, left + side, top + side
  std::array<Point, 5> outline;   // closed polyline: top-left, top-right, bottom-right, ...
  int32_t penWidth = 1;
};
CursorMarker ComputeCursorMarker(const ViewGeometry& g);

// Rulers along the top and left edge, drawn at layout time while the grid is shown. `ticks`
// are in drawing order (top ruler, then left ruler); `shown` is false (and the rest empty) when
// the grid is hidden.
struct RulerTick {
  Segment line;
  uint32_t color;
};
struct Rulers {
  bool shown = false;
  Rect topStrip;   // filled white
  Rect leftStrip;  // filled white
  std::vector<RulerTick> ticks;
  std::array<Point, 3> topMarker{};   // filled red triangles pointing at the centre cell
  std::array<Point, 3> leftMarker{};
};
Rulers ComputeRulers(const ViewGeometry& g);

// Screen area copied by a live capture, and the area of the desktop snapshot (whose pixel
// (0, 0) is the desktop's top-left corner) used while paused.
Rect LiveSourceRect(const ViewGeometry& g, Point capturePoint);
Rect PausedSourceRect(const ViewGeometry& g, Point capturePoint, Point desktopOrigin);

// Points visited after `start` when the capture point glides to `target`; the last one is the
// target. Within 5 pixels on both axes it jumps; otherwise four intermediate points at 1/5 ..
// 4/5 of the way, each measured from the start point, then the target.
std::vector<Point> CapturePointGlide(Point start, Point target);
// The same for the mouse cursor: within 10 pixels directly, otherwise nine points at 1/10 ..
// 9/10 of the way, then the target.
std::vector<Point> CursorGlide(Point start, Point target);

// Capture point while panning a frozen view: the content follows the mouse at zoom scale.
Point PanCapturePoint(Point panStartPoint, Point panDown, Point mouse, int32_t zoom);

// Screen point under the cell double-clicked at `clientPoint` (window client coordinates,
// toolbar included); integer division truncates toward zero.
Point DoubleClickCellPoint(const ViewGeometry& g, Point capturePoint, Point clientPoint,
                           int32_t toolbarHeight);

// Zoom list index a zoom step goes to, or none when the step does nothing (a temporary zoom
// is in force, or already at the end of the list).
std::optional<int> ZoomStepIndex(int zoomIndex, int32_t savedZoom, bool up);

}  // namespace viz
