// The tests expect the texts of the language the program shows under the test's own locale:
// Japanese where the primary language of Windows' UI language is Japanese, English for any other.
#pragma once

#include <windows.h>

#include <string>

namespace viz::test {

inline bool JapaneseUi() { return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE; }

// The expectation in the language shown.
inline std::wstring Lang(const wchar_t* japanese, const wchar_t* english) {
  return JapaneseUi() ? japanese : english;
}

}  // namespace viz::test
