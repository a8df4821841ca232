// Invariants of a settings file taken through decode and interpretation, shared by the fuzz
// target and the randomised unit test. Returns an empty string when all hold, else the first
// violation.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "app/settings_codec.h"
#include "app/settings_state.h"

namespace viz::testing {

// Desktop derived from 16 bytes past the file when present, else a two-monitor layout with a
// monitor left of the primary one.
inline Rect DesktopFor(std::span<const uint8_t> data) {
  if (data.size() < kSettingsFileSize + 16) return {-1920, -120, 1920, 1080};
  auto i32 = [&](size_t at) {
    uint32_t v = 0;
    for (size_t k = 0; k < 4; ++k) v |= uint32_t{data[kSettingsFileSize + at + k]} << (8 * k);
    return static_cast<int32_t>(v);
  };
  return {i32(0), i32(4), i32(8), i32(12)};
}

inline std::string CheckSettingsInput(std::span<const uint8_t> data) {
  const std::optional<SettingsFile> file = DecodeSettings(data);
  if (!file) {
    if (data.size() >= kSettingsFileSize && data[0] == 'Q' && data[1] == 'O' && data[2] == 'R' &&
        data[3] == 'B' && data[4] == 1 && data[5] == 1)
      return "a well-formed file was rejected";
    return {};
  }
  const auto bytes = EncodeSettings(*file);
  const std::optional<SettingsFile> again = DecodeSettings(bytes);
  if (!again || !(*again == *file)) return "encode/decode does not round-trip";
  for (size_t k = 6; k < kSettingsHeaderSize; ++k)
    if (bytes[k] != 0) return "header padding not zero";
  for (size_t k = kSettingsHeaderSize; k < kSettingsFileSize; ++k)
    if (bytes[k] != data[k]) return "encoding changed a block byte";

  const Rect desktop = DesktopFor(data);
  const SettingsState s = InterpretSettings(*file, desktop);
  if (s.zoomIndex < 0 || s.zoomIndex >= kZoomCount) return "zoom index out of range";
  if (s.gridColor != Cmd::Grid_Gray && s.gridColor != Cmd::Grid_Invert &&
      s.gridColor != Cmd::Grid_Transparent && s.gridColor != Cmd::Grid_SelColor)
    return "grid colour is not a grid colour command";
  if (s.subGrid != Cmd::Grid_SubNone && s.subGrid != Cmd::Grid_SubBlue &&
      s.subGrid != Cmd::Grid_SelSubColor)
    return "sub-grid is not a sub-grid command";
  if (s.gridUserColor >= 0x80000000u || s.subGridUserColor >= 0x80000000u)
    return "user colour out of range";
  if (desktop.left <= desktop.right &&
      (s.userOriginX < desktop.left || s.userOriginX > desktop.right))
    return "origin x outside the desktop";
  if (desktop.top <= desktop.bottom &&
      (s.userOriginY < desktop.top || s.userOriginY > desktop.bottom))
    return "origin y outside the desktop";
  if (desktop.left > desktop.right && s.userOriginX != desktop.left)
    return "origin x not pinned on an empty desktop";

  if (desktop.left < desktop.right &&
      (s.capturePointX < desktop.left || s.capturePointX >= desktop.right))
    return "capture point x off the desktop";
  if (desktop.top < desktop.bottom &&
      (s.capturePointY < desktop.top || s.capturePointY >= desktop.bottom))
    return "capture point y off the desktop";

  // A state that is already in range survives saving and loading unchanged.
  const SettingsState reloaded = InterpretSettings(CollectSettings(s), desktop);
  if (!(reloaded == s)) return "collect/interpret is not stable";
  return {};
}

}  // namespace viz::testing
