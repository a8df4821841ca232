#include "bench_util.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

#include "app/main_window_win.h"

namespace bench {

double NowUs() {
  static const double perUs = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1e6;
  }();
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / perUs;
}

Summary Summarise(std::vector<double> v) {
  Summary s;
  s.count = v.size();
  if (v.empty()) return s;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  s.median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  s.p95 = v[static_cast<size_t>(std::ceil(0.95 * static_cast<double>(n))) - 1];
  s.mean = std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(n);
  s.min = v.front();
  return s;
}

uint64_t ReportedPrivateBytes() {
  using Fn = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
  static Fn fn = [] {
    Fn f = reinterpret_cast<Fn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "K32GetProcessMemoryInfo")));
    if (f) return f;
    wchar_t dir[MAX_PATH];
    UINT n = ::GetSystemDirectoryW(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return Fn{};
    std::wstring path = std::wstring(dir) + L"\\psapi.dll";
    HMODULE psapi = ::LoadLibraryW(path.c_str());  // kept for the life of the process
    return psapi ? reinterpret_cast<Fn>(reinterpret_cast<void*>(
                       ::GetProcAddress(psapi, "GetProcessMemoryInfo")))
                 : Fn{};
  }();
  if (!fn) return 0;
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof(pmc);
  if (!fn(::GetCurrentProcess(), reinterpret_cast<PPROCESS_MEMORY_COUNTERS>(&pmc), sizeof(pmc)))
    return 0;
  return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

uint64_t CommittedPrivateBytes() {
  SYSTEM_INFO si;
  ::GetSystemInfo(&si);
  uint64_t total = 0;
  auto* p = static_cast<BYTE*>(si.lpMinimumApplicationAddress);
  auto* end = static_cast<BYTE*>(si.lpMaximumApplicationAddress);
  MEMORY_BASIC_INFORMATION mbi;
  while (p < end && ::VirtualQuery(p, &mbi, sizeof(mbi)) == sizeof(mbi)) {
    if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
    BYTE* next = static_cast<BYTE*>(mbi.BaseAddress) + mbi.RegionSize;
    if (next <= p) break;
    p = next;
  }
  return total;
}

DWORD GuiGdiObjects() { return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); }

int CountGdiByIndex() {
  // A GDI handle's low word is its slot in the process's handle table; a handle value made of
  // the index alone is accepted by the handle lookup of Wine's gdi32, so every occupied slot
  // answers with its object type.
  int n = 0;
  for (uintptr_t i = 1; i < 0x10000; ++i)
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0) ++n;
  return n;
}

bool CheckGdiIndexProbe() {
  const int before = CountGdiByIndex();
  HPEN pens[16];
  for (HPEN& p : pens) p = ::CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  const int during = CountGdiByIndex();
  for (HPEN p : pens) ::DeleteObject(p);
  const int after = CountGdiByIndex();
  return before > 0 && during == before + 16 && after == before;
}

void Pump(DWORD ms) {
  const DWORD start = ::GetTickCount();
  viz::MainWindow* main = viz::TheMainWindow();
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (main && main->PreTranslate(msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (::GetTickCount() - start >= ms) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

}  // namespace bench
