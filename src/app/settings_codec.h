// The settings file beside the executable: a 22-byte header and three blocks, 343 bytes in all,
// little-endian, no padding.
//
//   0   header: "QORB", 1, 1, then 16 bytes (zero on write, ignored on read)
//   22  SettingBlock (65 bytes)
//   87  62 key slots of (u16 key code, u16 command identifier)
//   335 4 gesture command identifiers (u16: up, down, left, right)
//
// Decoding is byte work only; what the values mean, and how out-of-range values are clamped,
// is settings_state.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "commands/key_slot.h"

namespace viz {

inline constexpr size_t kSettingsHeaderSize = 22;
inline constexpr size_t kSettingBlockSize = 65;
inline constexpr size_t kSettingsFileSize =
    kSettingsHeaderSize + kSettingBlockSize + kKeySlotCount * 4 + kGestureSlotCount * 2;
static_assert(kSettingsFileSize == 343);

// Offsets in the file.
inline constexpr size_t kSettingBlockOffset = kSettingsHeaderSize;
inline constexpr size_t kKeySlotsOffset = kSettingBlockOffset + kSettingBlockSize;    // 87
inline constexpr size_t kGesturesOffset = kKeySlotsOffset + kKeySlotCount * 4;        // 335

// General settings; the comment gives each field's offset inside the block.
struct SettingBlock {
  int32_t windowLeft = 0;      // 0   window bounds, bottom without the information panel
  int32_t windowTop = 0;       // 4
  int32_t windowRight = 0;     // 8
  int32_t windowBottom = 0;    // 12
  uint8_t zoomIndex = 0;       // 16  position in the zoom list
  uint16_t displayFlags = 0;   // 17  1 = grid shown
  uint8_t gridColorItem = 0;   // 19  grid menu item: 2 gray, 3 invert, 4 transparent, 5 chosen
  uint8_t subGridItem = 0;     // 20  0 none, 1 blue, 2 chosen
  uint32_t gridColor = 0;      // 21  user-chosen grid colour, 0x00BBGGRR
  uint32_t subGridColor = 0;   // 25  user-chosen sub-grid colour
  std::array<uint8_t, 4> reserved1{};  // 29  kept as read, written back unchanged
  uint16_t colorFlags = 0;     // 33  RGB 1, HTML 2, COLORREF 4
  uint16_t posFlags = 0;       // 35  screen 1, client 4, distance 8
  int32_t userOriginX = 0;     // 37
  int32_t userOriginY = 0;     // 41
  uint32_t winInfoFlags = 0;   // 45  handle 1, class 2, text 4, window size 8, client size 16,
                               //     rect 32, program file 1024
  std::array<uint8_t, 4> reserved2{};  // 49  kept as read
  uint16_t optionFlags = 0;    // 53  stay on top 1, big font 8, no self-capture 16, smooth 32
  uint16_t captureFlags = 0;   // 55  2 = fixed-point capture
  int32_t capturePointX = 0;   // 57
  int32_t capturePointY = 0;   // 61

  bool operator==(const SettingBlock&) const = default;
};

struct SettingsFile {
  SettingBlock block;
  KeySlots keys{};
  GestureIds gestures{};
  bool operator==(const SettingsFile&) const = default;
};

// Empty when the data is shorter than a settings file or its header is not ours. Bytes past the
// file size are ignored.
std::optional<SettingsFile> DecodeSettings(std::span<const uint8_t> data);

std::array<uint8_t, kSettingsFileSize> EncodeSettings(const SettingsFile& file);

}  // namespace viz
