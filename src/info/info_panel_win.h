// The information panel below the magnified image: its font and metrics, its rectangle in the
// view, the transient notice of the status line, and the line builder that draws the lines,
// measures the panel and collects the texts a copy takes. It draws into whatever DC it is given
// and keeps nothing selected there.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "commands/command_list.h"
#include "info/info_lines.h"
#include "ui/handle_win.h"

namespace viz {

class InfoPanel {
 public:
  // The view font: the face of `windowFont` at `points` for `dpi`; then the metrics. `dc` is
  // any DC to measure with.
  void SetFont(HFONT windowFont, int points, int dpi, HDC dc);
  HFONT Font() const { return viewFont_.get(); }
  int LineHeight() const { return FLineHeight; }
  int ColumnSeparatorX() const { return FColumnSeparatorX; }
  int StatusIconX() const { return FStatusIconX; }
  // The state icons start after the zoom label of the current zoom.
  void SetZoomLabel(int zoom, HDC dc);

  // The panel rectangle in view coordinates (FInfoRect).
  const RECT& Rect() const { return FInfoRect; }
  void SetRect(const RECT& r) { FInfoRect = r; }

  // The transient notice shown in place of the zoom label (FStatusMessage).
  const std::wstring& Notice() const { return FStatusMessage; }
  void SetNotice(std::wstring text) { FStatusMessage = std::move(text); }
  void ClearNotice() { FStatusMessage.clear(); }

  // The line builder: draws the shown lines into `dc` from y; returns y after the status line
  // and the lines.
  int BuildInfoLines(int y, HDC dc, const CaptureInfo& info, const CommandList& cmds) const;
  // Height of the status line and the shown lines.
  int Height(const CommandList& cmds) const {
    return InfoPanelHeight(FLineHeight, VisibleInfoLines(cmds).size());
  }

  // What the status line shows besides the notice or zoom label.
  struct Status {
    bool active = true;   // the window is the active one
    bool paused = false;
    bool stayOnTop = false, smooth = false, fixed = false;
    POINT fixedPoint{};
    int zoom = 6;
  };
  // The whole panel: background, status line with swatch and state icons, lines, separators.
  void Draw(HDC dc, const Status& s, const CaptureInfo& info, const CommandList& cmds,
            int dpi) const;

 private:
  UniqueFont viewFont_;
  int FLineHeight = 16;
  int FStatusIconX = 40;
  int FColumnSeparatorX = 50;
  RECT FInfoRect{};
  std::wstring FStatusMessage;
};

}  // namespace viz
