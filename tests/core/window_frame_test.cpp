#include "info/window_frame.h"

#include <gtest/gtest.h>

#include "info/info_lines.h"

using namespace viz;

namespace {

// A top-level window on a current Windows: GetWindowRect includes 7-pixel invisible resize
// borders left, right and below; the extended frame bounds are the frame the user sees.
const Rect kWindowRect{100, 100, 740, 580};
const Rect kExtendedFrame{107, 100, 733, 573};

// The size line and the rectangle line built from one shown rectangle, as the window
// identification fills them for a top-level window.
CaptureInfo InfoFor(const Rect& shown) {
  CaptureInfo i;
  i.WindowRect = {shown.left, shown.top, shown.right, shown.bottom};
  i.WindowPos = {shown.left, shown.top, shown.width(), shown.height()};
  return i;
}

}  // namespace

TEST(WindowFrame, CompositionShowsTheExtendedFrameAndSizeAndRectangleAgree) {
  const Rect shown = ShownWindowRect(kWindowRect, true, kExtendedFrame);
  EXPECT_EQ(shown, kExtendedFrame);
  const CaptureInfo info = InfoFor(shown);
  EXPECT_EQ(DisplayLineText(InfoLine::WinRect, info), L"Rect     L=107 T=100 R=733 B=573");
  EXPECT_EQ(DisplayLineText(InfoLine::WinWindowSize, info), L"Wｻｲｽﾞ    L=107 T=100 W=626 H=473");
  EXPECT_EQ(CopyLineText(InfoLine::WinWindowSize, info, false), L"107, 100, 626, 473");
  EXPECT_EQ(CopyLineText(InfoLine::WinRect, info, false), L"107, 100, 733, 573");
}

TEST(WindowFrame, WithoutCompositionOrAUsableFrameTheWindowRectangleStays) {
  EXPECT_EQ(ShownWindowRect(kWindowRect, false, kExtendedFrame), kWindowRect);
  // Child windows and failed queries report an all-zero (or inverted) frame.
  EXPECT_EQ(ShownWindowRect(kWindowRect, true, Rect{}), kWindowRect);
  EXPECT_EQ(ShownWindowRect(kWindowRect, true, Rect{733, 100, 107, 573}), kWindowRect);
  // A window on a monitor left of the primary keeps its negative coordinates.
  const Rect left{-1000, 20, -360, 500}, leftFrame{-993, 20, -367, 493};
  EXPECT_EQ(ShownWindowRect(left, true, leftFrame), leftFrame);
}
