#include "capture/monitor_layout.h"

#include <algorithm>
#include <utility>

namespace viz {
namespace {

int64_t OverlapArea(Rect a, Rect b) {
  const int64_t w = static_cast<int64_t>(std::min(a.right, b.right)) - std::max(a.left, b.left);
  const int64_t h = static_cast<int64_t>(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
  return (w > 0 && h > 0) ? w * h : 0;
}

Point CentreOf(Rect r) {
  return {static_cast<int32_t>((static_cast<int64_t>(r.left) + r.right) / 2),
          static_cast<int32_t>((static_cast<int64_t>(r.top) + r.bottom) / 2)};
}

}  // namespace

Point ClampToRect(Point p, Rect r) {
  if (r.empty()) return p;
  return {std::clamp(p.x, r.left, r.right - 1), std::clamp(p.y, r.top, r.bottom - 1)};
}

MonitorLayout::MonitorLayout(std::vector<Rect> monitors) : monitors_(std::move(monitors)) {
  std::erase_if(monitors_, [](const Rect& r) { return r.empty(); });
  desktop_ = {0, 0, 1, 1};
  for (const Rect& m : monitors_) {
    desktop_.left = std::min(desktop_.left, m.left);
    desktop_.top = std::min(desktop_.top, m.top);
    desktop_.right = std::max(desktop_.right, m.right);
    desktop_.bottom = std::max(desktop_.bottom, m.bottom);
  }
}

std::optional<size_t> MonitorLayout::MonitorIndexAt(Point p) const {
  for (size_t i = 0; i < monitors_.size(); ++i)
    if (monitors_[i].contains(p)) return i;
  return std::nullopt;
}

Rect MonitorLayout::MonitorAt(Point p) const {
  const std::optional<size_t> i = MonitorIndexAt(p);
  return i ? monitors_[*i] : Rect{};
}

std::optional<Point> MonitorLayout::RescueWindow(Rect window) const {
  // A window of no size is judged by its corner.
  if (window.empty()) {
    if (OnAnyMonitor(window.topLeft())) return std::nullopt;
    return Point{0, 0};
  }
  for (const Rect& m : monitors_)
    if (OverlapArea(m, window) > 0) return std::nullopt;
  return Point{0, 0};
}

std::optional<size_t> MonitorLayout::CurrentMonitorIndex(Rect window) const {
  if (monitors_.empty()) return std::nullopt;
  if (const auto i = MonitorIndexAt(CentreOf(window))) return i;
  size_t best = 0;
  int64_t bestArea = 0;
  for (size_t i = 0; i < monitors_.size(); ++i) {
    const int64_t a = OverlapArea(monitors_[i], window);
    if (a > bestArea) best = i, bestArea = a;
  }
  return best;
}

Point MonitorLayout::NextMonitorOrigin(Rect window, bool shiftHeld) const {
  const std::optional<size_t> current = CurrentMonitorIndex(window);
  if (shiftHeld || !current) return {0, 0};
  return monitors_[(*current + 1) % monitors_.size()].topLeft();
}

Point MonitorLayout::ClampCapturePoint(Point candidate, Point previous) const {
  const Point p = ClampToDesktop(candidate);
  if (OnAnyMonitor(p)) return p;
  return ClampToRect(p, MonitorAt(previous));
}

}  // namespace viz
