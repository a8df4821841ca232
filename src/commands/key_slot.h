// The binding and gesture blocks as the settings file carries them: one slot per key-table row
// with its key code and the command identifier bound to it, then the four gesture commands.
// Bindings fill and read these arrays directly; the settings file codec stores them as they are.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace viz {

inline constexpr size_t kKeySlotCount = 62;
inline constexpr size_t kGestureSlotCount = 4;

// Key-table row i's key code and the command identifier bound to it (0 = unbound).
struct KeySlot {
  uint16_t key = 0;
  uint16_t id = 0;
  bool operator==(const KeySlot&) const = default;
};

using KeySlots = std::array<KeySlot, kKeySlotCount>;         // slot i = key-table row i
using GestureIds = std::array<uint16_t, kGestureSlotCount>;  // up, down, left, right

}  // namespace viz
