// The help page shipped beside the program lists every command the user can reach, with its
// default key, so that a command added to the table without a word in the help is caught.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "both_languages.h"
#include "commands/command_table.h"
#include "commands/key_table.h"

using namespace viz;

namespace {

std::string Utf8(std::wstring_view w) {
  std::string out;
  for (wchar_t c : w) {
    const auto u = static_cast<uint32_t>(c);
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

// The page of the language shown: vizmoria-help.html in Japanese, vizmoria-help-en.html in
// English.
std::string ReadHelpPage() {
  const std::wstring name(Tr(Text::HelpFileName));
  std::ifstream in(VIZ_SOURCE_DIR "/res/" + std::string(name.begin(), name.end()), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The caption as the help writes it: as a title shows it, and without a leading blank.
std::wstring HelpCaption(const CommandDef& d) {
  std::wstring c = CaptionWithoutAccel(Tr(d.caption));
  while (!c.empty() && c.front() == L' ') c.erase(0, 1);
  return c;
}

// The table row that starts with the caption's cell, or empty.
std::string RowOf(const std::string& page, const std::string& caption) {
  const size_t at = page.find("<tr><td>" + caption + "</td>");
  if (at == std::string::npos) return {};
  return page.substr(at, page.find("</tr>", at) - at);
}

}  // namespace

using HelpPage = InEachLanguage;
INSTANTIATE_IN_EACH_LANGUAGE(HelpPage);

TEST_P(HelpPage, ListsEveryReachableCommandWithItsDefaultKey) {
  const std::string page = ReadHelpPage();
  ASSERT_FALSE(page.empty()) << "the help page of the language is missing";
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  for (const CommandDef& d : CommandTable()) {
    if (d.cmd == Cmd::Spc || !d.visible) continue;
    const std::string caption = Utf8(HelpCaption(d));
    if (ZoomIndexOf(d.cmd)) {  // the ten zoom factors share one row
      EXPECT_NE(page.find(caption), std::string::npos) << caption;
      continue;
    }
    const std::string row = RowOf(page, caption);
    ASSERT_FALSE(row.empty()) << "no row for " << d.name << " (" << caption << ")";
    if (d.defaultKey != 0) {
      const uint16_t key = d.defaultKey;
      const bool named = row.find(Utf8(StoredNameFromKeyCode(key))) != std::string::npos ||
                         row.find(Utf8(DisplayNameFromKeyCode(key))) != std::string::npos;
      EXPECT_TRUE(named) << d.name << ": key " << Utf8(StoredNameFromKeyCode(key)) << " not in " << row;
    }
    if (d.primaryShortcut & kShortcutAlt) {
      const std::string alt = "Alt+" + Utf8(StoredNameFromKeyCode(d.primaryShortcut & 0xFF));
      EXPECT_NE(row.find(alt), std::string::npos) << d.name << ": " << alt;
    }
  }
}

// The modifiers held at start to reset the settings, in the order the page's language writes
// them (Windows writes Ctrl+Shift), and in that order all through the page.
TEST_P(HelpPage, NamesTheSettingsFileAndHowToReset) {
  std::string page = ReadHelpPage();
  EXPECT_NE(page.find("vizmoria.bin"), std::string::npos);
  for (size_t at; (at = page.find("</kbd>+<kbd>")) != std::string::npos;) page.replace(at, 12, "+");
  const bool japanese = GetParam() == Language::Japanese;
  const std::string order = japanese ? "Shift+Ctrl" : "Ctrl+Shift";
  const std::string other = japanese ? "Ctrl+Shift" : "Shift+Ctrl";
  EXPECT_NE(page.find("<kbd>" + order + "</kbd>"), std::string::npos) << order;
  EXPECT_EQ(page.find(other), std::string::npos) << other;
}
