#include "commands/gesture.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace viz {

int GestureAngle(int64_t dx, int64_t dy) {
  if (dx == 0) return dy > 0 ? 90 : 270;
  if (dy == 0) return dx > 0 ? 0 : 180;
  const double deg = std::atan(static_cast<double>(dy) / static_cast<double>(dx)) * 180.0 / std::numbers::pi;
  int angle = static_cast<int>(std::round(deg));  // std::round rounds halves away from zero
  if (dx < 0) angle += 180;
  else if (dy < 0) angle += 360;
  return angle;
}

GestureDir DirectionFromAngle(int degrees) {
  if (degrees >= 46 && degrees <= 135) return GestureDir::Up;
  if (degrees >= 136 && degrees <= 225) return GestureDir::Left;
  if (degrees >= 226 && degrees <= 315) return GestureDir::Down;
  return GestureDir::Right;
}

std::optional<GestureDir> RecogniseGesture(Point start, Point end, int32_t cxDoubleClick,
                                           int32_t cyDoubleClick) {
  // 64-bit so that extreme coordinates cannot overflow the differences.
  int64_t dx = static_cast<int64_t>(end.x) - start.x;
  int64_t dy = static_cast<int64_t>(start.y) - end.y;
  if (std::llabs(dx) <= 3 * static_cast<int64_t>(cxDoubleClick)) dx = 0;
  if (std::llabs(dy) <= 3 * static_cast<int64_t>(cyDoubleClick)) dy = 0;
  if (dx == 0 && dy == 0) return std::nullopt;
  return DirectionFromAngle(GestureAngle(dx, dy));
}

}  // namespace viz
