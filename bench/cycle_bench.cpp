// vizbench: cost of the magnifier's capture cycle against a bare screen copy of the same area,
// in the main window and in the capture engine alone, where the time of a cycle goes, and
// whether anything grows over a long run.
//
// The real main window is created in this process; its timer is stopped so that only the cycles
// run here (RefreshNow) are measured. Cycles and bare copies are timed in alternating blocks so
// that load from other processes falls on both alike.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "api_hooks.h"
#include "app/main_window_win.h"
#include "capture/capture_engine_win.h"
#include "capture/view_geometry.h"
#include "bench_util.h"
#include "info/info_lines.h"
#include "info/window_ident_win.h"
#include "platform/sysfuncs_win.h"

using viz::Cmd;
using viz::MainWindow;
using viz::Sender;

namespace {

constexpr POINT kCursor{1150, 400};  // over the desktop, outside the magnifier in every case
constexpr int kBlocks = 10;
constexpr int kPerBlock = 100;        // 1000 cycles per case
int g_soakCycles = 100000;  // --soak=N for a shorter look
constexpr int kSoakSample = 10000;

struct CaseSpec {
  const char* name;
  int clientW, clientH;  // 0: the designed client size
  Cmd zoom;
  bool grid;
};

struct CaseResult {
  std::string name;
  bench::BlitRecord blits;
  int viewW = 0, viewH = 0;
  bench::Summary cycle, changing, bare;  // still cycles, cycles over new pixels, bare copies
  long long callsPerCycle = 0;
};

MainWindow* g_main = nullptr;
SIZE g_designClient{};

HWND Wnd() { return g_main->hwnd(); }

SIZE ClientSize() {
  RECT r;
  ::GetClientRect(Wnd(), &r);
  return SIZE{r.right, r.bottom};
}

void StopMainTimer() { ::KillTimer(Wnd(), viz::kTimerMain); }

void PlaceCursor() {
  for (int i = 0; i < 50; ++i) {
    ::SetCursorPos(kCursor.x, kCursor.y);
    bench::Pump(20);
    POINT p;
    ::GetCursorPos(&p);
    if (p.x == kCursor.x && p.y == kCursor.y) return;
  }
  std::printf("warning: the cursor did not reach (%ld,%ld)\n", kCursor.x, kCursor.y);
}

// What the magnifier looks at: a window around the cursor whose every pixel differs from its
// neighbours, so that a cursor one pixel away brings new pixels into the view.
LRESULT CALLBACK PatternProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(w, &ps);
    RECT r;
    ::GetClientRect(w, &r);
    viz::DibCanvas pic;
    if (pic.Create(r.right, r.bottom)) {
      for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) {
          const uint32_t h = (static_cast<uint32_t>(x) * 2654435761u) ^ (static_cast<uint32_t>(y) * 40503u);
          ::SetPixelV(pic.dc(), x, y, RGB(h & 0xFF, (h >> 8) & 0xFF, (h >> 16) & 0xFF));
        }
      ::BitBlt(dc, 0, 0, r.right, r.bottom, pic.dc(), 0, 0, SRCCOPY);
    }
    ::EndPaint(w, &ps);
    return 0;
  }
  return ::DefWindowProcW(w, msg, wp, lp);
}

HWND MakePatternWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PatternProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VizBenchPattern";
  ::RegisterClassW(&wc);
  // Right of every magnifier size the cases use, around the cursor.
  HWND w = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, wc.lpszClassName,
                             L"pattern", WS_POPUP, kCursor.x - 140, kCursor.y - 200, 280, 400,
                             nullptr, nullptr, wc.hInstance, nullptr);
  ::ShowWindow(w, SW_SHOWNOACTIVATE);
  ::UpdateWindow(w);
  bench::Pump(200);
  return w;
}

// The cursor one pixel right of its place on odd steps: every cycle sees pixels the last did not.
void StepCursor(int i) { ::SetCursorPos(kCursor.x + (i & 1), kCursor.y); }

void SetClient(int w, int h, int x, int y) {
  RECT r{0, 0, w, h};
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongW(Wnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(Wnd(), GWL_EXSTYLE)));
  ::SetWindowPos(Wnd(), nullptr, x, y, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  bench::Pump(100);
}

void SetGrid(bool on) {
  if (g_main->Commands().Checked(Cmd::Grid_Disp) != on) g_main->Execute(Cmd::Grid_Disp, Sender::Program);
}

void Configure(const CaseSpec& c) {
  const int w = c.clientW ? c.clientW : g_designClient.cx;
  const int h = c.clientW ? c.clientH : g_designClient.cy;
  const int pos = c.clientW ? 0 : 75;
  SetClient(w, h, pos, pos);
  g_main->Execute(c.zoom, Sender::Program);
  SetGrid(c.grid);
  StopMainTimer();
  PlaceCursor();
  bench::Pump(50);
}

// One bare copy: the screen area the cycle copied into a memory DIB of the capture size, then
// enlarged into a DIB of the view's size, as the cycle does.
class BareCopy {
 public:
  bool Init(const bench::BlitRecord& b, int viewW, int viewH) {
    b_ = b;
    screen_ = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    return screen_ && cap_.Create(b.width, b.height) && view_.Create(viewW, viewH) &&
           ::SetStretchBltMode(view_.dc(), COLORONCOLOR);
  }
  ~BareCopy() {
    if (screen_) ::DeleteDC(screen_);
  }
  void Copy() {
    ::BitBlt(cap_.dc(), 0, 0, b_.width, b_.height, screen_, b_.srcX, b_.srcY, b_.rop);
    ::StretchBlt(view_.dc(), b_.dstX, b_.dstY, b_.dstW, b_.dstH, cap_.dc(), 0, 0, b_.width,
                 b_.height, SRCCOPY);
  }

 private:
  bench::BlitRecord b_;
  HDC screen_ = nullptr;
  viz::DibCanvas cap_, view_;
};

// Three kinds of runs in alternating blocks: cycles with the cursor still (the pixels equal the
// image shown), cycles with the cursor a pixel away from the last (every pixel new; the
// SetCursorPos before each is not timed), and bare copies of the same areas.
CaseResult RunCase(const CaseSpec& c) {
  Configure(c);
  for (int i = 0; i < 30; ++i) g_main->RefreshNow();
  CaseResult r;
  r.name = c.name;
  // The copy and the enlargement of a cycle over new pixels.
  StepCursor(1);
  bench::ResetStats();
  bench::SetCounting(true);
  g_main->RefreshNow();
  bench::SetCounting(false);
  for (const bench::ApiStat& s : bench::Stats()) r.callsPerCycle += s.calls;
  r.blits = bench::LastBlits();
  r.viewW = g_main->ViewCanvas().width();
  r.viewH = g_main->ViewCanvas().height();

  BareCopy bare;
  const bool bareOk = r.blits.haveBitBlt && r.blits.haveStretch && bare.Init(r.blits, r.viewW, r.viewH);
  if (!bareOk) std::printf("%s: the cycle's copy was not seen; no bare figures\n", c.name);
  std::vector<double> still, changing, b1;
  int step = 0;
  for (int blk = 0; blk < kBlocks; ++blk) {
    bench::Pump(0);
    StepCursor(0);
    g_main->RefreshNow();
    for (int i = 0; i < kPerBlock; ++i) {
      const double t0 = bench::NowUs();
      g_main->RefreshNow();
      still.push_back(bench::NowUs() - t0);
    }
    for (int i = 0; i < kPerBlock; ++i) {
      StepCursor(++step);
      const double t0 = bench::NowUs();
      g_main->RefreshNow();
      changing.push_back(bench::NowUs() - t0);
    }
    if (!bareOk) continue;
    for (int i = 0; i < kPerBlock; ++i) {
      const double t0 = bench::NowUs();
      bare.Copy();
      b1.push_back(bench::NowUs() - t0);
    }
  }
  PlaceCursor();
  r.cycle = bench::Summarise(still);
  r.changing = bench::Summarise(changing);
  r.bare = bench::Summarise(b1);
  return r;
}

double Ratio(double a, double b) { return b > 0 ? a / b : 0; }

void PrintCaseHeader() {
  std::printf("%-26s %-9s %-9s %5s | %9s %9s | %9s %9s | %9s %9s | %7s %7s\n", "case", "capture",
              "view", "calls", "still med", "still p95", "new med", "new p95", "bare med",
              "bare p95", "still/b", "new/b");
  std::printf("%s\n", std::string(134, '-').c_str());
}

void PrintCase(const CaseResult& r) {
  char cap[24], view[24];
  std::snprintf(cap, sizeof cap, "%dx%d", r.blits.width, r.blits.height);
  std::snprintf(view, sizeof view, "%dx%d", r.viewW, r.viewH);
  std::printf("%-26s %-9s %-9s %5lld | %7.1fus %7.1fus | %7.1fus %7.1fus | %7.1fus %7.1fus | "
              "%6.2fx %6.2fx\n",
              r.name.c_str(), cap, view, r.callsPerCycle, r.cycle.median, r.cycle.p95,
              r.changing.median, r.changing.p95, r.bare.median, r.bare.p95,
              Ratio(r.cycle.median, r.bare.median), Ratio(r.changing.median, r.bare.median));
  std::fflush(stdout);
}

// Where the time of a designed-size cycle goes: time inside each hooked Win32 call. Under Wine a
// QueryPerformanceCounter pair costs about a microsecond, so the cost of the probe itself is
// measured on a call that does almost nothing (GetTickCount) and taken off every call.
struct ProbeCost {
  double usPerTick = 0;
  double inside = 0;  // time a probe records inside a hooked call that does almost nothing
  double wall = 0;    // wall time the probes add per call
};

ProbeCost MeasureProbeCost() {
  ProbeCost pc;
  LARGE_INTEGER f;
  ::QueryPerformanceFrequency(&f);
  pc.usPerTick = 1e6 / static_cast<double>(f.QuadPart);
  constexpr int kCal = 20000;
  double a0 = bench::NowUs();
  for (int i = 0; i < kCal; ++i) (void)::GetTickCount();
  const double plain = bench::NowUs() - a0;
  bench::ResetStats();
  bench::SetTiming(true);
  a0 = bench::NowUs();
  for (int i = 0; i < kCal; ++i) (void)::GetTickCount();
  const double probed = bench::NowUs() - a0;
  bench::SetTiming(false);
  for (const bench::ApiStat& s : bench::Stats())
    if (std::string(s.name) == "GetTickCount")
      pc.inside = static_cast<double>(s.ticksTop) * pc.usPerTick / kCal;
  pc.wall = std::max(0.0, (probed - plain) / kCal);
  return pc;
}

// Runs `step` n times with every hooked call timed and prints where the time went, each call's
// time corrected by the probes' own cost. Returns the corrected mean time of a step.
template <typename Step>
double PrintTimeTable(const ProbeCost& pc, int n, Step step) {
  bench::ResetStats();
  bench::SetTiming(true);
  const double t0 = bench::NowUs();
  for (int i = 0; i < n; ++i) step();
  const double total = bench::NowUs() - t0;
  bench::SetTiming(false);

  std::vector<bench::ApiStat> st = bench::Stats();
  long long allCalls = 0;
  for (const bench::ApiStat& s : st) allCalls += s.calls;
  const double stepUs = total / n - pc.wall * static_cast<double>(allCalls) / n;
  auto corrected = [&](long long ticks, long long calls) {
    return std::max(0.0, (static_cast<double>(ticks) * pc.usPerTick - pc.inside * static_cast<double>(calls)) / n);
  };
  auto topOf = [&](const bench::ApiStat& a) { return corrected(a.ticksTop, a.calls - a.callsNested); };
  std::sort(st.begin(), st.end(), [&](const bench::ApiStat& a, const bench::ApiStat& b) {
    return topOf(a) + corrected(a.ticksNested, a.callsNested) >
           topOf(b) + corrected(b.ticksNested, b.callsNested);
  });
  std::printf("  %-24s %9s %11s %13s %7s\n", "call", "calls/run", "us/run top", "us/run nested",
              "share");
  double topSum = 0, smallSum = 0;
  for (const bench::ApiStat& s : st) {
    if (s.calls == 0) continue;
    const double top = topOf(s);
    const double nested = corrected(s.ticksNested, s.callsNested);
    topSum += top;
    if (top + nested < 1.0) {
      smallSum += top;
      continue;
    }
    std::printf("  %-24s %9.1f %11.1f %13.1f %6.1f%%\n", s.name,
                static_cast<double>(s.calls) / n, top, nested, 100.0 * top / stepUs);
  }
  std::printf("  %-24s %9s %11.1f %13s %6.1f%%\n", "(other hooked calls)", "", smallSum, "",
              100.0 * smallSum / stepUs);
  const double rest = stepUs - topSum;
  std::printf("  %-24s %9s %11.1f %13s %6.1f%%   (own code, unhooked calls)\n",
              "(outside hooked calls)", "", rest, "", 100.0 * rest / stepUs);
  return stepUs;
}

void Profile(double untimedCycleUs) {
  Configure(CaseSpec{"profile", 0, 0, Cmd::Zoom_6, true});
  const ProbeCost pc = MeasureProbeCost();
  constexpr int kN = 500;
  for (int i = 0; i < 30; ++i) g_main->RefreshNow();
  std::printf("\nWhere a cycle's time goes (designed size, zoom 6, grid on, the cursor still; %d\n"
              "cycles, the probes' cost (%.2f us per call) taken off; the median of the table\n"
              "above was %.1f us. 'nested' = called from inside another hooked call; share =\n"
              "top-level time / mean cycle):\n",
              kN, pc.wall, untimedCycleUs);
  const double cycleUs = PrintTimeTable(pc, kN, [] { g_main->RefreshNow(); });
  std::printf("  mean cycle %.1f us\n", cycleUs);

  // The same with the cursor moving a pixel round a small circle before every cycle (the
  // SetCursorPos itself is in the table).
  std::printf("\nWhere a cycle's time goes with the cursor moving (%d cycles):\n", kN);
  static int step = 0;
  const double movingUs = PrintTimeTable(pc, kN, [] {
    const double a = 2 * 3.14159265 * (step++ % 50) / 50;
    ::SetCursorPos(kCursor.x + static_cast<int>(10 * std::cos(a)),
                   kCursor.y + static_cast<int>(10 * std::sin(a)));
    g_main->RefreshNow();
  });
  std::printf("  mean cycle %.1f us\n", movingUs);

  // The cycle describes the window under the cursor anew every quarter second; alone:
  std::printf("\nWhere the description of the window under the cursor goes (%d runs):\n", kN);
  const double identUs = PrintTimeTable(pc, kN, [] {
    viz::T_WinItem item;
    viz::IdentifyWindowAt(kCursor, Wnd(), false, &item);
  });
  std::printf("  mean %.1f us\n", identUs);

  // What-if: the composition check loads dwmapi.dll from the system directory and frees it
  // again in every cycle; with a reference held here the load finds it mapped already.
  const bool dwmMapped = ::GetModuleHandleW(L"dwmapi.dll") != nullptr;
  HMODULE held = viz::LoadSystemLibrary(L"dwmapi.dll");
  std::vector<double> withHeld, without;
  for (int blk = 0; blk < 10; ++blk) {
    for (int i = 0; i < 50; ++i) {
      const double a = bench::NowUs();
      g_main->RefreshNow();
      withHeld.push_back(bench::NowUs() - a);
    }
    if (held) ::FreeLibrary(held);
    for (int i = 0; i < 50; ++i) {
      const double a = bench::NowUs();
      g_main->RefreshNow();
      without.push_back(bench::NowUs() - a);
    }
    held = viz::LoadSystemLibrary(L"dwmapi.dll");
  }
  if (held) ::FreeLibrary(held);
  std::printf("  dwmapi.dll mapped between cycles: %s; cycle median %.1f us as is, %.1f us while "
              "this program holds dwmapi.dll loaded\n",
              dwmMapped ? "yes" : "no", bench::Summarise(without).median,
              bench::Summarise(withHeld).median);

  // Two steps timed on their own, outside the cycle.
  std::vector<double> ident, paint, dc;
  for (int i = 0; i < 500; ++i) {
    viz::T_WinItem item;
    double a = bench::NowUs();
    viz::IdentifyWindowAt(kCursor, Wnd(), false, &item);
    ident.push_back(bench::NowUs() - a);
    a = bench::NowUs();
    ::InvalidateRect(Wnd(), nullptr, FALSE);
    ::UpdateWindow(Wnd());
    paint.push_back(bench::NowUs() - a);
    a = bench::NowUs();
    ::DeleteDC(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    dc.push_back(bench::NowUs() - a);
  }
  std::printf("  alone (medians): window identification at the cursor %.1f us, "
              "InvalidateRect+UpdateWindow %.1f us, CreateDCA+DeleteDC %.1f us\n",
              bench::Summarise(ident).median, bench::Summarise(paint).median,
              bench::Summarise(dc).median);
  std::fflush(stdout);
}

// The capture engine on its own, without the main window: one cycle from a request into a view
// bitmap, the screen under the cursor (the pattern window), still and over new pixels, against
// the bare copy of the same areas.
void EngineAlone() {
  viz::CaptureEngine engine;
  viz::DibCanvas view;
  viz::CaptureInfo info;
  if (!view.Create(g_designClient.cx, g_designClient.cy)) return;
  engine.Screen().Enumerate();
  viz::CaptureRequest r;
  r.geometry = viz::ComputeViewGeometry(view.width(), view.height() - 100, 6, true);
  engine.EnsureDesktopBitmaps(SIZE{r.geometry.captureWidth, r.geometry.captureHeight});
  auto runAt = [&](int i) {
    r.point = POINT{kCursor.x + (i & 1), kCursor.y};
    return engine.Run(r, view, info);
  };
  runAt(1);
  bench::ResetStats();
  bench::SetCounting(true);
  runAt(0);  // new pixels: the copy and the enlargement are seen
  bench::SetCounting(false);
  const bench::BlitRecord blits = bench::LastBlits();
  BareCopy bare;
  const bool bareOk = blits.haveBitBlt && blits.haveStretch && bare.Init(blits, view.width(), view.height());
  std::vector<double> still, changing, b;
  int step = 0;
  for (int blk = 0; blk < kBlocks; ++blk) {
    for (int i = 0; i < kPerBlock; ++i) {
      const double t0 = bench::NowUs();
      runAt(step);
      still.push_back(bench::NowUs() - t0);
    }
    for (int i = 0; i < kPerBlock; ++i) {
      const double t0 = bench::NowUs();
      runAt(++step);
      changing.push_back(bench::NowUs() - t0);
    }
    if (!bareOk) continue;
    for (int i = 0; i < kPerBlock; ++i) {
      const double t0 = bench::NowUs();
      bare.Copy();
      b.push_back(bench::NowUs() - t0);
    }
  }
  const bench::Summary s = bench::Summarise(still), c = bench::Summarise(changing),
                       bs = bench::Summarise(b);
  std::printf("\nThe capture engine alone (no window; view %dx%d, capture %dx%d, zoom 6, grid on), "
              "%d runs each:\n  still %.1f us median, %.1f us p95; new pixels %.1f us median, "
              "%.1f us p95; bare copy %.1f us median, %.1f us p95 (new / bare %.2fx)\n",
              view.width(), view.height(), blits.width, blits.height, kBlocks * kPerBlock,
              s.median, s.p95, c.median, c.p95, bs.median, bs.p95, Ratio(c.median, bs.median));
  std::fflush(stdout);
}

struct SoakSample {
  int cycles;
  double seconds;
  uint64_t reported, committed;
  DWORD gui;
  int gdiByIndex;
  long long failed, net;
};

void Soak(bool indexProbeOk) {
  Configure(CaseSpec{"soak", 0, 0, Cmd::Zoom_6, true});
  for (int i = 0; i < 100; ++i) g_main->RefreshNow();
  // A pen made before and after: with nothing left behind, the table hands out a slot from the
  // same free list and the index stays put (a growing index means slots were used up).
  HPEN before = ::CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
  ::DeleteObject(before);
  bench::ResetStats();
  bench::SetCounting(true);
  std::vector<SoakSample> samples;
  const double t0 = bench::NowUs();
  auto sample = [&](int n) {
    bench::SetCounting(false);
    samples.push_back(SoakSample{n, (bench::NowUs() - t0) / 1e6, bench::ReportedPrivateBytes(),
                                 bench::CommittedPrivateBytes(), bench::GuiGdiObjects(),
                                 indexProbeOk ? bench::CountGdiByIndex() : -1,
                                 bench::FailedGdiCalls(),
                                 bench::GdiObjectsCreated() - bench::GdiObjectsDeleted()});
    bench::SetCounting(true);
  };
  sample(0);
  for (int n = 1; n <= g_soakCycles; ++n) {
    g_main->RefreshNow();
    if (n % 100 == 0) bench::Pump(0);
    if (n % kSoakSample == 0 || n == g_soakCycles) sample(n);
  }
  bench::SetCounting(false);
  HPEN after = ::CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
  ::DeleteObject(after);

  std::printf("\n%d cycles at the designed size (zoom 6, grid on), sampled every %d:\n",
              g_soakCycles, kSoakSample);
  std::printf("  %7s %7s %14s %14s %8s %9s %12s %12s\n", "cycles", "s", "private(API)",
              "private(VQ)", "GuiRes", "GDI live", "failed GDI", "created-del");
  for (const SoakSample& s : samples)
    std::printf("  %7d %7.1f %14llu %14llu %8lu %9d %12lld %12lld\n", s.cycles, s.seconds,
                static_cast<unsigned long long>(s.reported),
                static_cast<unsigned long long>(s.committed), s.gui, s.gdiByIndex, s.failed, s.net);
  auto firstLastMax = [&](const char* what, auto get) {
    long long first = get(samples.front()), last = get(samples.back()), mx = first;
    for (const SoakSample& s : samples) mx = std::max<long long>(mx, get(s));
    std::printf("  %-34s first %12lld  last %12lld  max %12lld  (last-first %+lld)\n", what, first,
                last, mx, last - first);
  };
  firstLastMax("private bytes (process counters)", [](const SoakSample& s) { return (long long)s.reported; });
  firstLastMax("private bytes (VirtualQuery walk)", [](const SoakSample& s) { return (long long)s.committed; });
  firstLastMax("GetGuiResources(GR_GDIOBJECTS)", [](const SoakSample& s) { return (long long)s.gui; });
  if (indexProbeOk)
    firstLastMax("live GDI objects (index probe)", [](const SoakSample& s) { return (long long)s.gdiByIndex; });
  firstLastMax("failed GDI calls (cumulative)", [](const SoakSample& s) { return s.failed; });
  firstLastMax("GDI objects created - deleted", [](const SoakSample& s) { return s.net; });
  std::printf("  test pen handle before %p (slot %u), after %p (slot %u)\n",
              static_cast<void*>(before), static_cast<unsigned>(reinterpret_cast<uintptr_t>(before) & 0xFFFF),
              static_cast<void*>(after), static_cast<unsigned>(reinterpret_cast<uintptr_t>(after) & 0xFFFF));
  const double secs = samples.back().seconds;
  std::printf("  %.1f s in all, %.1f us per cycle on average\n", secs, secs * 1e6 / g_soakCycles);
  std::fflush(stdout);
}

// The product's own timer and message loop running for a while, with the cursor still or going
// round a small circle (50 moves a second): this process's CPU time, and how many timer ticks and
// full cycles (one paint each) it took. Wineserver and the desktop process are not in these
// figures; scripts/bench-cpu.sh measures them from outside.
double ProcessCpuSeconds() {
  FILETIME c, e, k, u;
  ::GetProcessTimes(::GetCurrentProcess(), &c, &e, &k, &u);
  auto v = [](FILETIME f) { return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  return static_cast<double>(v(k) + v(u)) / 1e7;
}

void RunLive(bool moving, DWORD ms) {
  Configure(CaseSpec{"live", 0, 0, Cmd::Zoom_6, true});
  ::SetTimer(Wnd(), viz::kTimerMain, 60, nullptr);  // the main timer at its default interval
  bench::Pump(200);
  const unsigned captures0 = g_main->CaptureCount(), paints0 = g_main->PaintCount();
  const double cpu0 = ProcessCpuSeconds();
  const DWORD start = ::GetTickCount();
  DWORD nextMove = start;
  int step = 0;
  for (;;) {
    const DWORD now = ::GetTickCount();
    if (now - start >= ms) break;
    if (moving && static_cast<int32_t>(now - nextMove) >= 0) {
      const double a = 2 * 3.14159265 * (step++ % 50) / 50;
      ::SetCursorPos(kCursor.x + static_cast<int>(10 * std::cos(a)),
                     kCursor.y + static_cast<int>(10 * std::sin(a)));
      nextMove += 20;
    }
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (g_main->PreTranslate(msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    DWORD wait = ms - (::GetTickCount() - start);
    if (moving) wait = std::min<DWORD>(wait, std::max<int32_t>(static_cast<int32_t>(nextMove - ::GetTickCount()), 0));
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
  }
  const double secs = (::GetTickCount() - start) / 1000.0;
  const double cpu = ProcessCpuSeconds() - cpu0;
  StopMainTimer();
  const double captures = g_main->CaptureCount() - captures0, paints = g_main->PaintCount() - paints0;
  std::printf("  cursor %-7s %5.1f s: this process %.3f %% of one core; %.1f captures/s, "
              "%.1f paints/s, %.0f us CPU per capture\n",
              moving ? "moving" : "at rest", secs, 100.0 * cpu / secs, captures / secs,
              paints / secs, captures ? cpu * 1e6 / captures : 0.0);
  PlaceCursor();
  std::fflush(stdout);
}

bool AllLinesShown() {
  return viz::VisibleInfoLines(g_main->Commands()).size() == 13;
}

void ShowAllLines() {
  const SIZE before = ClientSize();
  const size_t linesBefore = viz::VisibleInfoLines(g_main->Commands()).size();
  for (Cmd c : {Cmd::Color_InfoOnOff, Cmd::Pos_InfoOnOff, Cmd::WinInfo_InfoOnOff}) {
    const auto group = viz::InfoGroupOfOnOffCommand(c);
    bool all = true;
    for (Cmd m : viz::InfoGroupCommands(*group))
      if (!g_main->Commands().Checked(m)) all = false;
    if (!all) g_main->Execute(c, Sender::Program);  // all on/off: on, since one was off
    bench::Pump(50);
  }
  const SIZE after = ClientSize();
  const size_t linesAfter = viz::VisibleInfoLines(g_main->Commands()).size();
  std::printf("\nAll information lines: %zu -> %zu lines shown; client %ldx%ld -> %ldx%ld "
              "(+%ld px, %.1f px per added line)%s\n",
              linesBefore, linesAfter, before.cx, before.cy, after.cx, after.cy,
              after.cy - before.cy,
              linesAfter > linesBefore ? double(after.cy - before.cy) / double(linesAfter - linesBefore) : 0.0,
              AllLinesShown() ? "" : "  -- NOT all thirteen lines are on");
  g_designClient = after;  // the designed width, the height the panel asks for
}

void RemoveSettingsFile() {
  wchar_t path[MAX_PATH];
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  std::wstring p(path, n);
  const size_t dot = p.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > p.find_last_of(L"\\/")) p.resize(dot);
  p += L".bin";
  ::DeleteFileW(p.c_str());
}

void PrintEnvironment() {
  using WineVer = const char*(__cdecl*)();
  auto ver = reinterpret_cast<WineVer>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
  LARGE_INTEGER f;
  ::QueryPerformanceFrequency(&f);
  std::printf("vizbench: %s, screen %dx%d, QPC %lld Hz, cursor at (%ld,%ld)\n",
              ver ? (std::string("Wine ") + ver()).c_str() : "Windows",
              ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
              static_cast<long long>(f.QuadPart), kCursor.x, kCursor.y);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::wcsncmp(argv[i], L"--soak=", 7) == 0) g_soakCycles = std::max(_wtoi(argv[i] + 7), 1);
  std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
  viz::RestrictDllSearchPath();
  (void)viz::IsWinNT();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                            ICC_LINK_CLASS | ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
  RemoveSettingsFile();  // every run starts from the default settings
  PrintEnvironment();

  std::vector<std::string> missing;
  const int hooked = bench::InstallHooks(&missing);
  std::printf("hooked %d imported calls", hooked);
  if (!missing.empty()) {
    std::printf(" (not imported here:");
    for (const std::string& m : missing) std::printf(" %s", m.c_str());
    std::printf(")");
  }
  std::printf("\n");
  const bool indexProbeOk = bench::CheckGdiIndexProbe();
  std::printf("GDI index probe: %s (%d live objects now); GetGuiResources says %lu\n",
              indexProbeOk ? "follows created/deleted objects" : "NOT usable here",
              bench::CountGdiByIndex(), bench::GuiGdiObjects());

  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  if (!MainWindow::RegisterClass(inst)) {
    std::printf("RegisterClass failed\n");
    return 1;
  }
  auto main = std::make_unique<MainWindow>();
  PlaceCursor();
  if (!main->Create(inst)) {
    std::printf("Create failed\n");
    return 1;
  }
  g_main = main.get();
  const HWND pattern = MakePatternWindow();
  bench::Pump(300);
  StopMainTimer();
  g_designClient = ClientSize();
  std::printf("main window: client %ldx%ld at the designed size, %zu information lines shown\n\n",
              g_designClient.cx, g_designClient.cy,
              viz::VisibleInfoLines(g_main->Commands()).size());

  const CaseSpec cases[] = {
      {"designed zoom 6 grid on", 0, 0, Cmd::Zoom_6, true},
      {"designed zoom 6 grid off", 0, 0, Cmd::Zoom_6, false},
      {"960x720 zoom 1 grid on", 960, 720, Cmd::Zoom_1, true},
      {"960x720 zoom 1 grid off", 960, 720, Cmd::Zoom_1, false},
      {"960x720 zoom 20 grid on", 960, 720, Cmd::Zoom_20, true},
      {"960x720 zoom 20 grid off", 960, 720, Cmd::Zoom_20, false},
  };
  std::printf("Cycle (RefreshNow) against a bare BitBlt+StretchBlt of the same areas (display DC\n"
              "held open, as the cycle holds it), %d each; still = the cursor still over an\n"
              "unchanged screen, new = the cursor a pixel away from the last cycle's, so every\n"
              "pixel is new; calls = hooked Win32 calls in a cycle over new pixels:\n",
              kBlocks * kPerBlock);
  PrintCaseHeader();
  std::vector<CaseResult> results;
  for (const CaseSpec& c : cases) {
    results.push_back(RunCase(c));
    PrintCase(results.back());
  }

  EngineAlone();
  Profile(results.front().cycle.median);
  std::printf("\nThe product's timer (60 ms) and message loop, designed size, zoom 6, grid on:\n");
  RunLive(false, 15000);
  RunLive(true, 15000);
  Soak(indexProbeOk);

  ShowAllLines();
  PrintCaseHeader();
  for (const CaseSpec& c : {CaseSpec{"13 lines zoom 6 grid on", 0, 0, Cmd::Zoom_6, true},
                            CaseSpec{"13 lines zoom 6 grid off", 0, 0, Cmd::Zoom_6, false}}) {
    results.push_back(RunCase(c));
    PrintCase(results.back());
  }

  const CaseResult& d = results.front();
  std::printf("\nDesigned size, zoom 6, grid on: a cycle over new pixels %.2fx the bare copy "
              "(median), %.2fx (p95); a still cycle %.2fx\n",
              Ratio(d.changing.median, d.bare.median), Ratio(d.changing.p95, d.bare.p95),
              Ratio(d.cycle.median, d.bare.median));
  std::fflush(stdout);

  main.reset();
  ::DestroyWindow(pattern);
  bench::Pump(100);
  RemoveSettingsFile();
  return 0;
}
