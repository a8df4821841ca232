#include "settings_ui/setting_items.h"

#include <algorithm>

namespace viz {
namespace {

using G = SettingGroup;

const std::array<SettingGroupDef, kSettingGroupCount> kGroups = {{
    {G::Color, "grpColor", Text::Category_Color, 0},
    {G::Pos, "grpPos", Text::Category_Pos, 0},
    {G::Capture, "grpCapture", Text::Category_Capture, 0},
    {G::WinInfo, "grpWinInfo", Text::Category_WinInfo, 1},
    {G::Opt, "grpOpt", Text::Category_Opt, 1},
}};

// Down the left column, then down the right one: the Tab key follows this order.
#define CHK(c, g) {Cmd::c, "chk" #c, G::g}
const std::vector<SettingItemDef> kItems = {
    CHK(Color_RGB, Color),          CHK(Color_HTML, Color),
    CHK(Color_COLORREF, Color),     CHK(Pos_Screen, Pos),
    CHK(Pos_Client, Pos),           CHK(Pos_User, Pos),
    CHK(Capture_Pause, Capture),    CHK(Capture_Fixed, Capture),
    CHK(WinInfo_Handle, WinInfo),   CHK(WinInfo_ClassName, WinInfo),
    CHK(WinInfo_Text, WinInfo),     CHK(WinInfo_WindowSize, WinInfo),
    CHK(WinInfo_ClientSize, WinInfo), CHK(WinInfo_Rect, WinInfo),
    CHK(WinInfo_ExeName, WinInfo),  CHK(Opt_StayOnTop, Opt),
    CHK(Opt_BigFont, Opt),          CHK(Opt_NoSelfCapture, Opt),
    CHK(Opt_SmoothCapture, Opt),
};
#undef CHK

}  // namespace

const std::array<SettingGroupDef, kSettingGroupCount>& SettingGroups() { return kGroups; }
const std::vector<SettingItemDef>& SettingItems() { return kItems; }

const SettingGroupDef& GroupDef(SettingGroup g) {
  for (const auto& d : kGroups)
    if (d.group == g) return d;
  return kGroups[0];
}

SettingLayout LayoutSettingPage(const SettingMetrics& m, const std::vector<int>& textWidths,
                                const std::vector<bool>& visible,
                                const std::array<int, kSettingGroupCount>& captionWidths) {
  SettingLayout out;
  out.items.resize(kItems.size());
  auto shown = [&](size_t i) { return i < visible.size() && visible[i]; };
  auto textWidth = [&](size_t i) { return i < textWidths.size() ? std::max(0, textWidths[i]) : 0; };

  // Column widths: the widest line of any group in the column, or a group caption.
  int colWidth[2] = {0, 0};
  for (size_t gi = 0; gi < kGroups.size(); ++gi) {
    const int c = kGroups[gi].column;
    // The caption sits on the frame, a padding in from its left end.
    colWidth[c] = std::max(colWidth[c], std::max(0, captionWidths[gi]) + 2 * m.groupPadX);
    for (size_t i = 0; i < kItems.size(); ++i)
      if (kItems[i].group == kGroups[gi].group && shown(i))
        colWidth[c] = std::max(colWidth[c], m.checkWidth + textWidth(i) + 2 * m.groupPadX);
  }

  const int colX[2] = {m.margin, m.margin + colWidth[0] + m.columnGap};
  int colY[2] = {m.margin, m.margin};
  for (size_t gi = 0; gi < kGroups.size(); ++gi) {
    const int c = kGroups[gi].column;
    int y = colY[c] + m.groupHead;
    int rows = 0;
    for (size_t i = 0; i < kItems.size(); ++i) {
      if (kItems[i].group != kGroups[gi].group || !shown(i)) continue;
      out.items[i] = Rect::OfSize(colX[c] + m.groupPadX, y, m.checkWidth + textWidth(i), m.rowHeight);
      y += m.rowHeight;
      ++rows;
    }
    if (rows == 0) continue;
    const int h = m.groupHead + rows * m.rowHeight + m.groupFoot;
    out.groups[gi] = Rect::OfSize(colX[c], colY[c], colWidth[c], h);
    colY[c] += h + m.groupGap;
  }
  // Columns end alike: the shorter one's last group is stretched to the longer one.
  const int bottom = std::max(colY[0], colY[1]) - m.groupGap;
  for (int c = 0; c < 2; ++c) {
    for (size_t gi = kGroups.size(); gi-- > 0;) {
      if (kGroups[gi].column != c || out.groups[gi].empty()) continue;
      out.groups[gi].bottom = bottom;
      break;
    }
  }
  out.width = colX[1] + colWidth[1] + m.margin;
  out.height = std::max(bottom, m.margin) + m.margin;
  return out;
}

}  // namespace viz
