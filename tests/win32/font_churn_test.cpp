// The program's fonts under churn: the big-font option and the DPI changed many times, with the
// settings and shortcut windows open. Every window must still use a live font afterwards, and no
// GDI call of the program may fail meanwhile (counted through this executable's import table,
// which the program's code, linked in, calls through).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "api_hooks.h"
#include "app/main_window_win.h"
#include "test_windows.h"

using namespace viz;

namespace {

// Sends the notice a move to a monitor of `dpi` brings, with the window's rectangle scaled.
void ChangeDpi(HWND w, int from, int to) {
  RECT r{};
  ::GetWindowRect(w, &r);
  RECT s{r.left, r.top, r.left + ::MulDiv(r.right - r.left, to, from),
         r.top + ::MulDiv(r.bottom - r.top, to, from)};
  ::SendMessageW(w, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&s));
}

TEST(FontChurn, EveryWindowKeepsALiveFontAndNoGdiCallFails) {
  static bool hooked = false;
  if (!hooked) {
    std::vector<std::string> missing;
    hooked = bench::InstallHooks(&missing) > 0;
  }
  ASSERT_TRUE(hooked);
  const std::wstring settings = test::SettingsFileOfThisProgram();
  ::DeleteFileW(settings.c_str());
  ASSERT_TRUE(MainWindow::RegisterClass(::GetModuleHandleW(nullptr)));
  auto win = std::make_unique<MainWindow>();
  ASSERT_TRUE(win->Create(::GetModuleHandleW(nullptr)));
  test::PumpPending();
  win->Execute(Cmd::Custom_Setting, Sender::Menu);
  win->Execute(Cmd::Custom_ShortCut, Sender::Menu);
  win->Execute(Cmd::Capture_Fixed, Sender::Menu);  // the capture panel's buttons shown
  test::PumpPending();

  bench::ResetStats();
  bench::SetCounting(true);
  int dpi = 96;
  const int dpis[] = {144, 120, 96, 192, 96};
  for (int round = 0; round < 20; ++round) {
    win->Fire(Cmd::Opt_BigFont, Sender::Menu);
    const int next = dpis[round % 5];
    for (HWND w : {win->hwnd(), win->SettingWindowHandle(), win->ShortcutWindowHandle()})
      if (w) ChangeDpi(w, dpi, next);
    dpi = next;
    win->RefreshNow();
    test::PumpPending();
  }
  bench::SetCounting(false);

  EXPECT_EQ(bench::FailedGdiCalls(), 0);
  for (const bench::ApiStat& s : bench::Stats())
    EXPECT_EQ(s.failures, 0) << s.name << " failed " << s.failures << " of " << s.calls << " times";
  int checked = 0;
  for (HWND top : {win->hwnd(), win->SettingWindowHandle(), win->ShortcutWindowHandle()}) {
    ASSERT_TRUE(top);
    std::vector<HWND> windows = test::Descendants(top);
    windows.push_back(top);
    for (HWND w : windows) {
      const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(w, WM_GETFONT, 0, 0));
      if (!font) continue;  // the system font
      const std::wstring cls = test::ClassOf(w);
      EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT))
          << "a " << std::string(cls.begin(), cls.end()) << " window uses a deleted font";
      ++checked;
    }
  }
  EXPECT_GT(checked, 10);

  // The toolbar's icons follow the DPI too.
  ChangeDpi(win->hwnd(), dpi, 144);
  const HWND bar = ::FindWindowExW(win->hwnd(), nullptr, TOOLBARCLASSNAMEW, nullptr);
  ASSERT_TRUE(bar);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(
      reinterpret_cast<HIMAGELIST>(::SendMessageW(bar, TB_GETIMAGELIST, 0, 0)), &cx, &cy));
  EXPECT_EQ(cx, 24);
  EXPECT_EQ(cy, 24);
  const LRESULT button = ::SendMessageW(bar, TB_GETBUTTONSIZE, 0, 0);
  EXPECT_GE(LOWORD(button), 24);
  EXPECT_GE(HIWORD(button), 24);

  win.reset();
  test::PumpPending();
  ::DeleteFileW(settings.c_str());
}

}  // namespace
