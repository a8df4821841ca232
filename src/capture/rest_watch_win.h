// Rest mode's wake-up. While the cursor rests, the main timer ticks only for the once-a-second
// capture of a still view; a low-level mouse hook, which costs nothing while the mouse is still,
// posts kMsgLeaveRest to the window at the first movement. (The timer's own rest tick notices a
// movement too, should the system drop the hook.)
#pragma once

#include <windows.h>

#include "ui/handle_win.h"

namespace viz {

class RestWatch {
 public:
  // Sets the hook; true when it is set and the rest begins.
  bool Enter(HWND notify);
  // Ends the rest: the hook goes.
  void Leave();
  bool Active() const { return active_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) noexcept;

  bool active_ = false;
  UniqueHook hook_;
};

}  // namespace viz
