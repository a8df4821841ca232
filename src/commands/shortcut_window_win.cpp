#include "commands/shortcut_window_win.h"

#include "app/main_window_win.h"

namespace viz {

ShortcutWindow::~ShortcutWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool ShortcutWindow::Create(HWND owner) {
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = StaticWndProc;
  wc.hInstance = inst;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);
  return ::CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, L"vizmoria - ショートカット設定",
                           WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 360, 320, owner,
                           nullptr, inst, this) != nullptr;
}

void ShortcutWindow::Show() {
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
}


bool ShortcutWindow::PreTranslate(MSG& msg) {
  return hwnd_ && ::IsDialogMessageW(hwnd_, &msg);
}

void ShortcutWindow::SyncFromCommands() {}

LRESULT ShortcutWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return DefProc(msg, wp, lp);
}

}  // namespace viz
