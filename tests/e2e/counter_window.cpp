// A window whose colour is a counter that steps over time, for tests that must tell when a
// magnifier captured what it shows.
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "harness.h"
#include "ui/handle_win.h"

namespace viz::e2e {

double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / ticksPerMs;
}

namespace {

constexpr wchar_t kClassName[] = L"VizE2E_Counter";
constexpr BYTE kMark = 0xA5;  // blue of every counter colour
constexpr UINT kMsgStep = WM_APP + 1;
constexpr UINT_PTR kCountTimer = 1;

}  // namespace

struct CounterWindow::Thread {
  std::mutex mutex;
  std::condition_variable cv;
  bool ready = false;
  HWND hwnd = nullptr;
  unsigned counter = 0;
  std::vector<double> shownAt;  // by counter value
  std::thread thread;
};

namespace {

LRESULT CALLBACK CounterProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* t = reinterpret_cast<CounterWindow::Thread*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
    case kMsgStep:
      if (t) {
        {
          std::lock_guard lock(t->mutex);
          ++t->counter;
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
      }
      return 0;
    case WM_PAINT: {
      PaintDc dc(hwnd);
      if (t) {
        unsigned n;
        {
          std::lock_guard lock(t->mutex);
          n = t->counter;
        }
        RECT r;
        GetClientRect(hwnd, &r);
        UniqueBrush brush(CreateSolidBrush(CounterWindow::ColorOf(n)));
        FillRect(dc.get(), &r, brush.get());
        GdiFlush();
        std::lock_guard lock(t->mutex);
        if (t->shownAt.size() <= n) t->shownAt.resize(n + 1, -1.0);
        if (t->shownAt[n] < 0) t->shownAt[n] = NowMs();
        t->cv.notify_all();
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

}  // namespace

COLORREF CounterWindow::ColorOf(unsigned n) { return RGB(n & 0xFF, (n >> 8) & 0xFF, kMark); }

std::optional<unsigned> CounterWindow::CounterOf(COLORREF c) {
  if (c == CLR_INVALID || GetBValue(c) != kMark) return std::nullopt;
  return GetRValue(c) | (GetGValue(c) << 8);
}

CounterWindow::CounterWindow(const RECT& screen_rect, UINT period_ms)
    : rect_(screen_rect), thread_(std::make_unique<Thread>()) {
  Thread* t = thread_.get();
  t->thread = std::thread([t, r = screen_rect, period_ms] {
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = CounterProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly when registered before
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, L"counter",
                                WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                nullptr, nullptr, inst, t);
    if (hwnd) {
      ShowWindow(hwnd, SW_SHOWNOACTIVATE);
      if (period_ms) SetTimer(hwnd, kCountTimer, period_ms, nullptr);
    }
    {
      std::lock_guard lock(t->mutex);
      t->hwnd = hwnd;
      t->ready = true;
    }
    t->cv.notify_all();
    if (!hwnd) return;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  });
  std::unique_lock lock(t->mutex);
  t->cv.wait(lock, [t] { return t->ready; });
  hwnd_ = t->hwnd;
}

CounterWindow::~CounterWindow() {
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  if (thread_->thread.joinable()) thread_->thread.join();
}

std::optional<double> CounterWindow::ShownAt(unsigned n) const {
  std::lock_guard lock(thread_->mutex);
  if (n >= thread_->shownAt.size() || thread_->shownAt[n] < 0) return std::nullopt;
  return thread_->shownAt[n];
}

unsigned CounterWindow::Current() const {
  std::lock_guard lock(thread_->mutex);
  return thread_->counter;
}

unsigned CounterWindow::Step() {
  const unsigned next = Current() + 1;
  if (hwnd_) SendMessageW(hwnd_, kMsgStep, 0, 0);  // returns once painted
  return next;
}

bool CounterWindow::WaitShown(DWORD timeout_ms) const {
  const POINT c{(rect_.left + rect_.right) / 2, (rect_.top + rect_.bottom) / 2};
  return WaitUntil(
      [&] {
        auto grab = ScreenGrab::Take(RECT{c.x, c.y, c.x + 1, c.y + 1});
        return grab && CounterOf(grab->Pixel(c.x, c.y)).has_value();
      },
      timeout_ms, 20);
}

}  // namespace viz::e2e
