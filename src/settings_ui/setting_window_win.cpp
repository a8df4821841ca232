// Behaviour of the settings and version window: messages, pages, check boxes, keys and closing.
// Building the controls and laying them out is in setting_layout_win.cpp.
#include "settings_ui/setting_window_win.h"

#include <commctrl.h>

#include "base/format.h"
#include "commands/command_host.h"
#include "platform/message_dialog_win.h"
#include "platform/shell_open_win.h"
#include "settings_ui/file_version_win.h"

namespace viz {
namespace {

bool CtrlHeld() { return ::GetKeyState(VK_CONTROL) < 0; }

}  // namespace

SettingWindow::~SettingWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool SettingWindow::Create(HWND owner) {
  if (hwnd_) return true;
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_LINK_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);

  if (!RegisterWindowClass(inst, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), false))
    return false;

  owner_ = owner;
  const std::wstring caption =
      FormatW(Tr(Text::SettingTitle), {CaptionWithoutAccel(CaptionOf(Cmd::Custom_Setting))});
  // Hidden until Show(): the size is known only once the controls are measured.
  if (!::CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName, caption.c_str(),
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, 100, 100,
                         owner, nullptr, inst, this))
    return false;

  dpi_ = Dpi();
  CreateFonts(dpi_);
  version_ = ReadFileVersion(OwnModulePath());

  tab_ = AddControl(hwnd_, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS | TCS_TABS, kIdTab);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  for (Text tab : {Text::Tab_Setting, Text::Tab_Version}) {
    std::wstring text(Tr(tab));
    item.pszText = text.data();
    TabCtrl_InsertItem(tab_, TabCtrl_GetItemCount(tab_), &item);
  }
  close_ = AddControl(hwnd_, WC_BUTTONW, Tr(Text::Button_Close), WS_TABSTOP | BS_DEFPUSHBUTTON,
                      IDCANCEL);
  pageSetting_ = CreatePage(kIdPageSetting);
  pageHelp_ = CreatePage(kIdPageHelp);
  if (!tab_ || !close_ || !pageSetting_ || !pageHelp_) {
    ::DestroyWindow(hwnd_);
    return false;
  }
  // Z-order is tab order: the visible page, then the close button, then the tab strip, round
  // again; and the tab strip (WS_CLIPSIBLINGS) does not paint over the page above it.
  for (HWND page : {pageHelp_, pageSetting_})
    ::SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetWindowPos(tab_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  BuildSettingPage();
  BuildHelpPage();
  SyncFromCommands();  // the first sync also lays the window out
  ShowPage(page_);
  RECT r;
  ::GetWindowRect(hwnd_, &r);
  PlaceNearOwner(r.right - r.left, r.bottom - r.top);
  return true;
}

void SettingWindow::Show() {
  if (!hwnd_) return;
  if (::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_RESTORE);
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
}

void SettingWindow::SelectPage(Page p) {
  if (hwnd_) {
    ShowPage(p);
  } else {
    page_ = p;
  }
}

void SettingWindow::ShowPage(Page p) {
  page_ = p;
  TabCtrl_SetCurSel(tab_, p == Page::Help ? 1 : 0);
  HWND showing = p == Page::Help ? pageHelp_ : pageSetting_;
  HWND hiding = p == Page::Help ? pageSetting_ : pageHelp_;
  HWND focus = ::GetFocus();
  const bool focusLost = focus && (focus == hiding || ::IsChild(hiding, focus));
  ::ShowWindow(showing, SW_SHOW);
  ::ShowWindow(hiding, SW_HIDE);  // hidden controls take no Tab stop and no mnemonic
  if (focusLost) ::SetFocus(tab_);
}

bool SettingWindow::PreTranslate(MSG& msg) {
  if (!hwnd_ || (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd))) return false;
  if (msg.message == WM_KEYDOWN && CtrlHeld() &&
      (msg.wParam == VK_TAB || msg.wParam == VK_PRIOR || msg.wParam == VK_NEXT)) {
    // Two pages: forward and back both go to the other one.
    ShowPage(page_ == Page::Help ? Page::Setting : Page::Help);
    return true;
  }
  if (ClosingKey(msg)) return true;
  // What the dialog manager leaves is dispatched to this window's own controls; the main window
  // takes keys only for itself and its children, so none of these reach its bindings.
  return ::IsDialogMessageW(hwnd_, &msg) != FALSE;
}

bool SettingWindow::ClosingKey(const MSG& msg) {
  // Esc, Enter (the close button is the default one) and Alt+F4 close the window when the key
  // is released, not when it goes down: closed at once, the window would leave the release to
  // the main window, which runs its bindings on the release (Esc pauses the capture there).
  const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  const bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
  if (!down && !up) return false;
  const WPARAM key = msg.wParam;
  if (down) {
    const bool altF4 = msg.message == WM_SYSKEYDOWN && key == VK_F4;
    const bool escape = msg.message == WM_KEYDOWN && key == VK_ESCAPE;
    // Enter on the link opens it; anywhere else it presses the default button.
    const bool enter = msg.message == WM_KEYDOWN && key == VK_RETURN && ::GetFocus() != link_;
    if (!altF4 && !escape && !enter) return false;
    closingKey_ = static_cast<UINT>(key);
    return true;
  }
  if (closingKey_ == 0 || key != closingKey_) return false;
  closingKey_ = 0;
  Close();
  return true;
}

void SettingWindow::SyncFromCommands() {
  if (!hwnd_ || checks_.empty()) return;
  const CommandList& cmds = host_.Commands();
  const auto& items = SettingItems();
  bool relayout = shown_.size() != items.size();
  shown_.resize(items.size(), false);
  for (size_t i = 0; i < items.size(); ++i) {
    const CommandState& st = cmds[items[i].cmd];
    HWND box = checks_[i];
    const WPARAM want = st.checked ? BST_CHECKED : BST_UNCHECKED;
    // BM_SETCHECK sends no BN_CLICKED, so following a command never fires one.
    if (static_cast<WPARAM>(::SendMessageW(box, BM_GETCHECK, 0, 0)) != want)
      ::SendMessageW(box, BM_SETCHECK, want, 0);
    if ((::IsWindowEnabled(box) != FALSE) != st.enabled) ::EnableWindow(box, st.enabled);
    if (shown_[i] != st.visible) {
      shown_[i] = st.visible;
      relayout = true;
    }
  }
  if (relayout) Layout();

  FollowStayOnTop(cmds.Checked(Cmd::Opt_StayOnTop));
}

void SettingWindow::FollowStayOnTop(bool onTop) {
  // The main window sets the band of all its windows; this covers a command that changed while
  // this window was being created, and a system that refused the move the first time.
  const bool isTop = (::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (isTop != onTop)
    ::SetWindowPos(hwnd_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SettingWindow::OnCheckClicked(Cmd c) {
  if (!host_.Commands().Enabled(c) || !host_.Commands().Visible(c)) return;
  host_.Fire(c, Sender::SettingWindow);
  SyncFromCommands();  // the main window does too; this covers a command that changed nothing
}

std::wstring HelpPageTarget() {
#ifdef VIZ_HELP_URL
  return VIZ_HELP_URL;
#else
  const std::wstring exe = OwnModulePath();
  return exe.substr(0, exe.find_last_of(L"\\/") + 1) + std::wstring(HelpFileName());
#endif
}

std::wstring HelpLinkText() {
#ifdef VIZ_HELP_URL
  return VIZ_HELP_URL;
#else
  return std::wstring(HelpFileName());
#endif
}

void SettingWindow::OpenHelpPage() {
  const std::wstring target = HelpPageTarget();
#ifndef VIZ_HELP_URL
  const DWORD attrs = ::GetFileAttributesW(target.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) {
    MessageDlg(hwnd_, FormatW(Tr(Text::HelpFileMissing), {target}), MsgKind::Warning, mbOK, mbOK);
    return;
  }
#endif
  if (!OpenWithAssociatedProgram(hwnd_, target))
    MessageDlg(hwnd_, FormatW(Tr(Text::HelpOpenFailed), {target}), MsgKind::Warning, mbOK, mbOK);
}

void SettingWindow::Close() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

void SettingWindow::OnNcDestroy() {
  checks_.clear();
  shown_.clear();
  tab_ = pageSetting_ = pageHelp_ = close_ = link_ = nullptr;
  iconStatic_ = title_ = versionLabel_ = nullptr;
  lastFocus_ = nullptr;
  font_.reset();
  titleFont_.reset();
  linkFont_.reset();
  icon_.reset();
}

LRESULT SettingWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDCANCEL || LOWORD(wp) == IDOK) {
        Close();
        return 0;
      }
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(IDCANCEL, DC_HASDEFID);
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
      if (hdr->hwndFrom == tab_ && hdr->code == TCN_SELCHANGE)
        ShowPage(TabCtrl_GetCurSel(tab_) == 1 ? Page::Help : Page::Setting);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = ::GetFocus();
        if (f && ::IsChild(hwnd_, f)) lastFocus_ = f;
      } else {
        HWND f = lastFocus_;
        if (!f || !::IsWindow(f) || !::IsChild(hwnd_, f) || !::IsWindowVisible(f)) f = tab_;
        ::SetFocus(f);
      }
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      CreateFonts(dpi_);
      Layout();
      const auto* suggested = reinterpret_cast<const RECT*>(lp);
      ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETNONCLIENTMETRICS) {
        CreateFonts(dpi_);
        Layout();
      }
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    default:
      return DefProc(msg, wp, lp);
  }
}

// ---- pages -------------------------------------------------------------------------------------

INT_PTR CALLBACK SettingWindow::PageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_INITDIALOG) {
    ::SetWindowLongPtrW(page, DWLP_USER, lp);
    return FALSE;  // the window sets the focus itself
  }
  auto* self = reinterpret_cast<SettingWindow*>(::GetWindowLongPtrW(page, DWLP_USER));
  if (!self || !self->hwnd_) return FALSE;
  try {
    return self->HandlePageMessage(page, msg, wp, lp);
  } catch (...) {
    return FALSE;
  }
}

INT_PTR SettingWindow::HandlePageMessage(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const HWND from = reinterpret_cast<HWND>(lp);
      if (from && from == link_ && !linkIsSysLink_ && HIWORD(wp) == STN_CLICKED) {
        OpenHelpPage();
        return TRUE;
      }
      if (HIWORD(wp) == BN_CLICKED && page == pageSetting_) {
        if (auto c = CommandFromId(static_cast<int16_t>(LOWORD(wp)))) OnCheckClicked(*c);
        return TRUE;
      }
      // Esc and Enter reach the page first when the dialog manager works on it.
      if (LOWORD(wp) == IDCANCEL || LOWORD(wp) == IDOK) {
        Close();
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
      if (hdr->hwndFrom == link_ && (hdr->code == NM_CLICK || hdr->code == NM_RETURN)) {
        OpenHelpPage();
        return TRUE;
      }
      return FALSE;
    }
    case WM_CTLCOLORSTATIC:
      // The stand-in link (a plain static where SysLink is missing) is drawn in link colours.
      if (reinterpret_cast<HWND>(lp) == link_ && !linkIsSysLink_) {
        HDC dc = reinterpret_cast<HDC>(wp);
        ::SetTextColor(dc, ::GetSysColor(COLOR_HOTLIGHT));
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
      }
      return FALSE;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == link_ && !linkIsSysLink_) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        ::SetWindowLongPtrW(page, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace viz
