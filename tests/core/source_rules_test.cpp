// Rules the source tree keeps, checked on the files themselves: the folders of src/ are layers,
// and a file includes headers only from its own folder and from the folders below it; files
// without the "_win" suffix are the platform-independent core and include no Windows header; and
// no Japanese text is written anywhere but in the table of texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "japanese_text.h"

namespace {

namespace fs = std::filesystem;

// Each folder with the folders it may include from. settings_ui stands beside info and capture:
// none of the three includes another's headers but capture those of info.
const std::map<std::string, std::set<std::string>>& Layers() {
  static const std::map<std::string, std::set<std::string>> layers = {
      {"base", {}},
      {"ui", {"base"}},
      {"platform", {"base", "ui"}},
      {"commands", {"base", "ui", "platform"}},
      {"info", {"base", "ui", "platform", "commands"}},
      {"capture", {"base", "ui", "platform", "commands", "info"}},
      {"settings_ui", {"base", "ui", "platform", "commands"}},
      {"app", {"base", "ui", "platform", "commands", "info", "capture", "settings_ui"}},
  };
  return layers;
}

struct Include {
  fs::path file;
  int line;
  std::string target;  // as written between the quotes or brackets
  bool quoted;
};

std::vector<Include> IncludesUnder(const fs::path& root) {
  std::vector<Include> out;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const std::string ext = entry.path().extension().string();
    if (ext != ".h" && ext != ".cpp") continue;
    std::ifstream in(entry.path());
    std::string text;
    for (int n = 1; std::getline(in, text); ++n) {
      const size_t hash = text.find_first_not_of(" \t");
      if (hash == std::string::npos || text.compare(hash, 8, "#include") != 0) continue;
      const size_t open = text.find_first_of("\"<", hash + 8);
      if (open == std::string::npos) continue;
      const size_t close = text.find(text[open] == '"' ? '"' : '>', open + 1);
      if (close == std::string::npos) continue;
      out.push_back({entry.path(), n, text.substr(open + 1, close - open - 1), text[open] == '"'});
    }
  }
  return out;
}

std::string FolderOf(const fs::path& file, const fs::path& root) {
  return fs::relative(file, root).begin()->string();
}

TEST(SourceRules, IncludesRunDownTheLayersOfTheSourceFolders) {
  const fs::path root = fs::path(VIZ_SOURCE_DIR) / "src";
  ASSERT_TRUE(fs::is_directory(root)) << root;
  const std::vector<Include> includes = IncludesUnder(root);
  ASSERT_GT(includes.size(), 100u);
  std::set<std::string> folders;
  for (const auto& entry : fs::directory_iterator(root))
    if (entry.is_directory()) folders.insert(entry.path().filename().string());
  for (const std::string& folder : folders)
    EXPECT_TRUE(Layers().count(folder)) << "src/" << folder << " has no place in the layers";

  for (const Include& inc : includes) {
    if (!inc.quoted) continue;
    const size_t slash = inc.target.find('/');
    if (slash == std::string::npos) continue;
    const std::string from = FolderOf(inc.file, root), to = inc.target.substr(0, slash);
    if (from == to || !Layers().count(from)) continue;
    EXPECT_TRUE(Layers().at(from).count(to))
        << inc.file.string() << ":" << inc.line << " includes " << inc.target << ": " << from
        << " may not include from " << to;
  }
}

TEST(SourceRules, ThePlatformIndependentCoreIncludesNoWindowsHeader) {
  const fs::path root = fs::path(VIZ_SOURCE_DIR) / "src";
  for (const Include& inc : IncludesUnder(root)) {
    const std::string stem = inc.file.stem().string();
    const bool win = stem.size() > 4 && stem.compare(stem.size() - 4, 4, "_win") == 0;
    if (win) continue;
    const bool windowsHeader = !inc.quoted || inc.target.find("_win.h") != std::string::npos;
    const bool standard = !inc.quoted && inc.target.find('.') == std::string::npos;
    EXPECT_TRUE(!windowsHeader || standard)
        << inc.file.string() << ":" << inc.line << " includes " << inc.target;
  }
}

// The string literals of a C++ source file with their lines, comments skipped; UTF-8 decoded.
struct Literal {
  int line;
  std::u32string text;
};

std::u32string DecodeUtf8(const std::string& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : b & (0x7F >> n);
    for (int k = 1; k < n && i + k < s.size(); ++k) c = (c << 6) | (s[i + k] & 0x3F);
    out += c;
    i += n;
  }
  return out;
}

std::vector<Literal> LiteralsOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<Literal> out;
  int line = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      ++line;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
      --i;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      for (i += 2; i + 1 < text.size() && !(text[i] == '*' && text[i + 1] == '/'); ++i)
        if (text[i] == '\n') ++line;
      ++i;
    } else if (c == '"' || c == '\'') {
      std::string lit;
      for (++i; i < text.size() && text[i] != c && text[i] != '\n'; ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) lit += text[i++];
        lit += text[i];
      }
      if (c == '"') out.push_back({line, DecodeUtf8(lit)});
    }
  }
  return out;
}

}  // namespace

TEST(SourceRules, NoJapaneseTextIsWrittenOutsideTheTableOfTexts) {
  const fs::path root = fs::path(VIZ_SOURCE_DIR) / "src";
  const fs::path table = root / "base" / "texts.cpp";
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file() || fs::equivalent(entry.path(), table)) continue;
    ++files;
    for (const Literal& lit : LiteralsOf(entry.path())) {
      const bool japanese = std::any_of(lit.text.begin(), lit.text.end(), IsJapaneseChar);
      EXPECT_FALSE(japanese) << entry.path().string() << ":" << lit.line
                             << " holds Japanese text outside the table of texts";
    }
  }
  EXPECT_GT(files, 50u);
  EXPECT_FALSE(LiteralsOf(table).empty());
}
