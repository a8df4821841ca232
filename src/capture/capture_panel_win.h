// pnlCapture: the four arrow buttons at the right end of the status line, shown while the capture
// is frozen (paused or fixed). A press moves the capture point at once and the main window
// repeats the move while the button is held, so each button reports its press and release to
// the main window (kMsgCaptureButton) instead of a click.
#pragma once

#include <windows.h>

#include "commands/command_table.h"

namespace viz {

class CapturePanel {
 public:
  bool Create(HWND parent, HINSTANCE inst, HFONT font);
  void SetFont(HFONT font);
  // Right-aligned at `right`, top at `top`, buttons `height` high and as wide as their arrows.
  void Layout(int right, int top, int height, HFONT font);
  void Show(bool shown);
  bool IsButton(HWND w) const;
  HWND hwnd() const { return panel_; }

  // The move a button makes, and the one the held button repeats.
  static Cmd MoveOf(int index);
  void SetHeld(int index) { held_ = MoveOf(index); }
  Cmd Held() const { return held_; }

 private:
  static LRESULT CALLBACK ButtonProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                     DWORD_PTR ref) noexcept;

  HWND panel_ = nullptr;  // child windows: they go with the parent
  HWND buttons_[4] = {};
  Cmd held_ = Cmd::Move_Up;
};

}  // namespace viz
