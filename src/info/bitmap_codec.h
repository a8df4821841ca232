// Device-independent bitmaps as bytes: the clipboard's CF_DIB (header + pixels) and the ".bmp"
// file (file header + the same). 24 bits per pixel, bottom-up rows padded to 4 bytes, which every
// program that reads bitmaps understands.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace viz {

// `pixels` are top-down rows of 0x00RRGGBB values, `width` x `height` of them.
std::vector<uint8_t> EncodeDib24(std::span<const uint32_t> pixels, int width, int height);
std::vector<uint8_t> EncodeBmpFile(std::span<const uint32_t> pixels, int width, int height);

// Reads back the pixel at (x, y) (top-down) of a DIB made by EncodeDib24; for tests and checks.
uint32_t DibPixel(std::span<const uint8_t> dib, int x, int y);

}  // namespace viz
