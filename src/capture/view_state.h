// The magnified view's own state: the zoom and its place in the zoom list, the zoom saved while
// the actual-size key is held, the capture point, and the geometry laid out from them.
// Platform independent; the main window holds one and the capture engine reads it. The capture
// point changes only through methods that say which bounds the new point keeps to.
#pragma once

#include <cstdint>
#include <optional>

#include "base/geometry.h"
#include "capture/monitor_layout.h"
#include "capture/view_geometry.h"
#include "commands/command_table.h"

namespace viz {

class ViewState {
 public:
  int32_t FZoom = 6;        // factor, one of kZoomFactors
  int32_t FZoomIndex = 4;   // its position in the zoom list
  int32_t FSavedZoom = -1;  // zoom behind the temporary 1:1 view, -1 when none
  ViewGeometry geometry;    // as laid out last

  // The screen point at the centre of the capture.
  Point CapturePoint() const { return FCapturePoint; }
  // Live capture follows the cursor wherever the system puts it; a fixed point starts there too.
  void FollowCursor(Point cursor) { FCapturePoint = cursor; }
  // A point its caller has already bounded: a step of a glide to a cell on a monitor, or the
  // fixed point read from the settings (clamped into the desktop as it was read).
  void MoveCapturePointTo(Point p) { FCapturePoint = p; }
  // The arrow keys and buttons: a step that stays inside the desktop.
  void StepCapturePoint(int32_t dx, int32_t dy, const MonitorLayout& monitors);
  // Panning a frozen view: inside the desktop, and onto a monitor when the point would fall in
  // a gap between monitors.
  void PanCapturePointTo(Point candidate, const MonitorLayout& monitors) {
    FCapturePoint = monitors.ClampCapturePoint(candidate, FCapturePoint);
  }

  // The zoom of a zoom command: the factor and its list position.
  void SetZoom(Cmd zoomCommand);
  // The zoom command a step up or down goes to; none while a temporary zoom is in force or at
  // the end of the list.
  std::optional<Cmd> StepZoom(bool up) const;
  // The temporary 1:1 view while the actual-size key is held; true when the zoom changed.
  bool BeginActualSize();
  bool EndActualSize();
  // Lays the view out for a client width and panel top.
  void Layout(int32_t clientWidth, int32_t panelTop, bool gridShown);

 private:
  Point FCapturePoint;
};

}  // namespace viz
