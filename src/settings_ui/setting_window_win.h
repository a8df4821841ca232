// TApp_VizmoriaSetting: the settings and version window, modeless, owned by the main window.
#pragma once

#include <windows.h>

#include "ui/window_base_win.h"

namespace viz {

class MainWindow;

class SettingWindow : public WindowBase<SettingWindow> {
  friend class WindowBase<SettingWindow>;

 public:
  static constexpr const wchar_t* kClassName = L"TApp_VizmoriaSetting";
  enum class Page { Setting, Help };

  explicit SettingWindow(MainWindow& main) : main_(main) {}
  ~SettingWindow();
  bool Create(HWND owner);
  void Show();
  void SelectPage(Page p);
  bool PreTranslate(MSG& msg);
  void SyncFromCommands();

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  MainWindow& main_;
  Page page_ = Page::Setting;
};

}  // namespace viz
