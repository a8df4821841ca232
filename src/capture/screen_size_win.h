// TMyScreenSize: the monitors of the system, enumerated with the Win32 calls and handed to the
// pure MonitorLayout. Re-enumerated when the display configuration changes and around pauses.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "base/geometry_win.h"
#include "capture/monitor_layout.h"

namespace viz {

class TMyScreenSize {
 public:
  void Enumerate();
  // A layout handed in instead of the system's monitors (tests).
  void SetMonitors(std::vector<Rect> monitors) { layout_ = MonitorLayout(std::move(monitors)); }
  const MonitorLayout& Layout() const { return layout_; }
  RECT Desktop() const { return ToRECT(layout_.Desktop()); }
  RECT MonitorRectAt(POINT p) const { return ToRECT(layout_.MonitorAt(ToPoint(p))); }
  bool OnAnyMonitor(POINT p) const { return layout_.OnAnyMonitor(ToPoint(p)); }
  // The virtual screen as the system reports it.
  static RECT VirtualScreen();
  // What to add to a screen point to address it in `displayDc`, a display device context.
  static POINT DisplayDcShift(HDC displayDc);
  // Fills black the parts of `area` (screen coordinates) that lie on no monitor, in `dc`, where
  // screen point `origin` is at (0, 0).
  void BlackenOffMonitor(HDC dc, const RECT& area, POINT origin) const;
  // Moves the window to (0, 0) when it lies wholly outside every monitor.
  void BringOnScreen(HWND w) const;
  // Moves the window to the top-left corner of the next monitor, or to (0, 0).
  void MoveToNextMonitor(HWND w, bool shiftHeld) const;

 private:
  MonitorLayout layout_;
};

}  // namespace viz
