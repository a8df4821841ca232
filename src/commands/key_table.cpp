#include "commands/key_table.h"

#include <algorithm>

#include "commands/command_table.h"

namespace viz {
namespace {

// clang-format off
constexpr std::array<KeyRow, kKeyCount> kKeys = {{
  {L"0", L"0", 0x30}, {L"1", L"1", 0x31}, {L"2", L"2", 0x32}, {L"3", L"3", 0x33},
  {L"4", L"4", 0x34}, {L"5", L"5", 0x35}, {L"6", L"6", 0x36}, {L"7", L"7", 0x37},
  {L"8", L"8", 0x38}, {L"9", L"9", 0x39},
  {L"Space", L"", 0x20, Text::Key_Space},
  {L"A", L"A", 0x41}, {L"B", L"B", 0x42}, {L"C", L"C", 0x43}, {L"D", L"D", 0x44},
  {L"E", L"E", 0x45}, {L"F", L"F", 0x46}, {L"G", L"G", 0x47}, {L"H", L"H", 0x48},
  {L"I", L"I", 0x49}, {L"J", L"J", 0x4A}, {L"K", L"K", 0x4B}, {L"L", L"L", 0x4C},
  {L"M", L"M", 0x4D}, {L"N", L"N", 0x4E}, {L"O", L"O", 0x4F}, {L"P", L"P", 0x50},
  {L"Q", L"Q", 0x51}, {L"R", L"R", 0x52}, {L"S", L"S", 0x53}, {L"T", L"T", 0x54},
  {L"U", L"U", 0x55}, {L"V", L"V", 0x56}, {L"W", L"W", 0x57}, {L"X", L"X", 0x58},
  {L"Y", L"Y", 0x59}, {L"Z", L"Z", 0x5A},
  {L"F1", L"F1", 0x70}, {L"F2", L"F2", 0x71}, {L"F3", L"F3", 0x72}, {L"F4", L"F4", 0x73},
  {L"F5", L"F5", 0x74}, {L"F6", L"F6", 0x75}, {L"F7", L"F7", 0x76}, {L"F8", L"F8", 0x77},
  {L"F9", L"F9", 0x78}, {L"F10", L"F10", 0x79}, {L"F11", L"F11", 0x7A}, {L"F12", L"F12", 0x7B},
  {L"Enter", L"Enter", 0x0D},
  {L"BkSp", L"", 0x08, Text::Key_Backspace},
  {L"Del", L"Del", 0x2E},
  {L"Ins", L"Ins", 0x2D},
  {L"Esc", L"Esc", 0x1B},
  {L"PgUp", L"PgUp", 0x21},
  {L"PgDn", L"PgDn", 0x22},
  {L"Home", L"Home", 0x24},
  {L"End", L"End", 0x23},
  {L"Up", L"↑", 0x26},
  {L"Down", L"↓", 0x28},
  {L"Left", L"←", 0x25},
  {L"Right", L"→", 0x27},
}};
// clang-format on

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? c - L'a' + L'A' : c; }

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  c = AsciiUpper(c);
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// "0x5B" and the like, written for codes outside the table.
uint16_t ParseHexName(std::wstring_view name) {
  if (name.size() < 3 || name.size() > 6 || name[0] != L'0' || AsciiUpper(name[1]) != L'X')
    return 0;
  unsigned v = 0;
  for (wchar_t c : name.substr(2)) {
    const int d = HexDigit(c);
    if (d < 0) return 0;
    v = v * 16 + static_cast<unsigned>(d);
  }
  return static_cast<uint16_t>(v);
}

}  // namespace

const std::array<KeyRow, kKeyCount>& KeyTable() { return kKeys; }

int KeyRowOf(uint16_t key) {
  for (int i = 0; i < kKeyCount; ++i)
    if (kKeys[i].key == key) return i;
  return -1;
}

uint16_t KeyCodeFromStoredName(std::wstring_view name) {
  for (const KeyRow& r : kKeys)
    if (EqualsIgnoringAsciiCase(r.storedName, name)) return r.key;
  return ParseHexName(name);
}

std::wstring StoredNameFromKeyCode(uint16_t key) {
  if (key == 0) return {};
  const int row = KeyRowOf(key);
  if (row >= 0) return std::wstring(kKeys[row].storedName);
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring s = L"0x";
  for (int shift = key > 0xFF ? 12 : 4; shift >= 0; shift -= 4) s += kHex[(key >> shift) & 0xF];
  return s;
}

std::wstring_view DisplayNameOf(const KeyRow& row) {
  return row.displayText ? Tr(*row.displayText) : row.displayName;
}

uint16_t KeyCodeFromDisplayName(std::wstring_view name) {
  for (const KeyRow& r : kKeys)
    if (DisplayNameOf(r) == name) return KeyCodeFromStoredName(r.storedName);
  return 0;
}

std::wstring DisplayNameFromKeyCode(uint16_t key) {
  std::wstring text = StoredNameFromKeyCode(key);
  for (const KeyRow& r : kKeys)
    if (r.storedName == text) return std::wstring(DisplayNameOf(r));
  return text;
}

std::wstring ShortcutText(uint16_t shortcut) {
  std::wstring text;
  if (shortcut & kShortcutCtrl) text += L"Ctrl+";
  if (shortcut & kShortcutShift) text += L"Shift+";
  if (shortcut & kShortcutAlt) text += L"Alt+";
  return text + DisplayNameFromKeyCode(shortcut & 0xFF);
}

std::wstring_view GestureName(int slot) {
  static constexpr Text kNames[] = {Text::Gesture_Up, Text::Gesture_Down, Text::Gesture_Left,
                                    Text::Gesture_Right};
  if (slot < 0 || slot >= 4) return {};
  return Tr(kNames[slot]);
}

}  // namespace viz
