// The rectangle the panel shows for a window. While desktop composition is on, a top-level
// window's visible frame is its extended frame bounds, which lie inside GetWindowRect by the
// invisible resize borders; the rectangle line, the size line and their copies all describe that
// one rectangle, so that they agree.
#pragma once

#include "base/geometry.h"

namespace viz {

// `windowRect` is what GetWindowRect reports; `extendedFrame` what the composition manager
// reports (all zero when it cannot tell, as for child windows). The extended frame is taken only
// while composition is on and when it is a real rectangle.
Rect ShownWindowRect(const Rect& windowRect, bool compositionOn, const Rect& extendedFrame);

}  // namespace viz
