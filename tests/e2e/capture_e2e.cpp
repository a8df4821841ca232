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

namespace viz::e2e {
namespace {

constexpr int kZooms[10] = {1, 2, 3, 4, 6, 8, 10, 12, 16, 20};
constexpr int kRuler = 7;
constexpr COLORREF kGray = 0x999999, kBlue = 0xFF0000, kTranslucent = 0xCCCCCC;

int HalfAway(int num, int den) {  // num / den rounded half away from zero (num, den > 0)
  return (2 * num + den) / (2 * den);
}

COLORREF Invert(COLORREF c) { return (~c) & 0xFFFFFF; }

// What the test knows about the program's window, read from outside.
struct ViewFrame {
  POINT viewOrigin{};  // screen point of the view's (0, 0): client origin + toolbar height
  int clientWidth = 0;
  int panelTop = 0;    // in view coordinates
};

int LineHeightOfTheWindowFont() { return PanelLineHeight(9); }

std::optional<ViewFrame> FrameOf(HWND app, int visibleLines) {
  RECT client;
  if (!GetClientRect(app, &client)) return std::nullopt;
  HWND toolbar = FindWindowExW(app, nullptr, L"ToolbarWindow32", nullptr);
  RECT tb{};
  if (toolbar) GetWindowRect(toolbar, &tb);
  ViewFrame f;
  POINT o{0, 0};
  ClientToScreen(app, &o);
  f.viewOrigin = POINT{o.x, o.y + (tb.bottom - tb.top)};
  f.clientWidth = client.right;
  const int viewHeight = client.bottom - (tb.bottom - tb.top);
  f.panelTop = viewHeight - LineHeightOfTheWindowFont() * (1 + visibleLines);
  return f;
}

// The image the view must show at `zoom` with the capture point `p`, grid on or off, grid drawn
// with `gridColor` combined by `gridOp` (copy, not, mask). Pixels whose source lies outside
// `known` (the pattern window) are marked CLR_INVALID and not compared.
struct Expected {
  int width = 0, height = 0;  // the image area, from (kRuler, kRuler) of the view when grid is on
  int origin = 0;             // view coordinate of the image's (0, 0)
  std::vector<COLORREF> px;
  POINT centre{};             // centre cell in view coordinates
  COLORREF& at(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
};

enum class GridOp { Copy, Not, Mask };

Expected ExpectedImage(const ViewFrame& f, int zoom, POINT p, bool grid, COLORREF gridColor,
                       GridOp op, const RECT& known) {
  Expected e;
  const int ruler = grid ? kRuler : 0;
  e.origin = ruler;
  e.width = f.clientWidth - ruler;
  e.height = f.panelTop - ruler;
  e.px.assign(static_cast<size_t>(e.width) * e.height, CLR_INVALID);
  const int cols = (e.width + zoom - 1) / zoom, rows = (e.height + zoom - 1) / zoom;
  const int halfX = HalfAway(cols, 2) - 1, halfY = HalfAway(rows, 2) - 1;
  const int mw = (grid && zoom > 3) ? 2 : 1;
  const int m = mw == 2 ? 1 : 0;
  e.centre = POINT{(HalfAway(cols, 2) - 1) * zoom + ruler + m, (HalfAway(rows, 2) - 1) * zoom + ruler + m};
  for (int y = 0; y < e.height; ++y)
    for (int x = 0; x < e.width; ++x) {
      const POINT src{p.x - halfX + x / zoom, p.y - halfY + y / zoom};
      if (PtInRect(&known, src)) e.at(x, y) = PatternColor(src.x, src.y);
    }
  auto plot = [&](int vx, int vy, COLORREF c, GridOp how) {
    const int x = vx - e.origin, y = vy - e.origin;
    if (x < 0 || y < 0 || x >= e.width || y >= e.height) return;
    COLORREF& d = e.at(x, y);
    if (d == CLR_INVALID) return;
    d = how == GridOp::Copy ? c : how == GridOp::Not ? Invert(d) : (d & c);
  };
  if (grid) {
    if (zoom >= 4) {
      for (int i = 0; i <= cols; ++i)
        for (int vy = ruler; vy < f.panelTop; ++vy) plot(ruler + i * zoom, vy, gridColor, op);
      for (int j = 0; j <= rows; ++j)
        for (int vx = ruler; vx < f.clientWidth; ++vx) {
          // Crossings were already drawn by the vertical line: a NOT pen inverts them twice.
          const bool crossing = (vx - ruler) % zoom == 0;
          if (op == GridOp::Copy || !crossing) plot(vx, ruler + j * zoom, gridColor, op);
          else if (op == GridOp::Not) plot(vx, ruler + j * zoom, 0, GridOp::Not);
        }
      const int offX = ((HalfAway(cols, 2) - 1) % 5) * zoom, offY = ((HalfAway(rows, 2) - 1) % 5) * zoom;
      for (int i = 0; i <= cols / 5; ++i)
        for (int vy = ruler; vy < f.panelTop; ++vy) plot(ruler + offX + i * 5 * zoom, vy, kBlue, GridOp::Copy);
      for (int j = 0; j <= rows / 5; ++j)
        for (int vx = ruler; vx < f.clientWidth; ++vx) plot(vx, ruler + offY + j * 5 * zoom, kBlue, GridOp::Copy);
    } else {
      for (int vy = ruler; vy < f.panelTop; ++vy) plot(ruler, vy, gridColor, op);
      for (int vx = ruler; vx < f.clientWidth; ++vx) {
        if (vx != ruler || op == GridOp::Copy) plot(vx, ruler, gridColor, op);
        else if (op == GridOp::Not) plot(vx, ruler, 0, GridOp::Not);  // crossing inverted twice
      }
      const int cx = e.centre.x, cy = e.centre.y;
      for (int vy = ruler; vy < cy - mw - 1; ++vy) plot(cx, vy, kBlue, GridOp::Copy);
      for (int vy = cy + zoom + mw + 1; vy < f.panelTop; ++vy) plot(cx, vy, kBlue, GridOp::Copy);
      for (int vx = ruler; vx < cx - mw - 1; ++vx) plot(vx, cy, kBlue, GridOp::Copy);
      for (int vx = cx + zoom + mw + 1; vx < f.clientWidth; ++vx) plot(vx, cy, kBlue, GridOp::Copy);
    }
  }
  return e;
}

// The cursor marker is a closed square drawn with a pen of the marker width; which pixels such a
// pen covers is GDI's business, so GDI is asked: the square is drawn on a mask here.
std::vector<POINT> MarkerPixels(POINT centre, int zoom, int mw) {
  const int size = zoom + 3 * mw + 8;
  const POINT o{centre.x - mw - 4, centre.y - mw - 4};
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  std::fill_n(static_cast<uint32_t*>(bits), size * size, 0u);
  HPEN pen = CreatePen(PS_SOLID, mw, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  SetROP2(dc, R2_NOT);
  const int l = centre.x - mw - o.x, t = centre.y - mw - o.y, s = zoom + mw;
  POINT pts[5] = {{l, t}, {l + s, t}, {l + s, t + s}, {l, t + s}, {l, t}};
  Polyline(dc, pts, 5);
  GdiFlush();
  std::vector<POINT> out;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (static_cast<uint32_t*>(bits)[y * size + x] & 0xFFFFFF) out.push_back(POINT{x + o.x, y + o.y});
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBmp);
  DeleteObject(pen);
  DeleteObject(bmp);
  DeleteDC(dc);
  return out;
}

// Compares the screen with the expected image; returns the number of differing pixels and
// describes the first few.
int Compare(const ScreenGrab& g, const ViewFrame& f, Expected e, int zoom, bool grid,
            std::string* report) {
  const int mw = (grid && zoom > 3) ? 2 : 1;
  for (POINT q : MarkerPixels(e.centre, zoom, mw)) {
    const int x = q.x - e.origin, y = q.y - e.origin;
    if (x >= 0 && y >= 0 && x < e.width && y < e.height && e.at(x, y) != CLR_INVALID)
      e.at(x, y) = Invert(e.at(x, y));
  }
  int bad = 0;
  for (int y = 0; y < e.height; ++y)
    for (int x = 0; x < e.width; ++x) {
      const COLORREF want = e.at(x, y);
      if (want == CLR_INVALID) continue;
      // The one-pixel window border painted around the view covers its outer rows and columns.
      const int vx = e.origin + x, vy = e.origin + y;
      if (vx == 0 || vy == 0 || vx == f.clientWidth - 1) continue;
      const int sx = f.viewOrigin.x + e.origin + x, sy = f.viewOrigin.y + e.origin + y;
      const COLORREF got = g.Pixel(sx, sy);
      if (got == want) continue;
      if (++bad <= 5 && report) {
        char line[160];
        std::snprintf(line, sizeof line, "view (%d,%d): got %06lx want %06lx\n", x + e.origin,
                      y + e.origin, static_cast<unsigned long>(got), static_cast<unsigned long>(want));
        *report += line;
      }
    }
  return bad;
}

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
    int bad = -1;
    const bool ok = WaitUntil([&] {
      auto f = FrameOf(app_.hwnd(), visibleLines);
      if (!f) return false;
      RECT view{f->viewOrigin.x, f->viewOrigin.y, f->viewOrigin.x + f->clientWidth,
                f->viewOrigin.y + f->panelTop};
      auto g = ScreenGrab::Take(view);
      if (!g) return false;
      report.clear();
      bad = Compare(*g, *f, ExpectedImage(*f, zoom, p, grid, gridColor, op, kPatternRect), zoom,
                    grid, &report);
      return bad == 0;
    }, 8000, 50);
    EXPECT_TRUE(ok) << "zoom " << zoom << " at (" << p.x << "," << p.y << "): " << bad
                    << " pixels differ\n" << report;
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
  ASSERT_TRUE(HoldModifiers(kCtrl));
  Key('U');
  ASSERT_TRUE(ReleaseModifiers(kCtrl));
  ExpectView(6, p, true, PatternColor(p.x, p.y), GridOp::Copy);
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
