// The program on a desktop of two monitors: the primary (0,0)-(1280,800) and a smaller one left
// of it, (-1024,0)-(0,768), so that the strip (-1024,768)-(0,800) lies on neither. Pixels,
// coordinates and placement are checked against what the system reports. Run by the desktops
// tier (scripts/test-desktops.sh), which gives Wine two X screens joined by Xinerama; there is no
// window manager there, so nothing here depends on frames drawn by one.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "harness.h"
#include "info_model.h"
#include "view_model.h"

namespace viz::e2e {
namespace {

constexpr RECT kPrimary{0, 0, 1280, 800};
constexpr RECT kLeft{-1024, 0, 0, 768};
constexpr RECT kPattern{-1000, 40, 860, 740};         // over both monitors
constexpr RECT kCornerPattern{-1024, 660, -860, 768};  // the left monitor's bottom-left corner
constexpr POINT kAppAt{900, 40};                       // the magnifier, clear of the patterns
constexpr int kCmdShortcutWindow = 9004;
constexpr UINT kSysCmdMonitorMove = 201;

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM lp) {
  reinterpret_cast<std::vector<RECT>*>(lp)->push_back(*r);
  return TRUE;
}

std::vector<RECT> Monitors() {
  std::vector<RECT> m;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&m));
  return m;
}

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool OnAMonitor(POINT q) { return PtInRect(&kPrimary, q) || PtInRect(&kLeft, q); }

// The pattern in the given windows, black wherever no monitor is; unknown elsewhere.
SourceColors PatternsOrBlack(std::vector<RECT> patterns) {
  return [patterns](POINT q) {
    for (const RECT& r : patterns)
      if (PtInRect(&r, q)) return PatternColor(q.x, q.y);
    return OnAMonitor(q) ? CLR_INVALID : RGB(0, 0, 0);
  };
}

void Put32(std::vector<uint8_t>& f, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}
int32_t Get32(const std::vector<uint8_t>& f, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(f[at + i]) << (8 * i);
  return static_cast<int32_t>(v);
}

constexpr size_t kBlock = 22;  // the general block follows the 22-byte header

class TwoMonitorTest : public CopyingTest {
 protected:
  void SetUp() override {
    CopyingTest::SetUp();
    std::vector<RECT> m = Monitors();
    ASSERT_EQ(m.size(), 2u) << "the desktops tier gives this suite two monitors";
    std::sort(m.begin(), m.end(), [](const RECT& a, const RECT& b) { return a.left < b.left; });
    ASSERT_TRUE(Same(m[0], kLeft) && Same(m[1], kPrimary)) << "unexpected monitor layout";
  }

  // The program with the default lines (or `settings`), placed at kAppAt on the primary.
  void StartAt(std::vector<uint8_t> settings = TestSettings(3, 1, 7, kAppAt)) {
    StartApp(std::move(settings));
  }

  bool Key(WORD vk, unsigned mods = kNoMod) { return app_.Activate() && KeyTap(vk, mods); }

  void ExpectView(int zoom, POINT p, const SourceColors& source, bool grid = true,
                  int visibleLines = 6) {
    std::string report;
    EXPECT_TRUE(WaitForView(app_.hwnd(), zoom, p, source, &report, grid, kGray, GridOp::Copy,
                            visibleLines))
        << report;
  }

  // The screen point the program captures, read from its screen line.
  std::optional<POINT> CapturePoint() {
    auto text = CopyWith(VK_F2);
    if (!text) return std::nullopt;
    const std::vector<std::wstring> lines = SplitCrLf(*text);
    if (lines.size() != 13) return std::nullopt;
    POINT p{};
    if (swscanf(lines[3].c_str(), (ScreenLabel() + L"X=%ld Y=%ld").c_str(), &p.x, &p.y) != 2) return std::nullopt;
    return p;
  }
  testing::AssertionResult CapturesAt(POINT want) {
    std::optional<POINT> got;
    if (WaitUntil([&] {
          got = CapturePoint();
          return got && got->x == want.x && got->y == want.y;
        }, 8000, 100))
      return testing::AssertionSuccess();
    return testing::AssertionFailure() << "capture point (" << (got ? got->x : 0) << ","
                                       << (got ? got->y : 0) << "), wanted (" << want.x << ","
                                       << want.y << ")";
  }

  // The screen point at the centre of the view cell `dx`, `dy` cells from the centre cell.
  std::optional<POINT> CellPoint(int zoom, int dx, int dy, int visibleLines = 6) {
    auto f = FrameOf(app_.hwnd(), visibleLines);
    if (!f) return std::nullopt;
    const int cols = (f->clientWidth - kRuler + zoom - 1) / zoom;
    const int rows = (f->panelTop - kRuler + zoom - 1) / zoom;
    return POINT{f->viewOrigin.x + kRuler + (HalfAway(cols, 2) - 1 + dx) * zoom + zoom / 2,
                 f->viewOrigin.y + kRuler + (HalfAway(rows, 2) - 1 + dy) * zoom + zoom / 2};
  }

  testing::AssertionResult WindowAt(POINT want) {
    RECT r{};
    if (WaitUntil([&] { return GetWindowRect(app_.hwnd(), &r) && r.left == want.x && r.top == want.y; }))
      return testing::AssertionSuccess();
    return testing::AssertionFailure() << "window at (" << r.left << "," << r.top << "), wanted ("
                                       << want.x << "," << want.y << ")";
  }
};

TEST_F(TwoMonitorTest, TheVirtualScreenSpansBothMonitorsWithThePrimaryAtTheOrigin) {
  EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), -1024);
  EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), 0);
  EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 2304);
  EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 800);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTONULL), &mi));
  EXPECT_TRUE(mi.dwFlags & MONITORINFOF_PRIMARY);
  EXPECT_EQ(MonitorFromPoint(POINT{-500, 780}, MONITOR_DEFAULTTONULL), nullptr);
}

// ---- placement -------------------------------------------------------------------------------

TEST_F(TwoMonitorTest, OpensBesideTheTopLeftCornerOfTheMonitorUnderTheCursor) {
  for (const RECT& mon : {kLeft, kPrimary}) {
    ASSERT_TRUE(MovePointer(mon.left + 400, 300));
    AppProcess app;
    ASSERT_TRUE(app.Start()) << app.error();
    RECT r{};
    ASSERT_TRUE(GetWindowRect(app.hwnd(), &r));
    EXPECT_EQ(r.left, mon.left + 75);
    EXPECT_EQ(r.top, mon.top + 75);
    EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
  }
}

TEST_F(TwoMonitorTest, MonitorMoveGoesToTheNextMonitorsCornerInTurnAndShiftQToTheOrigin) {
  ASSERT_TRUE(MovePointer(600, 400));
  AppOptions o;
  ASSERT_TRUE(app_.Start(o)) << app_.error();
  ASSERT_TRUE(WindowAt(POINT{75, 75}));
  // The next monitor in the system's order, from the one the window is on.
  const std::vector<RECT> order = Monitors();
  size_t at = 0;
  while (at < order.size() && !Same(order[at], kPrimary)) ++at;
  ASSERT_LT(at, order.size());
  for (int step = 0; step < 3; ++step) {
    at = (at + 1) % order.size();
    if (step == 1) {  // the entry of the system menu
      PostMessageW(app_.hwnd(), WM_SYSCOMMAND, kSysCmdMonitorMove, 0);
    } else {
      ASSERT_TRUE(Key('Q'));
    }
    EXPECT_TRUE(WindowAt(POINT{order[at].left, order[at].top})) << "step " << step;
  }
  ASSERT_TRUE(Key('Q', kShift));
  EXPECT_TRUE(WindowAt(POINT{0, 0}));
}

TEST_F(TwoMonitorTest, AStoredWindowOnNoMonitorComesBackUnlessCtrlIsHeldAtStart) {
  const POINT nowhere{-1900, 120};  // left of the left monitor
  ASSERT_TRUE(MovePointer(600, 400));
  StartAt(TestSettings(3, 1, 7, nowhere));
  EXPECT_TRUE(WindowAt(POINT{0, 0}));
  ASSERT_TRUE(app_.Close());

  // The strip below the left monitor is on no monitor either: a window there stays with Ctrl.
  // Ctrl is held at the X server, which tells a window of Wine's that has the X focus.
  PatternWindow keys(RECT{1000, 600, 1100, 700});
  ASSERT_TRUE(keys.WaitShown() && PinXFocus(keys.hwnd()));
  ASSERT_TRUE(HoldModifiers(kCtrl));
  AppProcess held;
  AppOptions o;
  o.settings = TestSettings(3, 1, 7, POINT{-1000, 770});
  const bool started = held.Start(o);
  ASSERT_TRUE(ReleaseModifiers(kCtrl));
  ASSERT_TRUE(started) << held.error();
  RECT r{};
  ASSERT_TRUE(GetWindowRect(held.hwnd(), &r));
  EXPECT_EQ(r.left, -1000);
  EXPECT_EQ(r.top, 770);
}

TEST_F(TwoMonitorTest, OriginAndFixedPointAtNegativeCoordinatesSurviveARestart) {
  const POINT origin{-700, 200}, fixed{-650, 251};
  std::vector<uint8_t> f = TestSettings(3, 1 | 8, 7, kAppAt, origin);
  f[kBlock + 55] = 2;  // fixed-point capture on
  Put32(f, kBlock + 57, fixed.x);
  Put32(f, kBlock + 61, fixed.y);
  ASSERT_TRUE(MovePointer(600, 400));
  StartAt(f);
  const std::wstring distance = test::Lang(L"長さ     ", L"Distance ") + L"W=51 H=52 (-700,200)";
  for (int run = 0; run < 2; ++run) {
    ASSERT_TRUE(CapturesAt(fixed)) << "run " << run;
    auto text = CopyWith(VK_F2);
    ASSERT_TRUE(text);
    EXPECT_EQ(Utf8(SplitCrLf(*text)[5]), Utf8(distance)) << "run " << run;
    const std::wstring saved = app_.settings_path();
    ASSERT_EQ(app_.Close(), std::optional<DWORD>(0));
    auto bytes = ReadFileBytes(saved);
    ASSERT_TRUE(bytes && bytes->size() == 343u);
    EXPECT_EQ(Get32(*bytes, kBlock + 37), origin.x);
    EXPECT_EQ(Get32(*bytes, kBlock + 41), origin.y);
    EXPECT_EQ((*bytes)[kBlock + 55], 2);
    EXPECT_EQ(Get32(*bytes, kBlock + 57), fixed.x);
    EXPECT_EQ(Get32(*bytes, kBlock + 61), fixed.y);
    if (run == 0) StartAt(*bytes);  // the file as the program wrote it
  }
}

// ---- the magnified image ---------------------------------------------------------------------

TEST_F(TwoMonitorTest, ImageIsExactAtEveryZoomOnTheLeftMonitorAndAcrossTheBoundary) {
  PatternWindow pattern(kPattern);
  ASSERT_TRUE(pattern.WaitShown());
  for (bool grid : {true, false}) {
    std::vector<uint8_t> f = TestSettings(3, 1, 7, kAppAt);
    f[kBlock + 17] = grid ? 1 : 0;
    StartAt(f);
    for (POINT p : {POINT{-500, 300}, POINT{-2, 400}}) {
      ASSERT_TRUE(MovePointer(p.x, p.y));
      for (int i = 0; i < 9; ++i) ASSERT_TRUE(Key(VK_NEXT));  // down to 1x
      for (int i = 0; i < 10; ++i) {
        if (i > 0) {
          ASSERT_TRUE(Key(VK_PRIOR));
        }
        ExpectView(kZooms[i], p, PatternsOrBlack({kPattern}), grid);
        if (HasFailure()) return;  // one wrong view tells enough
      }
    }
    ASSERT_EQ(app_.Close(), std::optional<DWORD>(0));
  }
}

TEST_F(TwoMonitorTest, PausedDesktopHoldsBothMonitorsAndPansAcrossTheBoundary) {
  PatternWindow pattern(kPattern);
  PatternWindow corner(kCornerPattern);
  ASSERT_TRUE(pattern.WaitShown() && corner.WaitShown());
  const SourceColors source = PatternsOrBlack({kPattern, kCornerPattern});
  StartAt();
  POINT p{3, 300};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  ExpectView(6, p, source);
  ASSERT_TRUE(Key(VK_ESCAPE));  // pause: the desktop is frozen
  HWND panel = FindWindowExW(app_.hwnd(), nullptr, L"Static", L"pnlCapture");
  ASSERT_TRUE(WaitUntil([&] { return panel && IsWindowVisible(panel); })) << "not paused";
  ASSERT_TRUE(MovePointer(1100, 700));
  ExpectView(6, p, source);

  // Arrow keys step over the boundary onto the left monitor.
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(Key(VK_LEFT));
  p = POINT{-3, 300};
  ExpectView(6, p, source);

  // The capture panel's left button moves one pixel.
  HWND left = FindWindowExW(panel, nullptr, L"Button", L"←");
  ASSERT_TRUE(left) << "no capture panel";
  RECT b{};
  GetWindowRect(left, &b);
  ASSERT_TRUE(MovePointer((b.left + b.right) / 2, (b.top + b.bottom) / 2));
  ASSERT_TRUE(Click());
  p.x -= 1;
  ExpectView(6, p, source);

  // A left drag pans: the content follows the mouse, ten screen pixels for 60 view pixels.
  auto c = CellPoint(6, 0, 0);
  ASSERT_TRUE(c);
  ASSERT_TRUE(MovePointer(c->x, c->y));
  ASSERT_TRUE(MouseDown(Button::kLeft));
  ASSERT_TRUE(MovePointer(c->x + 30, c->y));
  ASSERT_TRUE(MovePointer(c->x + 60, c->y));
  ASSERT_TRUE(MouseUp(Button::kLeft));
  p.x -= 10;
  ExpectView(6, p, source);

  // A double click re-centres on the clicked cell.
  c = CellPoint(6, 7, -2);
  ASSERT_TRUE(c);
  ASSERT_TRUE(MovePointer(c->x, c->y));
  ASSERT_TRUE(Click() && Click());
  p = POINT{p.x + 7, p.y - 2};
  ExpectView(6, p, source);
  ASSERT_TRUE(CapturesAt(p));

  // Shift with pause glides the capture point to the cursor: the bottom-left corner of the left
  // monitor, beside the strip on no monitor and the outside of the desktop, which show black.
  ASSERT_TRUE(MovePointer(-1020, 760));
  ASSERT_TRUE(HoldModifiers(kShift));
  ASSERT_TRUE(Key(VK_ESCAPE));
  ASSERT_TRUE(ReleaseModifiers(kShift));
  p = POINT{-1020, 760};
  ExpectView(6, p, source);

  // A pan into the strip is held on the monitor the point was on; a double click there does
  // nothing.
  c = CellPoint(6, 0, 0);
  ASSERT_TRUE(c);
  ASSERT_TRUE(MovePointer(c->x, c->y));
  ASSERT_TRUE(MouseDown(Button::kLeft));
  ASSERT_TRUE(MovePointer(c->x, c->y - 60));
  ASSERT_TRUE(MouseUp(Button::kLeft));
  EXPECT_TRUE(CapturesAt(POINT{-1020, 767}));
  c = CellPoint(6, 0, 3);
  ASSERT_TRUE(c);
  ASSERT_TRUE(MovePointer(c->x, c->y));
  ASSERT_TRUE(Click() && Click());
  EXPECT_TRUE(CapturesAt(POINT{-1020, 767}));
  ExpectView(6, POINT{-1020, 767}, source);
}

// ---- position lines --------------------------------------------------------------------------

TEST_F(TwoMonitorTest, PositionLinesAndCopiesShowTheSystemsNegativeValues) {
  // A window across the boundary; its child lies on the left monitor.
  TestWindows windows(false, RECT{-600, 100, 300, 560});
  const POINT origin{-700, 200};
  StartAt(TestSettings(7, 13, 0x43F, kAppAt, origin));  // every line shown
  POINT onChild{kChildRect.left + 17, kChildRect.top + 23};
  ClientToScreen(windows.top(), &onChild);
  ASSERT_LT(onChild.x, 0);
  ASSERT_TRUE(WaitWindowAt(onChild, windows.child()));
  ASSERT_TRUE(MovePointer(onChild.x, onChild.y));
  auto f = FactsAt(onChild, origin);
  ASSERT_TRUE(f);
  ExpectCopyAll(*f);
  ExpectLineCopies(*f);

  const POINT onTop{150, 400};  // the same window, on the primary
  ASSERT_TRUE(WaitWindowAt(onTop, windows.top()));
  ASSERT_TRUE(MovePointer(onTop.x, onTop.y));
  f = FactsAt(onTop, origin);
  ASSERT_TRUE(f);
  ExpectCopyAll(*f);
}

// ---- the other windows -----------------------------------------------------------------------

TEST_F(TwoMonitorTest, SettingsShortcutAndMessageWindowsOpenOnTheMonitorUnderTheCursor) {
  StartAt();  // on the primary
  ASSERT_TRUE(MovePointer(-500, 400));
  ASSERT_TRUE(app_.Activate());
  ASSERT_TRUE(HoldModifiers(kAlt));
  KeyTap(VK_F10);
  HWND settings = nullptr;
  WaitUntil([&] { return (settings = FindProcessWindow(app_.pid(), L"TApp_VizmoriaSetting")) != nullptr; });
  ASSERT_TRUE(ReleaseModifiers(kAlt));
  ASSERT_TRUE(settings) << "Alt+F10 opened no settings window";
  RECT r{};
  GetWindowRect(settings, &r);
  EXPECT_TRUE(Inside(r, kLeft)) << "settings window at " << r.left << "," << r.top;
  PostMessageW(settings, WM_CLOSE, 0, 0);

  PostMessageW(app_.hwnd(), WM_COMMAND, kCmdShortcutWindow, 0);
  HWND shortcuts = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (shortcuts = FindProcessWindow(app_.pid(), L"TApp_CustomShortCut")) != nullptr; }));
  GetWindowRect(shortcuts, &r);
  EXPECT_TRUE(Inside(r, kLeft)) << "shortcut window at " << r.left << "," << r.top;
  PostMessageW(shortcuts, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(shortcuts); }));

  // A picture file that cannot be written (a folder of its name) brings a message box.
  const std::wstring bmp = app_.FilePath(L"vizmoria.bmp");
  ASSERT_TRUE(CreateDirectoryW(bmp.c_str(), nullptr));
  // The picture reaches the clipboard before the file is tried: that tells the key arrived (just
  // after a window of the program closed, a key now and then goes nowhere; it is given a retry).
  bool copied = false;
  for (int attempt = 0; attempt < 3 && !copied; ++attempt) {
    const DWORD seq = ClipboardSequence();
    ASSERT_TRUE(app_.Activate());
    ASSERT_TRUE(HoldModifiers(kCtrl));
    KeyTap('Z');
    copied = WaitUntil([&] { return ClipboardSequence() != seq; }, 3000);
    ASSERT_TRUE(ReleaseModifiers(kCtrl));
  }
  ASSERT_TRUE(copied) << "Ctrl+Z copied nothing";
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = FindProcessWindow(app_.pid(), L"#32770")) != nullptr; }));
  GetWindowRect(box, &r);
  EXPECT_TRUE(Inside(r, kLeft)) << "message box at " << r.left << "," << r.top;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  RemoveDirectoryW(bmp.c_str());
}

}  // namespace
}  // namespace viz::e2e
