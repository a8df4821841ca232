// TApp_CustomShortCut: the shortcut customisation window, modeless, owned by the main window.
#pragma once

#include <windows.h>

#include "ui/window_base_win.h"

namespace viz {

class MainWindow;

class ShortcutWindow : public WindowBase<ShortcutWindow> {
  friend class WindowBase<ShortcutWindow>;

 public:
  static constexpr const wchar_t* kClassName = L"TApp_CustomShortCut";

  explicit ShortcutWindow(MainWindow& main) : main_(main) {}
  ~ShortcutWindow();
  bool Create(HWND owner);
  void Show();
  bool PreTranslate(MSG& msg);
  void SyncFromCommands();

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  MainWindow& main_;
};

}  // namespace viz
