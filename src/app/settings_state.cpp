#include "app/settings_state.h"

#include <algorithm>

namespace viz {
namespace {

using W = StoredFlag::Word;

constexpr std::array<StoredFlag, kStoredFlagCount> kFlags = {{
    {Cmd::Color_RGB, W::Color, 1},
    {Cmd::Color_HTML, W::Color, 2},
    {Cmd::Color_COLORREF, W::Color, 4},
    {Cmd::Pos_Screen, W::Pos, 1},
    {Cmd::Pos_Client, W::Pos, 4},
    {Cmd::Pos_User, W::Pos, 8},
    {Cmd::WinInfo_Handle, W::WinInfo, 1},
    {Cmd::WinInfo_ClassName, W::WinInfo, 2},
    {Cmd::WinInfo_Text, W::WinInfo, 4},
    {Cmd::WinInfo_WindowSize, W::WinInfo, 8},
    {Cmd::WinInfo_ClientSize, W::WinInfo, 16},
    {Cmd::WinInfo_Rect, W::WinInfo, 32},
    {Cmd::WinInfo_ExeName, W::WinInfo, 1024},
    {Cmd::Opt_StayOnTop, W::Option, 1},
    {Cmd::Opt_BigFont, W::Option, 8},
    {Cmd::Opt_NoSelfCapture, W::Option, 16},
    {Cmd::Opt_SmoothCapture, W::Option, 32},
}};

constexpr uint16_t kDisplayGrid = 1;
constexpr uint16_t kCaptureFixed = 2;

// Grid colour items by their index in the grid menu (0 is the grid switch, 1 a separator).
constexpr uint8_t kFirstGridColorItem = 2;
constexpr Cmd kGridColorItems[] = {Cmd::Grid_Gray, Cmd::Grid_Invert, Cmd::Grid_Transparent,
                                   Cmd::Grid_SelColor};
// Sub-grid items counted from the first one after their separator.
constexpr Cmd kSubGridItems[] = {Cmd::Grid_SubNone, Cmd::Grid_SubBlue, Cmd::Grid_SelSubColor};

constexpr Cmd kDefaultGridColor = Cmd::Grid_Gray;
constexpr Cmd kDefaultSubGrid = Cmd::Grid_SubBlue;

// A colour value uses 24 bits; one with the top bit set would read back as a negative tag.
constexpr uint32_t kColorLimit = 0x80000000u;

template <size_t N>
int IndexIn(const Cmd (&items)[N], Cmd c) {
  for (size_t i = 0; i < N; ++i)
    if (items[i] == c) return static_cast<int>(i);
  return -1;
}

uint32_t Word(const SettingBlock& b, W w) {
  switch (w) {
    case W::Color: return b.colorFlags;
    case W::Pos: return b.posFlags;
    case W::WinInfo: return b.winInfoFlags;
    case W::Option: return b.optionFlags;
  }
  return 0;
}

// Clamps into [lo, hi]; a degenerate range (hi < lo) yields lo.
int32_t ClampInto(int32_t v, int32_t lo, int64_t hi) {
  if (hi < lo) return lo;
  return static_cast<int32_t>(std::clamp<int64_t>(v, lo, hi));
}

uint32_t DefaultTag(Cmd c) { return static_cast<uint32_t>(Def(c).tag); }

}  // namespace

std::span<const StoredFlag, kStoredFlagCount> StoredFlags() { return kFlags; }

bool SettingsState::Flag(Cmd c) const {
  for (size_t i = 0; i < kFlags.size(); ++i)
    if (kFlags[i].cmd == c) return flags[i];
  return false;
}

void SettingsState::SetFlag(Cmd c, bool on) {
  for (size_t i = 0; i < kFlags.size(); ++i)
    if (kFlags[i].cmd == c) flags[i] = on;
}

SettingsState DefaultSettingsState() {
  const CommandList commands;
  SettingsState s;
  ReadCommandState(commands, s);
  s.zoomIndex = ZoomIndexOf(commands.CheckedInGroup(RadioGroup::Zoom).value_or(Cmd::Zoom_1))
                    .value_or(0);
  return s;
}

SettingsState InterpretSettings(const SettingsFile& file, const Rect& desktop) {
  const SettingBlock& b = file.block;
  SettingsState s;
  s.zoomIndex = std::min<int>(b.zoomIndex, kZoomCount - 1);
  s.gridDisp = (b.displayFlags & kDisplayGrid) != 0;

  s.gridUserColor = b.gridColor < kColorLimit ? b.gridColor : DefaultTag(Cmd::Grid_SelColor);
  s.subGridUserColor =
      b.subGridColor < kColorLimit ? b.subGridColor : DefaultTag(Cmd::Grid_SelSubColor);

  const int gridItem = b.gridColorItem - kFirstGridColorItem;
  s.gridColor = gridItem >= 0 && gridItem < static_cast<int>(std::size(kGridColorItems))
                    ? kGridColorItems[gridItem]
                    : kDefaultGridColor;
  s.subGrid = b.subGridItem < std::size(kSubGridItems) ? kSubGridItems[b.subGridItem]
                                                       : kDefaultSubGrid;

  for (size_t i = 0; i < kFlags.size(); ++i)
    s.flags[i] = (Word(b, kFlags[i].word) & kFlags[i].bit) != 0;

  // The desktop's own rectangle, not 0..width: monitors left of or above the primary one have
  // negative coordinates, and an origin placed there must survive a restart.
  s.userOriginX = ClampInto(b.userOriginX, desktop.left, desktop.right);
  s.userOriginY = ClampInto(b.userOriginY, desktop.top, desktop.bottom);

  s.captureFixed = (b.captureFlags & kCaptureFixed) != 0;
  // The fixed point is a pixel that gets captured: on the desktop, right and bottom exclusive.
  // Far-off values would also overflow the capture arithmetic around the point.
  s.capturePointX = ClampInto(b.capturePointX, desktop.left, int64_t{desktop.right} - 1);
  s.capturePointY = ClampInto(b.capturePointY, desktop.top, int64_t{desktop.bottom} - 1);

  s.windowLeft = b.windowLeft;
  s.windowTop = b.windowTop;
  s.windowRight = b.windowRight;
  s.windowBottom = b.windowBottom;
  s.reserved1 = b.reserved1;
  s.reserved2 = b.reserved2;
  s.keys = file.keys;
  s.gestures = file.gestures;
  return s;
}

SettingsFile CollectSettings(const SettingsState& s) {
  SettingsFile f;
  SettingBlock& b = f.block;
  b.windowLeft = s.windowLeft;
  b.windowTop = s.windowTop;
  b.windowRight = s.windowRight;
  b.windowBottom = s.windowBottom;
  b.zoomIndex = static_cast<uint8_t>(std::clamp(s.zoomIndex, 0, kZoomCount - 1));
  b.displayFlags = s.gridDisp ? kDisplayGrid : 0;

  int gridItem = IndexIn(kGridColorItems, s.gridColor);
  if (gridItem < 0) gridItem = IndexIn(kGridColorItems, kDefaultGridColor);
  b.gridColorItem = static_cast<uint8_t>(kFirstGridColorItem + gridItem);
  int subItem = IndexIn(kSubGridItems, s.subGrid);
  if (subItem < 0) subItem = IndexIn(kSubGridItems, kDefaultSubGrid);
  b.subGridItem = static_cast<uint8_t>(subItem);

  b.gridColor = s.gridUserColor;
  b.subGridColor = s.subGridUserColor;
  b.reserved1 = s.reserved1;

  for (size_t i = 0; i < kFlags.size(); ++i) {
    if (!s.flags[i]) continue;
    switch (kFlags[i].word) {
      case W::Color: b.colorFlags |= static_cast<uint16_t>(kFlags[i].bit); break;
      case W::Pos: b.posFlags |= static_cast<uint16_t>(kFlags[i].bit); break;
      case W::WinInfo: b.winInfoFlags |= kFlags[i].bit; break;
      case W::Option: b.optionFlags |= static_cast<uint16_t>(kFlags[i].bit); break;
    }
  }
  b.userOriginX = s.userOriginX;
  b.userOriginY = s.userOriginY;
  b.reserved2 = s.reserved2;
  b.captureFlags = s.captureFixed ? kCaptureFixed : 0;
  b.capturePointX = s.capturePointX;
  b.capturePointY = s.capturePointY;

  f.keys = s.keys;
  f.gestures = s.gestures;
  return f;
}

void ReadCommandState(const CommandList& commands, SettingsState& s) {
  s.gridDisp = commands.Checked(Cmd::Grid_Disp);
  s.gridColor = commands.CheckedInGroup(RadioGroup::GridColor).value_or(kDefaultGridColor);
  s.subGrid = commands.CheckedInGroup(RadioGroup::SubGrid).value_or(kDefaultSubGrid);
  s.gridUserColor = static_cast<uint32_t>(commands.Tag(Cmd::Grid_SelColor));
  s.subGridUserColor = static_cast<uint32_t>(commands.Tag(Cmd::Grid_SelSubColor));
  for (size_t i = 0; i < kFlags.size(); ++i) s.flags[i] = commands.Checked(kFlags[i].cmd);
  s.captureFixed = commands.Checked(Cmd::Capture_Fixed);
}

void ApplyCommandState(const SettingsState& s, CommandList& commands) {
  commands.SetChecked(Cmd::Grid_Disp, s.gridDisp);
  commands[Cmd::Grid_SelColor].tag = static_cast<int32_t>(s.gridUserColor);
  commands[Cmd::Grid_SelSubColor].tag = static_cast<int32_t>(s.subGridUserColor);
  const Cmd grid = IndexIn(kGridColorItems, s.gridColor) >= 0 ? s.gridColor : kDefaultGridColor;
  const Cmd sub = IndexIn(kSubGridItems, s.subGrid) >= 0 ? s.subGrid : kDefaultSubGrid;
  commands.SetChecked(grid, true);
  commands.SetChecked(sub, true);
  for (size_t i = 0; i < kFlags.size(); ++i) commands.SetChecked(kFlags[i].cmd, s.flags[i]);
  commands.SetChecked(Cmd::Capture_Fixed, s.captureFixed);
}

bool HasUsableWindowSize(const SettingsState& s) {
  const int64_t w = int64_t{s.windowRight} - s.windowLeft;
  const int64_t h = int64_t{s.windowBottom} - s.windowTop;
  return w > 50 && h > 50;
}

}  // namespace viz
