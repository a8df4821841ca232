#include "capture/motion_watch_win.h"

namespace viz {
namespace {

constexpr USHORT kGenericDesktop = 0x01;  // HID usage page
constexpr USHORT kMouse = 0x02;           // HID usage

}  // namespace

bool MotionWatch::Start(HWND target) {
  if (watching_) return true;
  RAWINPUTDEVICE d{kGenericDesktop, kMouse, RIDEV_INPUTSINK, target};
  watching_ = ::RegisterRawInputDevices(&d, 1, sizeof d) != FALSE;
  return watching_;
}

void MotionWatch::Stop() {
  if (!watching_) return;
  RAWINPUTDEVICE d{kGenericDesktop, kMouse, RIDEV_REMOVE, nullptr};
  ::RegisterRawInputDevices(&d, 1, sizeof d);
  watching_ = false;
}

}  // namespace viz
