#include "commands/bindings.h"
#include "commands/key_dispatch.h"
#include "commands/key_table.h"

#include <gtest/gtest.h>

using namespace viz;

namespace {

BindingSet BuiltDefaults() {
  CommandList commands;
  BindingSet b;
  b.Build(commands);
  return b;
}

uint16_t Id(Cmd c) { return static_cast<uint16_t>(IdFromCommand(c)); }

}  // namespace

TEST(Bindings, BuildTakesOneBindingPerKeyInActionOrderAndEmptiesTheLists) {
  CommandList commands;
  BindingSet b;
  b.Build(commands);
  const std::vector<T_ShortCutAction> expected = {
      {0x21, Cmd::Zoom_Up},         {0x22, Cmd::Zoom_Down},        {'U', Cmd::Grid_SelColor},
      {'I', Cmd::Grid_SelSubColor}, {0x20, Cmd::Pos_UserPosSet},   {'Z', Cmd::Copy_Picture},
      {'H', Cmd::Copy_ColorHTML},   {'C', Cmd::Copy_ColorCOLORREF}, {0x71, Cmd::Copy_All},
      {0x1B, Cmd::Capture_Pause},   {'F', Cmd::Capture_Fixed},     {0x74, Cmd::Capture_Update},
      {'1', Cmd::Capture_Disp_x1},  {'S', Cmd::Opt_SmoothCapture}, {'M', Cmd::Menu_Main},
      {0x26, Cmd::Move_Up},         {0x28, Cmd::Move_Down},        {0x25, Cmd::Move_Left},
      {0x27, Cmd::Move_Right},      {'Q', Cmd::Move_Monitor},      {0x70, Cmd::Help},
  };
  EXPECT_EQ(b.Defaults(), expected);
  EXPECT_EQ(b.Current(), expected);
  for (const CommandDef& d : CommandTable()) EXPECT_TRUE(commands[d.cmd].secondaryShortcuts.empty());
  EXPECT_EQ(b.DefaultGestures(), kDefaultGestures);
  EXPECT_EQ(b.Gesture(GestureDir::Up), Cmd::Opt_StayOnTop);
  EXPECT_EQ(b.Gesture(GestureDir::Down), Cmd::Custom_Setting);
  EXPECT_EQ(b.Gesture(GestureDir::Left), Cmd::Grid_Disp);
  EXPECT_EQ(b.Gesture(GestureDir::Right), Cmd::Capture_Pause);

  // Building again (or from lists already emptied) does not pile up bindings.
  CommandList again;
  b.Build(again);
  EXPECT_EQ(b.Current().size(), expected.size());
}

TEST(Bindings, BuildComparesEachKeyWithThePreviousEntryOnly) {
  CommandList commands;
  for (const CommandDef& d : CommandTable()) commands[d.cmd].secondaryShortcuts.clear();
  commands[Cmd::Help].secondaryShortcuts = {'A', 'A' | kShortcutShift, 'B', 'A' | kShortcutCtrl,
                                            kShortcutShift};
  BindingSet b;
  b.Build(commands);
  const std::vector<T_ShortCutAction> expected = {
      {'A', Cmd::Help}, {'B', Cmd::Help}, {'A', Cmd::Help}};
  EXPECT_EQ(b.Current(), expected);  // the modifier-only entry binds no key 0
}

TEST(Bindings, LookupIgnoresModifiersAndTakesTheFirstMatch) {
  BindingSet b = BuiltDefaults();
  EXPECT_EQ(b.Lookup(0x21), Cmd::Zoom_Up);
  EXPECT_FALSE(b.Lookup(0x2021));  // callers pass the bare key
  EXPECT_FALSE(b.Lookup('X'));

  KeySlots slots{};
  slots[0] = {'A', Id(Cmd::Help)};  // damaged file: two slots name key A
  slots[11] = {'A', Id(Cmd::Zoom_Up)};
  b.LoadFrom(slots, {});
  EXPECT_EQ(b.Lookup('A'), Cmd::Help);

  // At save both find row 11; the later identifier stays.
  KeySlots saved{};
  GestureIds gestures{};
  b.SaveTo(saved, gestures);
  EXPECT_EQ(saved[0], (KeySlot{0x30, 0}));
  EXPECT_EQ(saved[11], (KeySlot{'A', Id(Cmd::Zoom_Up)}));
}

TEST(Bindings, SaveWalksSlotsWritingRowKeysUntilTheMatch) {
  BindingSet b = BuiltDefaults();
  b.ClearCurrent();
  b.Bind(0x0D, Cmd::Copy_All);  // Enter, row 49
  KeySlots slots;
  slots.fill({0xFFFF, 0xFFFF});
  GestureIds gestures{};
  b.SaveTo(slots, gestures);
  for (int i = 0; i < 49; ++i) EXPECT_EQ(slots[i], (KeySlot{KeyTable()[i].key, 0})) << i;
  EXPECT_EQ(slots[49], (KeySlot{0x0D, Id(Cmd::Copy_All)}));
  for (size_t i = 50; i < kKeySlotCount; ++i) EXPECT_EQ(slots[i], (KeySlot{})) << i;
  EXPECT_EQ(gestures, (GestureIds{8001, 9001, 2010, 7011}));

  BindingSet loaded = BuiltDefaults();
  loaded.LoadFrom(slots, gestures);
  EXPECT_EQ(loaded.Current(), (std::vector<T_ShortCutAction>{{0x0D, Cmd::Copy_All}}));
  EXPECT_EQ(loaded.CurrentGestures(), kDefaultGestures);

  // A key in no row fills every slot's key and stores nothing.
  b.ClearCurrent();
  b.Bind(0x5B, Cmd::Help);
  b.SaveTo(slots, gestures);
  for (size_t i = 0; i < kKeySlotCount; ++i) EXPECT_EQ(slots[i], (KeySlot{KeyTable()[i].key, 0}));
}

TEST(Bindings, DefaultsSurviveSaveAndLoadInSlotOrder) {
  BindingSet b = BuiltDefaults();
  b.SetGesture(GestureDir::Left, std::nullopt);
  KeySlots slots{};
  GestureIds gestures{};
  b.SaveTo(slots, gestures);
  EXPECT_EQ(gestures[2], 0);

  BindingSet loaded = BuiltDefaults();
  loaded.LoadFrom(slots, gestures);
  ASSERT_EQ(loaded.Current().size(), b.Current().size());
  for (const T_ShortCutAction& a : b.Current()) EXPECT_EQ(loaded.Lookup(a.key), a.cmd);
  EXPECT_EQ(loaded.Current().front(), (T_ShortCutAction{'1', Cmd::Capture_Disp_x1}));  // row 1
  EXPECT_EQ(loaded.Current().back(), (T_ShortCutAction{0x27, Cmd::Move_Right}));      // row 61
  EXPECT_FALSE(loaded.Gesture(GestureDir::Left));
  EXPECT_EQ(loaded.Gesture(GestureDir::Right), Cmd::Capture_Pause);
}

TEST(Bindings, LoadSkipsUnboundAndUnknownSlotsAndGestures) {
  BindingSet b = BuiltDefaults();
  KeySlots slots{};
  slots[3] = {'3', 0};                    // identifier 0: no binding whatever the key
  slots[4] = {'4', 1005};                 // no such command
  slots[5] = {0, Id(Cmd::Help)};          // no key
  slots[6] = {'6', Id(Cmd::Zoom_20)};
  b.LoadFrom(slots, {1005, 0, Id(Cmd::Help), 0xFFFF});
  EXPECT_EQ(b.Current(), (std::vector<T_ShortCutAction>{{'6', Cmd::Zoom_20}}));
  EXPECT_EQ(b.CurrentGestures(), (GestureSlots{std::nullopt, std::nullopt, Cmd::Help, std::nullopt}));
  // The defaults are untouched by loading and come back with the resets.
  b.ResetKeys();
  EXPECT_EQ(b.Current(), b.Defaults());
  EXPECT_FALSE(b.Gesture(GestureDir::Up));
  b.ResetGestures();
  EXPECT_EQ(b.CurrentGestures(), kDefaultGestures);
  b.ClearCurrent();
  b.SetGesture(GestureDir::Down, Cmd::Help);
  b.ResetAll();
  EXPECT_EQ(b.Current(), b.Defaults());
  EXPECT_EQ(b.CurrentGestures(), kDefaultGestures);
}

TEST(Bindings, EditingKeepsOneBindingPerKey) {
  BindingSet b = BuiltDefaults();
  EXPECT_EQ(b.Bind('S', Cmd::Help), Cmd::Opt_SmoothCapture);
  EXPECT_EQ(b.BoundTo('S'), Cmd::Help);
  EXPECT_EQ(b.KeysOf(Cmd::Help), (std::vector<uint16_t>{'S', 0x70}));  // replaced in place
  EXPECT_TRUE(b.KeysOf(Cmd::Opt_SmoothCapture).empty());
  EXPECT_FALSE(b.Bind('X', Cmd::Help));
  EXPECT_EQ(b.KeysOf(Cmd::Help).size(), 3u);
  EXPECT_FALSE(b.Bind(0, Cmd::Help));
  EXPECT_FALSE(b.BoundTo(0));
  EXPECT_TRUE(b.Unbind('S'));
  EXPECT_FALSE(b.Unbind('S'));
  EXPECT_FALSE(b.BoundTo('S'));

  KeySlots slots{};
  slots[11] = {'A', Id(Cmd::Help)};
  slots[12] = {'A', Id(Cmd::Zoom_1)};
  b.LoadFrom(slots, {});
  EXPECT_EQ(b.Bind('A', Cmd::Zoom_2), Cmd::Help);
  EXPECT_EQ(b.Current(), (std::vector<T_ShortCutAction>{{'A', Cmd::Zoom_2}}));
}
