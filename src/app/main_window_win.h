// TApp_Vizmoria: the magnifier's main window. It keeps the window and its messages, the order of
// creation and destruction, the timers, the commands and bindings, menus and toolbar, applying
// and collecting the settings, the z-order rule and the back buffer; the work is done by parts
// that own their state:
//   capture/view_state.h        ViewState     zoom, saved zoom, capture point, view geometry
//   capture/capture_engine_win  CaptureEngine one capture cycle, monitors, snapshots
//   capture/motion_watch_win    MotionWatch   pointer movements (raw input), which also end rest mode
//   capture/frame_pacer.h       FramePacer    one cycle per display frame while the pointer moves
//   capture/capture_panel_win   CapturePanel  the arrow buttons of a frozen view
//   info/info_panel_win         InfoPanel     panel font, metrics, rectangle, notice, drawing
//   commands/input_state.h      InputState    gesture start, pan, wheel guard, pressed keys
// The class is split by concern across files of this folder:
//   main_window_win.cpp    creation, destruction, window messages, z-order, other windows
//   main_commands_win.cpp  command dispatch
//   main_menu_win.cpp      popup menu, toolbar and its drop-downs
//   main_settings_win.cpp  applying and collecting the settings file
//   main_capture_win.cpp   the capture cycle's timer, pause, fixed point, glides, rest mode
//   main_zoom_win.cpp      zoom and grid commands
//   main_panel_win.cpp     metrics, layout, rulers, text and picture copies
//   main_input_win.cpp     keyboard and mouse
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/settings_codec.h"
#include "capture/capture_engine_win.h"
#include "capture/capture_panel_win.h"
#include "capture/frame_pacer.h"
#include "capture/motion_watch_win.h"
#include "capture/view_state.h"
#include "commands/bindings.h"
#include "commands/command_host.h"
#include "commands/command_list.h"
#include "commands/input_state.h"
#include "info/info_lines.h"
#include "info/info_panel_win.h"
#include "platform/dpi_win.h"
#include "ui/dib_canvas_win.h"
#include "ui/handle_win.h"
#include "ui/window_base_win.h"
#include "ui/window_messages_win.h"

namespace viz {

class SettingWindow;
class ShortcutWindow;
struct MenuNode;

class MainWindow : public WindowBase<MainWindow>, public CommandHost {
  friend class WindowBase<MainWindow>;

 public:
  static constexpr const wchar_t* kClassName = L"TApp_Vizmoria";
  static constexpr UINT kSysCmdMonitorMove = 201;

  MainWindow();
  ~MainWindow();

  static bool RegisterClass(HINSTANCE inst);
  bool Create(HINSTANCE inst);  // creates the window; runs FormCreate and shows it
  // Lets dialogs, menus and keys reach the main window before the controls (key preview).
  bool PreTranslate(MSG& msg);

  // CommandHost.
  CommandList& Commands() override { return cmds_; }
  BindingSet& Bindings() override { return bindings_; }
  void Fire(Cmd c, Sender s) override;
  void CommandsChanged() override;
  // Runs a command's operation only.
  void Execute(Cmd c, Sender s);

  HWND SettingWindowHandle() const;
  HWND ShortcutWindowHandle() const;

  // A popup menu of the menu-table node, with the commands' current states.
  UniqueMenu BuildPopup(const MenuNode& node);
  int LineHeight() const { return panel_.LineHeight(); }

  // Runs one capture cycle now (the next timer tick captures once more about 100 ms later).
  void RefreshNow();

  // Read by tests and the picture copy.
  const CaptureInfo& LastCapture() const { return FCaptureInfo; }
  const DibCanvas& ViewCanvas() const { return FViewBitmap; }
  int Zoom() const { return view_.FZoom; }
  bool Resting() const { return timer_.resting; }
  unsigned CaptureCount() const { return timer_.captureCount; }  // completed capture cycles
  unsigned PaintCount() const { return timer_.paintCount; }      // cycles that painted

 private:
  // The main timer and the notice timer, and the cycle's own bookkeeping.
  struct MainTimer {
    bool FCycleBusy = false;     // no nested cycle
    DWORD FLastCaptureTick = 0;  // 0: capture at once
    int tag = 1000;              // Timer_Main's Tag: how long a still point waits (ms)
    UINT interval = 60;          // 30 with smooth capture
    bool enabled = false;        // off while paused
    bool infoEnabled = false;    // Timer_Infomation runs
    unsigned captureCount = 0;
    unsigned paintCount = 0;     // cycles that painted anything
    bool paintAll = true;        // the next paint covers the whole view (after a layout)
    DWORD cursorReadTick = 0;    // when the cursor position was last asked for
    DWORD stillSince = 0;        // since when the capture point has not moved
    bool resting = false;        // rest mode: the timer ticks only for the still view's capture
    FramePacer frames;           // cycles brought by pointer movements, and the chase
    bool openingMove = false;    // the cycle runs for a movement that ended a still spell
    bool paintOwed = false;      // a cycle drew a picture it did not paint
  };
  // The toolbar and what it owns.
  struct Toolbar {
    HWND hwnd = nullptr;
    mutable int height = -1;  // cached; -1 = read again
    UniqueImageList images;
  };

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // The back buffer below the toolbar (only the view rectangles `parts` when given), then the
  // border.
  void PaintView(HDC dc, bool active, const std::vector<RECT>* parts = nullptr);

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
  void OnDpiChanged(int dpi, const RECT& suggested);
  int Dpi() const { return dpi_; }
  int Scale(int v96) const { return ScaleForDpi(v96, Dpi()); }

  // ---- menus and toolbar (main_menu_win.cpp)
  void ShowMainMenu(POINT screen);
  void CreateToolbar();
  void SetToolbarImages();
  void RescaleToolbar();
  void UpdateToolbar();
  void OnToolbarDropDown(NMTOOLBARW* nm);
  int ToolbarHeight() const;
  static LRESULT CALLBACK ToolbarSubclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                          DWORD_PTR ref) noexcept;
  LRESULT OnToolbarMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  std::wstring MenuCaption(Cmd c) const;

  // ---- settings file (main_settings_win.cpp)
  bool ApplySettings();
  void CollectSettings();

  // ---- capture (main_capture_win.cpp)
  void Timer_MainTimer(Sender s);
  void PaintCycle(const std::vector<RECT>* dirty);
  CaptureRequest MakeCaptureRequest(POINT pt) const;
  void EnterRest(DWORD now);
  void LeaveRest();
  bool FollowsCursor() const;
  void OnPointerMoved();
  void Timer_MainTimerTick();
  void Timer_FrameTimer();
  void DropWaitingReports();
  void StartChase(int64_t now);
  void EndChase();
  void ChaseTick();
  void UpdateFrameRate();
  void actCapture_PauseExecute(Cmd sender);
  bool FreezeCapture();
  void ThawCapture();
  void RunMainTimer(bool on);
  void actCapture_FixedExecute();
  bool CaptureModifierVariant();
  void actOpt_SmoothCaptureExecute(Sender s);
  void actOpt_NoSelfCaptureExecute();
  void CompositionCheck();
  void SetAlphaBlend(bool on);
  void MoveCapturePointTo(POINT target);
  void MoveCursorTo(POINT target);
  void MoveCapture(int dx, int dy);
  void ShowCapturePanel();
  void Timer_CaptureMoveTimer();
  void OnCaptureButton(int index, bool down);
  // A notice on the status line for two seconds.
  void ShowNotice(const std::wstring& text);
  void Timer_InfomationTimer();
  void OnDisplayChange();
  bool IsPaused() const { return cmds_.Checked(Cmd::Capture_Pause); }
  bool IsFixed() const { return cmds_.Checked(Cmd::Capture_Fixed); }
  bool NoSelfCaptureOn() const {
    return cmds_.Checked(Cmd::Opt_NoSelfCapture) && cmds_.Enabled(Cmd::Opt_NoSelfCapture);
  }

  // ---- zoom and grid (main_zoom_win.cpp)
  void actZoomExecute(Cmd c);
  void actZoomStep(int delta);
  void actGrid_DispExecute();
  void actGrid_ColorExecute(Cmd c);
  void actGrid_SubBlueExecute(Cmd c);
  void actGrid_SelColorExecute(Cmd c);

  // ---- panel, layout, copies (main_panel_win.cpp)
  void actOpt_BigFontExecute();
  void FormResize(Sender s);
  void DrawRulers();
  // The panel: the parts that changed, or all of it after a layout; adds what it drew to `dirty`.
  void DrawPanel(HDC dc, bool active, std::vector<RECT>* dirty);
  void actInfoOnOff(Cmd group);
  void actPos_UserPosSetExecute();
  void actCopy_TextExecute(Cmd c);
  void actCopy_PictureExecute();
  void WriteCopyFile(const std::wstring& ext, const std::string& bytes, std::wstring_view failFmt,
                     bool isText);

  // ---- input (main_input_win.cpp)
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
  void StartSystemDrag();

  // ---- state
  CommandList cmds_;
  BindingSet bindings_;
  HINSTANCE inst_ = nullptr;
  int FTag = 0;  // life and layout flag
  bool terminating_ = false;
  bool active_ = false;              // the window is the active one (WM_ACTIVATE)
  int dpi_ = 96;                     // the window's DPI, kept from creation and WM_DPICHANGED
  bool savedForSessionEnd_ = false;  // written at WM_QUERYENDSESSION

  ViewState view_;
  CaptureEngine engine_;
  CaptureInfo FCaptureInfo;  // the last cycle's record, read by the panel and the copies
  InfoPanel panel_;
  InputState input_;
  DibCanvas FViewBitmap;     // back buffer under the toolbar
  MainTimer timer_;
  MotionWatch motion_;
  Toolbar toolbar_;
  CapturePanel capturePanel_;
  UniqueFont windowFont_;

  std::optional<SettingsFile> lastSettings_;  // the file as read at start, if any
  std::unique_ptr<SettingWindow> settingWindow_;
  std::unique_ptr<ShortcutWindow> shortcutWindow_;
};

MainWindow* TheMainWindow();  // the published main window (none before creation)

}  // namespace viz
