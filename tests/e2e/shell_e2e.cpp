// The main window's life seen from outside: where it opens, what its frame allows, how it ends,
// and that it never picks up libraries planted beside it.
#include <gtest/gtest.h>

#include "harness.h"

namespace viz::e2e {
namespace {

constexpr size_t kSettingsFileSize = 343;

class ShellTest : public testing::Test {
 protected:
  void SetUp() override {
    // Shift held at start moves the window to (0, 0) and Shift+Ctrl skips the settings file:
    // no modifier may be left over from an earlier test.
    ASSERT_TRUE(ReleaseModifiers());
    ASSERT_TRUE(MovePointer(300, 300));
  }

  // Sends a system command and returns once the window has handled it: SendMessage returns only
  // after the handler (and any maximising it does) has run.
  static bool SysCommand(HWND hwnd, WPARAM cmd) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, WM_SYSCOMMAND, cmd, 0, SMTO_NORMAL, 5000, &result) != 0;
  }
};

RECT MonitorRectAt(POINT p) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &mi);
  return mi.rcMonitor;
}

TEST_F(ShellTest, OpensTitledAt75PixelsFromTheCornerOfTheMonitorUnderTheCursor) {
  AppProcess app;
  ASSERT_TRUE(app.Start()) << app.error();
  auto w = QueryWindow(app.hwnd());
  ASSERT_TRUE(w);
  EXPECT_EQ(w->class_name, L"TApp_Vizmoria");
  EXPECT_EQ(w->title, L"vizmoria");
  EXPECT_TRUE(w->visible);
  const RECT mon = MonitorRectAt(POINT{300, 300});
  EXPECT_EQ(w->rect.left, mon.left + 75);
  EXPECT_EQ(w->rect.top, mon.top + 75);
  EXPECT_FALSE(FileExists(app.settings_path())) << "the settings file is written only at exit";
}

TEST_F(ShellTest, FrameOffersMinimiseButNeverMaximises) {
  AppProcess app;
  ASSERT_TRUE(app.Start()) << app.error();
  auto before = QueryWindow(app.hwnd());
  ASSERT_TRUE(before);
  EXPECT_TRUE(before->style & WS_SYSMENU);
  EXPECT_TRUE(before->style & WS_MINIMIZEBOX);
  EXPECT_FALSE(before->style & WS_MAXIMIZEBOX);

  for (WPARAM cmd : {WPARAM{SC_MAXIMIZE}, WPARAM{SC_MAXIMIZE | 2}}) {  // menu, caption double click
    ASSERT_TRUE(SysCommand(app.hwnd(), cmd));
    auto after = QueryWindow(app.hwnd());
    ASSERT_TRUE(after);
    EXPECT_FALSE(after->zoomed) << std::hex << cmd;
    EXPECT_TRUE(EqualRect(&after->rect, &before->rect)) << std::hex << cmd;
  }

  // Other system commands still reach the default handling.
  ASSERT_TRUE(SysCommand(app.hwnd(), SC_MINIMIZE));
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(app.hwnd()) != FALSE; }));
  ASSERT_TRUE(SysCommand(app.hwnd(), SC_RESTORE));
  EXPECT_TRUE(WaitUntil([&] {
    RECT r;
    return !IsIconic(app.hwnd()) && GetWindowRect(app.hwnd(), &r) && EqualRect(&r, &before->rect);
  }));
  EXPECT_TRUE(app.Running());
}

TEST_F(ShellTest, AltF4EndsTheProgramAndSavesTheSettings) {
  AppProcess app;
  ASSERT_TRUE(app.Start()) << app.error();
  ASSERT_TRUE(app.Activate());
  ASSERT_TRUE(KeyTap(VK_F4, kAlt));
  const auto code = app.WaitExit();
  ASSERT_TRUE(code) << "still running after Alt+F4";
  EXPECT_EQ(*code, 0u);
  EXPECT_EQ(FileSize(app.settings_path()), kSettingsFileSize);
}

TEST_F(ShellTest, CloseMessageEndsTheProgramAndSavesTheSettings) {
  AppProcess app;
  ASSERT_TRUE(app.Start()) << app.error();
  const auto code = app.Close();
  ASSERT_TRUE(code) << "still running after WM_CLOSE";
  EXPECT_EQ(*code, 0u);
  EXPECT_EQ(FileSize(app.settings_path()), kSettingsFileSize);
}

// ---- planted libraries ---------------------------------------------------------------------

// Libraries the program looks up at run time (or the toolkit loads for it). version.dll is not
// planted: Wine's own user32 imports it, so a copy beside any window program is bound by Wine
// itself, whatever the program does. Its static import is checked below instead, which is the way
// it would be picked up on Windows.
struct Planted {
  const wchar_t* file;
};
const Planted kPlanted[] = {{L"dwmapi.dll"}, {L"psapi.dll"}, {L"uxtheme.dll"}};

AppOptions PlantingOptions() {
  AppOptions o;
  const std::wstring plant_dir = ExeFolder() + L"plant\\";
  for (const Planted& p : kPlanted) {
    o.plant.emplace_back(plant_dir + p.file, p.file);
    const std::wstring base(p.file);
    o.prefer_native_dlls.push_back(base.substr(0, base.size() - 4));
  }
  return o;
}

std::vector<std::wstring> MarkersIn(const AppProcess& p) {
  std::vector<std::wstring> found;
  for (const Planted& lib : kPlanted)
    if (FileExists(p.FilePath(std::wstring(lib.file) + L".loaded"))) found.push_back(lib.file);
  return found;
}

std::string Join(const std::vector<std::wstring>& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : ", ") + std::string(n.begin(), n.end());
  return out;
}

TEST_F(ShellTest, PlantedLibrariesWouldBeLoadedByACarelessProgram) {
  // Control: without it a broken plant (override not applied, library that cannot load) would
  // make the next test pass for the wrong reason.
  AppOptions o = PlantingOptions();
  o.program = ExeFolder() + L"plant\\e2e_dll_probe.exe";
  o.args = L"dwmapi.dll psapi.dll uxtheme.dll";
  o.wait_for_window = false;
  AppProcess probe;
  ASSERT_TRUE(probe.Start(o)) << probe.error();
  const auto loaded = probe.WaitExit();
  ASSERT_TRUE(loaded);
  EXPECT_EQ(*loaded, 3u);
  EXPECT_EQ(Join(MarkersIn(probe)), "dwmapi.dll, psapi.dll, uxtheme.dll");
}

TEST(ShellImports, ProgramFileImportsNoLibraryThatCouldBePlantedBesideIt) {
  // Windows resolves static and delay-load imports of these through the program's own folder.
  auto imports = PeImports(AppSourcePath());
  ASSERT_TRUE(imports) << "cannot read the import tables";
  EXPECT_FALSE(imports->empty());
  for (const std::string& name : *imports)
    for (const char* bad : {"version.dll", "dwmapi.dll", "psapi.dll", "uxtheme.dll"})
      EXPECT_NE(name, bad) << "imports " << bad;
}

TEST_F(ShellTest, NeverLoadsLibrariesPlantedBesideTheProgram) {
  const RECT area{600, 300, 1000, 600};
  PatternWindow pattern(area, /*topmost=*/true);
  ASSERT_TRUE(pattern.WaitShown());

  AppProcess app;
  ASSERT_TRUE(app.Start(PlantingOptions()))
      << app.error() << " (a planted library without the real exports stops the start)";
  // Run a few capture cycles over the pattern, at two points, so that capture, window
  // identification and the owner-program lookup all run.
  for (POINT at : {POINT{800, 450}, POINT{700, 380}}) {
    ASSERT_TRUE(MovePointer(at.x, at.y));
    RECT client;
    ASSERT_TRUE(GetClientRect(app.hwnd(), &client));
    MapWindowPoints(app.hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_TRUE(WaitUntil([&] {
      auto grab = ScreenGrab::Take(client);
      return grab && CountPatternPixels(*grab, client, at, 40) >= 100;
    })) << "the window never showed the pattern around " << at.x << "," << at.y;
  }
  const auto code = app.Close();
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(Join(MarkersIn(app)), "") << "libraries planted beside the program were loaded";
}

}  // namespace
}  // namespace viz::e2e
