// The settings file on disk: what the loader accepts, what a failed save leaves behind, the
// file's path, and what the main window takes from a file beside the program.
#include "app/settings_file_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "platform/path_rules.h"
#include "info/file_write_win.h"
#include "test_windows.h"

namespace viz {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  Bytes b(GetFileSize(f, nullptr));
  DWORD got = 0;
  if (!b.empty()) ReadFile(f, b.data(), static_cast<DWORD>(b.size()), &got, nullptr);
  CloseHandle(f);
  b.resize(got);
  return b;
}

bool WriteAll(const std::wstring& path, const Bytes& b) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  const bool ok = b.empty() || WriteFile(f, b.data(), static_cast<DWORD>(b.size()), &put, nullptr);
  CloseHandle(f);
  return ok && put == b.size();
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A file the program could have written: every block field set.
SettingsFile Sample(int32_t seed) {
  SettingsFile f;
  f.block.windowLeft = seed;
  f.block.windowTop = seed + 1;
  f.block.windowRight = seed + 300;
  f.block.windowBottom = seed + 200;
  f.block.zoomIndex = 3;
  f.block.gridColor = 0x123456;
  f.block.reserved1 = {1, 2, 3, 4};
  f.block.reserved2 = {5, 6, 7, 8};
  f.keys[49] = {0x0D, 6090};
  f.gestures = {8001, 0, 2010, 7011};
  return f;
}

Bytes Encoded(const SettingsFile& f) {
  const auto a = EncodeSettings(f);
  return Bytes(a.begin(), a.end());
}

// Unix commands for what Windows calls cannot do under Wine: this suite runs as root, for whom
// no permission bit makes a folder unwritable, but an immutable folder is. Wine starts an ELF
// program without handing back a process, so the command reports through a status file.
std::string UnixPathOf(const std::wstring& path) {
  using ToUnix = char*(CDECL*)(const WCHAR*);
  auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* p = toUnix(path.c_str());
  if (!p) return {};
  std::string out(p);
  HeapFree(GetProcessHeap(), 0, p);
  return out;
}

bool RunUnix(const std::string& command) {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring status = std::wstring(temp) + L"viz-sf-" +
                              std::to_wstring(GetCurrentProcessId()) + L".status";
  DeleteFileW(status.c_str());
  const std::string su = UnixPathOf(status);
  if (su.empty()) return false;
  const std::string script = "(" + command + ") >/dev/null 2>&1; echo $? > '" + su + ".t' && mv '" +
                             su + ".t' '" + su + "'";
  std::wstring cmd = L"Z:\\bin\\sh -c \"";
  for (char c : script) cmd.push_back(c == '"' ? L'\'' : static_cast<wchar_t>(c));
  cmd += L"\"";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  for (int i = 0; i < 1000; ++i) {
    const Bytes b = ReadAll(status);
    if (!b.empty()) {
      DeleteFileW(status.c_str());
      return std::atoi(std::string(b.begin(), b.end()).c_str()) == 0;
    }
    Sleep(10);
  }
  return false;
}

class SettingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    dir = std::wstring(tmp) + L"viz-sf-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    file = dir + L"vizmoria.bin";
  }
  void TearDown() override {
    if (immutable) RunUnix("chattr -i '" + UnixPathOf(dir) + "'");
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
    RemoveDirectoryW(file.c_str());
    RemoveDirectoryW((file + L".tmp").c_str());
    DeleteFileW((file + L".tmp").c_str());
    RemoveDirectoryW(dir.c_str());
  }

  // The old file is still there, whole and unchanged, and no temporary file is left over.
  void ExpectOldFileKept(const Bytes& old) {
    EXPECT_EQ(ReadAll(file), old);
    const auto loaded = LoadSettingFileFrom(file);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, Sample(10));
  }

  std::wstring dir, file;
  bool immutable = false;
};

TEST_F(SettingFileTest, LoaderTakesFilesOfAtLeastTheFullSize) {
  Bytes b = Encoded(Sample(7));
  ASSERT_EQ(b.size(), 343u);
  ASSERT_TRUE(WriteAll(file, Bytes(b.begin(), b.end() - 1)));
  EXPECT_FALSE(LoadSettingFileFrom(file));

  ASSERT_TRUE(WriteAll(file, b));
  auto got = LoadSettingFileFrom(file);
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, Sample(7));

  Bytes longer = b;
  for (size_t k = 6; k < 22; ++k) longer[k] = 0xA5;  // header padding may hold anything
  longer.resize(5000, 0xEE);
  ASSERT_TRUE(WriteAll(file, longer));
  got = LoadSettingFileFrom(file);
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, Sample(7));

  Bytes foreign = b;
  foreign[5] = 2;
  ASSERT_TRUE(WriteAll(file, foreign));
  EXPECT_FALSE(LoadSettingFileFrom(file));

  ASSERT_TRUE(DeleteFileW(file.c_str()));
  EXPECT_FALSE(LoadSettingFileFrom(file));
  ASSERT_TRUE(CreateDirectoryW(file.c_str(), nullptr));
  EXPECT_FALSE(FileExistsW(file));
  EXPECT_FALSE(LoadSettingFileFrom(file));
}

TEST_F(SettingFileTest, LoaderRejectsAFileItCannotOpenOrRead) {
  ASSERT_TRUE(WriteAll(file, Encoded(Sample(7))));
  {
    // Another program holds the file without sharing it.
    HANDLE lock = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(LoadSettingFileFrom(file));
    CloseHandle(lock);
  }
  EXPECT_TRUE(LoadSettingFileFrom(file));
  EXPECT_EQ(GetFileSize64(INVALID_HANDLE_VALUE), 0u);
  EXPECT_EQ(GetFileSize64(nullptr), 0u);
}

TEST_F(SettingFileTest, SaveWritesTheWholeImageAndReplacesTheOldOne) {
  EXPECT_TRUE(SaveSettingFileTo(file, Sample(10)));
  EXPECT_EQ(ReadAll(file), Encoded(Sample(10)));
  EXPECT_TRUE(SaveSettingFileTo(file, Sample(20)));
  EXPECT_EQ(ReadAll(file), Encoded(Sample(20)));
  EXPECT_FALSE(Exists(file + L".tmp"));

  // A longer file from elsewhere is replaced by exactly 343 bytes.
  Bytes longer = Encoded(Sample(30));
  longer.resize(1000, 0xEE);
  ASSERT_TRUE(WriteAll(file, longer));
  EXPECT_TRUE(SaveSettingFileTo(file, Sample(40)));
  EXPECT_EQ(ReadAll(file), Encoded(Sample(40)));
}

TEST_F(SettingFileTest, SaveIntoAMissingFolderCreatesNothing) {
  const std::wstring missing = dir + L"no\\such\\vizmoria.bin";
  EXPECT_FALSE(SaveSettingFileTo(missing, Sample(10)));
  EXPECT_FALSE(Exists(dir + L"no"));
}

TEST_F(SettingFileTest, FailedSaveLeavesTheOldFileWhole) {
  ASSERT_TRUE(SaveSettingFileTo(file, Sample(10)));
  const Bytes old = ReadAll(file);

  // The temporary name is taken by a folder: the new content has nowhere to go.
  ASSERT_TRUE(CreateDirectoryW((file + L".tmp").c_str(), nullptr));
  EXPECT_FALSE(SaveSettingFileTo(file, Sample(20)));
  ExpectOldFileKept(old);
  ASSERT_TRUE(RemoveDirectoryW((file + L".tmp").c_str()));

  // The old file is open without delete sharing, so it cannot be replaced.
  HANDLE lock = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(SaveSettingFileTo(file, Sample(20)));
  CloseHandle(lock);
  ExpectOldFileKept(old);
  EXPECT_FALSE(Exists(file + L".tmp"));
}

TEST_F(SettingFileTest, ReadOnlyFileIsLeftAlone) {
  ASSERT_TRUE(SaveSettingFileTo(file, Sample(10)));
  const Bytes old = ReadAll(file);
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(SaveSettingFileTo(file, Sample(20)));
  ExpectOldFileKept(old);
  EXPECT_FALSE(Exists(file + L".tmp"));
  // It is still read.
  EXPECT_TRUE(LoadSettingFileFrom(file));
}

TEST_F(SettingFileTest, ReadOnlyFolderIsLeftAlone) {
  ASSERT_TRUE(SaveSettingFileTo(file, Sample(10)));
  const Bytes old = ReadAll(file);
  immutable = RunUnix("chattr +i '" + UnixPathOf(dir) + "'");
  if (!immutable) GTEST_SKIP() << "no chattr here";
  EXPECT_FALSE(SaveSettingFileTo(file, Sample(20)));
  ExpectOldFileKept(old);
  EXPECT_FALSE(Exists(file + L".tmp"));
  SaveSettingFile(Sample(20));  // the silent form does not throw or show anything either
}

TEST(SettingFilePath, IsTheProgramsOwnPathWithBin) {
  const std::wstring exe = GetExePath();
  const std::wstring module = test::ModulePath();
  ASSERT_TRUE(test::SameFileName(exe, module)) << exe.c_str();
  const std::wstring bin = ChangeFileExtW(exe, L".bin");
  ASSERT_GT(exe.size(), 4u);
  EXPECT_TRUE(test::SameFileName(bin, exe.substr(0, exe.size() - 4) + L".bin")) << bin.c_str();
  EXPECT_TRUE(test::SameFileName(SettingFilePath(), bin));
  EXPECT_EQ(ChangeFileExtW(exe, L"bin"), bin);
}

// The main window created in this process reads the file beside this test program.
class AppliedSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = SettingFilePath();
    ASSERT_TRUE(MainWindow::RegisterClass(GetModuleHandleW(nullptr)));
  }
  void TearDown() override {
    win_.reset();
    test::PumpPending();
    DeleteFileW(path_.c_str());
  }
  void Open(const SettingsFile& f) {
    ASSERT_TRUE(WriteAll(path_, Encoded(f)));
    win_ = std::make_unique<MainWindow>();
    ASSERT_TRUE(win_->Create(GetModuleHandleW(nullptr)));
    test::PumpPending();
  }
  std::wstring path_;
  std::unique_ptr<MainWindow> win_;
};

TEST_F(AppliedSettingsTest, ZoomIndexPastTheListGivesTheLargestZoom) {
  SettingsFile f;
  f.block.zoomIndex = 200;
  Open(f);
  EXPECT_EQ(win_->Zoom(), 20);
  EXPECT_TRUE(win_->Commands().Checked(Cmd::Zoom_20));
}

TEST_F(AppliedSettingsTest, OriginAndFixedPointAreClampedIntoTheDesktop) {
  const RECT d{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
               GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
               GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  SettingsFile f;
  f.block.zoomIndex = 4;
  f.block.userOriginX = INT32_MIN;
  f.block.userOriginY = INT32_MAX;
  f.block.captureFlags = 2;
  f.block.capturePointX = INT32_MAX;
  f.block.capturePointY = -99999;
  Open(f);
  EXPECT_EQ(win_->LastCapture().UserOrigin.x, d.left);
  EXPECT_EQ(win_->LastCapture().UserOrigin.y, d.bottom);
  EXPECT_TRUE(win_->Commands().Checked(Cmd::Capture_Fixed));
  EXPECT_EQ(win_->LastCapture().ScreenPos.x, d.right - 1);
  EXPECT_EQ(win_->LastCapture().ScreenPos.y, d.top);

  win_.reset();  // saves
  test::PumpPending();
  const auto saved = LoadSettingFileFrom(path_);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->block.userOriginX, d.left);
  EXPECT_EQ(saved->block.capturePointX, d.right - 1);
}

TEST_F(AppliedSettingsTest, DamagedWindowBoundsStillGiveAUsableWindow) {
  SettingsFile f;
  f.block.windowLeft = INT32_MIN;
  f.block.windowTop = INT32_MIN;
  f.block.windowRight = INT32_MAX;
  f.block.windowBottom = INT32_MAX;
  Open(f);
  RECT r;
  ASSERT_TRUE(GetWindowRect(win_->hwnd(), &r));
  EXPECT_GT(r.right - r.left, 50);
  EXPECT_GT(r.bottom - r.top, 50);
  // Off every monitor, so it came back to the desktop's corner.
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
}

TEST_F(AppliedSettingsTest, QueryEndSessionSavesOnceAndCloseDoesNotWriteAgain) {
  SettingsFile f;
  f.block.zoomIndex = 2;
  Open(f);
  EXPECT_EQ(SendMessageW(win_->hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  auto saved = LoadSettingFileFrom(path_);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->block.zoomIndex, 2);
  const Bytes marker(343, 0x5A);
  ASSERT_TRUE(WriteAll(path_, marker));
  win_.reset();
  test::PumpPending();
  EXPECT_EQ(ReadAll(path_), marker);
}

}  // namespace
}  // namespace viz
