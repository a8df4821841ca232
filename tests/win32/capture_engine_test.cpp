// The capture engine on its own, with no window: a memory picture stands in for the screen, the
// monitors are handed in, and every pixel of interest in the view is checked.
#include "capture/capture_engine_win.h"

#include <gtest/gtest.h>

#include "capture/view_geometry.h"
#include "ui/dib_canvas_win.h"

using namespace viz;

namespace {

// Every pixel tells its own screen position.
COLORREF Pattern(int x, int y) { return RGB(x & 0xFF, y & 0xFF, 0x40 | ((x >> 8) & 3) | (((y >> 8) & 3) << 2)); }

COLORREF ViewPixel(const DibCanvas& v, int x, int y) {
  const uint32_t p = v.bits()[static_cast<size_t>(y) * v.width() + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

COLORREF Invert(COLORREF c) { return ~c & 0xFFFFFF; }

// A picture of the screen area `area`, filled with the pattern.
struct FakeScreen {
  explicit FakeScreen(RECT a) : area(a) {
    EXPECT_TRUE(canvas.Create(a.right - a.left, a.bottom - a.top));
    Fill();
  }
  void Fill() {
    for (int y = 0; y < canvas.height(); ++y)
      for (int x = 0; x < canvas.width(); ++x) {
        const COLORREF c = Pattern(area.left + x, area.top + y);
        canvas.bits()[static_cast<size_t>(y) * canvas.width() + x] =
            (static_cast<uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      }
  }
  void FillWhite() { std::fill_n(canvas.bits(), canvas.width() * canvas.height(), 0xFFFFFFu); }
  RECT area;
  DibCanvas canvas;
};

class CaptureEngineTest : public ::testing::Test {
 protected:
  // A view of 243 x 200 with the panel at 180, as the main window lays it out.
  void SetUp() override { ASSERT_TRUE(view_.Create(243, 200)); }

  CaptureRequest Request(POINT p, int zoom, bool grid = true, int panelTop = 180) {
    CaptureRequest r;
    r.point = p;
    r.geometry = ComputeViewGeometry(view_.width(), panelTop, zoom, grid);
    return r;
  }
  // The view pixel in the middle of the cell showing screen point `q` (source column and row
  // counted from the capture point).
  POINT CellCentre(const CaptureRequest& r, POINT q) const {
    const ViewGeometry& g = r.geometry;
    const int col = q.x - r.point.x + g.halfX, row = q.y - r.point.y + g.halfY;
    return POINT{g.rulerWidth + col * g.zoom + g.zoom / 2 + (g.zoom > 2 ? 1 : 0),
                 g.rulerWidth + row * g.zoom + g.zoom / 2 + (g.zoom > 2 ? 1 : 0)};
  }

  CaptureEngine engine_;
  DibCanvas view_;
  CaptureInfo info_;
};

TEST_F(CaptureEngineTest, LiveCaptureMagnifiesAndDrawsGridSubGridMarkerAndTheCentreColour) {
  FakeScreen screen(RECT{0, 0, 640, 480});
  engine_.Screen().SetMonitors({Rect{0, 0, 640, 480}});
  engine_.EnsureDesktopBitmaps(SIZE{64, 64});
  engine_.CaptureFrom(screen.canvas.dc(), screen.area);
  CaptureRequest r = Request(POINT{300, 200}, 6);
  r.grid.color = RGB(1, 2, 3);
  r.grid.subColor = RGB(250, 0, 5);
  engine_.Run(r, view_, info_);
  const ViewGeometry& g = r.geometry;

  // Cells away from the marker show their screen pixels.
  for (POINT q : {POINT{300 - g.halfX, 200 - g.halfY}, POINT{303, 198}, POINT{310, 205}}) {
    const POINT c = CellCentre(r, q);
    EXPECT_EQ(ViewPixel(view_, c.x, c.y), Pattern(q.x, q.y)) << q.x << "," << q.y;
  }
  // Grid lines on every cell edge, the sub-grid through the centre cell every fifth.
  const int subX = g.centerCell.x - 1;  // the marker width is 2: the centre cell starts 1 before
  EXPECT_EQ(ViewPixel(view_, g.rulerWidth + g.zoom, g.rulerWidth + 2), RGB(1, 2, 3));
  EXPECT_EQ(ViewPixel(view_, subX, g.rulerWidth + 2), RGB(250, 0, 5));
  EXPECT_EQ(ViewPixel(view_, subX + 5 * g.zoom, g.rulerWidth + 2), RGB(250, 0, 5));
  // The marker inverts the pixels below it: its corner lies on the cell up and left of the
  // centre cell.
  const POINT corner{g.centerCell.x - g.markerWidth, g.centerCell.y - g.markerWidth};
  EXPECT_EQ(ViewPixel(view_, corner.x, corner.y), Invert(Pattern(299, 199)));
  // The centre pixel's colour, and the point.
  EXPECT_EQ(info_.ColorRef, Pattern(300, 200));
  EXPECT_EQ(info_.Red, GetRValue(Pattern(300, 200)));
  EXPECT_EQ(info_.ScreenPos.x, 300);
  EXPECT_EQ(info_.ScreenPos.y, 200);
}

TEST_F(CaptureEngineTest, BelowZoomFourOnlyTheGappedCrossHairIsDrawn) {
  FakeScreen screen(RECT{0, 0, 640, 480});
  engine_.Screen().SetMonitors({Rect{0, 0, 640, 480}});
  engine_.EnsureDesktopBitmaps(SIZE{256, 256});
  engine_.CaptureFrom(screen.canvas.dc(), screen.area);
  CaptureRequest r = Request(POINT{320, 240}, 3);
  engine_.Run(r, view_, info_);
  const ViewGeometry& g = r.geometry;
  // No full grid: a cell edge inside the image shows the picture.
  const POINT q{320 - 10, 240 - 10};
  const POINT c = CellCentre(r, q);
  EXPECT_EQ(ViewPixel(view_, c.x, c.y), Pattern(q.x, q.y));
  // The cross-hair runs through the centre cell with a gap around it.
  EXPECT_EQ(ViewPixel(view_, g.centerCell.x, g.rulerWidth + 1), r.grid.subColor);
  EXPECT_NE(ViewPixel(view_, g.centerCell.x, g.centerCell.y - g.markerWidth - 1), r.grid.subColor);
  EXPECT_EQ(info_.ColorRef, Pattern(320, 240));
}

TEST_F(CaptureEngineTest, PausedCaptureShowsTheSnapshotAtItsOffsetAndBlackOutsideTheDesktop) {
  // A desktop reaching left of and above (0, 0).
  const RECT desktop{-200, -100, 440, 380};
  FakeScreen screen(desktop);
  engine_.Screen().SetMonitors({Rect{-200, -100, 440, 380}});
  engine_.CaptureFrom(screen.canvas.dc(), screen.area);
  CaptureRequest r = Request(POINT{-195, -97}, 6);
  engine_.TakeSnapshots(nullptr, r.point, r.geometry);
  screen.FillWhite();  // the screen changes; the frozen desktop does not
  r.live = false;
  engine_.Run(r, view_, info_);
  EXPECT_EQ(info_.ColorRef, Pattern(-195, -97));
  for (POINT q : {POINT{-190, -90}, POINT{-200, -100}, POINT{-180, -99}}) {
    const POINT c = CellCentre(r, q);
    EXPECT_EQ(ViewPixel(view_, c.x, c.y), Pattern(q.x, q.y)) << q.x << "," << q.y;
  }
  for (POINT q : {POINT{-201, -90}, POINT{-190, -101}}) {  // outside the desktop
    const POINT c = CellCentre(r, q);
    EXPECT_EQ(ViewPixel(view_, c.x, c.y), RGB(0, 0, 0)) << q.x << "," << q.y;
  }
}

TEST_F(CaptureEngineTest, WhatLiesOnNoMonitorIsBlackLiveAndPaused) {
  // Two monitors of different heights: the strip below the smaller one is on neither.
  const RECT desktop{-300, 0, 300, 300};
  FakeScreen screen(desktop);
  engine_.Screen().SetMonitors({Rect{0, 0, 300, 300}, Rect{-300, 0, 0, 200}});
  engine_.EnsureDesktopBitmaps(SIZE{64, 64});
  engine_.CaptureFrom(screen.canvas.dc(), screen.area);
  CaptureRequest r = Request(POINT{-2, 199}, 6);
  for (bool live : {true, false}) {
    if (!live) engine_.TakeSnapshots(nullptr, r.point, r.geometry);
    r.live = live;
    engine_.Run(r, view_, info_);
    for (POINT q : {POINT{-5, 205}, POINT{-1, 200}}) {
      const POINT c = CellCentre(r, q);
      EXPECT_EQ(ViewPixel(view_, c.x, c.y), RGB(0, 0, 0)) << (live ? "live " : "paused ") << q.x << "," << q.y;
    }
    for (POINT q : {POINT{-5, 195}, POINT{3, 205}}) {
      const POINT c = CellCentre(r, q);
      EXPECT_EQ(ViewPixel(view_, c.x, c.y), Pattern(q.x, q.y)) << (live ? "live " : "paused ") << q.x << "," << q.y;
    }
  }
}

TEST_F(CaptureEngineTest, InvertAndTranslucentGridLinesCombineWithThePixels) {
  FakeScreen screen(RECT{0, 0, 640, 480});
  engine_.Screen().SetMonitors({Rect{0, 0, 640, 480}});
  engine_.EnsureDesktopBitmaps(SIZE{64, 64});
  engine_.CaptureFrom(screen.canvas.dc(), screen.area);
  CaptureRequest r = Request(POINT{300, 200}, 8);
  r.grid.subShown = false;
  const ViewGeometry& g = r.geometry;
  // The vertical line at the left edge of column 1 lies on the picture of column 1's pixel.
  const POINT onLine{g.rulerWidth + g.zoom, g.rulerWidth + g.zoom / 2 + 1};
  const COLORREF below = Pattern(300 - g.halfX + 1, 200 - g.halfY);
  r.grid.pen = GridPen::Not;
  engine_.Run(r, view_, info_);
  EXPECT_EQ(ViewPixel(view_, onLine.x, onLine.y), Invert(below));
  r.grid.pen = GridPen::Mask;
  r.grid.color = RGB(0xF0, 0x0F, 0xCC);
  engine_.Run(r, view_, info_);
  EXPECT_EQ(ViewPixel(view_, onLine.x, onLine.y), below & RGB(0xF0, 0x0F, 0xCC));
}

TEST_F(CaptureEngineTest, ThePictureStopsAtThePanelTopLiveAndPaused) {
  // The panel and the rulers are drawn again only when they change, so nothing of a cycle may
  // land outside the image area: not a last row of cells reaching below the panel top, nor the
  // cursor marker when so few rows are left (the smallest window at a high zoom) that its square
  // reaches into the top ruler and the panel.
  FakeScreen screen(RECT{0, 0, 640, 480});
  engine_.Screen().SetMonitors({Rect{0, 0, 640, 480}});
  engine_.EnsureDesktopBitmaps(SIZE{256, 256});
  engine_.CaptureFrom(screen.canvas.dc(), screen.area);
  const COLORREF outside = RGB(12, 34, 56);
  const uint32_t outsideDib = 0x0C2238;  // the same colour as a view pixel, 0x00RRGGBB
  struct Case {
    int zoom, panelTop;
  };
  for (Case c : {Case{1, 180}, Case{3, 180}, Case{6, 180}, Case{7, 180}, Case{11, 180},
                 Case{20, 180}, Case{16, 12}, Case{20, 24}, Case{20, 40}}) {
    for (bool live : {true, false}) {
      CaptureRequest r = Request(POINT{300 + c.zoom, 200}, c.zoom, true, c.panelTop);
      r.live = live;
      if (!live) engine_.TakeSnapshots(nullptr, r.point, r.geometry);
      engine_.ForgetImage();
      const Rect image = r.geometry.imageArea;
      ::GdiFlush();
      for (int y = 0; y < view_.height(); ++y)
        for (int x = 0; x < view_.width(); ++x)
          if (!image.contains(Point{x, y}))
            view_.bits()[static_cast<size_t>(y) * view_.width() + x] = outsideDib;
      engine_.Run(r, view_, info_);
      int overdrawn = 0;
      for (int y = 0; y < view_.height(); ++y)
        for (int x = 0; x < view_.width(); ++x)
          if (!image.contains(Point{x, y}) && ViewPixel(view_, x, y) != outside) ++overdrawn;
      EXPECT_EQ(overdrawn, 0) << "zoom " << c.zoom << ", panel at " << c.panelTop
                              << (live ? " live" : " paused");
      // The image itself reaches the panel top.
      EXPECT_NE(ViewPixel(view_, image.left + 1, image.bottom - 1), outside);
    }
  }
}

}  // namespace
