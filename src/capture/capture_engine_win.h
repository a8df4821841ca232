// One capture cycle, apart from any window: the screen (or the frozen desktop) around a point,
// magnified into the view's image area with grid, sub-grid and cursor marker, the centre
// pixel's colour and the window under the point. The engine owns what the cycle needs from one
// run to the next: the monitor layout, the display device context, the desktop snapshots and the
// window-list snapshot taken when capture pauses, and the recent description of the window under
// the cursor.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "capture/grid_style.h"
#include "capture/screen_size_win.h"
#include "capture/view_geometry.h"
#include "info/info_lines.h"
#include "info/window_ident_win.h"
#include "ui/dib_canvas_win.h"
#include "ui/handle_win.h"

namespace viz {

struct CaptureRequest {
  POINT point{};           // the capture point
  ViewGeometry geometry;   // of the view the picture goes into
  bool live = true;        // copy the screen now; else the snapshot taken at the pause
  bool noSelfCapture = false;
  GridStyle grid;
  HWND self = nullptr;     // the program's window: looked through with no-self capture
};

class CaptureEngine {
 public:
  TMyScreenSize& Screen() { return screen_; }
  const TMyScreenSize& Screen() const { return screen_; }

  // The desktop-sized bitmaps, following the desktop (a monitor added while running is captured
  // by the next pause). Without room for them, live capture works from a bitmap the size of
  // `captureSize` and a pause freezes only the area around the point.
  bool EnsureDesktopBitmaps(SIZE captureSize);
  // The same, only when the capture bitmap is smaller than `captureSize`; never while a
  // snapshot is held (a frozen desktop is kept whatever the view's size).
  void EnsureCaptureRoom(SIZE captureSize);

  // The picture of a cycle: the image area of `view` (black outside the captured pixels), grid,
  // sub-grid and cursor marker, then the centre pixel's colour, the capture point and the window
  // under it into `info`. When the captured pixels and everything
  // else the image is drawn from equal those of the image already in `view`, the image is left
  // as it is. True when the image was drawn anew.
  bool Run(const CaptureRequest& request, DibCanvas& view, CaptureInfo& info);
  // The image in the view is no longer the last one drawn (the view was made anew, or drawn
  // over): the next cycle draws it whatever it captures.
  void ForgetImage() { last_.valid = false; }

  // Freezes the desktop: the window list and the whole desktop, once with layered windows and
  // once without. `point` and `geometry` bound the frozen area when the desktop does not fit.
  void TakeSnapshots(HWND self, POINT point, const ViewGeometry& geometry);
  void DropWindowSnapshot() { FWindowListSnapshot.reset(); }
  bool HasWindowSnapshot() const { return FWindowListSnapshot.has_value(); }

  // Tests capture from a picture instead of the screen: `dc` shows the screen area `area`, the
  // area's top-left corner at the DC's (0, 0). A null DC goes back to the screen.
  void CaptureFrom(HDC dc, const RECT& area);

  // A new display configuration needs a new display device context.
  void DropDisplayDc() { displayDc_.reset(); }
  // Everything held released (the window is going away).
  void Release();

 private:
  // What an image was drawn from, besides the captured pixels. Equal keys (and equal live
  // pixels) mean the image in the view is already this one; every field takes part.
  struct ImageKey {
    bool valid = false;
    int32_t clientWidth = 0, panelTop = 0, zoom = 0;
    bool gridShown = false;
    GridStyle grid;
    bool live = false, noSelfCapture = false;
    Rect pausedSource;          // the snapshot area shown while paused
    unsigned snapshot = 0;      // which snapshot
    int viewWidth = 0, viewHeight = 0;
    bool operator==(const ImageKey&) const = default;
  };

  // The device to copy the screen from, and what to add to a screen point to address it there.
  HDC ScreenSource(POINT* shift);
  // Copies the screen area into the capture bitmap; its size, or 0 x 0 without a source.
  SIZE CopyScreen(const CaptureRequest& r);
  // True when the copied pixels differ from the last image's (and keeps them).
  bool PixelsChanged(SIZE copied);
  void StretchLive(const CaptureRequest& r, DibCanvas& view, SIZE copied);
  void CapturePaused(const CaptureRequest& r, DibCanvas& view);
  void DrawGrid(const CaptureRequest& r, DibCanvas& view);
  void DrawCursorMarker(const ViewGeometry& g, DibCanvas& view);
  bool DescribeWindowAt(const CaptureRequest& r, T_WinItem* item);

  TMyScreenSize screen_;
  DibCanvas FCaptureBitmap;   // whole virtual desktop: live capture scratch and paused snapshot
  DibCanvas FSnapshotNoSelf;  // whole virtual desktop without layered windows
  RECT snapshotDesktop_{};    // desktop rectangle the snapshots were taken of
  UniqueDc displayDc_;        // the screen, for live capture
  POINT displayShift_{};      // screen point + shift = point in displayDc_
  HDC sourceDc_ = nullptr;    // a picture standing in for the screen (tests)
  POINT sourceShift_{};
  std::optional<T_WinList> FWindowListSnapshot;
  unsigned snapshotCount_ = 0;  // snapshots taken so far
  ImageKey last_;               // what the image in the view was drawn from
  std::vector<uint32_t> lastPixels_;  // the pixels it was drawn from (live)
  T_WinItem recentItem_;      // the last live identification and when and where it was made
  DWORD recentItemTick_ = 0;
  POINT recentItemPoint_{};
};

}  // namespace viz
