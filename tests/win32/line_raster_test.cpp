// The grid's own line drawing against GDI's: the same pixels for every pen mode the grid uses.
#include "capture/line_raster.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/main_window_win.h"  // DibCanvas
#include "capture/view_geometry.h"

namespace viz {
namespace {

// Every pixel different, so that a pixel drawn twice or once too often shows.
void FillPattern(DibCanvas& d) {
  for (int y = 0; y < d.height(); ++y)
    for (int x = 0; x < d.width(); ++x)
      d.bits()[y * d.width() + x] = static_cast<uint32_t>((x * 7 + y * 13) & 0xFF) << 16 |
                                static_cast<uint32_t>((x * 3) & 0xFF) << 8 | ((y * 5) & 0xFF);
}

void DrawWithGdi(DibCanvas& d, int clipBottom, const std::vector<Segment>& segs, COLORREF c, int r2) {
  UniqueRgn clip(CreateRectRgn(0, 0, d.width(), clipBottom));
  SelectClipRgn(d.dc(), clip.get());
  UniquePen pen(CreatePen(PS_SOLID, 1, c));
  SelectGuard sel(d.dc(), pen.get());
  SetROP2(d.dc(), r2);
  for (const Segment& s : segs) {
    MoveToEx(d.dc(), s.from.x, s.from.y, nullptr);
    LineTo(d.dc(), s.to.x, s.to.y);
  }
  SelectClipRgn(d.dc(), nullptr);
  GdiFlush();
}

TEST(LineRasterGdi, GridLinesMatchGdiInEveryPenMode) {
  constexpr int kW = 243, kH = 322, kPanelTop = 226;
  const COLORREF color = RGB(0x99, 0x44, 0xCC);
  const uint32_t dib = 0x9944CC;
  int compared = 0;
  for (int zoom : {1, 2, 3, 4, 6, 11, 20}) {
    const ViewGeometry g = ComputeViewGeometry(kW, kPanelTop, zoom, true);
    const GridLines lines = ComputeGridLines(g, true);
    for (const std::vector<Segment>* segs : {&lines.grid, &lines.subGrid}) {
      for (int r2 : {R2_COPYPEN, R2_NOT, R2_MASKPEN}) {
        DibCanvas gdi, own;
        ASSERT_TRUE(gdi.Create(kW, kH) && own.Create(kW, kH));
        FillPattern(gdi);
        FillPattern(own);
        DrawWithGdi(gdi, kPanelTop, *segs, color, r2);
        ASSERT_TRUE(RasterSegments(own.bits(), kW, kH, kPanelTop, *segs, dib, *PenRopFromR2(r2)));
        int diffs = 0;
        for (int i = 0; i < kW * kH; ++i)
          if ((gdi.bits()[i] & 0xFFFFFF) != (own.bits()[i] & 0xFFFFFF) && diffs++ < 3)
            ADD_FAILURE() << "zoom " << zoom << " r2 " << r2 << " pixel (" << i % kW << ","
                          << i / kW << "): GDI " << std::hex << gdi.bits()[i] << ", own "
                          << own.bits()[i];
        EXPECT_EQ(diffs, 0) << "zoom " << zoom << " r2 " << r2;
        ++compared;
      }
    }
  }
  EXPECT_EQ(compared, 7 * 2 * 3);
}

}  // namespace
}  // namespace viz
