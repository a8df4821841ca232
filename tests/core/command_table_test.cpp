#include "commands/command_list.h"
#include "commands/command_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace viz;

TEST(CommandTable, RowsAreInEnumOrderWithUniqueIdentifiersAndNames) {
  std::set<int> ids;
  std::set<std::string> names;
  ASSERT_EQ(static_cast<int>(CommandTable().size()), kCommandCount);
  for (int i = 0; i < kCommandCount; ++i) {
    const CommandDef& d = CommandTable()[i];
    EXPECT_EQ(static_cast<int>(d.cmd), i) << d.name;
    EXPECT_TRUE(names.insert(d.name).second) << d.name;
    if (d.cmd != Cmd::Spc) EXPECT_TRUE(ids.insert(d.id).second) << d.name;
  }
}

TEST(CommandTable, IdentifierMappingIsTwoWay) {
  for (const CommandDef& d : CommandTable()) {
    if (d.cmd == Cmd::Spc) {
      EXPECT_EQ(IdFromCommand(d.cmd), 0);
      continue;
    }
    ASSERT_TRUE(CommandFromId(d.id).has_value()) << d.name;
    EXPECT_EQ(*CommandFromId(d.id), d.cmd);
  }
  EXPECT_FALSE(CommandFromId(0));
  EXPECT_FALSE(CommandFromId(1005));
  EXPECT_FALSE(CommandFromId(-1));
  EXPECT_EQ(IdFromCommand(Cmd::Zoom_20), 1020);
  EXPECT_EQ(IdFromCommand(Cmd::WinInfo_ExeName), 5023);
}

TEST(CommandTable, ZoomListFollowsMenuOrder) {
  for (int i = 0; i < kZoomCount; ++i) {
    EXPECT_EQ(Def(ZoomCommandAt(i)).tag, kZoomFactors[i]);
    EXPECT_EQ(Def(ZoomCommandAt(i)).id, 1000 + kZoomFactors[i]);
    EXPECT_EQ(*ZoomIndexOf(ZoomCommandAt(i)), i);
  }
  EXPECT_EQ(ZoomCommandAt(200), Cmd::Zoom_20);
  EXPECT_EQ(ZoomCommandAt(-3), Cmd::Zoom_1);
  EXPECT_FALSE(ZoomIndexOf(Cmd::Zoom_Up));
}

TEST(CommandTable, DefaultShortcutListsHoldFourVariantsExceptUpdate) {
  EXPECT_EQ(DefaultShortcuts(Cmd::Zoom_Up),
            (std::vector<uint16_t>{0x21, 0x2021, 0x4021, 0x6021}));
  EXPECT_EQ(DefaultShortcuts(Cmd::Capture_Update), (std::vector<uint16_t>{0x74}));
  EXPECT_TRUE(DefaultShortcuts(Cmd::Custom_Setting).empty());
  EXPECT_EQ(Def(Cmd::Custom_Setting).primaryShortcut, 0x8079);
  EXPECT_EQ(Def(Cmd::File_Exit).primaryShortcut, 0x8073);
}

TEST(CommandTable, CaptionWithoutAccessKey) {
  EXPECT_EQ(CaptionWithoutAccel(L"一時停止(&P)"), L"一時停止");
  EXPECT_EQ(CaptionWithoutAccel(L"自身をキャプチャしない(&N)"), L"自身をキャプチャしない");
  EXPECT_EQ(CaptionWithoutAccel(L"グリッド色選択(&U)..."), L"グリッド色選択");
  EXPECT_EQ(CaptionWithoutAccel(L"&Settings..."), L"Settings");
  EXPECT_EQ(CaptionWithoutAccel(L"ズームアップ"), L"ズームアップ");
  EXPECT_EQ(CaptionWithoutAccel(L"A&&B"), L"A&B");
}

TEST(CommandList, InitialStatesAndRadioGroups) {
  CommandList cl;
  EXPECT_TRUE(cl.Checked(Cmd::Zoom_6));
  EXPECT_EQ(*cl.CheckedInGroup(RadioGroup::GridColor), Cmd::Grid_Gray);
  EXPECT_EQ(*cl.CheckedInGroup(RadioGroup::SubGrid), Cmd::Grid_SubBlue);
  EXPECT_FALSE(cl.Enabled(Cmd::Capture_Update));
  EXPECT_FALSE(cl.Visible(Cmd::File_Minimize));
  cl.SetChecked(Cmd::Zoom_20, true);
  EXPECT_FALSE(cl.Checked(Cmd::Zoom_6));
  EXPECT_EQ(*cl.CheckedInGroup(RadioGroup::Zoom), Cmd::Zoom_20);
  // A check-mark command outside any group leaves the others alone.
  cl.SetChecked(Cmd::Color_COLORREF, true);
  EXPECT_TRUE(cl.Checked(Cmd::Color_RGB));
}

#include "commands/menu_table.h"

TEST(MenuTable, GridSubmenuHasTheItemOrderTheSettingsFileIndexes) {
  const MenuNode* grid = FindMenu("mniGrid");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(IndexInMenu(*grid, "mniGrid_Disp"), 0);
  EXPECT_EQ(IndexInMenu(*grid, "mniGrid_LineGrid"), 1);
  EXPECT_EQ(IndexInMenu(*grid, "mniGrid_Gray"), 2);
  EXPECT_EQ(IndexInMenu(*grid, "mniGrid_Invert"), 3);
  EXPECT_EQ(IndexInMenu(*grid, "mniGrid_Transparent"), 4);
  EXPECT_EQ(IndexInMenu(*grid, "mniGrid_SelColor"), 5);
  EXPECT_EQ(IndexInMenu(*grid, "mniGrid_LineSubGrid"), 6);
  EXPECT_EQ(IndexInMenu(*grid, "mniGrid_SubNone"), 7);
  EXPECT_EQ(IndexInMenu(*grid, "mniGrid_SelSubColor"), 9);
}

TEST(MenuTable, ZoomSubmenuHoldsExactlyTheTenZoomsInOrder) {
  const MenuNode* zoom = FindMenu("mniZoom");
  ASSERT_NE(zoom, nullptr);
  ASSERT_EQ(zoom->children.size(), 10u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(*zoom->children[i].cmd, ZoomCommandAt(i));
}

TEST(MenuTable, EveryCommandWithAnOperationIsReachable) {
  std::set<Cmd> seen;
  std::function<void(const MenuNode&)> walk = [&](const MenuNode& n) {
    if (n.cmd) seen.insert(*n.cmd);
    for (const auto& c : n.children) walk(c);
  };
  walk(MainMenu());
  for (const CommandDef& d : CommandTable()) {
    // The separator, the menu opener itself and the key-held 1:1 view have no menu entry.
    if (d.cmd == Cmd::Spc || d.cmd == Cmd::Menu_Main || d.cmd == Cmd::Capture_Disp_x1) continue;
    EXPECT_TRUE(seen.count(d.cmd)) << d.name;
  }
}
