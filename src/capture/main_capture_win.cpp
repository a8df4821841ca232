// The capture cycle and the capture modes: live, paused, fixed point, glides and the capture
// panel's arrow buttons.
#include <algorithm>

#include "app/main_window_win.h"
#include "app/toolbar_icons_win.h"
#include "capture/line_raster.h"
#include "capture/view_geometry.h"
#include "platform/message_dialog_win.h"
#include "platform/sysfuncs_win.h"

namespace viz {
namespace {

constexpr UINT_PTR kTimerMain = 1, kTimerInfo = 2, kTimerCaptureMove = 3;
constexpr DWORD kRopCaptureBlt = SRCCOPY | CAPTUREBLT;  // 0x40CC0020

// Rest mode: after this long without a capture the cursor counts as still, and the timer ticks
// only for the once-a-second capture of a still view. The skip test lets 1000 ms pass after a
// capture; the rest tick is due a little after that, counted from the capture itself.
constexpr DWORD kRestAfterMs = 500;
constexpr DWORD kRestRecaptureMs = 1020;

HWND g_restWindow = nullptr;  // the window a rest-mode mouse hook wakes

LRESULT CALLBACK RestMouseHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && g_restWindow) ::PostMessageW(g_restWindow, MainWindow::kMsgLeaveRest, 0, 0);
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

COLORREF FromDib(uint32_t px) {  // DIB pixels are 0x00RRGGBB, COLORREF is 0x00BBGGRR
  return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

uint32_t ToDib(COLORREF c) {
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

void FillBlack(HDC dc, int l, int t, int r, int b) {
  if (r <= l || b <= t) return;
  RECT rc{l, t, r, b};
  ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

// All segments in one call: each is its own two-point polyline, drawn like MoveTo + LineTo (the
// end point left out), so crossings combine with the pixels as separate lines do.
void DrawSegments(HDC dc, const std::vector<Segment>& segs) {
  if (segs.empty()) return;
  std::vector<POINT> pts;
  pts.reserve(segs.size() * 2);
  for (const Segment& s : segs) {
    pts.push_back(POINT{s.from.x, s.from.y});
    pts.push_back(POINT{s.to.x, s.to.y});
  }
  std::vector<DWORD> counts(segs.size(), 2);
  ::PolyPolyline(dc, pts.data(), counts.data(), static_cast<DWORD>(counts.size()));
}

// Waits until `deadline` (a tick count) while the window keeps painting.
void WaitUntilTick(DWORD deadline) {
  for (;;) {
    DWORD now = ::GetTickCount();
    if (static_cast<int32_t>(deadline - now) <= 0) return;
    ::Sleep(std::min<DWORD>(deadline - now, 10));
  }
}

}  // namespace

// ---- bitmaps ---------------------------------------------------------------------------------

bool MainWindow::EnsureDesktopBitmaps() {
  // The two desktop-sized bitmaps follow the desktop: a monitor added while running is captured
  // by the next pause.
  const RECT d = screen_.Desktop();
  const int w = d.right - d.left, h = d.bottom - d.top;
  if (FCaptureBitmap.width() == w && FCaptureBitmap.height() == h &&
      FSnapshotNoSelf.width() == w && FSnapshotNoSelf.height() == h) {
    snapshotDesktop_ = d;
    return true;
  }
  FSnapshotNoSelf.Reset();
  bool ok = FCaptureBitmap.Create(w, h) && FSnapshotNoSelf.Create(w, h);
  if (ok) {
    snapshotDesktop_ = d;
    return true;
  }
  // A desktop too large for this process's address space: keep live capture working with a
  // bitmap the size of the capture, and let a pause freeze the area around the point only.
  FSnapshotNoSelf.Reset();
  FCaptureBitmap.Create(std::max(FCaptureWidth, 1), std::max(FCaptureHeight, 1));
  snapshotDesktop_ = RECT{};
  return false;
}

// ---- the cycle -------------------------------------------------------------------------------

void MainWindow::Timer_MainTimer(Sender) {
  // 1. Terminating: the window is being destroyed.
  if (!hwnd_ || terminating_) {
    if (hwnd_) ::KillTimer(hwnd_, kTimerMain);
    return;
  }
  // 2. No nested cycle.
  if (FCycleBusy) return;
  FCycleBusy = true;
  ScopeExit clearBusy([this] { FCycleBusy = false; });
  if (!FViewBitmap) return;

  // 3. The point.
  POINT pt = FCapturePoint;
  if (!IsFixed() && !IsPaused()) ::GetCursorPos(&pt);
  const bool still = pt.x == FCapturePoint.x && pt.y == FCapturePoint.y;
  // A rest tick that finds the cursor moved ends the rest itself: the mouse hook that normally
  // ends it may be gone (the system drops a low-level hook whose thread answers too slowly).
  if (!still && resting_) LeaveRest();
  // 4, 5. Skip a still cursor until the interval of the timer's tag has passed.
  const DWORD now = ::GetTickCount();
  if (still && FLastCaptureTick != 0 && now >= FLastCaptureTick &&
      now - FLastCaptureTick <= static_cast<DWORD>(timerMainTag_) &&
      !cmds_.Checked(Cmd::Opt_SmoothCapture)) {
    if (now - FLastCaptureTick >= kRestAfterMs) EnterRest(now);
    return;
  }

  // 6. Store the point, black image area.
  FCapturePoint = pt;
  HDC view = FViewBitmap.dc();
  FillBlack(view, FRulerWidth, FRulerWidth, FViewBitmap.width(), FInfoRect.top);

  ::SetStretchBltMode(view, COLORONCOLOR);
  if (timerMainEnabled_ || cmds_.Tag(Cmd::Capture_Pause) != 0) {
    // 7. Live capture.
    const DWORD rop = NoSelfCaptureOn() ? SRCCOPY : kRopCaptureBlt;
    // The display DC lives as long as the window (opening one costs more than the copy); it is
    // opened again when the display configuration changes.
    if (!displayDc_) {
      displayDc_.reset(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
      displayShift_ = TMyScreenSize::DisplayDcShift(displayDc_.get());
    }
    const UniqueDc& screen = displayDc_;
    if (screen && FCaptureBitmap) {
      HDC cap = FCaptureBitmap.dc();
      const int w = std::min(FCaptureWidth, FCaptureBitmap.width());
      const int h = std::min(FCaptureHeight, FCaptureBitmap.height());
      const POINT src{pt.x - FCaptureHalfX, pt.y - FCaptureHalfY};
      FillBlack(cap, 0, 0, w, h);
      ::BitBlt(cap, 0, 0, w, h, screen.get(), src.x + displayShift_.x, src.y + displayShift_.y, rop);
      // What lies on no monitor shows black, whatever the device has there.
      screen_.BlackenOffMonitor(cap, RECT{src.x, src.y, src.x + w, src.y + h}, src);
      ::StretchBlt(view, FRulerWidth, FRulerWidth, w * FZoom, h * FZoom, cap, 0, 0, w, h,
                   SRCCOPY);
    }
  } else {
    // 8. Paused: from the snapshot; what lies outside it stays black.
    const DibCanvas& snap = NoSelfCaptureOn() && FSnapshotNoSelf ? FSnapshotNoSelf : FCaptureBitmap;
    if (snap) {
      const int sx = pt.x - FCaptureHalfX - snapshotDesktop_.left;
      const int sy = pt.y - FCaptureHalfY - snapshotDesktop_.top;
      const int x0 = std::max(sx, 0), y0 = std::max(sy, 0);
      const int x1 = std::min(sx + FCaptureWidth, snap.width());
      const int y1 = std::min(sy + FCaptureHeight, snap.height());
      if (x1 > x0 && y1 > y0)
        ::StretchBlt(view, FRulerWidth + (x0 - sx) * FZoom, FRulerWidth + (y0 - sy) * FZoom,
                     (x1 - x0) * FZoom, (y1 - y0) * FZoom, snap.dc(), x0, y0, x1 - x0, y1 - y0,
                     SRCCOPY);
    }
  }

  // 9. Grid, 10. cursor marker.
  DrawGrid(view);

  // 11. Colour of the centre pixel, read from the view's memory once GDI has finished with it.
  ::GdiFlush();
  uint32_t px = 0;
  if (FCenterCell.x >= 0 && FCenterCell.y >= 0 && FCenterCell.x < FViewBitmap.width() &&
      FCenterCell.y < FViewBitmap.height())
    px = FViewBitmap.bits()[static_cast<size_t>(FCenterCell.y) * FViewBitmap.width() +
                            FCenterCell.x];
  const COLORREF cr = FromDib(px);
  FCaptureInfo.ColorRef = cr;
  FCaptureInfo.Red = GetRValue(cr);
  FCaptureInfo.Green = GetGValue(cr);
  FCaptureInfo.Blue = GetBValue(cr);
  FCaptureInfo.HtmlColor = FCaptureInfo.Red * 65536 + FCaptureInfo.Green * 256 + FCaptureInfo.Blue;
  FCaptureInfo.ScreenPos = InfoPoint{pt.x, pt.y};

  // 12. Window information.
  FillWindowInfo(pt);

  // 13-15. Panel.
  const bool active = active_;
  DrawPanel(view, active);

  // 16. Paint, straight into the window: a WM_PAINT round would cost more than the capture.
  {
    WindowDc dc(hwnd_);
    if (dc) PaintView(dc.get(), active);
  }

  // 17.
  FLastCaptureTick = ::GetTickCount();
  if (FLastCaptureTick == 0) FLastCaptureTick = 1;  // 0 means "capture at once"
  timerMainTag_ = 1000;
  ++captureCount_;
  // At rest the next tick is the next once-a-second capture, a second from this one.
  if (resting_) ::SetTimer(hwnd_, kTimerMain, kRestRecaptureMs, nullptr);
}

void MainWindow::DrawGrid(HDC dc) {
  const bool gridShown = cmds_.Checked(Cmd::Grid_Disp);
  const ViewGeometry g = ComputeViewGeometry(FViewBitmap.width(), FInfoRect.top, FZoom, gridShown);
  if (gridShown) {
    const bool subShown = !cmds_.Checked(Cmd::Grid_SubNone);
    const GridLines lines = ComputeGridLines(g, subShown);
    // Lines go straight into the view's pixels (GDI's own drawing first finished, so that both
    // see the same memory); GDI draws what cannot be done that way. Either way nothing below
    // the panel top is touched.
    ::GdiFlush();
    auto draw = [&](const std::vector<Segment>& segs, COLORREF color, int r2) {
      if (segs.empty()) return;
      const std::optional<PenRop> rop = PenRopFromR2(r2);
      if (rop && RasterSegments(FViewBitmap.bits(), FViewBitmap.width(), FViewBitmap.height(),
                                FInfoRect.top, segs, ToDib(color), *rop))
        return;
      UniqueRgn clip(::CreateRectRgn(0, 0, FViewBitmap.width(), FInfoRect.top));
      ::SelectClipRgn(dc, clip.get());
      UniquePen pen(::CreatePen(PS_SOLID, 1, color));
      SelectGuard sel(dc, pen.get());
      const int old = ::SetROP2(dc, r2);
      DrawSegments(dc, segs);
      ::SetROP2(dc, old);
      ::SelectClipRgn(dc, nullptr);
    };
    draw(lines.grid, FGridColor, FGridPenMode);
    if (subShown) draw(lines.subGrid, FSubGridColor, R2_COPYPEN);
  }
  // The cursor marker inverts what lies beneath it.
  const CursorMarker m = ComputeCursorMarker(g);
  UniquePen pen(::CreatePen(PS_SOLID, m.penWidth, RGB(0, 0, 0)));
  SelectGuard sel(dc, pen.get());
  SelectGuard selBrush(dc, ::GetStockObject(NULL_BRUSH));
  const int old = ::SetROP2(dc, R2_NOT);
  POINT pts[5];
  for (int i = 0; i < 5; ++i) pts[i] = POINT{m.outline[i].x, m.outline[i].y};
  ::Polyline(dc, pts, 5);
  ::SetROP2(dc, old);
}

void MainWindow::FillWindowInfo(POINT pt) {
  T_WinItem item;
  bool found = false;
  const bool live = !IsPaused() || cmds_.Tag(Cmd::Capture_Pause) != 0;
  if (live && !NoSelfCaptureOn()) {
    // The window at the point is what the system says; describing it costs several round trips
    // to the server and to its program, so a description younger than kRecentItemMs is reused
    // while the cursor stays over the same window, and while it stays on the same point the
    // system is not even asked which window that is.
    constexpr DWORD kRecentItemMs = 250;
    const DWORD now = ::GetTickCount();
    const bool recent = now - recentItemTick_ < kRecentItemMs;
    const bool samePoint = recentItem_.hwnd && pt.x == recentItemPoint_.x && pt.y == recentItemPoint_.y;
    const HWND at = recent && samePoint ? recentItem_.hwnd : ::WindowFromPoint(pt);
    if (at && at == recentItem_.hwnd && recent) {
      item = recentItem_;
      found = true;
    } else {
      found = IdentifyWindowAt(pt, hwnd_, false, &item);
      recentItem_ = found ? item : T_WinItem{};
      recentItemTick_ = now;
      recentItemPoint_ = pt;
    }
  } else if (live) {
    found = IdentifyWindowAt(pt, hwnd_, true, &item);
  } else if (FWindowListSnapshot) {
    found = FWindowListSnapshot->Find(pt, hwnd_, NoSelfCaptureOn(), &item);
  }
  CaptureInfo& ci = FCaptureInfo;
  if (!found) {
    ci.Handle = 0;
    ci.ClassName.clear();
    ci.Text.clear();
    ci.ClientOrigin = InfoPoint{};
    ci.WindowPos = InfoWindowPos{};
    ci.ClientRect = InfoRect{};
    ci.WindowRect = InfoRect{};
    ci.ExeName.clear();
    return;
  }
  ci.Handle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(item.hwnd));
  ci.ClassName = item.className;
  ci.Text = item.text;
  ci.ClientOrigin = InfoPoint{item.clientOrigin.x, item.clientOrigin.y};
  ci.WindowPos = InfoWindowPos{item.posInParent.x, item.posInParent.y, item.size.cx, item.size.cy};
  ci.ClientRect = InfoRect{item.clientRect.left, item.clientRect.top, item.clientRect.right,
                           item.clientRect.bottom};
  ci.WindowRect = InfoRect{item.windowRect.left, item.windowRect.top, item.windowRect.right,
                           item.windowRect.bottom};
  ci.ExeName = item.exeName;
}

// At rest the 60 ms ticks would cost more than everything else the program does: each is a
// round trip to the window server for a cursor that has not moved. So while the cursor is still
// the timer ticks only for the once-a-second capture, and a low-level mouse hook, which costs
// nothing while the mouse is still, brings the normal ticks back at the first movement (the rest
// tick notices a movement too, should the hook be gone).
void MainWindow::EnterRest(DWORD now) {
  if (resting_ || !timerMainEnabled_ || cmds_.Checked(Cmd::Opt_SmoothCapture)) return;
  g_restWindow = hwnd_;
  restHook_.reset(::SetWindowsHookExW(WH_MOUSE_LL, RestMouseHook, ::GetModuleHandleW(nullptr), 0));
  if (!restHook_) return;  // without the hook a movement would wait for the next rest tick
  resting_ = true;
  const DWORD due = FLastCaptureTick + kRestRecaptureMs;
  const DWORD wait = static_cast<int32_t>(due - now) > 10 ? due - now : 10;
  ::SetTimer(hwnd_, kTimerMain, wait, nullptr);
}

void MainWindow::LeaveRest() {
  if (!resting_) return;
  resting_ = false;
  restHook_.reset();
  if (timerMainEnabled_) ::SetTimer(hwnd_, kTimerMain, timerMainInterval_, nullptr);
}

void MainWindow::RefreshNow() {
  if (FTag == 0 || !hwnd_) return;
  LeaveRest();  // the follow-up capture about 100 ms later needs the normal ticks
  FLastCaptureTick = 0;
  Timer_MainTimer(Sender::Program);
  timerMainTag_ = 100;
}

// ---- status message --------------------------------------------------------------------------

void MainWindow::SetStatusMessage(const std::wstring& text) {
  FStatusMessage = text;
  if (!timerInfoEnabled_) {
    ::SetTimer(hwnd_, kTimerInfo, 2000, nullptr);
    timerInfoEnabled_ = true;
  }
  RefreshNow();
}

void MainWindow::Timer_InfomationTimer() {
  FStatusMessage.clear();
  ::KillTimer(hwnd_, kTimerInfo);
  timerInfoEnabled_ = false;
  RefreshNow();
}

// ---- modes -----------------------------------------------------------------------------------

void MainWindow::SetAlphaBlend(bool on) {
  LONG_PTR ex = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  if (on) {
    if (!(ex & WS_EX_LAYERED)) ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SafeSetLayeredWindowAttributes(hwnd_, 0, 255, LWA_ALPHA);
  } else if (ex & WS_EX_LAYERED) {
    ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void MainWindow::TakeDesktopSnapshots() {
  UniqueDc screen(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
  if (!screen) return;
  const POINT shift = TMyScreenSize::DisplayDcShift(screen.get());
  if (EnsureDesktopBitmaps()) {
    const RECT d = snapshotDesktop_;
    const int w = d.right - d.left, h = d.bottom - d.top;
    ::BitBlt(FCaptureBitmap.dc(), 0, 0, w, h, screen.get(), d.left + shift.x, d.top + shift.y,
             kRopCaptureBlt);
    ::BitBlt(FSnapshotNoSelf.dc(), 0, 0, w, h, screen.get(), d.left + shift.x, d.top + shift.y,
             SRCCOPY);
    screen_.BlackenOffMonitor(FCaptureBitmap.dc(), d, POINT{d.left, d.top});
    screen_.BlackenOffMonitor(FSnapshotNoSelf.dc(), d, POINT{d.left, d.top});
    return;
  }
  // No room for the whole desktop: freeze the captured area around the point.
  const int w = FCaptureBitmap.width(), h = FCaptureBitmap.height();
  snapshotDesktop_ = RECT{FCapturePoint.x - FCaptureHalfX, FCapturePoint.y - FCaptureHalfY,
                          FCapturePoint.x - FCaptureHalfX + w, FCapturePoint.y - FCaptureHalfY + h};
  ::BitBlt(FCaptureBitmap.dc(), 0, 0, w, h, screen.get(), snapshotDesktop_.left + shift.x,
           snapshotDesktop_.top + shift.y, kRopCaptureBlt);
  screen_.BlackenOffMonitor(FCaptureBitmap.dc(), snapshotDesktop_,
                            POINT{snapshotDesktop_.left, snapshotDesktop_.top});
}

// Ctrl with pause or fixed point brings the mouse cursor to the capture point, Shift brings the
// capture point to the cursor; both only while the capture is frozen. True when one of them ran.
bool MainWindow::CaptureModifierVariant() {
  const bool ctrl = IsKeyDown(VK_CONTROL);
  if (!ctrl && !IsKeyDown(VK_SHIFT)) return false;
  if (IsPaused() || IsFixed()) {
    if (ctrl) {
      MoveCursorTo(FCapturePoint);
    } else {
      POINT cur;
      ::GetCursorPos(&cur);
      MoveCapturePointTo(cur);
    }
  }
  return true;
}

void MainWindow::actCapture_PauseExecute(Cmd sender) {
  if (CaptureModifierVariant()) return;
  if (sender != Cmd::Capture_Update) cmds_.SetChecked(Cmd::Capture_Pause, !IsPaused());
  LeaveRest();
  const bool paused = IsPaused();
  cmds_[Cmd::Capture_Update].enabled = paused;
  timerMainEnabled_ = !paused;
  if (timerMainEnabled_)
    ::SetTimer(hwnd_, kTimerMain, timerMainInterval_, nullptr);
  else
    ::KillTimer(hwnd_, kTimerMain);

  if (paused) {
    cmds_[Cmd::Capture_Pause].tag = 1;
    RefreshNow();  // one more live picture
    screen_.Enumerate();
    const bool noSelf = cmds_.Checked(Cmd::Opt_NoSelfCapture);
    if (!noSelf) SetAlphaBlend(true);
    FWindowListSnapshot.emplace();
    FWindowListSnapshot->Take(hwnd_);
    TakeDesktopSnapshots();
    if (!noSelf) SetAlphaBlend(false);
    cmds_[Cmd::Capture_Pause].tag = 0;
  } else {
    screen_.Enumerate();
    EnsureDesktopBitmaps();
    FWindowListSnapshot.reset();
    if (FSavedZoom > 0) {
      FZoom = FSavedZoom;
      FSavedZoom = -1;
    }
  }
  CompositionCheck();
  ShowCapturePanel();
  FStatusMessage.clear();
  FormResize(Sender::Program);
  RefreshNow();
}

void MainWindow::actCapture_FixedExecute() {
  if (CaptureModifierVariant()) return;
  cmds_.SetChecked(Cmd::Capture_Fixed, !IsFixed());
  ::GetCursorPos(&FCapturePoint);
  ShowCapturePanel();
  FStatusMessage.clear();
  RefreshNow();
}

void MainWindow::actOpt_SmoothCaptureExecute(Sender s) {
  timerMainInterval_ = cmds_.Checked(Cmd::Opt_SmoothCapture) ? 30 : 60;
  if (timerMainEnabled_) ::SetTimer(hwnd_, kTimerMain, timerMainInterval_, nullptr);
  if (s != Sender::Program && s != Sender::None) FStatusMessage.clear();
  RefreshNow();
}

void MainWindow::actOpt_NoSelfCaptureExecute() {
  CompositionCheck();
  const bool on = cmds_.Visible(Cmd::Opt_NoSelfCapture) && cmds_.Checked(Cmd::Opt_NoSelfCapture);
  SetAlphaBlend(on);
  if (toolbar_) {
    LONG_PTR ex = ::SendMessageW(toolbar_, TB_GETEXTENDEDSTYLE, 0, 0);
    ex = on ? (ex | TBSTYLE_EX_DOUBLEBUFFER) : (ex & ~static_cast<LONG_PTR>(TBSTYLE_EX_DOUBLEBUFFER));
    ::SendMessageW(toolbar_, TB_SETEXTENDEDSTYLE, 0, ex);
  }
  ::Sleep(100);
  RefreshNow();
}

void MainWindow::CompositionCheck() {
  if (!cmds_.Checked(Cmd::Opt_NoSelfCapture)) return;
  if (IsPaused() && FWindowListSnapshot) return;
  if (!SafeDwmIsCompositionEnabled()) return;
  cmds_.SetChecked(Cmd::Opt_NoSelfCapture, false);
  SetAlphaBlend(false);
  std::wstring caption = CaptionWithoutAccel(Def(Cmd::Opt_NoSelfCapture).caption);
  std::wstring text = L"Aero テーマが有効の場合「" + caption + L"」の機能は使用できません\r機能を解除します";
  MessageDlg(hwnd_, text, MsgKind::Warning, mbOK, mbOK);
  CommandsChanged();
}

void MainWindow::OnDisplayChange() {
  displayDc_.reset();      // a new display configuration needs a new display DC
  if (IsPaused()) return;  // the frozen desktop keeps its geometry until resumed
  screen_.Enumerate();
  EnsureDesktopBitmaps();
  RefreshNow();
}

// ---- glides ----------------------------------------------------------------------------------

void MainWindow::MoveCapturePointTo(POINT target) {
  const DWORD start = ::GetTickCount();
  const std::vector<Point> steps = CapturePointGlide(ToPoint(FCapturePoint), ToPoint(target));
  for (size_t i = 0; i < steps.size(); ++i) {
    FCapturePoint = ToPOINT(steps[i]);
    if (i + 1 == steps.size()) FStatusMessage.clear();
    RefreshNow();
    if (i + 1 < steps.size()) WaitUntilTick(start + static_cast<DWORD>(i + 1) * 40);
  }
}

void MainWindow::MoveCursorTo(POINT target) {
  POINT cur;
  ::GetCursorPos(&cur);
  const DWORD start = ::GetTickCount();
  const std::vector<Point> steps = CursorGlide(ToPoint(cur), ToPoint(target));
  for (size_t i = 0; i < steps.size(); ++i) {
    ::SetCursorPos(steps[i].x, steps[i].y);
    if (i + 1 < steps.size()) WaitUntilTick(start + static_cast<DWORD>(i + 1) * 10);
  }
}

void MainWindow::MoveCapture(int dx, int dy) {
  if (IsPaused() || IsFixed()) {
    Point p = screen_.Layout().ClampToDesktop(Point{FCapturePoint.x + dx, FCapturePoint.y + dy});
    FCapturePoint = ToPOINT(p);
    RefreshNow();
    return;
  }
  // Live: the cursor moves, and the view follows it.
  POINT cur;
  ::GetCursorPos(&cur);
  ::SetCursorPos(cur.x + dx, cur.y + dy);
  RefreshNow();
}

void MainWindow::actMove(Cmd c) {
  const int step = IsKeyDown(VK_SHIFT) ? 10 : 1;
  switch (c) {
    case Cmd::Move_Up: MoveCapture(0, -step); break;
    case Cmd::Move_Down: MoveCapture(0, step); break;
    case Cmd::Move_Left: MoveCapture(-step, 0); break;
    case Cmd::Move_Right: MoveCapture(step, 0); break;
    default: break;
  }
}

// ---- capture panel ---------------------------------------------------------------------------

namespace {

struct CaptureButtonDef {
  const wchar_t* text;
  Cmd cmd;
};
const CaptureButtonDef kCaptureButtons[4] = {
    {L"←", Cmd::Move_Left}, {L"↑", Cmd::Move_Up}, {L"↓", Cmd::Move_Down}, {L"→", Cmd::Move_Right}};

LRESULT CALLBACK CaptureButtonProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                   DWORD_PTR ref) {
  auto* self = reinterpret_cast<MainWindow*>(ref);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      LRESULT r = ::DefSubclassProc(w, msg, wp, lp);
      ::SendMessageW(::GetParent(::GetParent(w)), WM_APP + 1, id, 1);
      return r;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      ::SendMessageW(::GetParent(::GetParent(w)), WM_APP + 1, id, 0);
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(w, CaptureButtonProc, id);
      break;
    default:
      break;
  }
  (void)self;
  return ::DefSubclassProc(w, msg, wp, lp);
}

}  // namespace

void MainWindow::CreateCapturePanel() {
  pnlCapture_ = ::CreateWindowExW(0, L"STATIC", L"pnlCapture", WS_CHILD | WS_CLIPSIBLINGS |
                                      SS_NOTIFY, 0, 0, 0, 0, hwnd_, nullptr, inst_, nullptr);
  for (int i = 0; i < 4; ++i) {
    captureButtons_[i] = ::CreateWindowExW(0, L"BUTTON", kCaptureButtons[i].text,
                                           WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0,
                                           pnlCapture_, reinterpret_cast<HMENU>(100 + i), inst_,
                                           nullptr);
    ::SetWindowSubclass(captureButtons_[i], CaptureButtonProc, 100 + i,
                        reinterpret_cast<DWORD_PTR>(this));
    ::SendMessageW(captureButtons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_.get()), 0);
  }
}

void MainWindow::ShowCapturePanel() {
  if (!pnlCapture_) return;
  ::ShowWindow(pnlCapture_, (IsFixed() || IsPaused()) ? SW_SHOWNA : SW_HIDE);
}

void MainWindow::OnCaptureButton(int index, bool down) {
  if (index < 0 || index >= 4) return;
  const Cmd move = kCaptureButtons[index].cmd;
  if (down) {
    captureMoveCmd_ = move;
    actMove(move);
    int delay = 0;
    if (!::SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0)) delay = 0;
    ::SetTimer(hwnd_, kTimerCaptureMove, static_cast<UINT>((delay + 1) * 250), nullptr);
  } else {
    ::KillTimer(hwnd_, kTimerCaptureMove);
  }
}

void MainWindow::Timer_CaptureMoveTimer() {
  if (!IsKeyDown(VK_LBUTTON)) {
    ::KillTimer(hwnd_, kTimerCaptureMove);
    return;
  }
  actMove(captureMoveCmd_);
  DWORD speed = 31;
  if (!::SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0)) speed = 100;
  int interval = 400 - 12 * static_cast<int>(speed);
  ::SetTimer(hwnd_, kTimerCaptureMove, static_cast<UINT>(std::max(interval, 10)), nullptr);
}

}  // namespace viz
