#include "info/window_frame.h"

namespace viz {

Rect ShownWindowRect(const Rect& windowRect, bool compositionOn, const Rect& extendedFrame) {
  if (compositionOn && !extendedFrame.empty()) return extendedFrame;
  return windowRect;
}

}  // namespace viz
