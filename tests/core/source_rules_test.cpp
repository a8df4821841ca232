// Rules the source tree keeps, checked on the files themselves: the folders of src/ are layers,
// and a file includes headers only from its own folder and from the folders below it; files
// without the "_win" suffix are the platform-independent core and include no Windows header.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

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

}  // namespace
