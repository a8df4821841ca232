#include "commands/command_table.h"

#include <algorithm>

namespace viz {
namespace {

constexpr uint8_t VK_PRIOR_ = 0x21, VK_NEXT_ = 0x22, VK_SPACE_ = 0x20, VK_ESCAPE_ = 0x1B;
constexpr uint8_t VK_F1_ = 0x70, VK_F2_ = 0x71, VK_F5_ = 0x74;
constexpr uint8_t VK_UP_ = 0x26, VK_DOWN_ = 0x28, VK_LEFT_ = 0x25, VK_RIGHT_ = 0x27;

using G = RadioGroup;
using T = Text;

// clang-format off
#define CMD(c) Cmd::c, "act" #c
const std::vector<CommandDef> kTable = {
  // command                      category               id     caption                    hint                            tag       auto   group         key         four   primary check  enab   vis
  {CMD(Zoom_1),                 T::Category_Zoom,      1001,  T::Zoom_1,                 T::Zoom_1_Hint,                 1,        false, G::Zoom,      0,          false, 0,      false, true,  true},
  {CMD(Zoom_2),                 T::Category_Zoom,      1002,  T::Zoom_2,                 T::Zoom_2_Hint,                 2,        false, G::Zoom,      0,          false, 0,      false, true,  true},
  {CMD(Zoom_3),                 T::Category_Zoom,      1003,  T::Zoom_3,                 T::Zoom_3_Hint,                 3,        false, G::Zoom,      0,          false, 0,      false, true,  true},
  {CMD(Zoom_4),                 T::Category_Zoom,      1004,  T::Zoom_4,                 T::Zoom_4_Hint,                 4,        false, G::Zoom,      0,          false, 0,      false, true,  true},
  {CMD(Zoom_6),                 T::Category_Zoom,      1006,  T::Zoom_6,                 T::Zoom_6_Hint,                 6,        false, G::Zoom,      0,          false, 0,      true,  true,  true},
  {CMD(Zoom_8),                 T::Category_Zoom,      1008,  T::Zoom_8,                 T::Zoom_8_Hint,                 8,        false, G::Zoom,      0,          false, 0,      false, true,  true},
  {CMD(Zoom_10),                T::Category_Zoom,      1010,  T::Zoom_10,                T::Zoom_10_Hint,                10,       false, G::Zoom,      0,          false, 0,      false, true,  true},
  {CMD(Zoom_12),                T::Category_Zoom,      1012,  T::Zoom_12,                T::Zoom_12_Hint,                12,       false, G::Zoom,      0,          false, 0,      false, true,  true},
  {CMD(Zoom_16),                T::Category_Zoom,      1016,  T::Zoom_16,                T::Zoom_16_Hint,                16,       false, G::Zoom,      0,          false, 0,      false, true,  true},
  {CMD(Zoom_20),                T::Category_Zoom,      1020,  T::Zoom_20,                T::Zoom_20_Hint,                20,       false, G::Zoom,      0,          false, 0,      false, true,  true},
  {CMD(Zoom_Up),                T::Category_Zoom,      1090,  T::Zoom_Up,                T::Zoom_Up_Hint,                0,        false, G::None,      VK_PRIOR_,  true,  0,      false, true,  true},
  {CMD(Zoom_Down),              T::Category_Zoom,      1091,  T::Zoom_Down,              T::Zoom_Down_Hint,              0,        false, G::None,      VK_NEXT_,   true,  0,      false, true,  true},
  {CMD(Grid_Disp),              T::Category_Grid,      2010,  T::Grid_Disp,              T::Grid_Disp_Hint,              0,        false, G::None,      0,          false, 0,      true,  true,  true},
  {CMD(Grid_Gray),              T::Category_Grid,      2001,  T::Grid_Gray,              T::Grid_Gray_Hint,              0x999999, false, G::GridColor, 0,          false, 0,      true,  true,  true},
  {CMD(Grid_Invert),            T::Category_Grid,      2004,  T::Grid_Invert,            T::Grid_Invert_Hint,            0,        false, G::GridColor, 0,          false, 0,      false, true,  true},
  {CMD(Grid_Transparent),       T::Category_Grid,      2005,  T::Grid_Transparent,       T::Grid_Transparent_Hint,       0xCCCCCC, false, G::GridColor, 0,          false, 0,      false, true,  true},
  {CMD(Grid_SelColor),          T::Category_Grid,      2006,  T::Grid_SelColor,          T::Grid_SelColor_Hint,          0x999999, false, G::GridColor, 'U',        true,  0,      false, true,  true},
  {CMD(Grid_SubNone),           T::Category_Grid,      2011,  T::Grid_SubNone,           T::Grid_SubNone_Hint,           0,        false, G::SubGrid,   0,          false, 0,      false, true,  true},
  {CMD(Grid_SubBlue),           T::Category_Grid,      2012,  T::Grid_SubBlue,           T::Grid_SubBlue_Hint,           0xFF0000, false, G::SubGrid,   0,          false, 0,      true,  true,  true},
  {CMD(Grid_SelSubColor),       T::Category_Grid,      2014,  T::Grid_SelSubColor,       T::Grid_SelSubColor_Hint,       0xFF6666, false, G::SubGrid,   'I',        true,  0,      false, true,  true},
  {CMD(Color_RGB),              T::Category_Color,     3001,  T::Color_RGB,              T::Color_RGB_Hint,              1,        true,  G::None,      0,          false, 0,      true,  true,  true},
  {CMD(Color_HTML),             T::Category_Color,     3002,  T::Color_HTML,             T::Color_HTML_Hint,             2,        true,  G::None,      0,          false, 0,      true,  true,  true},
  {CMD(Color_COLORREF),         T::Category_Color,     3003,  T::Color_COLORREF,         T::Color_COLORREF_Hint,         4,        true,  G::None,      0,          false, 0,      false, true,  true},
  {CMD(Color_InfoOnOff),        T::Category_Color,     3099,  T::Color_InfoOnOff,        T::Color_InfoOnOff_Hint,        0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Pos_Screen),             T::Category_Pos,       4001,  T::Pos_Screen,             T::Pos_Screen_Hint,             1,        true,  G::None,      0,          false, 0,      true,  true,  true},
  {CMD(Pos_Client),             T::Category_Pos,       4003,  T::Pos_Client,             T::Pos_Client_Hint,             2,        true,  G::None,      0,          false, 0,      false, true,  true},
  {CMD(Pos_User),               T::Category_Pos,       4004,  T::Pos_User,               T::Pos_User_Hint,               4,        true,  G::None,      0,          false, 0,      false, true,  true},
  {CMD(Pos_UserPosSet),         T::Category_Pos,       4010,  T::Pos_UserPosSet,         T::Pos_UserPosSet_Hint,         0,        false, G::None,      VK_SPACE_,  true,  0,      false, true,  true},
  {CMD(Pos_InfoOnOff),          T::Category_Pos,       4099,  T::Pos_InfoOnOff,          T::Pos_InfoOnOff_Hint,          0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(WinInfo_Handle),         T::Category_WinInfo,   5001,  T::WinInfo_Handle,         T::WinInfo_Handle_Hint,         1,        true,  G::None,      0,          false, 0,      true,  true,  true},
  {CMD(WinInfo_ClassName),      T::Category_WinInfo,   5002,  T::WinInfo_ClassName,      T::WinInfo_ClassName_Hint,      2,        true,  G::None,      0,          false, 0,      true,  true,  true},
  {CMD(WinInfo_Text),           T::Category_WinInfo,   5003,  T::WinInfo_Text,           T::WinInfo_Text_Hint,           4,        true,  G::None,      0,          false, 0,      true,  true,  true},
  {CMD(WinInfo_WindowSize),     T::Category_WinInfo,   5004,  T::WinInfo_WindowSize,     T::WinInfo_WindowSize_Hint,     8,        true,  G::None,      0,          false, 0,      false, true,  true},
  {CMD(WinInfo_ClientSize),     T::Category_WinInfo,   5005,  T::WinInfo_ClientSize,     T::WinInfo_ClientSize_Hint,     16,       true,  G::None,      0,          false, 0,      false, true,  true},
  {CMD(WinInfo_Rect),           T::Category_WinInfo,   5006,  T::WinInfo_Rect,           T::WinInfo_Rect_Hint,           32,       true,  G::None,      0,          false, 0,      false, true,  true},
  {CMD(WinInfo_ExeName),        T::Category_WinInfo,   5023,  T::WinInfo_ExeName,        T::WinInfo_ExeName_Hint,        64,       true,  G::None,      0,          false, 0,      false, true,  true},
  {CMD(WinInfo_InfoOnOff),      T::Category_WinInfo,   5099,  T::WinInfo_InfoOnOff,      T::WinInfo_InfoOnOff_Hint,      0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_Picture),           T::Category_Copy,      6001,  T::Copy_Picture,           T::Copy_Picture_Hint,           0,        false, G::None,      'Z',        true,  0,      false, true,  true},
  {CMD(Copy_ColorRGB),          T::Category_Copy,      6002,  T::Copy_ColorRGB,          T::Copy_ColorRGB_Hint,          0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_ColorHTML),         T::Category_Copy,      6006,  T::Copy_ColorHTML,         T::Copy_ColorHTML_Hint,         0,        false, G::None,      'H',        true,  0,      false, true,  true},
  {CMD(Copy_ColorCOLORREF),     T::Category_Copy,      6007,  T::Copy_ColorCOLORREF,     T::Copy_ColorCOLORREF_Hint,     0,        false, G::None,      'C',        true,  0,      false, true,  true},
  {CMD(Copy_PosScreen),         T::Category_Copy,      6020,  T::Copy_PosScreen,         T::Copy_PosScreen_Hint,         0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_PosClient),         T::Category_Copy,      6022,  T::Copy_PosClient,         T::Copy_PosClient_Hint,         0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_PosUser),           T::Category_Copy,      6023,  T::Copy_PosUser,           T::Copy_PosUser_Hint,           0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_WinInfoHandle),     T::Category_Copy,      6024,  T::Copy_WinInfoHandle,     T::Copy_WinInfoHandle_Hint,     0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_WinInfoClassName),  T::Category_Copy,      6025,  T::Copy_WinInfoClassName,  T::Copy_WinInfoClassName_Hint,  0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_WinInfoText),       T::Category_Copy,      6026,  T::Copy_WinInfoText,       T::Copy_WinInfoText_Hint,       0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_WinInfoWindowSize), T::Category_Copy,      6027,  T::Copy_WinInfoWindowSize, T::Copy_WinInfoWindowSize_Hint, 0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_WinInfoClientSize), T::Category_Copy,      6028,  T::Copy_WinInfoClientSize, T::Copy_WinInfoClientSize_Hint, 0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_WinInfoRect),       T::Category_Copy,      6029,  T::Copy_WinInfoRect,       T::Copy_WinInfoRect_Hint,       0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_WinInfoExeName),    T::Category_Copy,      6035,  T::Copy_WinInfoExeName,    T::Copy_WinInfoExeName_Hint,    0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Copy_All),               T::Category_Copy,      6090,  T::Copy_All,               T::Copy_All_Hint,               0,        false, G::None,      VK_F2_,     true,  0,      false, true,  true},
  {CMD(Capture_Pause),          T::Category_Capture,   7011,  T::Capture_Pause,          T::Capture_Pause_Hint,          0,        false, G::None,      VK_ESCAPE_, true,  0,      false, true,  true},
  {CMD(Capture_Fixed),          T::Category_Capture,   7002,  T::Capture_Fixed,          T::Capture_Fixed_Hint,          0,        false, G::None,      'F',        true,  0,      false, true,  true},
  {CMD(Capture_Update),         T::Category_Capture,   7012,  T::Capture_Update,         T::Capture_Update_Hint,         0,        false, G::None,      VK_F5_,     false, 0,      false, false, true},
  {CMD(Capture_Disp_x1),        T::Category_Capture,   7013,  T::Capture_Disp_x1,        T::Capture_Disp_x1_Hint,        0,        false, G::None,      '1',        true,  0,      false, true,  true},
  {CMD(Opt_StayOnTop),          T::Category_Opt,       8001,  T::Opt_StayOnTop,          T::Opt_StayOnTop_Hint,          0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Opt_BigFont),            T::Category_Opt,       8005,  T::Opt_BigFont,            T::Opt_BigFont_Hint,            12,       true,  G::None,      0,          false, 0,      false, true,  true},
  {CMD(Opt_NoSelfCapture),      T::Category_Opt,       8006,  T::Opt_NoSelfCapture,      T::Opt_NoSelfCapture_Hint,      0,        true,  G::None,      0,          false, 0,      false, true,  true},
  {CMD(Opt_SmoothCapture),      T::Category_Opt,       8007,  T::Opt_SmoothCapture,      T::Opt_SmoothCapture_Hint,      0,        true,  G::None,      'S',        true,  0,      false, true,  true},
  {CMD(Custom_Setting),         T::Category_Opt,       9001,  T::Custom_Setting,         T::Custom_Setting_Hint,         0,        false, G::None,      0,          false, 0x8079, false, true,  true},
  {CMD(Custom_ShortCut),        T::Category_Opt,       9004,  T::Custom_ShortCut,        T::Custom_ShortCut_Hint,        0,        false, G::None,      0,          false, 0,      false, true,  true},
  {CMD(Menu_Main),              T::Category_Menu,      10001, T::Menu_Main,              T::Menu_Main_Hint,              0,        false, G::None,      'M',        true,  0,      false, true,  true},
  {CMD(Move_Up),                T::Category_Move,      11001, T::Move_Up,                T::Move_Up_Hint,                0,        false, G::None,      VK_UP_,     true,  0,      false, true,  true},
  {CMD(Move_Down),              T::Category_Move,      11002, T::Move_Down,              T::Move_Down_Hint,              0,        false, G::None,      VK_DOWN_,   true,  0,      false, true,  true},
  {CMD(Move_Left),              T::Category_Move,      11003, T::Move_Left,              T::Move_Left_Hint,              0,        false, G::None,      VK_LEFT_,   true,  0,      false, true,  true},
  {CMD(Move_Right),             T::Category_Move,      11004, T::Move_Right,             T::Move_Right_Hint,             0,        false, G::None,      VK_RIGHT_,  true,  0,      false, true,  true},
  {CMD(Move_Monitor),           T::Category_Move,      11005, T::Move_Monitor,           T::Move_Monitor_Hint,           0,        false, G::None,      'Q',        true,  0,      false, true,  true},
  {CMD(File_Minimize),          T::Category_File,      12001, T::File_Minimize,          T::File_Minimize_Hint,          0,        false, G::None,      0,          false, 0,      false, true,  false},
  {CMD(File_Exit),              T::Category_File,      12002, T::File_Exit,              T::File_Exit_Hint,              0,        false, G::None,      0,          false, 0x8073, false, true,  true},
  {CMD(Help),                   T::Category_Help,      13001, T::Help,                   T::Help_Hint,                   0,        false, G::None,      VK_F1_,     true,  0,      false, true,  true},
  {CMD(Spc),                    T::Category_Separator, 0,     T::Spc,                    T::Spc_Hint,                    0,        false, G::None,      0,          false, 0,      false, true,  true},
};
#undef CMD
// clang-format on

}  // namespace

const std::vector<CommandDef>& CommandTable() { return kTable; }

const CommandDef& Def(Cmd c) { return kTable[static_cast<size_t>(c)]; }

std::optional<Cmd> CommandFromId(int16_t id) {
  if (id == 0) return std::nullopt;
  for (const auto& d : kTable)
    if (d.id == id) return d.cmd;
  return std::nullopt;
}

int16_t IdFromCommand(Cmd c) {
  if (c == Cmd::Count_) return 0;
  return Def(c).id;
}

std::optional<Cmd> CommandOfPrimaryShortcut(uint16_t shortcut) {
  if (shortcut == 0) return std::nullopt;
  for (const auto& d : kTable)
    if (d.primaryShortcut == shortcut) return d.cmd;
  return std::nullopt;
}

std::wstring CaptionWithoutAccel(std::wstring_view caption) {
  constexpr std::wstring_view kEllipsis = L"...";
  if (caption.ends_with(kEllipsis)) caption.remove_suffix(kEllipsis.size());
  std::wstring out(caption);
  // "(&X)" at the end of a Japanese caption goes as a whole; a bare "&" is dropped.
  auto pos = out.find(L"(&");
  if (pos != std::wstring::npos && pos + 3 < out.size() && out[pos + 3] == L')') {
    out.erase(pos, 4);
    return out;
  }
  std::wstring r;
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i] == L'&') {
      if (i + 1 < out.size() && out[i + 1] == L'&') r += L'&', ++i;
      continue;
    }
    r += out[i];
  }
  return r;
}

Cmd ZoomCommandAt(int index) {
  index = std::clamp(index, 0, kZoomCount - 1);
  return static_cast<Cmd>(static_cast<int>(Cmd::Zoom_1) + index);
}

std::optional<int> ZoomIndexOf(Cmd c) {
  int i = static_cast<int>(c) - static_cast<int>(Cmd::Zoom_1);
  if (i < 0 || i >= kZoomCount) return std::nullopt;
  return i;
}

std::vector<uint16_t> DefaultShortcuts(Cmd c) {
  const CommandDef& d = Def(c);
  if (d.defaultKey == 0) return {};
  const uint16_t k = d.defaultKey;
  if (!d.fourVariants) return {k};
  return {k, static_cast<uint16_t>(k | kShortcutShift), static_cast<uint16_t>(k | kShortcutCtrl),
          static_cast<uint16_t>(k | kShortcutShift | kShortcutCtrl)};
}

}  // namespace viz
