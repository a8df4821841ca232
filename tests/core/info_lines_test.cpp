#include "info/info_lines.h"

#include <gtest/gtest.h>

#include <set>

using namespace viz;

namespace {

CaptureInfo Sample() {
  CaptureInfo i;
  i.Red = 255;
  i.Green = 8;
  i.Blue = 16;
  i.HtmlColor = 0xFF0810;
  i.ColorRef = 0x1008FF;
  i.ScreenPos = {100, 200};
  i.ClientOrigin = {40, 150};
  i.UserOrigin = {97, 200};
  i.Handle = 0x000A01C4;
  i.ClassName = L"Notepad";
  i.Text = L"無題 - %s %1:d";
  i.WindowPos = {-8, 12, 640, 480};
  i.ClientRect = {0, 0, 624, 441};
  i.WindowRect = {-8, 12, 632, 492};
  i.ExeName = L"C:\\Windows\\system32\\notepad.exe";
  return i;
}

std::wstring Display(InfoLine l) { return DisplayLineText(l, Sample()); }
std::wstring Copy(InfoLine l, bool shift) { return CopyLineText(l, Sample(), shift); }

}  // namespace

TEST(InfoLines, TableHasEachDisplayAndCopyCommandOnceInPanelOrder) {
  std::set<Cmd> seen;
  for (int k = 0; k < kInfoLineCount; ++k) {
    const InfoLineDef& d = InfoLineDefs()[k];
    EXPECT_EQ(static_cast<int>(d.line), k);
    EXPECT_TRUE(seen.insert(d.display).second);
    EXPECT_TRUE(seen.insert(d.copy).second);
    EXPECT_EQ(InfoLineOfCopyCommand(d.copy), d.line);
  }
  EXPECT_EQ(InfoLineDefs()[0].display, Cmd::Color_RGB);
  EXPECT_EQ(InfoLineDefs()[12].copy, Cmd::Copy_WinInfoExeName);
  EXPECT_FALSE(InfoLineOfCopyCommand(Cmd::Copy_All));
  EXPECT_FALSE(InfoLineOfCopyCommand(Cmd::Copy_Picture));
}

TEST(InfoLines, DisplayTexts) {
  EXPECT_EQ(Display(InfoLine::ColorRGB), L"RGB      R=255 G=8   B=16 ");
  EXPECT_EQ(Display(InfoLine::ColorHTML), L"HTML     ff0810");
  EXPECT_EQ(Display(InfoLine::ColorCOLORREF), L"COLORREF 1008ff 1050879");
  EXPECT_EQ(Display(InfoLine::PosScreen), L"ｽｸﾘｰﾝ    X=100 Y=200");
  EXPECT_EQ(Display(InfoLine::PosClient), L"ｸﾗｲｱﾝﾄ   X=60 Y=50 (40,150)");
  EXPECT_EQ(Display(InfoLine::WinHandle), L"ﾊﾝﾄﾞﾙ    000a01c4 655812");
  EXPECT_EQ(Display(InfoLine::WinClassName), L"ｸﾗｽ名    Notepad");
  EXPECT_EQ(Display(InfoLine::WinText), L"ﾃｷｽﾄ     無題 - %s %1:d");
  EXPECT_EQ(Display(InfoLine::WinWindowSize), L"Wｻｲｽﾞ    L=-8 T=12 W=640 H=480");
  EXPECT_EQ(Display(InfoLine::WinClientSize), L"Cｻｲｽﾞ    W=624 H=441");
  EXPECT_EQ(Display(InfoLine::WinRect), L"Rect     L=-8 T=12 R=632 B=492");
  EXPECT_EQ(Display(InfoLine::WinExeName), L"実行ﾌｧｲﾙ C:\\Windows\\system32\\notepad.exe");
  EXPECT_EQ(DisplayLineText(InfoLine::ColorHTML, CaptureInfo{}), L"HTML     000000");
}

TEST(InfoLines, DistanceCountsPixelsInclusively) {
  CaptureInfo i = Sample();  // 3 px right of the origin, same row
  EXPECT_EQ(DisplayLineText(InfoLine::PosUser, i), L"長さ     W=4 H=1 (97,200)");
  EXPECT_EQ(CopyLineText(InfoLine::PosUser, i, false), L"4, 1");
  i.ScreenPos = i.UserOrigin;
  EXPECT_EQ(CopyLineText(InfoLine::PosUser, i, true), L"(1, 1)");
  i.ScreenPos = {90, 190};  // left of and above the origin
  EXPECT_EQ(CopyLineText(InfoLine::PosUser, i, false), L"8, 11");
  // Extreme coordinates must not overflow.
  i.ScreenPos = {INT32_MAX, INT32_MIN};
  i.UserOrigin = {INT32_MIN, INT32_MAX};
  EXPECT_EQ(CopyLineText(InfoLine::PosUser, i, false), L"4294967296, 4294967296");
}

TEST(InfoLines, CopyTextsPlainAndWithShift) {
  EXPECT_EQ(Copy(InfoLine::ColorRGB, false), L"255 8 16");
  EXPECT_EQ(Copy(InfoLine::ColorRGB, true), L"ff 8 10");
  EXPECT_EQ(Copy(InfoLine::ColorHTML, false), L"ff0810");
  EXPECT_EQ(Copy(InfoLine::ColorHTML, true), L"16713744");
  EXPECT_EQ(Copy(InfoLine::ColorCOLORREF, false), L"1050879");
  EXPECT_EQ(Copy(InfoLine::ColorCOLORREF, true), L"1008ff");
  EXPECT_EQ(Copy(InfoLine::PosScreen, false), L"100, 200");
  EXPECT_EQ(Copy(InfoLine::PosClient, true), L"(60, 50)");
  EXPECT_EQ(Copy(InfoLine::WinHandle, false), L"655812");
  EXPECT_EQ(Copy(InfoLine::WinHandle, true), L"000a01c4");
  EXPECT_EQ(Copy(InfoLine::WinClassName, true), L"\"Notepad\"");
  EXPECT_EQ(Copy(InfoLine::WinText, false), L"無題 - %s %1:d");
  EXPECT_EQ(Copy(InfoLine::WinWindowSize, false), L"-8, 12, 640, 480");
  EXPECT_EQ(Copy(InfoLine::WinClientSize, true), L"(624, 441)");
  EXPECT_EQ(Copy(InfoLine::WinRect, true), L"(-8, 12, 632, 492)");
  EXPECT_EQ(Copy(InfoLine::WinExeName, false), L"C:\\Windows\\system32\\notepad.exe");
  EXPECT_EQ(Copy(InfoLine::WinExeName, true), L"notepad.exe");
  CaptureInfo high;
  high.Handle = 0x80000010u;
  EXPECT_EQ(CopyLineText(InfoLine::WinHandle, high, true), L"80000010");
  EXPECT_EQ(CopyLineText(InfoLine::WinHandle, high, false), L"2147483664");
}

TEST(InfoLines, CopyCollectsOwnLineOrAllThirteen) {
  const CaptureInfo i = Sample();
  EXPECT_EQ(CopyLinesFor(Cmd::Copy_WinInfoHandle, i, true),
            std::vector<std::wstring>{L"000a01c4"});
  EXPECT_TRUE(CopyLinesFor(Cmd::Copy_Picture, i, false).empty());
  EXPECT_TRUE(CopyLinesFor(Cmd::Zoom_Up, i, false).empty());
  const auto all = CopyLinesFor(Cmd::Copy_All, i, true);  // Shift does not matter here
  ASSERT_EQ(all.size(), size_t(kInfoLineCount));
  for (int k = 0; k < kInfoLineCount; ++k)
    EXPECT_EQ(all[k], DisplayLineText(static_cast<InfoLine>(k), i));
}

TEST(InfoLines, JoinPutsCrLfAfterEachLineAndTrimsTheEnd) {
  const std::vector<std::wstring> lines = {L"a b", L"", L"c \t"};
  const JoinedCopy j = JoinCopyLines(lines);
  EXPECT_EQ(j.text, L"a b\r\n\r\nc \t\r\n");
  EXPECT_EQ(j.trimmed, L"a b\r\n\r\nc");
  EXPECT_EQ(JoinCopyLines({}).text, L"");
  const std::vector<std::wstring> blank = {L" ", L"\x1f"};
  EXPECT_EQ(JoinCopyLines(blank).trimmed, L"");
  EXPECT_EQ(CopyNoticeText(L"カラー情報/HTML", L"ff0810\r\n"), L"カラー情報/HTMLをｺﾋﾟｰ ff0810\r\n");
  EXPECT_EQ(CopyNoticeText(L"%s", L"%d"), L"%sをｺﾋﾟｰ %d");
}

TEST(InfoLines, VisibleLinesAndPanelHeight) {
  CommandList commands;  // defaults: RGB, HTML, screen, handle, class name, text
  const std::vector<InfoLine> defaults = {InfoLine::ColorRGB, InfoLine::ColorHTML,
                                          InfoLine::PosScreen, InfoLine::WinHandle,
                                          InfoLine::WinClassName, InfoLine::WinText};
  EXPECT_EQ(VisibleInfoLines(commands), defaults);
  EXPECT_EQ(InfoPanelHeight(15, defaults.size()), 15 * 7);
  for (const InfoLineDef& d : InfoLineDefs()) commands.SetChecked(d.display, false);
  EXPECT_TRUE(VisibleInfoLines(commands).empty());
  EXPECT_EQ(InfoPanelHeight(15, 0), 15);  // status line only
  commands.SetChecked(Cmd::WinInfo_ExeName, true);
  commands.SetChecked(Cmd::Pos_User, true);
  EXPECT_EQ(VisibleInfoLines(commands),
            (std::vector<InfoLine>{InfoLine::PosUser, InfoLine::WinExeName}));
}

TEST(InfoLines, AllOnOffChecksAllUnlessAllAreChecked) {
  CommandList commands;  // RGB and HTML on, COLORREF off
  EXPECT_TRUE(ToggleInfoGroup(commands, InfoGroup::Color));
  for (Cmd c : InfoGroupCommands(InfoGroup::Color)) EXPECT_TRUE(commands.Checked(c));
  EXPECT_FALSE(ToggleInfoGroup(commands, InfoGroup::Color));
  for (Cmd c : InfoGroupCommands(InfoGroup::Color)) EXPECT_FALSE(commands.Checked(c));
  EXPECT_TRUE(commands.Checked(Cmd::Pos_Screen));  // other groups untouched

  EXPECT_EQ(InfoGroupCommands(InfoGroup::WinInfo).size(), 7u);
  EXPECT_EQ(InfoGroupOfOnOffCommand(Cmd::Pos_InfoOnOff), InfoGroup::Pos);
  EXPECT_FALSE(InfoGroupOfOnOffCommand(Cmd::Pos_User));
}

TEST(InfoLines, ZoomLabel) {
  EXPECT_EQ(ZoomLabel(1), L" 1倍");
  EXPECT_EQ(ZoomLabel(16), L"16倍");
}
