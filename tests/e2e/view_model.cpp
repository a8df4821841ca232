#include "view_model.h"

#include <cstdio>

namespace viz::e2e {

int HalfAway(int num, int den) {
  return (2 * num + den) / (2 * den);
}

COLORREF Invert(COLORREF c) { return (~c) & 0xFFFFFF; }

int LineHeightOfTheWindowFont() { return PanelLineHeight(9); }

std::optional<ViewFrame> FrameOf(HWND app, int visibleLines) {
  RECT client;
  if (!GetClientRect(app, &client)) return std::nullopt;
  HWND toolbar = FindWindowExW(app, nullptr, L"ToolbarWindow32", nullptr);
  RECT tb{};
  if (toolbar) GetWindowRect(toolbar, &tb);
  ViewFrame f;
  POINT o{0, 0};
  ClientToScreen(app, &o);
  f.viewOrigin = POINT{o.x, o.y + (tb.bottom - tb.top)};
  f.clientWidth = client.right;
  const int viewHeight = client.bottom - (tb.bottom - tb.top);
  f.panelTop = viewHeight - LineHeightOfTheWindowFont() * (1 + visibleLines);
  return f;
}

SourceColors PatternIn(const RECT& known) {
  return [known](POINT q) { return PtInRect(&known, q) ? PatternColor(q.x, q.y) : CLR_INVALID; };
}

Expected ExpectedImage(const ViewFrame& f, int zoom, POINT p, bool grid, COLORREF gridColor,
                       GridOp op, const SourceColors& source) {
  Expected e;
  const int ruler = grid ? kRuler : 0;
  e.origin = ruler;
  e.width = f.clientWidth - ruler;
  e.height = f.panelTop - ruler;
  e.px.assign(static_cast<size_t>(e.width) * e.height, CLR_INVALID);
  const int cols = (e.width + zoom - 1) / zoom, rows = (e.height + zoom - 1) / zoom;
  const int halfX = HalfAway(cols, 2) - 1, halfY = HalfAway(rows, 2) - 1;
  const int mw = (grid && zoom > 3) ? 2 : 1;
  const int m = mw == 2 ? 1 : 0;
  e.centre = POINT{(HalfAway(cols, 2) - 1) * zoom + ruler + m, (HalfAway(rows, 2) - 1) * zoom + ruler + m};
  for (int y = 0; y < e.height; ++y)
    for (int x = 0; x < e.width; ++x) {
      const POINT src{p.x - halfX + x / zoom, p.y - halfY + y / zoom};
      e.at(x, y) = source(src);
    }
  auto plot = [&](int vx, int vy, COLORREF c, GridOp how) {
    const int x = vx - e.origin, y = vy - e.origin;
    if (x < 0 || y < 0 || x >= e.width || y >= e.height) return;
    COLORREF& d = e.at(x, y);
    if (d == CLR_INVALID) return;
    d = how == GridOp::Copy ? c : how == GridOp::Not ? Invert(d) : (d & c);
  };
  if (grid) {
    if (zoom >= 4) {
      for (int i = 0; i <= cols; ++i)
        for (int vy = ruler; vy < f.panelTop; ++vy) plot(ruler + i * zoom, vy, gridColor, op);
      for (int j = 0; j <= rows; ++j)
        for (int vx = ruler; vx < f.clientWidth; ++vx) {
          // Crossings were already drawn by the vertical line: a NOT pen inverts them twice.
          const bool crossing = (vx - ruler) % zoom == 0;
          if (op == GridOp::Copy || !crossing) plot(vx, ruler + j * zoom, gridColor, op);
          else if (op == GridOp::Not) plot(vx, ruler + j * zoom, 0, GridOp::Not);
        }
      const int offX = ((HalfAway(cols, 2) - 1) % 5) * zoom, offY = ((HalfAway(rows, 2) - 1) % 5) * zoom;
      for (int i = 0; i <= cols / 5; ++i)
        for (int vy = ruler; vy < f.panelTop; ++vy) plot(ruler + offX + i * 5 * zoom, vy, kBlue, GridOp::Copy);
      for (int j = 0; j <= rows / 5; ++j)
        for (int vx = ruler; vx < f.clientWidth; ++vx) plot(vx, ruler + offY + j * 5 * zoom, kBlue, GridOp::Copy);
    } else {
      for (int vy = ruler; vy < f.panelTop; ++vy) plot(ruler, vy, gridColor, op);
      for (int vx = ruler; vx < f.clientWidth; ++vx) {
        if (vx != ruler || op == GridOp::Copy) plot(vx, ruler, gridColor, op);
        else if (op == GridOp::Not) plot(vx, ruler, 0, GridOp::Not);  // crossing inverted twice
      }
      const int cx = e.centre.x, cy = e.centre.y;
      for (int vy = ruler; vy < cy - mw - 1; ++vy) plot(cx, vy, kBlue, GridOp::Copy);
      for (int vy = cy + zoom + mw + 1; vy < f.panelTop; ++vy) plot(cx, vy, kBlue, GridOp::Copy);
      for (int vx = ruler; vx < cx - mw - 1; ++vx) plot(vx, cy, kBlue, GridOp::Copy);
      for (int vx = cx + zoom + mw + 1; vx < f.clientWidth; ++vx) plot(vx, cy, kBlue, GridOp::Copy);
    }
  }
  return e;
}

// The cursor marker is a closed square drawn with a pen of the marker width; which pixels such a
// pen covers is GDI's business, so GDI is asked: the square is drawn on a mask here.
std::vector<POINT> MarkerPixels(POINT centre, int zoom, int mw) {
  const int size = zoom + 3 * mw + 8;
  const POINT o{centre.x - mw - 4, centre.y - mw - 4};
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  std::fill_n(static_cast<uint32_t*>(bits), size * size, 0u);
  HPEN pen = CreatePen(PS_SOLID, mw, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  SetROP2(dc, R2_NOT);
  const int l = centre.x - mw - o.x, t = centre.y - mw - o.y, s = zoom + mw;
  POINT pts[5] = {{l, t}, {l + s, t}, {l + s, t + s}, {l, t + s}, {l, t}};
  Polyline(dc, pts, 5);
  GdiFlush();
  std::vector<POINT> out;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (static_cast<uint32_t*>(bits)[y * size + x] & 0xFFFFFF) out.push_back(POINT{x + o.x, y + o.y});
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBmp);
  DeleteObject(pen);
  DeleteObject(bmp);
  DeleteDC(dc);
  return out;
}

int Compare(const ScreenGrab& g, const ViewFrame& f, Expected e, int zoom, bool grid,
            std::string* report) {
  const int mw = (grid && zoom > 3) ? 2 : 1;
  for (POINT q : MarkerPixels(e.centre, zoom, mw)) {
    const int x = q.x - e.origin, y = q.y - e.origin;
    if (x >= 0 && y >= 0 && x < e.width && y < e.height && e.at(x, y) != CLR_INVALID)
      e.at(x, y) = Invert(e.at(x, y));
  }
  int bad = 0;
  for (int y = 0; y < e.height; ++y)
    for (int x = 0; x < e.width; ++x) {
      const COLORREF want = e.at(x, y);
      if (want == CLR_INVALID) continue;
      // The one-pixel window border painted around the view covers its outer rows and columns.
      const int vx = e.origin + x, vy = e.origin + y;
      if (vx == 0 || vy == 0 || vx == f.clientWidth - 1) continue;
      const int sx = f.viewOrigin.x + e.origin + x, sy = f.viewOrigin.y + e.origin + y;
      const COLORREF got = g.Pixel(sx, sy);
      if (got == want) continue;
      if (++bad <= 5 && report) {
        char line[160];
        std::snprintf(line, sizeof line, "view (%d,%d): got %06lx want %06lx\n", x + e.origin,
                      y + e.origin, static_cast<unsigned long>(got), static_cast<unsigned long>(want));
        *report += line;
      }
    }
  return bad;
}

bool WaitForView(HWND app, int zoom, POINT p, const SourceColors& source, std::string* report,
                 bool grid, COLORREF gridColor, GridOp op, int visibleLines) {
  int bad = -1;
  std::string last;
  const bool ok = WaitUntil([&] {
    auto f = FrameOf(app, visibleLines);
    if (!f) return false;
    RECT view{f->viewOrigin.x, f->viewOrigin.y, f->viewOrigin.x + f->clientWidth,
              f->viewOrigin.y + f->panelTop};
    auto g = ScreenGrab::Take(view);
    if (!g) return false;
    last.clear();
    bad = Compare(*g, *f, ExpectedImage(*f, zoom, p, grid, gridColor, op, source), zoom, grid, &last);
    return bad == 0;
  }, 8000, 50);
  if (!ok && report)
    *report = "zoom " + std::to_string(zoom) + " at (" + std::to_string(p.x) + "," +
              std::to_string(p.y) + "): " + std::to_string(bad) + " pixels differ\n" + last;
  return ok;
}

}  // namespace viz::e2e
