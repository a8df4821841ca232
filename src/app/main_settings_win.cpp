// Applying the settings file at start and collecting it at exit.
#include "app/main_window_win.h"
#include "app/settings_file_win.h"
#include "app/settings_state.h"
#include "platform/sysfuncs_win.h"

namespace viz {

bool MainWindow::ApplySettings() {
  const std::optional<SettingsFile> file = LoadSettingFile();
  if (!file) return false;
  lastSettings_ = *file;
  const RECT d = screen_.Desktop();
  const SettingsState st = InterpretSettings(*file, DesktopRect{d.left, d.top, d.right, d.bottom});

  // The user-colour handler only takes the check while this tag is 1.
  cmds_[Cmd::Custom_Setting].tag = 1;
  ApplyCommandState(st, cmds_);

  // 1. Zoom.
  FZoomIndex = st.zoomIndex;
  actZoomExecute(ZoomCommandAt(st.zoomIndex));
  // 2, 3 were set with the command state. 4. Grid colour.
  if (st.gridColor == Cmd::Grid_SelColor) {
    actGrid_SelColorExecute(Cmd::Grid_SelColor);
    FGridColor = static_cast<COLORREF>(cmds_.Tag(Cmd::Grid_SelColor));
    FGridPenMode = R2_COPYPEN;
  } else {
    actGrid_ColorExecute(st.gridColor);
  }
  // 5. Sub-grid.
  if (st.subGrid == Cmd::Grid_SelSubColor) {
    actGrid_SelColorExecute(Cmd::Grid_SelSubColor);
    FSubGridColor = static_cast<COLORREF>(cmds_.Tag(Cmd::Grid_SelSubColor));
  } else {
    actGrid_SubBlueExecute(st.subGrid);
  }
  // 7. Origin (clamped into the desktop by the interpretation).
  FCaptureInfo.UserOrigin = InfoPoint{st.userOriginX, st.userOriginY};
  // 8. Options: stay on top goes through its handler as if chosen by the user.
  cmds_[Cmd::Opt_StayOnTop].checked = !st.Flag(Cmd::Opt_StayOnTop);
  actOpt_StayOnTopExecute(Sender::Menu);
  actOpt_BigFontExecute();
  actOpt_NoSelfCaptureExecute();
  actOpt_SmoothCaptureExecute(Sender::Program);
  // 9. Fixed point.
  if (cmds_.Checked(Cmd::Capture_Fixed)) {
    FCapturePoint = POINT{st.capturePointX, st.capturePointY};
    ShowCapturePanel();
  }
  // 10. Bindings and gestures.
  bindings_.LoadFrom(file->keys, file->gestures);
  // 11. Window bounds.
  RECT wr;
  ::GetWindowRect(hwnd_, &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (HasUsableWindowSize(st)) {
    w = st.windowRight - st.windowLeft;
    h = st.windowBottom - st.windowTop;
  }
  int x = st.windowLeft, y = st.windowTop;
  if (IsKeyDown(VK_SHIFT)) x = y = 0;
  ::SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  if (!IsKeyDown(VK_CONTROL)) screen_.BringOnScreen(hwnd_);

  cmds_[Cmd::Custom_Setting].tag = 0;
  cmds_.Touch();
  return true;
}

void MainWindow::CollectSettings() {
  SettingsState st = lastSettings_ ? InterpretSettings(*lastSettings_, DesktopRect{})
                                   : DefaultSettingsState();
  ReadCommandState(cmds_, st);
  RECT wr;
  ::GetWindowRect(hwnd_, &wr);
  st.windowLeft = wr.left;
  st.windowTop = wr.top;
  st.windowRight = wr.right;
  st.windowBottom = wr.bottom - (FInfoRect.bottom - FInfoRect.top);
  st.zoomIndex = FZoomIndex;
  st.userOriginX = FCaptureInfo.UserOrigin.x;
  st.userOriginY = FCaptureInfo.UserOrigin.y;
  st.capturePointX = FCapturePoint.x;
  st.capturePointY = FCapturePoint.y;
  SettingsFile file = viz::CollectSettings(st);
  if (lastSettings_) {
    // Bytes the program does not use go back as they were read.
    file.block.reserved1 = lastSettings_->block.reserved1;
    file.block.reserved2 = lastSettings_->block.reserved2;
  }
  bindings_.SaveTo(file.keys, file.gestures);
  SaveSettingFile(file);
}

}  // namespace viz
