// The main window's keyboard and mouse handling seen from outside: keys, right-button gestures,
// the short right click, the wheel, left drags on a live and a frozen view, the double click, the
// Alt rule and the temporary 1:1 view. What the view shows is read back from the screen: with the
// harness's pattern under the capture point every image cell decodes to the screen point it
// magnifies, which gives the zoom (the pitch of the cells along a row) and the capture point.
//
// Run each test in a process of its own, as ctest does: under Wine, after a test has read the
// screen and then moved the pointer, the next program start in the same test process can leave
// that process without display devices (SM_CXVIRTUALSCREEN 0), and the pattern never shows.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <sstream>

#include "harness.h"
#include "view_model.h"

#include <commctrl.h>

namespace viz::e2e {
namespace {

constexpr RECT kPatternRect{400, 80, 1200, 760};
constexpr int kVisibleLines = 6;  // the default panel: status line plus six lines
constexpr int kIdPauseButton = 7011;

int CentreIndex(int n) { return HalfAway(n, 2) - 1; }

// The view's place on the screen with the default panel.
std::optional<ViewFrame> FrameOf(HWND app) { return e2e::FrameOf(app, kVisibleLines); }

// Geometry of the image at a zoom, as the program lays it out.
struct Cells {
  int ruler, zoom, cols, rows, halfX, halfY;
};
Cells CellsOf(const ViewFrame& f, int zoom, bool grid) {
  Cells c{};
  c.ruler = grid ? kRuler : 0;
  c.zoom = zoom;
  c.cols = (f.clientWidth - c.ruler + zoom - 1) / zoom;
  c.rows = (f.panelTop - c.ruler + zoom - 1) / zoom;
  c.halfX = CentreIndex(c.cols);
  c.halfY = CentreIndex(c.rows);
  return c;
}

// Screen point inside image cell (i, j).
POINT CellPoint(const ViewFrame& f, const Cells& c, int i, int j) {
  return POINT{f.viewOrigin.x + c.ruler + i * c.zoom + c.zoom / 2,
               f.viewOrigin.y + c.ruler + j * c.zoom + c.zoom / 2};
}

struct ViewReading {
  int zoom = 0;
  POINT point{};
  int support = 0;  // image runs that agree with `point`
};

std::string Describe(const std::optional<ViewReading>& r) {
  if (!r) return "no pattern in the view";
  std::ostringstream s;
  s << "zoom " << r->zoom << " at (" << r->point.x << "," << r->point.y << "), support "
    << r->support;
  return s.str();
}

// Decodes the view. Each run of equal pattern pixels along a row is one image cell (grid lines,
// the sub-grid and the marker only shorten or split runs); the distance between the starts of
// horizontally adjacent source pixels is the zoom, and each run's cell index and source point
// give the capture point. The most frequent answers win.
std::optional<ViewReading> ReadView(HWND app, bool grid) {
  const auto f = FrameOf(app);
  if (!f || f->panelTop <= kRuler + 1) return std::nullopt;
  const RECT area{f->viewOrigin.x, f->viewOrigin.y, f->viewOrigin.x + f->clientWidth, f->viewOrigin.y + f->panelTop};
  const auto g = ScreenGrab::Take(area);
  if (!g) return std::nullopt;
  const int ruler = grid ? kRuler : 0;
  const POINT around{(kPatternRect.left + kPatternRect.right) / 2,
                     (kPatternRect.top + kPatternRect.bottom) / 2};
  struct Run {
    int x, y;
    POINT src;
  };
  std::vector<Run> runs;
  // Row 0 and the outer columns carry the window's one-pixel border.
  for (int vy = std::max(ruler, 1); vy < f->panelTop; ++vy) {
    POINT prev{INT_MIN, INT_MIN};
    for (int vx = std::max(ruler, 1); vx < f->clientWidth - 1; ++vx) {
      const COLORREF c = g->Pixel(area.left + vx, area.top + vy);
      const POINT q = PatternPoint(c, around);
      if (!PtInRect(&kPatternRect, q) || PatternColor(q.x, q.y) != c) {
        prev = POINT{INT_MIN, INT_MIN};
        continue;
      }
      if (q.x == prev.x && q.y == prev.y) continue;
      runs.push_back(Run{vx, vy, q});
      prev = q;
    }
  }
  std::map<int, int> pitches;
  for (size_t k = 1; k < runs.size(); ++k)
    if (runs[k].y == runs[k - 1].y && runs[k].src.y == runs[k - 1].src.y &&
        runs[k].src.x == runs[k - 1].src.x + 1)
      ++pitches[runs[k].x - runs[k - 1].x];
  if (pitches.empty()) return std::nullopt;
  ViewReading r;
  int best = 0;
  for (auto [pitch, n] : pitches)
    if (n > best) best = n, r.zoom = pitch;
  if (r.zoom <= 0) return std::nullopt;
  const Cells cells = CellsOf(*f, r.zoom, grid);
  std::map<std::pair<int, int>, int> points;
  for (const Run& run : runs) {
    const int i = (run.x - ruler) / r.zoom, j = (run.y - ruler) / r.zoom;
    ++points[{run.src.x + cells.halfX - i, run.src.y + cells.halfY - j}];
  }
  for (auto [p, n] : points)
    if (n > r.support) r.support = n, r.point = POINT{p.first, p.second};
  // A view that shows something else (the program itself) decodes only here and there.
  if (r.support * 2 < static_cast<int>(runs.size())) return std::nullopt;
  return r;
}

// Moves the pointer there and sends the buttons with that position, so that they cannot land
// where the pointer was a moment before.
bool ButtonsAt(POINT at, std::initializer_list<DWORD> buttons) {
  if (!MovePointer(at.x, at.y)) return false;
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> inputs;
  for (DWORD b : buttons) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(at.x, 65535, w - 1);
    in.mi.dy = MulDiv(at.y, 65535, h - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | b;
    inputs.push_back(in);
  }
  const UINT n = static_cast<UINT>(inputs.size());
  return SendInput(n, inputs.data(), sizeof(INPUT)) == n;
}

// Presses a button at `from`, moves by (dx, dy) in steps and lets go there.
bool Drag(POINT from, int dx, int dy, DWORD down, DWORD up) {
  if (!ButtonsAt(from, {down})) return false;
  for (int i = 1; i <= 4; ++i)
    if (!MovePointer(from.x + dx * i / 4, from.y + dy * i / 4)) return false;
  return ButtonsAt(POINT{from.x + dx, from.y + dy}, {up});
}

POINT CentreOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A plain window of the test's own, to take the activation away from the program.
class OwnWindow {
 public:
  OwnWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"VizInputTestOwnWindow";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 420,
                            300, 150, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~OwnWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  OwnWindow(const OwnWindow&) = delete;
  OwnWindow& operator=(const OwnWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

class InputTest : public testing::Test {
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

  bool ViewIs(int zoom, POINT p, bool grid) {
    last_ = ReadView(app_.hwnd(), grid);
    return last_ && last_->zoom == zoom && last_->point.x == p.x && last_->point.y == p.y;
  }
  // Waits until the view shows `p` at `zoom`.
  void ExpectView(int zoom, POINT p, bool grid = true) {
    EXPECT_TRUE(WaitUntil([&] { return ViewIs(zoom, p, grid); }, 8000, 50))
        << "want zoom " << zoom << " at (" << p.x << "," << p.y << "), view shows "
        << Describe(last_);
  }
  // The view shows `p` at `zoom` and goes on showing it for a while.
  void ExpectViewStays(int zoom, POINT p, DWORD ms = 700) {
    ExpectView(zoom, p);
    EXPECT_FALSE(WaitUntil([&] { return !ViewIs(zoom, p, true); }, ms, 50))
        << "the view changed to " << Describe(last_);
  }
  void Key(WORD vk, unsigned mods = kNoMod) { ASSERT_TRUE(KeyTap(vk, mods)); }

  ViewFrame Frame() {
    auto f = FrameOf(app_.hwnd());
    EXPECT_TRUE(f);
    return f.value_or(ViewFrame{});
  }
  // Right-button drag by (dx, dy) from the window's centre moved by `from`. Two presses close
  // together in place and time make a double click, so consecutive gestures start apart.
  void Gesture(int dx, int dy, POINT from = {0, 0}) {
    const POINT c = CentreOf(app_.hwnd());
    ASSERT_TRUE(Drag(POINT{c.x + from.x, c.y + from.y}, dx, dy, MOUSEEVENTF_RIGHTDOWN,
                     MOUSEEVENTF_RIGHTUP));
  }
  bool PauseButtonChecked() {
    HWND tb = FindWindowExW(app_.hwnd(), nullptr, L"ToolbarWindow32", nullptr);
    return tb && SendMessageW(tb, TB_ISBUTTONCHECKED, kIdPauseButton, 0) != 0;
  }
  LONG ExStyle() {
    auto w = QueryWindow(app_.hwnd());
    return w ? w->ex_style : 0;
  }
  HWND PopupMenu() { return FindProcessWindow(app_.pid(), L"#32768"); }
  // The white corner where the two rulers meet (inside the window's one-pixel border).
  bool RulerCornerWhite() {
    const ViewFrame f = Frame();
    auto g = ScreenGrab::Take(RECT{f.viewOrigin.x + 1, f.viewOrigin.y + 1, f.viewOrigin.x + kRuler,
                                   f.viewOrigin.y + kRuler});
    if (!g) return false;
    for (int y = g->rect().top; y < g->rect().bottom; ++y)
      for (int x = g->rect().left; x < g->rect().right; ++x)
        if (g->Pixel(x, y) != RGB(255, 255, 255)) return false;
    return true;
  }

  AppProcess app_;
  std::unique_ptr<PatternWindow> pattern_;
  std::optional<ViewReading> last_;
};

// ---- keys ----------------------------------------------------------------------------------

TEST_F(InputTest, PageKeysStepTheZoomThroughTheFactors) {
  const POINT p{777, 411};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  Key(VK_PRIOR);
  ExpectView(8, p);
  Key(VK_PRIOR, kShift);  // Shift and Ctrl do not tell bindings apart
  ExpectView(10, p);
  Key(VK_NEXT, kCtrl);
  ExpectView(8, p);
  Key(VK_NEXT);
  Key(VK_NEXT);
  ExpectView(4, p);
}

TEST_F(InputTest, EscapeFreezesTheViewWhileThePointerMovesAndResumes) {
  const POINT p{700, 400}, q{880, 600};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  Key(VK_ESCAPE);
  ASSERT_TRUE(MovePointer(q.x, q.y));
  ExpectViewStays(6, p);
  Key(VK_ESCAPE);
  ExpectView(6, q);
}

TEST_F(InputTest, HoldingOneShowsActualSizeAndReleasingRestoresTheZoom) {
  const POINT p{760, 420};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  Key(VK_PRIOR);
  ExpectView(8, p);
  ASSERT_TRUE(KeyDown('1'));
  ExpectView(1, p);
  // Auto-repeat sends more presses; the zoom saved by the first one stays.
  ASSERT_TRUE(KeyDown('1'));
  ASSERT_TRUE(KeyDown('1'));
  Key(VK_PRIOR);  // no zoom steps during the 1:1 view
  ExpectViewStays(1, p, 400);
  ASSERT_TRUE(KeyUp('1'));
  ExpectView(8, p);
  Key(VK_PRIOR);
  ExpectView(10, p);
}

TEST_F(InputTest, ArrowKeysMoveAFrozenViewOnePixelPerPressAndWhileHeld) {
  const POINT p{800, 380};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  Key(VK_ESCAPE);
  ASSERT_TRUE(MovePointer(600, 650));
  ExpectView(6, p);
  Key(VK_RIGHT);
  ExpectView(6, POINT{p.x + 1, p.y});
  Key(VK_DOWN);
  Key(VK_DOWN);
  ExpectView(6, POINT{p.x + 1, p.y + 2});
  // Held: the keyboard repeats the press without a release in between.
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(KeyDown(VK_LEFT));
  ExpectView(6, POINT{p.x - 5, p.y + 2});
  ASSERT_TRUE(KeyUp(VK_LEFT));  // the release moves no further
  ExpectViewStays(6, POINT{p.x - 5, p.y + 2}, 400);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(KeyDown(VK_UP));
  ASSERT_TRUE(KeyUp(VK_UP));
  ExpectView(6, POINT{p.x - 5, p.y - 2});
}

TEST_F(InputTest, WithAltHeldBoundKeysDoNothingAndAltAloneShowsNothing) {
  const POINT p{720, 350};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  Key(VK_PRIOR, kAlt);
  Key(VK_ESCAPE, kAlt);  // no pause either: the view follows the pointer
  ExpectViewStays(6, p, 500);
  ASSERT_TRUE(MovePointer(p.x + 30, p.y));
  ExpectView(6, POINT{p.x + 30, p.y});
  // Alt alone: no menu, and no menu mode that would swallow the next key.
  Key(VK_MENU);
  EXPECT_FALSE(WaitUntil([&] { return PopupMenu() != nullptr; }, 500));
  ExpectView(6, POINT{p.x + 30, p.y});
  Key(VK_PRIOR);
  ExpectView(8, POINT{p.x + 30, p.y});
  EXPECT_EQ(GetForegroundWindow(), app_.hwnd());
}

TEST_F(InputTest, AltF4ClosesTheProgramAndSavesItsSettings) {
  ASSERT_TRUE(MovePointer(700, 400));
  ASSERT_FALSE(FileExists(app_.settings_path()));
  Key(VK_F4, kAlt);
  EXPECT_EQ(app_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(FileExists(app_.settings_path()));
}

TEST_F(InputTest, LeavingTheProgramEndsTheActualSizeView) {
  const POINT p{830, 300};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  ASSERT_TRUE(KeyDown('1'));
  ExpectView(1, p);
  OwnWindow other;
  ASSERT_TRUE(other.hwnd());
  ASSERT_TRUE(WaitUntil([&] {
    if (GetForegroundWindow() == other.hwnd()) return true;
    SetForegroundWindow(other.hwnd());
    return false;
  }, kDefaultTimeoutMs, 50));
  ASSERT_TRUE(KeyUp('1'));  // released where the program does not see it
  ExpectView(6, p);
  // Nothing is left saved: zoom steps work again once the program is back.
  ASSERT_TRUE(app_.Activate());
  Key(VK_PRIOR);
  ExpectView(8, p);
}

// ---- right button ----------------------------------------------------------------------------

TEST_F(InputTest, RightDragUpTogglesStayOnTop) {
  ASSERT_EQ(ExStyle() & WS_EX_TOPMOST, 0);
  Gesture(0, -80);
  EXPECT_TRUE(WaitUntil([&] { return (ExStyle() & WS_EX_TOPMOST) != 0; }));
  Gesture(10, -80, POINT{-40, 60});  // a little to the side is still up
  EXPECT_TRUE(WaitUntil([&] { return (ExStyle() & WS_EX_TOPMOST) == 0; }));
}

// A second gesture pressed where the first one was pressed, within the double-click time,
// arrives as WM_RBUTTONDBLCLK, which the window does not treat as a press: the gesture is lost.
// Disabled until the main window's message handler takes that message as a right press.
TEST_F(InputTest, TwoQuickGesturesFromOnePlaceBothCount) {
  ASSERT_EQ(ExStyle() & WS_EX_TOPMOST, 0);
  Gesture(0, -80);
  EXPECT_TRUE(WaitUntil([&] { return (ExStyle() & WS_EX_TOPMOST) != 0; }));
  Gesture(0, -80);
  EXPECT_TRUE(WaitUntil([&] { return (ExStyle() & WS_EX_TOPMOST) == 0; }));
}

TEST_F(InputTest, RightDragLeftTogglesTheGrid) {
  const POINT p{650, 320};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  EXPECT_TRUE(RulerCornerWhite());
  Gesture(-80, 0);
  ASSERT_TRUE(MovePointer(p.x, p.y));
  EXPECT_TRUE(WaitUntil([&] { return !RulerCornerWhite(); }));
  ExpectView(6, p, /*grid=*/false);
  Gesture(-80, 10, POINT{40, 60});
  ASSERT_TRUE(MovePointer(p.x, p.y));
  EXPECT_TRUE(WaitUntil([&] { return RulerCornerWhite(); }));
  ExpectView(6, p);
}

TEST_F(InputTest, RightDragRightTogglesPause) {
  const POINT p{900, 500};
  ASSERT_FALSE(PauseButtonChecked());
  Gesture(80, 0);
  EXPECT_TRUE(WaitUntil([&] { return PauseButtonChecked(); }));
  ASSERT_TRUE(MovePointer(p.x, p.y));
  // Frozen where the gesture ended, over the program itself: the pattern never appears.
  EXPECT_FALSE(WaitUntil([&] { return ViewIs(6, p, true); }, 700)) << Describe(last_);
  Gesture(80, 10, POINT{-60, 60});
  EXPECT_TRUE(WaitUntil([&] { return !PauseButtonChecked(); }));
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
}

TEST_F(InputTest, RightDragDownOpensTheSettingsWindow) {
  ASSERT_EQ(FindProcessWindow(app_.pid(), L"TApp_VizmoriaSetting"), nullptr);
  Gesture(0, 80);
  EXPECT_TRUE(WaitUntil([&] {
    return FindProcessWindow(app_.pid(), L"TApp_VizmoriaSetting") != nullptr;
  }));
}

TEST_F(InputTest, AShortRightClickOrDragOpensThePopupMenu) {
  const POINT c = CentreOf(app_.hwnd());
  ASSERT_TRUE(ButtonsAt(c, {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}));
  ASSERT_TRUE(WaitUntil([&] { return PopupMenu() != nullptr; })) << "no menu after a click";
  Key(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return PopupMenu() == nullptr; }));
  EXPECT_FALSE(PauseButtonChecked()) << "the Esc that closed the menu went on to pause";

  // Up to three double-click widths and heights is still a click.
  const int dx = 3 * GetSystemMetrics(SM_CXDOUBLECLK), dy = 3 * GetSystemMetrics(SM_CYDOUBLECLK);
  const POINT c2{c.x - 50, c.y + 50}, c3{c.x - 50, c.y - 50};
  ASSERT_TRUE(Drag(c2, dx, -dy, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
  ASSERT_TRUE(WaitUntil([&] { return PopupMenu() != nullptr; })) << "no menu after a short drag";
  Key(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return PopupMenu() == nullptr; }));

  // One pixel further is a gesture: right, pause.
  ASSERT_TRUE(Drag(c3, dx + 1, 0, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
  EXPECT_TRUE(WaitUntil([&] { return PauseButtonChecked(); }));
  EXPECT_EQ(PopupMenu(), nullptr);
}

// ---- wheel and left button -------------------------------------------------------------------

TEST_F(InputTest, TheWheelStepsTheZoomOneNotchAtATime) {
  const POINT p{760, 430};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  // Over the window: where the wheel goes when the pointer is elsewhere differs between systems
  // (the focus window, or the window under the pointer).
  auto roll = [&](int delta) {
    const POINT c = CentreOf(app_.hwnd());
    ASSERT_TRUE(MovePointer(c.x, c.y));
    ASSERT_TRUE(Wheel(delta));
    ASSERT_TRUE(MovePointer(p.x, p.y));
  };
  roll(-WHEEL_DELTA);
  ExpectView(4, p);
  roll(WHEEL_DELTA);
  ExpectView(6, p);
  roll(WHEEL_DELTA);
  ExpectView(8, p);
  roll(2 * WHEEL_DELTA);  // one event, one step
  ExpectView(10, p);
}

// The window hands the drag to the system's move loop with SC_MOVE | HTCAPTION; the 0xF018
// variant of SC_MOVE starts a loop that never moves the window under Wine.
TEST_F(InputTest, ALeftDragOnALiveViewMovesTheWindowButNotWithCtrl) {
  RECT before{};
  ASSERT_TRUE(GetWindowRect(app_.hwnd(), &before));
  const ViewFrame f = Frame();
  const POINT from{f.viewOrigin.x + 60, f.viewOrigin.y + 30};
  ASSERT_TRUE(Drag(from, 40, 30, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP));
  RECT after{};
  EXPECT_TRUE(WaitUntil([&] {
    GetWindowRect(app_.hwnd(), &after);
    return after.left == before.left + 40 && after.top == before.top + 30;
  })) << "window at (" << after.left << "," << after.top << "), was (" << before.left << ","
      << before.top << ")";
  EXPECT_EQ(after.right - after.left, before.right - before.left);

  GetWindowRect(app_.hwnd(), &before);
  const ViewFrame g = Frame();
  ASSERT_TRUE(HoldModifiers(kCtrl));
  ASSERT_TRUE(Drag(POINT{g.viewOrigin.x + 60, g.viewOrigin.y + 30}, 40, 30, MOUSEEVENTF_LEFTDOWN,
                   MOUSEEVENTF_LEFTUP));
  EXPECT_FALSE(WaitUntil([&] {
    GetWindowRect(app_.hwnd(), &after);
    return after.left != before.left || after.top != before.top;
  }, 700)) << "moved with Ctrl held";
  ASSERT_TRUE(ReleaseModifiers(kCtrl));
}

TEST_F(InputTest, ALeftDragOnAPausedViewPansItByTheDragOverTheZoom) {
  const POINT p{760, 400};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  Key(VK_ESCAPE);
  ExpectView(6, p);
  RECT before{};
  GetWindowRect(app_.hwnd(), &before);
  const ViewFrame f = Frame();
  // (+33, -15) / 6 = (5.5, -2.5): rounded away from zero, the content follows the drag.
  ASSERT_TRUE(Drag(POINT{f.viewOrigin.x + 60, f.viewOrigin.y + 40}, 33, -15, MOUSEEVENTF_LEFTDOWN,
                   MOUSEEVENTF_LEFTUP));
  ExpectView(6, POINT{p.x - 6, p.y + 3});
  RECT after{};
  GetWindowRect(app_.hwnd(), &after);
  EXPECT_EQ(after.left, before.left) << "a pan must not move the window";
  EXPECT_EQ(after.top, before.top);
  // A second pan starts from where the first one left the view.
  Key(VK_PRIOR);  // 8x
  ExpectView(8, POINT{p.x - 6, p.y + 3});
  ASSERT_TRUE(Drag(POINT{f.viewOrigin.x + 100, f.viewOrigin.y + 20}, -20, 28, MOUSEEVENTF_LEFTDOWN,
                   MOUSEEVENTF_LEFTUP));
  ExpectView(8, POINT{p.x - 6 + 3, p.y + 3 - 4});  // (20/8, -28/8) = (2.5, -3.5)
}

TEST_F(InputTest, ADoubleClickOnAPausedViewCentresTheClickedCell) {
  const POINT p{700, 420};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p);
  Key(VK_ESCAPE);
  ExpectView(6, p);
  const ViewFrame f = Frame();
  const Cells c = CellsOf(f, 6, true);
  ASSERT_GT(c.rows, 4);
  const int i = c.halfX + 12, j = c.halfY - 3;
  const POINT at = CellPoint(f, c, i, j);
  ASSERT_TRUE(ButtonsAt(at, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                             MOUSEEVENTF_LEFTUP}));
  // After the glide the clicked cell's screen point is the capture point.
  ExpectView(6, POINT{p.x + 12, p.y - 3});
  ExpectViewStays(6, POINT{p.x + 12, p.y - 3}, 400);
}

}  // namespace
}  // namespace viz::e2e
