// A window whose every pixel tells its own screen position, for exact checks of magnified and
// copied pixels.
//
// It runs on a thread of its own: the test thread spends its time blocked in waits on another
// process, and a window whose thread does not pump would stop painting (and, under Wine, be
// treated as hung by SendMessageTimeout in the program under test).
#include <cstdlib>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "harness.h"
#include "ui/handle_win.h"

namespace viz::e2e {

COLORREF PatternColor(int x, int y) {
  return RGB(x & 0xFF, y & 0xFF, ((x >> 8) & 0x0F) | (((y >> 8) & 0x0F) << 4));
}

POINT PatternPoint(COLORREF c, POINT around) {
  const int x12 = GetRValue(c) | ((GetBValue(c) & 0x0F) << 8);
  const int y12 = GetGValue(c) | ((GetBValue(c) >> 4) << 8);
  // Of all points congruent modulo 4096, the one closest to `around`.
  auto settle = [](int v12, int hint) {
    int v = hint - ((hint - v12) & 0xFFF);
    if (hint - v > 2048) v += 4096;
    return v;
  };
  return POINT{settle(x12, around.x), settle(y12, around.y)};
}

int CountPatternPixels(const ScreenGrab& grab, const RECT& area, POINT around, int radius) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF c = grab.Pixel(x, y);
      if (c == CLR_INVALID) continue;
      const POINT p = PatternPoint(c, around);
      if (std::abs(p.x - around.x) <= radius && std::abs(p.y - around.y) <= radius) ++count;
    }
  return count;
}

namespace {

constexpr wchar_t kClassName[] = L"VizE2E_Pattern";

struct PatternState {
  RECT rect;
  UniqueBitmap bitmap;
};

LRESULT CALLBACK PatternProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* st = reinterpret_cast<PatternState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(
                            reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDc dc(hwnd);
      if (st && st->bitmap) {
        UniqueDc mem(CreateCompatibleDC(dc.get()));
        SelectGuard sel(mem.get(), st->bitmap.get());
        const RECT& p = dc.ps().rcPaint;
        BitBlt(dc.get(), p.left, p.top, p.right - p.left, p.bottom - p.top, mem.get(), p.left,
               p.top, SRCCOPY);
      }
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      PostQuitMessage(0);
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

UniqueBitmap MakePatternBitmap(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bmp || !bits) return {};
  auto* px = static_cast<uint32_t*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = PatternColor(r.left + x, r.top + y);
      px[static_cast<size_t>(y) * w + x] =
          GetBValue(c) | (GetGValue(c) << 8) | (static_cast<uint32_t>(GetRValue(c)) << 16);
    }
  return bmp;
}

}  // namespace

struct PatternWindow::Thread {
  PatternState state;
  std::mutex mutex;
  std::condition_variable ready_cv;
  bool ready = false;
  HWND hwnd = nullptr;
  std::thread thread;
};

PatternWindow::PatternWindow(const RECT& screen_rect, bool topmost)
    : rect_(screen_rect), topmost_(topmost), thread_(std::make_unique<Thread>()) {
  Thread* t = thread_.get();
  t->state.rect = screen_rect;
  t->thread = std::thread([t, topmost] {
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = PatternProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly when an earlier pattern registered it
    t->state.bitmap = MakePatternBitmap(t->state.rect);
    const RECT& r = t->state.rect;
    HWND hwnd = CreateWindowExW(
        WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | (topmost ? WS_EX_TOPMOST : 0), kClassName,
        L"pattern", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
        nullptr, inst, &t->state);
    if (hwnd) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    {
      std::lock_guard lock(t->mutex);
      t->hwnd = hwnd;
      t->ready = true;
    }
    t->ready_cv.notify_all();
    if (!hwnd) return;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  });
  std::unique_lock lock(t->mutex);
  t->ready_cv.wait(lock, [t] { return t->ready; });
  hwnd_ = t->hwnd;
}

PatternWindow::~PatternWindow() {
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  if (thread_->thread.joinable()) thread_->thread.join();
}

bool PatternWindow::WaitShown(DWORD timeout_ms) const {
  if (!hwnd_) return false;
  const RECT& r = rect_;
  const POINT probes[] = {{r.left, r.top},
                          {r.right - 1, r.top},
                          {r.left, r.bottom - 1},
                          {r.right - 1, r.bottom - 1},
                          {(r.left + r.right) / 2, (r.top + r.bottom) / 2}};
  return WaitUntil(
      [&] {
        auto grab = ScreenGrab::Take(r);
        if (!grab) return false;
        for (const POINT& p : probes)
          if (grab->Pixel(p.x, p.y) != PatternColor(p.x, p.y)) return false;
        return true;
      },
      timeout_ms, 20);
}

void PatternWindow::Raise() const {
  if (hwnd_)
    SetWindowPos(hwnd_, topmost_ ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace viz::e2e
