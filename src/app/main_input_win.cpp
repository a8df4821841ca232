// Keyboard and mouse handling of the main window.
#include "app/main_window_win.h"
#include "capture/view_geometry.h"
#include "commands/gesture.h"
#include "commands/key_dispatch.h"
#include "platform/sysfuncs_win.h"

namespace viz {

// ---- keys ------------------------------------------------------------------------------------

bool MainWindow::FormKeyDown(WPARAM key) {
  const KeyDownDecision d = DecideKeyDown(bindings_, static_cast<uint16_t>(key), IsKeyDown(VK_MENU));
  if (d.action != KeyDownAction::PassOn) input_.pressedHere.set(key & 0xFF);
  switch (d.action) {
    case KeyDownAction::PassOn:
      return false;
    case KeyDownAction::RunMove:
      if (d.cmd) Execute(*d.cmd, Sender::Key);
      return true;
    case KeyDownAction::BeginActualSize:
      if (view_.BeginActualSize()) {
        timer_.FLastCaptureTick = 0;
        FormResize(Sender::Key);
      }
      return true;
    case KeyDownAction::Consume:
      return true;
  }
  return false;
}

bool MainWindow::FormKeyUp(WPARAM key) {
  const KeyUpDecision d = DecideKeyUp(bindings_, static_cast<uint16_t>(key), IsKeyDown(VK_MENU));
  switch (d.action) {
    case KeyUpAction::Nothing:
      return false;
    case KeyUpAction::ShowMainMenu:
      actMenu_MainExecute();
      return true;
    case KeyUpAction::EndActualSize:
      if (view_.EndActualSize()) {
        timer_.FLastCaptureTick = 0;
        FormResize(Sender::Key);
      }
      return true;
    case KeyUpAction::RunCommand: {
      const bool pressedHere = input_.TakePress(static_cast<uint32_t>(key));
      if (!d.cmd || !pressedHere) return true;
      // The operation runs whatever the command's enabled state.
      if (d.toggleCheck) cmds_.SetChecked(*d.cmd, !cmds_.Checked(*d.cmd));
      Execute(*d.cmd, Sender::Key);
      return true;
    }
  }
  return false;
}

// ---- mouse -----------------------------------------------------------------------------------

void MainWindow::StartSystemDrag() {
  // The window-move loop. SC_MOVE | HTCAPTION starts the same drag as the other SC_MOVE
  // variants and is the one value that works on every system, Wine included.
  ::ReleaseCapture();
  ::SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  RefreshNow();
}

void MainWindow::FormMouseDown(UINT button, POINT client) {
  if (button == VK_RBUTTON) {
    input_.FGestureStart = ToPoint(client);
    ::SetCapture(hwnd_);  // the gesture ends where the button is released, in or out of the window
    return;
  }
  POINT screen = client;
  ::ClientToScreen(hwnd_, &screen);
  input_.FPanDown = ToPoint(screen);
  RECT panel = panel_.PanelRect();
  ::OffsetRect(&panel, 0, ToolbarHeight());
  if ((IsPaused() || IsFixed()) && !::PtInRect(&panel, client)) {
    ::SetCapture(hwnd_);
    input_.FPanning = true;
    input_.FPanStartPoint = view_.CapturePoint();
    return;
  }
  if (!IsKeyDown(VK_CONTROL) && !::IsZoomed(hwnd_)) StartSystemDrag();
}

void MainWindow::FormMouseMove(POINT) {
  if (!input_.FPanning || !IsKeyDown(VK_LBUTTON)) return;
  input_.FPanning = false;  // no re-entry while this step runs
  POINT cur;
  ::GetCursorPos(&cur);
  const Point p = PanCapturePoint(input_.FPanStartPoint, input_.FPanDown, ToPoint(cur), view_.FZoom);
  view_.PanCapturePointTo(p, engine_.Screen().Layout());
  RefreshNow();
  MSG msg;
  for (int i = 0; i < 50 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (::GetCapture() == hwnd_) input_.FPanning = true;
}

void MainWindow::FormMouseUp(UINT button, POINT client) {
  if (button == VK_RBUTTON) {
    const Point start = input_.FGestureStart;
    input_.FGestureStart = Point{-1, -1};
    if (::GetCapture() == hwnd_) ::ReleaseCapture();
    if (GestureStartRecorded(start)) {
      input_.FGestureStart = start;
      RunGesture(client);
      input_.FGestureStart = Point{-1, -1};
    }
    return;
  }
  input_.FPanning = false;
  if (::GetCapture() == hwnd_) ::ReleaseCapture();
  if ((IsPaused() || IsFixed()) && IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_SHIFT))
    FormDblClick(client);
}

void MainWindow::RunGesture(POINT end) {
  const auto dir = RecogniseGesture(input_.FGestureStart, ToPoint(end),
                                    ::GetSystemMetrics(SM_CXDOUBLECLK),
                                    ::GetSystemMetrics(SM_CYDOUBLECLK));
  if (!dir) {
    POINT at;
    ::GetCursorPos(&at);
    ShowMainMenu(at);
    return;
  }
  // A slot without a command does nothing.
  const KeyUpDecision d = DecideGesture(bindings_, *dir);
  if (d.action != KeyUpAction::RunCommand || !d.cmd) return;
  if (d.toggleCheck) cmds_.SetChecked(*d.cmd, !cmds_.Checked(*d.cmd));
  Execute(*d.cmd, Sender::Gesture);
}

void MainWindow::FormDblClick(POINT client) {
  if (!IsPaused() && !IsFixed()) return;
  const MonitorLayout& layout = engine_.Screen().Layout();
  const Point p = layout.ClampToDesktop(
      DoubleClickCellPoint(view_.geometry, view_.CapturePoint(), ToPoint(client), ToolbarHeight()));
  if (layout.OnAnyMonitor(p) && p != view_.CapturePoint()) MoveCapturePointTo(ToPOINT(p));
}

void MainWindow::FormMouseWheel(int delta) {
  if (input_.FWheelBusy) return;
  input_.FWheelBusy = true;
  const bool alt = IsKeyDown(VK_MENU), ctrl = IsKeyDown(VK_CONTROL);
  if (delta < 0)
    Execute(alt ? Cmd::Move_Right : ctrl ? Cmd::Move_Down : Cmd::Zoom_Down, Sender::Program);
  else if (delta > 0)
    Execute(alt ? Cmd::Move_Left : ctrl ? Cmd::Move_Up : Cmd::Zoom_Up, Sender::Program);
  input_.FWheelBusy = false;
}

void MainWindow::actMove_MonitorExecute() {
  engine_.Screen().MoveToNextMonitor(hwnd_, IsKeyDown(VK_SHIFT));
  RefreshNow();
}

}  // namespace viz
