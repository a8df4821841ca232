// The magnified view seen from outside: with the harness's pattern under the cursor, every pixel
// of the image is checked against an expected image computed here from the pattern, the zoom and
// the drawing rules (grid every cell from zoom 4, sub-grid every fifth cell through the centre
// cell, a gapped cross-hair below zoom 4, an inverting cursor marker).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "harness.h"
#include "view_model.h"

namespace viz::e2e {
namespace {

class CaptureTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ReleaseModifiers());
    ASSERT_TRUE(MovePointer(200, 200));
    ASSERT_TRUE(app_.Start()) << app_.error();
    pattern_ = std::make_unique<PatternWindow>(kPatternRect);
    ASSERT_TRUE(pattern_->WaitShown());
    ASSERT_TRUE(app_.Activate());
  }
  void TearDown() override {
    ReleaseModifiers();
    if (app_.Running()) {
      EXPECT_EQ(app_.Close(), std::optional<DWORD>(0));
    }
  }

  // Waits until the view matches the expected image; reports the last difference otherwise.
  void ExpectView(int zoom, POINT p, bool grid = true, COLORREF gridColor = kGray,
                  GridOp op = GridOp::Copy, int visibleLines = 6) {
    std::string report;
    EXPECT_TRUE(WaitForView(app_.hwnd(), zoom, p, PatternIn(kPatternRect), &report, grid,
                            gridColor, op, visibleLines))
        << report;
  }

  void Key(WORD vk, unsigned mods = kNoMod) { ASSERT_TRUE(KeyTap(vk, mods)); }

  static constexpr RECT kPatternRect{400, 80, 1200, 760};
  AppProcess app_;
  std::unique_ptr<PatternWindow> pattern_;
};

TEST_F(CaptureTest, EveryZoomShowsThePatternPixelsGridSubGridAndMarker) {
  const POINT p{777, 411};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  for (int i = 0; i < 9; ++i) Key(VK_NEXT);  // down to 1x
  for (int i = 0; i < 10; ++i) {
    if (i > 0) Key(VK_PRIOR);
    ExpectView(kZooms[i], p);
  }
  Key(VK_PRIOR);  // beyond 20x: nothing changes
  ExpectView(20, p);
}

TEST_F(CaptureTest, GridOffShowsOnlyPatternAndMarker) {
  const POINT p{640, 300};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  // A right-button drag to the left toggles the grid (default gesture).
  RECT r;
  GetWindowRect(app_.hwnd(), &r);
  const POINT start{(r.left + r.right) / 2 + 60, (r.top + r.bottom) / 2 - 40};
  ASSERT_TRUE(MovePointer(start.x, start.y));
  ASSERT_TRUE(MouseDown(Button::kRight));
  ASSERT_TRUE(MovePointer(start.x - 100, start.y));
  ASSERT_TRUE(MouseUp(Button::kRight));
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p, /*grid=*/false);
}

// A settings file that chooses the grid colour item of the grid menu (3 invert, 4 translucent).
std::vector<uint8_t> SettingsWithGridItem(uint8_t item) {
  std::vector<uint8_t> f(343, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  f[0] = 'Q', f[1] = 'O', f[2] = 'R', f[3] = 'B', f[4] = 1, f[5] = 1;
  const size_t b = 22;
  put32(b + 0, 75), put32(b + 4, 75);  // position; a size of 0 keeps the designed size
  f[b + 16] = 4;                       // 6x
  f[b + 17] = 1;                       // grid shown
  f[b + 19] = item;
  f[b + 20] = 1;                       // blue sub-grid
  put32(b + 21, 0x999999), put32(b + 25, 0xFF6666);
  f[b + 33] = 3, f[b + 35] = 1, f[b + 45] = 7;  // the default lines
  return f;
}

class GridModeTest : public CaptureTest {
 protected:
  void SetUp() override {}
  void Start(uint8_t item) {
    ASSERT_TRUE(ReleaseModifiers());
    ASSERT_TRUE(MovePointer(200, 200));
    AppOptions o;
    o.settings = SettingsWithGridItem(item);
    ASSERT_TRUE(app_.Start(o)) << app_.error();
    pattern_ = std::make_unique<PatternWindow>(kPatternRect);
    ASSERT_TRUE(pattern_->WaitShown());
  }
};

TEST_F(GridModeTest, InvertModeInvertsThePixelsBeneathTheGrid) {
  Start(3);
  const POINT p{900, 500};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p, true, 0, GridOp::Not);
}

TEST_F(GridModeTest, TranslucentModeAndsTheGridColourWithThePixels) {
  Start(4);
  const POINT p{610, 222};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p, true, kTranslucent, GridOp::Mask);
}

TEST_F(CaptureTest, PausedViewStaysFrozenAndPansOverTheSnapshot) {
  const POINT p{700, 400};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  Key(VK_ESCAPE);  // pause
  ASSERT_TRUE(MovePointer(300, 600));
  ExpectView(6, p);
  // Arrow keys move the frozen view one pixel per press.
  Key(VK_RIGHT);
  ExpectView(6, POINT{p.x + 1, p.y});
  Key(VK_DOWN);
  Key(VK_DOWN);
  ExpectView(6, POINT{p.x + 1, p.y + 2});
  Key(VK_LEFT);
  Key(VK_UP);
  ExpectView(6, POINT{p.x, p.y + 1});
  Key(VK_ESCAPE);  // resume: follows the cursor again
  ASSERT_TRUE(MovePointer(820, 620));
  ExpectView(6, POINT{820, 620});
}

TEST_F(CaptureTest, OutsideTheDesktopIsBlackWhilePaused) {
  ASSERT_TRUE(MovePointer(700, 400));
  Key(VK_ESCAPE);
  // Shift with pause glides the capture point to the cursor: the top-left corner of the desktop.
  ASSERT_TRUE(MovePointer(1, 1));
  ASSERT_TRUE(HoldModifiers(kShift));
  Key(VK_ESCAPE);
  ASSERT_TRUE(ReleaseModifiers(kShift));
  auto f = FrameOf(app_.hwnd(), 6);
  ASSERT_TRUE(f);
  // The view's top-left cells show points left of and above (0, 0): black.
  EXPECT_TRUE(WaitUntil([&] {
    auto g = ScreenGrab::Take(RECT{f->viewOrigin.x + kRuler + 1, f->viewOrigin.y + kRuler + 1,
                                   f->viewOrigin.x + kRuler + 30, f->viewOrigin.y + kRuler + 30});
    if (!g) return false;
    for (int y = g->rect().top; y < g->rect().bottom; ++y)
      for (int x = g->rect().left; x < g->rect().right; ++x)
        if ((x - f->viewOrigin.x - kRuler) % 6 != 0 && (y - f->viewOrigin.y - kRuler) % 6 != 0 &&
            g->Pixel(x, y) != 0)
          return false;
    return true;
  }));
}

TEST_F(CaptureTest, FixedPointHoldsItsPointAndTheSwatchShowsTheCentreColour) {
  const POINT p{1000, 200};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  Key('F');
  ASSERT_TRUE(MovePointer(500, 700));
  ExpectView(6, p);
  // The colour swatch in the status line shows the centre pixel's colour.
  auto f = FrameOf(app_.hwnd(), 6);
  ASSERT_TRUE(f);
  const int lh = LineHeightOfTheWindowFont();
  const POINT swatch{f->viewOrigin.x + 4, f->viewOrigin.y + f->panelTop + 5};
  EXPECT_TRUE(WaitUntil([&] {
    auto g = ScreenGrab::Take(RECT{swatch.x, swatch.y, swatch.x + 1, swatch.y + 1});
    return g && g->Pixel(swatch.x, swatch.y) == PatternColor(p.x, p.y);
  })) << "line height " << lh;
  Key('F');
  ASSERT_TRUE(MovePointer(600, 600));
  ExpectView(6, POINT{600, 600});
}

TEST_F(CaptureTest, CtrlWithTheGridColourCommandTakesTheCentreColour) {
  const POINT p{850, 350};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  // Ctrl is read when the command runs: it stays held until the grid shows the new colour.
  ASSERT_TRUE(HoldModifiers(kCtrl));
  Key('U');
  ExpectView(6, p, true, PatternColor(p.x, p.y), GridOp::Copy);
  ASSERT_TRUE(ReleaseModifiers(kCtrl));
}

TEST_F(CaptureTest, CancellingTheColourDialogKeepsTheGridColour) {
  const POINT p{850, 350};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  Key('U');  // opens the colour dialog
  HWND dlg = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    dlg = FindProcessWindow(app_.pid(), L"#32770");
    return dlg != nullptr;
  }));
  PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }));
  ExpectView(6, p);
}

}  // namespace
}  // namespace viz::e2e
