#include "commands/shortcut_window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "commands/command_host.h"
#include "platform/dpi_win.h"
#include "base/texts.h"
#include "platform/message_dialog_win.h"
#include "ui/window_messages_win.h"

namespace viz {
namespace {

// Layout at 96 DPI.
constexpr int kMargin96 = 8;
constexpr int kGap96 = 6;
constexpr int kCellPad96 = 14;  // a list view cell's text inset on both sides, with room to spare
constexpr int kButtonMinWidth96 = 75;
constexpr int kButtonPad96 = 20;
constexpr int kButtonMinHeight96 = 23;
constexpr int kVisibleRows = 24;

int TextWidth(HDC dc, std::wstring_view s) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, s.data(), static_cast<int>(s.size()), &size);
  return size.cx;
}

void InsertColumn(HWND list, int index, Text title, int width) {
  std::wstring text(Tr(title));
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.pszText = text.data();
  col.cx = width;
  col.iSubItem = index;
  ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col));
}

void SetCell(HWND list, int item, int sub, const std::wstring& text) {
  LVITEMW it{};
  it.iSubItem = sub;
  it.pszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
}

void AddRow(HWND list, int item, const std::wstring& first, const std::wstring& second) {
  LVITEMW it{};
  it.mask = LVIF_TEXT;
  it.iItem = item;
  it.pszText = const_cast<wchar_t*>(first.c_str());
  ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
  SetCell(list, item, 1, second);
}

int SelectedItem(HWND list) {
  if (!list) return -1;
  return static_cast<int>(
      ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

}  // namespace

ShortcutWindow::~ShortcutWindow() {
  if (destroyed_) *destroyed_ = true;
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool ShortcutWindow::Create(HWND owner) {
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  if (!RegisterWindowClass(inst, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), true))
    return false;
  // The window is named after the command that opens it.
  const std::wstring caption = CaptionWithoutAccel(CaptionOf(Cmd::Custom_ShortCut));
  if (!::CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, caption.c_str(),
                         WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, CW_USEDEFAULT,
                         CW_USEDEFAULT, 100, 100, owner, nullptr, inst, this))
    return false;
  PlaceOnCursorMonitor();
  return true;
}

void ShortcutWindow::FormCreate() {
  dpi_ = WindowDpi(hwnd_);
  CreateFonts();
  const DWORD grid = WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
  // Creation order is the Tab order.
  celCommand_ = AddControl(WC_LISTVIEWW, L"", grid, kIdCommand);
  btnAssign_ = AddControl(L"BUTTON", Tr(Text::Button_Assign), WS_TABSTOP | BS_PUSHBUTTON, kIdAssign);
  btnClear_ = AddControl(L"BUTTON", Tr(Text::Button_Clear), WS_TABSTOP | BS_PUSHBUTTON, kIdClear);
  celKey_ = AddControl(WC_LISTVIEWW, L"", grid | LVS_NOSORTHEADER, kIdKey);
  btnResetKeys_ =
      AddControl(L"BUTTON", Tr(Text::Button_ResetKeys), WS_TABSTOP | BS_PUSHBUTTON, kIdResetKeys);
  btnResetGestures_ = AddControl(L"BUTTON", Tr(Text::Button_ResetGestures),
                                 WS_TABSTOP | BS_PUSHBUTTON, kIdResetGestures);
  btnResetAll_ =
      AddControl(L"BUTTON", Tr(Text::Button_ResetAll), WS_TABSTOP | BS_PUSHBUTTON, kIdResetAll);
  btnClose_ = AddControl(L"BUTTON", Tr(Text::Button_Close), WS_TABSTOP | BS_PUSHBUTTON, kIdClose);
  lblHint_ = AddControl(L"STATIC", Tr(Text::ShortcutHint), SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS,
                        kIdHint);
  for (HWND list : {celCommand_, celKey_}) {
    if (!list) continue;
    const DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
  }

  WatchCommandGrid();
  commandRows_ = CommandRows();
  Measure();
  InsertColumn(celCommand_, 0, Text::Column_Category, colCategory_);
  InsertColumn(celCommand_, 1, Text::Column_Command, colCaption_);
  InsertColumn(celKey_, 0, Text::Column_Key, colKeyName_);
  InsertColumn(celKey_, 1, Text::Column_Command, colKeyCommand_);
  FillCommandGrid();
  FillKeyGrid();

  const SIZE outer = FitWorkArea(OuterSize(designClient_));
  ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FormResize();
  UpdateButtons();
  lastFocus_ = celCommand_;
}

void ShortcutWindow::CreateFonts() {
  // The system's message font, as in the other windows and dialogs; the columns are measured
  // in it.
  LOGFONTW lf{};
  if (MessageFontAt(dpi_, &lf)) font_.reset(::CreateFontIndirectW(&lf));
}

HWND ShortcutWindow::AddControl(const wchar_t* cls, std::wstring_view text, DWORD style, int id) {
  const std::wstring caption(text);
  HWND c = ::CreateWindowExW(0, cls, caption.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
  if (c && font_) ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return c;
}

void ShortcutWindow::Measure() {
  WindowDc dc(hwnd_);
  HFONT font = font_ ? font_.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  SelectGuard sel(dc.get(), font);
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc.get(), &tm);
  lineHeight_ = std::max<int>(1, tm.tmHeight);

  // Each column as wide as its widest text in the window's font, header included.
  const int pad = Scale(kCellPad96);
  int category = TextWidth(dc.get(), Tr(Text::Column_Category));
  int caption = TextWidth(dc.get(), Tr(Text::Column_Command));
  for (const CommandRow& r : commandRows_) {
    category = std::max(category, TextWidth(dc.get(), r.category));
    caption = std::max(caption, TextWidth(dc.get(), r.caption));
  }
  int keyName = TextWidth(dc.get(), Tr(Text::Column_Key));
  for (int row = 0; row < kKeyGridRowCount; ++row)
    keyName = std::max(keyName, TextWidth(dc.get(), KeyGridName(row)));
  colCategory_ = category + pad;
  colCaption_ = caption + pad;
  colKeyName_ = keyName + pad;
  colKeyCommand_ = colCaption_;

  int buttonWidth = Scale(kButtonMinWidth96);
  for (HWND b : {btnAssign_, btnClear_}) {
    wchar_t text[64] = {};
    ::GetWindowTextW(b, text, 64);
    buttonWidth = std::max(buttonWidth, TextWidth(dc.get(), text) + Scale(kButtonPad96));
  }
  middleWidth_ = buttonWidth;
  buttonHeight_ = std::max(Scale(kButtonMinHeight96), lineHeight_ + Scale(10));

  int bottomRow = 0;
  for (HWND b : {btnResetKeys_, btnResetGestures_, btnResetAll_, btnClose_}) {
    wchar_t text[64] = {};
    ::GetWindowTextW(b, text, 64);
    bottomRow += std::max(Scale(kButtonMinWidth96), TextWidth(dc.get(), text) + Scale(kButtonPad96));
  }
  bottomRow += 3 * Scale(kGap96) + Scale(kGap96 * 3);  // the close button stands apart

  // Grid width: columns, vertical scroll bar and the border.
  const int border = 2 * ::GetSystemMetrics(SM_CXEDGE);
  const int scrollBar = ::GetSystemMetrics(SM_CXVSCROLL);
  const int commandW = colCategory_ + colCaption_ + scrollBar + border;
  const int keyW = colKeyName_ + colKeyCommand_ + scrollBar + border;
  const int gap = Scale(kGap96), margin = Scale(kMargin96);
  const int rowH = lineHeight_ + Scale(4);
  const int gridH = (kVisibleRows + 1) * rowH + Scale(8) + border;  // rows plus the header

  designClient_.cx =
      std::max(commandW + gap + middleWidth_ + gap + keyW, bottomRow) + 2 * margin;
  designClient_.cy = margin + lineHeight_ + gap + gridH + gap + buttonHeight_ + margin;
}

void ShortcutWindow::FormResize() {
  if (!celCommand_) return;
  RECT rc{};
  ::GetClientRect(hwnd_, &rc);
  const int margin = Scale(kMargin96), gap = Scale(kGap96);
  const int w = rc.right - 2 * margin;
  const int border = 2 * ::GetSystemMetrics(SM_CXEDGE);
  const int scrollBar = ::GetSystemMetrics(SM_CXVSCROLL);
  const int commandW0 = colCategory_ + colCaption_ + scrollBar + border;
  const int keyW0 = colKeyName_ + colKeyCommand_ + scrollBar + border;
  // Extra width goes to both grids alike; a window narrower than designed (a small screen at a
  // high DPI) takes the shortfall from both grids in proportion, and they scroll.
  const int room = w - (gap + middleWidth_ + gap);
  const int extra = std::max(0, room - (commandW0 + keyW0));
  int commandW = commandW0 + extra / 2;
  int keyW = keyW0 + (extra - extra / 2);
  if (room < commandW0 + keyW0) {
    commandW = std::max(1, static_cast<int>(static_cast<int64_t>(room) * commandW0 / (commandW0 + keyW0)));
    keyW = std::max(1, room - commandW);
  }

  int y = margin;
  ::MoveWindow(lblHint_, margin, y, w, lineHeight_, TRUE);
  y += lineHeight_ + gap;
  const int buttonsY = rc.bottom - margin - buttonHeight_;
  const int gridH = std::max(buttonHeight_ * 3, buttonsY - gap - y);
  int x = margin;
  ::MoveWindow(celCommand_, x, y, commandW, gridH, TRUE);
  x += commandW + gap;
  const int middleY = y + std::max(0, gridH / 2 - buttonHeight_ - gap);
  ::MoveWindow(btnAssign_, x, middleY, middleWidth_, buttonHeight_, TRUE);
  ::MoveWindow(btnClear_, x, middleY + buttonHeight_ + gap * 2, middleWidth_, buttonHeight_, TRUE);
  x += middleWidth_ + gap;
  ::MoveWindow(celKey_, x, y, keyW, gridH, TRUE);

  // Widen the last columns with the grids.
  ::SendMessageW(celCommand_, LVM_SETCOLUMNWIDTH, 1, colCaption_ + extra / 2);
  ::SendMessageW(celKey_, LVM_SETCOLUMNWIDTH, 1, colKeyCommand_ + (extra - extra / 2));

  WindowDc dc(hwnd_);
  SelectGuard sel(dc.get(), font_.get());
  auto widthOf = [&](HWND b) {
    wchar_t text[64] = {};
    ::GetWindowTextW(b, text, 64);
    return std::max(Scale(kButtonMinWidth96), TextWidth(dc.get(), text) + Scale(kButtonPad96));
  };
  x = margin;
  for (HWND b : {btnResetKeys_, btnResetGestures_, btnResetAll_}) {
    const int bw = widthOf(b);
    ::MoveWindow(b, x, buttonsY, bw, buttonHeight_, TRUE);
    x += bw + gap;
  }
  const int closeW = widthOf(btnClose_);
  ::MoveWindow(btnClose_, rc.right - margin - closeW, buttonsY, closeW, buttonHeight_, TRUE);
}

SIZE ShortcutWindow::OuterSize(SIZE client) const {
  RECT r{0, 0, client.cx, client.cy};
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(hwnd_, GWL_EXSTYLE)));
  return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE ShortcutWindow::FitWorkArea(SIZE outer) const {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (!::GetMonitorInfoW(::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &mi)) return outer;
  return SIZE{std::min<LONG>(outer.cx, mi.rcWork.right - mi.rcWork.left),
              std::min<LONG>(outer.cy, mi.rcWork.bottom - mi.rcWork.top)};
}

void ShortcutWindow::PlaceOnCursorMonitor() {
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  HMONITOR mon = ::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
  if (!mon || !::GetMonitorInfoW(mon, &mi)) return;
  RECT wr{};
  ::GetWindowRect(hwnd_, &wr);
  const RECT& work = mi.rcWork;
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  const int x = work.left + std::max(0L, (work.right - work.left - w) / 2);
  const int y = work.top + std::max(0L, (work.bottom - work.top - h) / 2);
  ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShortcutWindow::FillCommandGrid() {
  ::SendMessageW(celCommand_, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(celCommand_, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < commandRows_.size(); ++i)
    AddRow(celCommand_, static_cast<int>(i), commandRows_[i].category, commandRows_[i].caption);
  ::SendMessageW(celCommand_, WM_SETREDRAW, TRUE, 0);
}

void ShortcutWindow::FillKeyGrid() {
  shownKeys_ = KeyGridRows(host_.Bindings());
  ::SendMessageW(celKey_, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(celKey_, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < shownKeys_.size(); ++i)
    AddRow(celKey_, static_cast<int>(i), shownKeys_[i].name, shownKeys_[i].command);
  ::SendMessageW(celKey_, WM_SETREDRAW, TRUE, 0);
}

void ShortcutWindow::SyncFromCommands() {
  if (!celKey_) return;
  std::vector<KeyGridRow> rows = KeyGridRows(host_.Bindings());
  if (rows.size() != shownKeys_.size()) {
    FillKeyGrid();
  } else {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].command != shownKeys_[i].command) SetCell(celKey_, static_cast<int>(i), 1, rows[i].command);
    shownKeys_ = std::move(rows);
  }
  UpdateButtons();
}

void ShortcutWindow::UpdateButtons() {
  if (!btnAssign_) return;
  const int keyRow = SelectedKeyRow(), commandRow = SelectedCommandRow();
  const bool canAssign =
      keyRow >= 0 && commandRow >= 0 &&
      PlanAssign(host_.Bindings(), keyRow, commandRows_[static_cast<size_t>(commandRow)].cmd).step !=
          AssignStep::Nothing;
  const bool canClear = keyRow >= 0 && KeyGridCommand(host_.Bindings(), keyRow).has_value();
  HWND focus = ::GetFocus();
  if ((focus == btnAssign_ && !canAssign) || (focus == btnClear_ && !canClear))
    ::SetFocus(celKey_);  // a disabled button would leave the keyboard nowhere
  ::EnableWindow(btnAssign_, canAssign);
  ::EnableWindow(btnClear_, canClear);
}

void ShortcutWindow::Show() {
  SyncFromCommands();
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
  if (lastFocus_ && ::IsWindow(lastFocus_)) ::SetFocus(lastFocus_);
}

bool ShortcutWindow::PreTranslate(MSG& msg) {
  if (!hwnd_ || !::IsWindowVisible(hwnd_)) return false;
  if (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd)) return false;
  return ::IsDialogMessageW(hwnd_, &msg) != FALSE;
}

// ---- selection and edits ------------------------------------------------------------------

int ShortcutWindow::SelectedCommandRow() const {
  const int i = SelectedItem(celCommand_);
  return i >= 0 && static_cast<size_t>(i) < commandRows_.size() ? i : -1;
}

int ShortcutWindow::SelectedKeyRow() const {
  const int i = SelectedItem(celKey_);
  return i >= 0 && i < kKeyGridRowCount ? i : -1;
}

void ShortcutWindow::SelectKeyRow(int row) {
  LVITEMW it{};
  it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  it.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(celKey_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&it));
  ::SendMessageW(celKey_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void ShortcutWindow::AssignTo(int keyRow, Cmd cmd) {
  const AssignPlan plan = PlanAssign(host_.Bindings(), keyRow, cmd);
  if (plan.step == AssignStep::Nothing) return;
  if (plan.step == AssignStep::Confirm) {
    // The main window can close while the question is open, taking this window with it.
    bool gone = false;
    destroyed_ = &gone;
    const MsgButton answer = MessageDlg(hwnd_, plan.question, MsgKind::Confirm, mbYes | mbNo, mbYes);
    if (gone) return;
    destroyed_ = nullptr;
    if (answer != mbYes) return;
  }
  if (ApplyAssign(host_.Bindings(), keyRow, cmd)) host_.CommandsChanged();
}

void ShortcutWindow::btnAssignClick() {
  const int keyRow = SelectedKeyRow(), commandRow = SelectedCommandRow();
  if (keyRow < 0 || commandRow < 0) return;
  AssignTo(keyRow, commandRows_[static_cast<size_t>(commandRow)].cmd);
}

void ShortcutWindow::btnClearClick() {
  const int keyRow = SelectedKeyRow();
  if (keyRow >= 0 && ClearRow(host_.Bindings(), keyRow)) host_.CommandsChanged();
}

void ShortcutWindow::ResetClick(ResetKind kind) {
  bool gone = false;
  destroyed_ = &gone;
  // A reset throws every edit of its kind away: No is the default answer.
  const MsgButton answer = MessageDlg(hwnd_, ResetQuestion(kind), MsgKind::Confirm, mbYes | mbNo, mbNo);
  if (gone) return;
  destroyed_ = nullptr;
  if (answer != mbYes) return;
  ApplyReset(host_.Bindings(), kind);
  host_.CommandsChanged();
}

void ShortcutWindow::CloseWindow() {
  DragEnd(false);
  ::ShowWindow(hwnd_, SW_HIDE);
  if (HWND owner = ::GetWindow(hwnd_, GW_OWNER)) ::SetForegroundWindow(owner);
}

void ShortcutWindow::OnCommand(int id) {
  switch (id) {
    case IDOK: {
      // Enter: the focused button, or assigning from the grids.
      HWND focus = ::GetFocus();
      for (HWND b : {btnAssign_, btnClear_, btnResetKeys_, btnResetGestures_, btnResetAll_, btnClose_})
        if (focus == b) return OnCommand(::GetDlgCtrlID(b));
      btnAssignClick();
      return;
    }
    case IDCANCEL:
      if (dragging_)
        DragEnd(false);
      else
        CloseWindow();
      return;
    case kIdAssign: btnAssignClick(); return;
    case kIdClear: btnClearClick(); return;
    case kIdResetKeys: ResetClick(ResetKind::Keys); return;
    case kIdResetGestures: ResetClick(ResetKind::Gestures); return;
    case kIdResetAll: ResetClick(ResetKind::All); return;
    case kIdClose: CloseWindow(); return;
    default: return;
  }
}

LRESULT ShortcutWindow::OnNotify(NMHDR* hdr) {
  if (hdr->hwndFrom != celCommand_ && hdr->hwndFrom != celKey_) return 0;
  switch (hdr->code) {
    case LVN_BEGINDRAG:
      if (hdr->hwndFrom == celCommand_) celCommandBeginDrag(reinterpret_cast<NMLISTVIEW*>(hdr)->iItem);
      return 0;
    case LVN_ITEMCHANGED:
      UpdateButtons();
      return 0;
    case LVN_KEYDOWN:
      if (reinterpret_cast<NMLVKEYDOWN*>(hdr)->wVKey == VK_DELETE) btnClearClick();
      return 0;
    default:
      return 0;
  }
}

LRESULT ShortcutWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
      if (designClient_.cx > 0) {
        const SIZE least = FitWorkArea(OuterSize(SIZE{designClient_.cx, designClient_.cy / 2}));
        mmi->ptMinTrackSize = POINT{least.cx, least.cy};
      }
      return 0;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      CreateFonts();
      for (HWND c = ::GetWindow(hwnd_, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
      Measure();
      ::SendMessageW(celCommand_, LVM_SETCOLUMNWIDTH, 0, colCategory_);
      ::SendMessageW(celKey_, LVM_SETCOLUMNWIDTH, 0, colKeyName_);
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      ::SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      FormResize();
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = ::GetFocus();
        if (f && ::IsChild(hwnd_, f)) lastFocus_ = f;
        return 0;
      }
      if (lastFocus_ && ::IsWindow(lastFocus_)) {
        ::SetFocus(lastFocus_);
        return 0;
      }
      return DefProc(msg, wp, lp);
    case WM_COMMAND:
      OnCommand(LOWORD(wp));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_MOUSEMOVE:
      if (dragging_) DragMove(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) {
        DragMove(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
        DragEnd(true);
      }
      return 0;
    case WM_RBUTTONDOWN:
      DragEnd(false);
      return 0;
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lp) != hwnd_) DragEnd(false);
      return 0;
    case WM_TIMER:
      if (wp == kTimerAutoScroll) DragAutoScroll();
      return 0;
    case WM_CLOSE:
      CloseWindow();
      return 0;
    default:
      return DefProc(msg, wp, lp);
  }
}

}  // namespace viz
