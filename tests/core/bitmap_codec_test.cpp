#include "info/bitmap_codec.h"

#include <gtest/gtest.h>

using namespace viz;

TEST(BitmapCodec, DibRoundTripsEveryPixelWithRowPadding) {
  // Width 3 makes rows of 9 bytes padded to 12: the padding must not shift later rows.
  const int w = 3, h = 2;
  std::vector<uint32_t> px = {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203};
  std::vector<uint8_t> dib = EncodeDib24(px, w, h);
  ASSERT_EQ(dib.size(), 40u + 12u * 2);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) EXPECT_EQ(DibPixel(dib, x, y), px[y * w + x]) << x << "," << y;
  // Bottom-up: the first stored row is the last image row, blue first.
  EXPECT_EQ(dib[40], 0xCC);
  EXPECT_EQ(dib[41], 0xBB);
  EXPECT_EQ(dib[42], 0xAA);
}

TEST(BitmapCodec, FileHeaderPointsAtThePixels) {
  std::vector<uint32_t> px(4 * 4, 0x00FF00);
  std::vector<uint8_t> f = EncodeBmpFile(px, 4, 4);
  ASSERT_GE(f.size(), 54u);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(f[2] | f[3] << 8 | f[4] << 16 | f[5] << 24, static_cast<int>(f.size()));
  EXPECT_EQ(f[10], 54);
  EXPECT_EQ(f[54 + 1], 0xFF);  // green of the first pixel
}

TEST(BitmapCodec, RejectsEmptyOrShortInput) {
  std::vector<uint32_t> px(3);
  EXPECT_TRUE(EncodeDib24(px, 2, 2).empty());
  EXPECT_TRUE(EncodeDib24(px, 0, 1).empty());
  EXPECT_EQ(DibPixel({}, 0, 0), 0u);
}
