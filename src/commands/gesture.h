// Right-button gesture recognition: a drag from press to release picks one of four directions,
// or none (a short drag opens the main menu instead).
#pragma once

#include <cstdint>
#include <optional>

#include "base/geometry.h"

namespace viz {

// Values are the gesture slot indices (up, down, left, right).
enum class GestureDir : uint8_t { Up = 0, Down = 1, Left = 2, Right = 3 };

inline constexpr int GestureSlot(GestureDir d) { return static_cast<int>(d); }

// The press point counts as recorded when either coordinate is positive; the window keeps
// (-1, -1) while no right press has been seen.
inline bool GestureStartRecorded(Point start) { return start.x > 0 || start.y > 0; }

// Angle of a drag in whole degrees, 0..360, counter-clockwise from the right; dy is positive
// upwards. Both zero is not a direction: the caller checks that first.
int GestureAngle(int64_t dx, int64_t dy);

// 0..45 and 316..360 right, 46..135 up, 136..225 left, 226..315 down.
GestureDir DirectionFromAngle(int degrees);

// Client points of press and release; the dead zone is three double-click widths and heights
// (SM_CXDOUBLECLK, SM_CYDOUBLECLK). No value: the drag stayed inside the dead zone.
std::optional<GestureDir> RecogniseGesture(Point start, Point end, int32_t cxDoubleClick,
                                           int32_t cyDoubleClick);

}  // namespace viz
