// The texts of the information panel: the thirteen lines about the pixel, the point and the
// window under the capture point, their copy variants, and which of them are shown.
//
// Pure functions over a CaptureInfo snapshot; the Win32 side fills the snapshot in the capture
// cycle, draws the lines and puts copies on the clipboard.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/geometry.h"
#include "commands/command_list.h"
#include "commands/command_table.h"

namespace viz {

// Left/top in the parent's client coordinates, then the outer size.
struct InfoWindowPos {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const InfoWindowPos&, const InfoWindowPos&) = default;
};

// What one capture cycle found at the capture point. Missing window data is 0 or empty.
struct CaptureInfo {
  int32_t Red = 0;        // low byte of ColorRef
  int32_t Green = 0;
  int32_t Blue = 0;
  int32_t HtmlColor = 0;  // 0xRRGGBB
  uint32_t ColorRef = 0;  // 0x00BBGGRR
  Point ScreenPos;
  Point ClientOrigin;  // screen position of the client area's top-left corner
  Point UserOrigin;
  uint32_t Handle = 0;
  std::wstring ClassName;
  std::wstring Text;
  InfoWindowPos WindowPos;
  Rect ClientRect;  // right and bottom are the client width and height
  Rect WindowRect;
  std::wstring ExeName;  // full path of the owning program file
  friend bool operator==(const CaptureInfo&, const CaptureInfo&) = default;
};

// The lines in panel order.
enum class InfoLine : int {
  ColorRGB, ColorHTML, ColorCOLORREF,
  PosScreen, PosClient, PosUser,
  WinHandle, WinClassName, WinText, WinWindowSize, WinClientSize, WinRect, WinExeName,
};
inline constexpr int kInfoLineCount = 13;

struct InfoLineDef {
  InfoLine line;
  Cmd display;  // check-mark command that shows the line
  Cmd copy;     // command that copies the line
};

// All thirteen lines in panel order.
std::span<const InfoLineDef, kInfoLineCount> InfoLineDefs();
const InfoLineDef& InfoLineDefOf(InfoLine line);
std::optional<InfoLine> InfoLineOfCopyCommand(Cmd c);

// The panel text of a line in the language shown, e.g. "RGB      R=255 G=0   B=16 ": a
// label of nine columns, then the values.
std::wstring DisplayLineText(InfoLine line, const CaptureInfo& info);
// The clipboard text of a line; `shift` picks the variant used while Shift is held.
std::wstring CopyLineText(InfoLine line, const CaptureInfo& info, bool shift);

// Status-line zoom label, e.g. " 6x" in English.
std::wstring ZoomLabel(int zoom);

// The texts a copy command collects: its own line's copy text for a line copy command, the
// display texts of all thirteen lines (shown or not) for Copy_All, nothing for any other command.
std::vector<std::wstring> CopyLinesFor(Cmd sender, const CaptureInfo& info, bool shift);

struct JoinedCopy {
  std::wstring text;     // every line followed by CR LF (what the notice and the file get)
  std::wstring trimmed;  // `text` without trailing characters below 33 (what the clipboard gets)
};
JoinedCopy JoinCopyLines(std::span<const std::wstring> lines);

// Notice shown after a copy: caption of the copy command, then the joined text.
std::wstring CopyNoticeText(std::wstring_view caption, std::wstring_view joinedText);

// Lines whose display command is checked, in panel order.
std::vector<InfoLine> VisibleInfoLines(const CommandList& commands);
// The same as bits (1 << line), built without allocating: for comparisons on every cycle.
uint64_t VisibleInfoLineBits(const CommandList& commands);
// Status line plus one line per visible line.
int InfoPanelHeight(int lineHeight, size_t visibleLineCount);

// The three groups of display commands switched together by the all on/off commands.
enum class InfoGroup { Color, Pos, WinInfo };
std::span<const Cmd> InfoGroupCommands(InfoGroup g);
// Group switched by Color_InfoOnOff, Pos_InfoOnOff or WinInfo_InfoOnOff.
std::optional<InfoGroup> InfoGroupOfOnOffCommand(Cmd c);
// New check state for every command of a group: off when all are checked, else on.
bool AllOnOffTarget(std::span<const bool> checked);
// Applies the all on/off rule to a group; returns the new check state.
bool ToggleInfoGroup(CommandList& commands, InfoGroup g);

}  // namespace viz
