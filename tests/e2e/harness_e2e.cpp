// Checks of the harness itself on the real Wine desktop: if these fail, the program tests that
// build on them would report the harness's faults as the program's.
#include <gtest/gtest.h>

#include "harness.h"

namespace viz::e2e {
namespace {

TEST(HarnessPattern, DecodesEveryPointOfA4096Block) {
  for (int y = -300; y < 3796; y += 37)
    for (int x = -500; x < 3596; x += 41) {
      const POINT p = PatternPoint(PatternColor(x, y), POINT{x + 1000, y - 1000});
      ASSERT_EQ(p.x, x) << x << "," << y;
      ASSERT_EQ(p.y, y) << x << "," << y;
    }
  EXPECT_NE(PatternColor(10, 20), PatternColor(20, 10));
  EXPECT_NE(PatternColor(10, 20), PatternColor(10 + 256, 20));
}

TEST(HarnessPattern, WindowShowsItsOwnScreenPositionInEveryPixel) {
  const RECT area{700, 300, 1100, 620};
  PatternWindow pattern(area, /*topmost=*/true);
  ASSERT_TRUE(pattern.WaitShown());
  auto grab = ScreenGrab::Take(area);
  ASSERT_TRUE(grab);
  int wrong = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) wrong += grab->Pixel(x, y) != PatternColor(x, y);
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(CountPatternPixels(*grab, area, POINT{900, 450}, 10), 21 * 21);
  // Outside the grab there are no pixels, rather than stale ones.
  EXPECT_EQ(grab->Pixel(area.right, area.top), CLR_INVALID);
}

TEST(HarnessPattern, RepaintsWhatAnotherWindowUncovers) {
  // The pattern paints from its own thread: this thread never pumps its messages.
  const RECT area{200, 200, 400, 300};
  PatternWindow pattern(area, /*topmost=*/true);
  ASSERT_TRUE(pattern.WaitShown());
  HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC",
                               L"", WS_POPUP | WS_VISIBLE, 250, 220, 100, 60, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_TRUE(cover);
  EXPECT_TRUE(WaitUntil([] {
    auto g = ScreenGrab::Take(RECT{300, 250, 301, 251});
    return g && g->Pixel(300, 250) != PatternColor(300, 250);
  }));
  DestroyWindow(cover);
  EXPECT_TRUE(pattern.WaitShown());
}

TEST(HarnessInput, MovesTheRealPointerAndHoldsModifiersAtTheXServer) {
  ASSERT_TRUE(MovePointer(123, 456));
  POINT p;
  ASSERT_TRUE(GetCursorPos(&p));
  EXPECT_EQ(p.x, 123);
  EXPECT_EQ(p.y, 456);
  ASSERT_TRUE(MovePointer(1279, 799));  // the virtual desktop ends where the X screen ends

  ASSERT_TRUE(HoldModifiers(kShift | kCtrl));
  // A pointer crossing into another window does not drop modifiers held at the X server.
  PatternWindow pattern(RECT{500, 500, 600, 600}, true);
  ASSERT_TRUE(pattern.WaitShown());
  ASSERT_TRUE(MovePointer(550, 550));
  ASSERT_TRUE(MovePointer(50, 50));
  EXPECT_TRUE(ModifiersDown(kShift | kCtrl));
  EXPECT_FALSE(ModifiersDown(kAlt));
  ASSERT_TRUE(ReleaseModifiers());
  EXPECT_FALSE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
  EXPECT_FALSE(GetAsyncKeyState(VK_CONTROL) & 0x8000);
}

TEST(HarnessInput, RunsUnixCommandsAndReportsTheirStatus) {
  EXPECT_EQ(RunUnix("true"), 0);
  EXPECT_EQ(RunUnix("exit 3"), 3);
  EXPECT_EQ(RunUnix("test \"$DISPLAY\" != \"\""), 0) << "DISPLAY must reach Unix children";
}

TEST(HarnessClipboard, ReadsTextAndBitmapsWrittenByAnotherOwner) {
  ASSERT_TRUE(ClearClipboard());
  const DWORD before = ClipboardSequence();
  ASSERT_TRUE(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 3000));
  EmptyClipboard();
  const wchar_t text[] = L"R:12 G:34 \x8272";
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
  memcpy(GlobalLock(g), text, sizeof text);
  GlobalUnlock(g);
  if (!SetClipboardData(CF_UNICODETEXT, g)) GlobalFree(g);

  BITMAPINFOHEADER h{sizeof h, 2, 2, 1, 24, BI_RGB};
  const uint8_t rows[] = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};  // bottom-up
  HGLOBAL d = GlobalAlloc(GMEM_MOVEABLE, sizeof h + sizeof rows);
  auto* p = static_cast<uint8_t*>(GlobalLock(d));
  memcpy(p, &h, sizeof h);
  memcpy(p + sizeof h, rows, sizeof rows);
  GlobalUnlock(d);
  if (!SetClipboardData(CF_DIB, d)) GlobalFree(d);
  CloseClipboard();

  EXPECT_NE(ClipboardSequence(), before);
  EXPECT_EQ(ClipboardUnicodeText(), std::wstring(text));
  auto ansi = ClipboardAnsiText();  // synthesised by the system from the Unicode text
  ASSERT_TRUE(ansi);
  EXPECT_EQ(ansi->substr(0, 10), "R:12 G:34 ");
  auto dib = ClipboardDib();
  ASSERT_TRUE(dib);
  EXPECT_EQ(dib->width, 2);
  EXPECT_EQ(dib->height, 2);
  EXPECT_EQ(dib->Pixel(0, 1), RGB(3, 2, 1));  // bottom row comes first in the file
  EXPECT_EQ(dib->Pixel(1, 0), RGB(12, 11, 10));
  EXPECT_TRUE(ClearClipboard());
  EXPECT_FALSE(ClipboardHasFormat(CF_UNICODETEXT));
}

}  // namespace
}  // namespace viz::e2e
