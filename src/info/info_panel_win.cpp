#include "info/info_panel_win.h"

#include "info/format.h"
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

void Text(HDC dc, int x, int y, std::wstring_view s) {
  if (IsWinNT()) {
    ::TextOutW(dc, x, y, s.data(), static_cast<int>(s.size()));
  } else {
    const std::string a = WideToAnsi(s);
    ::TextOutA(dc, x, y, a.data(), static_cast<int>(a.size()));
  }
}

}  // namespace

void InfoPanel::SetFont(HFONT windowFont, int points, int dpi, HDC dc) {
  LOGFONTW lf{};
  ::GetObjectW(windowFont, sizeof(lf), &lf);
  lf.lfHeight = -::MulDiv(points, dpi, 72);
  UniqueFont font(::CreateFontIndirectW(&lf));
  if (!font) return;
  viewFont_ = std::move(font);  // never left selected anywhere, so it may go at once
  SelectGuard sel(dc, viewFont_.get());
  const SIZE a = TextSize(dc, L"A");
  FLineHeight = static_cast<int>(a.cy * 1.2) + 1;
  FColumnSeparatorX = TextSize(dc, L"COLORREF").cx + TextSize(dc, L" ").cx / 2;
}

void InfoPanel::SetZoomLabel(int zoom, HDC dc) {
  SelectGuard sel(dc, viewFont_.get());
  FStatusIconX = TextSize(dc, ZoomLabel(zoom)).cx + FLineHeight + 4;
}

int InfoPanel::BuildInfoLines(int y, HDC dc, const CaptureInfo& info,
                              const CommandList& cmds) const {
  y += FLineHeight;  // the status line
  for (InfoLine line : VisibleInfoLines(cmds)) {
    if (dc) {
      Line(dc, 0, y - 2, FInfoRect.right, y - 2);
      Text(dc, 2, y, DisplayLineText(line, info));
    }
    y += FLineHeight;
  }
  return y;
}

void InfoPanel::Draw(HDC dc, const Status& s, const CaptureInfo& info, const CommandList& cmds,
                     int dpi) const {
  COLORREF back, text, pen;
  if (!s.active) {
    back = ::GetSysColor(COLOR_BTNFACE);
    text = ::GetSysColor(COLOR_BTNTEXT);
    pen = ::GetSysColor(COLOR_BTNSHADOW);
  } else if (s.paused) {
    back = ::GetSysColor(COLOR_INFOBK);
    text = ::GetSysColor(COLOR_INFOTEXT);
    pen = ::GetSysColor(COLOR_BTNFACE);
  } else {
    back = ::GetSysColor(COLOR_WINDOW);
    text = ::GetSysColor(COLOR_WINDOWTEXT);
    pen = ::GetSysColor(COLOR_BTNFACE);
  }
  {
    UniqueBrush b(::CreateSolidBrush(back));
    ::FillRect(dc, &FInfoRect, b.get());
  }
  UniquePen linePen(::CreatePen(PS_SOLID, 1, pen));
  SelectGuard selPen(dc, linePen.get());
  SelectGuard selFont(dc, viewFont_.get());
  ::SetTextColor(dc, text);
  ::SetBkMode(dc, TRANSPARENT);

  // Status line: the notice, or the zoom label with the state icons and the fixed point.
  const int top = FInfoRect.top;
  if (FStatusMessage.empty()) {
    Text(dc, FLineHeight + 2, top + 2, ZoomLabel(s.zoom));
    const int size = ::MulDiv(kStateIconSize96, dpi, 96), slot = ::MulDiv(kStateIconSlot96, dpi, 96);
    const bool states[4] = {s.stayOnTop, s.smooth, s.paused, s.fixed};
    for (int i = 0; i < 4; ++i)
      if (states[i])
        DrawStateIcon(dc, FStatusIconX + i * slot, top + 1, size, static_cast<StateIcon>(i));
    if (s.fixed)
      Text(dc, FStatusIconX + 4 * slot, top + 2,
           FormatW(L"(%d,%d) ", {s.fixedPoint.x, s.fixedPoint.y}));
  } else {
    Text(dc, FLineHeight + 2, top + 2, FStatusMessage);
  }
  // Swatch of the centre pixel, framed one pixel outside.
  const RECT sw{FInfoRect.left + 2, top + 3, FLineHeight - 2, top + FLineHeight - 2};
  {
    UniqueBrush b(::CreateSolidBrush(info.ColorRef & 0xFFFFFF));
    ::FillRect(dc, &sw, b.get());
  }
  const POINT frame[5] = {{sw.left - 1, sw.top - 1},
                          {sw.right, sw.top - 1},
                          {sw.right, sw.bottom},
                          {sw.left - 1, sw.bottom},
                          {sw.left - 1, sw.top - 1}};
  ::Polyline(dc, frame, 5);

  // Lines, each after a separator, then the column separator and the line at the panel top.
  BuildInfoLines(top + 2, dc, info, cmds);
  Line(dc, FColumnSeparatorX, top + FLineHeight + 1, FColumnSeparatorX, FInfoRect.bottom);
  UniquePen shadow(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
  SelectGuard selShadow(dc, shadow.get());
  Line(dc, 0, top, FInfoRect.right, top);
}

}  // namespace viz
