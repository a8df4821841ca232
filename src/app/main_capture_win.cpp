// The capture cycle's timer, the cycles pointer movements bring, and the capture modes: live,
// paused, fixed point, glides, the capture panel's arrow buttons and rest mode. The cycle itself
// is the capture engine's.
#include <algorithm>
#include <chrono>

#include "app/main_window_win.h"
#include "base/format.h"
#include "capture/view_geometry.h"
#include "platform/message_dialog_win.h"
#include "platform/sysfuncs_win.h"

namespace viz {
namespace {

// Rest mode: after this long without a capture the cursor counts as still, and the timer ticks
// only for the once-a-second capture of a still view. The skip test lets 1000 ms pass after a
// capture; the rest tick is due a little after that, counted from the capture itself.
constexpr DWORD kRestAfterMs = 500;
constexpr DWORD kRestRecaptureMs = 1020;
// With smooth capture a resting view keeps its ticks; the cursor is read again at least this
// often even when no movement was reported (a program may move the cursor).
constexpr DWORD kCursorRecheckMs = 250;

// Microseconds of a steady clock, for the display frames (the tick count is too coarse on
// Windows: 15.6 ms).
int64_t SteadyUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// Waits until `deadline` (a tick count).
void WaitUntilTick(DWORD deadline) {
  for (;;) {
    DWORD now = ::GetTickCount();
    if (static_cast<int32_t>(deadline - now) <= 0) return;
    ::Sleep(std::min<DWORD>(deadline - now, 10));
  }
}

}  // namespace

// ---- the cycle -------------------------------------------------------------------------------

CaptureRequest MainWindow::MakeCaptureRequest(POINT pt) const {
  CaptureRequest r;
  r.point = pt;
  r.geometry = view_.geometry;
  // Live while the timer runs, and for the one live picture a pause takes first.
  r.live = timer_.enabled || cmds_.Tag(Cmd::Capture_Pause) != 0;
  r.noSelfCapture = NoSelfCaptureOn();
  r.grid = GridStyleOf(cmds_);
  r.self = hwnd_;
  return r;
}

void MainWindow::Timer_MainTimer(Sender) {
  // The window is being destroyed.
  if (!hwnd_ || terminating_) {
    if (hwnd_) ::KillTimer(hwnd_, kTimerMain);
    return;
  }
  // No nested cycle.
  if (timer_.FCycleBusy) return;
  timer_.FCycleBusy = true;
  ScopeExit clearBusy([this] { timer_.FCycleBusy = false; });
  if (!FViewBitmap) return;

  // The point. While a view rests with smooth capture, any movement is reported (and ends the
  // rest), so the cursor is asked for only now and then (each time is a round trip to the window
  // server under Wine; the rest tick below asks every time).
  const bool smooth = cmds_.Checked(Cmd::Opt_SmoothCapture);
  const DWORD tick = ::GetTickCount();
  POINT pt = ToPOINT(view_.CapturePoint());
  if (!IsFixed() && !IsPaused() &&
      !(smooth && timer_.resting && tick - timer_.cursorReadTick < kCursorRecheckMs)) {
    ::GetCursorPos(&pt);
    timer_.cursorReadTick = tick;
  }
  const bool still = ToPoint(pt) == view_.CapturePoint();
  if (!still) timer_.stillSince = tick;
  // A rest tick that finds the cursor moved ends the rest itself: a program may have moved the
  // cursor, which is no input and is reported by nothing.
  if (!still && timer_.resting) LeaveRest();
  // Skip a still cursor until the interval of the timer's tag has passed.
  const DWORD now = tick;
  const DWORD last = timer_.FLastCaptureTick;
  if (still && last != 0 && now >= last && now - last <= static_cast<DWORD>(timer_.tag) && !smooth) {
    if (timer_.paintOwed) PaintCycle(nullptr);
    if (now - last >= kRestAfterMs) EnterRest(now);
    return;
  }
  if (smooth && still && now - timer_.stillSince >= kRestAfterMs) EnterRest(now);

  // The picture, grid, marker, centre colour and the window under the point. What did not
  // change is not drawn again, and only what was drawn is painted.
  timer_.frames.CycleRan(SteadyUs());
  view_.FollowCursor(ToPoint(pt));
  std::vector<RECT> dirty;
  if (engine_.Run(MakeCaptureRequest(pt), FViewBitmap, FCaptureInfo)) {
    const ViewGeometry& g = view_.geometry;
    dirty.push_back(RECT{g.rulerWidth, g.rulerWidth, g.clientWidth, g.panelTop});
  }

  // The information panel.
  DrawPanel(FViewBitmap.dc(), active_, &dirty);

  // Paint. A cycle that opened a movement from rest paints nothing while more of the movement
  // already waits: its picture is outdated, and the cycle due at the end of the frame paints all
  // of the view at the place reached (a burst of reports is one picture).
  if (!dirty.empty() || timer_.paintAll) {
    if (timer_.openingMove && HIWORD(::GetQueueStatus(QS_RAWINPUT)) != 0)
      timer_.paintOwed = timer_.paintAll = true;
    else
      PaintCycle(&dirty);
  }

  // The cycle is done: a still point waits a second from now.
  timer_.FLastCaptureTick = ::GetTickCount();
  if (timer_.FLastCaptureTick == 0) timer_.FLastCaptureTick = 1;  // 0 means "capture at once"
  timer_.tag = 1000;
  ++timer_.captureCount;
  // At rest the next tick is the next once-a-second capture, a second from this one.
  if (timer_.resting && !smooth) ::SetTimer(hwnd_, kTimerMain, kRestRecaptureMs, nullptr);
}

// Paints straight into the window (a WM_PAINT round would cost more than the capture): the view
// rectangles `dirty`, or all of it.
void MainWindow::PaintCycle(const std::vector<RECT>* dirty) {
  WindowDc dc(hwnd_);
  if (dc) PaintView(dc.get(), active_, timer_.paintAll ? nullptr : dirty);
  timer_.paintAll = timer_.paintOwed = false;
  ++timer_.paintCount;
}

// A tick of the main timer, unless a cycle ran within this display frame: a movement brought
// it, and the two are one.
void MainWindow::Timer_MainTimerTick() {
  if (timer_.frames.TickRuns(SteadyUs())) Timer_MainTimer(Sender::Timer);
}

// ---- cycles brought by movements -------------------------------------------------------------

bool MainWindow::FollowsCursor() const {
  return FTag != 0 && timer_.enabled && !IsPaused() && !IsFixed();
}

// The pointer moved: a cycle for the new place now, or at the end of the display frame when
// one ran within it. A frozen or fixed view captures nothing new, and stays at rest.
// The cycle asks for the cursor: a report's message point is no substitute (under Wine it is
// the place before the movement).
void MainWindow::OnPointerMoved() {
  if (!FollowsCursor() || timer_.frames.Chasing()) return;  // chasing: the frame timer follows
  LeaveRest();
  const int64_t now = SteadyUs();
  const bool fromRest = timer_.frames.Idle(now), wasDue = timer_.frames.Due();
  const int64_t waitUs = timer_.frames.OnMovement(now);
  if (waitUs == 0) {
    // Movements already waiting are this one's too: a burst brings one cycle, for where it
    // ended.
    DropWaitingReports();
    if (wasDue) ::KillTimer(hwnd_, kTimerFrame);
    timer_.openingMove = fromRest;
    ScopeExit opened([this] { timer_.openingMove = false; });
    Timer_MainTimer(Sender::Timer);
    StartChase(now);
  } else if (waitUs > 0) {
    ::SetTimer(hwnd_, kTimerFrame, static_cast<UINT>((waitUs + 999) / 1000), nullptr);
  }
}

// The chase (see FramePacer): the reports stop while the frame timer follows the pointer.
void MainWindow::StartChase(int64_t now) {
  if (timer_.frames.Chasing() || !motion_.Watching() || !timer_.frames.StartChase(now)) return;
  motion_.Stop();
  ::SetTimer(hwnd_, kTimerFrame, timer_.frames.ChaseIntervalMs(), nullptr);
}

void MainWindow::EndChase() {
  if (!timer_.frames.Chasing()) return;
  timer_.frames.EndChase();
  ::KillTimer(hwnd_, kTimerFrame);
  if (hwnd_) motion_.Start(hwnd_);
}

void MainWindow::Timer_FrameTimer() {
  if (timer_.frames.Chasing()) {
    ChaseTick();
    return;
  }
  ::KillTimer(hwnd_, kTimerFrame);
  timer_.frames.DueReached();
  if (!FollowsCursor()) return;
  DropWaitingReports();
  Timer_MainTimer(Sender::Timer);
}

void MainWindow::ChaseTick() {
  if (!timer_.frames.ChaseTickOnTime(SteadyUs()) || !FollowsCursor()) {
    EndChase();
    return;
  }
  const Point before = view_.CapturePoint();
  Timer_MainTimer(Sender::Timer);
  if (timer_.frames.ChaseOver(view_.CapturePoint() == before)) EndChase();
}

// Reports waiting in the queue tell of movements the coming cycle shows (it asks for the cursor).
void MainWindow::DropWaitingReports() {
  MSG m;
  while (::PeekMessageW(&m, hwnd_, WM_INPUT, WM_INPUT, PM_REMOVE))
    DefProc(m.message, m.wParam, m.lParam);  // frees the input's data
}

// The frame is that of the monitor showing the picture.
void MainWindow::UpdateFrameRate() {
  RECT r;
  if (hwnd_ && ::GetWindowRect(hwnd_, &r))
    timer_.frames.SetRefreshHz(engine_.Screen().Layout().RefreshHzOf(ToRect(r)));
}

// ---- rest mode -------------------------------------------------------------------------------

// At rest the 60 ms ticks would cost more than everything else the program does: each is a
// round trip to the window server for a cursor that has not moved. So while the cursor is still
// the timer ticks only for the once-a-second capture, and the first movement reported ends the
// rest. With smooth capture every tick still captures (the screen may change), but the cursor
// is not asked for each time.
void MainWindow::EnterRest(DWORD now) {
  if (timer_.resting || !timer_.enabled) return;
  if (!motion_.Watching()) return;  // unreported, a movement would wait for the rest tick
  timer_.resting = true;
  if (cmds_.Checked(Cmd::Opt_SmoothCapture)) return;  // smooth capture keeps its ticks
  const DWORD due = timer_.FLastCaptureTick + kRestRecaptureMs;
  const DWORD wait = static_cast<int32_t>(due - now) > 10 ? due - now : 10;
  ::SetTimer(hwnd_, kTimerMain, wait, nullptr);
}

void MainWindow::LeaveRest() {
  if (!timer_.resting) return;
  timer_.resting = false;
  if (timer_.enabled) ::SetTimer(hwnd_, kTimerMain, timer_.interval, nullptr);
}

void MainWindow::RefreshNow() {
  if (FTag == 0 || !hwnd_) return;
  LeaveRest();  // the follow-up capture about 100 ms later needs the normal ticks
  timer_.FLastCaptureTick = 0;
  Timer_MainTimer(Sender::Program);
  timer_.tag = 100;
}

// ---- notice --------------------------------------------------------------------------------

void MainWindow::ShowNotice(const std::wstring& text) {
  panel_.SetNotice(text);
  if (!timer_.infoEnabled) {
    ::SetTimer(hwnd_, kTimerInfo, 2000, nullptr);
    timer_.infoEnabled = true;
  }
  RefreshNow();
}

void MainWindow::Timer_InfomationTimer() {
  panel_.ClearNotice();
  ::KillTimer(hwnd_, kTimerInfo);
  timer_.infoEnabled = false;
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

// Ctrl with pause or fixed point brings the mouse cursor to the capture point, Shift brings the
// capture point to the cursor; both only while the capture is frozen. True when one of them ran.
bool MainWindow::CaptureModifierVariant() {
  const bool ctrl = IsKeyDown(VK_CONTROL);
  if (!ctrl && !IsKeyDown(VK_SHIFT)) return false;
  if (IsPaused() || IsFixed()) {
    if (ctrl) {
      MoveCursorTo(ToPOINT(view_.CapturePoint()));
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
  if (IsPaused()) {
    if (!FreezeCapture()) ThawCapture();  // nothing of the pause is left half done
  } else {
    ThawCapture();
  }
  CompositionCheck();
  ShowCapturePanel();
  panel_.ClearNotice();
  FormResize(Sender::Program);
  RefreshNow();
}

void MainWindow::RunMainTimer(bool on) {
  timer_.enabled = on;
  if (on)
    ::SetTimer(hwnd_, kTimerMain, timer_.interval, nullptr);
  else
    ::KillTimer(hwnd_, kTimerMain);
}

// Pausing (and refreshing a paused view): one more live picture, then the frozen desktop and
// window list. False when a step failed; the caller then resumes, which undoes the rest.
bool MainWindow::FreezeCapture() {
  cmds_[Cmd::Capture_Update].enabled = true;
  RunMainTimer(false);
  const bool noSelf = cmds_.Checked(Cmd::Opt_NoSelfCapture);
  try {
    cmds_[Cmd::Capture_Pause].tag = 1;
    RefreshNow();  // one more live picture
    engine_.Screen().Enumerate();
    if (!noSelf) SetAlphaBlend(true);
    ScopeExit opaque([&] {
      if (!noSelf) SetAlphaBlend(false);
    });
    engine_.TakeSnapshots(hwnd_, ToPOINT(view_.CapturePoint()), view_.geometry);
  } catch (...) {
    cmds_[Cmd::Capture_Pause].tag = 0;
    cmds_.SetChecked(Cmd::Capture_Pause, false);
    return false;
  }
  cmds_[Cmd::Capture_Pause].tag = 0;
  return true;
}

void MainWindow::ThawCapture() {
  cmds_[Cmd::Capture_Update].enabled = false;
  RunMainTimer(true);
  engine_.DropWindowSnapshot();
  if (view_.FSavedZoom > 0) {
    view_.FZoom = view_.FSavedZoom;
    view_.FSavedZoom = -1;
  }
  engine_.Screen().Enumerate();
  engine_.EnsureDesktopBitmaps(SIZE{view_.geometry.captureWidth, view_.geometry.captureHeight});
  UpdateFrameRate();
}

void MainWindow::actCapture_FixedExecute() {
  if (CaptureModifierVariant()) return;
  cmds_.SetChecked(Cmd::Capture_Fixed, !IsFixed());
  POINT cur{};
  ::GetCursorPos(&cur);
  view_.FollowCursor(ToPoint(cur));
  ShowCapturePanel();
  panel_.ClearNotice();
  RefreshNow();
}

void MainWindow::actOpt_SmoothCaptureExecute(Sender s) {
  timer_.interval = cmds_.Checked(Cmd::Opt_SmoothCapture) ? 30 : 60;
  if (timer_.enabled) ::SetTimer(hwnd_, kTimerMain, timer_.interval, nullptr);
  if (s != Sender::Program && s != Sender::None) panel_.ClearNotice();
  RefreshNow();
}

void MainWindow::actOpt_NoSelfCaptureExecute() {
  CompositionCheck();
  const bool on = cmds_.Visible(Cmd::Opt_NoSelfCapture) && cmds_.Checked(Cmd::Opt_NoSelfCapture);
  SetAlphaBlend(on);
  if (toolbar_.hwnd) {
    LONG_PTR ex = ::SendMessageW(toolbar_.hwnd, TB_GETEXTENDEDSTYLE, 0, 0);
    ex = on ? (ex | TBSTYLE_EX_DOUBLEBUFFER) : (ex & ~static_cast<LONG_PTR>(TBSTYLE_EX_DOUBLEBUFFER));
    ::SendMessageW(toolbar_.hwnd, TB_SETEXTENDEDSTYLE, 0, ex);
  }
  ::Sleep(100);
  RefreshNow();
}

void MainWindow::CompositionCheck() {
  if (!cmds_.Checked(Cmd::Opt_NoSelfCapture)) return;
  if (IsPaused() && engine_.HasWindowSnapshot()) return;
  if (!SafeDwmIsCompositionEnabled()) return;
  cmds_.SetChecked(Cmd::Opt_NoSelfCapture, false);
  SetAlphaBlend(false);
  const std::wstring caption = CaptionWithoutAccel(CaptionOf(Cmd::Opt_NoSelfCapture));
  MessageDlg(hwnd_, FormatW(Tr(Text::CompositionConflict), {caption}), MsgKind::Warning, mbOK, mbOK);
  CommandsChanged();
}

void MainWindow::OnDisplayChange() {
  engine_.DropDisplayDc();  // a new display configuration needs a new display DC
  if (IsPaused()) return;   // the frozen desktop keeps its geometry until resumed
  engine_.Screen().Enumerate();
  engine_.EnsureDesktopBitmaps(SIZE{view_.geometry.captureWidth, view_.geometry.captureHeight});
  UpdateFrameRate();
  RefreshNow();
}

// ---- glides ----------------------------------------------------------------------------------

void MainWindow::MoveCapturePointTo(POINT target) {
  const DWORD start = ::GetTickCount();
  const std::vector<Point> steps = CapturePointGlide(view_.CapturePoint(), ToPoint(target));
  for (size_t i = 0; i < steps.size(); ++i) {
    view_.MoveCapturePointTo(steps[i]);
    if (i + 1 == steps.size()) panel_.ClearNotice();
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
    view_.StepCapturePoint(dx, dy, engine_.Screen().Layout());
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

void MainWindow::ShowCapturePanel() { capturePanel_.Show(IsFixed() || IsPaused()); }

void MainWindow::OnCaptureButton(int index, bool down) {
  if (index < 0 || index >= 4) return;
  if (down) {
    capturePanel_.SetHeld(index);
    actMove(capturePanel_.Held());
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
  actMove(capturePanel_.Held());
  DWORD speed = 31;
  if (!::SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0)) speed = 100;
  int interval = 400 - 12 * static_cast<int>(speed);
  ::SetTimer(hwnd_, kTimerCaptureMove, static_cast<UINT>(std::max(interval, 10)), nullptr);
}

}  // namespace viz
