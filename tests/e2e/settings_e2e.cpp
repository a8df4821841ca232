// The settings file seen from outside: the program started beside a file built here shows what
// the file says, writes back exactly the bytes this file computes from the layout, honours the
// Shift and Ctrl start-up keys, and never loses or damages the file, whatever happens to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "harness.h"

namespace viz::e2e {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kFileSize = 343;
constexpr size_t kBlock = 22, kKeys = 87, kGestures = 335;

// Key codes of the 62 key slots: digits, Space, letters, F1-F12, Enter, BkSp, Del, Ins, Esc,
// PgUp, PgDn, Home, End and the four arrows.
std::vector<uint16_t> SlotKeys() {
  std::vector<uint16_t> k;
  for (uint16_t c = '0'; c <= '9'; ++c) k.push_back(c);
  k.push_back(0x20);
  for (uint16_t c = 'A'; c <= 'Z'; ++c) k.push_back(c);
  for (uint16_t c = 0x70; c <= 0x7B; ++c) k.push_back(c);
  for (uint16_t c : {0x0D, 0x08, 0x2E, 0x2D, 0x1B, 0x21, 0x22, 0x24, 0x23, 0x26, 0x28, 0x25, 0x27})
    k.push_back(c);
  return k;
}

size_t SlotOf(uint16_t key) {
  const auto keys = SlotKeys();
  for (size_t i = 0; i < keys.size(); ++i)
    if (keys[i] == key) return i;
  return keys.size();
}

// The file's fields, written at their offsets by hand.
struct Layout {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  uint8_t zoomIndex = 4;
  uint16_t display = 1;
  uint8_t gridItem = 2, subItem = 1;
  uint32_t gridColor = 0x999999, subColor = 0xFF6666;
  uint8_t reserved1[4] = {}, reserved2[4] = {};
  uint16_t colorFlags = 3, posFlags = 1;
  int32_t originX = 0, originY = 0;
  uint32_t winInfoFlags = 7;
  uint16_t options = 0, capture = 0;
  int32_t pointX = 0, pointY = 0;
  uint16_t slotKey[62] = {}, slotId[62] = {};
  uint16_t gestures[4] = {};
  uint8_t headerPad[16] = {};  // zero when written by the program

  Bytes Encode() const {
    Bytes f(kFileSize, 0);
    auto put = [&](size_t at, uint32_t v, int n) {
      for (int i = 0; i < n; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    f[0] = 'Q', f[1] = 'O', f[2] = 'R', f[3] = 'B', f[4] = 1, f[5] = 1;
    for (int i = 0; i < 16; ++i) f[6 + i] = headerPad[i];
    put(kBlock + 0, left, 4), put(kBlock + 4, top, 4), put(kBlock + 8, right, 4);
    put(kBlock + 12, bottom, 4);
    put(kBlock + 16, zoomIndex, 1), put(kBlock + 17, display, 2);
    put(kBlock + 19, gridItem, 1), put(kBlock + 20, subItem, 1);
    put(kBlock + 21, gridColor, 4), put(kBlock + 25, subColor, 4);
    for (int i = 0; i < 4; ++i) f[kBlock + 29 + i] = reserved1[i], f[kBlock + 49 + i] = reserved2[i];
    put(kBlock + 33, colorFlags, 2), put(kBlock + 35, posFlags, 2);
    put(kBlock + 37, originX, 4), put(kBlock + 41, originY, 4);
    put(kBlock + 45, winInfoFlags, 4);
    put(kBlock + 53, options, 2), put(kBlock + 55, capture, 2);
    put(kBlock + 57, pointX, 4), put(kBlock + 61, pointY, 4);
    for (int i = 0; i < 62; ++i) put(kKeys + 4 * i, slotKey[i], 2), put(kKeys + 4 * i + 2, slotId[i], 2);
    for (int i = 0; i < 4; ++i) put(kGestures + 2 * i, gestures[i], 2);
    return f;
  }

  void Bind(uint16_t key, uint16_t id) {
    const size_t s = SlotOf(key);
    slotKey[s] = key;
    slotId[s] = id;
  }

  // The key slots as the program writes a binding list: for each binding in order the slots are
  // walked from 0, each walked slot gets its row's key, the matching one gets the identifier.
  void WriteSlotsFor(const std::vector<std::pair<uint16_t, uint16_t>>& bindings) {
    const auto keys = SlotKeys();
    for (int i = 0; i < 62; ++i) slotKey[i] = slotId[i] = 0;
    for (auto [key, id] : bindings)
      for (size_t i = 0; i < keys.size(); ++i) {
        slotKey[i] = keys[i];
        if (keys[i] == key) {
          slotId[i] = id;
          break;
        }
      }
  }
};

std::string Hex(const Bytes& a, const Bytes& b) {
  std::string out;
  if (a.size() != b.size()) out += "sizes " + std::to_string(a.size()) + " vs " + std::to_string(b.size()) + "\n";
  int shown = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()) && shown < 12; ++i)
    if (a[i] != b[i]) {
      char line[64];
      std::snprintf(line, sizeof line, "offset %zu: got %02x want %02x\n", i, a[i], b[i]);
      out += line;
      ++shown;
    }
  return out;
}

bool GoodHeader(const Bytes& b) {
  return b.size() == kFileSize && b[0] == 'Q' && b[1] == 'O' && b[2] == 'R' && b[3] == 'B' &&
         b[4] == 1 && b[5] == 1;
}

int LineHeight(int points) { return PanelLineHeight(points); }

int ToolbarHeight(HWND app) {
  HWND tb = FindWindowExW(app, nullptr, L"ToolbarWindow32", nullptr);
  RECT r{};
  if (tb) GetWindowRect(tb, &r);
  return r.bottom - r.top;
}

// The view: the client area below the toolbar, down to the panel.
struct View {
  POINT origin{};  // screen point of view (0, 0)
  int width = 0, height = 0;
};

std::optional<View> ViewOf(HWND app, int lineHeight, int lines) {
  RECT c;
  if (!GetClientRect(app, &c)) return std::nullopt;
  POINT o{0, 0};
  ClientToScreen(app, &o);
  const int tb = ToolbarHeight(app);
  View v;
  v.origin = POINT{o.x, o.y + tb};
  v.width = c.right;
  v.height = c.bottom - tb - lineHeight * (1 + lines);
  return v;
}

// The zoom of a view without grid: the length of the runs of one colour along a row near the
// top (neighbouring pattern pixels always differ). 0 when the runs are not all equal.
int MeasuredZoom(const View& v) {
  auto g = ScreenGrab::Take(RECT{v.origin.x, v.origin.y + 2, v.origin.x + v.width, v.origin.y + 3});
  if (!g) return 0;
  std::vector<int> changes;
  for (int x = 2; x < v.width - 1; ++x)
    if (g->Pixel(v.origin.x + x, v.origin.y + 2) != g->Pixel(v.origin.x + x - 1, v.origin.y + 2))
      changes.push_back(x);
  if (changes.size() < 3) return 0;
  const int run = changes[1] - changes[0];
  for (size_t i = 2; i < changes.size(); ++i)
    if (changes[i] - changes[i - 1] != run) return 0;
  return run;
}

int HalfAway(int num, int den) { return (2 * num + den) / (2 * den); }

// The colour in the middle of the centre cell of a view without grid.
COLORREF CentreColour(const View& v, int zoom) {
  const int cols = (v.width + zoom - 1) / zoom, rows = (v.height + zoom - 1) / zoom;
  const int x = v.origin.x + (HalfAway(cols, 2) - 1) * zoom + zoom / 2;
  const int y = v.origin.y + (HalfAway(rows, 2) - 1) * zoom + zoom / 2;
  auto g = ScreenGrab::Take(RECT{x, y, x + 1, y + 1});
  return g ? g->Pixel(x, y) : CLR_INVALID;
}

std::string UnixPathOf(const std::wstring& path) {
  using ToUnix = char*(CDECL*)(const WCHAR*);
  auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* p = toUnix(path.c_str());
  if (!p) return {};
  std::string out(p);
  HeapFree(GetProcessHeap(), 0, p);
  return out;
}

// Makes a folder immutable at the X/Unix side for its lifetime (the tests run as root, for whom
// no permission bit makes a folder unwritable).
class ImmutableFolder {
 public:
  explicit ImmutableFolder(const std::wstring& folder) : unix_(UnixPathOf(folder)) {
    on_ = !unix_.empty() && RunUnix("chattr +i '" + unix_ + "'") == 0;
  }
  ~ImmutableFolder() {
    if (on_) RunUnix("chattr -i '" + unix_ + "'");
  }
  bool on() const { return on_; }

 private:
  std::string unix_;
  bool on_ = false;
};

constexpr RECT kPatternRect{400, 80, 1200, 760};
constexpr uint16_t kZoomUp = 1090, kZoomDown = 1091, kPause = 7011;

class SettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    ReleaseHeld();
    ASSERT_TRUE(MovePointer(200, 200));
  }
  void TearDown() override {
    ReleaseHeld();
    if (app_ && app_->Running()) app_->Kill();
    app_.reset();
  }
  // Releases only what is held: under Wine, a release of keys that are up (after Shift and Ctrl
  // were held and released) cut this process's standard output off.
  static void ReleaseHeld() {
    for (unsigned m : {kShift, kCtrl, kAlt})
      if (ModifiersDown(m)) ReleaseModifiers(m);
  }

  void StartWith(const Bytes& file, unsigned heldMods = kNoMod) {
    AppOptions o;
    o.settings = file;
    app_ = std::make_unique<AppProcess>();  // the previous run's folder goes with its process
    if (heldMods) {
      ASSERT_TRUE(HoldModifiers(heldMods));
    }
    ASSERT_TRUE(app_->Start(o)) << app_->error();
    if (heldMods) {
      ASSERT_TRUE(ReleaseModifiers(heldMods));
    }
  }
  void ShowPattern() {
    pattern_ = std::make_unique<PatternWindow>(kPatternRect);
    ASSERT_TRUE(pattern_->WaitShown());
  }
  WindowInfo Info() {
    auto w = QueryWindow(app_->hwnd());
    EXPECT_TRUE(w);
    return w.value_or(WindowInfo{});
  }
  void ExpectZoom(int zoom, int lineHeight, int lines) {
    int got = -1;
    EXPECT_TRUE(WaitUntil([&] {
      auto v = ViewOf(app_->hwnd(), lineHeight, lines);
      return v && (got = MeasuredZoom(*v)) == zoom;
    }, 5000, 50)) << "zoom measured " << got << ", want " << zoom;
  }
  void RightDrag(int dx) {
    const RECT r = Info().rect;
    const POINT start{(r.left + r.right) / 2 + (dx < 0 ? 60 : -60), (r.top + r.bottom) / 2 - 40};
    ASSERT_TRUE(MovePointer(start.x, start.y));
    ASSERT_TRUE(MouseDown(Button::kRight));
    ASSERT_TRUE(MovePointer(start.x + dx, start.y));
    ASSERT_TRUE(MouseUp(Button::kRight));
  }
  Bytes Saved() { return ReadFileBytes(app_->settings_path()).value_or(Bytes{}); }
  bool DialogShown() { return FindProcessWindow(app_->pid(), L"#32770") != nullptr; }

  std::unique_ptr<AppProcess> app_;
  std::unique_ptr<PatternWindow> pattern_;
};

// Nine lines, big font, stay on top, smooth capture, fixed point on the pattern, no grid, keys
// and gestures of its own, reserved bytes and header padding that are not zero.
Layout Crafted() {
  Layout l;
  l.left = 60, l.top = 90, l.right = 60 + 300, l.bottom = 90 + 240;
  l.zoomIndex = 5;  // 8x
  l.display = 0;
  l.gridItem = 4, l.subItem = 0;
  l.gridColor = 0x123456, l.subColor = 0x654321;
  for (int i = 0; i < 4; ++i) l.reserved1[i] = static_cast<uint8_t>(0xD0 + i), l.reserved2[i] = static_cast<uint8_t>(0xC0 + i);
  l.colorFlags = 7, l.posFlags = 1 | 4 | 8, l.winInfoFlags = 1 | 32 | 1024;
  l.originX = 33, l.originY = 44;
  l.options = 1 | 8 | 32;
  l.capture = 2, l.pointX = 700, l.pointY = 450;
  l.Bind('X', kZoomUp);
  l.Bind(0x0D, kZoomDown);  // Enter, slot 49
  l.slotKey[SlotOf(0x21)] = 0x21;  // PgUp named, but unbound
  l.slotKey[11] = 'A';              // identifier 0: nothing
  l.slotKey[60] = 0x1234;           // junk key in an unbound slot
  l.gestures[0] = 0, l.gestures[1] = 0, l.gestures[2] = 0, l.gestures[3] = kZoomUp;
  for (int i = 0; i < 16; ++i) l.headerPad[i] = static_cast<uint8_t>(0x80 + i);
  return l;
}

TEST_F(SettingsTest, CraftedFileIsShownAndWrittenBackByteForByte) {
  const Layout in = Crafted();
  Bytes file = in.Encode();
  file.resize(400, 0xEE);  // trailing bytes are ignored
  ShowPattern();
  StartWith(file);
  ASSERT_TRUE(app_->Activate());
  const int lh = LineHeight(12), lines = 3 + 3 + 3;

  const WindowInfo w = Info();
  EXPECT_EQ(w.rect.left, 60);
  EXPECT_EQ(w.rect.top, 90);
  EXPECT_EQ(w.rect.right - w.rect.left, 300);
  // The stored height is without the panel; the panel adds a status line and nine lines.
  EXPECT_EQ(w.rect.bottom - w.rect.top, 240 + lh * (1 + lines)) << "line height " << lh;
  EXPECT_TRUE(w.ex_style & WS_EX_TOPMOST);

  // Fixed point: the view holds (700, 450) wherever the pointer goes.
  ASSERT_TRUE(MovePointer(250, 700));
  ExpectZoom(8, lh, lines);
  EXPECT_TRUE(WaitUntil([&] {
    auto v = ViewOf(app_->hwnd(), lh, lines);
    return v && CentreColour(*v, 8) == PatternColor(700, 450);
  }, 5000, 50));

  // PgUp is unbound here, X zooms up: one step, not two.
  ASSERT_TRUE(KeyTap(VK_PRIOR));
  ASSERT_TRUE(KeyTap('X'));
  ExpectZoom(10, lh, lines);
  // The left gesture is empty (by default it switches the grid on), the right one zooms up.
  RightDrag(-100);
  RightDrag(+100);
  ExpectZoom(12, lh, lines);
  ASSERT_TRUE(app_->Activate());
  ASSERT_TRUE(KeyTap(VK_RETURN));
  ExpectZoom(10, lh, lines);
  EXPECT_FALSE(DialogShown());

  ASSERT_EQ(app_->Close(), std::optional<DWORD>(0));
  Layout out = in;
  for (uint8_t& b : out.headerPad) b = 0;
  out.zoomIndex = 6;  // 10x
  out.WriteSlotsFor({{'X', kZoomUp}, {0x0D, kZoomDown}});
  const Bytes want = out.Encode(), got = Saved();
  EXPECT_EQ(got, want) << Hex(got, want);
}

TEST_F(SettingsTest, GridColoursComeFromTheFile) {
  Layout l;
  l.left = 60, l.top = 90, l.right = 360, l.bottom = 330;
  l.gridItem = 5, l.gridColor = 0x00C000;  // the chosen colours: no pattern pixel has blue 0
  l.subItem = 2, l.subColor = 0x0000C0;
  l.capture = 2, l.pointX = 800, l.pointY = 400;
  ShowPattern();
  StartWith(l.Encode());
  const int lh = LineHeight(9);
  int grid = 0, sub = 0, defaults = 0;
  EXPECT_TRUE(WaitUntil([&] {
    auto v = ViewOf(app_->hwnd(), lh, 6);
    if (!v) return false;
    auto g = ScreenGrab::Take(RECT{v->origin.x + 8, v->origin.y + 8, v->origin.x + v->width - 1,
                                   v->origin.y + v->height});
    if (!g) return false;
    grid = sub = defaults = 0;
    for (int y = g->rect().top; y < g->rect().bottom; ++y)
      for (int x = g->rect().left; x < g->rect().right; ++x) {
        const COLORREF c = g->Pixel(x, y);
        grid += c == 0x00C000;
        sub += c == 0x0000C0;
        defaults += c == 0x999999 || c == 0xFF0000;
      }
    return grid > 1000 && sub > 200 && defaults == 0;
  }, 5000, 50)) << grid << " grid, " << sub << " sub-grid, " << defaults << " default pixels";
  ASSERT_EQ(app_->Close(), std::optional<DWORD>(0));
  const Bytes saved = Saved();
  ASSERT_EQ(saved.size(), kFileSize);
  EXPECT_EQ(saved[kBlock + 19], 5);
  EXPECT_EQ(saved[kBlock + 20], 2);
}

TEST_F(SettingsTest, ZoomIndex200ShowsTwentyTimes) {
  Layout l;
  l.left = 60, l.top = 90, l.right = 360, l.bottom = 330;
  l.zoomIndex = 200;
  l.display = 0;
  l.capture = 2, l.pointX = 640, l.pointY = 300;
  ShowPattern();
  StartWith(l.Encode());
  ExpectZoom(20, LineHeight(9), 6);
  ASSERT_EQ(app_->Close(), std::optional<DWORD>(0));
  const Bytes saved = Saved();
  ASSERT_EQ(saved.size(), kFileSize);
  EXPECT_EQ(saved[kBlock + 16], 9);
}

TEST_F(SettingsTest, ShiftAndCtrlAtStartIgnoreTheFileAndWriteTheDefaults) {
  Layout l = Crafted();
  StartWith(l.Encode(), kShift | kCtrl);
  const WindowInfo w = Info();
  EXPECT_EQ(w.rect.left, 75);  // 75 pixels into the monitor under the pointer
  EXPECT_EQ(w.rect.top, 75);
  EXPECT_FALSE(w.ex_style & WS_EX_TOPMOST);
  ASSERT_EQ(app_->Close(), std::optional<DWORD>(0));

  // The designed window: client 243 x 210 at 96 dpi, panel of six lines below it.
  RECT design{0, 0, 243, 210};
  AdjustWindowRectEx(&design, static_cast<DWORD>(w.style), FALSE, static_cast<DWORD>(w.ex_style));
  Layout d;
  d.left = 75, d.top = 75;
  d.right = 75 + design.right - design.left;
  d.bottom = 75 + design.bottom - design.top;
  d.pointX = 200, d.pointY = 200;  // the live capture point: the pointer
  d.WriteSlotsFor({{0x21, 1090}, {0x22, 1091}, {'U', 2006}, {'I', 2014}, {0x20, 4010}, {'Z', 6001},
                   {'H', 6006}, {'C', 6007}, {0x71, 6090}, {0x1B, 7011}, {'F', 7002}, {0x74, 7012},
                   {'1', 7013}, {'S', 8007}, {'M', 10001}, {0x26, 11001}, {0x28, 11002},
                   {0x25, 11003}, {0x27, 11004}, {'Q', 11005}, {0x70, 13001}});
  d.gestures[0] = 8001, d.gestures[1] = 9001, d.gestures[2] = 2010, d.gestures[3] = 7011;
  const Bytes want = d.Encode(), got = Saved();
  EXPECT_EQ(got, want) << Hex(got, want);
}

TEST_F(SettingsTest, ShiftAtStartOpensAtTheCornerWithTheStoredSize) {
  Layout l;
  l.left = 300, l.top = 200, l.right = 300 + 333, l.bottom = 200 + 260;
  StartWith(l.Encode(), kShift);
  const WindowInfo w = Info();
  EXPECT_EQ(w.rect.left, 0);
  EXPECT_EQ(w.rect.top, 0);
  EXPECT_EQ(w.rect.right - w.rect.left, 333);
}

TEST_F(SettingsTest, CtrlAtStartKeepsAnOffScreenPosition) {
  Layout l;
  l.left = 3000, l.top = 3000, l.right = 3300, l.bottom = 3250;
  StartWith(l.Encode(), kCtrl);
  WindowInfo w = Info();
  EXPECT_EQ(w.rect.left, 3000);
  EXPECT_EQ(w.rect.top, 3000);
  ASSERT_EQ(app_->Close(), std::optional<DWORD>(0));

  // Without Ctrl the same file brings the window back to the desktop's corner.
  StartWith(l.Encode());
  w = Info();
  EXPECT_EQ(w.rect.left, 0);
  EXPECT_EQ(w.rect.top, 0);
  EXPECT_EQ(w.rect.right - w.rect.left, 300);
}

TEST_F(SettingsTest, ReadOnlyFileIsKeptAndNothingIsShown) {
  const Bytes file = Crafted().Encode();
  StartWith(file);
  ASSERT_TRUE(SetFileAttributesW(app_->settings_path().c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(app_->Activate());
  ASSERT_TRUE(KeyTap('X'));  // something to save
  PostMessageW(app_->hwnd(), WM_CLOSE, 0, 0);
  bool dialog = false;
  EXPECT_TRUE(WaitUntil([&] {
    dialog |= DialogShown();
    return !app_->Running();
  }));
  EXPECT_FALSE(dialog);
  EXPECT_EQ(app_->WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(Saved(), file);
  EXPECT_FALSE(FileExists(app_->settings_path() + L".tmp"));
  SetFileAttributesW(app_->settings_path().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SettingsTest, ReadOnlyFolderIsKeptAndNothingIsShown) {
  const Bytes file = Crafted().Encode();
  StartWith(file);
  ImmutableFolder lock(app_->folder());
  if (!lock.on()) GTEST_SKIP() << "chattr is not available";
  ASSERT_TRUE(app_->Activate());
  ASSERT_TRUE(KeyTap('X'));
  // The save runs while the window is destroyed; a box would keep the process alive.
  PostMessageW(app_->hwnd(), WM_CLOSE, 0, 0);
  bool dialog = false;
  EXPECT_TRUE(WaitUntil([&] {
    dialog |= DialogShown();
    return !app_->Running();
  }));
  EXPECT_FALSE(dialog);
  EXPECT_EQ(app_->WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(Saved(), file);
  EXPECT_FALSE(FileExists(app_->settings_path() + L".tmp"));
}

TEST_F(SettingsTest, KilledWhileSavingLeavesTheOldOrTheNewFileWhole) {
  const Bytes file = Crafted().Encode();
  int replaced = 0;
  constexpr int kRounds = 24;
  for (int round = 0; round < kRounds; ++round) {
    StartWith(file);
    PostMessageW(app_->hwnd(), WM_CLOSE, 0, 0);
    Sleep(static_cast<DWORD>((round * 7) % 41));  // a different moment of the save each time
    app_->Kill();
    const Bytes got = Saved();
    ASSERT_TRUE(GoodHeader(got)) << "round " << round << ": " << got.size() << " bytes";
    if (got != file) ++replaced;
  }
  std::printf("[ info     ] %d of %d runs had written their file before being killed\n", replaced,
              kRounds);
}

TEST_F(SettingsTest, EndOfSessionSavesAndTheCloseAfterItWritesNothing) {
  Layout l = Crafted();
  const Bytes file = l.Encode();  // its header padding is not zero: a rewrite clears it
  StartWith(file);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(app_->hwnd(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, 1u);
  Bytes saved = Saved();
  ASSERT_TRUE(GoodHeader(saved));
  for (size_t k = 6; k < 22; ++k) EXPECT_EQ(saved[k], 0) << k;
  EXPECT_EQ(saved[kBlock + 16], 5);  // the zoom as loaded

  const Bytes marker(kFileSize, 0x5A);
  ASSERT_TRUE(WriteFileBytes(app_->settings_path(), marker));
  ASSERT_EQ(app_->Close(), std::optional<DWORD>(0));
  EXPECT_EQ(Saved(), marker);
}

// Windows may cancel the end of the session after asking (WM_ENDSESSION with FALSE): the program
// then goes on running and must still capture.
TEST_F(SettingsTest, CancelledEndOfSessionKeepsCapturing) {
  Layout l;
  l.left = 60, l.top = 90, l.right = 360, l.bottom = 330;
  l.display = 0;
  ShowPattern();
  StartWith(l.Encode());
  const int lh = LineHeight(9);
  auto centreIs = [&](POINT p) {
    return WaitUntil([&] {
      auto v = ViewOf(app_->hwnd(), lh, 6);
      return v && CentreColour(*v, 6) == PatternColor(p.x, p.y);
    }, 5000, 50);
  };
  ASSERT_TRUE(MovePointer(700, 300));
  ASSERT_TRUE(centreIs(POINT{700, 300}));
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(app_->hwnd(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  ASSERT_TRUE(SendMessageTimeoutW(app_->hwnd(), WM_ENDSESSION, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  ASSERT_TRUE(MovePointer(900, 500));
  EXPECT_TRUE(centreIs(POINT{900, 500}));
}

TEST_F(SettingsTest, DamagedFilesStartTheProgramWithSaneValues) {
  Bytes allOnes(kFileSize, 0xFF);
  allOnes[0] = 'Q', allOnes[1] = 'O', allOnes[2] = 'R', allOnes[3] = 'B', allOnes[4] = 1, allOnes[5] = 1;
  Bytes big = Crafted().Encode();
  for (size_t at : {kBlock + 0, kBlock + 4}) big[at + 3] = 0x80;  // left and top near -2^31
  Bytes shortFile = Crafted().Encode();
  shortFile.pop_back();
  Bytes foreign = Crafted().Encode();
  foreign[4] = 2;
  for (const Bytes* f : std::vector<const Bytes*>{&allOnes, &big, &shortFile, &foreign}) {
    StartWith(*f);
    const WindowInfo w = Info();
    EXPECT_TRUE(w.visible);
    EXPECT_GE(w.rect.right - w.rect.left, 50);
    EXPECT_GE(w.rect.bottom - w.rect.top, 50);
    RECT d{0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT inter;
    EXPECT_TRUE(IntersectRect(&inter, &w.rect, &d)) << "window off the desktop";
    EXPECT_FALSE(DialogShown());
    ASSERT_EQ(app_->Close(), std::optional<DWORD>(0));
    EXPECT_TRUE(GoodHeader(Saved()));
  }
}

}  // namespace
}  // namespace viz::e2e
