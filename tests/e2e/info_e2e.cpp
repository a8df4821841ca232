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

namespace viz::e2e {
namespace {

// ---- the settings file the tests start with --------------------------------------------------

// Command identifiers of the commands the tests bind to keys.
enum : uint16_t {
  kIdColorCOLORREF = 3003, kIdPosUserPosSet = 4010,
  kIdCopyRGB = 6002, kIdCopyHTML = 6006, kIdCopyCOLORREF = 6007, kIdCopyScreen = 6020,
  kIdCopyClient = 6022, kIdCopyUser = 6023, kIdCopyHandle = 6024, kIdCopyClass = 6025,
  kIdCopyText = 6026, kIdCopyWindowSize = 6027, kIdCopyClientSize = 6028, kIdCopyRect = 6029,
  kIdCopyExe = 6035, kIdCopyAll = 6090,
};

struct KeyBinding {
  int row;       // key-table row = settings slot
  WORD vk;
  uint16_t id;
};

int LetterRow(char c) { return 11 + (c - 'A'); }

// The single-line copies in panel order, each on a letter key; H and C keep their default keys.
struct LineCopy {
  char key;
  uint16_t id;
};
constexpr LineCopy kLineCopies[13] = {
    {'A', kIdCopyRGB},    {'H', kIdCopyHTML},        {'C', kIdCopyCOLORREF},
    {'B', kIdCopyScreen}, {'D', kIdCopyClient},      {'E', kIdCopyUser},
    {'G', kIdCopyHandle}, {'J', kIdCopyClass},       {'K', kIdCopyText},
    {'L', kIdCopyWindowSize}, {'M', kIdCopyClientSize}, {'N', kIdCopyRect},
    {'O', kIdCopyExe},
};
constexpr char kToggleCOLORREFKey = 'P';

std::vector<KeyBinding> TestBindings() {
  std::vector<KeyBinding> b;
  b.push_back({10, VK_SPACE, kIdPosUserPosSet});
  b.push_back({38, VK_F2, kIdCopyAll});
  for (const LineCopy& c : kLineCopies) b.push_back({LetterRow(c.key), static_cast<WORD>(c.key), c.id});
  b.push_back({LetterRow(kToggleCOLORREFKey), static_cast<WORD>(kToggleCOLORREFKey), kIdColorCOLORREF});
  return b;
}

// Default display lines (RGB, HTML, screen, handle, class name, text), window at (20, 20).
std::vector<uint8_t> TestSettings(uint16_t colorFlags = 3, uint16_t posFlags = 1,
                                  uint32_t winFlags = 7) {
  std::vector<uint8_t> f(343, 0);
  auto put16 = [&](size_t at, uint32_t v) {
    f[at] = static_cast<uint8_t>(v), f[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  f[0] = 'Q', f[1] = 'O', f[2] = 'R', f[3] = 'B', f[4] = 1, f[5] = 1;
  const size_t b = 22;
  put32(b + 0, 20), put32(b + 4, 20);  // a size of 0 keeps the designed size
  f[b + 16] = 4;                       // 6x
  f[b + 17] = 1;                       // grid shown
  f[b + 19] = 2;                       // gray grid
  f[b + 20] = 1;                       // blue sub-grid
  put32(b + 21, 0x999999), put32(b + 25, 0xFF6666);
  put16(b + 33, colorFlags), put16(b + 35, posFlags), put32(b + 45, winFlags);
  for (const KeyBinding& k : TestBindings()) {
    put16(87 + 4 * k.row, k.vk);
    put16(87 + 4 * k.row + 2, k.id);
  }
  return f;
}

// ---- text helpers ----------------------------------------------------------------------------

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string ShiftJis(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(932, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(932, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

template <typename... Args>
std::wstring Fmt(const wchar_t* fmt, Args... args) {
  wchar_t buf[512];
  const int n = _snwprintf(buf, 512, fmt, args...);
  return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::vector<std::wstring> SplitCrLf(const std::wstring& s) {
  std::vector<std::wstring> out;
  size_t at = 0;
  while (true) {
    const size_t e = s.find(L"\r\n", at);
    out.push_back(s.substr(at, e == std::wstring::npos ? std::wstring::npos : e - at));
    if (e == std::wstring::npos) break;
    at = e + 2;
  }
  return out;
}

std::wstring JoinCrLf(const std::vector<std::wstring>& lines) {
  std::wstring s;
  for (const auto& l : lines) s += l + L"\r\n";
  return s;
}

std::wstring TrimEnd(std::wstring s) {
  while (!s.empty() && static_cast<unsigned>(s.back()) < 33) s.pop_back();
  return s;
}

std::wstring FileNameOf(const std::wstring& path) {
  const size_t p = path.find_last_of(L"\\:");
  return p == std::wstring::npos ? path : path.substr(p + 1);
}

// ---- what the system says about the window under a point -------------------------------------

std::wstring ProcessImagePath(DWORD pid) {
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!h) return {};
  wchar_t buf[MAX_PATH * 4];
  DWORD n = MAX_PATH * 4;
  std::wstring path;
  if (QueryFullProcessImageNameW(h, 0, buf, &n)) path.assign(buf, n);
  CloseHandle(h);
  return path;
}

struct Facts {
  POINT pt{};
  COLORREF color = 0;
  POINT user{};
  HWND hwnd = nullptr;
  std::wstring className, text, exe;
  POINT client{}, clientOrigin{};
  POINT posInParent{};
  RECT rect{}, clientRect{};
};

// Asks the system about the window at `pt`; `color` is the screen pixel there.
std::optional<Facts> FactsAt(POINT pt, POINT user, std::optional<std::wstring> knownText = {}) {
  Facts f;
  f.pt = pt;
  f.user = user;
  f.hwnd = WindowFromPoint(pt);
  if (!f.hwnd) return std::nullopt;
  auto g = ScreenGrab::Take(RECT{pt.x, pt.y, pt.x + 1, pt.y + 1});
  if (!g) return std::nullopt;
  f.color = g->Pixel(pt.x, pt.y);
  wchar_t buf[1024];
  f.className.assign(buf, static_cast<size_t>(std::max(0, GetClassNameW(f.hwnd, buf, 1024))));
  if (knownText) {
    f.text = *knownText;
  } else {
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(f.hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL,
                             2000, &n))
      return std::nullopt;
    f.text.assign(buf, static_cast<size_t>(n));
  }
  f.client = pt;
  ScreenToClient(f.hwnd, &f.client);
  f.clientOrigin = POINT{pt.x - f.client.x, pt.y - f.client.y};
  GetWindowRect(f.hwnd, &f.rect);
  GetClientRect(f.hwnd, &f.clientRect);
  f.posInParent = POINT{f.rect.left, f.rect.top};
  HWND parent = GetAncestor(f.hwnd, GA_PARENT);
  if (parent && parent != GetDesktopWindow()) ScreenToClient(parent, &f.posInParent);
  DWORD pid = 0;
  GetWindowThreadProcessId(f.hwnd, &pid);
  f.exe = ProcessImagePath(pid);
  return f;
}

// Waits until the system finds `w` at `pt` (a window of the test is shown and on top there).
testing::AssertionResult WaitWindowAt(POINT pt, HWND w) {
  if (WaitUntil([&] { return WindowFromPoint(pt) == w; }, 5000)) return testing::AssertionSuccess();
  HWND got = WindowFromPoint(pt);
  wchar_t cls[128] = {};
  GetClassNameW(got, cls, 128);
  RECT r{};
  GetWindowRect(w, &r);
  return testing::AssertionFailure()
         << "at (" << pt.x << "," << pt.y << ") the system finds " << got << " " << Utf8(cls)
         << "; wanted " << w << " visible " << IsWindowVisible(w) << " rect " << r.left << ","
         << r.top << "," << r.right << "," << r.bottom;
}

// The thirteen display lines, in panel order.
std::vector<std::wstring> DisplayLines(const Facts& f) {
  const int r = GetRValue(f.color), g = GetGValue(f.color), b = GetBValue(f.color);
  const unsigned h = static_cast<unsigned>(reinterpret_cast<uintptr_t>(f.hwnd));
  return {
      Fmt(L"RGB      R=%-3d G=%-3d B=%-3d", r, g, b),
      Fmt(L"HTML     %06x", (r << 16) | (g << 8) | b),
      Fmt(L"COLORREF %06x %u", static_cast<unsigned>(f.color), static_cast<unsigned>(f.color)),
      Fmt(L"ｽｸﾘｰﾝ    X=%d Y=%d", f.pt.x, f.pt.y),
      Fmt(L"ｸﾗｲｱﾝﾄ   X=%d Y=%d (%d,%d)", f.client.x, f.client.y, f.clientOrigin.x, f.clientOrigin.y),
      Fmt(L"長さ     W=%d H=%d (%d,%d)", std::abs(f.pt.x - f.user.x) + 1,
          std::abs(f.pt.y - f.user.y) + 1, f.user.x, f.user.y),
      Fmt(L"ﾊﾝﾄﾞﾙ    %08x %u", h, h),
      L"ｸﾗｽ名    " + f.className,
      L"ﾃｷｽﾄ     " + f.text,
      Fmt(L"Wｻｲｽﾞ    L=%d T=%d W=%d H=%d", f.posInParent.x, f.posInParent.y,
          f.rect.right - f.rect.left, f.rect.bottom - f.rect.top),
      Fmt(L"Cｻｲｽﾞ    W=%d H=%d", f.clientRect.right, f.clientRect.bottom),
      Fmt(L"Rect     L=%d T=%d R=%d B=%d", f.rect.left, f.rect.top, f.rect.right, f.rect.bottom),
      L"実行ﾌｧｲﾙ " + f.exe,
  };
}

// The copy text of line `i` (0-based), plain or with Shift.
std::wstring CopyText(const Facts& f, int i, bool shift) {
  const int r = GetRValue(f.color), g = GetGValue(f.color), b = GetBValue(f.color);
  const unsigned h = static_cast<unsigned>(reinterpret_cast<uintptr_t>(f.hwnd));
  const int html = (r << 16) | (g << 8) | b;
  const wchar_t* pair = shift ? L"(%d, %d)" : L"%d, %d";
  const wchar_t* quad = shift ? L"(%d, %d, %d, %d)" : L"%d, %d, %d, %d";
  switch (i) {
    case 0: return shift ? Fmt(L"%x %x %x", r, g, b) : Fmt(L"%d %d %d", r, g, b);
    case 1: return shift ? Fmt(L"%d", html) : Fmt(L"%06x", html);
    case 2: return Fmt(shift ? L"%x" : L"%u", static_cast<unsigned>(f.color));
    case 3: return Fmt(pair, f.pt.x, f.pt.y);
    case 4: return Fmt(pair, f.client.x, f.client.y);
    case 5: return Fmt(pair, std::abs(f.pt.x - f.user.x) + 1, std::abs(f.pt.y - f.user.y) + 1);
    case 6: return shift ? Fmt(L"%08x", h) : Fmt(L"%u", h);
    case 7: return shift ? L"\"" + f.className + L"\"" : f.className;
    case 8: return shift ? L"\"" + f.text + L"\"" : f.text;
    case 9: return Fmt(quad, f.posInParent.x, f.posInParent.y, f.rect.right - f.rect.left,
                       f.rect.bottom - f.rect.top);
    case 10: return Fmt(pair, f.clientRect.right, f.clientRect.bottom);
    case 11: return Fmt(quad, f.rect.left, f.rect.top, f.rect.right, f.rect.bottom);
    case 12: return shift ? FileNameOf(f.exe) : f.exe;
  }
  return {};
}

// ---- windows of the test process ------------------------------------------------------------

constexpr wchar_t kTopClass[] = L"VizInfoTop";
constexpr wchar_t kChildClass[] = L"VizInfoChild";
constexpr wchar_t kHungClass[] = L"VizInfoHung";
constexpr wchar_t kTopText[] = L"情報パネル テスト窓";
constexpr wchar_t kHungText[] = L"応答しない窓";
constexpr COLORREF kTopColor = RGB(0x12, 0xA4, 0x56), kChildColor = RGB(0xF0, 0x0D, 0x7B);
constexpr RECT kTopRect{520, 140, 1080, 560};
constexpr RECT kChildRect{60, 50, 260, 200};  // parent client coordinates
constexpr RECT kHungRect{560, 600, 900, 760};

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterPlain(const wchar_t* name, COLORREF color) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = CreateSolidBrush(color);
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

// A top-level window with a child, on a thread that pumps messages; or, when `hung`, a window
// whose thread stops pumping on Hang() until the object goes away.
class TestWindows {
 public:
  explicit TestWindows(bool hung = false) : hung_(hung) {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    hang_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] { Run(); });
    WaitForSingleObject(ready_, 10000);
  }
  ~TestWindows() {
    SetEvent(release_);
    if (top_) PostMessageW(top_, WM_CLOSE, 0, 0);
    thread_.join();
    CloseHandle(ready_), CloseHandle(hang_), CloseHandle(release_);
  }
  HWND top() const { return top_; }
  HWND child() const { return child_; }
  DWORD thread_id() const { return threadId_; }
  void Hang() { SetEvent(hang_); }

 private:
  void Run() {
    threadId_ = GetCurrentThreadId();
    if (hung_) {
      RegisterPlain(kHungClass, RGB(0x33, 0x66, 0x99));
      top_ = CreateWindowExW(WS_EX_TOPMOST, kHungClass, kHungText, WS_POPUP | WS_BORDER,
                             kHungRect.left, kHungRect.top, kHungRect.right - kHungRect.left,
                             kHungRect.bottom - kHungRect.top, nullptr, nullptr, nullptr, nullptr);
    } else {
      RegisterPlain(kTopClass, kTopColor);
      RegisterPlain(kChildClass, kChildColor);
      top_ = CreateWindowExW(WS_EX_TOPMOST, kTopClass, kTopText, WS_OVERLAPPEDWINDOW,
                             kTopRect.left, kTopRect.top, kTopRect.right - kTopRect.left,
                             kTopRect.bottom - kTopRect.top, nullptr, nullptr, nullptr, nullptr);
      child_ = CreateWindowExW(0, kChildClass, L"", WS_CHILD | WS_VISIBLE | WS_BORDER,
                               kChildRect.left, kChildRect.top, kChildRect.right - kChildRect.left,
                               kChildRect.bottom - kChildRect.top, top_, nullptr, nullptr, nullptr);
    }
    ShowWindow(top_, SW_SHOWNOACTIVATE);
    UpdateWindow(top_);
    SetEvent(ready_);
    for (;;) {
      HANDLE events[2] = {hang_, release_};
      const DWORD r = MsgWaitForMultipleObjects(2, events, FALSE, INFINITE, QS_ALLINPUT);
      if (r == WAIT_OBJECT_0) {  // stop answering until released
        WaitForSingleObject(release_, INFINITE);
        ResetEvent(hang_);
        continue;
      }
      if (r == WAIT_OBJECT_0 + 1 && hung_) {
        DestroyWindow(top_);
        return;
      }
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) return;
        TranslateMessage(&m);
        DispatchMessageW(&m);
      }
      if (!IsWindow(top_)) return;
    }
  }

  bool hung_;
  HANDLE ready_, hang_, release_;
  std::thread thread_;
  HWND top_ = nullptr, child_ = nullptr;
  DWORD threadId_ = 0;
};

// ---- the program's geometry -----------------------------------------------------------------

HFONT WindowFont() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                     L"ＭＳ ゴシック");
}

SIZE TextExtent(const std::wstring& s) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT f = WindowFont();
  HGDIOBJ old = SelectObject(dc, f);
  SIZE sz{};
  GetTextExtentPoint32W(dc, s.data(), static_cast<int>(s.size()), &sz);
  SelectObject(dc, old);
  DeleteObject(f);
  DeleteDC(dc);
  return sz;
}

int LineHeight() { return static_cast<int>(TextExtent(L"A").cy * 1.2) + 1; }

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
  HFONT font = WindowFont();
  HGDIOBJ oldFont = SelectObject(dc, font);
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
  DeleteObject(pen), DeleteObject(shadow), DeleteObject(font), DeleteObject(bmp);
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

class InfoTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ReleaseModifiers());
    ASSERT_TRUE(MovePointer(300, 650));
    ASSERT_EQ(GetACP(), 932u) << "the tests expect the Japanese 8-bit code page";
  }
  void TearDown() override {
    ReleaseModifiers();
    if (app_.Running()) {
      EXPECT_EQ(app_.Close(), std::optional<DWORD>(0));
    }
  }
  void StartApp(std::vector<uint8_t> settings = TestSettings()) {
    AppOptions o;
    o.settings = std::move(settings);
    ASSERT_TRUE(app_.Start(o)) << app_.error();
    ASSERT_TRUE(app_.Activate());
  }

  // Taps a key (with modifiers held at the X server) and waits for the clipboard to change;
  // the new CF_UNICODETEXT, or empty when it did not change.
  std::optional<std::wstring> CopyWith(WORD vk, unsigned mods = kNoMod, DWORD timeout = 3000) {
    if (!app_.Activate()) return std::nullopt;
    const DWORD seq = ClipboardSequence();
    if (mods && !HoldModifiers(mods)) return std::nullopt;
    const bool sent = KeyTap(vk);
    const bool changed = sent && WaitUntil([&] { return ClipboardSequence() != seq; }, timeout);
    if (mods) ReleaseModifiers(mods);
    if (!changed) return std::nullopt;
    std::optional<std::wstring> text;
    WaitUntil([&] {
      text = ClipboardUnicodeText();
      return text.has_value();
    }, 2000);
    return text;
  }

  // Copies all lines until the copy shows the capture at `pt` (the program captures on its own
  // timer, so the first copy after a pointer move may still describe the previous point).
  std::optional<std::wstring> CopyAllAt(POINT pt) {
    const std::wstring screenLine = Fmt(L"ｽｸﾘｰﾝ    X=%d Y=%d", pt.x, pt.y);
    std::optional<std::wstring> text;
    WaitUntil([&] {
      text = CopyWith(VK_F2);
      return text && SplitCrLf(*text).size() == 13 && SplitCrLf(*text)[3] == screenLine;
    }, 8000, 100);
    return text;
  }

  void ExpectCopyAll(const Facts& f) {
    auto text = CopyAllAt(f.pt);
    ASSERT_TRUE(text) << "no copy of all lines";
    const std::vector<std::wstring> want = DisplayLines(f);
    const std::vector<std::wstring> got = SplitCrLf(*text);
    ASSERT_EQ(got.size(), 13u) << Utf8(*text);
    for (size_t i = 0; i < 13; ++i) EXPECT_EQ(Utf8(got[i]), Utf8(want[i])) << "line " << i + 1;
    EXPECT_EQ(*text, TrimEnd(JoinCrLf(want)));
    // The 8-bit text is the same text in Shift-JIS.
    auto ansi = ClipboardAnsiText();
    ASSERT_TRUE(ansi);
    EXPECT_EQ(*ansi, ShiftJis(TrimEnd(JoinCrLf(want))));
  }

  // Every single-line copy, plain and with Shift.
  void ExpectLineCopies(const Facts& f) {
    for (int i = 0; i < 13; ++i)
      for (bool shift : {false, true}) {
        const std::wstring want = TrimEnd(CopyText(f, i, shift));
        if (want.empty()) continue;  // an empty copy leaves the clipboard alone (tested apart)
        ASSERT_TRUE(ClearClipboard());
        auto got = CopyWith(static_cast<WORD>(kLineCopies[i].key), shift ? kShift : kNoMod);
        ASSERT_TRUE(got) << "line " << i + 1 << (shift ? " with Shift" : "") << ": no copy";
        EXPECT_EQ(Utf8(*got), Utf8(want)) << "line " << i + 1 << (shift ? " with Shift" : "");
        auto ansi = ClipboardAnsiText();
        EXPECT_EQ(ansi, std::optional<std::string>(ShiftJis(want))) << "line " << i + 1;
      }
  }

  AppProcess app_;
};

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
  // Lines with Japanese text reach CF_TEXT as Shift-JIS: "ｽｸﾘｰﾝ" is five one-byte katakana.
  auto ansi = ClipboardAnsiText();
  ASSERT_TRUE(ansi);
  const std::string screen = "\xBD\xB8\xD8\xB0\xDD    X=" + std::to_string(onChild.x);
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
  const std::string want = ShiftJis(JoinCrLf(DisplayLines(*f)));
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
  const std::string wantHandle = ShiftJis(CopyText(*f, 6, false) + L"\r\n");
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
  const auto idle = ExpectedPanel(*p, L" 6倍", f->color, shown);
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
  // The notice is "<caption>をｺﾋﾟｰ <joined text>": the joined text here is CR LF alone.
  const auto notice = ExpectedPanel(*p, L"ウィンドウ情報/テキストをｺﾋﾟｰ \r\n", f->color, shown);
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
  const auto idle = ExpectedPanel(*p, L" 6倍", f->color, shown);
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
  const auto success = ExpectedPanel(*p, L"ウィンドウ情報/ハンドルをｺﾋﾟｰ " + handleText + L"\r\n",
                                     f->color, shown);
  const auto failure = ExpectedPanel(
      *p, L"ウィンドウ情報/ハンドルをｺﾋﾟｰできませんでした (クリップボードが使用中です)", f->color,
      shown);
  EXPECT_GT(PanelDiff(*p, success, 0, LineHeight(), nullptr), 0) << "the notice claims a copy";
  report.clear();
  EXPECT_EQ(PanelDiff(*p, failure, 0, LineHeight(), &report), 0) << report;
  // Nothing was written: the clipboard still holds the earlier copy, in both formats.
  EXPECT_EQ(seqWhileHeld, seq);
  EXPECT_EQ(ClipboardSequence(), seq);
  EXPECT_EQ(ClipboardUnicodeText(), clipBefore);
  EXPECT_EQ(ClipboardAnsiText(), std::optional<std::string>(ShiftJis(*clipBefore)));

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
            Utf8(Fmt(L"長さ     W=4 H=1 (%d,%d)", origin.x, origin.y)));
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
  const auto want = ExpectedPanel(*p, L" 6倍", f->color, DisplayLines(*f));
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
