#include "app/settings_codec.h"
#include "app/settings_state.h"
#include "commands/bindings.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "../fuzz/settings_state_check.h"

using namespace viz;

namespace {

uint32_t LeAt(std::span<const uint8_t> b, size_t at, size_t n) {
  uint32_t v = 0;
  for (size_t k = 0; k < n; ++k) v |= uint32_t{b[at + k]} << (8 * k);
  return v;
}

// A file whose every field holds a value distinct from its neighbours and from zero.
SettingsFile Distinct() {
  SettingsFile f;
  SettingBlock& b = f.block;
  b.windowLeft = -1000;
  b.windowTop = 0x01020304;
  b.windowRight = 0x11121314;
  b.windowBottom = 0x21222324;
  b.zoomIndex = 0x31;
  b.displayFlags = 0x4142;
  b.gridColorItem = 0x51;
  b.subGridItem = 0x61;
  b.gridColor = 0x71727374;
  b.subGridColor = 0x81828384;
  b.reserved1 = {0x91, 0x92, 0x93, 0x94};
  b.colorFlags = 0xA1A2;
  b.posFlags = 0xB1B2;
  b.userOriginX = -2;
  b.userOriginY = 0x0C0D0E0F;
  b.winInfoFlags = 0xD1D2D3D4;
  b.reserved2 = {0xE1, 0xE2, 0xE3, 0xE4};
  b.optionFlags = 0xF1F2;
  b.captureFlags = 0x0A0B;
  b.capturePointX = 0x1A1B1C1D;
  b.capturePointY = -3;
  for (size_t i = 0; i < kKeySlotCount; ++i)
    f.keys[i] = {static_cast<uint16_t>(0x100 + i), static_cast<uint16_t>(0x8000 + i)};
  f.gestures = {0x2001, 0x2002, 0x2003, 0x2004};
  return f;
}

std::vector<uint8_t> Bytes(const SettingsFile& f) {
  const auto a = EncodeSettings(f);
  return {a.begin(), a.end()};
}

const Rect kDesktop{-1280, -100, 1920, 1080};

}  // namespace

TEST(SettingsCodec, EveryFieldSitsAtItsOffset) {
  const auto b = EncodeSettings(Distinct());
  ASSERT_EQ(b.size(), 343u);
  EXPECT_EQ(LeAt(b, 0, 4), 0x42524F51u);  // "QORB"
  EXPECT_EQ(b[4], 1);
  EXPECT_EQ(b[5], 1);
  for (size_t k = 6; k < 22; ++k) EXPECT_EQ(b[k], 0) << k;
  const size_t o = 22;
  EXPECT_EQ(LeAt(b, o + 0, 4), static_cast<uint32_t>(-1000));
  EXPECT_EQ(LeAt(b, o + 4, 4), 0x01020304u);
  EXPECT_EQ(LeAt(b, o + 8, 4), 0x11121314u);
  EXPECT_EQ(LeAt(b, o + 12, 4), 0x21222324u);
  EXPECT_EQ(b[o + 16], 0x31);
  EXPECT_EQ(LeAt(b, o + 17, 2), 0x4142u);
  EXPECT_EQ(b[o + 19], 0x51);
  EXPECT_EQ(b[o + 20], 0x61);
  EXPECT_EQ(LeAt(b, o + 21, 4), 0x71727374u);
  EXPECT_EQ(LeAt(b, o + 25, 4), 0x81828384u);
  EXPECT_EQ(LeAt(b, o + 29, 4), 0x94939291u);
  EXPECT_EQ(LeAt(b, o + 33, 2), 0xA1A2u);
  EXPECT_EQ(LeAt(b, o + 35, 2), 0xB1B2u);
  EXPECT_EQ(LeAt(b, o + 37, 4), static_cast<uint32_t>(-2));
  EXPECT_EQ(LeAt(b, o + 41, 4), 0x0C0D0E0Fu);
  EXPECT_EQ(LeAt(b, o + 45, 4), 0xD1D2D3D4u);
  EXPECT_EQ(LeAt(b, o + 49, 4), 0xE4E3E2E1u);
  EXPECT_EQ(LeAt(b, o + 53, 2), 0xF1F2u);
  EXPECT_EQ(LeAt(b, o + 55, 2), 0x0A0Bu);
  EXPECT_EQ(LeAt(b, o + 57, 4), 0x1A1B1C1Du);
  EXPECT_EQ(LeAt(b, o + 61, 4), static_cast<uint32_t>(-3));
  EXPECT_EQ(LeAt(b, 87, 2), 0x100u);
  EXPECT_EQ(LeAt(b, 89, 2), 0x8000u);
  EXPECT_EQ(LeAt(b, 87 + 61 * 4, 2), 0x100u + 61);
  EXPECT_EQ(LeAt(b, 87 + 61 * 4 + 2, 2), 0x8000u + 61);
  for (size_t g = 0; g < 4; ++g) EXPECT_EQ(LeAt(b, 335 + 2 * g, 2), 0x2001u + g);

  const auto decoded = DecodeSettings(b);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, Distinct());
}

TEST(SettingsCodec, SizeAndHeaderDecideAcceptance) {
  std::vector<uint8_t> b = Bytes(Distinct());
  EXPECT_FALSE(DecodeSettings(std::span(b).first(342)));
  EXPECT_FALSE(DecodeSettings({}));
  EXPECT_TRUE(DecodeSettings(b));

  std::vector<uint8_t> longer = b;
  longer.resize(1000, 0xEE);
  ASSERT_TRUE(DecodeSettings(longer));
  EXPECT_EQ(*DecodeSettings(longer), Distinct());

  std::vector<uint8_t> padded = b;
  for (size_t k = 6; k < 22; ++k) padded[k] = static_cast<uint8_t>(0xA0 + k);
  EXPECT_TRUE(DecodeSettings(padded));

  for (size_t k : {0, 3, 4, 5}) {
    std::vector<uint8_t> bad = b;
    bad[k] ^= 0x02;
    EXPECT_FALSE(DecodeSettings(bad)) << k;
  }
}

TEST(SettingsState, ZoomGridAndColoursAreClampedOrDefaulted) {
  SettingsFile f;
  f.block.zoomIndex = 200;
  f.block.gridColorItem = 3;
  f.block.subGridItem = 2;
  f.block.gridColor = 0x80000000u;
  f.block.subGridColor = 0x123456;
  SettingsState s = InterpretSettings(f, kDesktop);
  EXPECT_EQ(s.zoomIndex, 9);
  EXPECT_EQ(kZoomFactors[s.zoomIndex], 20);
  EXPECT_EQ(s.gridColor, Cmd::Grid_Invert);
  EXPECT_EQ(s.subGrid, Cmd::Grid_SelSubColor);
  EXPECT_EQ(s.gridUserColor, 0x999999u);
  EXPECT_EQ(s.subGridUserColor, 0x123456u);

  const std::pair<uint8_t, Cmd> grid[] = {{0, Cmd::Grid_Gray},        {1, Cmd::Grid_Gray},
                                          {2, Cmd::Grid_Gray},        {4, Cmd::Grid_Transparent},
                                          {5, Cmd::Grid_SelColor},    {6, Cmd::Grid_Gray},
                                          {255, Cmd::Grid_Gray}};
  for (auto [item, cmd] : grid) {
    f.block.gridColorItem = item;
    EXPECT_EQ(InterpretSettings(f, kDesktop).gridColor, cmd) << int(item);
  }
  const std::pair<uint8_t, Cmd> sub[] = {
      {0, Cmd::Grid_SubNone}, {1, Cmd::Grid_SubBlue}, {3, Cmd::Grid_SubBlue}, {200, Cmd::Grid_SubBlue}};
  for (auto [item, cmd] : sub) {
    f.block.subGridItem = item;
    EXPECT_EQ(InterpretSettings(f, kDesktop).subGrid, cmd) << int(item);
  }
  f.block.subGridColor = 0xFFFFFFFFu;
  EXPECT_EQ(InterpretSettings(f, kDesktop).subGridUserColor, 0xFF6666u);
}

TEST(SettingsState, FileBitsMapToTheirCommands) {
  SettingsFile f;
  f.block.posFlags = 2;           // the client command's tag, not its file bit
  f.block.winInfoFlags = 64;      // the exe-name command's tag, not its file bit
  SettingsState s = InterpretSettings(f, kDesktop);
  EXPECT_FALSE(s.Flag(Cmd::Pos_Client));
  EXPECT_FALSE(s.Flag(Cmd::WinInfo_ExeName));

  f.block.colorFlags = 4;
  f.block.posFlags = 4 | 8;
  f.block.winInfoFlags = 1024 | 32;
  f.block.optionFlags = 8 | 32;
  f.block.displayFlags = 1;
  f.block.captureFlags = 1;  // only bit 2 means fixed
  s = InterpretSettings(f, kDesktop);
  EXPECT_TRUE(s.Flag(Cmd::Color_COLORREF));
  EXPECT_FALSE(s.Flag(Cmd::Color_RGB));
  EXPECT_TRUE(s.Flag(Cmd::Pos_Client));
  EXPECT_TRUE(s.Flag(Cmd::Pos_User));
  EXPECT_FALSE(s.Flag(Cmd::Pos_Screen));
  EXPECT_TRUE(s.Flag(Cmd::WinInfo_ExeName));
  EXPECT_TRUE(s.Flag(Cmd::WinInfo_Rect));
  EXPECT_FALSE(s.Flag(Cmd::WinInfo_Handle));
  EXPECT_TRUE(s.Flag(Cmd::Opt_BigFont));
  EXPECT_TRUE(s.Flag(Cmd::Opt_SmoothCapture));
  EXPECT_FALSE(s.Flag(Cmd::Opt_StayOnTop));
  EXPECT_TRUE(s.gridDisp);
  EXPECT_FALSE(s.captureFixed);
  f.block.captureFlags = 2;
  EXPECT_TRUE(InterpretSettings(f, kDesktop).captureFixed);

  const SettingsFile back = CollectSettings(s);
  EXPECT_EQ(back.block.posFlags, 12);
  EXPECT_EQ(back.block.winInfoFlags, 1056u);
  EXPECT_EQ(back.block.captureFlags, 0);
}

TEST(SettingsState, OriginIsClampedIntoTheDesktopsOwnRectangle) {
  SettingsFile f;
  f.block.userOriginX = -500;  // on a monitor left of the primary one
  f.block.userOriginY = -50;
  SettingsState s = InterpretSettings(f, kDesktop);
  EXPECT_EQ(s.userOriginX, -500);
  EXPECT_EQ(s.userOriginY, -50);
  f.block.userOriginX = INT32_MIN;
  f.block.userOriginY = INT32_MAX;
  s = InterpretSettings(f, kDesktop);
  EXPECT_EQ(s.userOriginX, -1280);
  EXPECT_EQ(s.userOriginY, 1080);
  s = InterpretSettings(f, Rect{10, 10, 5, 5});  // empty desktop: no UB, pinned
  EXPECT_EQ(s.userOriginX, 10);
  EXPECT_EQ(s.userOriginY, 10);
}

TEST(SettingsState, CapturePointIsClampedOntoTheDesktopsPixels) {
  SettingsFile f;
  f.block.captureFlags = 2;
  f.block.capturePointX = INT32_MAX;  // would overflow the capture rectangle around it
  f.block.capturePointY = INT32_MIN;
  SettingsState s = InterpretSettings(f, kDesktop);
  EXPECT_EQ(s.capturePointX, 1919);  // right and bottom are exclusive
  EXPECT_EQ(s.capturePointY, -100);
  f.block.capturePointX = -1280;
  f.block.capturePointY = 1080;
  s = InterpretSettings(f, kDesktop);
  EXPECT_EQ(s.capturePointX, -1280);
  EXPECT_EQ(s.capturePointY, 1079);
  s = InterpretSettings(f, Rect{INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN});
  EXPECT_EQ(s.capturePointX, INT32_MIN);
  EXPECT_EQ(s.capturePointY, INT32_MIN);
}

TEST(SettingsState, CollectKeepsPointReservedBytesAndBindings) {
  SettingsFile f = Distinct();
  f.block.captureFlags = 0;
  f.block.capturePointX = -1279;
  f.block.capturePointY = 1079;
  SettingsState s = InterpretSettings(f, kDesktop);
  s.captureFixed = false;
  const SettingsFile out = CollectSettings(s);
  EXPECT_EQ(out.block.capturePointX, f.block.capturePointX);  // written though not fixed
  EXPECT_EQ(out.block.capturePointY, f.block.capturePointY);
  EXPECT_EQ(out.block.reserved1, f.block.reserved1);
  EXPECT_EQ(out.block.reserved2, f.block.reserved2);
  EXPECT_EQ(out.keys, f.keys);
  EXPECT_EQ(out.gestures, f.gestures);
  EXPECT_EQ(out.block.windowLeft, -1000);

  SettingsState invalid;
  invalid.gridColor = Cmd::Zoom_Up;
  invalid.subGrid = Cmd::Grid_Gray;
  invalid.zoomIndex = 77;
  EXPECT_EQ(CollectSettings(invalid).block.gridColorItem, 2);
  EXPECT_EQ(CollectSettings(invalid).block.subGridItem, 1);
  EXPECT_EQ(CollectSettings(invalid).block.zoomIndex, 9);
}

TEST(SettingsState, CommandsRoundTripThroughTheFile) {
  const SettingsState defaults = DefaultSettingsState();
  EXPECT_EQ(defaults.zoomIndex, 4);  // 6x
  EXPECT_TRUE(defaults.gridDisp);
  EXPECT_EQ(defaults.gridColor, Cmd::Grid_Gray);
  EXPECT_EQ(defaults.subGrid, Cmd::Grid_SubBlue);
  EXPECT_EQ(defaults.gridUserColor, 0x999999u);
  EXPECT_EQ(defaults.subGridUserColor, 0xFF6666u);
  EXPECT_TRUE(defaults.Flag(Cmd::WinInfo_Text));
  EXPECT_FALSE(defaults.Flag(Cmd::Pos_Client));

  CommandList commands;
  commands.SetChecked(Cmd::Grid_Transparent, true);
  commands.SetChecked(Cmd::Grid_SubNone, true);
  commands.SetChecked(Cmd::Grid_Disp, false);
  commands.SetChecked(Cmd::WinInfo_ExeName, true);
  commands.SetChecked(Cmd::Opt_StayOnTop, true);
  commands.SetChecked(Cmd::Capture_Fixed, true);
  commands[Cmd::Grid_SelColor].tag = 0x00ABCDEF;
  SettingsState s;
  ReadCommandState(commands, s);
  s.capturePointX = 12;

  const auto bytes = EncodeSettings(CollectSettings(s));
  const SettingsState loaded = InterpretSettings(*DecodeSettings(bytes), kDesktop);
  EXPECT_EQ(loaded, s);

  CommandList fresh;
  ApplyCommandState(loaded, fresh);
  for (const CommandDef& d : CommandTable())
    if (d.group != RadioGroup::Zoom) EXPECT_EQ(fresh.Checked(d.cmd), commands.Checked(d.cmd)) << d.name;
  EXPECT_EQ(fresh.Tag(Cmd::Grid_SelColor), 0x00ABCDEF);
  EXPECT_EQ(fresh.Tag(Cmd::Grid_SelSubColor), 0xFF6666);
}

TEST(SettingsState, UsableWindowSizeNeedsBothSidesOver50) {
  SettingsState s;
  s.windowLeft = 100;
  s.windowTop = 100;
  s.windowRight = 140;  // 40 wide
  s.windowBottom = 400;
  EXPECT_FALSE(HasUsableWindowSize(s));
  s.windowRight = 151;
  EXPECT_TRUE(HasUsableWindowSize(s));
  s.windowBottom = 150;
  EXPECT_FALSE(HasUsableWindowSize(s));
  s.windowLeft = INT32_MIN;
  s.windowRight = INT32_MAX;
  s.windowBottom = 400;
  EXPECT_TRUE(HasUsableWindowSize(s));
}

TEST(SettingsState, RandomFilesInterpretInsideTheirRanges) {
  std::mt19937 rng(20240607);
  std::vector<uint8_t> data;
  for (int round = 0; round < 5000; ++round) {
    data.assign(kSettingsFileSize + (round % 3 == 0 ? 16 : round % 5), 0);
    for (uint8_t& b : data) b = static_cast<uint8_t>(rng());
    data[0] = 'Q', data[1] = 'O', data[2] = 'R', data[3] = 'B', data[4] = 1, data[5] = 1;
    // Bias some fields towards their boundaries.
    if (round % 4 == 0) data[22 + 19] = static_cast<uint8_t>(round % 8);
    if (round % 4 == 1) data[22 + 20] = static_cast<uint8_t>(round % 5);
    const std::string failure = viz::testing::CheckSettingsInput(data);
    ASSERT_EQ(failure, "") << "round " << round;
  }
}

// Bindings through the file's bytes, as the program saves and reads them.
TEST(SettingsCodec, BindingsSurviveTheFileBytes) {
  CommandList commands;
  BindingSet b;
  b.Build(commands);
  b.ClearCurrent();
  b.Bind(0x0D, Cmd::Copy_All);  // Enter: row 49
  SettingsFile f;
  b.SaveTo(f.keys, f.gestures);
  std::vector<uint8_t> bytes = Bytes(f);
  const size_t slot49 = kKeySlotsOffset + 49 * 4;
  EXPECT_EQ(LeAt(bytes, slot49, 2), 0x0Du);
  EXPECT_EQ(LeAt(bytes, slot49 + 2, 2), 6090u);
  EXPECT_EQ(LeAt(bytes, kKeySlotsOffset + 50 * 4, 4), 0u);  // past the walk

  // A slot with identifier 0 binds nothing, whatever key it names.
  bytes[kKeySlotsOffset + 11 * 4] = 'A';
  bytes[kKeySlotsOffset + 11 * 4 + 2] = 0;
  BindingSet loaded;
  loaded.Build(commands);
  const auto decoded = DecodeSettings(bytes);
  ASSERT_TRUE(decoded);
  loaded.LoadFrom(decoded->keys, decoded->gestures);
  EXPECT_EQ(loaded.Current(), (std::vector<T_ShortCutAction>{{0x0D, Cmd::Copy_All}}));
  EXPECT_EQ(loaded.CurrentGestures(), kDefaultGestures);

  // Two bindings on one key in the list: at save the later identifier is the one in the slot.
  SettingsFile twice;
  twice.keys[11] = {'A', 13001};
  twice.keys[12] = {'A', 1090};
  loaded.LoadFrom(twice.keys, twice.gestures);
  SettingsFile out;
  loaded.SaveTo(out.keys, out.gestures);
  const auto outBytes = EncodeSettings(out);
  EXPECT_EQ(LeAt(outBytes, kKeySlotsOffset + 11 * 4, 4), 'A' | (1090u << 16));
  EXPECT_EQ(LeAt(outBytes, kKeySlotsOffset + 12 * 4, 4), 0u);
  EXPECT_EQ(loaded.Lookup('A'), Cmd::Help);  // while dispatch takes the first
}
