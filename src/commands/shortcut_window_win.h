// TApp_CustomShortCut: the shortcut customisation window, modeless, owned by the main window.
//
// Left, `celCommand` lists the commands by category; right, `celKey` lists the keys of the key
// table and the four gestures with the command bound to each. A command is bound by dragging it
// onto a key row, or by selecting both rows and pressing the assign button (or Enter). Edits apply
// to the main window's bindings at once. The split across files:
//   commands/shortcut_window_win.cpp  creation, layout, grids, buttons and edits
//   commands/shortcut_drag_win.cpp    dragging a command onto a key row
#pragma once

#include <windows.h>

#include <vector>

#include "commands/shortcut_edit.h"
#include "platform/dpi_win.h"
#include "ui/handle_win.h"
#include "ui/window_base_win.h"

namespace viz {

class CommandHost;

class ShortcutWindow : public WindowBase<ShortcutWindow> {
  friend class WindowBase<ShortcutWindow>;

 public:
  static constexpr const wchar_t* kClassName = L"TApp_CustomShortCut";

  explicit ShortcutWindow(CommandHost& host) : host_(host) {}
  ~ShortcutWindow();
  ShortcutWindow(const ShortcutWindow&) = delete;
  ShortcutWindow& operator=(const ShortcutWindow&) = delete;

  bool Create(HWND owner);
  void Show();
  // Dialog navigation (Tab, Enter, Esc, access keys) for this window's own messages, so that
  // keys typed here never reach the main window's bindings.
  bool PreTranslate(MSG& msg);
  // Re-reads the bindings into the key grid (only the cells that changed).
  void SyncFromCommands();

 private:
  enum ControlId : int {
    kIdCommand = 101,
    kIdKey,
    kIdHint,
    kIdAssign = 201,
    kIdClear,
    kIdResetKeys,
    kIdResetGestures,
    kIdResetAll,
    kIdClose,
  };

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  // ---- construction and layout (shortcut_window_win.cpp)
  void FormCreate();
  void CreateFonts();
  void Measure();  // column widths and the designed client size from the font
  void FormResize();
  void PlaceOnCursorMonitor();
  SIZE OuterSize(SIZE client) const;
  // No larger than the work area of the monitor under the cursor.
  SIZE FitWorkArea(SIZE outer) const;
  int Scale(int v96) const { return ScaleForDpi(v96, dpi_); }
  HWND AddControl(const wchar_t* cls, std::wstring_view text, DWORD style, int id);
  void FillCommandGrid();
  void FillKeyGrid();
  void UpdateButtons();

  // ---- editing (shortcut_window_win.cpp)
  void OnCommand(int id);
  LRESULT OnNotify(NMHDR* hdr);
  void btnAssignClick();
  void btnClearClick();
  void ResetClick(ResetKind kind);
  // Binds a key-grid row, asking first when it holds another command.
  void AssignTo(int keyRow, Cmd cmd);
  int SelectedCommandRow() const;
  int SelectedKeyRow() const;
  void SelectKeyRow(int row);
  void CloseWindow();

  // ---- drag and drop (shortcut_drag_win.cpp)
  static LRESULT CALLBACK CommandGridProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                          DWORD_PTR ref) noexcept;
  LRESULT OnCommandGridMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  void WatchCommandGrid();
  void celCommandBeginDrag(int item);
  void DragMove(POINT client);
  void DragEnd(bool drop);
  void DragAutoScroll();
  int KeyRowAt(POINT client) const;  // -1 outside the key rows
  void SetDropTarget(int row);

  CommandHost& host_;
  HWND celCommand_ = nullptr;
  HWND celKey_ = nullptr;
  HWND lblHint_ = nullptr;
  HWND btnAssign_ = nullptr, btnClear_ = nullptr;
  HWND btnResetKeys_ = nullptr, btnResetGestures_ = nullptr, btnResetAll_ = nullptr;
  HWND btnClose_ = nullptr;
  UniqueFont font_;
  int dpi_ = 96;

  std::vector<CommandRow> commandRows_;
  std::vector<KeyGridRow> shownKeys_;

  // Measured by Measure().
  int lineHeight_ = 13;
  int colCategory_ = 0, colCaption_ = 0, colKeyName_ = 0, colKeyCommand_ = 0;
  int buttonHeight_ = 23, middleWidth_ = 0;
  SIZE designClient_{};

  HWND lastFocus_ = nullptr;  // restored when the window is activated again
  bool* destroyed_ = nullptr;  // set while a confirmation runs: the window may go meanwhile

  // A press on a command row, until it becomes a drag or the button goes up.
  int pressItem_ = -1;
  POINT pressPoint_{};
  bool pressCaptured_ = false;

  bool dragging_ = false;
  Cmd dragCmd_ = Cmd::Spc;
  int dropRow_ = -1;
  POINT dragPoint_{};
};

}  // namespace viz
