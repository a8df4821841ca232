// Command dispatch: every menu item, toolbar button, key and gesture ends here.
#include "app/main_window_win.h"
#include "commands/shortcut_window_win.h"
#include "settings_ui/setting_window_win.h"

namespace viz {

void MainWindow::Fire(Cmd c, Sender s) {
  if (!cmds_.Enabled(c) && (s == Sender::Menu || s == Sender::Toolbar)) return;
  if (Def(c).autoCheck) cmds_.SetChecked(c, !cmds_.Checked(c));
  Execute(c, s);
}

void MainWindow::Execute(Cmd c, Sender s) {
  switch (c) {
    case Cmd::Zoom_1: case Cmd::Zoom_2: case Cmd::Zoom_3: case Cmd::Zoom_4: case Cmd::Zoom_6:
    case Cmd::Zoom_8: case Cmd::Zoom_10: case Cmd::Zoom_12: case Cmd::Zoom_16: case Cmd::Zoom_20:
      actZoomExecute(c);
      break;
    case Cmd::Zoom_Up: actZoomStep(+1); break;
    case Cmd::Zoom_Down: actZoomStep(-1); break;
    case Cmd::Grid_Disp: actGrid_DispExecute(); break;
    case Cmd::Grid_Gray: case Cmd::Grid_Invert: case Cmd::Grid_Transparent:
      actGrid_ColorExecute(c);
      break;
    case Cmd::Grid_SubNone: case Cmd::Grid_SubBlue: actGrid_SubBlueExecute(c); break;
    case Cmd::Grid_SelColor: case Cmd::Grid_SelSubColor: actGrid_SelColorExecute(c); break;
    case Cmd::Color_RGB: case Cmd::Color_HTML: case Cmd::Color_COLORREF:
    case Cmd::Pos_Screen: case Cmd::Pos_Client: case Cmd::Pos_User:
    case Cmd::WinInfo_Handle: case Cmd::WinInfo_ClassName: case Cmd::WinInfo_Text:
    case Cmd::WinInfo_WindowSize: case Cmd::WinInfo_ClientSize: case Cmd::WinInfo_Rect:
    case Cmd::WinInfo_ExeName:
      FormResize(s);
      break;
    case Cmd::Color_InfoOnOff: case Cmd::Pos_InfoOnOff: case Cmd::WinInfo_InfoOnOff:
      actInfoOnOff(c);
      break;
    case Cmd::Pos_UserPosSet: actPos_UserPosSetExecute(); break;
    case Cmd::Copy_Picture: actCopy_PictureExecute(); break;
    case Cmd::Copy_ColorRGB: case Cmd::Copy_ColorHTML: case Cmd::Copy_ColorCOLORREF:
    case Cmd::Copy_PosScreen: case Cmd::Copy_PosClient: case Cmd::Copy_PosUser:
    case Cmd::Copy_WinInfoHandle: case Cmd::Copy_WinInfoClassName: case Cmd::Copy_WinInfoText:
    case Cmd::Copy_WinInfoWindowSize: case Cmd::Copy_WinInfoClientSize: case Cmd::Copy_WinInfoRect:
    case Cmd::Copy_WinInfoExeName: case Cmd::Copy_All:
      actCopy_TextExecute(c);
      break;
    case Cmd::Capture_Pause: case Cmd::Capture_Update: actCapture_PauseExecute(c); break;
    case Cmd::Capture_Fixed: actCapture_FixedExecute(); break;
    case Cmd::Capture_Disp_x1: break;  // acts only while its key is held
    case Cmd::Opt_StayOnTop: actOpt_StayOnTopExecute(s); break;
    case Cmd::Opt_BigFont: actOpt_BigFontExecute(); break;
    case Cmd::Opt_NoSelfCapture: actOpt_NoSelfCaptureExecute(); break;
    case Cmd::Opt_SmoothCapture: actOpt_SmoothCaptureExecute(s); break;
    case Cmd::Custom_Setting: actCustom_SettingExecute(c); break;
    case Cmd::Help: actCustom_SettingExecute(c); break;
    case Cmd::Custom_ShortCut: actCustom_ShortCutExecute(); break;
    case Cmd::Menu_Main: actMenu_MainExecute(); break;
    case Cmd::Move_Up: case Cmd::Move_Down: case Cmd::Move_Left: case Cmd::Move_Right:
      actMove(c);
      break;
    case Cmd::Move_Monitor: actMove_MonitorExecute(); break;
    case Cmd::File_Minimize: ::ShowWindow(hwnd_, SW_MINIMIZE); break;
    case Cmd::File_Exit: ::PostMessageW(hwnd_, WM_CLOSE, 0, 0); break;
    case Cmd::Spc: case Cmd::Count_: break;
  }
  CommandsChanged();
}

void MainWindow::CommandsChanged() {
  if (!hwnd_) return;
  UpdateToolbar();
  if (settingWindow_ && settingWindow_->hwnd()) settingWindow_->SyncFromCommands();
  if (shortcutWindow_ && shortcutWindow_->hwnd()) shortcutWindow_->SyncFromCommands();
}

}  // namespace viz
