// TApp_VizmoriaSetting: the settings and version window, modeless, owned by the main window.
//
// A tab control with two pages, each a child dialog (so dialog navigation, mnemonics and the
// themed tab background come from the system): tabSetting holds one check box per mirrored
// command, tabHelp the title, the file version and the help link. The check boxes carry
// the command identifiers as control IDs (chkColor_COLORREF is 3003).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "commands/command_table.h"
#include "settings_ui/setting_items.h"
#include "ui/handle_win.h"
#include "ui/window_base_win.h"

namespace viz {

class CommandHost;

// The help page opened by the link on the version page: a file of this name beside the program
// (the page in the language shown), or, in a build given VIZ_HELP_URL, that address.
inline std::wstring_view HelpFileName() { return Tr(Text::HelpFileName); }
// The full path or address the link opens.
std::wstring HelpPageTarget();
// What the link shows: the file name, or the address.
std::wstring HelpLinkText();

class SettingWindow : public WindowBase<SettingWindow> {
  friend class WindowBase<SettingWindow>;

 public:
  static constexpr const wchar_t* kClassName = L"TApp_VizmoriaSetting";
  enum class Page { Setting, Help };
  // Control IDs besides the check boxes.
  static constexpr int kIdTab = 100;
  static constexpr int kIdPageSetting = 101;
  static constexpr int kIdPageHelp = 102;
  static constexpr int kIdTitle = 110;
  static constexpr int kIdVersion = 111;
  static constexpr int kIdHelpLink = 114;
  static constexpr int kIdIcon = 115;
  static constexpr int kIdGroupBase = 120;  // + SettingGroups() index

  explicit SettingWindow(CommandHost& host) : host_(host) {}
  ~SettingWindow();
  SettingWindow(const SettingWindow&) = delete;
  SettingWindow& operator=(const SettingWindow&) = delete;

  bool Create(HWND owner);
  void Show();
  void SelectPage(Page p);
  Page CurrentPage() const { return page_; }
  // Dialog navigation, Esc, mnemonics and Ctrl+Tab for this window; true when the message was
  // used. Keys of this window never go on to the main window's bindings.
  bool PreTranslate(MSG& msg);
  // Makes every check box show its command's check, enabled and visible state. Fires nothing.
  void SyncFromCommands();

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnNcDestroy();
  static INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  INT_PTR HandlePageMessage(HWND page, UINT msg, WPARAM wp, LPARAM lp);

  // ---- building and layout (setting_layout_win.cpp)
  int Dpi() const;
  void CreateFonts(int dpi);
  HWND CreatePage(int id);
  HWND AddControl(HWND parent, const wchar_t* cls, std::wstring_view text, DWORD style, int id,
                  HFONT font = nullptr);
  void BuildSettingPage();
  void BuildHelpPage();
  void Layout();
  SettingMetrics Metrics(HDC dc) const;
  int TextWidth(HDC dc, HFONT font, std::wstring_view text) const;
  void PlaceNearOwner(int width, int height);

  void ShowPage(Page p);
  bool ClosingKey(const MSG& msg);
  void FollowStayOnTop(bool onTop);
  void OnCheckClicked(Cmd c);
  void OpenHelpPage();
  void Close();

  CommandHost& host_;
  Page page_ = Page::Setting;
  HWND owner_ = nullptr;
  HWND tab_ = nullptr;
  HWND pageSetting_ = nullptr;
  HWND pageHelp_ = nullptr;
  HWND close_ = nullptr;
  HWND link_ = nullptr;
  bool linkIsSysLink_ = false;
  std::vector<HWND> checks_;   // by SettingItems() index
  std::vector<bool> shown_;    // visibility the layout was made for
  HWND groups_[kSettingGroupCount] = {};
  HWND lastFocus_ = nullptr;
  UINT closingKey_ = 0;  // a key whose release closes the window
  int dpi_ = 96;
  UniqueFont font_;
  UniqueFont titleFont_;
  UniqueFont linkFont_;
  UniqueIcon icon_;
  HWND iconStatic_ = nullptr;
  HWND title_ = nullptr;
  HWND versionLabel_ = nullptr;
  std::wstring version_;
};

}  // namespace viz
