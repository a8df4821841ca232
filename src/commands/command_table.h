// The command table: every user-invocable operation of the main window, as data.
//
// Menus, toolbar buttons, keys and gestures all fire commands by their `Cmd` value; the
// persisted identifier (`CommandDef::id`) is what the settings file stores. Runtime state
// (check, enabled, visible, tag, secondary shortcuts) lives in `CommandList`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/texts.h"

namespace viz {

// Order = the order of the action list; bindings are built in this order.
enum class Cmd : int {
  Zoom_1, Zoom_2, Zoom_3, Zoom_4, Zoom_6, Zoom_8, Zoom_10, Zoom_12, Zoom_16, Zoom_20,
  Zoom_Up, Zoom_Down,
  Grid_Disp, Grid_Gray, Grid_Invert, Grid_Transparent, Grid_SelColor,
  Grid_SubNone, Grid_SubBlue, Grid_SelSubColor,
  Color_RGB, Color_HTML, Color_COLORREF, Color_InfoOnOff,
  Pos_Screen, Pos_Client, Pos_User, Pos_UserPosSet, Pos_InfoOnOff,
  WinInfo_Handle, WinInfo_ClassName, WinInfo_Text, WinInfo_WindowSize, WinInfo_ClientSize,
  WinInfo_Rect, WinInfo_ExeName, WinInfo_InfoOnOff,
  Copy_Picture, Copy_ColorRGB, Copy_ColorHTML, Copy_ColorCOLORREF,
  Copy_PosScreen, Copy_PosClient, Copy_PosUser,
  Copy_WinInfoHandle, Copy_WinInfoClassName, Copy_WinInfoText, Copy_WinInfoWindowSize,
  Copy_WinInfoClientSize, Copy_WinInfoRect, Copy_WinInfoExeName, Copy_All,
  Capture_Pause, Capture_Fixed, Capture_Update, Capture_Disp_x1,
  Opt_StayOnTop, Opt_BigFont, Opt_NoSelfCapture, Opt_SmoothCapture,
  Custom_Setting, Custom_ShortCut,
  Menu_Main,
  Move_Up, Move_Down, Move_Left, Move_Right, Move_Monitor,
  File_Minimize, File_Exit,
  Help,
  Spc,
  Count_
};

constexpr int kCommandCount = static_cast<int>(Cmd::Count_);

// Shortcut value: virtual-key code in the low byte, plus these modifier bits.
constexpr uint16_t kShortcutShift = 0x2000;
constexpr uint16_t kShortcutCtrl = 0x4000;
constexpr uint16_t kShortcutAlt = 0x8000;

// Radio groups (0 = none).
enum class RadioGroup : uint8_t { None, Zoom, GridColor, SubGrid };

struct CommandDef {
  Cmd cmd;
  const char* name;            // component name, e.g. "actZoom_Up"
  Text category;               // shortcut window column, settings page group
  int16_t id;                  // persisted identifier, 0 = none
  Text caption;                // may hold an "&" access key
  Text hint;                   // tooltip and status text
  int32_t tag;                 // initial Tag
  bool autoCheck;              // check-mark command: toggles when fired by key or gesture
  RadioGroup group;
  uint8_t defaultKey;          // virtual key of the default secondary shortcuts, 0 = none
  bool fourVariants;           // defaults are key, Shift+key, Ctrl+key, Shift+Ctrl+key
  uint16_t primaryShortcut;    // shortcut handled by the window itself (Alt+F4, Alt+F10)
  bool checked;                // initial states
  bool enabled;
  bool visible;
};

const CommandDef& Def(Cmd c);
const std::vector<CommandDef>& CommandTable();

// A command's texts in the language shown.
inline std::wstring_view CategoryOf(Cmd c) { return Tr(Def(c).category); }
inline std::wstring_view CaptionOf(Cmd c) { return Tr(Def(c).caption); }
inline std::wstring_view HintOf(Cmd c) { return Tr(Def(c).hint); }

// Identifier <-> command; an unknown identifier gives no command, Spc gives 0.
std::optional<Cmd> CommandFromId(int16_t id);
int16_t IdFromCommand(Cmd c);
// The command whose primary shortcut is `shortcut` (Alt+F10 is the settings window).
std::optional<Cmd> CommandOfPrimaryShortcut(uint16_t shortcut);

// The caption as a window title or a list shows it: without its access key and without the
// "..." of an item that opens a window. "(&X)" after a caption goes as a whole, a bare "&" is
// dropped ("&Pause" -> "Pause", "R&GB" -> "RGB"), "&&" stays a single "&"; "&Settings..." ->
// "Settings".
std::wstring CaptionWithoutAccel(std::wstring_view caption);

// Zoom list in menu order; index = FZoomIndex.
inline constexpr int kZoomFactors[10] = {1, 2, 3, 4, 6, 8, 10, 12, 16, 20};
inline constexpr int kZoomCount = 10;
Cmd ZoomCommandAt(int index);          // clamped into the list
std::optional<int> ZoomIndexOf(Cmd c); // position of a zoom command in the list

// Default secondary-shortcut list of a command, as the window description gives it.
std::vector<uint16_t> DefaultShortcuts(Cmd c);

}  // namespace viz
