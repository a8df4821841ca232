// What the settings file means: the state saved at exit and applied at start, with every
// stored value clamped or defaulted on the way in.
//
// Loading:  DecodeSettings -> InterpretSettings -> ApplyCommandState + the shell's own fields
//           (zoom, origin, capture point, window bounds, bindings) and handlers.
// Saving:   ReadCommandState + the shell's own fields -> CollectSettings -> EncodeSettings.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "app/settings_codec.h"
#include "base/geometry.h"
#include "commands/command_list.h"
#include "commands/command_table.h"

namespace viz {

// A check-mark command whose state the file keeps as one bit of a flag word. The bits are the
// file's own, not the commands' tags (the client position is 4 in the file, 2 as a tag).
struct StoredFlag {
  enum class Word : uint8_t { Color, Pos, WinInfo, Option };
  Cmd cmd;
  Word word;
  uint32_t bit;
};
inline constexpr size_t kStoredFlagCount = 17;
std::span<const StoredFlag, kStoredFlagCount> StoredFlags();

struct SettingsState {
  int zoomIndex = 0;                 // position in kZoomFactors, 0..kZoomCount-1
  bool gridDisp = false;
  Cmd gridColor = Cmd::Grid_Gray;    // Grid_Gray, Grid_Invert, Grid_Transparent, Grid_SelColor
  Cmd subGrid = Cmd::Grid_SubBlue;   // Grid_SubNone, Grid_SubBlue, Grid_SelSubColor
  uint32_t gridUserColor = 0;        // Tag of Grid_SelColor, below 2^31
  uint32_t subGridUserColor = 0;     // Tag of Grid_SelSubColor, below 2^31
  std::array<bool, kStoredFlagCount> flags{};  // in StoredFlags() order
  int32_t userOriginX = 0;
  int32_t userOriginY = 0;
  bool captureFixed = false;
  // Saved whether or not fixed capture is on; to be applied only when it is.
  int32_t capturePointX = 0;
  int32_t capturePointY = 0;
  // Window bounds as stored (bottom without the information panel); see HasUsableWindowSize.
  int32_t windowLeft = 0;
  int32_t windowTop = 0;
  int32_t windowRight = 0;
  int32_t windowBottom = 0;
  // Bytes the program does not use; written back as they were read.
  std::array<uint8_t, 4> reserved1{};
  std::array<uint8_t, 4> reserved2{};
  std::array<KeySlot, kKeySlotCount> keys{};
  std::array<uint16_t, kGestureSlotCount> gestures{};

  bool Flag(Cmd c) const;  // false for a command that is not a stored flag
  void SetFlag(Cmd c, bool on);

  bool operator==(const SettingsState&) const = default;
};

// The state of a fresh command list (the built-in defaults); bounds, origin, capture point,
// key slots and gestures are zero.
SettingsState DefaultSettingsState();

// Turns a decoded file into values that are safe to apply: zoom index clamped into the zoom
// list, unknown grid or sub-grid items and colours of 2^31 or more replaced by the defaults,
// the user origin clamped into `desktop` (edges included) and the capture point onto its pixels.
SettingsState InterpretSettings(const SettingsFile& file, const Rect& desktop);

// The file image of a state; an invalid grid or sub-grid command is stored as the default.
SettingsFile CollectSettings(const SettingsState& state);

// Copies the command-held part of the state out of the commands: grid shown, grid and sub-grid
// radio choices, the two user colours, the stored flags and fixed capture. Zoom index, origin,
// capture point, window bounds, reserved bytes, key slots and gestures are left as they are.
void ReadCommandState(const CommandList& commands, SettingsState& state);

// The reverse: sets those checks and tags in `commands`. Handlers are not run; the caller runs
// zoom, grid, stay-on-top, big-font, self-capture and smooth-capture handling itself.
void ApplyCommandState(const SettingsState& state, CommandList& commands);

// The stored bounds are used for the window size only when both sides exceed 50 pixels.
bool HasUsableWindowSize(const SettingsState& state);

}  // namespace viz
