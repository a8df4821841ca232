// Monitor geometry without the system calls: the monitors as rectangles in virtual-desktop
// coordinates, the bounding desktop rectangle, and the point and window placement rules built
// on them. The Win32 side enumerates the monitors and hands the list in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/geometry.h"

namespace viz {

// Nearest point of `r` (right and bottom exclusive); an empty rectangle leaves `p` unchanged.
Point ClampToRect(Point p, Rect r);

// What to add to a screen point to address it in a display device context whose clip box is
// `deviceClip`. Such a context normally uses the system's coordinates (no shift); one whose clip
// box has the virtual screen's size at another origin puts (0, 0) elsewhere (Wine puts it at the
// virtual screen's top-left corner when a monitor lies left of or above the primary).
Point DisplayDeviceShift(Rect deviceClip, Rect virtualScreen);

class MonitorLayout {
 public:
  MonitorLayout() : MonitorLayout(std::vector<Rect>{}) {}
  // Monitors in enumeration order (the primary need not be first or leftmost), with their
  // refresh rates in the same order where known. Empty rectangles are dropped.
  explicit MonitorLayout(std::vector<Rect> monitors, std::vector<int> refreshHz = {});

  const std::vector<Rect>& Monitors() const { return monitors_; }

  // The refresh rate of the monitor showing `window` (CurrentMonitorIndex): 60 Hz where it is
  // not known or reported as 0 or 1 (the system's "default").
  int RefreshHzOf(Rect window) const;

  // Bounding rectangle of all monitors, extended so that it always contains (0, 0); with no
  // monitor at all it is the single pixel (0, 0, 1, 1).
  Rect Desktop() const { return desktop_; }
  int32_t Width() const { return desktop_.width(); }
  int32_t Height() const { return desktop_.height(); }

  // The first monitor containing `p`; an empty rectangle when the point is on none (in a gap
  // between monitors, or outside them all).
  Rect MonitorAt(Point p) const;
  std::optional<size_t> MonitorIndexAt(Point p) const;
  bool OnAnyMonitor(Point p) const { return MonitorIndexAt(p).has_value(); }

  Point ClampToDesktop(Point p) const { return ClampToRect(p, desktop_); }

  // New top-left corner for a window that lies wholly outside every monitor: (0, 0). No value
  // when any part of it is on a monitor.
  std::optional<Point> RescueWindow(Rect window) const;

  // The monitor a window is on: the one containing its centre, else the one it overlaps most
  // (the first of equals), else the first monitor. No value without monitors.
  std::optional<size_t> CurrentMonitorIndex(Rect window) const;

  // Where the monitor-move command puts the window's top-left corner: the next monitor after
  // the current one in enumeration order, wrapping around (a single monitor gives its own
  // corner); (0, 0) with Shift held or without monitors.
  Point NextMonitorOrigin(Rect window, bool shiftHeld) const;

  // The parts of `area` on no monitor (in a gap between monitors of different sizes or outside
  // them all), as rectangles that do not overlap; empty when every pixel is on a monitor.
  std::vector<Rect> OffMonitor(Rect area) const;

  // A capture point moved by panning: clamped into the desktop, and when it then lies in a gap
  // between monitors, into the monitor of the previous capture point (if that one is on a
  // monitor; otherwise the desktop-clamped point stays).
  Point ClampCapturePoint(Point candidate, Point previous) const;

 private:
  std::vector<Rect> monitors_;
  std::vector<int> refreshHz_;  // per monitor; 0 where not known
  Rect desktop_;
};

}  // namespace viz
