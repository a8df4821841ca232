#include "capture/screen_size_win.h"

#include <vector>

namespace viz {
namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM lp) {
  reinterpret_cast<std::vector<Rect>*>(lp)->push_back(ToRect(*r));
  return TRUE;
}

}  // namespace

void TMyScreenSize::Enumerate() {
  std::vector<Rect> monitors;
  ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) {
    monitors.push_back(Rect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
  }
  layout_ = MonitorLayout(std::move(monitors));
}

HRGN TMyScreenSize::CreateMonitorRegion() const {
  HRGN all = ::CreateRectRgn(0, 0, 0, 0);
  if (!all) return nullptr;
  for (const Rect& m : layout_.Monitors()) {
    HRGN one = ::CreateRectRgn(m.left, m.top, m.right, m.bottom);
    if (!one) continue;
    ::CombineRgn(all, all, one, RGN_OR);
    ::DeleteObject(one);
  }
  return all;
}

void TMyScreenSize::BringOnScreen(HWND w) const {
  RECT r;
  if (!::GetWindowRect(w, &r)) return;
  if (auto p = layout_.RescueWindow(ToRect(r)))
    ::SetWindowPos(w, nullptr, p->x, p->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMyScreenSize::MoveToNextMonitor(HWND w, bool shiftHeld) const {
  RECT r;
  if (!::GetWindowRect(w, &r)) return;
  Point p = layout_.NextMonitorOrigin(ToRect(r), shiftHeld);
  ::SetWindowPos(w, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace viz
