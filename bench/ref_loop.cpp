// vizref: the least a Win32 magnifier does per timer tick, as a yardstick for the program's CPU:
// copy the screen area around the cursor, enlarge it, draw a grid with LineTo and paint, every
// tick, whether anything changed or not. A borderless popup of the magnifier's designed client
// size at the magnifier's place.
//   vizref.exe [--interval MS] [--size WxH] [--pos X,Y] [--mag N] [--seconds S]
//              [--idle|--copy|--pattern]
// --idle: ticks that do nothing (what the timer alone costs); --copy: ticks that only copy the
// area around the cursor from the screen (what no magnifier can leave out); --pattern: no ticks,
// the window shows where each of its pixels is (red: x & 0xFF, green: y & 0xFF, blue: the next
// four bits of x, and of y above them), for the motion benchmark's magnifier to look at.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cwchar>

namespace {

constexpr UINT_PTR kTimerTick = 1;  // one capture, enlargement and paint
constexpr UINT_PTR kTimerEnd = 2;   // the run is over
int g_interval = 60, g_w = 243, g_h = 210, g_x = 75, g_y = 75, g_mag = 6, g_seconds = 0;
bool g_idle = false;  // ticks that do nothing
bool g_copyOnly = false;  // ticks that only copy from the screen
bool g_pattern = false;   // no ticks; the window shows the position pattern
HDC g_screen = nullptr;  // the display, held for the program's life
HDC g_src = nullptr, g_back = nullptr;
HPEN g_pen = nullptr;

HDC MemoryDc(int w, int h) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  ::SelectObject(dc, ::CreateCompatibleBitmap(screen, w, h));
  ::ReleaseDC(nullptr, screen);
  return dc;
}

void DrawPattern() {
  for (int y = 0; y < g_h; ++y)
    for (int x = 0; x < g_w; ++x) {
      const int sx = g_x + x, sy = g_y + y;
      const int high = ((sx >> 8) & 0x0F) | (((sy >> 8) & 0x0F) << 4);
      ::SetPixelV(g_back, x, y, RGB(sx & 0xFF, sy & 0xFF, high));
    }
}

void Tick(HWND w) {
  POINT p;
  ::GetCursorPos(&p);
  const int sw = (g_w + g_mag - 1) / g_mag, sh = (g_h + g_mag - 1) / g_mag;
  ::BitBlt(g_src, 0, 0, sw, sh, g_screen, p.x - sw / 2, p.y - sh / 2, SRCCOPY | CAPTUREBLT);
  if (g_copyOnly) return;
  ::StretchBlt(g_back, 0, 0, sw * g_mag, sh * g_mag, g_src, 0, 0, sw, sh, SRCCOPY);
  HGDIOBJ old = ::SelectObject(g_back, g_pen);
  for (int x = 0; x < g_w; x += g_mag) {
    ::MoveToEx(g_back, x, 0, nullptr);
    ::LineTo(g_back, x, g_h);
  }
  for (int y = 0; y < g_h; y += g_mag) {
    ::MoveToEx(g_back, 0, y, nullptr);
    ::LineTo(g_back, g_w, y);
  }
  ::SelectObject(g_back, old);
  ::InvalidateRect(w, nullptr, FALSE);
  ::UpdateWindow(w);
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTimerTick && !g_idle) Tick(w);
      if (wp == kTimerEnd) ::DestroyWindow(w);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(w, &ps);
      ::BitBlt(dc, 0, 0, g_w, g_h, g_back, 0, 0, SRCCOPY);
      ::EndPaint(w, &ps);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    if (!std::wcscmp(argv[i], L"--idle")) { g_idle = true; continue; }
    if (!std::wcscmp(argv[i], L"--copy")) { g_copyOnly = true; continue; }
    if (!std::wcscmp(argv[i], L"--pattern")) { g_pattern = true; continue; }
    if (i + 1 >= argc) break;
    if (!std::wcscmp(argv[i], L"--interval")) g_interval = _wtoi(argv[++i]);
    else if (!std::wcscmp(argv[i], L"--size")) std::swscanf(argv[++i], L"%dx%d", &g_w, &g_h);
    else if (!std::wcscmp(argv[i], L"--pos")) std::swscanf(argv[++i], L"%d,%d", &g_x, &g_y);
    else if (!std::wcscmp(argv[i], L"--mag")) g_mag = _wtoi(argv[++i]);
    else if (!std::wcscmp(argv[i], L"--seconds")) g_seconds = _wtoi(argv[++i]);
  }
  ::LocalFree(argv);
  if (g_mag < 1) g_mag = 1;
  g_screen = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  g_src = MemoryDc(g_w, g_h);
  g_back = MemoryDc(g_w, g_h);
  g_pen = ::CreatePen(PS_SOLID, 1, RGB(0x99, 0x99, 0x99));
  if (g_pattern) DrawPattern();

  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"VizRef";
  ::RegisterClassW(&wc);
  HWND w = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"VizRef", L"vizref", WS_POPUP | WS_VISIBLE, g_x,
                             g_y, g_w, g_h, nullptr, nullptr, inst, nullptr);
  if (!w) return 1;
  if (!g_pattern) ::SetTimer(w, kTimerTick, static_cast<UINT>(g_interval), nullptr);
  if (g_seconds > 0) ::SetTimer(w, kTimerEnd, static_cast<UINT>(g_seconds) * 1000, nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
