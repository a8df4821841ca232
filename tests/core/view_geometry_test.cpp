#include "capture/grid_style.h"
#include "capture/view_geometry.h"

#include <gtest/gtest.h>

using namespace viz;

namespace {
// The designed window: client 243 x 210 under a 26-pixel toolbar, so the image area reaches
// down to the panel at 184 in view-bitmap coordinates.
constexpr int32_t kToolbar = 26;
constexpr int32_t kClientWidth = 243;
constexpr int32_t kPanelTop = 210 - kToolbar;

ViewGeometry Designed(int32_t zoom = 6, bool grid = true) {
  return ComputeViewGeometry(kClientWidth, kPanelTop, zoom, grid);
}
}  // namespace

TEST(ViewGeometry, Rounding) {
  EXPECT_EQ(RoundHalfAway(2.5), 3);
  EXPECT_EQ(RoundHalfAway(-2.5), -3);
  EXPECT_EQ(RoundHalfAway(0.49), 0);
  EXPECT_EQ(RoundHalfAway(1e12), INT32_MAX);
  EXPECT_EQ(RoundDivHalfAway(3, 6), 1);
  EXPECT_EQ(RoundDivHalfAway(-3, 6), -1);
  EXPECT_EQ(RoundDivHalfAway(3, -6), -1);
  EXPECT_EQ(RoundDivHalfAway(-2, 6), 0);
  EXPECT_EQ(RoundDivHalfAway(39, 2), 20);
}

TEST(ViewGeometry, DesignedSizeAtZoom6WithGrid) {
  const ViewGeometry g = Designed();
  EXPECT_EQ(g.rulerWidth, 7);
  EXPECT_EQ(g.imageArea, (Rect{7, 7, 243, 184}));
  EXPECT_EQ(g.captureWidth, 40);   // 236 / 6 = 39.3, rounded up
  EXPECT_EQ(g.captureHeight, 30);  // 177 / 6 = 29.5, rounded up
  EXPECT_EQ(g.destWidth, 240);
  EXPECT_EQ(g.destHeight, 180);
  EXPECT_EQ(g.halfX, 19);
  EXPECT_EQ(g.halfY, 14);
  EXPECT_EQ(g.markerWidth, 2);
  EXPECT_EQ(g.centerCell, (Point{122, 92}));  // cell (19, 14) plus 1 inside the thick marker

  const CursorMarker mk = ComputeCursorMarker(g);
  EXPECT_EQ(mk.square, (Rect{120, 90, 128, 98}));
  EXPECT_EQ(mk.penWidth, 2);
  EXPECT_EQ(mk.outline.front(), mk.outline.back());

  EXPECT_EQ(LiveSourceRect(g, {500, 400}), (Rect{481, 386, 521, 416}));
  EXPECT_EQ(PausedSourceRect(g, {500, 400}, {-1920, -100}), (Rect{2401, 486, 2441, 516}));
}

TEST(ViewGeometry, OddCaptureSizesAndNoGrid) {
  const ViewGeometry g = Designed(6, false);
  EXPECT_EQ(g.rulerWidth, 0);
  EXPECT_EQ(g.captureWidth, 41);   // 243 / 6 = 40.5
  EXPECT_EQ(g.captureHeight, 31);  // 184 / 6 = 30.7
  EXPECT_EQ(g.halfX, 20);          // 41 / 2 = 20.5 rounds to 21
  EXPECT_EQ(g.halfY, 15);
  EXPECT_EQ(g.markerWidth, 1);
  EXPECT_EQ(g.centerCell, (Point{120, 90}));
  const GridLines lines = ComputeGridLines(g, true);
  EXPECT_TRUE(lines.grid.empty());
  EXPECT_TRUE(lines.subGrid.empty());
  EXPECT_FALSE(ComputeRulers(g).shown);

  // A panel reaching up into the ruler leaves nothing to capture instead of a negative size.
  const ViewGeometry squashed = ComputeViewGeometry(243, 5, 6, true);
  EXPECT_EQ(squashed.captureHeight, 0);
  EXPECT_EQ(squashed.destHeight, 0);
}

TEST(ViewGeometry, FullGridAndSubGridThroughTheCentreCell) {
  const ViewGeometry g = Designed();
  const GridLines lines = ComputeGridLines(g, true);
  ASSERT_EQ(lines.grid.size(), 41u + 31u);
  EXPECT_EQ(lines.grid[0], (Segment{{7, 7}, {7, 184}}));
  EXPECT_EQ(lines.grid[40], (Segment{{247, 7}, {247, 184}}));
  EXPECT_EQ(lines.grid[41], (Segment{{7, 7}, {243, 7}}));
  EXPECT_EQ(lines.grid[71], (Segment{{7, 187}, {243, 187}}));

  // Columns: offset (19 mod 5) x 6 = 24, so x = 31 + 30 i for i = 0..8 (121 is the centre
  // cell's left edge). Rows: offset (14 mod 5) x 6 = 24, y = 31 + 30 i for i = 0..6.
  ASSERT_EQ(lines.subGrid.size(), 9u + 7u);
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(lines.subGrid[i], (Segment{{31 + 30 * i, 7}, {31 + 30 * i, 184}}));
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(lines.subGrid[9 + i], (Segment{{7, 31 + 30 * i}, {243, 31 + 30 * i}}));
  EXPECT_EQ(lines.subGrid[3].from.x, 7 + g.halfX * 6);
  EXPECT_EQ(lines.subGrid[11].from.y, 7 + g.halfY * 6);

  EXPECT_TRUE(ComputeGridLines(g, false).subGrid.empty());
}

TEST(ViewGeometry, LowZoomDrawsOnlyTheGappedCrossHair) {
  const ViewGeometry g = Designed(3);
  EXPECT_EQ(g.captureWidth, 79);
  EXPECT_EQ(g.captureHeight, 59);
  EXPECT_EQ(g.markerWidth, 1);
  EXPECT_EQ(g.centerCell, (Point{124, 94}));  // (39 x 3 + 7, 29 x 3 + 7)
  const GridLines lines = ComputeGridLines(g, true);
  EXPECT_EQ(lines.grid, (std::vector<Segment>{{{7, 7}, {7, 184}}, {{7, 7}, {243, 7}}}));
  EXPECT_EQ(lines.subGrid, (std::vector<Segment>{{{124, 7}, {124, 92}},
                                                  {{124, 99}, {124, 184}},
                                                  {{7, 94}, {122, 94}},
                                                  {{129, 94}, {243, 94}}}));
  EXPECT_EQ(ComputeCursorMarker(g).square, (Rect{123, 93, 127, 97}));
  EXPECT_TRUE(ComputeGridLines(g, false).subGrid.empty());
}

TEST(ViewGeometry, RulerTicksAndMarkers) {
  const Rulers r = ComputeRulers(Designed());
  ASSERT_TRUE(r.shown);
  EXPECT_EQ(r.topStrip, (Rect{0, 0, 243, 7}));
  EXPECT_EQ(r.leftStrip, (Rect{0, 0, 7, 184}));
  ASSERT_EQ(r.ticks.size(), 41u + 31u);
  // Top ruler, c = 19: long blue ticks where i mod 10 = 9, short ones where i mod 5 = 4.
  EXPECT_EQ(r.ticks[0].line, (Segment{{7, 0}, {7, 7}}));
  EXPECT_EQ(r.ticks[0].color, kRulerGray);
  EXPECT_EQ(r.ticks[1].line, (Segment{{13, 0}, {13, 2}}));
  EXPECT_EQ(r.ticks[4].line, (Segment{{31, 0}, {31, 3}}));
  EXPECT_EQ(r.ticks[4].color, kRulerBlue);
  EXPECT_EQ(r.ticks[9].line, (Segment{{61, 0}, {61, 5}}));
  EXPECT_EQ(r.ticks[19].line, (Segment{{121, 0}, {121, 5}}));
  EXPECT_EQ(r.ticks[19].color, kRulerBlue);
  // Left ruler, c = 14: long where i mod 10 = 4.
  EXPECT_EQ(r.ticks[41].line, (Segment{{0, 7}, {7, 7}}));
  EXPECT_EQ(r.ticks[41 + 4].line, (Segment{{0, 31}, {5, 31}}));
  EXPECT_EQ(r.ticks[41 + 9].line, (Segment{{0, 61}, {3, 61}}));
  EXPECT_EQ(r.ticks[41 + 14].line, (Segment{{0, 91}, {5, 91}}));
  // k = 6 div 2 - 1 = 2.
  EXPECT_EQ(r.topMarker, (std::array<Point, 3>{Point{124, 6}, Point{122, 4}, Point{126, 4}}));
  EXPECT_EQ(r.leftMarker, (std::array<Point, 3>{Point{6, 94}, Point{4, 92}, Point{4, 96}}));

  // Zoom 1: no gray ticks beyond the first, and k = 0.
  const ViewGeometry g1 = Designed(1);
  const Rulers r1 = ComputeRulers(g1);
  for (size_t i = 0; i < r1.ticks.size(); ++i)
    if (r1.ticks[i].line.from != Point{7, 0} && r1.ticks[i].line.from != Point{0, 7})
      EXPECT_EQ(r1.ticks[i].color, kRulerBlue) << i;
  EXPECT_EQ(r1.topMarker[0], (Point{g1.centerCell.x, 6}));
}

TEST(ViewGeometry, CapturePointGlideMeasuresEachStepFromTheStart) {
  EXPECT_EQ(CapturePointGlide({100, 100}, {105, 95}), (std::vector<Point>{{105, 95}}));
  EXPECT_EQ(CapturePointGlide({100, 100}, {107, 100}),
            (std::vector<Point>{{101, 100}, {103, 100}, {104, 100}, {106, 100}, {107, 100}}));
  EXPECT_EQ(CapturePointGlide({100, 100}, {100, 93}),
            (std::vector<Point>{{100, 99}, {100, 97}, {100, 96}, {100, 94}, {100, 93}}));
  EXPECT_EQ(CapturePointGlide({0, 0}, {1000, -50}).size(), 5u);
  EXPECT_EQ(CapturePointGlide({0, 0}, {1000, -50})[1], (Point{400, -20}));
}

TEST(ViewGeometry, CursorGlide) {
  EXPECT_EQ(CursorGlide({0, 0}, {10, -10}), (std::vector<Point>{{10, -10}}));
  const std::vector<Point> p = CursorGlide({0, 0}, {25, 0});
  ASSERT_EQ(p.size(), 10u);
  EXPECT_EQ(p[0], (Point{3, 0}));  // 2.5 rounds away from zero
  EXPECT_EQ(p[2], (Point{8, 0}));  // 7.5
  EXPECT_EQ(p[8], (Point{23, 0}));
  EXPECT_EQ(p[9], (Point{25, 0}));
  EXPECT_EQ(CursorGlide({0, 0}, {-25, 0})[0], (Point{-3, 0}));
}

TEST(ViewGeometry, PanAndDoubleClickPoints) {
  // Dragging right by 3 at zoom 6 is half a pixel: rounds away, the content follows the mouse.
  EXPECT_EQ(PanCapturePoint({500, 400}, {1000, 1000}, {1003, 991}, 6), (Point{499, 402}));
  EXPECT_EQ(PanCapturePoint({500, 400}, {1000, 1000}, {1002, 1000}, 6), (Point{500, 400}));

  const ViewGeometry g = Designed();
  EXPECT_EQ(DoubleClickCellPoint(g, {500, 400}, {122, kToolbar + 92}, kToolbar), (Point{500, 400}));
  EXPECT_EQ(DoubleClickCellPoint(g, {500, 400}, {7 + 6 * 25, kToolbar + 7}, kToolbar),
            (Point{506, 386}));
  // Inside the ruler the division truncates toward zero: still cell 0.
  EXPECT_EQ(DoubleClickCellPoint(g, {500, 400}, {3, kToolbar + 3}, kToolbar), (Point{481, 386}));
}

TEST(ViewGeometry, ZoomSteps) {
  EXPECT_EQ(ZoomStepIndex(3, -1, true), 4);  // 4 -> 6
  EXPECT_EQ(ZoomStepIndex(7, -1, true), 8);  // 12 -> 16
  EXPECT_FALSE(ZoomStepIndex(9, -1, true));  // 20 stays
  EXPECT_FALSE(ZoomStepIndex(0, -1, false)); // 1 stays
  EXPECT_EQ(ZoomStepIndex(4, -1, false), 3);
  EXPECT_FALSE(ZoomStepIndex(4, 6, true));   // actual size held
  EXPECT_FALSE(ZoomStepIndex(4, 6, false));
  EXPECT_EQ(ZoomStepIndex(4, 0, true), 5);
  EXPECT_EQ(ZoomStepIndex(-5, -1, true), 0);
}

TEST(ViewGeometry, GridStyleFollowsTheCheckedGridCommandsAndTheirTags) {
  CommandList c;
  EXPECT_EQ(GridStyleOf(c), (GridStyle{0x999999, GridPen::Copy, true, 0xFF0000}));
  c.SetChecked(Cmd::Grid_Invert, true);
  EXPECT_EQ(GridStyleOf(c).pen, GridPen::Not);
  c.SetChecked(Cmd::Grid_Transparent, true);
  EXPECT_EQ(GridStyleOf(c), (GridStyle{0xCCCCCC, GridPen::Mask, true, 0xFF0000}));
  c[Cmd::Grid_SelColor].tag = 0x123456;
  c[Cmd::Grid_SelSubColor].tag = 0x654321;
  c.SetChecked(Cmd::Grid_SelColor, true);
  c.SetChecked(Cmd::Grid_SelSubColor, true);
  EXPECT_EQ(GridStyleOf(c), (GridStyle{0x123456, GridPen::Copy, true, 0x654321}));
  c.SetChecked(Cmd::Grid_SubNone, true);
  EXPECT_FALSE(GridStyleOf(c).subShown);
}
