// The settings window's parts that need no main window: its check-box table, the page layout,
// and the file version read from a version resource.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "commands/command_table.h"
#include "settings_ui/file_version_win.h"
#include "settings_ui/setting_items.h"
#include "test_windows.h"

namespace viz {
namespace {

// ---- the table ------------------------------------------------------------------------------

TEST(SettingItems, MirrorEachDisplayOptionAndCaptureCommandOnceInItsOwnCategory) {
  const auto& items = SettingItems();
  std::set<Cmd> cmds;
  std::set<int16_t> ids;
  for (const auto& item : items) {
    const CommandDef& def = Def(item.cmd);
    EXPECT_TRUE(cmds.insert(item.cmd).second) << item.name;
    EXPECT_NE(def.id, 0) << item.name;
    EXPECT_TRUE(ids.insert(def.id).second) << item.name;  // the control IDs
    // "chkColor_RGB" mirrors "actColor_RGB".
    EXPECT_EQ(std::string(item.name).substr(3), std::string(def.name).substr(3));
    EXPECT_EQ(def.category, GroupDef(item.group).caption) << item.name;
    // A check box can only mirror a command that has a check.
    EXPECT_TRUE(def.autoCheck || item.cmd == Cmd::Opt_StayOnTop || item.cmd == Cmd::Capture_Pause ||
                item.cmd == Cmd::Capture_Fixed)
        << item.name;
  }
  // The layout indexes groups by their enum value.
  for (size_t g = 0; g < SettingGroups().size(); ++g)
    EXPECT_EQ(static_cast<size_t>(SettingGroups()[g].group), g);
  // 13 display flags, 4 options, 2 capture modes.
  EXPECT_EQ(items.size(), 19u);
  for (Cmd c : {Cmd::Color_RGB, Cmd::WinInfo_ExeName, Cmd::Opt_NoSelfCapture, Cmd::Capture_Fixed})
    EXPECT_TRUE(cmds.count(c));
  // The group-wide switches and menu-only commands have no box.
  for (Cmd c : {Cmd::Color_InfoOnOff, Cmd::Grid_Disp, Cmd::Custom_Setting, Cmd::Capture_Update})
    EXPECT_FALSE(cmds.count(c));
}

// ---- layout ---------------------------------------------------------------------------------

SettingMetrics TestMetrics() {
  SettingMetrics m;
  m.checkWidth = 20;
  m.rowHeight = 18;
  m.groupHead = 16;
  m.groupFoot = 6;
  m.groupPadX = 10;
  m.groupGap = 5;
  m.columnGap = 8;
  m.margin = 9;
  return m;
}

std::array<int, kSettingGroupCount> Captions(int w) {
  std::array<int, kSettingGroupCount> a{};
  a.fill(w);
  return a;
}

bool Inside(const Rect& inner, const Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

size_t IndexOf(Cmd c) {
  const auto& items = SettingItems();
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].cmd == c) return i;
  return items.size();
}

TEST(SettingLayout, StacksBoxesInsideTheirGroupsWithoutOverlapAndWithinThePage) {
  const size_t n = SettingItems().size();
  std::vector<int> widths(n, 60);
  widths[IndexOf(Cmd::WinInfo_ClientSize)] = 140;  // the widest text sets its column
  const SettingLayout lay =
      LayoutSettingPage(TestMetrics(), widths, std::vector<bool>(n, true), Captions(50));
  ASSERT_EQ(lay.items.size(), n);
  const Rect page{0, 0, lay.width, lay.height};
  for (size_t i = 0; i < n; ++i) {
    const Rect& r = lay.items[i];
    const size_t g = static_cast<size_t>(SettingItems()[i].group);
    EXPECT_EQ(r.width(), 20 + widths[i]) << i;
    EXPECT_TRUE(Inside(r, lay.groups[g])) << i;
    for (size_t j = i + 1; j < n; ++j) EXPECT_FALSE(Overlap(r, lay.items[j])) << i << " " << j;
  }
  for (size_t g = 0; g < lay.groups.size(); ++g) {
    EXPECT_TRUE(Inside(lay.groups[g], page)) << g;
    for (size_t h = g + 1; h < lay.groups.size(); ++h)
      EXPECT_FALSE(Overlap(lay.groups[g], lay.groups[h])) << g << " " << h;
  }
  const auto& win = lay.groups[static_cast<size_t>(SettingGroup::WinInfo)];
  EXPECT_EQ(win.width(), 20 + 140 + 2 * 10);
  // Both columns end on one line, a margin above the page's bottom.
  const auto& opt = lay.groups[static_cast<size_t>(SettingGroup::Opt)];
  const auto& cap = lay.groups[static_cast<size_t>(SettingGroup::Capture)];
  EXPECT_EQ(opt.bottom, cap.bottom);
  EXPECT_EQ(lay.height, opt.bottom + 9);
}

TEST(SettingLayout, HiddenBoxesLeaveNoGapAndAnEmptyGroupIsLeftOut) {
  const size_t n = SettingItems().size();
  std::vector<bool> visible(n, true);
  const std::vector<int> widths(n, 60);
  const SettingLayout all = LayoutSettingPage(TestMetrics(), widths, visible, Captions(40));

  const size_t noSelf = IndexOf(Cmd::Opt_NoSelfCapture), smooth = IndexOf(Cmd::Opt_SmoothCapture);
  visible[noSelf] = false;
  const SettingLayout less = LayoutSettingPage(TestMetrics(), widths, visible, Captions(40));
  EXPECT_EQ(less.items[noSelf].width(), 0);
  EXPECT_EQ(less.items[smooth].top, all.items[noSelf].top);  // moved up into the gap

  for (size_t i = 0; i < n; ++i)
    if (SettingItems()[i].group == SettingGroup::Capture) visible[i] = false;
  const SettingLayout noCapture = LayoutSettingPage(TestMetrics(), widths, visible, Captions(40));
  EXPECT_EQ(noCapture.groups[static_cast<size_t>(SettingGroup::Capture)].height(), 0);
  EXPECT_GT(noCapture.groups[static_cast<size_t>(SettingGroup::Pos)].height(), 0);
}

TEST(SettingLayout, AGroupCaptionWiderThanItsBoxesWidensTheColumn) {
  const size_t n = SettingItems().size();
  auto captions = Captions(10);
  captions[static_cast<size_t>(SettingGroup::Color)] = 300;
  const SettingLayout lay = LayoutSettingPage(TestMetrics(), std::vector<int>(n, 30),
                                              std::vector<bool>(n, true), captions);
  EXPECT_GE(lay.groups[static_cast<size_t>(SettingGroup::Pos)].width(), 300);
  EXPECT_GE(lay.groups[static_cast<size_t>(SettingGroup::WinInfo)].left, 9 + 300);
}

// ---- file version ---------------------------------------------------------------------------

TEST(FileVersion, ReadsTheRunningProgramsResourceAndReleasesTheLibrary) {
  const bool loadedBefore = GetModuleHandleW(L"version.dll") != nullptr;
  const std::wstring self = OwnModulePath();
  ASSERT_FALSE(self.empty());
  EXPECT_NE(GetFileAttributesW(self.c_str()), INVALID_FILE_ATTRIBUTES);
  // This test program carries the product's version resource.
  EXPECT_EQ(ReadFileVersion(self), L"1.0.0.0");
  EXPECT_EQ(VersionCaption(ReadFileVersion(self)), test::Lang(L"バージョン 1.0.0.0", L"Version 1.0.0.0"));
  if (!loadedBefore) EXPECT_EQ(GetModuleHandleW(L"version.dll"), nullptr);
}

TEST(FileVersion, AFileWithoutAVersionOrNoFileGivesNone) {
  wchar_t dir[MAX_PATH], path[MAX_PATH];
  ASSERT_TRUE(GetTempPathW(MAX_PATH, dir));
  ASSERT_TRUE(GetTempFileNameW(dir, L"viz", 0, path));
  HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, "MZ not really", 13, &written, nullptr);
  CloseHandle(f);
  EXPECT_EQ(ReadFileVersion(path), L"");
  DeleteFileW(path);
  EXPECT_EQ(ReadFileVersion(path), L"");
  EXPECT_EQ(ReadFileVersion(L""), L"");
  EXPECT_EQ(VersionCaption(L""), test::Lang(L"バージョン 不明", L"Version unknown"));
}

}  // namespace
}  // namespace viz
