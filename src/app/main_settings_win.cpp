// Applying the settings file at start and collecting it at exit.
#include <algorithm>

#include "app/main_window_win.h"
#include "app/settings_file_win.h"
#include "app/settings_state.h"
#include "platform/sysfuncs_win.h"

namespace viz {
namespace {

struct StoredBounds {
  int x, y, width, height;
};

// The stored bounds as the window can take them. The size is the stored one only when both sides
// exceed 50 pixels, and never more than the whole desktop; the position is limited to the range
// window coordinates have, so that position plus size stays representable. A damaged file can
// hold any 32-bit values here.
StoredBounds UsableBounds(const SettingsState& st, SIZE current, SIZE desktop) {
  constexpr int64_t kCoordLimit = 32767;
  StoredBounds b{};
  int64_t w = current.cx, h = current.cy;
  if (HasUsableWindowSize(st)) {
    w = int64_t{st.windowRight} - st.windowLeft;
    h = int64_t{st.windowBottom} - st.windowTop;
    w = std::min<int64_t>(w, std::max<int64_t>(desktop.cx, current.cx));
    h = std::min<int64_t>(h, std::max<int64_t>(desktop.cy, current.cy));
  }
  b.width = static_cast<int>(w);
  b.height = static_cast<int>(h);
  b.x = static_cast<int>(std::clamp<int64_t>(st.windowLeft, -kCoordLimit - 1, kCoordLimit));
  b.y = static_cast<int>(std::clamp<int64_t>(st.windowTop, -kCoordLimit - 1, kCoordLimit));
  return b;
}

}  // namespace

bool MainWindow::ApplySettings() {
  const std::optional<SettingsFile> file = LoadSettingFile();
  if (!file) return false;
  lastSettings_ = *file;
  const RECT d = engine_.Screen().Desktop();
  const SettingsState st = InterpretSettings(*file, ToRect(d));

  // The user-colour handler only takes the check while this tag is 1.
  cmds_[Cmd::Custom_Setting].tag = 1;
  ApplyCommandState(st, cmds_);

  // Zoom, then the grid-colour and sub-grid handlers with the stored choices (the grid shown and
  // the two user colours came with the command state).
  actZoomExecute(ZoomCommandAt(st.zoomIndex));
  if (st.gridColor == Cmd::Grid_SelColor)
    actGrid_SelColorExecute(Cmd::Grid_SelColor);
  else
    actGrid_ColorExecute(st.gridColor);
  if (st.subGrid == Cmd::Grid_SelSubColor)
    actGrid_SelColorExecute(Cmd::Grid_SelSubColor);
  else
    actGrid_SubBlueExecute(st.subGrid);
  // The origin (clamped into the desktop by the interpretation).
  FCaptureInfo.UserOrigin = Point{st.userOriginX, st.userOriginY};
  // Options: stay on top goes through its handler as if chosen by the user.
  cmds_[Cmd::Opt_StayOnTop].checked = !st.Flag(Cmd::Opt_StayOnTop);
  actOpt_StayOnTopExecute(Sender::Menu);
  actOpt_BigFontExecute();
  actOpt_NoSelfCaptureExecute();
  actOpt_SmoothCaptureExecute(Sender::Program);
  // The fixed point (clamped into the desktop by the interpretation).
  if (cmds_.Checked(Cmd::Capture_Fixed)) {
    view_.MoveCapturePointTo(Point{st.capturePointX, st.capturePointY});
    ShowCapturePanel();
  }
  // Bindings and gestures.
  bindings_.LoadFrom(file->keys, file->gestures);
  // Window bounds.
  RECT wr;
  ::GetWindowRect(hwnd_, &wr);
  const StoredBounds b = UsableBounds(st, SIZE{wr.right - wr.left, wr.bottom - wr.top},
                                      SIZE{d.right - d.left, d.bottom - d.top});
  int x = b.x, y = b.y;
  if (IsKeyDown(VK_SHIFT)) x = y = 0;
  ::SetWindowPos(hwnd_, nullptr, x, y, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (!IsKeyDown(VK_CONTROL)) engine_.Screen().BringOnScreen(hwnd_);

  cmds_[Cmd::Custom_Setting].tag = 0;
  return true;
}

void MainWindow::CollectSettings() {
  SettingsState st = lastSettings_ ? InterpretSettings(*lastSettings_, Rect{})
                                   : DefaultSettingsState();
  ReadCommandState(cmds_, st);
  RECT wr;
  ::GetWindowRect(hwnd_, &wr);
  st.windowLeft = wr.left;
  st.windowTop = wr.top;
  st.windowRight = wr.right;
  st.windowBottom = wr.bottom - (panel_.PanelRect().bottom - panel_.PanelRect().top);
  st.zoomIndex = view_.FZoomIndex;
  st.userOriginX = FCaptureInfo.UserOrigin.x;
  st.userOriginY = FCaptureInfo.UserOrigin.y;
  st.capturePointX = view_.CapturePoint().x;
  st.capturePointY = view_.CapturePoint().y;
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
