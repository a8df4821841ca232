#include "info/info_panel_win.h"

#include "base/format.h"
#include "base/geometry_win.h"
#include "platform/panel_font_win.h"
#include "platform/sysfuncs_win.h"
#include "platform/text_convert_win.h"
#include "ui/icons_win.h"

namespace viz {
namespace {

// The state icons at 96 DPI: 14 pixels with a 2-pixel gap.
constexpr int kStateIconSize96 = 14;
constexpr int kStateIconSlot96 = 16;

SIZE TextSize(HDC dc, std::wstring_view s) {
  SIZE sz{};
  ::GetTextExtentPoint32W(dc, s.data(), static_cast<int>(s.size()), &sz);
  return sz;
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  ::MoveToEx(dc, x0, y0, nullptr);
  ::LineTo(dc, x1, y1);
}

void PanelText(HDC dc, int x, int y, std::wstring_view s) {
  if (IsWinNT()) {
    ::TextOutW(dc, x, y, s.data(), static_cast<int>(s.size()));
  } else {
    const std::string a = WideToAnsi(s);
    ::TextOutA(dc, x, y, a.data(), static_cast<int>(a.size()));
  }
}

}  // namespace

void InfoPanel::SetFont(int points, int dpi, HDC dc) {
  UniqueFont font = CreatePanelFont(points, dpi);
  if (!font) return;
  ReleaseFont();
  viewFont_ = std::move(font);
  SelectGuard sel(dc, viewFont_.get());
  const SIZE a = TextSize(dc, L"A");
  FLineHeight = static_cast<int>(a.cy * 1.2) + 1;
  FColumnSeparatorX = TextSize(dc, L"COLORREF").cx + TextSize(dc, L" ").cx / 2;
}

void InfoPanel::ReleaseFont() {
  // A DC that has gone answers no current font; one that took over its handle and holds the font
  // holds it because it was selected there.
  if (fontDc_ && viewFont_ && ::GetCurrentObject(fontDc_, OBJ_FONT) == viewFont_.get())
    ::SelectObject(fontDc_, ::GetStockObject(SYSTEM_FONT));
  fontDc_ = nullptr;
}

void InfoPanel::SetZoomLabel(int zoom, HDC dc) {
  SelectGuard sel(dc, viewFont_.get());
  FStatusIconX = TextSize(dc, ZoomLabel(zoom)).cx + FLineHeight + 4;
}

void InfoPanel::Draw(HDC dc, const Status& s, const CaptureInfo& info, const CommandList& cmds,
                     int dpi, std::vector<RECT>* dirty) {
  const Sources from{ToRect(FInfoRect), dpi, FLineHeight, FStatusIconX, FColumnSeparatorX, s,
                     VisibleInfoLineBits(cmds)};
  // A still view over an unchanging screen: nothing to build, nothing to draw.
  const bool sameNotice = drawnNotice_ == FStatusMessage, sameInfo = info == drawnInfo_;
  if (shown_.valid && from == drawnFrom_ && sameNotice && sameInfo) return;
  drawnFrom_ = from;
  if (!sameNotice) drawnNotice_ = FStatusMessage;
  if (!sameInfo) drawnInfo_ = info;

  Shown now;
  now.valid = true;
  Frame& f = now.frame;
  f.rect = ToRect(FInfoRect);
  if (!s.active) {
    f.back = ::GetSysColor(COLOR_BTNFACE);
    f.text = ::GetSysColor(COLOR_BTNTEXT);
    f.pen = ::GetSysColor(COLOR_BTNSHADOW);
  } else if (s.paused) {
    f.back = ::GetSysColor(COLOR_INFOBK);
    f.text = ::GetSysColor(COLOR_INFOTEXT);
    f.pen = ::GetSysColor(COLOR_BTNFACE);
  } else {
    f.back = ::GetSysColor(COLOR_WINDOW);
    f.text = ::GetSysColor(COLOR_WINDOWTEXT);
    f.pen = ::GetSysColor(COLOR_BTNFACE);
  }
  f.dpi = dpi;
  f.lineHeight = FLineHeight;
  f.iconX = FStatusIconX;
  f.columnX = FColumnSeparatorX;
  StatusLine& st = now.status;
  st.notice = !FStatusMessage.empty();
  st.text = st.notice ? FStatusMessage : ZoomLabel(s.zoom);
  st.icons = {s.stayOnTop, s.smooth, s.paused, s.fixed};
  st.fixedPoint = s.fixed ? s.fixedPoint : Point{};
  st.swatch = info.ColorRef & 0xFFFFFF;
  for (InfoLine line : VisibleInfoLines(cmds)) now.lines.push_back(DisplayLineText(line, info));
  f.lineCount = now.lines.size();

  const Shown& was = shown_;
  const bool all = !was.valid || was.frame != now.frame;

  UniquePen linePen(::CreatePen(PS_SOLID, 1, f.pen));
  SelectGuard selPen(dc, linePen.get());
  if (::GetCurrentObject(dc, OBJ_FONT) != viewFont_.get()) {
    ReleaseFont();
    ::SelectObject(dc, viewFont_.get());
  }
  fontDc_ = dc;
  ::SetTextColor(dc, f.text);
  ::SetBkMode(dc, TRANSPARENT);
  UniqueBrush back(::CreateSolidBrush(f.back));
  const int top = FInfoRect.top, lh = FLineHeight;

  if (all) {
    ::FillRect(dc, &FInfoRect, back.get());
    DrawStatus(dc, f, st);
    for (size_t i = 0; i < now.lines.size(); ++i) DrawLine(dc, now.lines[i], i, true);
    // The column separator, then the line at the panel top.
    Line(dc, FColumnSeparatorX, top + lh + 1, FColumnSeparatorX, FInfoRect.bottom);
    UniquePen shadow(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
    SelectGuard selShadow(dc, shadow.get());
    Line(dc, 0, top, FInfoRect.right, top);
    if (dirty) dirty->push_back(FInfoRect);
  } else {
    // The status line lies between the top line and the first separator; line i between
    // separators i and i + 1. Each is drawn again on its own background when it changed.
    if (was.status != st) {
      const RECT band{FInfoRect.left, top + 1, FInfoRect.right, top + lh};
      ::FillRect(dc, &band, back.get());
      DrawStatus(dc, f, st);
      if (dirty) dirty->push_back(band);
    }
    for (size_t i = 0; i < now.lines.size(); ++i) {
      if (was.lines[i] == now.lines[i]) continue;
      const int bandTop = top + lh * static_cast<int>(i + 1) + 1;
      const RECT band{FInfoRect.left, bandTop, FInfoRect.right, bandTop + lh - 1};
      ::FillRect(dc, &band, back.get());
      DrawLine(dc, now.lines[i], i, false);
      Line(dc, FColumnSeparatorX, band.top, FColumnSeparatorX, band.bottom);
      if (dirty) dirty->push_back(band);
    }
  }
  shown_ = std::move(now);
}

void InfoPanel::DrawStatus(HDC dc, const Frame& f, const StatusLine& s) const {
  const int top = FInfoRect.top;
  PanelText(dc, FLineHeight + 2, top + 2, s.text);
  if (!s.notice) {
    const int size = ::MulDiv(kStateIconSize96, f.dpi, 96), slot = ::MulDiv(kStateIconSlot96, f.dpi, 96);
    for (int i = 0; i < 4; ++i)
      if (s.icons[i])
        DrawStateIcon(dc, FStatusIconX + i * slot, top + 1, size, static_cast<StateIcon>(i));
    if (s.icons[3])
      PanelText(dc, FStatusIconX + 4 * slot, top + 2,
           FormatW(L"(%d,%d) ", {s.fixedPoint.x, s.fixedPoint.y}));
  }
  // Swatch of the centre pixel, framed one pixel outside with the panel's pen.
  const RECT sw{FInfoRect.left + 2, top + 3, FLineHeight - 2, top + FLineHeight - 2};
  {
    UniqueBrush b(::CreateSolidBrush(s.swatch));
    ::FillRect(dc, &sw, b.get());
  }
  const POINT frame[5] = {{sw.left - 1, sw.top - 1},
                          {sw.right, sw.top - 1},
                          {sw.right, sw.bottom},
                          {sw.left - 1, sw.bottom},
                          {sw.left - 1, sw.top - 1}};
  ::Polyline(dc, frame, 5);
}

// Line i: its separator above it (in a full drawing) and its text.
void InfoPanel::DrawLine(HDC dc, const std::wstring& text, size_t index, bool separator) const {
  const int y = FInfoRect.top + 2 + FLineHeight * static_cast<int>(index + 1);
  if (separator) Line(dc, 0, y - 2, FInfoRect.right, y - 2);
  PanelText(dc, 2, y, text);
}

}  // namespace viz
