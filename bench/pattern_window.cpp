// vizpattern: a window whose every pixel tells its own screen position, for the motion benchmark:
// the magnified view's centre then tells which point a picture was taken at.
//   vizpattern.exe --rect L,T,R,B [--seconds S]
// Colour of screen point (x, y): red = x & 0xFF, green = y & 0xFF, blue = the next four bits of
// x (low nibble) and of y (high nibble). bench/motion_probe.py decodes it.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace {

RECT g_rect{480, 180, 1120, 720};
int g_seconds = 0;
HDC g_picture = nullptr;

COLORREF PatternColor(int x, int y) {
  return RGB(x & 0xFF, y & 0xFF, ((x >> 8) & 0x0F) | (((y >> 8) & 0x0F) << 4));
}

HDC MakePicture(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp) return nullptr;
  auto* px = static_cast<DWORD*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = PatternColor(r.left + x, r.top + y);
      px[y * w + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  HDC dc = ::CreateCompatibleDC(nullptr);
  ::SelectObject(dc, bmp);
  return dc;
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(w, &ps);
      ::BitBlt(dc, 0, 0, g_rect.right - g_rect.left, g_rect.bottom - g_rect.top, g_picture, 0, 0,
               SRCCOPY);
      ::EndPaint(w, &ps);
      return 0;
    }
    case WM_TIMER:
      ::DestroyWindow(w);
      return 0;
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
  for (int i = 1; i + 1 < argc; ++i) {
    if (!std::wcscmp(argv[i], L"--rect"))
      std::swscanf(argv[++i], L"%ld,%ld,%ld,%ld", &g_rect.left, &g_rect.top, &g_rect.right,
                   &g_rect.bottom);
    else if (!std::wcscmp(argv[i], L"--seconds"))
      g_seconds = _wtoi(argv[++i]);
  }
  ::LocalFree(argv);
  g_picture = MakePicture(g_rect);
  if (!g_picture) return 1;
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.lpszClassName = L"VizPattern";
  ::RegisterClassW(&wc);
  HWND w = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, wc.lpszClassName,
                             L"vizpattern", WS_POPUP, g_rect.left, g_rect.top,
                             g_rect.right - g_rect.left, g_rect.bottom - g_rect.top, nullptr,
                             nullptr, inst, nullptr);
  if (!w) return 1;
  ::ShowWindow(w, SW_SHOWNOACTIVATE);
  if (g_seconds > 0) ::SetTimer(w, 1, static_cast<UINT>(g_seconds) * 1000, nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
