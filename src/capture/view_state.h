// The magnified view's own state: the zoom and its place in the zoom list, the zoom saved while
// the actual-size key is held, the capture point, and the geometry laid out from them.
// Platform independent; the main window holds one and the capture engine reads it.
#pragma once

#include <cstdint>
#include <optional>

#include "capture/geometry_types.h"
#include "capture/view_geometry.h"
#include "commands/command_table.h"

namespace viz {

struct ViewState {
  int32_t FZoom = 6;        // factor, one of kZoomFactors
  int32_t FZoomIndex = 4;   // its position in the zoom list
  int32_t FSavedZoom = -1;  // zoom behind the temporary 1:1 view, -1 when none
  Point FCapturePoint;      // screen point at the centre of the capture
  ViewGeometry geometry;    // as laid out last

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
};

}  // namespace viz
