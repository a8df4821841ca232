// When the program captures a view whose cursor stays still, seen from outside: a window whose
// colour steps every 20 ms lies under the cursor, so each colour the magnified view shows tells
// when the capture was made (to within one step).
#include <gtest/gtest.h>

#include <vector>

#include "harness.h"

namespace viz::e2e {
namespace {

constexpr RECT kCounterRect{560, 380, 860, 600};
constexpr POINT kRest{710, 490};
constexpr int kRuler = 7;

// The screen point of a pixel inside the magnified view's top-left cell (clear of the grid).
std::optional<POINT> ViewSamplePoint(HWND app) {
  HWND toolbar = FindWindowExW(app, nullptr, L"ToolbarWindow32", nullptr);
  RECT tb{};
  if (!toolbar || !GetWindowRect(toolbar, &tb)) return std::nullopt;
  POINT o{kRuler + 2, kRuler + 2 + (tb.bottom - tb.top)};
  if (!ClientToScreen(app, &o)) return std::nullopt;
  return o;
}

// Watches the view for `ms` and returns when each capture it saw was made: the moment the
// captured counter value was painted (the capture came less than one step later).
std::vector<double> CaptureTimes(const CounterWindow& counter, POINT sample, double ms) {
  std::vector<double> times;
  std::optional<unsigned> last;
  HDC screen = GetDC(nullptr);
  const double end = NowMs() + ms;
  WaitUntil(
      [&] {
        const auto n = CounterWindow::CounterOf(GetPixel(screen, sample.x, sample.y));
        if (n && n != last) {
          if (auto at = counter.ShownAt(*n)) times.push_back(*at);
          last = n;
        }
        return NowMs() >= end;
      },
      static_cast<DWORD>(ms) + 5000, 5);
  ReleaseDC(nullptr, screen);
  return times;
}

TEST(CadenceTest, AStillViewIsCapturedAgainEverySecondAndOnceMoreSoonAfterACommand) {
  ASSERT_TRUE(ReleaseModifiers());
  CounterWindow counter(kCounterRect, 20);
  ASSERT_TRUE(counter.WaitShown());
  ASSERT_TRUE(MovePointer(kRest.x, kRest.y));
  AppProcess app;
  ASSERT_TRUE(app.Start()) << app.error();
  const auto sample = ViewSamplePoint(app.hwnd());
  ASSERT_TRUE(sample);
  ASSERT_TRUE(WaitUntil([&] {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, sample->x, sample->y);
    ReleaseDC(nullptr, screen);
    return CounterWindow::CounterOf(c).has_value();
  })) << "the view does not show the counter window";

  // A command (zoom up and down again) refreshes at once and once more about 100 ms later;
  // from then on the cursor stays still.
  ASSERT_TRUE(app.Activate());
  ASSERT_TRUE(KeyTap(VK_PRIOR));
  ASSERT_TRUE(KeyTap(VK_NEXT));
  const std::vector<double> t = CaptureTimes(counter, *sample, 6500);
  ASSERT_GE(t.size(), 5u);

  // The command's captures come close together; the still view's are a second apart: the
  // first of them included (rest mode must not stretch it).
  std::vector<double> gaps;
  for (size_t i = 1; i < t.size(); ++i) gaps.push_back(t[i] - t[i - 1]);
  size_t firstLong = 0;
  while (firstLong < gaps.size() && gaps[firstLong] < 500) ++firstLong;
  ASSERT_GT(firstLong, 0u) << "no capture followed the command within half a second";
  EXPECT_LE(gaps[firstLong - 1], 300) << "the follow-up capture came late";
  ASSERT_GE(gaps.size() - firstLong, 4u) << "too few once-a-second captures were seen";
  for (size_t i = firstLong; i < gaps.size(); ++i) {
    EXPECT_GE(gaps[i], 960) << "capture " << i + 1 << " came early";
    EXPECT_LE(gaps[i], 1200) << "capture " << i + 1 << " came late";
  }
}

}  // namespace
}  // namespace viz::e2e
