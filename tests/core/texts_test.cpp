// The table of texts: both forms of every text, English free of Japanese, format arguments that
// agree, the information-line labels in columns, access keys that do not collide, and the
// choice of the language.
#include "base/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "base/format.h"
#include "both_languages.h"
#include "commands/command_table.h"
#include "commands/menu_table.h"
#include "japanese_text.h"
#include "settings_ui/setting_items.h"

using namespace viz;

namespace {

std::string Narrow(std::wstring_view w) {
  std::string s;
  for (wchar_t c : w) s += c < 0x80 ? static_cast<char>(c) : '?';
  return s;
}

// The arguments a format takes, each shown as a marker, sorted: a field of any type prints a
// text argument as text, so every field that takes argument i prints "<i>".
std::vector<std::wstring> ArgumentsTaken(std::wstring_view format) {
  std::vector<FmtArg> args;
  for (int i = 0; i < 8; ++i) args.emplace_back(L"<" + std::to_wstring(i) + L">");
  const std::wstring out = FormatW(format, args);
  std::vector<std::wstring> taken;
  for (size_t at = out.find(L'<'); at != std::wstring::npos; at = out.find(L'<', at + 1))
    if (at + 2 < out.size() && out[at + 2] == L'>') taken.push_back(out.substr(at, 3));
  std::sort(taken.begin(), taken.end());
  return taken;
}

// The access key of a caption ("&P" in "&Pause"), upper case; 0 without one.
wchar_t AccessKey(std::wstring_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return static_cast<wchar_t>(std::towupper(caption[i + 1]));
  }
  return 0;
}

std::wstring CaptionOfNode(const MenuNode& n) {
  if (n.cmd) return std::wstring(CaptionOf(*n.cmd));
  return n.caption ? std::wstring(Tr(*n.caption)) : std::wstring();
}

void ExpectUniqueKeysIn(const MenuNode& menu) {
  std::map<wchar_t, std::wstring> keys;
  for (const MenuNode& item : menu.children) {
    if (item.IsSeparator()) continue;
    const std::wstring caption = CaptionOfNode(item);
    if (const wchar_t key = AccessKey(caption)) {
      const auto [at, fresh] = keys.emplace(key, caption);
      EXPECT_TRUE(fresh) << menu.name << ": " << Narrow(caption) << " and " << Narrow(at->second)
                         << " share one access key";
    }
    if (item.IsSubmenu()) ExpectUniqueKeysIn(item);
  }
}

using TextsIn = InEachLanguage;
INSTANTIATE_IN_EACH_LANGUAGE(TextsIn);

}  // namespace

TEST(Texts, EveryTextHasBothFormsTheSameArgumentsAndEnglishWithoutJapanese) {
  for (size_t i = 0; i < kTextCount; ++i) {
    const Text t = static_cast<Text>(i);
    const std::wstring_view ja = Tr(t, Language::Japanese), en = Tr(t, Language::English);
    EXPECT_EQ(ja.empty(), en.empty()) << "text " << i << ": " << Narrow(en);
    EXPECT_FALSE(HasJapanese(en)) << "text " << i << ": " << Narrow(en);
    EXPECT_EQ(ArgumentsTaken(ja), ArgumentsTaken(en)) << "text " << i << ": " << Narrow(en);
  }
}

TEST(Texts, EnglishLineLabelsAreAtMostEightCharactersInNineColumns) {
  for (Text t : {Text::Line_RGB, Text::Line_HTML, Text::Line_COLORREF, Text::Line_Screen,
                 Text::Line_Client, Text::Line_User, Text::Line_Handle, Text::Line_ClassName,
                 Text::Line_Text, Text::Line_WindowSize, Text::Line_ClientSize, Text::Line_Rect,
                 Text::Line_ExeName}) {
    const std::wstring_view en = Tr(t, Language::English);
    const size_t label = en.find(L' ');
    ASSERT_NE(label, std::wstring_view::npos) << Narrow(en);
    EXPECT_LE(label, 8u) << Narrow(en);
    ASSERT_GT(en.size(), 9u);
    EXPECT_EQ(en.find_first_not_of(L' ', label), 9u) << "values start in column 10: " << Narrow(en);
    for (wchar_t c : en) EXPECT_LT(c, 0x80) << Narrow(en);
  }
}

TEST_P(TextsIn, AccessKeysAreUniqueInEveryMenu) { ExpectUniqueKeysIn(MainMenu()); }

// An item that opens a window where the user goes on choosing ends in "..." as Windows writes
// it; the About item opens one too but has none. The windows' titles leave the "..." out.
TEST(Texts, EnglishItemsThatOpenAWindowEndInAnEllipsisAndNoTitleShowsIt) {
  for (Cmd c : {Cmd::Custom_Setting, Cmd::Custom_ShortCut, Cmd::Grid_SelColor,
                Cmd::Grid_SelSubColor}) {
    const std::wstring_view caption = Tr(Def(c).caption, Language::English);
    EXPECT_TRUE(caption.ends_with(L"...")) << Narrow(caption);
  }
  EXPECT_FALSE(Tr(Def(Cmd::Help).caption, Language::English).ends_with(L"..."));
  for (Language language : {Language::Japanese, Language::English})
    for (Cmd titled : {Cmd::Custom_Setting, Cmd::Custom_ShortCut})
      EXPECT_EQ(CaptionWithoutAccel(Tr(Def(titled).caption, language)).find(L"..."),
                std::wstring::npos);
}

TEST(Texts, AccessKeysAreUniqueAcrossTheEnglishSettingsPage) {
  SetUiLanguage(Language::English);
  std::map<wchar_t, std::wstring> keys;
  std::vector<std::wstring> captions = {std::wstring(Tr(Text::Tab_Setting)),
                                        std::wstring(Tr(Text::Tab_Version)),
                                        std::wstring(Tr(Text::Button_Close))};
  for (const SettingGroupDef& g : SettingGroups()) captions.emplace_back(Tr(g.caption));
  for (const SettingItemDef& item : SettingItems()) captions.emplace_back(CaptionOf(item.cmd));
  for (const std::wstring& caption : captions) {
    if (const wchar_t key = AccessKey(caption)) {
      const auto [at, fresh] = keys.emplace(key, caption);
      EXPECT_TRUE(fresh) << Narrow(caption) << " and " << Narrow(at->second);
    }
  }
  SetUiLanguage(Language::Japanese);
}

TEST(Texts, JapaneseForAJapaneseUiLanguageAndEnglishForAnyOther) {
  EXPECT_EQ(LanguageOfLangId(0x0411), Language::Japanese);
  EXPECT_EQ(LanguageOfLangId(0x0011), Language::Japanese);
  for (uint16_t other : {0x0409, 0x0809, 0x0407, 0x040C, 0x0804, 0x0412, 0x0000, 0x0400})
    EXPECT_EQ(LanguageOfLangId(other), Language::English) << std::hex << other;
  EXPECT_EQ(UiLanguage(), Language::Japanese) << "Japanese until a language is chosen";
}
