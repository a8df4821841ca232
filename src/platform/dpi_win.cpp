#include "platform/dpi_win.h"

#include <cstddef>

#include "platform/sysfuncs_win.h"
#include "ui/handle_win.h"

namespace viz {
namespace {

template <typename Fn>
Fn User32Proc(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

int SystemDpi() {
  WindowDc dc(nullptr);
  const int dpi = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND w) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn getDpi = User32Proc<Fn>("GetDpiForWindow");
  if (getDpi && w) {
    if (const UINT d = getDpi(w)) return static_cast<int>(d);
  }
  return SystemDpi();
}

int MonitorDpi(HMONITOR monitor) {
  UniqueLibrary shcore(LoadSystemLibrary(L"shcore.dll"));
  if (shcore && monitor) {
    using Fn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(::GetProcAddress(shcore.get(), "GetDpiForMonitor")));
    UINT x = 0, y = 0;
    if (fn && SUCCEEDED(fn(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && y > 0)
      return static_cast<int>(y);
  }
  return SystemDpi();
}

void AdjustWindowRectForDpi(RECT* r, DWORD style, DWORD exStyle, int dpi) {
  using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const Fn forDpi = User32Proc<Fn>("AdjustWindowRectExForDpi");
  if (!forDpi || !forDpi(r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    ::AdjustWindowRectEx(r, style, FALSE, exStyle);
}

bool MessageFontAt(int dpi, LOGFONTW* out) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const ForDpiFn forDpi = User32Proc<ForDpiFn>("SystemParametersInfoForDpi");
  if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0, static_cast<UINT>(dpi))) {
    *out = ncm.lfMessageFont;
    return true;
  }
  bool ok = ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
  if (!ok) {
    // Systems before Vista know the structure without its last member.
    ncm.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    ok = ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
  }
  if (!ok) return false;
  // Given for the system DPI.
  *out = ncm.lfMessageFont;
  const int systemDpi = SystemDpi();
  if (systemDpi != dpi) out->lfHeight = ::MulDiv(out->lfHeight, dpi, systemDpi);
  return true;
}

}  // namespace viz
