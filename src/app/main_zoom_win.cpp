// Zoom and grid commands.
#include "app/main_window_win.h"  // <windows.h> first: <commdlg.h> needs it

#include <commdlg.h>

#include "platform/sysfuncs_win.h"

namespace viz {

void MainWindow::actZoomExecute(Cmd c) {
  cmds_.SetChecked(c, true);
  view_.SetZoom(c);
  FormResize(Sender::Program);
}

void MainWindow::actZoomStep(int delta) {
  if (const std::optional<Cmd> c = view_.StepZoom(delta > 0)) actZoomExecute(*c);
}

void MainWindow::actGrid_DispExecute() {
  cmds_.SetChecked(Cmd::Grid_Disp, !cmds_.Checked(Cmd::Grid_Disp));
  FormResize(Sender::Program);
  RefreshNow();
}

void MainWindow::actGrid_ColorExecute(Cmd c) {
  cmds_.SetChecked(c, true);
  RefreshNow();
}

void MainWindow::actGrid_SubBlueExecute(Cmd c) {
  cmds_.SetChecked(c, true);
  RefreshNow();
}

void MainWindow::actGrid_SelColorExecute(Cmd c) {
  cmds_.SetChecked(c, true);
  // While the settings are applied only the check changes.
  if (cmds_.Tag(Cmd::Custom_Setting) == 1) return;

  const COLORREF centre = FCaptureInfo.ColorRef & 0xFFFFFF;
  bool takeIt = false;
  if (IsKeyDown(VK_CONTROL)) {
    cmds_[c].tag = static_cast<int32_t>(centre);
    takeIt = true;
  } else if (IsKeyDown(VK_SHIFT)) {
    cmds_[c].tag = static_cast<int32_t>(0xFFFFFF - centre);
    takeIt = true;
  } else {
    static COLORREF custom[16] = {};
    CHOOSECOLORW cc{sizeof(cc)};
    cc.hwndOwner = hwnd_;
    cc.rgbResult = static_cast<COLORREF>(cmds_.Tag(c)) & 0xFFFFFF;
    cc.lpCustColors = custom;
    cc.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
    if (::ChooseColorW(&cc)) {
      cmds_[c].tag = static_cast<int32_t>(cc.rgbResult & 0xFFFFFF);
      takeIt = true;
    }
  }
  if (takeIt) cmds_.SetChecked(Cmd::Grid_Disp, true);
  FormResize(Sender::Program);
}

}  // namespace viz
