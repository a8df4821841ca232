// Dragging a command from `celCommand` onto a row of `celKey`: the window holds the mouse
// capture from the start of the drag to the button's release, marks the row under the pointer as
// the drop target, and scrolls the key grid while the pointer rests above or below its rows.
//
// A drag starts at LVN_BEGINDRAG or, failing that, when the grid sees the pointer leave the
// drag rectangle with the button held: some list views never report a drag that starts on the
// row already selected, and dragging one command onto several keys starts just there.
#include "commands/shortcut_window_win.h"

#include <commctrl.h>

#include <cstdlib>

#include "ui/window_messages_win.h"

namespace viz {
namespace {

constexpr UINT kAutoScrollMs = 80;

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

void ShortcutWindow::WatchCommandGrid() {
  if (celCommand_)
    ::SetWindowSubclass(celCommand_, CommandGridProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK ShortcutWindow::CommandGridProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                                 DWORD_PTR ref) noexcept {
  auto* self = reinterpret_cast<ShortcutWindow*>(ref);
  return Guarded([&] { return self->OnCommandGridMessage(w, msg, wp, lp); },
                 [&] { return ::DefSubclassProc(w, msg, wp, lp); });
}

LRESULT ShortcutWindow::OnCommandGridMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  ShortcutWindow* self = this;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {  // a quick second press on the same row arrives as a double click
      LVHITTESTINFO hit{};
      hit.pt = POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      const int item = static_cast<int>(::SendMessageW(w, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      self->pressItem_ = (hit.flags & LVHT_ONITEM) ? item : -1;
      self->pressPoint_ = hit.pt;
      self->pressCaptured_ = false;
      const LRESULT r = ::DefSubclassProc(w, msg, wp, lp);
      // The grid may have run its own drag detection already; when the button is still down
      // and nobody holds the mouse, keep watching it here.
      if (self->pressItem_ >= 0 && !self->dragging_ && (::GetKeyState(VK_LBUTTON) & 0x8000) &&
          !::GetCapture()) {
        ::SetCapture(w);
        self->pressCaptured_ = true;
      }
      return r;
    }
    case WM_MOUSEMOVE:
      if (self->pressItem_ >= 0 && !self->dragging_) {
        if (!(wp & MK_LBUTTON)) {
          self->pressItem_ = -1;
        } else {
          const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
          if (std::abs(p.x - self->pressPoint_.x) > ::GetSystemMetrics(SM_CXDRAG) ||
              std::abs(p.y - self->pressPoint_.y) > ::GetSystemMetrics(SM_CYDRAG)) {
            self->celCommandBeginDrag(self->pressItem_);
            return 0;
          }
        }
      }
      break;
    case WM_LBUTTONUP:
      self->pressItem_ = -1;
      if (self->pressCaptured_) {
        self->pressCaptured_ = false;
        if (::GetCapture() == w) ::ReleaseCapture();
      }
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(w, CommandGridProc, kSubclassId);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(w, msg, wp, lp);
}

void ShortcutWindow::celCommandBeginDrag(int item) {
  pressItem_ = -1;
  pressCaptured_ = false;
  if (dragging_ || item < 0 || static_cast<size_t>(item) >= commandRows_.size()) return;
  dragCmd_ = commandRows_[static_cast<size_t>(item)].cmd;
  dragging_ = true;
  dropRow_ = -1;
  ::GetCursorPos(&dragPoint_);
  ::ScreenToClient(hwnd_, &dragPoint_);
  ::SetCapture(hwnd_);
  ::SetTimer(hwnd_, kTimerAutoScroll, kAutoScrollMs, nullptr);
  DragMove(dragPoint_);
}

int ShortcutWindow::KeyRowAt(POINT client) const {
  POINT p = client;
  ::MapWindowPoints(hwnd_, celKey_, &p, 1);
  RECT rc{};
  ::GetClientRect(celKey_, &rc);
  if (!::PtInRect(&rc, p)) return -1;
  // Rows span the grid's width; test in the first column so that the blank area right of the
  // last column counts too.
  LVHITTESTINFO hit{};
  hit.pt = POINT{1, p.y};
  const int item = static_cast<int>(::SendMessageW(celKey_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (item < 0 || item >= kKeyGridRowCount || !(hit.flags & LVHT_ONITEM)) return -1;
  return item;
}

void ShortcutWindow::SetDropTarget(int row) {
  if (row == dropRow_) return;
  LVITEMW it{};
  it.stateMask = LVIS_DROPHILITED;
  if (dropRow_ >= 0) {
    it.state = 0;
    ::SendMessageW(celKey_, LVM_SETITEMSTATE, static_cast<WPARAM>(dropRow_), reinterpret_cast<LPARAM>(&it));
  }
  dropRow_ = row;
  if (row >= 0) {
    it.state = LVIS_DROPHILITED;
    ::SendMessageW(celKey_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&it));
  }
  ::UpdateWindow(celKey_);
}

void ShortcutWindow::DragMove(POINT client) {
  if (!dragging_) return;
  dragPoint_ = client;
  const int row = KeyRowAt(client);
  SetDropTarget(row);
  ::SetCursor(::LoadCursorW(nullptr, row >= 0 ? IDC_ARROW : IDC_NO));
}

void ShortcutWindow::DragAutoScroll() {
  if (!dragging_) return;
  POINT p = dragPoint_;
  ::MapWindowPoints(hwnd_, celKey_, &p, 1);
  RECT rc{};
  ::GetClientRect(celKey_, &rc);
  if (p.x < rc.left || p.x >= rc.right) return;
  RECT header{};
  if (HWND h = reinterpret_cast<HWND>(::SendMessageW(celKey_, LVM_GETHEADER, 0, 0)))
    ::GetClientRect(h, &header);
  const int top = header.bottom;
  const int step = lineHeight_;
  int dy = 0;
  if (p.y < top + step / 2)
    dy = -step;
  else if (p.y >= rc.bottom - step / 2)
    dy = step;
  if (dy == 0) return;
  ::SendMessageW(celKey_, LVM_SCROLL, 0, dy);
  DragMove(dragPoint_);  // another row is under the pointer now
}

void ShortcutWindow::DragEnd(bool drop) {
  if (!dragging_) return;
  dragging_ = false;
  ::KillTimer(hwnd_, kTimerAutoScroll);
  const int row = dropRow_;
  SetDropTarget(-1);
  if (::GetCapture() == hwnd_) ::ReleaseCapture();
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  if (!drop || row < 0) return;
  SelectKeyRow(row);
  AssignTo(row, dragCmd_);
}

}  // namespace viz
