// A release package as a user gets it: unpacked by the package test script into a fresh folder
// (%VIZ_PACKAGE_DIR%), named with its version (%VIZ_PACKAGE_VERSION%) and architecture
// (%VIZ_PACKAGE_ARCH%). The program is started where it was unpacked, not from a copy.
#include <gtest/gtest.h>

#include <cstring>

#include "harness.h"  // <windows.h> first: <winver.h> needs its types

#include <winver.h>

namespace viz::e2e {
namespace {

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

// "1.2.3.4" from the fixed file information; empty without a version resource.
std::wstring FixedFileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<uint8_t> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) || !fixed ||
      len < sizeof *fixed)
    return {};
  return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
         std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
         std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
         std::to_wstring(LOWORD(fixed->dwFileVersionLS));
}

// A version as four numbers, missing trailing parts being 0 ("1.0.0" is "1.0.0.0").
std::wstring FourPartVersion(std::wstring v) {
  int dots = 0;
  for (wchar_t c : v) dots += c == L'.';
  for (; dots < 3; ++dots) v += L".0";
  return v;
}

// The machine field of a PE file's header.
std::optional<WORD> PeMachine(const std::wstring& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes || bytes->size() < sizeof(IMAGE_DOS_HEADER)) return std::nullopt;
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, bytes->data(), sizeof dos);
  const size_t at = static_cast<size_t>(dos.e_lfanew) + 4;
  if (dos.e_magic != IMAGE_DOS_SIGNATURE || at + sizeof(WORD) > bytes->size()) return std::nullopt;
  WORD machine;
  std::memcpy(&machine, bytes->data() + at, sizeof machine);
  return machine;
}

TEST(PackageTest, UnpackedProgramIsTheNamedVersionAndArchitectureAndKeepsItsSettingsBesideItself) {
  const auto dir_env = EnvVar(L"VIZ_PACKAGE_DIR");
  const auto version = EnvVar(L"VIZ_PACKAGE_VERSION");
  const auto arch = EnvVar(L"VIZ_PACKAGE_ARCH");
  if (!dir_env || !version || !arch) GTEST_SKIP() << "run by the package test script only";
  std::wstring dir = WindowsPathOf(Narrow(*dir_env));
  if (dir.back() != L'\\') dir += L'\\';
  const std::wstring exe = dir + L"vizmoria.exe";

  ASSERT_TRUE(FileExists(exe));
  EXPECT_TRUE(FileExists(dir + L"README.txt"));
  EXPECT_TRUE(FileExists(dir + L"vizmoria-help.html"));
  EXPECT_TRUE(FileExists(dir + L"vizmoria-help-en.html"));
  EXPECT_EQ(FixedFileVersion(exe), FourPartVersion(*version));
  const auto machine = PeMachine(exe);
  ASSERT_TRUE(machine);
  EXPECT_EQ(*machine, *arch == L"x64" ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386);
  // A release program carries no debug information.
  const auto sections = PeSectionNames(exe);
  ASSERT_TRUE(sections);
  for (const std::string& name : *sections) EXPECT_NE(name.rfind(".debug", 0), 0u) << name;

  const std::wstring settings = dir + L"vizmoria.bin";
  ASSERT_FALSE(FileExists(settings)) << "a fresh package holds no settings file";
  {
    AppProcess app;
    AppOptions options;
    options.program = exe;
    options.in_place = true;
    ASSERT_TRUE(app.Start(options)) << app.error();
    auto w = QueryWindow(app.hwnd());
    ASSERT_TRUE(w);
    EXPECT_EQ(w->title, L"vizmoria");
    EXPECT_TRUE(w->visible);
    const auto code = app.Close();
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0u);
  }
  const auto bytes = ReadFileBytes(settings);
  ASSERT_TRUE(bytes) << "vizmoria.bin is written beside the program at exit";
  ASSERT_EQ(bytes->size(), 343u);
  EXPECT_EQ(std::memcmp(bytes->data(), "QORB", 4), 0);
}

}  // namespace
}  // namespace viz::e2e
