#include "capture/screen_size_win.h"

#include <vector>

#include "ui/window_base_win.h"

namespace viz {
namespace {

struct Monitors {
  std::vector<Rect> rects;
  std::vector<int> refreshHz;
};

// The refresh rate the monitor's display mode has; 0 when it cannot be read.
int RefreshHzOf(HMONITOR monitor) {
  MONITORINFOEXW mi{};
  mi.cbSize = sizeof mi;
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (!::GetMonitorInfoW(monitor, &mi) ||
      !::EnumDisplaySettingsW(mi.szDevice, ENUM_CURRENT_SETTINGS, &mode))
    return 0;
  return static_cast<int>(mode.dmDisplayFrequency);
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT r, LPARAM lp) noexcept {
  return Guarded([&] {
    auto* m = reinterpret_cast<Monitors*>(lp);
    m->rects.push_back(ToRect(*r));
    m->refreshHz.push_back(RefreshHzOf(monitor));
    return TRUE;
  }, [] { return FALSE; });
}

}  // namespace

void TMyScreenSize::Enumerate() {
  Monitors m;
  ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&m));
  if (m.rects.empty()) {
    m.rects.push_back(Rect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    m.refreshHz.assign(1, 0);
  }
  layout_ = MonitorLayout(std::move(m.rects), std::move(m.refreshHz));
}

RECT TMyScreenSize::VirtualScreen() {
  const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN), y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
              y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

POINT TMyScreenSize::DisplayDcShift(HDC displayDc) {
  RECT clip{};
  if (!displayDc || ::GetClipBox(displayDc, &clip) == ERROR) return POINT{};
  return ToPOINT(DisplayDeviceShift(ToRect(clip), ToRect(VirtualScreen())));
}

void TMyScreenSize::BlackenOffMonitor(HDC dc, const RECT& area, POINT origin) const {
  for (const Rect& r : layout_.OffMonitor(ToRect(area))) {
    RECT fill{r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
    ::FillRect(dc, &fill, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
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
