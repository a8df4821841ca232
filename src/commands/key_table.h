// The key table of the shortcut bindings: 62 rows in a fixed order. The row index is also the
// slot index of the binding block in the settings file, so the order must never change.
//
// Each row has the stored name (the key name used to convert to and from a key code), the name
// shown in the shortcut window (the same in every language, or a text of the table), and the
// Windows virtual-key code.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <optional>
#include <string_view>

#include "base/texts.h"

namespace viz {

inline constexpr int kKeyCount = 62;

struct KeyRow {
  std::wstring_view storedName;
  std::wstring_view displayName;     // when the name is the same in every language
  uint16_t key;
  std::optional<Text> displayText{};  // when it is not
};

// The name a row shows in the language shown.
std::wstring_view DisplayNameOf(const KeyRow& row);

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

// The name of a gesture slot (0 up, 1 down, 2 left, 3 right) in the language shown; empty for
// any other slot.
std::wstring_view GestureName(int slot);

}  // namespace viz
