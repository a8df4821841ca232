// The information panel seen from outside: the texts of the thirteen lines and of every copy,
// computed here from the system's own answers about the window under the cursor (the harness's
// windows, a window whose thread stops answering, and Wine's notepad), the 8-bit clipboard text,
// the text file written with Ctrl, the notice in the status line, and the panel's drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"
#include "info_model.h"

namespace viz::e2e {
namespace {

// ---- the program's geometry -----------------------------------------------------------------

SIZE TextExtent(const std::wstring& s) { return PanelTextExtent(s); }

int LineHeight() { return PanelLineHeight(); }

struct Panel {
  POINT viewOrigin{};  // screen point of the view's (0, 0)
  int width = 0;       // client width
  int top = 0;         // panel top, view coordinates
  int bottom = 0;      // view height
};

std::optional<Panel> PanelOf(HWND app, int visibleLines) {
  RECT client;
  if (!GetClientRect(app, &client)) return std::nullopt;
  HWND toolbar = FindWindowExW(app, nullptr, L"ToolbarWindow32", nullptr);
  RECT tb{};
  if (toolbar) GetWindowRect(toolbar, &tb);
  POINT o{0, 0};
  ClientToScreen(app, &o);
  Panel p;
  p.viewOrigin = POINT{o.x, o.y + (tb.bottom - tb.top)};
  p.width = client.right;
  p.bottom = client.bottom - (tb.bottom - tb.top);
  p.top = p.bottom - LineHeight() * (1 + visibleLines);
  return p;
}

int ClientHeight(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return r.bottom;
}

// The panel as it must look: drawn here with GDI in a DIB the size of the panel (rows top..bottom
// of the view), from the drawing rules. `status` is the zoom label or the notice.
// The panel's colours as the program shows them, read where nothing but the colour can be: the
// shadow line on top, the first separator and the blank column between label and value. Under Wine
// a long run of programs can leave the test process with other system colours than the program
// sees; the positions of everything drawn are still checked exactly against these colours.
struct PanelPalette {
  COLORREF back, pen, shadow;
};
PanelPalette SamplePalette(const Panel& p, int sep) {
  const int lh = LineHeight();
  PanelPalette pal{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW)};
  auto g = ScreenGrab::Take(RECT{p.viewOrigin.x, p.viewOrigin.y + p.top, p.viewOrigin.x + p.width,
                                 p.viewOrigin.y + p.bottom});
  if (!g || p.bottom - p.top < 2 * lh + 1) return pal;
  const int x = p.viewOrigin.x + sep + 2, y = p.viewOrigin.y + p.top;
  pal.shadow = g->Pixel(x, y);
  pal.pen = g->Pixel(x, y + lh);
  pal.back = g->Pixel(x, y + lh + lh / 2);
  return pal;
}

std::vector<uint32_t> ExpectedPanel(const Panel& p, const std::wstring& status, COLORREF swatch,
                                    const std::vector<std::wstring>& lines) {
  const int w = p.width, h = p.bottom - p.top, lh = LineHeight();
  const PanelPalette pal = SamplePalette(p, TextExtent(L"COLORREF").cx + TextExtent(L" ").cx / 2);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  UniqueFont font = PanelFont();
  HGDIOBJ oldFont = SelectObject(dc, font.get());
  RECT all{0, 0, w, h};
  HBRUSH back = CreateSolidBrush(pal.back);
  FillRect(dc, &all, back);
  DeleteObject(back);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  HPEN pen = CreatePen(PS_SOLID, 1, pal.pen);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  TextOutW(dc, lh + 2, 2, status.data(), static_cast<int>(status.size()));
  RECT sw{2, 3, lh - 2, lh - 2};
  HBRUSH swb = CreateSolidBrush(swatch);
  FillRect(dc, &sw, swb);
  DeleteObject(swb);
  POINT frame[5] = {{1, 2}, {lh - 2, 2}, {lh - 2, lh - 2}, {1, lh - 2}, {1, 2}};
  Polyline(dc, frame, 5);
  int y = 2 + lh;
  for (const std::wstring& l : lines) {
    MoveToEx(dc, 0, y - 2, nullptr);
    LineTo(dc, w, y - 2);
    TextOutW(dc, 2, y, l.data(), static_cast<int>(l.size()));
    y += lh;
  }
  const int sep = TextExtent(L"COLORREF").cx + TextExtent(L" ").cx / 2;
  MoveToEx(dc, sep, lh + 1, nullptr);
  LineTo(dc, sep, h);
  HPEN shadow = CreatePen(PS_SOLID, 1, pal.shadow);
  SelectObject(dc, shadow);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, w, 0);
  GdiFlush();
  std::vector<uint32_t> out(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + w * h);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBmp);
  DeleteObject(pen), DeleteObject(shadow), DeleteObject(bmp);
  DeleteDC(dc);
  return out;
}

// Saves pixels as a 32-bit bitmap file, to look at a failed comparison.
void SaveBmp(const std::wstring& path, const std::vector<uint32_t>& px, int w, int h) {
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  const DWORD bytes = static_cast<DWORD>(px.size() * 4);
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + bytes;
  std::vector<uint8_t> out(fh.bfSize);
  memcpy(out.data(), &fh, sizeof fh);
  memcpy(out.data() + sizeof fh, &ih, sizeof ih);
  memcpy(out.data() + fh.bfOffBits, px.data(), bytes);
  WriteFileBytes(path, out);
}

std::wstring ShotDir() {
  auto d = EnvVar(L"VIZ_SHOT_DIR");
  return d ? WindowsPathOf(std::string(d->begin(), d->end())) + L"\\" : ExeFolder();
}

// Pixels of the panel on screen that differ from `want`, rows [y0, y1) of the panel; the window's
// one-pixel border (left, right and bottom edge) is left out.
int PanelDiff(const Panel& p, const std::vector<uint32_t>& want, int y0, int y1, std::string* report) {
  const int h = p.bottom - p.top;
  auto g = ScreenGrab::Take(RECT{p.viewOrigin.x, p.viewOrigin.y + p.top, p.viewOrigin.x + p.width,
                                 p.viewOrigin.y + p.bottom});
  if (!g) return -1;
  int bad = 0;
  for (int y = y0; y < std::min(y1, h - 1); ++y)
    for (int x = 1; x < p.width - 1; ++x) {
      const COLORREF got = g->Pixel(p.viewOrigin.x + x, p.viewOrigin.y + p.top + y);
      const uint32_t v = want[static_cast<size_t>(y) * p.width + x];
      const COLORREF exp = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
      if (got == exp) continue;
      if (++bad <= 5 && report) {
        char line[120];
        std::snprintf(line, sizeof line, "panel (%d,%d): got %06lx want %06lx\n", x, y,
                      static_cast<unsigned long>(got), static_cast<unsigned long>(exp));
        *report += line;
      }
    }
  return bad;
}

// The status line's pixels (right of the swatch), to tell whether its text changed.
std::vector<COLORREF> StatusPixels(const Panel& p) {
  const int lh = LineHeight();
  RECT r{p.viewOrigin.x + lh, p.viewOrigin.y + p.top + 1, p.viewOrigin.x + p.width - 1,
         p.viewOrigin.y + p.top + lh - 2};
  auto g = ScreenGrab::Take(r);
  std::vector<COLORREF> out;
  if (!g) return out;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) out.push_back(g->Pixel(x, y));
  return out;
}

// ---- the fixture ----------------------------------------------------------------------------

class InfoTest : public CopyingTest {};

// ---- texts over the harness's own windows ---------------------------------------------------

TEST_F(InfoTest, CopyAllGivesTheThirteenLinesOfTheWindowUnderTheCursor) {
  TestWindows windows;
  StartApp();
  // On the top-level window's client area, then on its child.
  RECT wr;
  GetWindowRect(windows.top(), &wr);
  const POINT onTop{wr.left + 400, wr.top + 300};
  ASSERT_TRUE(MovePointer(onTop.x, onTop.y));
  auto f = FactsAt(onTop, POINT{0, 0});
  ASSERT_TRUE(f);
  ASSERT_EQ(f->hwnd, windows.top());
  EXPECT_EQ(f->color, kTopColor);
  ExpectCopyAll(*f);

  POINT onChild{kChildRect.left + 17, kChildRect.top + 23};
  ClientToScreen(windows.top(), &onChild);
  ASSERT_TRUE(MovePointer(onChild.x, onChild.y));
  f = FactsAt(onChild, POINT{0, 0});
  ASSERT_TRUE(f);
  ASSERT_EQ(f->hwnd, windows.child());
  EXPECT_EQ(f->color, kChildColor);
  ExpectCopyAll(*f);
  // Lines with Japanese text reach CF_TEXT as Shift-JIS: "ｽｸﾘｰﾝ" is five one-byte katakana;
  // in English the label is plain ASCII.
  auto ansi = ClipboardAnsiText();
  ASSERT_TRUE(ansi);
  const std::string screen = (test::JapaneseUi() ? "\xBD\xB8\xD8\xB0\xDD    X=" : "Screen   X=") +
                             std::to_string(onChild.x);
  EXPECT_NE(ansi->find("\r\n" + screen + " Y=" + std::to_string(onChild.y) + "\r\n"),
            std::string::npos);
}

TEST_F(InfoTest, EverySingleLineCopyPlainAndWithShift) {
  TestWindows windows;
  StartApp();
  // The top-level window: a text, and a client origin that is not the window's corner.
  RECT wr;
  GetWindowRect(windows.top(), &wr);
  const POINT pt{wr.left + 333, wr.top + 222};
  ASSERT_TRUE(MovePointer(pt.x, pt.y));
  auto f = FactsAt(pt, POINT{0, 0});
  ASSERT_TRUE(f);
  ASSERT_EQ(f->hwnd, windows.top());
  ASSERT_TRUE(CopyAllAt(pt));
  ExpectLineCopies(*f);
}

TEST_F(InfoTest, ChildWindowPositionIsInItsParentsClientArea) {
  TestWindows windows;
  StartApp(TestSettings(7, 13, 0x43F));  // every line shown
  POINT pt{kChildRect.left + 150, kChildRect.top + 100};
  ClientToScreen(windows.top(), &pt);
  ASSERT_TRUE(WaitWindowAt(pt, windows.child()));
  ASSERT_TRUE(MovePointer(pt.x, pt.y));
  auto f = FactsAt(pt, POINT{0, 0});
  ASSERT_TRUE(f);
  ASSERT_EQ(f->hwnd, windows.child());
  ASSERT_TRUE(CopyAllAt(pt));
  auto got = CopyWith('L');  // window size: left and top in the parent's client coordinates
  ASSERT_TRUE(got);
  EXPECT_EQ(Utf8(*got), Utf8(Fmt(L"%d, %d, %d, %d", static_cast<int>(kChildRect.left),
                                 static_cast<int>(kChildRect.top),
                                 static_cast<int>(kChildRect.right - kChildRect.left),
                                 static_cast<int>(kChildRect.bottom - kChildRect.top))));
  ExpectCopyAll(*f);
}

// ---- a program nobody on the team wrote -----------------------------------------------------

class Notepad {
 public:
  Notepad() {
    wchar_t sys[MAX_PATH];
    GetSystemDirectoryW(sys, MAX_PATH);
    path_ = std::wstring(sys) + L"\\notepad.exe";
    std::wstring cmd = L"\"" + path_ + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNOACTIVATE;
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
      return;
    WaitUntil([&] { return (hwnd_ = FindProcessWindow(pi_.dwProcessId, L"Notepad")) != nullptr; },
              kStartTimeoutMs);
  }
  ~Notepad() {
    if (hwnd_ && IsWindow(hwnd_)) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    if (pi_.hProcess) {
      if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
      CloseHandle(pi_.hProcess);
      CloseHandle(pi_.hThread);
    }
  }
  HWND hwnd() const { return hwnd_; }

 private:
  std::wstring path_;
  PROCESS_INFORMATION pi_{};
  HWND hwnd_ = nullptr;
};

TEST_F(InfoTest, NotepadsFrameAndEditWindowAsTheSystemDescribesThem) {
  Notepad notepad;
  ASSERT_TRUE(notepad.hwnd()) << "notepad did not start";
  SetWindowPos(notepad.hwnd(), HWND_TOPMOST, 500, 160, 560, 400, SWP_NOACTIVATE);
  StartApp(TestSettings(7, 13, 0x43F));
  RECT wr;
  ASSERT_TRUE(WaitUntil([&] {
    return GetWindowRect(notepad.hwnd(), &wr) && wr.left == 500 && wr.top == 160;
  }));
  // The caption: the frame window itself, with its Japanese title.
  const POINT onCaption{wr.left + 200, wr.top + GetSystemMetrics(SM_CYFRAME) +
                                           GetSystemMetrics(SM_CYCAPTION) / 2};
  ASSERT_TRUE(MovePointer(onCaption.x, onCaption.y));
  auto f = FactsAt(onCaption, POINT{0, 0});
  ASSERT_TRUE(f);
  ASSERT_EQ(f->hwnd, notepad.hwnd());
  EXPECT_FALSE(f->text.empty());
  EXPECT_EQ(FileNameOf(f->exe), L"notepad.exe") << Utf8(f->exe);
  ExpectCopyAll(*f);
  ExpectLineCopies(*f);

  // The edit window that fills the client area.
  const POINT inEdit{wr.left + 300, wr.top + 250};
  ASSERT_TRUE(MovePointer(inEdit.x, inEdit.y));
  f = FactsAt(inEdit, POINT{0, 0});
  ASSERT_TRUE(f);
  ASSERT_NE(f->hwnd, notepad.hwnd());
  ASSERT_EQ(GetAncestor(f->hwnd, GA_ROOT), notepad.hwnd());
  ExpectCopyAll(*f);
}

// ---- the text file written with Ctrl ----------------------------------------------------------

// Makes ".txt" open with notepad while it lives, when the system has no
// association for it (a fresh Wine prefix has the notepad command but not the extension's class).
class TxtAssociation {
 public:
  TxtAssociation() {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L".txt", 0, KEY_READ, &k) == ERROR_SUCCESS) {
      RegCloseKey(k);
      return;
    }
    // Wine's shell reads the machine's classes only.
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L".txt", 0, nullptr, 0, KEY_WRITE, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
      return;
    const wchar_t cls[] = L"txtfile";
    RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(cls), sizeof cls);
    RegCloseKey(k);
    created_ = true;
  }
  ~TxtAssociation() {
    if (created_) RegDeleteKeyW(HKEY_CLASSES_ROOT, L".txt");
  }

 private:
  bool created_ = false;
};

TEST_F(InfoTest, CtrlWritesTheJoinedTextBesideTheProgramAndOpensIt) {
  TxtAssociation txt;
  TestWindows windows;
  StartApp();
  POINT pt{kChildRect.left + 5, kChildRect.top + 6};
  ClientToScreen(windows.top(), &pt);
  ASSERT_TRUE(WaitWindowAt(pt, windows.child()));
  ASSERT_TRUE(MovePointer(pt.x, pt.y));
  auto f = FactsAt(pt, POINT{0, 0});
  ASSERT_TRUE(f);
  ASSERT_TRUE(CopyAllAt(pt));
  const std::wstring file = app_.FilePath(L"vizmoria.txt");
  ASSERT_FALSE(FileExists(file));

  auto text = CopyWith(VK_F2, kCtrl);
  ASSERT_TRUE(text);
  ASSERT_TRUE(WaitUntil([&] { return FileExists(file); }));
  std::optional<std::vector<uint8_t>> bytes;
  const std::string want = Ansi(JoinCrLf(DisplayLines(*f)));
  WaitUntil([&] {
    bytes = ReadFileBytes(file);
    return bytes && bytes->size() == want.size();
  });
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), want);

  // The file is opened with its associated program; close that window again.
  std::vector<HWND> opened;
  EXPECT_TRUE(WaitUntil([&] {
    opened = NotepadWindowsTitled(L"VIZMOR");
    return !opened.empty();
  }, 15000)) << "no window shows the written file";
  CloseNotepadsTitled(L"VIZMOR");

  // A single-line copy with Ctrl replaces the file with its own text.
  auto handle = CopyWith('G', kCtrl);
  ASSERT_TRUE(handle);
  const std::string wantHandle = Ansi(CopyText(*f, 6, false) + L"\r\n");
  EXPECT_TRUE(WaitUntil([&] {
    bytes = ReadFileBytes(file);
    return bytes && std::string(bytes->begin(), bytes->end()) == wantHandle;
  }));
  EXPECT_TRUE(WaitUntil([&] { return !NotepadWindowsTitled(L"VIZMOR").empty(); }, 15000));
  CloseNotepadsTitled(L"VIZMOR");
  EXPECT_TRUE(WaitUntil([&] { return NotepadWindowsTitled(L"VIZMOR").empty(); }, 15000));
}

// ---- the notice and the clipboard ------------------------------------------------------------

TEST_F(InfoTest, EmptyCopyLeavesTheClipboardAloneButShowsTheNotice) {
  TestWindows windows;
  StartApp();
  POINT pt{kChildRect.left + 40, kChildRect.top + 40};
  ClientToScreen(windows.top(), &pt);
  ASSERT_TRUE(WaitWindowAt(pt, windows.child()));
  ASSERT_TRUE(MovePointer(pt.x, pt.y));
  ASSERT_TRUE(CopyAllAt(pt));
  auto p = PanelOf(app_.hwnd(), 6);
  ASSERT_TRUE(p);
  // Wait for the copy-all notice to end (2 s) and the zoom label to come back.
  auto f = FactsAt(pt, POINT{0, 0});
  ASSERT_TRUE(f);
  std::vector<std::wstring> shown;
  for (int i : {0, 1, 3, 6, 7, 8}) shown.push_back(DisplayLines(*f)[i]);
  const auto idle = ExpectedPanel(*p, test::Lang(L" 6倍", L" 6x"), f->color, shown);
  std::string report;
  ASSERT_TRUE(WaitUntil([&] { return PanelDiff(*p, idle, 0, LineHeight(), &report) == 0; }, 5000))
      << report;
  const std::vector<COLORREF> before = StatusPixels(*p);

  ASSERT_TRUE(app_.Activate());
  const DWORD seq = ClipboardSequence();
  const auto clipBefore = ClipboardUnicodeText();
  ASSERT_TRUE(KeyTap('K'));  // the child's text is empty
  EXPECT_TRUE(WaitUntil([&] { return StatusPixels(*p) != before; }, 3000))
      << "no notice after the copy";
  // The notice names the copy and shows the joined text, here CR LF alone.
  const auto notice = ExpectedPanel(
      *p, test::Lang(L"ウィンドウ情報/テキストをｺﾋﾟｰ \r\n", L"Window info/Text copied: \r\n"),
      f->color, shown);
  report.clear();
  EXPECT_TRUE(WaitUntil([&] { return PanelDiff(*p, notice, 0, LineHeight(), &report) == 0; }, 2000))
      << report;
  // The notice comes after the clipboard step: a write would have shown by now.
  EXPECT_FALSE(WaitUntil([&] { return ClipboardSequence() != seq; }, 500));
  EXPECT_EQ(ClipboardUnicodeText(), clipBefore);
}

TEST_F(InfoTest, ClipboardHeldByAnotherProgramIsNotReportedAsCopied) {
  TestWindows windows;
  StartApp();
  POINT pt{kChildRect.left + 40, kChildRect.top + 40};
  ClientToScreen(windows.top(), &pt);
  ASSERT_TRUE(WaitWindowAt(pt, windows.child()));
  ASSERT_TRUE(MovePointer(pt.x, pt.y));
  ASSERT_TRUE(CopyAllAt(pt));
  auto p = PanelOf(app_.hwnd(), 6);
  ASSERT_TRUE(p);
  auto f = FactsAt(pt, POINT{0, 0});
  ASSERT_TRUE(f);
  std::vector<std::wstring> shown;
  for (int i : {0, 1, 3, 6, 7, 8}) shown.push_back(DisplayLines(*f)[i]);
  std::string report;
  const auto idle = ExpectedPanel(*p, test::Lang(L" 6倍", L" 6x"), f->color, shown);
  ASSERT_TRUE(WaitUntil([&] { return PanelDiff(*p, idle, 0, LineHeight(), &report) == 0; }, 5000))
      << report;

  // Another program holds the clipboard open. It only opens it: taking the clipboard over
  // (EmptyClipboard with an owner window) leaves this process with a zero-sized desktop under
  // Wine. What is on the clipboard is the copy of all lines made above.
  const auto clipBefore = ClipboardUnicodeText();
  ASSERT_TRUE(clipBefore);
  ASSERT_TRUE(OpenClipboard(nullptr));
  const DWORD seq = ClipboardSequence();
  ASSERT_TRUE(app_.Activate());
  const std::vector<COLORREF> before = StatusPixels(*p);
  const bool tapped = KeyTap('G');
  const bool noticed = tapped && WaitUntil([&] { return StatusPixels(*p) != before; }, 5000);
  const DWORD seqWhileHeld = ClipboardSequence();
  CloseClipboard();
  ASSERT_TRUE(noticed) << "no notice";
  const std::wstring handleText = CopyText(*f, 6, false);
  const auto success = ExpectedPanel(*p, test::Lang(L"ウィンドウ情報/ハンドルをｺﾋﾟｰ ",
                                                     L"Window info/Handle copied: ") +
                                              handleText + L"\r\n",
                                     f->color, shown);
  const auto failure = ExpectedPanel(
      *p, test::Lang(L"ウィンドウ情報/ハンドルをｺﾋﾟｰできませんでした (クリップボードが使用中です)",
                     L"Window info/Handle not copied (the clipboard is in use)"),
      f->color,
      shown);
  EXPECT_GT(PanelDiff(*p, success, 0, LineHeight(), nullptr), 0) << "the notice claims a copy";
  report.clear();
  EXPECT_EQ(PanelDiff(*p, failure, 0, LineHeight(), &report), 0) << report;
  // Nothing was written: the clipboard still holds the earlier copy, in both formats.
  EXPECT_EQ(seqWhileHeld, seq);
  EXPECT_EQ(ClipboardSequence(), seq);
  EXPECT_EQ(ClipboardUnicodeText(), clipBefore);
  EXPECT_EQ(ClipboardAnsiText(), std::optional<std::string>(Ansi(*clipBefore)));

  // Once released, the same copy works.
  auto text = CopyWith('G');
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, handleText);
}

// ---- the distance line and the display commands --------------------------------------------

TEST_F(InfoTest, DistanceLineThreePixelsRightOfTheOriginReadsW4H1) {
  TestWindows windows;
  StartApp();
  RECT wr;
  GetWindowRect(windows.top(), &wr);
  const POINT origin{wr.left + 300, wr.top + 300};
  ASSERT_TRUE(WaitWindowAt(origin, windows.top()));
  ASSERT_TRUE(MovePointer(origin.x, origin.y));
  const int lh = LineHeight();
  const int h0 = ClientHeight(app_.hwnd());
  ASSERT_TRUE(app_.Activate());
  ASSERT_TRUE(KeyTap(VK_SPACE));  // origin at the cursor; shows the distance line
  EXPECT_TRUE(WaitUntil([&] { return ClientHeight(app_.hwnd()) == h0 + lh; }))
      << ClientHeight(app_.hwnd()) << " vs " << h0 << " + " << lh;
  const POINT pt{origin.x + 3, origin.y};
  ASSERT_TRUE(MovePointer(pt.x, pt.y));
  auto text = CopyAllAt(pt);
  ASSERT_TRUE(text);
  EXPECT_EQ(Utf8(SplitCrLf(*text)[5]),
            Utf8(Fmt(test::Lang(L"長さ     ", L"Distance ") + L"W=4 H=1 (%d,%d)", origin.x, origin.y)));
  auto copy = CopyWith('E');
  ASSERT_TRUE(copy);
  EXPECT_EQ(*copy, L"4, 1");
  auto f = FactsAt(pt, origin);
  ASSERT_TRUE(f);
  ASSERT_EQ(f->hwnd, windows.top());
  ExpectCopyAll(*f);
}

TEST_F(InfoTest, TogglingADisplayCommandChangesTheHeightByOneLine) {
  StartApp();
  const int lh = LineHeight();
  const int h0 = ClientHeight(app_.hwnd());
  ASSERT_TRUE(KeyTap(kToggleCOLORREFKey));
  EXPECT_TRUE(WaitUntil([&] { return ClientHeight(app_.hwnd()) == h0 + lh; }))
      << ClientHeight(app_.hwnd()) << " vs " << h0 << " + " << lh;
  ASSERT_TRUE(app_.Activate());
  ASSERT_TRUE(KeyTap(kToggleCOLORREFKey));
  EXPECT_TRUE(WaitUntil([&] { return ClientHeight(app_.hwnd()) == h0; }))
      << ClientHeight(app_.hwnd()) << " vs " << h0;
}

// ---- a window that stops answering -----------------------------------------------------------

TEST_F(InfoTest, HungWindowUnderTheCursorLeavesTheMagnifierResponsive) {
  TestWindows hung(/*hung=*/true);
  StartApp();
  const POINT pt{kHungRect.left + 100, kHungRect.top + 60};
  ASSERT_TRUE(MovePointer(pt.x, pt.y));
  auto f = FactsAt(pt, POINT{0, 0}, std::wstring(kHungText));
  ASSERT_TRUE(f);
  ASSERT_EQ(f->hwnd, hung.top());
  hung.Hang();
  // For a few seconds the program keeps answering at once while it captures over the window.
  DWORD worst = 0;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 4000) {
    const DWORD t0 = GetTickCount();
    DWORD_PTR r = 0;
    ASSERT_TRUE(SendMessageTimeoutW(app_.hwnd(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, &r));
    worst = std::max(worst, GetTickCount() - t0);
    Sleep(20);
  }
  EXPECT_LT(worst, 400u) << "the magnifier stopped answering for " << worst << " ms";
  // Copies still work, and the window's text is the caption the system keeps for it.
  ExpectCopyAll(*f);
  auto text = CopyWith('K');
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, kHungText);
}

// ---- the panel's drawing --------------------------------------------------------------------

TEST_F(InfoTest, PanelShowsTheStatusLineSwatchAndLinesWhereTheyBelong) {
  TestWindows windows;
  StartApp(TestSettings(7, 13, 0x43F));  // every line shown
  POINT pt{kChildRect.left + 70, kChildRect.top + 20};
  ClientToScreen(windows.top(), &pt);
  ASSERT_TRUE(WaitWindowAt(pt, windows.child()));
  ASSERT_TRUE(MovePointer(pt.x, pt.y));
  auto f = FactsAt(pt, POINT{0, 0});
  ASSERT_TRUE(f);
  ASSERT_TRUE(app_.Activate());
  auto p = PanelOf(app_.hwnd(), 13);
  ASSERT_TRUE(p);
  const auto want = ExpectedPanel(*p, test::Lang(L" 6倍", L" 6x"), f->color, DisplayLines(*f));
  std::string report;
  int bad = -1;
  const bool ok = WaitUntil([&] {
    report.clear();
    bad = PanelDiff(*p, want, 0, p->bottom - p->top, &report);
    return bad == 0;
  }, 8000, 100);
  EXPECT_TRUE(ok) << bad << " pixels differ\n" << report;
  if (!ok) {
    SaveBmp(ShotDir() + L"info_panel_expected.bmp", want, p->width, p->bottom - p->top);
    auto g = ScreenGrab::Take(RECT{p->viewOrigin.x, p->viewOrigin.y + p->top,
                                   p->viewOrigin.x + p->width, p->viewOrigin.y + p->bottom});
    if (g) g->SavePng(ShotDir() + L"info_panel_actual.png");
  }
}

}  // namespace
}  // namespace viz::e2e
