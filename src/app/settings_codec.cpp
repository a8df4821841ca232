#include "app/settings_codec.h"

namespace viz {
namespace {

constexpr uint8_t kMagic[4] = {'Q', 'O', 'R', 'B'};
constexpr uint8_t kFormatByte = 1;

// Reads little-endian values in sequence; running past the end clears `ok` for good and yields
// zeros, so a caller reads everything and checks once.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

  bool ok() const { return ok_; }

  uint8_t U8() { return static_cast<uint8_t>(Read(1)); }
  uint16_t U16() { return static_cast<uint16_t>(Read(2)); }
  uint32_t U32() { return static_cast<uint32_t>(Read(4)); }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  template <size_t N>
  std::array<uint8_t, N> Bytes() {
    std::array<uint8_t, N> a{};
    for (uint8_t& b : a) b = U8();
    return a;
  }
  void Skip(size_t n) { Advance(n); }

 private:
  uint64_t Read(size_t n) {
    if (!Advance(n)) return 0;
    uint64_t v = 0;
    for (size_t k = 0; k < n; ++k) v |= uint64_t{data_[pos_ - n + k]} << (8 * k);
    return v;
  }
  bool Advance(size_t n) {
    if (!ok_ || data_.size() - pos_ < n) {
      ok_ = false;
      return false;
    }
    pos_ += n;
    return true;
  }

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  bool ok_ = true;
};

class ByteWriter {
 public:
  explicit ByteWriter(std::span<uint8_t> out) : out_(out) {}

  void U8(uint8_t v) { Write(v, 1); }
  void U16(uint16_t v) { Write(v, 2); }
  void U32(uint32_t v) { Write(v, 4); }
  void I32(int32_t v) { Write(static_cast<uint32_t>(v), 4); }
  template <size_t N>
  void Bytes(const std::array<uint8_t, N>& a) {
    for (uint8_t b : a) U8(b);
  }

 private:
  void Write(uint64_t v, size_t n) {
    for (size_t k = 0; k < n && pos_ < out_.size(); ++k) out_[pos_++] = static_cast<uint8_t>(v >> (8 * k));
  }

  std::span<uint8_t> out_;
  size_t pos_ = 0;
};

}  // namespace

std::optional<SettingsFile> DecodeSettings(std::span<const uint8_t> data) {
  if (data.size() < kSettingsFileSize) return std::nullopt;
  ByteReader r(data.first(kSettingsFileSize));

  bool header = true;
  for (uint8_t m : kMagic) header &= r.U8() == m;
  header &= r.U8() == kFormatByte;
  header &= r.U8() == kFormatByte;
  r.Skip(kSettingsHeaderSize - 6);

  SettingsFile f;
  SettingBlock& b = f.block;
  b.windowLeft = r.I32();
  b.windowTop = r.I32();
  b.windowRight = r.I32();
  b.windowBottom = r.I32();
  b.zoomIndex = r.U8();
  b.displayFlags = r.U16();
  b.gridColorItem = r.U8();
  b.subGridItem = r.U8();
  b.gridColor = r.U32();
  b.subGridColor = r.U32();
  b.reserved1 = r.Bytes<4>();
  b.colorFlags = r.U16();
  b.posFlags = r.U16();
  b.userOriginX = r.I32();
  b.userOriginY = r.I32();
  b.winInfoFlags = r.U32();
  b.reserved2 = r.Bytes<4>();
  b.optionFlags = r.U16();
  b.captureFlags = r.U16();
  b.capturePointX = r.I32();
  b.capturePointY = r.I32();
  for (KeySlot& s : f.keys) {
    s.key = r.U16();
    s.id = r.U16();
  }
  for (uint16_t& g : f.gestures) g = r.U16();

  if (!r.ok() || !header) return std::nullopt;
  return f;
}

std::array<uint8_t, kSettingsFileSize> EncodeSettings(const SettingsFile& f) {
  std::array<uint8_t, kSettingsFileSize> out{};
  ByteWriter w(out);
  for (uint8_t m : kMagic) w.U8(m);
  w.U8(kFormatByte);
  w.U8(kFormatByte);
  for (size_t k = 6; k < kSettingsHeaderSize; ++k) w.U8(0);

  const SettingBlock& b = f.block;
  w.I32(b.windowLeft);
  w.I32(b.windowTop);
  w.I32(b.windowRight);
  w.I32(b.windowBottom);
  w.U8(b.zoomIndex);
  w.U16(b.displayFlags);
  w.U8(b.gridColorItem);
  w.U8(b.subGridItem);
  w.U32(b.gridColor);
  w.U32(b.subGridColor);
  w.Bytes(b.reserved1);
  w.U16(b.colorFlags);
  w.U16(b.posFlags);
  w.I32(b.userOriginX);
  w.I32(b.userOriginY);
  w.U32(b.winInfoFlags);
  w.Bytes(b.reserved2);
  w.U16(b.optionFlags);
  w.U16(b.captureFlags);
  w.I32(b.capturePointX);
  w.I32(b.capturePointY);
  for (const KeySlot& s : f.keys) {
    w.U16(s.key);
    w.U16(s.id);
  }
  for (uint16_t g : f.gestures) w.U16(g);
  return out;
}

}  // namespace viz
