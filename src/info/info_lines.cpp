#include "info/info_lines.h"

#include <algorithm>
#include <cstdlib>

#include "platform/path_rules.h"
#include "base/format.h"

namespace viz {
namespace {

constexpr std::array<InfoLineDef, kInfoLineCount> kLines = {{
    {InfoLine::ColorRGB, Cmd::Color_RGB, Cmd::Copy_ColorRGB},
    {InfoLine::ColorHTML, Cmd::Color_HTML, Cmd::Copy_ColorHTML},
    {InfoLine::ColorCOLORREF, Cmd::Color_COLORREF, Cmd::Copy_ColorCOLORREF},
    {InfoLine::PosScreen, Cmd::Pos_Screen, Cmd::Copy_PosScreen},
    {InfoLine::PosClient, Cmd::Pos_Client, Cmd::Copy_PosClient},
    {InfoLine::PosUser, Cmd::Pos_User, Cmd::Copy_PosUser},
    {InfoLine::WinHandle, Cmd::WinInfo_Handle, Cmd::Copy_WinInfoHandle},
    {InfoLine::WinClassName, Cmd::WinInfo_ClassName, Cmd::Copy_WinInfoClassName},
    {InfoLine::WinText, Cmd::WinInfo_Text, Cmd::Copy_WinInfoText},
    {InfoLine::WinWindowSize, Cmd::WinInfo_WindowSize, Cmd::Copy_WinInfoWindowSize},
    {InfoLine::WinClientSize, Cmd::WinInfo_ClientSize, Cmd::Copy_WinInfoClientSize},
    {InfoLine::WinRect, Cmd::WinInfo_Rect, Cmd::Copy_WinInfoRect},
    {InfoLine::WinExeName, Cmd::WinInfo_ExeName, Cmd::Copy_WinInfoExeName},
}};

constexpr Cmd kColorGroup[] = {Cmd::Color_RGB, Cmd::Color_HTML, Cmd::Color_COLORREF};
constexpr Cmd kPosGroup[] = {Cmd::Pos_Screen, Cmd::Pos_Client, Cmd::Pos_User};
constexpr Cmd kWinInfoGroup[] = {Cmd::WinInfo_Handle, Cmd::WinInfo_ClassName,
                                 Cmd::WinInfo_Text, Cmd::WinInfo_WindowSize,
                                 Cmd::WinInfo_ClientSize, Cmd::WinInfo_Rect,
                                 Cmd::WinInfo_ExeName};

// Coordinates come from the system and may be anything a 32-bit value holds: differences are
// taken in 64 bits so that they cannot overflow.
int64_t ClientX(const CaptureInfo& i) { return int64_t{i.ScreenPos.x} - i.ClientOrigin.x; }
int64_t ClientY(const CaptureInfo& i) { return int64_t{i.ScreenPos.y} - i.ClientOrigin.y; }
// The distance counts pixels inclusively: a point on the origin is 1 x 1.
int64_t DistanceW(const CaptureInfo& i) {
  return std::llabs(int64_t{i.ScreenPos.x} - i.UserOrigin.x) + 1;
}
int64_t DistanceH(const CaptureInfo& i) {
  return std::llabs(int64_t{i.ScreenPos.y} - i.UserOrigin.y) + 1;
}

std::wstring Hex6(int64_t v) { return FormatW(L"%.6x", {v}); }
std::wstring Hex8(int64_t v) { return FormatW(L"%.8x", {v}); }

}  // namespace

std::span<const InfoLineDef, kInfoLineCount> InfoLineDefs() { return kLines; }

const InfoLineDef& InfoLineDefOf(InfoLine line) {
  const int i = std::clamp(static_cast<int>(line), 0, kInfoLineCount - 1);
  return kLines[static_cast<size_t>(i)];
}

std::optional<InfoLine> InfoLineOfCopyCommand(Cmd c) {
  for (const InfoLineDef& d : kLines)
    if (d.copy == c) return d.line;
  return std::nullopt;
}

std::wstring DisplayLineText(InfoLine line, const CaptureInfo& i) {
  switch (line) {
    case InfoLine::ColorRGB:
      return FormatW(Tr(Text::Line_RGB), {i.Red, i.Green, i.Blue});
    case InfoLine::ColorHTML:
      return FormatW(Tr(Text::Line_HTML), {Hex6(i.HtmlColor)});
    case InfoLine::ColorCOLORREF:
      return FormatW(Tr(Text::Line_COLORREF), {i.ColorRef, Hex6(i.ColorRef)});
    case InfoLine::PosScreen:
      return FormatW(Tr(Text::Line_Screen), {i.ScreenPos.x, i.ScreenPos.y});
    case InfoLine::PosClient:
      return FormatW(Tr(Text::Line_Client),
                     {ClientX(i), ClientY(i), i.ClientOrigin.x, i.ClientOrigin.y});
    case InfoLine::PosUser:
      return FormatW(Tr(Text::Line_User),
                     {DistanceW(i), DistanceH(i), i.UserOrigin.x, i.UserOrigin.y});
    case InfoLine::WinHandle:
      return FormatW(Tr(Text::Line_Handle), {Hex8(i.Handle), i.Handle});
    case InfoLine::WinClassName:
      return FormatW(Tr(Text::Line_ClassName), {i.ClassName});
    case InfoLine::WinText:
      return FormatW(Tr(Text::Line_Text), {i.Text});
    case InfoLine::WinWindowSize:
      return FormatW(Tr(Text::Line_WindowSize),
                     {i.WindowPos.width, i.WindowPos.height, i.WindowPos.left, i.WindowPos.top});
    case InfoLine::WinClientSize:
      return FormatW(Tr(Text::Line_ClientSize), {i.ClientRect.right, i.ClientRect.bottom});
    case InfoLine::WinRect:
      return FormatW(Tr(Text::Line_Rect), {i.WindowRect.left, i.WindowRect.top,
                                                        i.WindowRect.right, i.WindowRect.bottom});
    case InfoLine::WinExeName:
      return FormatW(Tr(Text::Line_ExeName), {i.ExeName});
  }
  return {};
}

std::wstring CopyLineText(InfoLine line, const CaptureInfo& i, bool shift) {
  auto pick = [shift](const wchar_t* plain, const wchar_t* shifted) {
    return std::wstring_view(shift ? shifted : plain);
  };
  switch (line) {
    case InfoLine::ColorRGB:
      return FormatW(pick(L"%d %d %d", L"%x %x %x"), {i.Red, i.Green, i.Blue});
    case InfoLine::ColorHTML:
      return FormatW(pick(L"%.6x", L"%d"), {i.HtmlColor});
    case InfoLine::ColorCOLORREF:
      return FormatW(pick(L"%d", L"%x"), {i.ColorRef});
    case InfoLine::PosScreen:
      return FormatW(pick(L"%d, %d", L"(%d, %d)"), {i.ScreenPos.x, i.ScreenPos.y});
    case InfoLine::PosClient:
      return FormatW(pick(L"%d, %d", L"(%d, %d)"), {ClientX(i), ClientY(i)});
    case InfoLine::PosUser:
      return FormatW(pick(L"%d, %d", L"(%d, %d)"), {DistanceW(i), DistanceH(i)});
    case InfoLine::WinHandle:
      return FormatW(pick(L"%d", L"%.8x"), {i.Handle});
    case InfoLine::WinClassName:
      return FormatW(pick(L"%s", L"\"%s\""), {i.ClassName});
    case InfoLine::WinText:
      return FormatW(pick(L"%s", L"\"%s\""), {i.Text});
    case InfoLine::WinWindowSize:
      return FormatW(pick(L"%d, %d, %d, %d", L"(%d, %d, %d, %d)"),
                     {i.WindowPos.left, i.WindowPos.top, i.WindowPos.width, i.WindowPos.height});
    case InfoLine::WinClientSize:
      return FormatW(pick(L"%d, %d", L"(%d, %d)"), {i.ClientRect.right, i.ClientRect.bottom});
    case InfoLine::WinRect:
      return FormatW(pick(L"%d, %d, %d, %d", L"(%d, %d, %d, %d)"),
                     {i.WindowRect.left, i.WindowRect.top, i.WindowRect.right,
                      i.WindowRect.bottom});
    case InfoLine::WinExeName:
      return FormatW(pick(L"%s", L"%1:s"), {i.ExeName, ExtractFileNameW(i.ExeName)});
  }
  return {};
}

std::wstring ZoomLabel(int zoom) { return FormatW(Tr(Text::ZoomLabel), {zoom}); }

std::vector<std::wstring> CopyLinesFor(Cmd sender, const CaptureInfo& info, bool shift) {
  std::vector<std::wstring> lines;
  if (sender == Cmd::Copy_All) {
    for (const InfoLineDef& d : kLines) lines.push_back(DisplayLineText(d.line, info));
  } else if (auto line = InfoLineOfCopyCommand(sender)) {
    lines.push_back(CopyLineText(*line, info, shift));
  }
  return lines;
}

JoinedCopy JoinCopyLines(std::span<const std::wstring> lines) {
  JoinedCopy r;
  for (const std::wstring& l : lines) {
    r.text += l;
    r.text += L"\r\n";
  }
  size_t end = r.text.size();
  while (end > 0 && static_cast<uint32_t>(r.text[end - 1]) < 33) --end;
  r.trimmed = r.text.substr(0, end);
  return r;
}

std::wstring CopyNoticeText(std::wstring_view caption, std::wstring_view joinedText) {
  return FormatW(Tr(Text::CopyNotice), {caption, joinedText});
}

std::vector<InfoLine> VisibleInfoLines(const CommandList& commands) {
  std::vector<InfoLine> lines;
  for (const InfoLineDef& d : kLines)
    if (commands.Checked(d.display)) lines.push_back(d.line);
  return lines;
}

uint64_t VisibleInfoLineBits(const CommandList& commands) {
  uint64_t bits = 0;
  for (const InfoLineDef& d : kLines)
    if (commands.Checked(d.display)) bits |= uint64_t{1} << static_cast<int>(d.line);
  return bits;
}

int InfoPanelHeight(int lineHeight, size_t visibleLineCount) {
  const size_t count = std::min<size_t>(visibleLineCount, kInfoLineCount);
  return lineHeight * (1 + static_cast<int>(count));
}

std::span<const Cmd> InfoGroupCommands(InfoGroup g) {
  switch (g) {
    case InfoGroup::Color: return kColorGroup;
    case InfoGroup::Pos: return kPosGroup;
    case InfoGroup::WinInfo: return kWinInfoGroup;
  }
  return {};
}

std::optional<InfoGroup> InfoGroupOfOnOffCommand(Cmd c) {
  switch (c) {
    case Cmd::Color_InfoOnOff: return InfoGroup::Color;
    case Cmd::Pos_InfoOnOff: return InfoGroup::Pos;
    case Cmd::WinInfo_InfoOnOff: return InfoGroup::WinInfo;
    default: return std::nullopt;
  }
}

bool AllOnOffTarget(std::span<const bool> checked) {
  return !std::all_of(checked.begin(), checked.end(), [](bool b) { return b; });
}

bool ToggleInfoGroup(CommandList& commands, InfoGroup g) {
  const std::span<const Cmd> group = InfoGroupCommands(g);
  bool checked[kInfoLineCount] = {};
  for (size_t k = 0; k < group.size(); ++k) checked[k] = commands.Checked(group[k]);
  const bool on = AllOnOffTarget(std::span<const bool>(checked, group.size()));
  for (Cmd c : group) commands.SetChecked(c, on);
  return on;
}

}  // namespace viz
