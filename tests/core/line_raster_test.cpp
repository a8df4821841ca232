#include "capture/line_raster.h"

#include <gtest/gtest.h>

#include <vector>

namespace viz {
namespace {

struct Canvas {
  Canvas(int w, int h, uint32_t fill) : width(w), height(h), px(static_cast<size_t>(w) * h, fill) {}
  uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
  bool Draw(const std::vector<Segment>& s, uint32_t rgb, PenRop rop, int clipBottom) {
    return RasterSegments(px.data(), width, height, clipBottom, s, rgb, rop);
  }
  int width, height;
  std::vector<uint32_t> px;
};

TEST(LineRaster, LinesLeaveOutTheirEndPointInEitherDirection) {
  Canvas c(10, 10, 0);
  ASSERT_TRUE(c.Draw({{{2, 1}, {5, 1}}, {{5, 3}, {2, 3}}, {{7, 2}, {7, 6}}, {{8, 6}, {8, 2}}},
                     0x123456, PenRop::Copy, 10));
  for (int x = 0; x < 7; ++x) {  // columns 7 and 8 hold the vertical lines
    EXPECT_EQ(c.at(x, 1), x >= 2 && x < 5 ? 0x123456u : 0u) << x;
    EXPECT_EQ(c.at(x, 3), x >= 3 && x <= 5 ? 0x123456u : 0u) << x;  // 5 down to 3, 2 left out
  }
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(c.at(7, y), y >= 2 && y < 6 ? 0x123456u : 0u) << y;
    EXPECT_EQ(c.at(8, y), y >= 3 && y <= 6 ? 0x123456u : 0u) << y;
  }
}

TEST(LineRaster, ClipsToTheBufferAndTheClipBottom) {
  Canvas c(6, 8, 0);
  ASSERT_TRUE(c.Draw({{{-3, 2}, {20, 2}}, {{4, -5}, {4, 40}}, {{1, 6}, {5, 6}}, {{-1, 0}, {-1, 5}},
                      {{9, 0}, {9, 5}}},
                     0xFFFFFF, PenRop::Copy, 5));
  for (int x = 0; x < 6; ++x) EXPECT_EQ(c.at(x, 2), 0xFFFFFFu) << x;
  for (int y = 0; y < 8; ++y) EXPECT_EQ(c.at(4, y), y < 5 ? 0xFFFFFFu : 0u) << y;
  for (int x = 0; x < 6; ++x) EXPECT_EQ(c.at(x, 6), 0u) << x;  // below the clip
  int lit = 0;
  for (uint32_t p : c.px) lit += p != 0;
  EXPECT_EQ(lit, 6 + 5 - 1);  // the two lines share (4,2)
}

TEST(LineRaster, CrossingsApplyThePenModeTwice) {
  Canvas inv(5, 5, 0x00A0B0C0);
  ASSERT_TRUE(inv.Draw({{{0, 2}, {5, 2}}, {{2, 0}, {2, 5}}}, 0, PenRop::Not, 5));
  EXPECT_EQ(inv.at(2, 2), 0x00A0B0C0u);  // inverted twice
  EXPECT_EQ(inv.at(1, 2), 0x005F4F3Fu);
  EXPECT_EQ(inv.at(2, 4), 0x005F4F3Fu);
  EXPECT_EQ(inv.at(0, 0), 0x00A0B0C0u);

  Canvas mask(5, 5, 0x00F0F0F0);
  ASSERT_TRUE(mask.Draw({{{0, 1}, {5, 1}}, {{1, 0}, {1, 5}}}, 0xFFCCCCCC, PenRop::Mask, 5));
  EXPECT_EQ(mask.at(1, 1), 0x00C0C0C0u);
  EXPECT_EQ(mask.at(3, 1), 0x00C0C0C0u);
  EXPECT_EQ(mask.at(3, 3), 0x00F0F0F0u);
}

TEST(LineRaster, OnlyAxisAlignedSegmentsAndKnownPenModes) {
  Canvas c(5, 5, 7);
  EXPECT_FALSE(c.Draw({{{0, 0}, {3, 0}}, {{0, 0}, {3, 3}}}, 1, PenRop::Copy, 5));
  for (uint32_t p : c.px) EXPECT_EQ(p, 7u);  // nothing drawn at all
  EXPECT_TRUE(c.Draw({{{1, 1}, {1, 1}}}, 1, PenRop::Copy, 5));  // empty: nothing to draw
  for (uint32_t p : c.px) EXPECT_EQ(p, 7u);
  EXPECT_EQ(PenRopFromR2(13), PenRop::Copy);
  EXPECT_EQ(PenRopFromR2(6), PenRop::Not);
  EXPECT_EQ(PenRopFromR2(9), PenRop::Mask);
  EXPECT_FALSE(PenRopFromR2(7).has_value());  // R2_XORPEN is left to GDI
}

}  // namespace
}  // namespace viz
