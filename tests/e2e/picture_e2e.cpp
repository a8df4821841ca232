// The picture copy seen from outside: Z puts the magnified image on the clipboard exactly as the
// view shows it, and Ctrl+Z also writes it beside the program as a ".bmp" file.
#include <gtest/gtest.h>

#include <cstring>

#include "harness.h"

namespace viz::e2e {
namespace {

constexpr int kRuler = 7;
constexpr RECT kPattern{400, 80, 1200, 760};

struct ImageArea {
  POINT origin{};  // screen point of the image's top-left pixel
  int width = 0;   // the columns a copy holds (whole cells that fit, clipped to the view)
  int height = 0;
};

int LineHeight() { return PanelLineHeight(9); }

ImageArea AreaOf(HWND app, int zoom) {
  RECT c;
  GetClientRect(app, &c);
  RECT tb{};
  if (HWND t = FindWindowExW(app, nullptr, L"ToolbarWindow32", nullptr)) GetWindowRect(t, &tb);
  const int toolbar = tb.bottom - tb.top;
  const int panelTop = c.bottom - toolbar - LineHeight() * 7;  // status line + 6 default lines
  POINT o{0, 0};
  ClientToScreen(app, &o);
  ImageArea a;
  a.origin = POINT{o.x + kRuler, o.y + toolbar + kRuler};
  const int imgW = c.right - kRuler, imgH = panelTop - kRuler;
  a.width = std::min((imgW + zoom - 1) / zoom * zoom, imgW);
  a.height = std::min((imgH + zoom - 1) / zoom * zoom, imgH);
  return a;
}

class PictureTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ReleaseModifiers());
    ASSERT_TRUE(MovePointer(200, 200));
    ASSERT_TRUE(app_.Start()) << app_.error();
    pattern_ = std::make_unique<PatternWindow>(kPattern);
    ASSERT_TRUE(pattern_->WaitShown());
    ASSERT_TRUE(MovePointer(812, 433));
    ASSERT_TRUE(app_.Activate());
    // The view shows the pattern around the pointer before anything is copied.
    ASSERT_TRUE(WaitUntil([&] {
      const ImageArea a = AreaOf(app_.hwnd(), 6);
      auto g = ScreenGrab::Take(RECT{a.origin.x, a.origin.y, a.origin.x + a.width, a.origin.y + a.height});
      return g && CountPatternPixels(*g, g->rect(), POINT{812, 433}, 40) > a.width * a.height / 2;
    }));
  }
  void TearDown() override {
    ReleaseModifiers();
    if (app_.Running()) {
      EXPECT_EQ(app_.Close(), std::optional<DWORD>(0));
    }
  }

  // Every pixel of the copied image equals the screen, but for the view's last column, which the
  // window's one-pixel border covers on the screen.
  void ExpectImageEqualsView(const DibImage& img) {
    const ImageArea a = AreaOf(app_.hwnd(), 6);
    ASSERT_EQ(img.width, a.width);
    ASSERT_EQ(img.height, a.height);
    auto g = ScreenGrab::Take(RECT{a.origin.x, a.origin.y, a.origin.x + a.width, a.origin.y + a.height});
    ASSERT_TRUE(g);
    int bad = 0;
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x + 1 < a.width; ++x)
        if (img.Pixel(x, y) != g->Pixel(a.origin.x + x, a.origin.y + y) && ++bad < 4)
          ADD_FAILURE() << "pixel (" << x << "," << y << ") " << std::hex << img.Pixel(x, y)
                        << " on screen " << g->Pixel(a.origin.x + x, a.origin.y + y);
    EXPECT_EQ(bad, 0);
  }

  AppProcess app_;
  std::unique_ptr<PatternWindow> pattern_;
};

TEST_F(PictureTest, ZPutsTheViewsImageOnTheClipboard) {
  ASSERT_TRUE(ClearClipboard());
  const DWORD seq = ClipboardSequence();
  ASSERT_TRUE(KeyTap('Z'));
  ASSERT_TRUE(WaitUntil([&] { return ClipboardSequence() != seq && ClipboardHasFormat(CF_DIB); }));
  auto img = ClipboardDib();
  ASSERT_TRUE(img);
  EXPECT_EQ(img->bit_count, 24);
  ExpectImageEqualsView(*img);
  EXPECT_FALSE(FileExists(app_.FilePath(L"vizmoria.bmp"))) << "without Ctrl no file is written";
}

TEST_F(PictureTest, CtrlZAlsoWritesTheSameImageAsABitmapFile) {
  ASSERT_TRUE(ClearClipboard());
  const DWORD seq = ClipboardSequence();
  ASSERT_TRUE(HoldModifiers(kCtrl));
  ASSERT_TRUE(KeyTap('Z'));
  ASSERT_TRUE(WaitUntil([&] { return ClipboardSequence() != seq && ClipboardHasFormat(CF_DIB); }));
  const std::wstring path = app_.FilePath(L"vizmoria.bmp");
  ASSERT_TRUE(WaitUntil([&] { return FileExists(path); }));
  ASSERT_TRUE(ReleaseModifiers(kCtrl));
  auto clip = ClipboardDib();
  ASSERT_TRUE(clip);

  // A valid bitmap file: header, then the same pixels as the clipboard's bitmap.
  std::optional<std::vector<uint8_t>> file;
  ASSERT_TRUE(WaitUntil([&] {
    file = ReadFileBytes(path);
    return file && file->size() > 54;
  }));
  const std::vector<uint8_t>& f = *file;
  auto u32 = [&](size_t at) {
    uint32_t v;
    std::memcpy(&v, f.data() + at, 4);
    return v;
  };
  ASSERT_EQ(f[0], 'B');
  ASSERT_EQ(f[1], 'M');
  EXPECT_EQ(u32(2), f.size());
  const uint32_t offset = u32(10);
  const int w = static_cast<int>(u32(18)), h = static_cast<int>(u32(22));
  EXPECT_EQ(f[28], 24);
  ASSERT_EQ(w, clip->width);
  ASSERT_EQ(h, clip->height);
  const size_t row = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  ASSERT_GE(f.size(), offset + row * h);
  int bad = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = f.data() + offset + row * (h - 1 - y) + x * 3;
      if (RGB(p[2], p[1], p[0]) != clip->Pixel(x, y)) ++bad;
    }
  EXPECT_EQ(bad, 0);
  ExpectImageEqualsView(*clip);
}

TEST_F(PictureTest, AFileThatCannotBeWrittenIsReportedInAMessageBox) {
  // A folder where the picture file should go: the file cannot be created.
  const std::wstring path = app_.FilePath(L"vizmoria.bmp");
  ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
  // Ctrl is read when the command runs (on the release of Z): it stays held until the box shows.
  ASSERT_TRUE(HoldModifiers(kCtrl));
  ASSERT_TRUE(KeyTap('Z'));
  HWND dlg = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    dlg = FindProcessWindow(app_.pid(), L"#32770");
    return dlg != nullptr;
  }));
  ASSERT_TRUE(ReleaseModifiers(kCtrl));
  wchar_t caption[64] = {};
  GetWindowTextW(dlg, caption, 64);
  EXPECT_STREQ(caption, L"vizmoria");
  const std::wstring texts = DialogTexts(dlg);
  EXPECT_NE(texts.find(test::Lang(L"コピー画像を書き込めませんでした",
                                  L"The copied image could not be saved to a file.")),
            std::wstring::npos);
  PostMessageW(dlg, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }));
  RemoveDirectoryW(path.c_str());
}

}  // namespace
}  // namespace viz::e2e
