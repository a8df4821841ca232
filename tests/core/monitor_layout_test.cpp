#include "capture/monitor_layout.h"

#include <gtest/gtest.h>

using namespace viz;

namespace {
constexpr Rect kPrimary{0, 0, 1920, 1080};
constexpr Rect kLeftOfPrimary{-1280, -200, 0, 824};
constexpr Rect kAfterGap{2000, 0, 3280, 1024};
}  // namespace

TEST(MonitorLayout, ClampToRectKeepsInsideTheExclusiveEdges) {
  EXPECT_EQ(ClampToRect({5000, -7}, kPrimary), (Point{1919, 0}));
  EXPECT_EQ(ClampToRect({1920, 1080}, kPrimary), (Point{1919, 1079}));
  EXPECT_EQ(ClampToRect({10, 20}, kPrimary), (Point{10, 20}));
  EXPECT_EQ(ClampToRect({-5, 9}, Rect{}), (Point{-5, 9}));
}

TEST(MonitorLayout, SingleMonitor) {
  const MonitorLayout m({kPrimary});
  EXPECT_EQ(m.Desktop(), kPrimary);
  EXPECT_EQ(m.Width(), 1920);
  EXPECT_EQ(m.MonitorAt({1919, 1079}), kPrimary);
  EXPECT_TRUE(m.MonitorAt({1920, 0}).empty());
  EXPECT_EQ(m.NextMonitorOrigin({300, 300, 543, 510}, false), (Point{0, 0}));
  EXPECT_FALSE(m.RescueWindow({1900, 1000, 2143, 1210}));
  EXPECT_EQ(m.RescueWindow({1920, 0, 2163, 210}), (Point{0, 0}));  // right edge is exclusive
  EXPECT_EQ(m.RescueWindow({-500, -500, -257, -290}), (Point{0, 0}));
}

TEST(MonitorLayout, PrimaryNotLeftmostWithNegativeCoordinates) {
  const MonitorLayout m({kPrimary, kLeftOfPrimary});
  EXPECT_EQ(m.Desktop(), (Rect{-1280, -200, 1920, 1080}));
  EXPECT_EQ(m.Width(), 3200);
  EXPECT_EQ(m.Height(), 1280);
  EXPECT_EQ(m.MonitorAt({-1, 0}), kLeftOfPrimary);
  EXPECT_EQ(m.MonitorIndexAt({0, 0}), 0u);
  EXPECT_FALSE(m.OnAnyMonitor({-10, 900}));  // below the smaller monitor
  EXPECT_EQ(m.NextMonitorOrigin({100, 100, 343, 310}, false), (Point{-1280, -200}));
  EXPECT_EQ(m.NextMonitorOrigin({-1205, -125, -962, 85}, false), (Point{0, 0}));
  EXPECT_EQ(m.NextMonitorOrigin({-1205, -125, -962, 85}, true), (Point{0, 0}));
  EXPECT_EQ(m.ClampCapturePoint({-5000, -5000}, {0, 0}), (Point{-1280, -200}));
}

TEST(MonitorLayout, GapBetweenMonitors) {
  const MonitorLayout m({kPrimary, kAfterGap});
  EXPECT_EQ(m.Desktop(), (Rect{0, 0, 3280, 1080}));
  EXPECT_TRUE(m.MonitorAt({1950, 500}).empty());
  EXPECT_EQ(m.RescueWindow({1925, 100, 1995, 200}), (Point{0, 0}));

  // Panning into the gap pulls the point back onto the monitor it came from.
  EXPECT_EQ(m.ClampCapturePoint({1950, 500}, {1900, 500}), (Point{1919, 500}));
  EXPECT_EQ(m.ClampCapturePoint({1950, 500}, {2100, 500}), (Point{2000, 500}));
  EXPECT_EQ(m.ClampCapturePoint({5000, 2000}, {2100, 500}), (Point{3279, 1023}));
  EXPECT_EQ(m.ClampCapturePoint({1000, 5000}, {500, 500}), (Point{1000, 1079}));
  EXPECT_EQ(m.ClampCapturePoint({1950, 500}, {1960, 500}), (Point{1950, 500}));  // both in the gap

  // Current monitor: the centre decides; a centre in the gap falls back to the larger overlap;
  // a window on no monitor counts as on the first.
  EXPECT_EQ(m.CurrentMonitorIndex({2100, 10, 2343, 220}), 1u);
  EXPECT_EQ(m.CurrentMonitorIndex({1900, 10, 2100, 220}), 1u);  // 100 px on the second vs 20
  EXPECT_EQ(m.NextMonitorOrigin({1900, 10, 2100, 220}, false), (Point{0, 0}));
  EXPECT_EQ(m.CurrentMonitorIndex({9000, 9000, 9243, 9210}), 0u);
  EXPECT_EQ(m.NextMonitorOrigin({9000, 9000, 9243, 9210}, false), (Point{2000, 0}));

  // The refresh rate follows the monitor the window is on; an empty monitor dropped from the
  // list takes its rate along, and 0 or 1 (the display's "default") counts as 60 Hz.
  const MonitorLayout rated({kPrimary, Rect{}, kAfterGap}, {144, 75, 1});
  EXPECT_EQ(rated.RefreshHzOf({100, 100, 343, 310}), 144);
  EXPECT_EQ(rated.RefreshHzOf({2100, 10, 2343, 220}), 60);
  EXPECT_EQ(m.RefreshHzOf({100, 100, 343, 310}), 60);
}

TEST(MonitorLayout, DesktopAlwaysContainsTheOrigin) {
  const MonitorLayout offset({Rect{100, 100, 500, 500}});
  EXPECT_EQ(offset.Desktop(), (Rect{0, 0, 500, 500}));
  const MonitorLayout none;
  EXPECT_EQ(none.Desktop(), (Rect{0, 0, 1, 1}));
  EXPECT_FALSE(none.CurrentMonitorIndex({0, 0, 10, 10}));
  EXPECT_EQ(none.NextMonitorOrigin({50, 50, 60, 60}, false), (Point{0, 0}));
  EXPECT_EQ(none.RescueWindow({50, 50, 60, 60}), (Point{0, 0}));
  const MonitorLayout withEmpty({Rect{5, 5, 5, 100}, kPrimary});
  EXPECT_EQ(withEmpty.Monitors().size(), 1u);
}

namespace {
// The two-monitor desktop the end-to-end tier runs on: the primary at (0,0), a smaller monitor
// left of it, and the strip (-1024,768)-(0,800) on neither.
const MonitorLayout kTwo({Rect{0, 0, 1280, 800}, Rect{-1024, 0, 0, 768}});

int64_t AreaOf(const std::vector<Rect>& rs) {
  int64_t a = 0;
  for (const Rect& r : rs) a += int64_t{r.width()} * r.height();
  return a;
}
}  // namespace

TEST(MonitorLayout, OffMonitorFindsTheStripAndWhatLiesOutsideTheDesktop) {
  EXPECT_TRUE(kTwo.OffMonitor(Rect{-100, 100, 100, 300}).empty()) << "across the boundary, all on";
  const auto strip = kTwo.OffMonitor(Rect{-1100, 700, -900, 900});
  // Left of the desktop, the strip below the left monitor, and below the desktop.
  EXPECT_EQ(AreaOf(strip), int64_t{200} * 200 - int64_t{124} * 68);
  for (const Rect& r : strip)
    for (const Rect& m : kTwo.Monitors())
      EXPECT_TRUE(r.right <= m.left || m.right <= r.left || r.bottom <= m.top || m.bottom <= r.top)
          << "an off-monitor piece overlaps a monitor";
  for (size_t i = 0; i < strip.size(); ++i)
    for (size_t j = i + 1; j < strip.size(); ++j) {
      const Rect& a = strip[i];
      const Rect& b = strip[j];
      EXPECT_TRUE(a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top);
    }
  EXPECT_EQ(kTwo.OffMonitor(Rect{-1024, 768, 0, 800}), std::vector<Rect>({Rect{-1024, 768, 0, 800}}));
  EXPECT_TRUE(kTwo.OffMonitor(Rect{5, 5, 5, 9}).empty());
}

TEST(MonitorLayout, DisplayDeviceShiftFollowsAClipBoxAtAnotherOrigin) {
  const Rect virt{-1024, 0, 1280, 800};
  EXPECT_EQ(DisplayDeviceShift(virt, virt), (Point{0, 0}));
  EXPECT_EQ(DisplayDeviceShift(Rect{0, 0, 2304, 800}, virt), (Point{1024, 0}));
  // A clip box of another size tells nothing: no shift.
  EXPECT_EQ(DisplayDeviceShift(Rect{0, 0, 1280, 800}, virt), (Point{0, 0}));
}
