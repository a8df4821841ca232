#include "settings_ui/setting_window_win.h"

#include "app/main_window_win.h"

namespace viz {

SettingWindow::~SettingWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool SettingWindow::Create(HWND owner) {
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = StaticWndProc;
  wc.hInstance = inst;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);
  return ::CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, L"vizmoria - 一覧設定",
                           WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 360, 320, owner,
                           nullptr, inst, this) != nullptr;
}

void SettingWindow::Show() {
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
}

void SettingWindow::SelectPage(Page p) { page_ = p; }

bool SettingWindow::PreTranslate(MSG& msg) {
  return hwnd_ && ::IsDialogMessageW(hwnd_, &msg);
}

void SettingWindow::SyncFromCommands() {}

LRESULT SettingWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return DefProc(msg, wp, lp);
}

}  // namespace viz
