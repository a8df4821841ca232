// The check boxes of the settings page: which command each mirrors, how they are grouped, and
// where they go. Pure data and arithmetic; the window measures the texts and draws the result.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "base/geometry.h"
#include "commands/command_table.h"

namespace viz {

enum class SettingGroup { Color, Pos, Capture, WinInfo, Opt };
inline constexpr int kSettingGroupCount = 5;

struct SettingGroupDef {
  SettingGroup group;
  const char* name;         // component name, e.g. "grpColor"
  Text caption;             // the category of the group's commands
  int column;               // 0 left, 1 right
};

struct SettingItemDef {
  Cmd cmd;
  const char* name;  // component name, e.g. "chkColor_RGB"
  SettingGroup group;
};

// Groups in layout order, column by column; items grouped the same way, in Tab order.
const std::array<SettingGroupDef, kSettingGroupCount>& SettingGroups();
const std::vector<SettingItemDef>& SettingItems();
const SettingGroupDef& GroupDef(SettingGroup g);

// ---- layout ----------------------------------------------------------------------------------

// Pixel sizes measured from the window's font; every value is at least 0.
struct SettingMetrics {
  int checkWidth = 0;   // the box and the gap before its text
  int rowHeight = 0;    // one check box line
  int groupHead = 0;    // group frame top to the first line (the caption sits on the frame)
  int groupFoot = 0;    // last line to the frame bottom
  int groupPadX = 0;    // frame side to the box, and text end to the far side
  int groupGap = 0;     // between two groups of a column
  int columnGap = 0;    // between the columns
  int margin = 0;       // page edge to the groups
};

struct SettingLayout {
  std::array<Rect, kSettingGroupCount> groups{};  // by SettingGroup; empty: not shown
  std::vector<Rect> items;                        // by SettingItems() index; empty: hidden
  int width = 0, height = 0;                            // the page, margins included
};

// Visible items are stacked inside their group, hidden ones leave no gap; a group with no
// visible item is left out. `textWidths` and `visible` are indexed like SettingItems();
// `captionWidths` like SettingGroups(). A column is as wide as its widest text.
SettingLayout LayoutSettingPage(const SettingMetrics& m, const std::vector<int>& textWidths,
                                const std::vector<bool>& visible,
                                const std::array<int, kSettingGroupCount>& captionWidths);

}  // namespace viz
