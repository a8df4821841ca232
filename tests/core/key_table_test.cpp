#include "commands/key_table.h"

#include <gtest/gtest.h>

#include <set>

using namespace viz;

TEST(KeyTable, RowsKeepTheirSlotPositions) {
  const auto& t = KeyTable();
  std::set<uint16_t> codes;
  std::set<std::wstring_view> names;
  for (const KeyRow& r : t) {
    EXPECT_TRUE(codes.insert(r.key).second) << r.key;
    EXPECT_TRUE(names.insert(r.storedName).second);
  }
  EXPECT_EQ(t[0].key, 0x30);
  EXPECT_EQ(t[9].key, 0x39);
  EXPECT_EQ(t[10].storedName, L"Space");
  EXPECT_EQ(DisplayNameOf(t[10]), L"ｽﾍﾟｰｽ");
  EXPECT_EQ(t[11].key, 'A');
  EXPECT_EQ(t[36].key, 'Z');
  EXPECT_EQ(t[37].storedName, L"F1");
  EXPECT_EQ(t[48].key, 0x7B);
  EXPECT_EQ(t[49].key, 0x0D);
  EXPECT_EQ(DisplayNameOf(t[50]), L"BS(後退)");
  EXPECT_EQ(t[53].key, 0x1B);
  EXPECT_EQ(t[57].storedName, L"End");
  EXPECT_EQ(t[57].key, 0x23);
  EXPECT_EQ(DisplayNameOf(t[61]), L"→");
  EXPECT_EQ(t[61].key, 0x27);
  EXPECT_EQ(KeyRowOf(0x0D), 49);
  EXPECT_EQ(KeyRowOf(0x5B), -1);
}

TEST(KeyTable, StoredAndDisplayedNamesConvertBothWaysInEitherLanguage) {
  for (Language language : {Language::Japanese, Language::English}) {
    SetUiLanguage(language);
    for (const KeyRow& r : KeyTable()) {
      EXPECT_EQ(KeyCodeFromStoredName(r.storedName), r.key);
      EXPECT_EQ(StoredNameFromKeyCode(r.key), r.storedName);
      EXPECT_EQ(KeyCodeFromDisplayName(DisplayNameOf(r)), r.key);
      EXPECT_EQ(DisplayNameFromKeyCode(r.key), DisplayNameOf(r));
    }
  }
  EXPECT_EQ(KeyCodeFromDisplayName(L"Space"), 0x20);
  EXPECT_EQ(ShortcutText(0x8079), L"Alt+F10");
  SetUiLanguage(Language::Japanese);
  // Displayed names match exactly and only as displayed.
  EXPECT_EQ(KeyCodeFromDisplayName(L"Up"), 0);
  EXPECT_EQ(KeyCodeFromDisplayName(L"Space"), 0);
  EXPECT_EQ(KeyCodeFromDisplayName(L"a"), 0);
  EXPECT_EQ(KeyCodeFromDisplayName(L""), 0);
  EXPECT_EQ(KeyCodeFromStoredName(L"esc"), 0x1B);
  EXPECT_EQ(KeyCodeFromStoredName(L"Nope"), 0);
}

TEST(KeyTable, CodesOutsideTheTableGetAHexNameThatConvertsBack) {
  EXPECT_EQ(StoredNameFromKeyCode(0), L"");
  EXPECT_EQ(KeyCodeFromStoredName(L""), 0);
  EXPECT_EQ(StoredNameFromKeyCode(0x5B), L"0x5B");
  EXPECT_EQ(DisplayNameFromKeyCode(0x5B), L"0x5B");
  EXPECT_EQ(StoredNameFromKeyCode(0x0123), L"0x0123");
  for (unsigned k = 1; k <= 0xFF; ++k)
    EXPECT_EQ(KeyCodeFromStoredName(StoredNameFromKeyCode(static_cast<uint16_t>(k))), k);
  EXPECT_EQ(KeyCodeFromStoredName(L"0x"), 0);
  EXPECT_EQ(KeyCodeFromStoredName(L"0xG1"), 0);
}
