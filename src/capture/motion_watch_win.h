// Pointer movements anywhere on the desktop, noticed without a hook: the window asks for the
// mouse's raw input, also while another program's window has the focus (RIDEV_INPUTSINK), and
// each movement arrives as WM_INPUT in its own queue. A low-level mouse hook would make every
// pointer movement of the whole system wait for this thread, which can itself wait for another
// program (a window text is asked for with a timeout); the system drops a hook that answers too
// slowly, without notice.
//
// Raw input reports what the device did, not where the cursor is: the cycle asks for the cursor.
// What Wine 8 delivers to a window in the background (another program's window in the
// foreground), both architectures, in a virtual desktop:
//   - the X pointer moved by the X server (xdotool, a hand): one WM_INPUT per motion event;
//   - SendInput of another program, relative or absolute: one WM_INPUT per input;
//   - SetCursorPos: none (it is no input, on Windows neither);
//   - a pointer over no Wine window (a desktop of several X screens without a virtual desktop):
//     none, as Wine hears of no movement there.
// Where nothing arrives, the main timer follows the cursor as it always did.
#pragma once

#include <windows.h>

namespace viz {

class MotionWatch {
 public:
  MotionWatch() = default;
  MotionWatch(const MotionWatch&) = delete;
  MotionWatch& operator=(const MotionWatch&) = delete;
  ~MotionWatch() { Stop(); }

  // Movements go to `target` as WM_INPUT from now on; false when the system refused.
  bool Start(HWND target);
  void Stop();
  bool Watching() const { return watching_; }

 private:
  bool watching_ = false;
};

}  // namespace viz
