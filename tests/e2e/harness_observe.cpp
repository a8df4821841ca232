// What a test can see: windows, screen pixels and the clipboard.
#include <cstring>

#include "harness.h"
#include "platform/panel_font_win.h"
#include "ui/handle_win.h"

namespace viz::e2e {

std::optional<WindowInfo> QueryWindow(HWND hwnd) {
  if (!hwnd || !IsWindow(hwnd)) return std::nullopt;
  WindowInfo w;
  if (!GetWindowRect(hwnd, &w.rect) || !GetClientRect(hwnd, &w.client)) return std::nullopt;
  w.style = GetWindowLongW(hwnd, GWL_STYLE);
  w.ex_style = GetWindowLongW(hwnd, GWL_EXSTYLE);
  w.visible = IsWindowVisible(hwnd);
  w.zoomed = IsZoomed(hwnd);
  w.iconic = IsIconic(hwnd);
  wchar_t buf[512];
  // WM_GETTEXT to another process's window can block on a hung program; bound it.
  DWORD_PTR len = 0;
  if (SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                          2000, &len))
    w.title.assign(buf, len);
  if (int n = GetClassNameW(hwnd, buf, 512); n > 0) w.class_name.assign(buf, n);
  return w;
}

// ---- screen --------------------------------------------------------------------------------

std::optional<ScreenGrab> ScreenGrab::Take(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return std::nullopt;
  WindowDc screen(nullptr);
  UniqueDc mem(CreateCompatibleDC(screen.get()));
  if (!screen || !mem) return std::nullopt;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap dib(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) return std::nullopt;
  {
    SelectGuard sel(mem.get(), dib.get());
    if (!BitBlt(mem.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY | CAPTUREBLT))
      return std::nullopt;
  }
  GdiFlush();
  ScreenGrab g;
  g.rect_ = r;
  const auto* px = static_cast<const uint32_t*>(bits);
  g.pixels_.assign(px, px + static_cast<size_t>(w) * h);
  return g;
}

std::optional<ScreenGrab> ScreenGrab::TakeDesktop() {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return Take(RECT{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                   y + GetSystemMetrics(SM_CYVIRTUALSCREEN)});
}

bool ScreenGrab::Contains(int x, int y) const {
  return x >= rect_.left && x < rect_.right && y >= rect_.top && y < rect_.bottom;
}

namespace {
COLORREF FromBgrx(uint32_t v) {
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}
}  // namespace

COLORREF ScreenGrab::Pixel(int x, int y) const {
  if (!Contains(x, y)) return CLR_INVALID;
  return FromBgrx(pixels_[static_cast<size_t>(y - rect_.top) * width() + (x - rect_.left)]);
}

COLORREF DibImage::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
  return FromBgrx(bgrx[static_cast<size_t>(y) * width + x]);
}

// ---- clipboard -----------------------------------------------------------------------------

namespace {

// Opens the clipboard for the life of the object, retrying while another process has it open.
class ClipboardLock {
 public:
  ClipboardLock() {
    open_ = WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 3000, 10);
  }
  ClipboardLock(const ClipboardLock&) = delete;
  ClipboardLock& operator=(const ClipboardLock&) = delete;
  ~ClipboardLock() {
    if (open_) CloseClipboard();
  }
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

class GlobalView {
 public:
  explicit GlobalView(HGLOBAL g) : g_(g), p_(g ? GlobalLock(g) : nullptr) {}
  GlobalView(const GlobalView&) = delete;
  GlobalView& operator=(const GlobalView&) = delete;
  ~GlobalView() {
    if (p_) GlobalUnlock(g_);
  }
  const uint8_t* data() const { return static_cast<const uint8_t*>(p_); }
  size_t size() const { return p_ ? GlobalSize(g_) : 0; }

 private:
  HGLOBAL g_;
  void* p_;
};

std::optional<DibImage> DecodeDib(const std::vector<uint8_t>& b) {
  BITMAPINFOHEADER h;
  if (b.size() < sizeof h) return std::nullopt;
  std::memcpy(&h, b.data(), sizeof h);
  if (h.biSize < sizeof h || h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1)
    return std::nullopt;
  if (h.biBitCount != 24 && h.biBitCount != 32) return std::nullopt;
  size_t offset = h.biSize;
  if (h.biCompression == BI_BITFIELDS) {
    if (h.biBitCount != 32) return std::nullopt;
    if (h.biSize == sizeof h) offset += 12;  // three masks follow a plain header
  } else if (h.biCompression != BI_RGB) {
    return std::nullopt;
  }
  offset += static_cast<size_t>(h.biClrUsed) * 4;
  DibImage img;
  img.width = h.biWidth;
  img.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  img.bit_count = h.biBitCount;
  const size_t stride = ((static_cast<size_t>(img.width) * h.biBitCount + 31) / 32) * 4;
  if (img.width > 16384 || img.height > 16384 || offset + stride * img.height > b.size())
    return std::nullopt;
  img.bgrx.resize(static_cast<size_t>(img.width) * img.height);
  for (int y = 0; y < img.height; ++y) {
    const int src_row = h.biHeight < 0 ? y : img.height - 1 - y;
    const uint8_t* row = b.data() + offset + stride * src_row;
    for (int x = 0; x < img.width; ++x) {
      const uint8_t* p = row + static_cast<size_t>(x) * (h.biBitCount / 8);
      img.bgrx[static_cast<size_t>(y) * img.width + x] =
          p[0] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
    }
  }
  return img;
}

}  // namespace

std::optional<std::vector<uint8_t>> ClipboardBytes(UINT format) {
  ClipboardLock lock;
  if (!lock) return std::nullopt;
  HANDLE h = GetClipboardData(format);
  if (!h) return std::nullopt;
  GlobalView view(h);
  if (!view.data()) return std::nullopt;
  return std::vector<uint8_t>(view.data(), view.data() + view.size());
}

std::optional<std::wstring> ClipboardUnicodeText() {
  auto b = ClipboardBytes(CF_UNICODETEXT);
  if (!b) return std::nullopt;
  std::wstring s(b->size() / sizeof(wchar_t), L'\0');
  std::memcpy(s.data(), b->data(), s.size() * sizeof(wchar_t));
  s.resize(wcsnlen(s.c_str(), s.size()));
  return s;
}

std::optional<std::string> ClipboardAnsiText() {
  auto b = ClipboardBytes(CF_TEXT);
  if (!b) return std::nullopt;
  std::string s(b->begin(), b->end());
  s.resize(strnlen(s.c_str(), s.size()));
  return s;
}

std::optional<DibImage> ClipboardDib() {
  auto b = ClipboardBytes(CF_DIB);
  if (!b) return std::nullopt;
  return DecodeDib(*b);
}

bool ClipboardHasFormat(UINT format) { return IsClipboardFormatAvailable(format) != FALSE; }

bool ClearClipboard() {
  ClipboardLock lock;
  return lock && EmptyClipboard();
}

DWORD ClipboardSequence() { return GetClipboardSequenceNumber(); }

UniqueFont PanelFont(int points) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return CreatePanelFont(points, dpi);
}

SIZE PanelTextExtent(const std::wstring& text, int points) {
  UniqueFont f = PanelFont(points);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, f.get());
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  return size;
}

int PanelLineHeight(int points) {
  return static_cast<int>(PanelTextExtent(L"A", points).cy * 1.2) + 1;
}

// ---- other programs' windows ---------------------------------------------------------------

namespace {

BOOL CALLBACK CollectText(HWND w, LPARAM lp) {
  wchar_t buf[1024] = {};
  GetWindowTextW(w, buf, 1024);
  *reinterpret_cast<std::wstring*>(lp) += buf;
  *reinterpret_cast<std::wstring*>(lp) += L"\n";
  return TRUE;
}

}  // namespace

// Only notepad windows are looked at: reading the titles of every window many times a second
// slows the program under test down under Wine (a click on a link then went unanswered).
std::vector<HWND> NotepadWindowsTitled(const std::wstring& part) {
  std::wstring upper = part;
  CharUpperW(upper.data());
  std::vector<HWND> found;
  for (HWND w = FindWindowExW(nullptr, nullptr, L"Notepad", nullptr); w;
       w = FindWindowExW(nullptr, w, L"Notepad", nullptr)) {
    wchar_t title[512] = {};
    GetWindowTextW(w, title, 512);
    std::wstring t(title);
    CharUpperW(t.data());
    if (t.find(upper) != std::wstring::npos) found.push_back(w);
  }
  return found;
}

void CloseNotepadsTitled(const std::wstring& part) {
  for (HWND w : NotepadWindowsTitled(part)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    PostMessageW(w, WM_CLOSE, 0, 0);
    HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    if (h) {
      if (WaitForSingleObject(h, 10000) != WAIT_OBJECT_0) TerminateProcess(h, 1);
      CloseHandle(h);
    }
  }
}

std::wstring DialogTexts(HWND dlg) {
  std::wstring texts;
  EnumChildWindows(dlg, CollectText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

}  // namespace viz::e2e
