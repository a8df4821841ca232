#include "app/main_window_win.h"

#include <windowsx.h>

#include <algorithm>

#include "commands/menu_table.h"
#include "commands/shortcut_window_win.h"
#include "platform/dpi_win.h"
#include "platform/panel_font_win.h"
#include "platform/sysfuncs_win.h"
#include "settings_ui/setting_window_win.h"

namespace viz {
namespace {

MainWindow* g_mainWindow = nullptr;

constexpr int kDesignClientWidth96 = 243;
constexpr int kDesignClientHeight96 = 210;
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                             WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = 0;

}  // namespace

MainWindow* TheMainWindow() { return g_mainWindow; }

// ---- creation --------------------------------------------------------------------------------

MainWindow::MainWindow() = default;

MainWindow::~MainWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
  if (g_mainWindow == this) g_mainWindow = nullptr;
}

bool MainWindow::RegisterClass(HINSTANCE inst) {
  // A DC of its own: the view is painted straight into the window on every cycle, and a DC
  // from the cache would be set up anew (default font and all) each time. No background: every
  // pixel is painted from the back buffer.
  return RegisterWindowClass(inst, CS_DBLCLKS | CS_OWNDC, nullptr, true);
}

bool MainWindow::Create(HINSTANCE inst) {
  inst_ = inst;
  RECT r{0, 0, kDesignClientWidth96, kDesignClientHeight96};
  ::AdjustWindowRectEx(&r, kMainStyle, FALSE, kMainExStyle);
  HWND w = ::CreateWindowExW(kMainExStyle, kClassName, L"vizmoria", kMainStyle, CW_USEDEFAULT,
                             CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                             inst, this);
  if (!w) return false;
  FormCreate();
  return true;
}

void MainWindow::CreateFonts() {
  UniqueFont font = CreatePanelFont(9, Dpi());
  if (!font) return;
  // The controls drop the old font before it goes.
  if (toolbar_.hwnd)
    ::SendMessageW(toolbar_.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  capturePanel_.SetFont(font.get());
  windowFont_ = std::move(font);
}

void MainWindow::OnDpiChanged(int dpi, const RECT& r) {
  // Fonts and metrics follow the monitor's DPI.
  if (dpi > 0) dpi_ = dpi;
  CreateFonts();
  RescaleToolbar();
  ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  actOpt_BigFontExecute();
}

void MainWindow::FormCreate() {
  // Publish the window.
  g_mainWindow = this;
  dpi_ = WindowDpi(hwnd_);
  CreateFonts();

  // Default and current bindings, then both gesture slot arrays.
  bindings_.Build(cmds_);

  // Position: 75 px into the monitor under the cursor, designed size kept.
  engine_.Screen().Enumerate();
  {
    POINT cur{};
    ::GetCursorPos(&cur);
    RECT mon = engine_.Screen().MonitorRectAt(cur);
    int designW = Scale(kDesignClientWidth96), designH = Scale(kDesignClientHeight96);
    RECT r{0, 0, designW, designH};
    ::AdjustWindowRectEx(&r, kMainStyle, FALSE, kMainExStyle);
    ::SetWindowPos(hwnd_, nullptr, mon.left + 75, mon.top + 75, r.right - r.left,
                   r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Initial state; the grid colours are the commands' initial tags.
  view_.SetZoom(Cmd::Zoom_6);
  view_.FSavedZoom = -1;
  input_ = InputState{};
  POINT cur{};
  ::GetCursorPos(&cur);
  view_.FollowCursor(ToPoint(cur));

  // Toolbar first: the client area below it is the view.
  CreateToolbar();
  // Capture panel at the right edge.
  capturePanel_.Create(hwnd_, inst_, windowFont_.get());

  // System menu: no Maximise, and the monitor-move entry on top.
  SetupSystemMenus();

  // Bitmaps.
  engine_.EnsureDesktopBitmaps(SIZE{1, 1});

  // An empty panel strip at the bottom.
  RECT cr;
  ::GetClientRect(hwnd_, &cr);
  panel_.SetPanelRect(RECT{0, cr.bottom - ToolbarHeight(), cr.right, cr.bottom - ToolbarHeight()});

  // No settings window yet.
  settingWindow_.reset();

  // Settings; the metrics must exist either way.
  if (!ApplySettings()) actOpt_BigFontExecute();

  // No-self-capture only where layered windows exist.
  if (!CanSetLayeredWindowAttributes()) {
    cmds_[Cmd::Opt_NoSelfCapture].enabled = false;
    cmds_[Cmd::Opt_NoSelfCapture].visible = false;
    cmds_[Cmd::Opt_NoSelfCapture].checked = false;
    SetAlphaBlend(false);
  }
  // Program file names need the NT calls.
  if (!IsWinNT()) {
    for (Cmd c : {Cmd::WinInfo_ExeName, Cmd::Copy_WinInfoExeName}) {
      cmds_[c].enabled = false;
      cmds_[c].visible = false;
    }
  }
  // Start the cycle and the movement watch, mark the window alive, show it.
  timer_.enabled = true;
  ::SetTimer(hwnd_, kTimerMain, timer_.interval, nullptr);
  motion_.Start(hwnd_);
  UpdateFrameRate();
  FTag = 1;
  FormResize(Sender::Program);
  ::ShowWindow(hwnd_, SW_SHOW);
  CommandsChanged();

  // Come to the front once without staying there.
  if (!cmds_.Checked(Cmd::Opt_StayOnTop)) {
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  RefreshNow();
}

void MainWindow::SetupSystemMenus() {
  // This window owns the taskbar button, so it is also "the application's taskbar window".
  HMENU sys = ::GetSystemMenu(hwnd_, FALSE);
  if (!sys) return;
  ::DeleteMenu(sys, SC_MAXIMIZE, MF_BYCOMMAND);
  ::InsertMenuW(sys, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  const std::wstring caption(CaptionOf(Cmd::Move_Monitor));
  ::InsertMenuW(sys, 0, MF_BYPOSITION | MF_STRING, kSysCmdMonitorMove, caption.c_str());
  ::DrawMenuBar(hwnd_);
}

void MainWindow::FormDestroy() {
  if (FTag == 0) return;
  FTag = 0;
  terminating_ = true;
  LeaveRest();
  motion_.Stop();
  ::KillTimer(hwnd_, kTimerMain);
  ::KillTimer(hwnd_, kTimerFrame);
  timer_.enabled = false;
  if (::IsZoomed(hwnd_) || ::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_SHOWNORMAL);
  if (!savedForSessionEnd_) CollectSettings();
  engine_.Release();
  FViewBitmap.Reset();
}

// ---- window messages -------------------------------------------------------------------------

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 0;
    case WM_PAINT: {
      PaintDc pdc(hwnd_);
      PaintView(pdc.get(), active_);
      return 0;
    }
    case WM_SIZE:
      if (toolbar_.hwnd) ::SendMessageW(toolbar_.hwnd, TB_AUTOSIZE, 0, 0);
      toolbar_.height = -1;
      if (wp != SIZE_MINIMIZED) FormResize(Sender::None);
      UpdateFrameRate();
      return 0;
    case WM_MOVE:
      UpdateFrameRate();  // the picture may now be shown on another monitor
      return 0;
    case WM_INPUT:
      OnPointerMoved();
      return DefProc(msg, wp, lp);  // frees the input's data
    case WM_GETMINMAXINFO: {
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
      RECT r{0, 0, 50, 50};
      ::AdjustWindowRectEx(&r, kMainStyle, FALSE, kMainExStyle);
      mmi->ptMinTrackSize.x = r.right - r.left;
      return 0;
    }
    case WM_SYSCOMMAND: {
      WPARAM cmd = wp & 0xFFF0;
      if (cmd == SC_MAXIMIZE || (wp & 0xFFFF) == 0xF032) return 0;
      if ((wp & 0xFFFF) == kSysCmdMonitorMove) {
        actMove_MonitorExecute();
        return 0;
      }
      return DefProc(msg, wp, lp);
    }
    case WM_NCLBUTTONDBLCLK:
      if (wp == HTCAPTION) return 0;  // a caption double click would maximise
      return DefProc(msg, wp, lp);
    case WM_QUERYENDSESSION:
      // Save now: the logon may end without another message. The window keeps running, because
      // the end of the session can still be cancelled.
      if (FTag != 0 && !savedForSessionEnd_) {
        // A minimised window is restored first, so that its normal bounds are saved.
        if (::IsZoomed(hwnd_) || ::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_SHOWNORMAL);
        CollectSettings();
        savedForSessionEnd_ = true;
      }
      return TRUE;
    case WM_ENDSESSION:
      if (wp)
        FormDestroy();  // already saved by the query
      else
        savedForSessionEnd_ = false;  // cancelled: the normal exit saves again
      return 0;
    case WM_ACTIVATEAPP:
      ApplicationActivated(wp != FALSE);
      return 0;
    case WM_ACTIVATE: {
      // Kept here rather than asked of the system in every cycle (a round trip each time).
      const bool active = LOWORD(wp) != WA_INACTIVE;
      if (active != active_) timer_.paintAll = true;  // the border changes colour
      active_ = active;
      RefreshNow();
      return DefProc(msg, wp, lp);
    }
    case WM_TIMER:
      if (wp == kTimerMain) Timer_MainTimerTick();
      if (wp == kTimerFrame) Timer_FrameTimer();
      if (wp == kTimerInfo) Timer_InfomationTimer();
      if (wp == kTimerCaptureMove) Timer_CaptureMoveTimer();
      return 0;
    case WM_DISPLAYCHANGE:
      OnDisplayChange();
      return 0;
    case WM_SYSCOLORCHANGE:
      // The panel and the border take system colours: all drawn anew.
      panel_.Forget();
      timer_.paintAll = true;
      RefreshNow();
      return DefProc(msg, wp, lp);
    case WM_DWMCOMPOSITIONCHANGED:
      // Composition switched on takes away what no-self capture relies on.
      CompositionCheck();
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      // The capture panel's buttons act on press and release (kMsgCaptureButton).
      if (capturePanel_.IsButton(reinterpret_cast<HWND>(lp))) return 0;
      if (auto c = CommandFromId(static_cast<int16_t>(id))) {
        Fire(*c, lp ? Sender::Toolbar : Sender::Menu);
      }
      return 0;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->hwndFrom == toolbar_.hwnd && hdr->code == TBN_DROPDOWN) {
        OnToolbarDropDown(reinterpret_cast<NMTOOLBARW*>(lp));
        return TBDDRET_DEFAULT;
      }
      if (hdr->code == TTN_GETDISPINFOW) {
        auto* di = reinterpret_cast<NMTTDISPINFOW*>(lp);
        static std::wstring tip;
        // The whole-drop-down button runs no command: it is named after its menu's category.
        if (auto c = CommandFromId(static_cast<int16_t>(hdr->idFrom)))
          tip = HintOf(*c);
        else
          tip = Tr(Text::Category_Opt);
        di->lpszText = tip.data();
        return 0;
      }
      return 0;
    }
    case kMsgCaptureButton:  // arrow button wp (0 left, 1 up, 2 down, 3 right) went down (lp 1) or up (lp 0)
      OnCaptureButton(static_cast<int>(wp), lp != 0);
      return 0;
    case kMsgToolbarSync:
      UpdateToolbar();
      return 0;
    case WM_INITMENUPOPUP:
      return 0;
    case WM_KEYDOWN:
      if (FormKeyDown(wp)) return 0;
      return DefProc(msg, wp, lp);
    case WM_KEYUP:
      if (FormKeyUp(wp)) return 0;
      return DefProc(msg, wp, lp);
    case WM_LBUTTONDOWN:
      FormMouseDown(VK_LBUTTON, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:  // a quick second gesture from the same spot is still a gesture
      FormMouseDown(VK_RBUTTON, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_MOUSEMOVE:
      FormMouseMove(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_LBUTTONUP:
      FormMouseUp(VK_LBUTTON, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_RBUTTONUP:
      FormMouseUp(VK_RBUTTON, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_LBUTTONDBLCLK:
      FormDblClick(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_CONTEXTMENU:
      return 0;  // the right button's own handling opens the menu
    case WM_MOUSEWHEEL:
      FormMouseWheel(GET_WHEEL_DELTA_WPARAM(wp));
      return 0;
    case WM_CAPTURECHANGED:
      input_.FPanning = false;
      return 0;
    case WM_CLOSE:
      FormDestroy();
      ::DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      FormDestroy();
      settingWindow_.reset();
      shortcutWindow_.reset();
      ::PostQuitMessage(0);
      return 0;
    default:
      return DefProc(msg, wp, lp);
  }
}

void MainWindow::PaintView(HDC dc, bool active, const std::vector<RECT>* parts) {
  if (!FViewBitmap) return;
  const int tb = ToolbarHeight();
  const int w = FViewBitmap.width(), h = FViewBitmap.height();
  if (parts) {
    // Parts stop inside the border, which stays as the last full paint drew it.
    for (const RECT& part : *parts) {
      const RECT r{std::max<int>(part.left, 1), std::max<int>(part.top, 1),
                   std::min<int>(part.right, w - 1), std::min<int>(part.bottom, h - 1)};
      if (r.left < r.right && r.top < r.bottom)
        ::BitBlt(dc, r.left, tb + r.top, r.right - r.left, r.bottom - r.top, FViewBitmap.dc(),
                 r.left, r.top, SRCCOPY);
    }
    return;
  }
  ::BitBlt(dc, 0, tb, w, h, FViewBitmap.dc(), 0, 0, SRCCOPY);
  // Border in the caption colour of the window's activation state.
  RECT cr{0, tb, w, tb + h};
  ::FrameRect(dc, &cr, ::GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
}

bool MainWindow::PreTranslate(MSG& msg) {
  if (!hwnd_) return false;
  // Dialog navigation for the other windows.
  if (settingWindow_ && settingWindow_->PreTranslate(msg)) return true;
  if (shortcutWindow_ && shortcutWindow_->PreTranslate(msg)) return true;

  const bool ours = msg.hwnd == hwnd_ || ::IsChild(hwnd_, msg.hwnd);
  if (!ours) return false;
  switch (msg.message) {
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // Alt alone is swallowed: pressing it shows nothing (no menu mode).
      if (msg.wParam == VK_MENU) return true;
      // The Alt shortcuts the command table names as primary (Alt+F10 the settings window,
      // Alt+F4 the exit). Bit 29 of a key message says whether Alt was down when the key was
      // pressed; the live key state may already have moved on when a queued message is handled.
      if (msg.lParam & (1 << 29)) {
        const uint16_t shortcut = kShortcutAlt | static_cast<uint16_t>(msg.wParam & 0xFF);
        if (const std::optional<Cmd> c = CommandOfPrimaryShortcut(shortcut)) {
          if (msg.message == WM_SYSKEYDOWN) Fire(*c, Sender::Key);
          return true;
        }
      }
      // F10 alone arrives as a system key; it may be bound like any other key.
      if (msg.wParam == VK_F10)
        return msg.message == WM_SYSKEYDOWN ? FormKeyDown(msg.wParam) : FormKeyUp(msg.wParam);
      return false;
    case WM_KEYDOWN:
      // Key preview: the window sees keys before its controls.
      if (msg.hwnd != hwnd_) return FormKeyDown(msg.wParam);
      return false;
    case WM_KEYUP:
      if (msg.hwnd != hwnd_) return FormKeyUp(msg.wParam);
      return false;
    default:
      return false;
  }
}

void MainWindow::ApplicationActivated(bool active) {
  // Leaving the program ends a temporary 1:1 view.
  if (!active && view_.EndActualSize()) {
    timer_.FLastCaptureTick = 0;
    FormResize(Sender::Program);
  }
  RefreshNow();
}

// ---- stay on top and the other windows ---------------------------------------------------------

void MainWindow::actOpt_StayOnTopExecute(Sender s) {
  if (s != Sender::None && s != Sender::Program)
    cmds_.SetChecked(Cmd::Opt_StayOnTop, !cmds_.Checked(Cmd::Opt_StayOnTop));
  ApplyStayOnTop();
  RefreshNow();
  CommandsChanged();
}

void MainWindow::ApplyStayOnTop() {
  const HWND after = cmds_.Checked(Cmd::Opt_StayOnTop) ? HWND_TOPMOST : HWND_NOTOPMOST;
  // Last collected first: shortcut window, settings window, main window.
  HWND windows[3] = {ShortcutWindowHandle(), SettingWindowHandle(), hwnd_};
  for (HWND w : windows)
    if (w && ::IsWindow(w))
      ::SetWindowPos(w, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND MainWindow::SettingWindowHandle() const {
  return settingWindow_ ? settingWindow_->hwnd() : nullptr;
}
HWND MainWindow::ShortcutWindowHandle() const {
  return shortcutWindow_ ? shortcutWindow_->hwnd() : nullptr;
}

// The other windows are kept only once made whole: one that failed half way goes with its
// window, and the next command makes it anew.
void MainWindow::EnsureSettingWindow() {
  if (settingWindow_ && settingWindow_->hwnd() && ::IsWindow(settingWindow_->hwnd())) return;
  auto made = std::make_unique<SettingWindow>(static_cast<CommandHost&>(*this));
  made->Create(hwnd_);
  settingWindow_ = std::move(made);
}

void MainWindow::actCustom_SettingExecute(Cmd sender) {
  EnsureSettingWindow();
  if (!settingWindow_->hwnd()) return;
  settingWindow_->SelectPage(sender == Cmd::Help ? SettingWindow::Page::Help
                                                 : SettingWindow::Page::Setting);
  settingWindow_->Show();
  actOpt_StayOnTopExecute(Sender::None);
}

void MainWindow::actCustom_ShortCutExecute() {
  if (!shortcutWindow_ || !shortcutWindow_->hwnd() || !::IsWindow(shortcutWindow_->hwnd())) {
    auto made = std::make_unique<ShortcutWindow>(static_cast<CommandHost&>(*this));
    made->Create(hwnd_);
    shortcutWindow_ = std::move(made);
  }
  if (!shortcutWindow_->hwnd()) return;
  shortcutWindow_->Show();
  actOpt_StayOnTopExecute(Sender::None);
}

}  // namespace viz
