// The key table of the shortcut bindings: 62 rows in a fixed order. The row index is also the
// slot index of the binding block in the settings file, so the order must never change.
//
// Each row has the stored name (the key name used to convert to and from a key code), the name
// shown in the shortcut window, and the Windows virtual-key code.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace viz {

inline constexpr int kKeyCount = 62;

struct KeyRow {
  std::wstring_view storedName;
  std::wstring_view displayName;
  uint16_t key;
};

const std::array<KeyRow, kKeyCount>& KeyTable();

// Row index of a key code, -1 when the key is not in the table.
int KeyRowOf(uint16_t key);

// Key-name conversion. Stored names are matched without regard to ASCII case ("esc" is Esc).
// A key code outside the table is named "0x" plus two (or, above 0xFF, four) upper-case hex
// digits, and such a name converts back, so every non-zero code survives a round trip. Key
// code 0 is the empty name; an unknown name gives 0.
uint16_t KeyCodeFromStoredName(std::wstring_view name);
std::wstring StoredNameFromKeyCode(uint16_t key);

// Exact match on a row's displayed name, else 0.
uint16_t KeyCodeFromDisplayName(std::wstring_view name);
// The stored name, replaced by the row's displayed name when it is a row's stored name.
std::wstring DisplayNameFromKeyCode(uint16_t key);

// A shortcut value as menus show it: "Ctrl+", "Shift+" and "Alt+" before the key's displayed
// name ("Alt+F10" for 0x8079).
std::wstring ShortcutText(uint16_t shortcut);

// Gesture names in slot order: up, down, left, right.
inline constexpr std::array<std::wstring_view, 4> kGestureNames = {
    L"ｼﾞｪｽﾁｬ ↑", L"ｼﾞｪｽﾁｬ ↓", L"ｼﾞｪｽﾁｬ ←", L"ｼﾞｪｽﾁｬ →"};

// Width of a text in character cells of the fixed-pitch UI font: ASCII and half-width katakana
// take one cell, everything else (kanji, kana, arrows, full-width forms) two. For the texts of
// these tables this equals their length in Shift-JIS bytes.
int DisplayCells(std::wstring_view text);

// Column widths of the shortcut window, in cells; each is at least 1.
struct KeyDisplayWidths {
  int keys;      // longest displayed key name
  int gestures;  // longest gesture name
  int widest;    // the larger of the two
};
KeyDisplayWidths ComputeKeyDisplayWidths();

}  // namespace viz
