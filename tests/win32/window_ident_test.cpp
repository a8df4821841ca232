#include "info/window_ident_win.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "test_windows.h"

namespace viz {
namespace {

using test::MakeChild;
using test::MakePopup;

// A scene of windows in a known z-order, all topmost so that nothing else covers them.
class WindowIdentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    under = MakePopup(L"下の窓", 850, 250, 300, 300);
    self = MakePopup(L"self", 900, 300, 200, 200);
    owned = MakePopup(L"owned", 950, 350, 50, 50, 0, self);
    b = MakePopup(L"窓B", 350, 150, 200, 200);
    a = MakePopup(L"窓A", 100, 100, 300, 200);
    c1 = MakeChild(a, L"child1", 10, 10, 100, 50);
    g = MakeChild(c1, L"grand", 5, 5, 20, 20);
    disabled = MakeChild(a, L"disabled", 150, 10, 100, 50, WS_VISIBLE | WS_DISABLED);
    hiddenChild = MakeChild(a, L"hidden", 10, 100, 100, 50, 0);
    shaped = MakePopup(L"shaped", 600, 100, 200, 200);
    SetWindowRgn(shaped, CreateEllipticRgn(0, 0, 200, 200), TRUE);
    clickThrough = MakePopup(L"through", 120, 120, 60, 60, WS_EX_LAYERED | WS_EX_TRANSPARENT);
    SetLayeredWindowAttributes(clickThrough, 0, 128, LWA_ALPHA);
    hiddenTop = MakePopup(L"hiddenTop", 800, 600, 100, 100, 0, nullptr, false);
    test::PumpFor(100);
  }
  void TearDown() override {
    for (HWND w : {clickThrough, shaped, a, b, owned, self, under, hiddenTop}) DestroyWindow(w);
  }
  HWND At(int x, int y, bool skipSelf = false) {
    T_WinItem it;
    IdentifyWindowAt(POINT{x, y}, self, skipSelf, &it);
    return it.hwnd;
  }

  HWND under{}, self{}, owned{}, a{}, b{}, c1{}, g{}, disabled{}, hiddenChild{}, shaped{},
      clickThrough{}, hiddenTop{};
};

TEST_F(WindowIdentTest, ReportsTheTopLevelWindowItemFields) {
  T_WinItem it;
  ASSERT_TRUE(IdentifyWindowAt(POINT{300, 250}, nullptr, false, &it));
  EXPECT_EQ(it.hwnd, a);
  EXPECT_EQ(it.className, test::kTestClass);
  EXPECT_EQ(it.text, L"窓A");
  EXPECT_EQ(it.windowRect.left, 100);
  EXPECT_EQ(it.windowRect.top, 100);
  EXPECT_EQ(it.windowRect.right, 400);
  EXPECT_EQ(it.windowRect.bottom, 300);
  EXPECT_EQ(it.posInParent.x, 100);
  EXPECT_EQ(it.posInParent.y, 100);
  EXPECT_EQ(it.size.cx, 300);
  EXPECT_EQ(it.size.cy, 200);
  EXPECT_EQ(it.clientRect.right, 300);
  EXPECT_EQ(it.clientRect.bottom, 200);
  EXPECT_EQ(it.clientOrigin.x, 100);
  EXPECT_EQ(it.clientOrigin.y, 100);
  EXPECT_TRUE(test::SameFileName(it.exeName, test::ModulePath())) << it.exeName.c_str();
}

TEST_F(WindowIdentTest, ChildWindowsAreFoundWithParentRelativePositions) {
  T_WinItem it;
  ASSERT_TRUE(IdentifyWindowAt(POINT{200, 150}, nullptr, false, &it));
  EXPECT_EQ(it.hwnd, c1);
  EXPECT_EQ(it.className, test::kTestChildClass);
  EXPECT_EQ(it.text, L"child1");
  EXPECT_EQ(it.posInParent.x, 10);
  EXPECT_EQ(it.posInParent.y, 10);
  EXPECT_EQ(it.windowRect.left, 110);
  EXPECT_EQ(it.windowRect.bottom, 160);

  ASSERT_TRUE(IdentifyWindowAt(POINT{125, 125}, nullptr, false, &it));  // under the click-through
  EXPECT_EQ(it.hwnd, g);
  EXPECT_EQ(it.posInParent.x, 5);
  EXPECT_EQ(it.size.cx, 20);
}

TEST_F(WindowIdentTest, DisabledHiddenAndClickThroughWindowsAreLookedThrough) {
  EXPECT_EQ(At(300, 120), a);  // disabled child
  EXPECT_EQ(At(150, 220), a);  // hidden child
  EXPECT_EQ(At(170, 150), c1);  // layered click-through window above the child
  EXPECT_NE(At(860, 650), hiddenTop);
}

TEST_F(WindowIdentTest, WindowRegionDecidesTheHit) {
  EXPECT_EQ(At(700, 200), shaped);
  EXPECT_NE(At(603, 103), shaped);  // corner outside the ellipse
}

TEST_F(WindowIdentTest, OwnWindowAndItsOwnedWindowsAreSkippedOnRequest) {
  EXPECT_EQ(At(1000, 450), self);
  EXPECT_EQ(At(1000, 450, true), under);
  EXPECT_EQ(At(970, 370), owned);
  EXPECT_EQ(At(970, 370, true), under);
  EXPECT_EQ(At(300, 250, true), a);  // other windows unaffected
}

// Without skipping, the live answer is the system's own WindowFromPoint, so this also holds the
// recorded hit test to the system's rules.
TEST_F(WindowIdentTest, SnapshotAnswersWhatTheLiveLookUpAnswered) {
  T_WinList list;
  EXPECT_TRUE(list.Empty());
  list.Take(self);
  ASSERT_FALSE(list.Empty());
  int checked = 0;
  for (bool skip : {false, true}) {
    for (int y = 90; y < 720; y += 19) {
      for (int x = 90; x < 1200; x += 23) {
        POINT pt{x, y};
        T_WinItem live, snap;
        bool l = IdentifyWindowAt(pt, self, skip, &live);
        bool s = list.Find(pt, self, skip, &snap);
        ASSERT_EQ(l, s) << x << "," << y;
        ASSERT_EQ(live.hwnd, snap.hwnd) << x << "," << y << " skip=" << skip;
        EXPECT_EQ(live.className, snap.className);
        EXPECT_EQ(live.text, snap.text);
        EXPECT_TRUE(EqualRect(&live.windowRect, &snap.windowRect));
        EXPECT_EQ(live.posInParent.x, snap.posInParent.x);
        EXPECT_EQ(live.posInParent.y, snap.posInParent.y);
        EXPECT_EQ(live.exeName, snap.exeName);
        EXPECT_EQ(live.clientOrigin.x, snap.clientOrigin.x);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 2500);
}

TEST_F(WindowIdentTest, SnapshotKeepsWhatWasThereWhenTaken) {
  T_WinList list;
  list.Take(self);
  MoveWindow(b, 0, 0, 10, 10, TRUE);
  SetWindowTextW(a, L"changed");
  T_WinItem it;
  ASSERT_TRUE(list.Find(POINT{500, 300}, self, false, &it));
  EXPECT_EQ(it.hwnd, b);
  EXPECT_EQ(it.windowRect.left, 350);
  ASSERT_TRUE(list.Find(POINT{300, 250}, self, false, &it));
  EXPECT_EQ(it.text, L"窓A");
  list.Clear();
  EXPECT_TRUE(list.Empty());
  EXPECT_FALSE(list.Find(POINT{300, 250}, self, false, &it));
  EXPECT_EQ(it.hwnd, nullptr);
}

// A window that goes when it is asked for its text.
LRESULT CALLBACK VanishingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETTEXT) {
    ::DestroyWindow(w);
    return 0;
  }
  return ::DefWindowProcW(w, msg, wp, lp);
}

TEST_F(WindowIdentTest, AWindowGoingWhileTheSnapshotIsTakenLeavesTheWindowsBelowIt) {
  HWND gone = nullptr;
  test::WindowThread t([&] {  // above every window of the scene
    gone = test::MakeProcPopup(L"VizVanishing", VanishingProc, 20, 700, 50, 50);
  }, false);
  ASSERT_TRUE(gone);
  T_WinList list;
  list.Take(self);
  EXPECT_FALSE(::IsWindow(gone));
  T_WinItem it;
  for (auto [x, y, w] :
       {std::tuple{300, 250, a}, {500, 300, b}, {1000, 450, self}, {870, 270, under}}) {
    ASSERT_TRUE(list.Find(POINT{x, y}, self, false, &it));
    EXPECT_EQ(it.hwnd, w) << x << "," << y;
  }
}

TEST(WindowText, MegabyteTextOfAnotherThreadsWindowIsReadWhole) {
  std::wstring big(1 << 20, L'x');
  for (size_t i = 0; i < big.size(); i += 997) big[i] = static_cast<wchar_t>(L'a' + i % 26);
  HWND w = nullptr;
  test::WindowThread t([&] {
    w = MakePopup(L"", 100, 500, 120, 120);
    SetWindowTextW(w, big.c_str());
  }, false);
  ASSERT_NE(w, nullptr);
  for (int round = 0; round < 2; ++round) {  // the second read may come from the cache
    T_WinItem it;
    ASSERT_TRUE(IdentifyWindowAt(POINT{150, 550}, nullptr, false, &it));
    EXPECT_EQ(it.hwnd, w);
    ASSERT_EQ(it.text.size(), big.size());
    EXPECT_TRUE(it.text == big);
  }
  // A changed text is read again once the last read is a quarter second old.
  SetWindowTextW(w, L"short now");
  const DWORD start = GetTickCount();
  std::wstring now;
  while ((now = ReadWindowText(w)) != L"short now" && GetTickCount() - start < 2000) Sleep(10);
  EXPECT_EQ(now, L"short now");
}

// Short texts are read in one message; a text that fills that first buffer is read again at its
// full length. Both sides of the boundary come back whole.
TEST(WindowText, TextsAroundTheOneMessageBufferAreReadWhole) {
  const size_t lengths[] = {0, 1, 1021, 1022, 1023, 1024, 1025, 5000};
  std::vector<std::wstring> texts;
  for (size_t n : lengths) {
    std::wstring t(n, L'\0');
    for (size_t i = 0; i < n; ++i) t[i] = static_cast<wchar_t>(i % 7 == 6 ? L'窓' : L'a' + i % 26);
    texts.push_back(t);
  }
  std::vector<HWND> windows;
  test::WindowThread th([&] {
    for (const std::wstring& t : texts) {
      HWND w = MakePopup(L"", 100, 500, 50, 50);
      SetWindowTextW(w, t.c_str());
      windows.push_back(w);
    }
  }, false);
  ASSERT_EQ(windows.size(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::wstring got = ReadWindowText(windows[i]);
    EXPECT_EQ(got.size(), texts[i].size()) << "length " << lengths[i];
    EXPECT_TRUE(got == texts[i]) << "length " << lengths[i];
  }
}

TEST(WindowText, HungWindowDoesNotBlockTheLookUp) {
  HWND w = nullptr, sibling = nullptr;
  test::WindowThread t([&] {
    w = MakePopup(L"hung", 300, 500, 100, 100);
    sibling = MakePopup(L"same thread", 450, 500, 100, 100);
  }, true);
  ASSERT_NE(w, nullptr);
  for (int round = 0; round < 3; ++round) {
    DWORD start = GetTickCount();
    T_WinItem it;
    ASSERT_TRUE(IdentifyWindowAt(POINT{350, 550}, nullptr, false, &it));
    DWORD spent = GetTickCount() - start;
    EXPECT_EQ(it.hwnd, w);
    EXPECT_EQ(it.className, test::kTestClass);
    EXPECT_EQ(it.text, L"hung");  // the stored caption, read without a message
    EXPECT_LT(spent, round == 0 ? 400u : 60u) << "round " << round;
  }
  // The thread is known not to answer: its other windows cost no timeout either.
  DWORD start = GetTickCount();
  T_WinItem it;
  ASSERT_TRUE(IdentifyWindowAt(POINT{500, 550}, nullptr, false, &it));
  EXPECT_EQ(it.hwnd, sibling);
  EXPECT_EQ(it.text, L"same thread");
  EXPECT_LT(GetTickCount() - start, 60u);
  T_WinList list;
  start = GetTickCount();
  list.Take(nullptr);
  EXPECT_LT(GetTickCount() - start, 2000u);
}

TEST(ProcessName, DevicePathsMapToDriveLetters) {
  wchar_t target[1024];
  ASSERT_NE(QueryDosDeviceW(L"C:", target, 1024), 0u);
  std::wstring dev = target;
  EXPECT_EQ(MapDevicePathToDrive(dev + L"\\windows\\notepad.exe"), L"C:\\windows\\notepad.exe");
  EXPECT_EQ(MapDevicePathToDrive(dev), L"C:");
  std::wstring lower = dev;
  for (wchar_t& ch : lower) ch = static_cast<wchar_t>(towlower(ch));
  EXPECT_EQ(MapDevicePathToDrive(lower + L"\\a"), L"C:\\a");
  // A longer device name that merely starts with C:'s must not map to C:.
  std::wstring other = MapDevicePathToDrive(dev + L"9\\x");
  EXPECT_TRUE(other.empty() || other.rfind(L"C:", 0) != 0) << other.c_str();
  EXPECT_EQ(MapDevicePathToDrive(L"\\Device\\NoSuchDevice\\x"), L"");
  EXPECT_EQ(MapDevicePathToDrive(L""), L"");
}

TEST(ProcessName, OwnProcessIsTheRunningExecutable) {
  EXPECT_TRUE(test::SameFileName(ExeNameOfProcess(GetCurrentProcessId()), test::ModulePath()));
  EXPECT_EQ(ExeNameOfProcess(0xFFFFFFF0u), L"");
}

}  // namespace
}  // namespace viz
