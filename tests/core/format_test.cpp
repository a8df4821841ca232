#include "base/format.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace viz;

TEST(Format, DecimalWidthPrecisionAndAlignment) {
  EXPECT_EQ(FormatW(L"%d", {42}), L"42");
  EXPECT_EQ(FormatW(L"%d", {-7}), L"-7");
  EXPECT_EQ(FormatW(L"[%5d]", {42}), L"[   42]");
  EXPECT_EQ(FormatW(L"[%-3d]", {7}), L"[7  ]");
  EXPECT_EQ(FormatW(L"[%-3d]", {1234}), L"[1234]");  // width never truncates
  EXPECT_EQ(FormatW(L"%.3d", {7}), L"007");
  EXPECT_EQ(FormatW(L"%.3d", {-7}), L"-007");
  EXPECT_EQ(FormatW(L"[%6.3d]", {7}), L"[   007]");
  EXPECT_EQ(FormatW(L"%d", {0}), L"0");
  EXPECT_EQ(FormatW(L"%d", {INT64_MIN}), L"-9223372036854775808");
  EXPECT_EQ(FormatW(L"%d", {uint32_t{0xFFFFFFFF}}), L"4294967295");
  EXPECT_EQ(FormatW(L"%2d倍", {6}), L" 6倍");
  EXPECT_EQ(FormatW(L"%2d倍", {20}), L"20倍");
}

TEST(Format, HexIsLowerCaseAndNegativesAre32Bit) {
  EXPECT_EQ(FormatW(L"%x", {255}), L"ff");
  EXPECT_EQ(FormatW(L"%X", {255}), L"FF");
  EXPECT_EQ(FormatW(L"%.6x", {0x00ab12}), L"00ab12");
  EXPECT_EQ(FormatW(L"%.8x", {0x1234}), L"00001234");
  EXPECT_EQ(FormatW(L"%x", {-1}), L"ffffffff");
  EXPECT_EQ(FormatW(L"%.8x", {INT32_MIN}), L"80000000");
  EXPECT_EQ(FormatW(L"%x", {int64_t{0x123456789}}), L"123456789");
  EXPECT_EQ(FormatW(L"%x", {INT64_MIN}), L"8000000000000000");
  EXPECT_EQ(FormatW(L"[%4x]", {10}), L"[   a]");
}

TEST(Format, StringPrecisionCutsAndWidthPads) {
  EXPECT_EQ(FormatW(L"%s", {L"abc"}), L"abc");
  EXPECT_EQ(FormatW(L"%.2s", {L"abc"}), L"ab");
  EXPECT_EQ(FormatW(L"[%5s]", {L"ab"}), L"[   ab]");
  EXPECT_EQ(FormatW(L"[%-5s]", {L"ab"}), L"[ab   ]");
  EXPECT_EQ(FormatW(L"\"%s\"", {L""}), L"\"\"");
  EXPECT_EQ(FormatW(L"100%%", {}), L"100%");
}

TEST(Format, IndexSelectsArgumentAndFollowingSpecTakesTheNext) {
  EXPECT_EQ(FormatW(L"COLORREF %1:s %0:d", {16711680, L"ff0000"}), L"COLORREF ff0000 16711680");
  EXPECT_EQ(FormatW(L"L=%2:d T=%3:d W=%0:d H=%1:d", {100, 50, 10, 20}), L"L=10 T=20 W=100 H=50");
  EXPECT_EQ(FormatW(L"%1:s", {L"C:\\a\\b.exe", L"b.exe"}), L"b.exe");
  // After "%1:d" an unindexed field takes argument 2.
  EXPECT_EQ(FormatW(L"%1:d %d %0:d %d", {0, 1, 2}), L"1 2 0 1");
  EXPECT_EQ(FormatW(L"[%0:-4d]", {5}), L"[5   ]");
  EXPECT_EQ(FormatW(L"[%1:5s]", {0, L"x"}), L"[    x]");
}

TEST(Format, StarTakesWidthAndPrecisionFromArguments) {
  EXPECT_EQ(FormatW(L"[%*d]", {4, 7}), L"[   7]");
  EXPECT_EQ(FormatW(L"[%*d]", {-4, 7}), L"[7   ]");
  EXPECT_EQ(FormatW(L"[%.*d]", {3, 7}), L"[007]");
  EXPECT_EQ(FormatW(L"[%*d]", {L"w", 7}), L"[%*d]");  // no integer for "*": field kept
}

TEST(Format, ArgumentTextIsNeverReinterpreted) {
  EXPECT_EQ(FormatW(L"ﾃｷｽﾄ     %s", {L"%s %1:d %%"}), L"ﾃｷｽﾄ     %s %1:d %%");
  EXPECT_EQ(FormatW(L"%s%s", {L"%", L"d"}), L"%d");
}

TEST(Format, BadInputIsPrintedLiterallyAndNeverCrashes) {
  EXPECT_EQ(FormatW(L"%d", {}), L"%d");                   // missing argument
  EXPECT_EQ(FormatW(L"%d %d", {1}), L"1 %d");
  EXPECT_EQ(FormatW(L"%9:s", {L"a"}), L"%9:s");           // index past the end
  EXPECT_EQ(FormatW(L"%q", {1}), L"%q");                  // unknown type
  EXPECT_EQ(FormatW(L"%5q%d", {1}), L"%5q1");             // argument not used up by the bad field
  EXPECT_EQ(FormatW(L"abc%", {1}), L"abc%");              // format ends inside a field
  EXPECT_EQ(FormatW(L"%1:", {1}), L"%1:");
  EXPECT_EQ(FormatW(L"%-", {1}), L"%-");
  EXPECT_EQ(FormatW(L"%%%", {}), L"%%");
  EXPECT_EQ(FormatW(L"%d", {L"text"}), L"text");          // mismatch: shown in its own form
  EXPECT_EQ(FormatW(L"[%4x]", {L"ab"}), L"[  ab]");
  EXPECT_EQ(FormatW(L"%.1s", {123}), L"123");
  // Huge widths are capped instead of allocating without bound.
  EXPECT_EQ(FormatW(L"%99999999999999999999d", {1}).size(), size_t(kFormatMaxWidth));
  EXPECT_EQ(FormatW(L"%99999999999999:d", {1}), L"%99999999999999:d");
}

TEST(Format, SurvivesEveryShortFormatOverAnAlphabet) {
  // All formats of up to four characters over the characters that matter to the parser.
  const std::wstring alphabet = L"%:-.*0123sdxX";
  const std::vector<FmtArg> args = {1, L"a", -2};
  std::vector<std::wstring> level = {L""};
  for (int len = 1; len <= 4; ++len) {
    std::vector<std::wstring> nextLevel;
    for (const auto& prefix : level) {
      for (wchar_t c : alphabet) {
        const std::wstring f = prefix + c;
        const std::wstring out = FormatW(f, args);
        EXPECT_LE(out.size(), f.size() + 3 * (kFormatMaxWidth + 32)) << f;
        nextLevel.push_back(f);
      }
    }
    level = std::move(nextLevel);
  }
}
