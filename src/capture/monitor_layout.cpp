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

Point DisplayDeviceShift(Rect deviceClip, Rect virtualScreen) {
  if (deviceClip.width() != virtualScreen.width() || deviceClip.height() != virtualScreen.height())
    return {0, 0};
  return {deviceClip.left - virtualScreen.left, deviceClip.top - virtualScreen.top};
}

MonitorLayout::MonitorLayout(std::vector<Rect> monitors, std::vector<int> refreshHz) {
  for (size_t i = 0; i < monitors.size(); ++i) {
    if (monitors[i].empty()) continue;
    monitors_.push_back(monitors[i]);
    refreshHz_.push_back(i < refreshHz.size() ? refreshHz[i] : 0);
  }
  desktop_ = {0, 0, 1, 1};
  for (const Rect& m : monitors_) {
    desktop_.left = std::min(desktop_.left, m.left);
    desktop_.top = std::min(desktop_.top, m.top);
    desktop_.right = std::max(desktop_.right, m.right);
    desktop_.bottom = std::max(desktop_.bottom, m.bottom);
  }
}

int MonitorLayout::RefreshHzOf(Rect window) const {
  constexpr int kDefaultHz = 60;
  const std::optional<size_t> i = CurrentMonitorIndex(window);
  return i && refreshHz_[*i] > 1 ? refreshHz_[*i] : kDefaultHz;
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

std::vector<Rect> MonitorLayout::OffMonitor(Rect area) const {
  std::vector<Rect> rest;
  if (area.empty()) return rest;
  for (const Rect& m : monitors_)  // the common case: all on one monitor, nothing to allocate
    if (m.left <= area.left && m.top <= area.top && area.right <= m.right && area.bottom <= m.bottom)
      return rest;
  rest.push_back(area);
  // Each monitor is cut out of what is left: a rectangle minus another is up to four bands
  // (above, below, and left and right between them).
  for (const Rect& m : monitors_) {
    std::vector<Rect> next;
    for (const Rect& r : rest) {
      if (OverlapArea(r, m) == 0) {
        next.push_back(r);
        continue;
      }
      const int32_t top = std::max(r.top, m.top), bottom = std::min(r.bottom, m.bottom);
      if (r.top < top) next.push_back({r.left, r.top, r.right, top});
      if (bottom < r.bottom) next.push_back({r.left, bottom, r.right, r.bottom});
      if (r.left < m.left) next.push_back({r.left, top, m.left, bottom});
      if (m.right < r.right) next.push_back({m.right, top, r.right, bottom});
    }
    rest = std::move(next);
  }
  return rest;
}

Point MonitorLayout::ClampCapturePoint(Point candidate, Point previous) const {
  const Point p = ClampToDesktop(candidate);
  if (OnAnyMonitor(p)) return p;
  return ClampToRect(p, MonitorAt(previous));
}

}  // namespace viz
