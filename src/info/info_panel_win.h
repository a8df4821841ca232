// The information panel below the magnified image: its font and metrics, its rectangle in the
// view, the transient notice of the status line, and the line builder that draws the lines,
// measures the panel and collects the texts a copy takes. It draws into whatever DC it is given
// and keeps nothing selected there.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "commands/command_list.h"
#include "info/info_lines.h"
#include "ui/handle_win.h"

namespace viz {

class InfoPanel {
 public:
  InfoPanel() = default;
  InfoPanel(const InfoPanel&) = delete;
  InfoPanel& operator=(const InfoPanel&) = delete;
  ~InfoPanel() { ReleaseFont(); }

  // The view font: the panel's fixed-pitch font at `points` for `dpi`; then the metrics. `dc`
  // is any DC to measure with.
  void SetFont(int points, int dpi, HDC dc);
  HFONT Font() const { return viewFont_.get(); }
  int LineHeight() const { return FLineHeight; }
  int ColumnSeparatorX() const { return FColumnSeparatorX; }
  int StatusIconX() const { return FStatusIconX; }
  // The state icons start after the zoom label of the current zoom.
  void SetZoomLabel(int zoom, HDC dc);

  // The panel rectangle in view coordinates (FInfoRect).
  const RECT& PanelRect() const { return FInfoRect; }
  void SetPanelRect(const RECT& r) { FInfoRect = r; }

  // The transient notice shown in place of the zoom label (FStatusMessage).
  const std::wstring& Notice() const { return FStatusMessage; }
  void SetNotice(std::wstring text) { FStatusMessage = std::move(text); }
  void ClearNotice() { FStatusMessage.clear(); }

  // Height of the status line and the shown lines.
  int Height(const CommandList& cmds) const {
    return InfoPanelHeight(FLineHeight, VisibleInfoLines(cmds).size());
  }

  // What the status line shows besides the notice or zoom label.
  struct Status {
    bool active = true;   // the window is the active one
    bool paused = false;
    bool stayOnTop = false, smooth = false, fixed = false;
    Point fixedPoint;
    int zoom = 6;
    bool operator==(const Status&) const = default;
  };
  // The panel: background, status line with swatch and state icons, lines, separators. Only
  // what differs from the panel drawn last is drawn again (a status line, a line); the
  // rectangles drawn are added to `dirty` (view coordinates).
  void Draw(HDC dc, const Status& s, const CaptureInfo& info, const CommandList& cmds, int dpi,
            std::vector<RECT>* dirty);
  // The panel in the view is no longer the one drawn last: the next Draw draws all of it.
  void Forget() { shown_.valid = false; }

 private:
  // Everything a panel is drawn from besides the notice and the capture record: equal sources,
  // notice and record draw an equal panel, so a cycle whose sources equal the last one's builds
  // no text and draws nothing. Every field takes part.
  struct Sources {
    Rect rect;
    int dpi = 0, lineHeight = 0, iconX = 0, columnX = 0;
    Status status;
    uint64_t shownLines = 0;  // the shown lines as bits, in panel order
    bool operator==(const Sources&) const = default;
  };
  // What the panel drawn last showed, in the parts that are drawn again on their own: the
  // frame (a change draws everything), the status line, and each line.
  struct Frame {
    Rect rect;
    COLORREF back = 0, text = 0, pen = 0;
    int dpi = 0, lineHeight = 0, iconX = 0, columnX = 0;
    size_t lineCount = 0;
    bool operator==(const Frame&) const = default;
  };
  struct StatusLine {
    std::wstring text;               // the notice, or the zoom label
    bool notice = false;
    std::array<bool, 4> icons{};     // stay on top, smooth, paused, fixed
    Point fixedPoint;
    COLORREF swatch = 0;
    bool operator==(const StatusLine&) const = default;
  };
  struct Shown {
    bool valid = false;
    Frame frame;
    StatusLine status;
    std::vector<std::wstring> lines;  // the shown lines' texts, in order
  };
  void DrawStatus(HDC dc, const Frame& f, const StatusLine& s) const;
  void DrawLine(HDC dc, const std::wstring& text, size_t index, bool separator) const;

  // The view font is left selected in the DC drawn into last: selecting a font sets up its
  // rendering again each time. It is selected out there before it goes.
  void ReleaseFont();

  UniqueFont viewFont_;
  HDC fontDc_ = nullptr;
  int FLineHeight = 16;
  int FStatusIconX = 40;
  int FColumnSeparatorX = 50;
  RECT FInfoRect{};
  std::wstring FStatusMessage;
  Shown shown_;
  // What the panel drawn last was drawn from (when shown_ is valid), the notice and the record
  // apart: they are compared in place and copied only when they changed.
  Sources drawnFrom_;
  std::wstring drawnNotice_;
  CaptureInfo drawnInfo_;
};

}  // namespace viz
