// Screenshots as PNG files (stored, uncompressed deflate: no library needed, and any viewer
// reads them).
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "harness.h"

namespace viz::e2e {

namespace {

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc = 0) {
  static uint32_t table[256];
  static bool built = false;
  if (!built) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
    built = true;
  }
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBe32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBe32(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

bool ScreenGrab::SavePng(const std::wstring& path) const {
  const int w = width(), h = height();
  std::vector<uint8_t> raw;  // filter byte 0, then RGB, per row
  raw.reserve(static_cast<size_t>(h) * (1 + 3 * w));
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);
    for (int x = 0; x < w; ++x) {
      const uint32_t v = pixels_[static_cast<size_t>(y) * w + x];
      raw.push_back(static_cast<uint8_t>(v >> 16));
      raw.push_back(static_cast<uint8_t>(v >> 8));
      raw.push_back(static_cast<uint8_t>(v));
    }
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  uint32_t a = 1, b = 0;
  for (uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  for (size_t pos = 0; pos < raw.size() || pos == 0;) {
    const size_t n = std::min<size_t>(65535, raw.size() - pos);
    const bool last = pos + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n));
    z.push_back(static_cast<uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
    pos += n;
    if (last) break;
  }
  PutBe32(z, (b << 16) | a);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  PutBe32(ihdr, static_cast<uint32_t>(w));
  PutBe32(ihdr, static_cast<uint32_t>(h));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  PutChunk(png, "IHDR", ihdr);
  PutChunk(png, "IDAT", z);
  PutChunk(png, "IEND", {});
  return WriteFileBytes(path, png);
}

std::wstring SaveFailureShot(const std::string& test_name) {
  std::wstring dir;
  if (const char* env = std::getenv("VIZ_SHOT_DIR"); env && *env) dir = WindowsPathOf(env);
  if (dir.empty()) {
    wchar_t temp[MAX_PATH + 1];
    if (GetTempPathW(MAX_PATH + 1, temp)) dir = temp;
  }
  if (dir.empty()) return {};
  if (dir.back() != L'\\' && dir.back() != L'/') dir.push_back(L'\\');
  CreateDirectoryW(dir.c_str(), nullptr);
  std::wstring name;
  for (char c : test_name)
    name.push_back(isalnum(static_cast<unsigned char>(c)) || c == '-' ? c : L'_');
  auto grab = ScreenGrab::TakeDesktop();
  if (!grab) return {};
  const std::wstring path = dir + name + L".png";
  return grab->SavePng(path) ? path : std::wstring();
}

}  // namespace viz::e2e
