#include "capture/view_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "commands/command_table.h"

namespace viz {
namespace {

int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Non-negative remainder, so that a negative index still picks a cell of the grid.
int32_t FloorMod(int32_t a, int32_t m) {
  const int32_t r = a % m;
  return r < 0 ? r + m : r;
}

int32_t CeilDiv(int32_t num, int32_t den) {
  return num <= 0 ? 0 : static_cast<int32_t>((static_cast<int64_t>(num) + den - 1) / den);
}

// Centre index of a run of n cells: round-half-away(n / 2) - 1.
int32_t CentreIndex(int32_t n) { return RoundDivHalfAway(n, 2) - 1; }

Point Offset(Point p, int64_t dx, int64_t dy) { return {Saturate(p.x + dx), Saturate(p.y + dy)}; }

std::vector<Point> Glide(Point start, Point target, int32_t jumpLimit, int steps) {
  const int64_t dx = static_cast<int64_t>(target.x) - start.x;
  const int64_t dy = static_cast<int64_t>(target.y) - start.y;
  std::vector<Point> points;
  if (std::llabs(dx) > jumpLimit || std::llabs(dy) > jumpLimit) {
    // Each point is a fraction of the whole way from the start, so rounding never accumulates.
    for (int i = 1; i < steps; ++i)
      points.push_back(Offset(start, RoundDivHalfAway(dx * i, steps), RoundDivHalfAway(dy * i, steps)));
  }
  points.push_back(target);
  return points;
}

}  // namespace

int32_t RoundHalfAway(double v) {
  if (std::isnan(v)) return 0;
  const double r = std::round(v);  // halves go away from zero
  if (r <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  if (r >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(r);
}

int32_t RoundDivHalfAway(int64_t num, int64_t den) {
  int64_t q = num / den;
  const int64_t r = num % den;
  if (2 * std::llabs(r) >= std::llabs(den)) q += ((num < 0) != (den < 0)) ? -1 : 1;
  return Saturate(q);
}

ViewGeometry ComputeViewGeometry(int32_t clientWidth, int32_t panelTop, int32_t zoom,
                                 bool gridShown) {
  ViewGeometry g;
  g.clientWidth = clientWidth;
  g.panelTop = panelTop;
  g.zoom = std::max(zoom, 1);
  g.gridShown = gridShown;
  g.rulerWidth = gridShown ? kRulerWidth : 0;
  g.imageArea = {g.rulerWidth, g.rulerWidth, clientWidth, panelTop};
  g.captureWidth = CeilDiv(clientWidth - g.rulerWidth, g.zoom);
  g.captureHeight = CeilDiv(panelTop - g.rulerWidth, g.zoom);
  g.destWidth = g.captureWidth * g.zoom;
  g.destHeight = g.captureHeight * g.zoom;
  g.halfX = CentreIndex(g.captureWidth);
  g.halfY = CentreIndex(g.captureHeight);
  g.markerWidth = (gridShown && g.zoom > 3) ? 2 : 1;
  const int32_t m = g.markerWidth == 2 ? 1 : 0;
  g.centerCell = {CentreIndex(g.columns()) * g.zoom + g.rulerWidth + m,
                  CentreIndex(g.rows()) * g.zoom + g.rulerWidth + m};
  return g;
}

GridLines ComputeGridLines(const ViewGeometry& g, bool subGridShown) {
  GridLines out;
  if (!g.gridShown) return out;
  const int32_t r = g.rulerWidth, z = g.zoom;
  if (z >= 4) {
    for (int32_t i = 0; i <= g.columns(); ++i)
      out.grid.push_back({{r + i * z, r}, {r + i * z, g.panelTop}});
    for (int32_t i = 0; i <= g.rows(); ++i)
      out.grid.push_back({{r, r + i * z}, {g.clientWidth, r + i * z}});
    if (!subGridShown) return out;
    if (g.columns() > 0) {
      const int32_t offset = FloorMod(CentreIndex(g.columns()), 5) * z;
      for (int32_t i = 0; i <= g.columns() / 5; ++i) {
        const int32_t x = r + offset + i * 5 * z;
        out.subGrid.push_back({{x, r}, {x, g.panelTop}});
      }
    }
    if (g.rows() > 0) {
      const int32_t offset = FloorMod(CentreIndex(g.rows()), 5) * z;
      for (int32_t i = 0; i <= g.rows() / 5; ++i) {
        const int32_t y = r + offset + i * 5 * z;
        out.subGrid.push_back({{r, y}, {g.clientWidth, y}});
      }
    }
    return out;
  }
  out.grid.push_back({{r, r}, {r, g.panelTop}});
  out.grid.push_back({{r, r}, {g.clientWidth, r}});
  if (!subGridShown) return out;
  const Point c = g.centerCell;
  const int32_t before = g.markerWidth + 1;       // gap above / left of the centre cell
  const int32_t after = z + g.markerWidth + 1;    // gap below / right of it
  out.subGrid.push_back({{c.x, r}, {c.x, c.y - before}});
  out.subGrid.push_back({{c.x, c.y + after}, {c.x, g.panelTop}});
  out.subGrid.push_back({{r, c.y}, {c.x - before, c.y}});
  out.subGrid.push_back({{c.x + after, c.y}, {g.clientWidth, c.y}});
  return out;
}

CursorMarker ComputeCursorMarker(const ViewGeometry& g) {
  const int32_t side = g.zoom + g.markerWidth;
  const int32_t l = g.centerCell.x - g.markerWidth;
  const int32_t t = g.centerCell.y - g.markerWidth;
  CursorMarker mk;
  mk.square = {l, t, l + side, t + side};
  mk.outline = {Point{l, t}, Point{l + side, t}, Point{l + side, t + side}, Point{l, t + side},
                Point{l, t}};
  mk.penWidth = g.markerWidth;
  return mk;
}

Rulers ComputeRulers(const ViewGeometry& g) {
  Rulers out;
  if (!g.gridShown) return out;
  out.shown = true;
  const int32_t w = kRulerWidth, z = g.zoom;
  out.topStrip = {0, 0, g.clientWidth, w};
  out.leftStrip = {0, 0, w, g.panelTop};

  // Ticks of one ruler as lengths along the edge; `make` turns (position, length) into a line.
  auto addTicks = [&](int32_t count, int32_t centre, auto make) {
    const int32_t c5 = FloorMod(centre, 5), c10 = FloorMod(centre, 10);
    for (int32_t i = 0; i <= count; ++i) {
      const int32_t pos = i * z + w;
      if (i == 0) {
        out.ticks.push_back({make(pos, w), kRulerGray});
      } else if (i % 5 == c5) {
        out.ticks.push_back({make(pos, i % 10 == c10 ? 5 : 3), kRulerBlue});
      } else if (z >= 2) {
        out.ticks.push_back({make(pos, 2), kRulerGray});
      }
    }
  };
  addTicks(g.columns(), g.halfX, [](int32_t x, int32_t len) { return Segment{{x, 0}, {x, len}}; });
  addTicks(g.rows(), g.halfY, [](int32_t y, int32_t len) { return Segment{{0, y}, {len, y}}; });

  const int32_t k = z != 1 ? z / 2 - 1 : 0;
  const int32_t cx = g.centerCell.x + k, cy = g.centerCell.y + k;
  out.topMarker = {Point{cx, 6}, Point{cx - 2, 4}, Point{cx + 2, 4}};
  out.leftMarker = {Point{6, cy}, Point{4, cy - 2}, Point{4, cy + 2}};
  return out;
}

Rect LiveSourceRect(const ViewGeometry& g, Point capturePoint) {
  const int32_t l = capturePoint.x - g.halfX, t = capturePoint.y - g.halfY;
  return {l, t, l + g.captureWidth, t + g.captureHeight};
}

Rect PausedSourceRect(const ViewGeometry& g, Point capturePoint, Point desktopOrigin) {
  const int32_t l = capturePoint.x - g.halfX - desktopOrigin.x;
  const int32_t t = capturePoint.y - g.halfY - desktopOrigin.y;
  return {l, t, l + g.captureWidth, t + g.captureHeight};
}

std::vector<Point> CapturePointGlide(Point start, Point target) { return Glide(start, target, 5, 5); }

std::vector<Point> CursorGlide(Point start, Point target) { return Glide(start, target, 10, 10); }

Point PanCapturePoint(Point panStartPoint, Point panDown, Point mouse, int32_t zoom) {
  zoom = std::max(zoom, 1);
  return Offset(panStartPoint,
                RoundDivHalfAway(static_cast<int64_t>(panDown.x) - mouse.x, zoom),
                RoundDivHalfAway(static_cast<int64_t>(panDown.y) - mouse.y, zoom));
}

Point DoubleClickCellPoint(const ViewGeometry& g, Point capturePoint, Point clientPoint,
                           int32_t toolbarHeight) {
  const int64_t col = (static_cast<int64_t>(clientPoint.x) - g.rulerWidth) / g.zoom;
  const int64_t row =
      (static_cast<int64_t>(clientPoint.y) - toolbarHeight - g.rulerWidth) / g.zoom;
  return Offset(capturePoint, col - g.halfX, row - g.halfY);
}

std::optional<int> ZoomStepIndex(int zoomIndex, int32_t savedZoom, bool up) {
  if (savedZoom > 0) return std::nullopt;
  if (up ? zoomIndex >= kZoomCount - 1 : zoomIndex <= 0) return std::nullopt;
  return std::clamp(zoomIndex + (up ? 1 : -1), 0, kZoomCount - 1);
}

}  // namespace viz
