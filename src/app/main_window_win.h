// TApp_Vizmoria: the magnifier's main window. The class is split by concern across files:
//   app/main_window_win.cpp        creation, destruction, window messages, z-order, other windows
//   app/main_commands_win.cpp      command dispatch and the small command handlers
//   app/main_menu_win.cpp          popup menu, toolbar and its drop-downs
//   app/main_settings_win.cpp      applying and collecting the settings file
//   capture/main_capture_win.cpp   the capture cycle, pause, fixed point, glides, capture panel
//   capture/main_zoom_win.cpp      zoom and grid commands
//   info/main_panel_win.cpp        metrics, layout, rulers, panel drawing, text copies
//   commands/main_input_win.cpp    keyboard and mouse handling
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>

#include "app/settings_codec.h"
#include "capture/screen_size_win.h"
#include "commands/bindings.h"
#include "commands/command_list.h"
#include "info/info_lines.h"
#include "info/window_ident_win.h"
#include "ui/handle_win.h"
#include "ui/window_base_win.h"

namespace viz {

class SettingWindow;
class ShortcutWindow;

// Who started a command: the line builder, the stay-on-top handler and the settings window tell
// these apart.
enum class Sender { None, Menu, Toolbar, Key, Gesture, Timer, Program, SettingWindow };

// A 32-bit top-down DIB section selected into its own memory DC.
class DibCanvas {
 public:
  bool Create(int width, int height);
  void Reset();
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  uint32_t* bits() const { return bits_; }
  explicit operator bool() const { return bits_ != nullptr; }

 private:
  UniqueDc dc_;
  UniqueBitmap bmp_;
  HGDIOBJ oldBmp_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

class MainWindow : public WindowBase<MainWindow> {
  friend class WindowBase<MainWindow>;

 public:
  static constexpr const wchar_t* kClassName = L"TApp_Vizmoria";
  static constexpr UINT kMsgToolbarSync = 0x8000;  // posted by the grid toolbar button
  static constexpr UINT kSysCmdMonitorMove = 201;
  static constexpr UINT kMsgLeaveRest = WM_APP + 2;  // the mouse moved while at rest

  MainWindow();
  ~MainWindow();

  static bool RegisterClass(HINSTANCE inst);
  bool Create(HINSTANCE inst);  // creates the window; runs FormCreate and shows it
  // Lets dialogs, menus and keys reach the main window before the controls (key preview).
  bool PreTranslate(MSG& msg);

  CommandList& Commands() { return cmds_; }
  BindingSet& Bindings() { return bindings_; }
  // Fires a command as a menu, toolbar, key or gesture does: a check-mark command toggles first.
  void Fire(Cmd c, Sender s);
  // Runs a command's operation only.
  void Execute(Cmd c, Sender s);
  // Called after any state change that menus, toolbar and other windows show.
  void CommandsChanged();

  HWND SettingWindowHandle() const;
  HWND ShortcutWindowHandle() const;

  // A popup menu of the menu-table node, with the commands' current states.
  UniqueMenu BuildPopup(const struct MenuNode& node);
  int LineHeight() const { return FLineHeight; }

  // Runs one capture cycle now (the next timer tick captures once more about 100 ms later).
  void RefreshNow();

  // Read by tests and the picture copy.
  const CaptureInfo& LastCapture() const { return FCaptureInfo; }
  const DibCanvas& ViewCanvas() const { return FViewBitmap; }
  int Zoom() const { return FZoom; }
  bool Resting() const { return resting_; }
  unsigned CaptureCount() const { return captureCount_; }  // completed capture cycles

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void PaintView(HDC dc, bool active);  // the back buffer below the toolbar, with the border

  // ---- lifecycle (main_window_win.cpp)
  void FormCreate();
  void FormDestroy();
  void SetupSystemMenus();
  void ApplicationActivated(bool active);
  void ApplyStayOnTop();
  void actOpt_StayOnTopExecute(Sender s);
  void actCustom_SettingExecute(Cmd sender);
  void actCustom_ShortCutExecute();
  void EnsureSettingWindow();
  void CreateFonts();
  int Dpi() const;
  int Scale(int v96) const { return MulDiv(v96, Dpi(), 96); }

  // ---- menus and toolbar (main_menu_win.cpp)
  void ShowMainMenu(POINT screen);
  void CreateToolbar();
  void UpdateToolbar();
  void OnToolbarDropDown(NMTOOLBARW* nm);
  int ToolbarHeight() const;
  static LRESULT CALLBACK ToolbarSubclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                          DWORD_PTR ref);
  std::wstring MenuCaption(Cmd c) const;

  // ---- settings file (main_settings_win.cpp)
  bool ApplySettings();
  void CollectSettings();

  // ---- capture (capture/main_capture_win.cpp)
  void Timer_MainTimer(Sender s);
  void EnterRest(DWORD now);
  void LeaveRest();
  void actCapture_PauseExecute(Cmd sender);
  void actCapture_FixedExecute();
  bool CaptureModifierVariant();
  void actOpt_SmoothCaptureExecute(Sender s);
  void actOpt_NoSelfCaptureExecute();
  void CompositionCheck();
  void SetAlphaBlend(bool on);
  void TakeDesktopSnapshots();
  bool EnsureDesktopBitmaps();
  void MoveCapturePointTo(POINT target);
  void MoveCursorTo(POINT target);
  void MoveCapture(int dx, int dy);
  void ShowCapturePanel();
  void CreateCapturePanel();
  void Timer_CaptureMoveTimer();
  void OnCaptureButton(int index, bool down);
  void SetStatusMessage(const std::wstring& text);
  void Timer_InfomationTimer();
  void DrawGrid(HDC dc);
  void DrawStatusLine(HDC dc, COLORREF text, COLORREF back, COLORREF pen);
  void FillWindowInfo(POINT pt);
  void OnDisplayChange();
  bool IsPaused() const { return cmds_.Checked(Cmd::Capture_Pause); }
  bool IsFixed() const { return cmds_.Checked(Cmd::Capture_Fixed); }
  bool NoSelfCaptureOn() const {
    return cmds_.Checked(Cmd::Opt_NoSelfCapture) && cmds_.Enabled(Cmd::Opt_NoSelfCapture);
  }

  // ---- zoom and grid (capture/main_zoom_win.cpp)
  void actZoomExecute(Cmd c);
  void actZoomStep(int delta);
  void actGrid_DispExecute();
  void actGrid_ColorExecute(Cmd c);
  void actGrid_SubBlueExecute(Cmd c);
  void actGrid_SelColorExecute(Cmd c);

  // ---- panel, layout, copies (info/main_panel_win.cpp)
  void actOpt_BigFontExecute();
  void FormResize(Sender s);
  void DrawRulers();
  void DrawPanel(HDC dc, bool active);
  int BuildInfoLines(Cmd sender, Sender from, int y, HDC drawDc,
                     std::vector<std::wstring>* copyOut);
  void actInfoOnOff(Cmd group);
  void actPos_UserPosSetExecute();
  void actCopy_TextExecute(Cmd c);
  void actCopy_PictureExecute();
  void ShowNotice(const std::wstring& text);
  void WriteCopyFile(const std::wstring& ext, const std::string& bytes, const wchar_t* failFmt,
                     bool isText);

  // ---- input (commands/main_input_win.cpp)
  bool FormKeyDown(WPARAM key);
  bool FormKeyUp(WPARAM key);
  void FormMouseDown(UINT button, POINT client);
  void FormMouseMove(POINT client);
  void FormMouseUp(UINT button, POINT client);
  void FormDblClick(POINT client);
  void FormMouseWheel(int delta);
  void RunGesture(POINT endClient);
  void actMove(Cmd c);
  void actMove_MonitorExecute();
  void actMenu_MainExecute();
  void StartSystemDrag(WPARAM sysCommand);

  // ---- state
  CommandList cmds_;
  BindingSet bindings_;
  TMyScreenSize screen_;
  HINSTANCE inst_ = nullptr;
  int FTag = 0;  // life and layout flag
  bool terminating_ = false;
  bool active_ = false;              // the window is the active one (WM_ACTIVATE)
  bool savedForSessionEnd_ = false;  // written at WM_QUERYENDSESSION

  int FZoom = 6;
  int FZoomIndex = 4;
  int FSavedZoom = -1;
  COLORREF FGridColor = 0x999999;
  int FGridPenMode = R2_COPYPEN;
  COLORREF FSubGridColor = 0xFF0000;

  bool FCycleBusy = false;
  POINT FCapturePoint{};
  DWORD FLastCaptureTick = 0;
  int FRulerWidth = 7;
  int FCaptureWidth = 0, FCaptureHeight = 0;
  int FCaptureHalfX = 0, FCaptureHalfY = 0;
  POINT FCenterCell{};
  int FMarkerWidth = 2;

  DibCanvas FCaptureBitmap;   // whole virtual desktop: live capture scratch and paused snapshot
  DibCanvas FSnapshotNoSelf;  // whole virtual desktop without layered windows
  DibCanvas FViewBitmap;      // back buffer under the toolbar
  RECT snapshotDesktop_{};    // desktop rectangle the snapshots were taken of
  CaptureInfo FCaptureInfo;
  std::wstring FStatusMessage;
  std::optional<T_WinList> FWindowListSnapshot;
  int timerMainTag_ = 1000;
  UINT timerMainInterval_ = 60;
  bool timerMainEnabled_ = false;
  bool timerInfoEnabled_ = false;

  RECT FInfoRect{};
  int FLineHeight = 16;
  int FStatusIconX = 40;
  int FColumnSeparatorX = 50;

  // Input
  POINT FGestureStart{-1, -1};
  bool FPanning = false;
  POINT FPanDown{};
  POINT FPanStartPoint{};
  bool FWheelBusy = false;
  bool ignoreNextLUp_ = false;

  // Children and GDI
  HWND toolbar_ = nullptr;
  mutable int toolbarHeight_ = -1;  // cached; -1 = read again
  T_WinItem recentItem_;            // the last live identification and when it was made
  DWORD recentItemTick_ = 0;
  POINT recentItemPoint_{};         // where it was made
  unsigned captureCount_ = 0;
  bool resting_ = false;      // the cursor is still: the timer ticks once a second (EnterRest)
  UniqueHook restHook_;       // wakes the timer at the first mouse movement while resting
  UniqueDc displayDc_;        // the screen, for live capture
  POINT displayShift_{};      // screen point + shift = point in displayDc_
  HWND pnlCapture_ = nullptr;
  HWND captureButtons_[4] = {};
  Cmd captureMoveCmd_ = Cmd::Move_Up;
  HIMAGELIST toolImages_ = nullptr;
  UniqueFont windowFont_;
  UniqueFont viewFont_;
  UniqueFont iconFont_;
  int viewFontPoints_ = 9;

  std::optional<SettingsFile> lastSettings_;  // the file as read at start, if any
  std::unique_ptr<SettingWindow> settingWindow_;
  std::unique_ptr<ShortcutWindow> shortcutWindow_;
};

MainWindow* TheMainWindow();  // the published main window (none before creation)

}  // namespace viz
