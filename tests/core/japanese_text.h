// What counts as a Japanese character in the checks of the program's texts: kana, CJK
// punctuation, CJK ideographs and the full- and half-width forms. Arrows and ASCII do not.
#pragma once

#include <string_view>

inline bool IsJapaneseChar(char32_t c) {
  return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xFF00 && c <= 0xFFEF);
}

inline bool HasJapanese(std::wstring_view s) {
  for (wchar_t c : s)
    if (IsJapaneseChar(static_cast<char32_t>(c))) return true;
  return false;
}
