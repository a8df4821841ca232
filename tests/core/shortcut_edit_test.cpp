#include "commands/shortcut_edit.h"

#include <gtest/gtest.h>

#include <set>

using namespace viz;

namespace {

BindingSet Defaults() {
  CommandList commands;
  BindingSet b;
  b.Build(commands);
  return b;
}

constexpr int kRowPgUp = 54;
constexpr int kRowF3 = 39;
constexpr int kRowEnter = 49;
const int kRowGestureLeft = KeyGridRowOfGesture(GestureDir::Left);

}  // namespace

TEST(ShortcutCommandGrid, ListsEveryCommandWithAnIdentifierOnceWithReadableCaptions) {
  for (Language language : {Language::English, Language::Japanese}) {
    SetUiLanguage(language);
    const auto rows = CommandRows();
    EXPECT_EQ(rows.size(), static_cast<size_t>(kCommandCount - 1));  // all but the separator
    if (rows.empty()) continue;
    EXPECT_EQ(rows.front().cmd, Cmd::Zoom_1);
    EXPECT_EQ(rows.back().cmd, Cmd::Help);

    std::set<std::wstring> captions;
    for (const CommandRow& r : rows) {
      EXPECT_NE(r.cmd, Cmd::Spc);
      // No access key, and no "..." of an item that opens a window.
      EXPECT_EQ(r.caption.find(L'&'), std::wstring::npos) << r.caption;
      EXPECT_EQ(r.caption.find(L"..."), std::wstring::npos) << r.caption;
      EXPECT_FALSE(r.category.empty());
      captions.insert(r.caption);
    }
    // The three "表示の一括ON/OFF" ("All on/off") must still be told apart.
    EXPECT_EQ(captions.size(), rows.size());
  }
  EXPECT_EQ(CommandRows().front().category, L"ズーム");
  EXPECT_EQ(CommandCaption(Cmd::Pos_InfoOnOff), L"表示の一括ON/OFF (カーソル位置)");
  EXPECT_EQ(CommandCaption(Cmd::Capture_Pause), L"一時停止");
  EXPECT_EQ(CommandCaption(Cmd::Grid_SelColor), L"グリッド色選択");
}

TEST(ShortcutKeyGrid, ShowsTheKeyTableThenTheGesturesWithTheirCommands) {
  const BindingSet b = Defaults();
  const auto rows = KeyGridRows(b);
  ASSERT_EQ(rows.size(), 66u);
  EXPECT_EQ(rows[0].name, L"0");
  EXPECT_EQ(rows[10].name, L"ｽﾍﾟｰｽ");
  EXPECT_EQ(rows[10].command, L"長さの原点指定");
  EXPECT_EQ(rows[50].name, L"BS(後退)");
  EXPECT_EQ(rows[58].name, L"↑");
  EXPECT_EQ(rows[58].command, L"↑");
  EXPECT_EQ(rows[kRowPgUp].command, L"ズームアップ");
  EXPECT_EQ(rows[kRowF3].name, L"F3");
  EXPECT_TRUE(rows[kRowF3].command.empty());
  EXPECT_EQ(rows[62].name, L"ｼﾞｪｽﾁｬ ↑");
  EXPECT_EQ(rows[62].command, L"常に前面に表示");
  EXPECT_EQ(rows[63].command, L"一覧設定");
  EXPECT_EQ(rows[64].command, L"グリッド表示");
  EXPECT_EQ(rows[65].name, L"ｼﾞｪｽﾁｬ →");
  EXPECT_EQ(rows[65].command, L"一時停止");

  EXPECT_FALSE(KeyGridTarget(-1));
  EXPECT_FALSE(KeyGridTarget(66));
  EXPECT_TRUE(KeyGridName(66).empty());
  EXPECT_EQ(KeyGridRowOfKey(0x21), kRowPgUp);
  EXPECT_EQ(KeyGridRowOfKey(0x91), -1);
}

TEST(ShortcutAssign, FreeRowsBindAtOnceAndHeldRowsAskWithTheirNamesFirst) {
  const BindingSet b = Defaults();
  EXPECT_EQ(PlanAssign(b, kRowF3, Cmd::Zoom_Up).step, AssignStep::Apply);
  EXPECT_EQ(PlanAssign(b, kRowPgUp, Cmd::Zoom_Up).step, AssignStep::Nothing);

  const AssignPlan key = PlanAssign(b, kRowPgUp, Cmd::Zoom_Down);
  EXPECT_EQ(key.step, AssignStep::Confirm);
  EXPECT_EQ(key.question, L"[PgUp] には ズームアップ がセットされています\r置き換えますか");

  const AssignPlan gesture = PlanAssign(b, kRowGestureLeft, Cmd::Zoom_Up);
  EXPECT_EQ(gesture.step, AssignStep::Confirm);
  EXPECT_EQ(gesture.question, L"[ｼﾞｪｽﾁｬ ←] には グリッド表示 がセットされています\r置き換えますか");

  // Argument texts are never read as format fields.
  EXPECT_EQ(ReplaceQuestion(L"%1:s", L"%0:s"), L"[%1:s] には %0:s がセットされています\r置き換えますか");

  EXPECT_EQ(PlanAssign(b, 66, Cmd::Zoom_Up).step, AssignStep::Nothing);
  EXPECT_EQ(PlanAssign(b, kRowF3, Cmd::Spc).step, AssignStep::Nothing);

  BindingSet cleared = b;
  ASSERT_TRUE(ClearRow(cleared, kRowGestureLeft));
  EXPECT_EQ(PlanAssign(cleared, kRowGestureLeft, Cmd::Zoom_Up).step, AssignStep::Apply);
}

TEST(ShortcutAssign, KeepsOneBindingPerKeyWhileACommandGainsKeys) {
  BindingSet b = Defaults();
  EXPECT_TRUE(ApplyAssign(b, kRowF3, Cmd::Zoom_Up));
  EXPECT_EQ(b.KeysOf(Cmd::Zoom_Up), (std::vector<uint16_t>{0x21, 0x72}));
  EXPECT_FALSE(ApplyAssign(b, kRowF3, Cmd::Zoom_Up));

  const size_t count = b.Current().size();
  EXPECT_TRUE(ApplyAssign(b, kRowPgUp, Cmd::Zoom_Down));  // replaced, not added
  EXPECT_EQ(b.Current().size(), count);
  EXPECT_EQ(b.Lookup(0x21), Cmd::Zoom_Down);
  EXPECT_EQ(b.KeysOf(Cmd::Zoom_Up), (std::vector<uint16_t>{0x72}));
  EXPECT_EQ(KeyGridRows(b)[kRowPgUp].command, L"ズームダウン");

  EXPECT_TRUE(ApplyAssign(b, kRowGestureLeft, Cmd::Zoom_Up));
  EXPECT_EQ(b.Gesture(GestureDir::Left), Cmd::Zoom_Up);
  EXPECT_FALSE(ApplyAssign(b, kRowGestureLeft, Cmd::Zoom_Up));
  EXPECT_FALSE(ApplyAssign(b, -1, Cmd::Zoom_Up));
  EXPECT_FALSE(ApplyAssign(b, kRowF3, Cmd::Spc));
}

TEST(ShortcutAssign, AKeyRepeatedInALoadedFileEndsWithOneBinding) {
  BindingSet b = Defaults();
  KeySlots slots{};
  GestureIds gestures{};
  b.SaveTo(slots, gestures);
  // A hand-made file can name one key in two slots: the Enter slot carries PgUp's code here.
  slots[kRowEnter] = {0x21, static_cast<uint16_t>(IdFromCommand(Cmd::Help))};
  b.LoadFrom(slots, gestures);
  ASSERT_EQ(b.KeysOf(Cmd::Help).size(), 2u);  // the repeated PgUp, then F1
  EXPECT_EQ(KeyGridCommand(b, kRowPgUp), Cmd::Help);  // the first one, as dispatch finds it

  EXPECT_TRUE(ApplyAssign(b, kRowPgUp, Cmd::Zoom_Up));
  EXPECT_EQ(b.KeysOf(Cmd::Help), (std::vector<uint16_t>{0x70}));
  EXPECT_EQ(b.KeysOf(Cmd::Zoom_Up), (std::vector<uint16_t>{0x21}));
  int pgUps = 0;
  for (const T_ShortCutAction& a : b.Current()) pgUps += a.key == 0x21;
  EXPECT_EQ(pgUps, 1);
}

TEST(ShortcutClear, EmptiesKeysAndGestureSlotsAndSaysWhenThereWasNothing) {
  BindingSet b = Defaults();
  EXPECT_TRUE(ClearRow(b, kRowPgUp));
  EXPECT_FALSE(b.Lookup(0x21));
  EXPECT_FALSE(ClearRow(b, kRowPgUp));
  EXPECT_FALSE(ClearRow(b, kRowF3));
  EXPECT_TRUE(ClearRow(b, kRowGestureLeft));
  EXPECT_FALSE(b.Gesture(GestureDir::Left));
  EXPECT_FALSE(ClearRow(b, kRowGestureLeft));
  EXPECT_FALSE(ClearRow(b, 99));
  EXPECT_TRUE(KeyGridRows(b)[kRowGestureLeft].command.empty());
}

TEST(ShortcutReset, EachKindRestoresOnlyItsOwnDefaults) {
  const BindingSet defaults = Defaults();
  auto edited = [] {
    BindingSet b = Defaults();
    ApplyAssign(b, kRowF3, Cmd::Zoom_Up);
    ClearRow(b, kRowPgUp);
    ApplyAssign(b, KeyGridRowOfGesture(GestureDir::Up), Cmd::Zoom_Down);
    return b;
  };

  BindingSet keys = edited();
  ApplyReset(keys, ResetKind::Keys);
  EXPECT_EQ(keys.Current(), defaults.Current());
  EXPECT_EQ(keys.Gesture(GestureDir::Up), Cmd::Zoom_Down);

  BindingSet gestures = edited();
  ApplyReset(gestures, ResetKind::Gestures);
  EXPECT_EQ(gestures.CurrentGestures(), defaults.CurrentGestures());
  EXPECT_EQ(gestures.Lookup(0x72), Cmd::Zoom_Up);

  BindingSet all = edited();
  ApplyReset(all, ResetKind::All);
  EXPECT_EQ(all.Current(), defaults.Current());
  EXPECT_EQ(all.CurrentGestures(), defaults.CurrentGestures());

  EXPECT_EQ(ResetQuestion(ResetKind::Keys),
            L"すべてのショートカットキーの設定をリセットします\rよろしいですか");
  EXPECT_EQ(ResetQuestion(ResetKind::Gestures),
            L"すべてのマウスジェスチャの設定をリセットします\rよろしいですか");
  EXPECT_EQ(ResetQuestion(ResetKind::All),
            L"すべてのショートカットキーとマウスジェスチャの設定をリセットします\rよろしいですか");
}
