// The popup menu and the toolbar. Menus are built from the menu table each time they open, so
// checks, radio marks, captions, enabled and visible states always come from the commands.
#include <windowsx.h>

#include "app/main_window_win.h"
#include "ui/icons_win.h"
#include "commands/key_table.h"
#include "commands/menu_table.h"

namespace viz {
namespace {

struct ToolButton {
  Cmd cmd;                 // the command the button runs (or shows, for a whole drop-down)
  int image;               // index in the toolbar image list
  BYTE style;
  const char* dropMenu;    // submenu shown by the arrow
};

constexpr int kOptButtonId = 30000;  // the whole-drop-down button runs no command itself

const ToolButton kToolButtons[] = {
    {Cmd::Capture_Pause, kIconPause, BTNS_CHECK, nullptr},  // btnTool_Pause
    {Cmd::Capture_Fixed, kIconFixed, BTNS_CHECK, nullptr},  // btnTool_Fixed
    {Cmd::Spc, -1, BTNS_SEP, nullptr},  // btnTool_Sep1
    {Cmd::Grid_Disp, kIconGrid, BTNS_CHECK | BTNS_DROPDOWN, "mniGrid"},  // btnTool_Grid
    {Cmd::Color_InfoOnOff, kIconColor, BTNS_DROPDOWN, "mniColor"},  // btnTool_Color
    {Cmd::Pos_InfoOnOff, kIconPos, BTNS_DROPDOWN, "mniPos"},  // btnTool_Pos
    {Cmd::WinInfo_InfoOnOff, kIconWinInfo, BTNS_DROPDOWN, "mniWinInfo"},  // btnTool_WinInfo
    {Cmd::Spc, kIconOpt, BTNS_WHOLEDROPDOWN, "mniOpt"},  // btnTool_Opt
};

int ButtonId(const ToolButton& b) {
  if (b.style & BTNS_WHOLEDROPDOWN) return kOptButtonId;
  return IdFromCommand(b.cmd);
}

}  // namespace

std::wstring MainWindow::MenuCaption(Cmd c) const {
  std::wstring caption(CaptionOf(c));
  // The first key bound to the command, as the shortcut window names it.
  for (const T_ShortCutAction& b : bindings_.Current()) {
    if (b.cmd == c) {
      caption += L'\t';
      caption += DisplayNameFromKeyCode(b.key);
      break;
    }
  }
  // The shortcut the window handles itself (Alt+F10, Alt+F4).
  if (const uint16_t primary = Def(c).primaryShortcut) caption += L"\t" + ShortcutText(primary);
  return caption;
}

UniqueMenu MainWindow::BuildPopup(const MenuNode& node) {
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return menu;
  bool lastWasSeparator = true;  // no separator at the top or twice in a row
  for (const MenuNode& item : node.children) {
    if (item.IsSubmenu()) {
      UniqueMenu sub = BuildPopup(item);
      if (!sub) continue;
      const std::wstring caption(item.caption ? Tr(*item.caption) : std::wstring_view());
      if (::AppendMenuW(menu.get(), MF_POPUP | MF_STRING,
                        reinterpret_cast<UINT_PTR>(sub.get()), caption.c_str()))
        sub.release();  // owned by the parent menu now
      lastWasSeparator = false;
      continue;
    }
    if (!item.cmd) {
      if (!lastWasSeparator) ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      lastWasSeparator = true;
      continue;
    }
    const Cmd c = *item.cmd;
    const CommandState& st = cmds_[c];
    if (!st.visible) continue;
    std::wstring caption = MenuCaption(c);
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    mii.fType = MFT_STRING | (Def(c).group != RadioGroup::None ? MFT_RADIOCHECK : 0);
    mii.fState = (st.checked ? MFS_CHECKED : 0) | (st.enabled ? 0 : MFS_GRAYED) |
                 (item.isDefault ? MFS_DEFAULT : 0);
    mii.wID = static_cast<UINT>(static_cast<uint16_t>(IdFromCommand(c)));
    mii.dwTypeData = caption.data();
    ::InsertMenuItemW(menu.get(), ::GetMenuItemCount(menu.get()), TRUE, &mii);
    lastWasSeparator = false;
  }
  int n = ::GetMenuItemCount(menu.get());
  if (n > 0 && (::GetMenuState(menu.get(), n - 1, MF_BYPOSITION) & MF_SEPARATOR))
    ::DeleteMenu(menu.get(), n - 1, MF_BYPOSITION);
  return menu;
}

void MainWindow::ShowMainMenu(POINT screen) {
  UniqueMenu menu = BuildPopup(MainMenu());
  if (!menu) return;
  ::SetForegroundWindow(hwnd_);
  UINT id = ::TrackPopupMenuEx(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON |
                                               TPM_RETURNCMD | TPM_NONOTIFY,
                               screen.x, screen.y, hwnd_, nullptr);
  ::PostMessageW(hwnd_, WM_NULL, 0, 0);
  if (auto c = CommandFromId(static_cast<int16_t>(id))) Fire(*c, Sender::Menu);
}

void MainWindow::actMenu_MainExecute() {
  POINT origin{0, 0};
  ::ClientToScreen(hwnd_, &origin);
  ShowMainMenu(origin);
}

// ---- toolbar ---------------------------------------------------------------------------------

void MainWindow::CreateToolbar() {
  toolbar_.hwnd = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"ToolBar_Main",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                   CCS_TOP | CCS_NODIVIDER,
                               0, 0, 0, 0, hwnd_, nullptr, inst_, nullptr);
  const HWND bar = toolbar_.hwnd;
  if (!bar) return;
  ::SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageW(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  SetToolbarImages();

  std::vector<TBBUTTON> buttons;
  for (const ToolButton& b : kToolButtons) {
    TBBUTTON tb{};
    tb.iBitmap = b.style == BTNS_SEP ? Scale(4) : b.image;
    tb.idCommand = b.style == BTNS_SEP ? 0 : ButtonId(b);
    tb.fsState = TBSTATE_ENABLED;
    tb.fsStyle = b.style;
    buttons.push_back(tb);
  }
  ::SendMessageW(bar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  ::SendMessageW(bar, TB_AUTOSIZE, 0, 0);
  ::SetWindowSubclass(bar, ToolbarSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
}

// Icons for the window's DPI: the toolbar takes the new list before the old one goes.
void MainWindow::SetToolbarImages() {
  if (!toolbar_.hwnd) return;
  UniqueImageList images(CreateToolbarImageList(Scale(16)));
  if (!images) return;
  ::SendMessageW(toolbar_.hwnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
  toolbar_.images = std::move(images);
}

// After a DPI change: the icons, the separators' widths and the buttons' size follow it.
void MainWindow::RescaleToolbar() {
  const HWND bar = toolbar_.hwnd;
  if (!bar) return;
  SetToolbarImages();
  TBBUTTONINFOW info{sizeof(info)};
  info.dwMask = TBIF_BYINDEX | TBIF_SIZE;
  info.cx = static_cast<WORD>(Scale(4));
  for (size_t i = 0; i < std::size(kToolButtons); ++i)
    if (kToolButtons[i].style == BTNS_SEP)
      ::SendMessageW(bar, TB_SETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&info));
  const int size = Scale(16);
  ::SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
  ::SendMessageW(bar, TB_AUTOSIZE, 0, 0);
  toolbar_.height = -1;
}

int MainWindow::ToolbarHeight() const {
  if (!toolbar_.hwnd) return 0;
  // Read once per layout (the cycle asks several times a second).
  if (toolbar_.height < 0) {
    RECT r;
    ::GetWindowRect(toolbar_.hwnd, &r);
    toolbar_.height = r.bottom - r.top;
  }
  return toolbar_.height;
}

void MainWindow::UpdateToolbar() {
  if (!toolbar_.hwnd) return;
  for (const ToolButton& b : kToolButtons) {
    if (b.style == BTNS_SEP || (b.style & BTNS_WHOLEDROPDOWN)) continue;
    const int id = ButtonId(b);
    ::SendMessageW(toolbar_.hwnd, TB_ENABLEBUTTON, id, MAKELONG(cmds_.Enabled(b.cmd), 0));
    if (b.style & BTNS_CHECK)
      ::SendMessageW(toolbar_.hwnd, TB_CHECKBUTTON, id, MAKELONG(cmds_.Checked(b.cmd), 0));
  }
}

void MainWindow::OnToolbarDropDown(NMTOOLBARW* nm) {
  for (const ToolButton& b : kToolButtons) {
    if (ButtonId(b) != nm->iItem || !b.dropMenu) continue;
    const MenuNode* node = FindMenu(b.dropMenu);
    if (!node) return;
    // The drop-down holds the submenu's items with the same commands.
    UniqueMenu menu = BuildPopup(*node);
    RECT rc;
    ::SendMessageW(toolbar_.hwnd, TB_GETRECT, nm->iItem, reinterpret_cast<LPARAM>(&rc));
    ::MapWindowPoints(toolbar_.hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    TPMPARAMS tpm{sizeof(tpm), rc};
    UINT id = ::TrackPopupMenuEx(menu.get(),
                                 TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD |
                                     TPM_NONOTIFY,
                                 rc.left, rc.bottom, hwnd_, &tpm);
    if (auto c = CommandFromId(static_cast<int16_t>(id))) Fire(*c, Sender::Menu);
    return;
  }
}

LRESULT CALLBACK MainWindow::ToolbarSubclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                             DWORD_PTR ref) noexcept {
  auto* self = reinterpret_cast<MainWindow*>(ref);
  return Guarded([&] { return self->OnToolbarMessage(w, msg, wp, lp); },
                 [&] { return ::DefSubclassProc(w, msg, wp, lp); });
}

LRESULT MainWindow::OnToolbarMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      int hit = static_cast<int>(::SendMessageW(w, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
      if (hit >= 0) break;  // on a button: the toolbar's own handling
      if (msg == WM_LBUTTONDOWN) {
        StartSystemDrag();
        return 0;
      }
      // Right button: a gesture may start on the toolbar too.
      ::MapWindowPoints(w, hwnd_, &pt, 1);
      input_.FGestureStart = ToPoint(pt);
      ::SetCapture(hwnd_);
      return 0;
    }
    case WM_LBUTTONUP: {
      LRESULT r = ::DefSubclassProc(w, msg, wp, lp);
      // The grid button's pressed state follows the grid command after a click.
      ::PostMessageW(hwnd_, kMsgToolbarSync, 0, 0);
      return r;
    }
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(w, ToolbarSubclass, 1);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(w, msg, wp, lp);
}

}  // namespace viz
