#include "commands/menu_table.h"

namespace viz {
namespace {

MenuNode Item(const char* name, Cmd c, bool isDefault = false) {
  return MenuNode{name, c, std::nullopt, {}, isDefault};
}
MenuNode Sep(const char* name) { return MenuNode{name, std::nullopt, std::nullopt, {}}; }
MenuNode Sub(const char* name, std::optional<Text> caption, std::vector<MenuNode> items) {
  return MenuNode{name, std::nullopt, caption, std::move(items)};
}

MenuNode BuildMain() {
  return Sub("mnuMain", std::nullopt, {
    Sub("mniZoom", Text::Menu_Zoom, {
      Item("mniZoom_1", Cmd::Zoom_1), Item("mniZoom_2", Cmd::Zoom_2),
      Item("mniZoom_3", Cmd::Zoom_3), Item("mniZoom_4", Cmd::Zoom_4),
      Item("mniZoom_6", Cmd::Zoom_6), Item("mniZoom_8", Cmd::Zoom_8),
      Item("mniZoom_10", Cmd::Zoom_10), Item("mniZoom_12", Cmd::Zoom_12),
      Item("mniZoom_16", Cmd::Zoom_16), Item("mniZoom_20", Cmd::Zoom_20),
    }),
    Item("mniZoomUp", Cmd::Zoom_Up),
    Item("mniZoomDown", Cmd::Zoom_Down),
    Sep("mniLine1"),
    Sub("mniGrid", Text::Menu_Grid, {
      Item("mniGrid_Disp", Cmd::Grid_Disp, true),
      Sep("mniGrid_LineGrid"),
      Item("mniGrid_Gray", Cmd::Grid_Gray),
      Item("mniGrid_Invert", Cmd::Grid_Invert),
      Item("mniGrid_Transparent", Cmd::Grid_Transparent),
      Item("mniGrid_SelColor", Cmd::Grid_SelColor),
      Sep("mniGrid_LineSubGrid"),
      Item("mniGrid_SubNone", Cmd::Grid_SubNone),
      Item("mniGrid_SubBlue", Cmd::Grid_SubBlue),
      Item("mniGrid_SelSubColor", Cmd::Grid_SelSubColor),
    }),
    Sub("mniColor", Text::Menu_Color, {
      Item("mniColor_InfoOnOff", Cmd::Color_InfoOnOff, true),
      Sep("mniColor_Line1"),
      Item("mniColor_RGB", Cmd::Color_RGB),
      Item("mniColor_HTML", Cmd::Color_HTML),
      Item("mniColor_COLORREF", Cmd::Color_COLORREF),
    }),
    Sub("mniPos", Text::Menu_Pos, {
      Item("mniPos_InfoOnOff", Cmd::Pos_InfoOnOff, true),
      Sep("mniPos_Line1"),
      Item("mniPos_Screen", Cmd::Pos_Screen),
      Item("mniPos_Client", Cmd::Pos_Client),
      Item("mniPos_User", Cmd::Pos_User),
      Sep("mniPos_Line2"),
      Item("mniPos_UserPosSet", Cmd::Pos_UserPosSet),
    }),
    Sub("mniWinInfo", Text::Menu_WinInfo, {
      Item("mniWinInfo_InfoOnOff", Cmd::WinInfo_InfoOnOff, true),
      Sep("mniWinInfo_Line1"),
      Item("mniWinInfo_Handle", Cmd::WinInfo_Handle),
      Item("mniWinInfo_ClassName", Cmd::WinInfo_ClassName),
      Item("mniWinInfo_Text", Cmd::WinInfo_Text),
      Item("mniWinInfo_WindowSize", Cmd::WinInfo_WindowSize),
      Item("mniWinInfo_ClientSize", Cmd::WinInfo_ClientSize),
      Item("mniWinInfo_Rect", Cmd::WinInfo_Rect),
      Item("mniWinInfo_ExeName", Cmd::WinInfo_ExeName),
    }),
    Sub("mniCopy", Text::Menu_Copy, {
      Item("mniCopy_Picture", Cmd::Copy_Picture),
      Sep("mniCopy_Line1"),
      Item("mniCopy_ColorRGB", Cmd::Copy_ColorRGB),
      Item("mniCopy_ColorHTML", Cmd::Copy_ColorHTML),
      Item("mniCopy_ColorCOLORREF", Cmd::Copy_ColorCOLORREF),
      Sep("mniCopy_Line2"),
      Item("mniCopy_PosScreen", Cmd::Copy_PosScreen),
      Item("mniCopy_PosClient", Cmd::Copy_PosClient),
      Item("mniCopy_PosUser", Cmd::Copy_PosUser),
      Sep("mniCopy_Line3"),
      Item("mniCopy_WinInfoHandle", Cmd::Copy_WinInfoHandle),
      Item("mniCopy_WinInfoClassName", Cmd::Copy_WinInfoClassName),
      Item("mniCopy_WinInfoText", Cmd::Copy_WinInfoText),
      Item("mniCopy_WinInfoWindowSize", Cmd::Copy_WinInfoWindowSize),
      Item("mniCopy_WinInfoClientSize", Cmd::Copy_WinInfoClientSize),
      Item("mniCopy_WinInfoRect", Cmd::Copy_WinInfoRect),
      Item("mniCopy_WinInfoExeName", Cmd::Copy_WinInfoExeName),
      Sep("mniCopy_Line4"),
      Item("mniCopy_All", Cmd::Copy_All, true),
    }),
    Sub("mniCapture", Text::Menu_Capture, {
      Item("mniCapture_Pause", Cmd::Capture_Pause),
      Item("mniCapture_Update", Cmd::Capture_Update),
      Item("mniCapture_Fixed", Cmd::Capture_Fixed),
    }),
    Sub("mniMove", Text::Menu_Move, {
      Item("mniMove_Up", Cmd::Move_Up),
      Item("mniMove_Down", Cmd::Move_Down),
      Item("mniMove_Left", Cmd::Move_Left),
      Item("mniMove_Right", Cmd::Move_Right),
      Sep("mniMove_Line1"),
      Item("mniMove_Monitor", Cmd::Move_Monitor),
    }),
    Sub("mniOpt", Text::Menu_Opt, {
      Item("mniOpt_StayOnTop", Cmd::Opt_StayOnTop),
      Item("mniOpt_BigFont", Cmd::Opt_BigFont),
      Item("mniOpt_NoSelfCapture", Cmd::Opt_NoSelfCapture),
      Item("mniOpt_SmoothCapture", Cmd::Opt_SmoothCapture),
      Sep("mniOpt_Line1"),
      Item("mniOpt_Setting", Cmd::Custom_Setting),
      Item("mniOpt_ShortCut", Cmd::Custom_ShortCut),
    }),
    Sep("mniLine2"),
    Item("mniHelp", Cmd::Help),
    Sep("mniLine3"),
    Item("mniFile_Minimize", Cmd::File_Minimize),
    Item("mniFile_Exit", Cmd::File_Exit),
  });
}

const MenuNode* FindIn(const MenuNode& n, std::string_view name) {
  if (name == n.name) return &n;
  for (const MenuNode& c : n.children)
    if (const MenuNode* f = FindIn(c, name)) return f;
  return nullptr;
}

}  // namespace

const MenuNode& MainMenu() {
  static const MenuNode menu = BuildMain();
  return menu;
}

const MenuNode* FindMenu(std::string_view name) { return FindIn(MainMenu(), name); }

int IndexInMenu(const MenuNode& submenu, std::string_view itemName) {
  for (size_t i = 0; i < submenu.children.size(); ++i)
    if (itemName == submenu.children[i].name) return static_cast<int>(i);
  return -1;
}

}  // namespace viz
