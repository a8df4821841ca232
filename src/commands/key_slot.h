// The binding and gesture blocks as the settings file carries them. The slot record itself
// belongs to the file codec; bindings fill and read these arrays directly, so the codec's
// `SettingsFile::keys` and `SettingsFile::gestures` can be handed to them as they are.
#pragma once

#include <array>
#include <cstdint>

#include "app/settings_codec.h"

namespace viz {

using KeySlots = std::array<KeySlot, kKeySlotCount>;         // slot i = key-table row i
using GestureIds = std::array<uint16_t, kGestureSlotCount>;  // up, down, left, right

}  // namespace viz
