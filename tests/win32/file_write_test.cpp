#include "info/file_write_win.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/shell_open_win.h"
#include "test_windows.h"

namespace viz {
namespace {

std::string ReadAll(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string s(GetFileSize(f, nullptr), '\0');
  DWORD got = 0;
  ReadFile(f, s.data(), static_cast<DWORD>(s.size()), &got, nullptr);
  CloseHandle(f);
  s.resize(got);
  return s;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class FileWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    dir = std::wstring(tmp) + L"viz-fw-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    // Wine maps non-ASCII names to Unix ones only under a UTF-8 host locale, which the Japanese
    // set-up has and the plain one may lack.
    file = dir + (GetACP() == 932 ? L"設定.bin" : L"settings.bin");
  }
  void TearDown() override {
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
    RemoveDirectoryW((file + L".tmp").c_str());
    DeleteFileW((file + L".tmp").c_str());
    RemoveDirectoryW(dir.c_str());
  }
  bool Replace(const std::string& s) { return ReplaceFileAtomically(file, s.data(), s.size()); }

  std::wstring dir, file;
};

TEST_F(FileWriteTest, WholeFileIsCreatedAndReplacedExactly) {
  std::string first(5000, 'a'), second = "short\r\n";
  std::wstring msg;
  EXPECT_EQ(WriteWholeFile(file, first.data(), first.size(), &msg), WriteResult::Ok);
  EXPECT_EQ(ReadAll(file), first);
  EXPECT_EQ(WriteWholeFile(file, second.data(), second.size(), &msg), WriteResult::Ok);
  EXPECT_EQ(ReadAll(file), second);  // truncated, not overlaid
  EXPECT_EQ(WriteWholeFile(file, nullptr, 0, &msg), WriteResult::Ok);
  EXPECT_EQ(ReadAll(file), "");
}

TEST_F(FileWriteTest, MissingFolderCannotBeCreatedAndSaysWhy) {
  std::wstring msg;
  EXPECT_EQ(WriteWholeFile(dir + L"no\\such\\x.txt", "x", 1, &msg), WriteResult::CannotCreate);
  EXPECT_FALSE(msg.empty());
  EXPECT_EQ(msg.find(L'\n'), std::wstring::npos);
}

TEST_F(FileWriteTest, AtomicReplaceWritesNewContentAndLeavesNoTemporaryFile) {
  EXPECT_TRUE(Replace("one"));
  EXPECT_EQ(ReadAll(file), "one");
  EXPECT_TRUE(Replace("two, longer"));
  EXPECT_EQ(ReadAll(file), "two, longer");
  EXPECT_FALSE(Exists(file + L".tmp"));
}

TEST_F(FileWriteTest, OldFileSurvivesWhenTheTemporaryFileCannotBeWritten) {
  ASSERT_TRUE(Replace("old"));
  ASSERT_TRUE(CreateDirectoryW((file + L".tmp").c_str(), nullptr));  // blocks the temporary name
  EXPECT_FALSE(Replace("new"));
  EXPECT_EQ(ReadAll(file), "old");
}

TEST_F(FileWriteTest, OldFileSurvivesWhenItCannotBeReplaced) {
  ASSERT_TRUE(Replace("old"));
  // Open without delete sharing: the target cannot be replaced while this handle lives.
  HANDLE lock = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(Replace("new"));
  CloseHandle(lock);
  EXPECT_EQ(ReadAll(file), "old");
  EXPECT_FALSE(Exists(file + L".tmp"));
  EXPECT_TRUE(Replace("new"));  // and works again once released
  EXPECT_EQ(ReadAll(file), "new");
}

TEST(ExePath, IsTheRunningExecutable) {
  std::wstring p = GetExePath();
  EXPECT_TRUE(test::SameFileName(p, test::ModulePath())) << p.c_str();
  EXPECT_EQ(p.find(L"\\Device\\"), std::wstring::npos);
}

TEST(ShellOpen, MissingFileIsReportedWithoutABox) {
  EXPECT_FALSE(OpenWithAssociatedProgram(nullptr, L"C:\\no\\such\\file-viz.txt"));
  EXPECT_FALSE(OpenWithAssociatedProgram(nullptr, L""));
}

}  // namespace
}  // namespace viz
