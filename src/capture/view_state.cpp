#include "capture/view_state.h"

#include <cstdlib>

#include "commands/key_dispatch.h"

namespace viz {

void ViewState::SetZoom(Cmd zoomCommand) {
  const std::optional<int> index = ZoomIndexOf(zoomCommand);
  if (!index) return;
  FZoomIndex = *index;
  FZoom = std::abs(Def(zoomCommand).tag);
}

std::optional<Cmd> ViewState::StepZoom(bool up) const {
  const std::optional<int> index = ZoomStepIndex(FZoomIndex, FSavedZoom, up);
  if (!index) return std::nullopt;
  return ZoomCommandAt(*index);
}

bool ViewState::BeginActualSize() {
  ActualSizeZoom z{FZoom, FSavedZoom};
  if (!viz::BeginActualSize(z)) return false;
  FZoom = z.zoom;
  FSavedZoom = z.savedZoom;
  return true;
}

bool ViewState::EndActualSize() {
  ActualSizeZoom z{FZoom, FSavedZoom};
  if (!viz::EndActualSize(z)) return false;
  FZoom = z.zoom;
  FSavedZoom = z.savedZoom;
  return true;
}

void ViewState::StepCapturePoint(int32_t dx, int32_t dy, const MonitorLayout& monitors) {
  FCapturePoint = monitors.ClampToDesktop(Point{FCapturePoint.x + dx, FCapturePoint.y + dy});
}

void ViewState::Layout(int32_t clientWidth, int32_t panelTop, bool gridShown) {
  geometry = ComputeViewGeometry(clientWidth, panelTop, FZoom, gridShown);
}

}  // namespace viz
