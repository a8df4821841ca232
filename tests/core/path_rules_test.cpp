#include "platform/path_rules.h"

#include <gtest/gtest.h>

using namespace viz;

TEST(PathRules, ChangeFileExtReplacesOnlyTheLastElementsExtension) {
  EXPECT_EQ(ChangeFileExtW(L"C:\\tools\\vizmoria.exe", L".bin"), L"C:\\tools\\vizmoria.bin");
  EXPECT_EQ(ChangeFileExtW(L"C:\\a.b\\c", L".bin"), L"C:\\a.b\\c.bin");
  EXPECT_EQ(ChangeFileExtW(L"C:/a.b/c", L".bin"), L"C:/a.b/c.bin");
  EXPECT_EQ(ChangeFileExtW(L"C:\\x\\name.tar.gz", L".txt"), L"C:\\x\\name.tar.txt");
  EXPECT_EQ(ChangeFileExtW(L"C:", L".bin"), L"C:.bin");
  EXPECT_EQ(ChangeFileExtW(L"C:\\dir\\", L".bin"), L"C:\\dir\\.bin");
  EXPECT_EQ(ChangeFileExtW(L"name", L".bin"), L"name.bin");
  EXPECT_EQ(ChangeFileExtW(L"", L".bin"), L".bin");
  EXPECT_EQ(ChangeFileExtW(L".x", L".bin"), L".bin");
  EXPECT_EQ(ChangeFileExtW(L"C:\\dir\\.x", L".bin"), L"C:\\dir\\.bin");
  EXPECT_EQ(ChangeFileExtW(L"a.", L".bin"), L"a.bin");
}

TEST(PathRules, ChangeFileExtAddsMissingDotAndAllowsEmptyExtension) {
  EXPECT_EQ(ChangeFileExtW(L"C:\\v.exe", L"bmp"), L"C:\\v.bmp");
  EXPECT_EQ(ChangeFileExtW(L"C:\\v.exe", L""), L"C:\\v");
  EXPECT_EQ(ChangeFileExtW(L"C:\\v", L""), L"C:\\v");
}

TEST(PathRules, ExtractFileName) {
  EXPECT_EQ(ExtractFileNameW(L"C:\\Windows\\notepad.exe"), L"notepad.exe");
  EXPECT_EQ(ExtractFileNameW(L"C:/Program Files/a b.exe"), L"a b.exe");
  EXPECT_EQ(ExtractFileNameW(L"C:x.exe"), L"x.exe");
  EXPECT_EQ(ExtractFileNameW(L"x.exe"), L"x.exe");
  EXPECT_EQ(ExtractFileNameW(L"C:\\dir\\"), L"");
  EXPECT_EQ(ExtractFileNameW(L""), L"");
}

TEST(PathRules, AnsiArgPathLosesQuestionMarks) {
  EXPECT_EQ(SanitizeAnsiArgPath("C:\\??\\a?.exe"), "C:\\__\\a_.exe");
  EXPECT_EQ(SanitizeAnsiArgPath("C:\\a.exe"), "C:\\a.exe");
}
