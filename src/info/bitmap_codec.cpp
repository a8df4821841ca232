#include "info/bitmap_codec.h"

namespace viz {
namespace {

void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(v & 0xFF);
  b.push_back(v >> 8);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}
uint32_t Get32(std::span<const uint8_t> b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kFileHeaderSize = 14;

size_t RowBytes(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3); }

}  // namespace

std::vector<uint8_t> EncodeDib24(std::span<const uint32_t> pixels, int width, int height) {
  if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height) return {};
  const size_t row = RowBytes(width);
  std::vector<uint8_t> b;
  b.reserve(kInfoHeaderSize + row * height);
  Put32(b, kInfoHeaderSize);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(height));  // positive: bottom-up
  Put16(b, 1);                              // planes
  Put16(b, 24);                             // bits per pixel
  Put32(b, 0);                              // BI_RGB
  Put32(b, static_cast<uint32_t>(row * height));
  Put32(b, 3780);  // 96 dpi in pixels per metre
  Put32(b, 3780);
  Put32(b, 0);
  Put32(b, 0);
  for (int y = height - 1; y >= 0; --y) {
    const uint32_t* src = pixels.data() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      b.push_back(src[x] & 0xFF);          // blue
      b.push_back((src[x] >> 8) & 0xFF);   // green
      b.push_back((src[x] >> 16) & 0xFF);  // red
    }
    for (size_t pad = static_cast<size_t>(width) * 3; pad < row; ++pad) b.push_back(0);
  }
  return b;
}

std::vector<uint8_t> EncodeBmpFile(std::span<const uint32_t> pixels, int width, int height) {
  std::vector<uint8_t> dib = EncodeDib24(pixels, width, height);
  if (dib.empty()) return {};
  std::vector<uint8_t> b;
  b.reserve(kFileHeaderSize + dib.size());
  b.push_back('B');
  b.push_back('M');
  Put32(b, static_cast<uint32_t>(kFileHeaderSize + dib.size()));
  Put32(b, 0);
  Put32(b, kFileHeaderSize + kInfoHeaderSize);
  b.insert(b.end(), dib.begin(), dib.end());
  return b;
}

uint32_t DibPixel(std::span<const uint8_t> dib, int x, int y) {
  if (dib.size() < kInfoHeaderSize) return 0;
  const int width = static_cast<int>(Get32(dib, 4));
  const int height = static_cast<int>(Get32(dib, 8));
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const size_t at = kInfoHeaderSize + RowBytes(width) * (height - 1 - y) + static_cast<size_t>(x) * 3;
  if (at + 3 > dib.size()) return 0;
  return dib[at] | dib[at + 1] << 8 | static_cast<uint32_t>(dib[at + 2]) << 16;
}

}  // namespace viz
