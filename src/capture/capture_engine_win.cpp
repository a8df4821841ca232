#include "capture/capture_engine_win.h"

#include <algorithm>
#include <vector>

#include "capture/line_raster.h"

namespace viz {
namespace {

constexpr DWORD kRopCaptureBlt = SRCCOPY | CAPTUREBLT;  // 0x40CC0020
// A description of the window under the cursor younger than this is used again.
constexpr DWORD kRecentItemMs = 250;

COLORREF FromDib(uint32_t px) {  // DIB pixels are 0x00RRGGBB, COLORREF is 0x00BBGGRR
  return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

uint32_t ToDib(COLORREF c) {
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

int R2Of(GridPen p) {
  switch (p) {
    case GridPen::Not: return R2_NOT;
    case GridPen::Mask: return R2_MASKPEN;
    case GridPen::Copy: break;
  }
  return R2_COPYPEN;
}

void FillBlack(HDC dc, int l, int t, int r, int b) {
  if (r <= l || b <= t) return;
  RECT rc{l, t, r, b};
  ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

// All segments in one call: each is its own two-point polyline, drawn like MoveTo + LineTo (the
// end point left out), so crossings combine with the pixels as separate lines do.
void DrawSegments(HDC dc, const std::vector<Segment>& segs) {
  if (segs.empty()) return;
  std::vector<POINT> pts;
  pts.reserve(segs.size() * 2);
  for (const Segment& s : segs) {
    pts.push_back(POINT{s.from.x, s.from.y});
    pts.push_back(POINT{s.to.x, s.to.y});
  }
  std::vector<DWORD> counts(segs.size(), 2);
  ::PolyPolyline(dc, pts.data(), counts.data(), static_cast<DWORD>(counts.size()));
}

void FillWindowFields(const T_WinItem* item, CaptureInfo& ci) {
  if (!item) {
    ci.Handle = 0;
    ci.ClassName.clear();
    ci.Text.clear();
    ci.ClientOrigin = Point{};
    ci.WindowPos = InfoWindowPos{};
    ci.ClientRect = Rect{};
    ci.WindowRect = Rect{};
    ci.ExeName.clear();
    return;
  }
  ci.Handle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(item->hwnd));
  ci.ClassName = item->className;
  ci.Text = item->text;
  ci.ClientOrigin = ToPoint(item->clientOrigin);
  ci.WindowPos = InfoWindowPos{item->posInParent.x, item->posInParent.y, item->size.cx, item->size.cy};
  ci.ClientRect = ToRect(item->clientRect);
  ci.WindowRect = ToRect(item->windowRect);
  ci.ExeName = item->exeName;
}

}  // namespace

// ---- bitmaps ---------------------------------------------------------------------------------

bool CaptureEngine::EnsureDesktopBitmaps(SIZE captureSize) {
  const RECT d = screen_.Desktop();
  const int w = d.right - d.left, h = d.bottom - d.top;
  if (FCaptureBitmap.width() == w && FCaptureBitmap.height() == h &&
      FSnapshotNoSelf.width() == w && FSnapshotNoSelf.height() == h) {
    snapshotDesktop_ = d;
    return true;
  }
  FSnapshotNoSelf.Reset();
  if (FCaptureBitmap.Create(w, h) && FSnapshotNoSelf.Create(w, h)) {
    snapshotDesktop_ = d;
    return true;
  }
  // A desktop too large for this process's address space.
  FSnapshotNoSelf.Reset();
  FCaptureBitmap.Create(std::max<int>(captureSize.cx, 1), std::max<int>(captureSize.cy, 1));
  snapshotDesktop_ = RECT{};
  return false;
}

void CaptureEngine::EnsureCaptureRoom(SIZE captureSize) {
  // A frozen desktop is never given up for room (the room might not be found again, and the
  // picture would be lost): a paused view shows what the snapshot holds, clipped to it.
  if (FWindowListSnapshot) return;
  if (FCaptureBitmap.width() < captureSize.cx || FCaptureBitmap.height() < captureSize.cy)
    EnsureDesktopBitmaps(captureSize);
}

void CaptureEngine::Release() {
  FCaptureBitmap.Reset();
  FSnapshotNoSelf.Reset();
  displayDc_.reset();
  FWindowListSnapshot.reset();
}

// ---- the cycle -------------------------------------------------------------------------------

bool CaptureEngine::Run(const CaptureRequest& r, DibCanvas& view, CaptureInfo& info) {
  if (!view) return false;
  const ViewGeometry& g = r.geometry;
  ImageKey key;
  key.valid = true;
  key.clientWidth = g.clientWidth;
  key.panelTop = g.panelTop;
  key.zoom = g.zoom;
  key.gridShown = g.gridShown;
  key.grid = r.grid;
  key.live = r.live;
  key.noSelfCapture = r.noSelfCapture;
  key.viewWidth = view.width();
  key.viewHeight = view.height();

  // A live copy is compared with the pixels of the image shown; a paused view shows the same
  // area of the same snapshot as long as the point stays.
  bool changed = false;
  SIZE copied{};
  if (r.live) {
    copied = CopyScreen(r);
    changed = PixelsChanged(copied);
  } else {
    key.pausedSource = PausedSourceRect(g, Point{r.point.x, r.point.y},
                                        Point{snapshotDesktop_.left, snapshotDesktop_.top});
    key.snapshot = snapshotCount_;
  }
  changed = changed || !(key == last_);
  last_ = key;
  if (changed) {
    // Black image area, then the picture, the grid and the cursor marker. The last row of
    // cells may reach past the panel top: the picture is clipped there, since the panel below
    // is drawn again only when it changes.
    FillBlack(view.dc(), g.rulerWidth, g.rulerWidth, view.width(), g.panelTop);
    ::SetStretchBltMode(view.dc(), COLORONCOLOR);
    ::IntersectClipRect(view.dc(), 0, 0, view.width(), g.panelTop);
    if (r.live)
      StretchLive(r, view, copied);
    else
      CapturePaused(r, view);
    ::SelectClipRgn(view.dc(), nullptr);
    DrawGrid(r, view);
    DrawCursorMarker(g, view);
  }

  // Colour of the centre pixel, read from the view's memory once GDI has finished with it.
  ::GdiFlush();
  uint32_t px = 0;
  const Point c = g.centerCell;
  if (c.x >= 0 && c.y >= 0 && c.x < view.width() && c.y < view.height())
    px = view.bits()[static_cast<size_t>(c.y) * view.width() + c.x];
  const COLORREF cr = FromDib(px);
  info.ColorRef = cr;
  info.Red = GetRValue(cr);
  info.Green = GetGValue(cr);
  info.Blue = GetBValue(cr);
  info.HtmlColor = info.Red * 65536 + info.Green * 256 + info.Blue;
  info.ScreenPos = ToPoint(r.point);

  // The window under the point.
  T_WinItem item;
  FillWindowFields(DescribeWindowAt(r, &item) ? &item : nullptr, info);
  return changed;
}

void CaptureEngine::CaptureFrom(HDC dc, const RECT& area) {
  sourceDc_ = dc;
  sourceShift_ = POINT{-area.left, -area.top};
}

HDC CaptureEngine::ScreenSource(POINT* shift) {
  if (sourceDc_) {
    *shift = sourceShift_;
    return sourceDc_;
  }
  // The display DC lives as long as the engine (opening one costs more than the copy); it is
  // opened again when the display configuration changes.
  if (!displayDc_) {
    displayDc_.reset(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    displayShift_ = TMyScreenSize::DisplayDcShift(displayDc_.get());
  }
  *shift = displayShift_;
  return displayDc_.get();
}

SIZE CaptureEngine::CopyScreen(const CaptureRequest& r) {
  const ViewGeometry& g = r.geometry;
  POINT shift{};
  const HDC screen = ScreenSource(&shift);
  if (!screen || !FCaptureBitmap) return SIZE{};
  HDC cap = FCaptureBitmap.dc();
  const int w = std::min<int>(g.captureWidth, FCaptureBitmap.width());
  const int h = std::min<int>(g.captureHeight, FCaptureBitmap.height());
  const Rect src = LiveSourceRect(g, Point{r.point.x, r.point.y});
  // A copy reaching past the desktop leaves those pixels as they were: black first.
  const Rect desk = ToRect(screen_.Desktop());
  if (src.left < desk.left || src.top < desk.top || src.left + w > desk.right ||
      src.top + h > desk.bottom)
    FillBlack(cap, 0, 0, w, h);
  ::BitBlt(cap, 0, 0, w, h, screen, src.left + shift.x, src.top + shift.y,
           r.noSelfCapture ? SRCCOPY : kRopCaptureBlt);
  // What lies on no monitor shows black, whatever the device has there.
  screen_.BlackenOffMonitor(cap, RECT{src.left, src.top, src.left + w, src.top + h},
                            POINT{src.left, src.top});
  return SIZE{std::max(w, 0), std::max(h, 0)};
}

bool CaptureEngine::PixelsChanged(SIZE copied) {
  ::GdiFlush();  // the copy is in the bitmap's memory
  const size_t w = static_cast<size_t>(copied.cx), h = static_cast<size_t>(copied.cy);
  const size_t stride = static_cast<size_t>(FCaptureBitmap.width());
  bool changed = lastPixels_.size() != w * h;
  if (changed) lastPixels_.assign(w * h, 0);
  for (size_t y = 0; y < h; ++y) {
    const uint32_t* row = FCaptureBitmap.bits() + y * stride;
    uint32_t* keep = lastPixels_.data() + y * w;
    if (changed || !std::equal(row, row + w, keep)) {
      std::copy(row, row + w, keep);
      changed = true;
    }
  }
  return changed;
}

void CaptureEngine::StretchLive(const CaptureRequest& r, DibCanvas& view, SIZE copied) {
  const ViewGeometry& g = r.geometry;
  if (copied.cx <= 0 || copied.cy <= 0) return;
  ::StretchBlt(view.dc(), g.rulerWidth, g.rulerWidth, copied.cx * g.zoom, copied.cy * g.zoom,
               FCaptureBitmap.dc(), 0, 0, copied.cx, copied.cy, SRCCOPY);
}

void CaptureEngine::CapturePaused(const CaptureRequest& r, DibCanvas& view) {
  const ViewGeometry& g = r.geometry;
  const DibCanvas& snap = r.noSelfCapture && FSnapshotNoSelf ? FSnapshotNoSelf : FCaptureBitmap;
  if (!snap) return;
  // What lies outside the snapshot stays black.
  const Rect s = PausedSourceRect(g, Point{r.point.x, r.point.y},
                                  Point{snapshotDesktop_.left, snapshotDesktop_.top});
  const int x0 = std::max<int>(s.left, 0), y0 = std::max<int>(s.top, 0);
  const int x1 = std::min<int>(s.right, snap.width()), y1 = std::min<int>(s.bottom, snap.height());
  if (x1 > x0 && y1 > y0)
    ::StretchBlt(view.dc(), g.rulerWidth + (x0 - s.left) * g.zoom,
                 g.rulerWidth + (y0 - s.top) * g.zoom, (x1 - x0) * g.zoom, (y1 - y0) * g.zoom,
                 snap.dc(), x0, y0, x1 - x0, y1 - y0, SRCCOPY);
}

void CaptureEngine::DrawGrid(const CaptureRequest& r, DibCanvas& view) {
  const ViewGeometry& g = r.geometry;
  HDC dc = view.dc();
  if (g.gridShown) {
    const GridLines lines = ComputeGridLines(g, r.grid.subShown);
    // Lines go straight into the view's pixels (GDI's own drawing first finished, so that both
    // see the same memory); GDI draws what cannot be done that way. Either way nothing below
    // the panel top is touched.
    ::GdiFlush();
    auto draw = [&](const std::vector<Segment>& segs, COLORREF color, int r2) {
      if (segs.empty()) return;
      const std::optional<PenRop> rop = PenRopFromR2(r2);
      if (rop && RasterSegments(view.bits(), view.width(), view.height(), g.panelTop, segs,
                                ToDib(color), *rop))
        return;
      UniqueRgn clip(::CreateRectRgn(0, 0, view.width(), g.panelTop));
      ::SelectClipRgn(dc, clip.get());
      UniquePen pen(::CreatePen(PS_SOLID, 1, color));
      SelectGuard sel(dc, pen.get());
      const int old = ::SetROP2(dc, r2);
      DrawSegments(dc, segs);
      ::SetROP2(dc, old);
      ::SelectClipRgn(dc, nullptr);
    };
    draw(lines.grid, r.grid.color, R2Of(r.grid.pen));
    if (r.grid.subShown) draw(lines.subGrid, r.grid.subColor, R2_COPYPEN);
  }
}

void CaptureEngine::DrawCursorMarker(const ViewGeometry& g, DibCanvas& view) {
  // The marker inverts what lies beneath it, inside the image area only: with few rows of
  // cells its square reaches into the ruler above or the panel below, which are drawn again
  // only when they change, and an inversion there would stay. The part of an edge outside the
  // image is not drawn; the rest of the square still frames the centre cell.
  HDC dc = view.dc();
  const CursorMarker m = ComputeCursorMarker(g);
  ::IntersectClipRect(dc, g.imageArea.left, g.imageArea.top, g.imageArea.right,
                      g.imageArea.bottom);
  UniquePen pen(::CreatePen(PS_SOLID, m.penWidth, RGB(0, 0, 0)));
  {
    SelectGuard sel(dc, pen.get());
    SelectGuard selBrush(dc, ::GetStockObject(NULL_BRUSH));
    const int old = ::SetROP2(dc, R2_NOT);
    POINT pts[5];
    for (int i = 0; i < 5; ++i) pts[i] = ToPOINT(m.outline[i]);
    ::Polyline(dc, pts, 5);
    ::SetROP2(dc, old);
  }
  ::SelectClipRgn(dc, nullptr);
}

bool CaptureEngine::DescribeWindowAt(const CaptureRequest& r, T_WinItem* item) {
  const POINT pt = r.point;
  if (r.live && !r.noSelfCapture) {
    // The window at the point is what the system says; describing it costs several round trips
    // to the server and to its program, so a recent description is reused while the cursor
    // stays over the same window, and while it stays on the same point the system is not even
    // asked which window that is.
    const DWORD now = ::GetTickCount();
    const bool recent = now - recentItemTick_ < kRecentItemMs;
    const bool samePoint = recentItem_.hwnd && pt.x == recentItemPoint_.x && pt.y == recentItemPoint_.y;
    const HWND at = recent && samePoint ? recentItem_.hwnd : ::WindowFromPoint(pt);
    if (at && at == recentItem_.hwnd && recent) {
      *item = recentItem_;
      return true;
    }
    const bool found = IdentifyWindowAt(pt, r.self, false, item);
    recentItem_ = found ? *item : T_WinItem{};
    recentItemTick_ = now;
    recentItemPoint_ = pt;
    return found;
  }
  if (r.live) return IdentifyWindowAt(pt, r.self, true, item);
  if (FWindowListSnapshot) return FWindowListSnapshot->Find(pt, r.self, r.noSelfCapture, item);
  return false;
}

// ---- the frozen desktop ----------------------------------------------------------------------

void CaptureEngine::TakeSnapshots(HWND self, POINT point, const ViewGeometry& g) {
  ++snapshotCount_;
  FWindowListSnapshot.emplace();
  FWindowListSnapshot->Take(self);
  UniqueDc own;
  POINT shift{};
  HDC screen = sourceDc_;
  if (screen) {
    shift = sourceShift_;
  } else {
    own.reset(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    screen = own.get();
    shift = TMyScreenSize::DisplayDcShift(screen);
  }
  if (!screen) return;
  if (EnsureDesktopBitmaps(SIZE{g.captureWidth, g.captureHeight})) {
    const RECT d = snapshotDesktop_;
    const int w = d.right - d.left, h = d.bottom - d.top;
    ::BitBlt(FCaptureBitmap.dc(), 0, 0, w, h, screen, d.left + shift.x, d.top + shift.y,
             kRopCaptureBlt);
    ::BitBlt(FSnapshotNoSelf.dc(), 0, 0, w, h, screen, d.left + shift.x, d.top + shift.y, SRCCOPY);
    screen_.BlackenOffMonitor(FCaptureBitmap.dc(), d, POINT{d.left, d.top});
    screen_.BlackenOffMonitor(FSnapshotNoSelf.dc(), d, POINT{d.left, d.top});
    return;
  }
  // No room for the whole desktop: freeze the captured area around the point.
  const int w = FCaptureBitmap.width(), h = FCaptureBitmap.height();
  const Rect a = LiveSourceRect(g, Point{point.x, point.y});
  snapshotDesktop_ = RECT{a.left, a.top, a.left + w, a.top + h};
  ::BitBlt(FCaptureBitmap.dc(), 0, 0, w, h, screen, snapshotDesktop_.left + shift.x,
           snapshotDesktop_.top + shift.y, kRopCaptureBlt);
  screen_.BlackenOffMonitor(FCaptureBitmap.dc(), snapshotDesktop_,
                            POINT{snapshotDesktop_.left, snapshotDesktop_.top});
}

}  // namespace viz
