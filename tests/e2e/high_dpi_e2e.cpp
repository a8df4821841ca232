// The program at 144 DPI (the desktops tier runs this suite on the standard 1280x800 desktop with
// the system DPI set to 144): its window and panel follow the DPI, while every magnified pixel,
// coordinate and copy stays in physical pixels. Also leaves pictures of the three windows at this
// DPI in the screenshot folder, for the documentation.
#include <gtest/gtest.h>

#include <vector>

#include "harness.h"
#include "info_model.h"
#include "view_model.h"

namespace viz::e2e {
namespace {

constexpr RECT kPattern{520, 60, 1260, 780};  // clear of the magnifier at (20, 20)
constexpr int kCmdShortcutWindow = 9004;
constexpr size_t kBlock = 22;
constexpr int kPageSetting = 101;

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

class HighDpiTest : public CopyingTest {
 protected:
  void SetUp() override {
    CopyingTest::SetUp();
    ASSERT_EQ(ScreenDpi(), 144) << "the desktops tier runs this suite at 144 DPI";
  }

  // A picture of the window once its painting has settled: two grabs a third of a second apart
  // are the same.
  void SavePicture(HWND w, const wchar_t* name) {
    RECT r{};
    const auto dir = EnvVar(L"VIZ_SHOT_DIR");
    if (!dir || !GetWindowRect(w, &r)) return;
    std::optional<ScreenGrab> last, now;
    WaitUntil([&] {
      last = std::move(now);
      now = ScreenGrab::Take(r);
      return last && now && last->bgrx() == now->bgrx();
    }, kDefaultTimeoutMs, 300);
    if (now) now->SavePng(WindowsPathOf(Utf8(*dir)) + L"\\" + name);
  }
};

TEST_F(HighDpiTest, WindowAndPanelAreScaledAndEveryZoomShowsExactPixels) {
  PatternWindow pattern(kPattern);
  ASSERT_TRUE(pattern.WaitShown());
  for (bool grid : {true, false}) {
    std::vector<uint8_t> f = TestSettings();
    f[kBlock + 17] = grid ? 1 : 0;
    StartApp(f);
    RECT c{};
    ASSERT_TRUE(GetClientRect(app_.hwnd(), &c));
    EXPECT_EQ(c.right, MulDiv(243, 144, 96)) << "the designed width, scaled";
    const POINT p{811, 377};
    ASSERT_TRUE(MovePointer(p.x, p.y));
    for (int i = 0; i < 9; ++i) ASSERT_TRUE(app_.Activate() && KeyTap(VK_NEXT));  // down to 1x
    for (int i = 0; i < 10; ++i) {
      if (i > 0) {
        ASSERT_TRUE(app_.Activate() && KeyTap(VK_PRIOR));
      }
      std::string report;
      EXPECT_TRUE(WaitForView(app_.hwnd(), kZooms[i], p, PatternIn(kPattern), &report, grid))
          << report;
      if (HasFailure()) return;  // one wrong view tells enough
      if (grid && kZooms[i] == 6) SavePicture(app_.hwnd(), L"main-window-144dpi.png");
    }
    ASSERT_EQ(app_.Close(), std::optional<DWORD>(0));
  }
}

TEST_F(HighDpiTest, CoordinatesShownAndCopiedArePhysicalPixels) {
  TestWindows windows;
  StartApp(TestSettings(7, 13, 0x43F));  // every line shown
  POINT onChild{kChildRect.left + 17, kChildRect.top + 23};
  ClientToScreen(windows.top(), &onChild);
  ASSERT_TRUE(WaitWindowAt(onChild, windows.child()));
  ASSERT_TRUE(MovePointer(onChild.x, onChild.y));
  auto f = FactsAt(onChild, POINT{0, 0});
  ASSERT_TRUE(f);
  ExpectCopyAll(*f);
  ExpectLineCopies(*f);
}

TEST_F(HighDpiTest, ThePictureCopyIsTheViewPixelForPixel) {
  PatternWindow pattern(kPattern);
  ASSERT_TRUE(pattern.WaitShown());
  StartApp();
  const POINT p{700, 500};
  ASSERT_TRUE(MovePointer(p.x, p.y));
  std::string report;
  ASSERT_TRUE(WaitForView(app_.hwnd(), 6, p, PatternIn(kPattern), &report)) << report;
  ASSERT_TRUE(ClearClipboard());
  const DWORD seq = ClipboardSequence();
  ASSERT_TRUE(app_.Activate() && KeyTap('Z'));
  ASSERT_TRUE(WaitUntil([&] { return ClipboardSequence() != seq && ClipboardHasFormat(CF_DIB); }));
  auto img = ClipboardDib();
  ASSERT_TRUE(img);
  // The image area: whole cells that fit, clipped to the view.
  auto frame = FrameOf(app_.hwnd(), 6);
  ASSERT_TRUE(frame);
  const int imgW = frame->clientWidth - kRuler, imgH = frame->panelTop - kRuler;
  EXPECT_EQ(img->width, std::min((imgW + 5) / 6 * 6, imgW));
  EXPECT_EQ(img->height, std::min((imgH + 5) / 6 * 6, imgH));
  const POINT o{frame->viewOrigin.x + kRuler, frame->viewOrigin.y + kRuler};
  auto g = ScreenGrab::Take(RECT{o.x, o.y, o.x + img->width, o.y + img->height});
  ASSERT_TRUE(g);
  int bad = 0;
  for (int y = 0; y < img->height; ++y)
    for (int x = 0; x + 1 < img->width; ++x)  // the window border covers the last column
      if (img->Pixel(x, y) != g->Pixel(o.x + x, o.y + y)) ++bad;
  EXPECT_EQ(bad, 0);
}

TEST_F(HighDpiTest, SettingsAndShortcutWindowsOpenScaledOnTheScreen) {
  StartApp();
  ASSERT_TRUE(MovePointer(900, 650));
  ASSERT_TRUE(app_.Activate() && KeyTap(VK_F1));
  HWND settings = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    settings = FindProcessWindow(app_.pid(), L"TApp_VizmoriaSetting");
    return settings && GetForegroundWindow() == settings;
  }));
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT r{};
  GetWindowRect(settings, &r);
  EXPECT_TRUE(r.left >= screen.left && r.top >= screen.top && r.right <= screen.right &&
              r.bottom <= screen.bottom);
  SavePicture(settings, L"setting-window-help-144dpi.png");
  ASSERT_TRUE(KeyTap(VK_TAB, kCtrl));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(ControlById(settings, kPageSetting)); }));
  SavePicture(settings, L"setting-window-settings-144dpi.png");
  PostMessageW(settings, WM_CLOSE, 0, 0);

  PostMessageW(app_.hwnd(), WM_COMMAND, kCmdShortcutWindow, 0);
  HWND shortcuts = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    shortcuts = FindProcessWindow(app_.pid(), L"TApp_CustomShortCut");
    return shortcuts && GetForegroundWindow() == shortcuts;
  }));
  GetWindowRect(shortcuts, &r);
  EXPECT_TRUE(r.left >= screen.left && r.top >= screen.top && r.right <= screen.right &&
              r.bottom <= screen.bottom);
  SavePicture(shortcuts, L"shortcut-window-144dpi.png");
}

}  // namespace
}  // namespace viz::e2e
