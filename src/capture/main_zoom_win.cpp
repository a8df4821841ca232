// Zoom and grid commands.
#include "app/main_window_win.h"

#include <commdlg.h>

#include "capture/view_geometry.h"
#include "commands/menu_table.h"
#include "platform/sysfuncs_win.h"

namespace viz {

void MainWindow::actZoomExecute(Cmd c) {
  cmds_.SetChecked(c, true);
  FZoom = std::abs(cmds_.Tag(c));
  // The item named "mni" + the command's name without "act" gives the index.
  const MenuNode* zoom = FindMenu("mniZoom");
  const std::string item = std::string("mni") + (Def(c).name + 3);
  const int index = zoom ? IndexInMenu(*zoom, item) : -1;
  if (index >= 0) FZoomIndex = index;
  FormResize(Sender::Program);
}

void MainWindow::actZoomStep(int delta) {
  if (auto index = ZoomStepIndex(FZoomIndex, FSavedZoom, delta > 0))
    actZoomExecute(ZoomCommandAt(*index));
}

void MainWindow::actGrid_DispExecute() {
  cmds_.SetChecked(Cmd::Grid_Disp, !cmds_.Checked(Cmd::Grid_Disp));
  FormResize(Sender::Program);
  RefreshNow();
}

void MainWindow::actGrid_ColorExecute(Cmd c) {
  cmds_.SetChecked(c, true);
  FGridColor = static_cast<COLORREF>(cmds_.Tag(c));
  FGridPenMode = c == Cmd::Grid_Invert ? R2_NOT : c == Cmd::Grid_Transparent ? R2_MASKPEN : R2_COPYPEN;
  RefreshNow();
}

void MainWindow::actGrid_SubBlueExecute(Cmd c) {
  cmds_.SetChecked(c, true);
  if (c != Cmd::Grid_SubNone) FSubGridColor = static_cast<COLORREF>(cmds_.Tag(c));
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
  if (c == Cmd::Grid_SelColor) {
    FGridColor = static_cast<COLORREF>(cmds_.Tag(c));
    FGridPenMode = R2_COPYPEN;
  } else {
    FSubGridColor = static_cast<COLORREF>(cmds_.Tag(c));
  }
  if (takeIt) cmds_.SetChecked(Cmd::Grid_Disp, true);
  FormResize(Sender::Program);
}

}  // namespace viz
