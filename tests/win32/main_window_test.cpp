// The main window created in the test process: system menu, popup menu, commands and layout.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "api_hooks.h"
#include "app/main_window_win.h"
#include "commands/menu_table.h"
#include "platform/sysfuncs_win.h"
#include "main_window_fixture.h"
#include "test_windows.h"

using namespace viz;

namespace {

// A thread timer: the system picks its identifier.
constexpr UINT_PTR kThreadTimer = 0;

std::wstring MenuText(HMENU m, UINT pos) {
  wchar_t buf[256] = {};
  MENUITEMINFOW mii{sizeof(mii)};
  mii.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_ID;
  mii.dwTypeData = buf;
  mii.cch = 255;
  ::GetMenuItemInfoW(m, pos, TRUE, &mii);
  return buf;
}

// Answers the next message box of this thread (served by the box's own modal loop): keeps the
// texts of its static controls and closes it.
struct BoxAnswer {
  std::wstring text;
  bool seen = false;
  int ticks = 0;
};
BoxAnswer* g_box = nullptr;

BOOL CALLBACK FindBox(HWND w, LPARAM lp) {
  if (test::ClassOf(w) == L"#32770" && ::IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box) {
    if (++g_box->ticks > 200) ::KillTimer(nullptr, id);
    return;
  }
  ::KillTimer(nullptr, id);
  g_box->seen = true;
  for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (test::ClassOf(c) == L"Static") g_box->text += test::TextOf(c);
  ::EndDialog(box, IDOK);
}

bool g_composition = false;

// Pumps messages until `done` or `ms` pass; true when done.
template <typename Pred>
bool PumpUntil(Pred done, DWORD ms) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > ms) return false;
    test::PumpFor(10);
  }
  return true;
}

// A popup filled with one colour, changed on demand.
COLORREF g_fill = RGB(10, 20, 30);

LRESULT CALLBACK FillProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) {
    RECT r;
    ::GetClientRect(w, &r);
    HBRUSH b = ::CreateSolidBrush(g_fill);
    ::FillRect(reinterpret_cast<HDC>(wp), &r, b);
    ::DeleteObject(b);
    return 1;
  }
  return ::DefWindowProcW(w, msg, wp, lp);
}

HWND MakeFillWindow(int x, int y, int w, int h) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = FillProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VizFillWindow";
    registered = ::RegisterClassW(&wc) != 0;
  }
  HWND wnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, L"VizFillWindow",
                               L"fill", WS_POPUP, x, y, w, h, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
  ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
  ::UpdateWindow(wnd);
  return wnd;
}

COLORREF ScreenPixel(POINT p) {
  HDC dc = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(dc, p.x, p.y);
  ::ReleaseDC(nullptr, dc);
  return c;
}

// A window that claims a text of 0x7FFFFFF0 characters and fills whatever buffer it is given.
LRESULT CALLBACK EndlessTextProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETTEXTLENGTH) return 0x7FFFFFF0;
  if (msg == WM_GETTEXT) {
    std::fill_n(reinterpret_cast<wchar_t*>(lp), wp, L'L');
    return static_cast<LRESULT>(wp);
  }
  return ::DefWindowProcW(w, msg, wp, lp);
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE h = ::GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(::GlobalLock(h))) {
      text = p;
      ::GlobalUnlock(h);
    }
  }
  ::CloseClipboard();
  return text;
}

class MainWindowTest : public test::MainWindowFixture {
 protected:
  int ClientHeight() {
    RECT r;
    ::GetClientRect(win_->hwnd(), &r);
    return r.bottom;
  }
};

TEST_F(MainWindowTest, SystemMenuStartsWithMonitorMoveAndHasNoMaximise) {
  HMENU sys = ::GetSystemMenu(win_->hwnd(), FALSE);
  ASSERT_NE(sys, nullptr);
  EXPECT_EQ(::GetMenuItemID(sys, 0), MainWindow::kSysCmdMonitorMove);
  EXPECT_EQ(MenuText(sys, 0), test::Lang(L"モニター間移動", L"Move to ne&xt monitor"));
  EXPECT_TRUE(::GetMenuState(sys, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(::GetMenuState(sys, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));

  RECT before;
  ::GetWindowRect(win_->hwnd(), &before);
  ::SendMessageW(win_->hwnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ::SendMessageW(win_->hwnd(), WM_SYSCOMMAND, 0xF032, 0);
  RECT after;
  ::GetWindowRect(win_->hwnd(), &after);
  EXPECT_FALSE(::IsZoomed(win_->hwnd()));
  EXPECT_TRUE(::EqualRect(&before, &after));
}

TEST_F(MainWindowTest, WindowHasTheDesignedFrameAndCaption) {
  wchar_t cls[64], title[64];
  ::GetClassNameW(win_->hwnd(), cls, 64);
  ::GetWindowTextW(win_->hwnd(), title, 64);
  EXPECT_STREQ(cls, L"TApp_Vizmoria");
  EXPECT_STREQ(title, L"vizmoria");
  const LONG style = ::GetWindowLongW(win_->hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_THICKFRAME);
  // The designed 243 pixels at 96 DPI, scaled to the screen's DPI.
  RECT c;
  ::GetClientRect(win_->hwnd(), &c);
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(c.right, ::MulDiv(243, dpi, 96));
}

TEST_F(MainWindowTest, PopupMenuShowsTheTableCaptionsWithChecksAndRadioMarks) {
  const MenuNode* zoom = FindMenu("mniZoom");
  UniqueMenu m = win_->BuildPopup(*zoom);
  ASSERT_EQ(::GetMenuItemCount(m.get()), 10);
  EXPECT_EQ(MenuText(m.get(), 0), test::Lang(L" 1倍", L" 1x"));
  EXPECT_EQ(MenuText(m.get(), 9), test::Lang(L"20倍", L"20x"));
  EXPECT_TRUE(::GetMenuState(m.get(), 4, MF_BYPOSITION) & MF_CHECKED);  // 6x
  EXPECT_EQ(::GetMenuItemID(m.get(), 4), 1006u);

  win_->Execute(Cmd::Zoom_Up, Sender::Menu);
  EXPECT_EQ(win_->Zoom(), 8);
  m = win_->BuildPopup(*zoom);
  EXPECT_FALSE(::GetMenuState(m.get(), 4, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(::GetMenuState(m.get(), 5, MF_BYPOSITION) & MF_CHECKED);

  // Keys appear beside the captions; hidden commands do not appear at all.
  UniqueMenu main = win_->BuildPopup(MainMenu());
  bool sawZoomUp = false, sawMinimise = false;
  for (int i = 0; i < ::GetMenuItemCount(main.get()); ++i) {
    const std::wstring t = MenuText(main.get(), i);
    if (t == test::Lang(L"ズームアップ\tPgUp", L"Zoom &in\tPgUp")) sawZoomUp = true;
    if (t.rfind(test::Lang(L"最小化", L"Mi&nimize"), 0) == 0) sawMinimise = true;
  }
  EXPECT_TRUE(sawZoomUp);
  EXPECT_FALSE(sawMinimise);
}

TEST_F(MainWindowTest, ZoomStepsStopAtTheEndsOfTheList) {
  for (int i = 0; i < 12; ++i) win_->Execute(Cmd::Zoom_Up, Sender::Key);
  EXPECT_EQ(win_->Zoom(), 20);
  for (int i = 0; i < 12; ++i) win_->Execute(Cmd::Zoom_Down, Sender::Key);
  EXPECT_EQ(win_->Zoom(), 1);
}

TEST_F(MainWindowTest, DisplayCommandsChangeTheClientHeightByOneLine) {
  const int h0 = ClientHeight();
  win_->Fire(Cmd::Color_COLORREF, Sender::Menu);
  test::PumpPending();
  EXPECT_EQ(ClientHeight(), h0 + win_->LineHeight());
  win_->Fire(Cmd::Color_COLORREF, Sender::Menu);
  test::PumpPending();
  EXPECT_EQ(ClientHeight(), h0);
  // All on with two of three colour lines on turns the third on; again turns all off.
  win_->Fire(Cmd::Color_InfoOnOff, Sender::Menu);
  EXPECT_EQ(ClientHeight(), h0 + win_->LineHeight());
  win_->Fire(Cmd::Color_InfoOnOff, Sender::Menu);
  EXPECT_EQ(ClientHeight(), h0 - 2 * win_->LineHeight());
}

TEST_F(MainWindowTest, EveryLineOffLeavesTheStatusLineAndTheImageMinimum) {
  for (Cmd c : {Cmd::Color_RGB, Cmd::Color_HTML, Cmd::Pos_Screen, Cmd::WinInfo_Handle,
                Cmd::WinInfo_ClassName, Cmd::WinInfo_Text})
    win_->Fire(c, Sender::Menu);
  RECT r;
  ::GetWindowRect(win_->hwnd(), &r);
  // Shrink the window as far as it goes: the client keeps 50 px above the panel.
  ::SetWindowPos(win_->hwnd(), nullptr, 0, 0, 60, 60, SWP_NOMOVE | SWP_NOZORDER);
  test::PumpPending();
  RECT c;
  ::GetClientRect(win_->hwnd(), &c);
  EXPECT_GE(c.bottom, 50 + win_->LineHeight());
  EXPECT_GE(c.right, 50);
}

TEST_F(MainWindowTest, ARestTickNoticesAMovedCursorThatNoHookReported) {
  static const bool hooked = bench::InstallHooks(nullptr) > 0;
  ASSERT_TRUE(hooked);
  bench::ResetStats();
  bench::SetCounting(true);
  const POINT rest{500, 400}, moved{537, 411};
  ::SetCursorPos(rest.x, rest.y);
  ASSERT_TRUE(PumpUntil([&] { return win_->Resting(); }, 5000)) << "a still cursor never rested";
  // Just after a rest capture the next rest tick is a second away.
  const unsigned before = win_->CaptureCount();
  ASSERT_TRUE(PumpUntil([&] { return win_->CaptureCount() != before; }, 3000));
  ASSERT_TRUE(win_->Resting());

  // SetCursorPos is no mouse input: nothing reports it, just as nothing would report a
  // movement the system failed to deliver.
  ::SetCursorPos(moved.x, moved.y);
  test::PumpFor(200);
  EXPECT_TRUE(win_->Resting()) << "a movement report woke it: the test shows nothing";

  // The rest tick finds the cursor elsewhere, captures there and ends the rest.
  EXPECT_TRUE(PumpUntil([&] { return win_->LastCapture().ScreenPos.x == moved.x &&
                                     win_->LastCapture().ScreenPos.y == moved.y; }, 3000));
  EXPECT_FALSE(win_->Resting());

  // Resting or not, no hook: a hook would make every pointer movement wait for this thread.
  bench::SetCounting(false);
  for (const bench::ApiStat& st : bench::Stats())
    EXPECT_TRUE(std::string(st.name) != "SetWindowsHookExW" || st.calls == 0);
}

// Relative mouse input, `n` movements in one burst.
void MoveMouse(int n, int dx, int dy) {
  std::vector<INPUT> in(static_cast<size_t>(n));
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = dx;
    i.mi.dy = dy;
    i.mi.dwFlags = MOUSEEVENTF_MOVE;
  }
  ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

POINT CursorPos() {
  POINT p{};
  ::GetCursorPos(&p);
  return p;
}

// Until the cursor has left `from` and the movements' raw input is handled.
bool PumpMovementFrom(POINT from) {
  return PumpUntil([&] {
    const POINT p = CursorPos();
    return (p.x != from.x || p.y != from.y) && HIWORD(::GetQueueStatus(QS_RAWINPUT)) == 0;
  }, 3000);
}

// Pointer movements bring the cycles, not the timer: one for a movement, one for a burst within
// a frame, none while the view is fixed or frozen; a command's refresh still has its follow-up.
TEST_F(MainWindowTest, PointerMovementsBringOneCycleAFrameAndNoneWhileFrozen) {
  const HWND w = win_->hwnd();
  ::SetCursorPos(500, 400);
  win_->RefreshNow();
  ::KillTimer(w, kTimerMain);  // from here on only movements bring cycles
  test::PumpPending();
  auto showsCursor = [&] {
    const POINT p = CursorPos();
    return win_->LastCapture().ScreenPos.x == p.x && win_->LastCapture().ScreenPos.y == p.y;
  };
  for (int burst : {1, 12}) {
    // A frame or two since the last cycle: the burst's first movement could run one at once.
    const DWORD last = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - last >= 40; }, 1000);
    const POINT from = CursorPos();
    const unsigned before = win_->CaptureCount();
    MoveMouse(burst, 3, 2);
    ASSERT_TRUE(PumpMovementFrom(from));
    EXPECT_TRUE(PumpUntil(showsCursor, 3000)) << "burst of " << burst;
    test::PumpPending();
    EXPECT_EQ(win_->CaptureCount(), before + 1) << "burst of " << burst;
  }

  for (Cmd frozen : {Cmd::Capture_Fixed, Cmd::Capture_Pause}) {
    win_->Fire(frozen, Sender::Menu);
    ::KillTimer(w, kTimerMain);
    test::PumpPending();
    const POINT from = CursorPos();
    const unsigned before = win_->CaptureCount();
    MoveMouse(4, 5, 5);
    ASSERT_TRUE(PumpMovementFrom(from));
    test::PumpPending();
    EXPECT_EQ(win_->CaptureCount(), before)
        << "a movement while " << (frozen == Cmd::Capture_Fixed ? "fixed" : "paused");
    win_->Fire(frozen, Sender::Menu);
  }

  // The timer runs again after the resume; a refresh is followed by one more capture soon after,
  // well before the still view's once-a-second one.
  test::PumpPending();
  win_->RefreshNow();
  const unsigned refreshed = win_->CaptureCount();
  EXPECT_TRUE(PumpUntil([&] { return win_->CaptureCount() > refreshed; }, 600));
}

TEST_F(MainWindowTest, CompositionSwitchedOnTakesNoSelfCaptureAwayWithANotice) {
  g_composition = false;
  OverrideCompositionStateForTest([] { return g_composition; });
  const HWND w = win_->hwnd();
  auto layered = [&] { return (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
  win_->Fire(Cmd::Opt_NoSelfCapture, Sender::Menu);
  ASSERT_TRUE(win_->Commands().Checked(Cmd::Opt_NoSelfCapture));
  EXPECT_TRUE(layered());

  // The notification with composition still off changes nothing.
  ::SendMessageW(w, WM_DWMCOMPOSITIONCHANGED, 0, 0);
  EXPECT_TRUE(win_->Commands().Checked(Cmd::Opt_NoSelfCapture));

  g_composition = true;
  BoxAnswer box;
  g_box = &box;
  ::SetTimer(nullptr, kThreadTimer, 20, AnswerBox);
  ::SendMessageW(w, WM_DWMCOMPOSITIONCHANGED, 0, 0);
  g_box = nullptr;
  OverrideCompositionStateForTest(nullptr);

  EXPECT_TRUE(box.seen) << "no notice was shown";
  EXPECT_NE(box.text.find(test::Lang(L"Aero テーマが有効の場合「自身をキャプチャしない」の機能は使用できません",
                                    L"\"Ignore own window\" is not available while desktop composition is on.")),
            std::wstring::npos)
      << "notice text";
  EXPECT_FALSE(win_->Commands().Checked(Cmd::Opt_NoSelfCapture));
  EXPECT_FALSE(layered()) << "the window is no longer layered";
}

TEST_F(MainWindowTest, SmoothCaptureShowsEveryChangeWithinTwoTicksAndPaintsNothingElse) {
  win_->Fire(Cmd::Opt_SmoothCapture, Sender::Menu);
  ASSERT_TRUE(win_->Commands().Checked(Cmd::Opt_SmoothCapture));
  RECT mr;
  ::GetWindowRect(win_->hwnd(), &mr);
  g_fill = RGB(10, 20, 30);
  const HWND fill = MakeFillWindow(mr.right + 40, mr.top, 200, 200);
  ASSERT_TRUE(fill);
  ScopeExit destroyFill([&] { ::DestroyWindow(fill); });
  const POINT at{mr.right + 140, mr.top + 100};
  ::SetCursorPos(at.x, at.y);

  // The view shows the colour where the bitmap holds it in two cells on a diagonal (not a lone
  // grid or marker pixel), and the window shows the bitmap there.
  const DibCanvas& view = win_->ViewCanvas();
  const int z = win_->Zoom();
  auto shownInWindow = [&](COLORREF c) {
    const auto& cap = win_->LastCapture();
    if (cap.ScreenPos.x != at.x || cap.ScreenPos.y != at.y || cap.ColorRef != c) return false;
    RECT cr;
    ::GetClientRect(win_->hwnd(), &cr);
    const int toolbar = cr.bottom - view.height();  // the view fills the client below it
    for (int y = 20; y < view.height(); ++y)  // inside the border and the rulers
      for (int x = 20; x < view.width(); ++x)
        if (::GetPixel(view.dc(), x, y) == c && ::GetPixel(view.dc(), x + z, y + z) == c) {
          HDC wdc = ::GetDC(win_->hwnd());
          const COLORREF shown = ::GetPixel(wdc, x, toolbar + y);
          ::ReleaseDC(win_->hwnd(), wdc);
          return shown == c;
        }
    return false;
  };
  ASSERT_TRUE(PumpUntil([&] { return shownInWindow(g_fill); }, 5000))
      << "the first colour never showed; captured at " << win_->LastCapture().ScreenPos.x << ","
      << win_->LastCapture().ScreenPos.y << " colour " << std::hex << win_->LastCapture().ColorRef
      << ", screen " << ScreenPixel(at) << ", captures " << std::dec << win_->CaptureCount();

  const COLORREF colours[] = {RGB(200, 40, 90), RGB(201, 40, 90), RGB(1, 1, 1), RGB(255, 255, 254)};
  for (COLORREF next : colours) {
    // Unchanged ticks: captures go on, nothing is painted.
    const unsigned paints = win_->PaintCount(), captures = win_->CaptureCount();
    ASSERT_TRUE(PumpUntil([&] { return win_->CaptureCount() >= captures + 4; }, 5000));
    EXPECT_EQ(win_->PaintCount(), paints) << "a tick with nothing new painted";

    // The change, from the moment the screen holds it.
    g_fill = next;
    ::InvalidateRect(fill, nullptr, TRUE);
    ::UpdateWindow(fill);
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(at) == next; }, 5000)) << "the screen never changed";
    const unsigned changedAt = win_->CaptureCount();
    ASSERT_TRUE(PumpUntil([&] { return shownInWindow(next) || win_->CaptureCount() > changedAt + 2; }, 5000));
    EXPECT_TRUE(shownInWindow(next)) << std::hex << "colour " << next << " not shown within two ticks";
    EXPECT_LE(win_->CaptureCount(), changedAt + 2);
  }
}

// Another program's answer is no size: the text is read to a bound, and the window is described,
// copied and paused over like any other.
TEST_F(MainWindowTest, AWindowClaimingAnEndlessTextIsDescribedCopiedAndPausedOver) {
  const std::wstring cls = L"VizEndlessText";
  RECT mr;
  ::GetWindowRect(win_->hwnd(), &mr);
  const RECT at{mr.right + 40, mr.top, mr.right + 240, mr.top + 200};
  HWND w = nullptr;
  test::WindowThread t([&] {
    w = test::MakeProcPopup(cls.c_str(), EndlessTextProc, at.left, at.top, 200, 200);
  }, false);
  ASSERT_TRUE(w);
  ::SetCursorPos(at.left + 100, at.top + 100);
  auto describesIt = [&] {
    const CaptureInfo& cap = win_->LastCapture();
    return cap.Handle == static_cast<uint32_t>(reinterpret_cast<uintptr_t>(w)) &&
           cap.ClassName == cls && !cap.Text.empty() && cap.Text.size() <= (1u << 20);
  };
  EXPECT_TRUE(PumpUntil(describesIt, 3000))
      << "described " << std::string(win_->LastCapture().ClassName.begin(),
                                     win_->LastCapture().ClassName.end())
      << " with a text of " << win_->LastCapture().Text.size() << " characters";

  win_->Fire(Cmd::Copy_All, Sender::Menu);
  EXPECT_NE(ClipboardText().find(cls), std::wstring::npos);

  win_->Fire(Cmd::Capture_Pause, Sender::Menu);
  ASSERT_TRUE(win_->Commands().Checked(Cmd::Capture_Pause));
  EXPECT_EQ(win_->Commands().Tag(Cmd::Capture_Pause), 0) << "the pause did not complete";
  EXPECT_TRUE(describesIt()) << "the frozen window list";
  win_->Fire(Cmd::Capture_Pause, Sender::Menu);
  ASSERT_FALSE(win_->Commands().Checked(Cmd::Capture_Pause));
  // Live again: the view follows the cursor.
  ::SetCursorPos(at.left - 20, at.bottom + 30);
  EXPECT_TRUE(PumpUntil([&] { return win_->LastCapture().ScreenPos.x == at.left - 20 &&
                                     win_->LastCapture().ScreenPos.y == at.bottom + 30; }, 3000));
}

}  // namespace
