#include "api_hooks.h"

#include <cstring>
#include <type_traits>

namespace bench {
namespace {

enum Kind { kOther, kCreate, kDelete, kDisplayDc };

// dll, function, counts as GDI, kind
#define BENCH_HOOKS(X)                                   \
  X(gdi32, CreateDCA, true, kDisplayDc)                  \
  X(gdi32, CreateCompatibleDC, true, kCreate)            \
  X(gdi32, DeleteDC, true, kDelete)                      \
  X(gdi32, CreateDIBSection, true, kCreate)              \
  X(gdi32, CreatePen, true, kCreate)                     \
  X(gdi32, CreateSolidBrush, true, kCreate)              \
  X(gdi32, CreateRectRgn, true, kCreate)                 \
  X(gdi32, CreateRectRgnIndirect, true, kCreate)         \
  X(gdi32, CreateFontIndirectW, true, kCreate)           \
  X(gdi32, DeleteObject, true, kDelete)                  \
  X(gdi32, SelectObject, true, kOther)                   \
  X(gdi32, SelectClipRgn, true, kOther)                  \
  X(gdi32, TextOutW, true, kOther)                       \
  X(gdi32, TextOutA, true, kOther)                       \
  X(gdi32, Polyline, true, kOther)                       \
  X(gdi32, Polygon, true, kOther)                        \
  X(gdi32, MoveToEx, true, kOther)                       \
  X(gdi32, LineTo, true, kOther)                         \
  X(gdi32, SetROP2, true, kOther)                        \
  X(gdi32, SetStretchBltMode, true, kOther)              \
  X(gdi32, SetBkMode, true, kOther)                      \
  X(gdi32, SetTextColor, true, kOther)                   \
  X(gdi32, SetBkColor, true, kOther)                     \
  X(gdi32, SetViewportOrgEx, true, kOther)               \
  X(gdi32, Ellipse, true, kOther)                        \
  X(gdi32, Rectangle, true, kOther)                      \
  X(gdi32, PolyPolyline, true, kOther)                   \
  X(gdi32, GdiFlush, true, kOther)                       \
  X(gdi32, GetTextExtentPoint32W, true, kOther)          \
  X(user32, FillRect, true, kOther)                      \
  X(user32, FrameRect, true, kOther)                     \
  X(user32, GetSysColor, false, kOther)                  \
  X(user32, GetSysColorBrush, false, kOther)             \
  X(user32, WindowFromPoint, false, kOther)              \
  X(user32, GetClassNameW, false, kOther)                \
  X(user32, GetClassNameA, false, kOther)                \
  X(user32, GetWindowTextW, false, kOther)               \
  X(user32, GetWindowTextLengthW, false, kOther)         \
  X(user32, SendMessageTimeoutW, false, kOther)          \
  X(user32, SendMessageW, false, kOther)                 \
  X(user32, GetWindowRect, false, kOther)                \
  X(user32, GetClientRect, false, kOther)                \
  X(user32, ClientToScreen, false, kOther)               \
  X(user32, ScreenToClient, false, kOther)               \
  X(user32, MapWindowPoints, false, kOther)              \
  X(user32, GetWindowThreadProcessId, false, kOther)     \
  X(user32, GetAncestor, false, kOther)                  \
  X(user32, GetParent, false, kOther)                    \
  X(user32, GetWindow, false, kOther)                    \
  X(user32, GetWindowLongW, false, kOther)               \
  X(user32, IsWindowVisible, false, kOther)              \
  X(user32, IsWindow, false, kOther)                     \
  X(user32, IsIconic, false, kOther)                     \
  X(user32, GetWindowRgn, false, kOther)                 \
  X(user32, GetDesktopWindow, false, kOther)             \
  X(user32, InvalidateRect, false, kOther)               \
  X(user32, GetDC, false, kOther)                        \
  X(user32, GetWindowInfo, false, kOther)                \
  X(user32, ReleaseDC, false, kOther)                    \
  X(user32, UpdateWindow, false, kOther)                 \
  X(user32, BeginPaint, false, kOther)                   \
  X(user32, EndPaint, false, kOther)                     \
  X(user32, GetActiveWindow, false, kOther)              \
  X(user32, GetCursorPos, false, kOther)                 \
  X(user32, SetCursorPos, false, kOther)                 \
  X(user32, SetWindowsHookExW, false, kOther)            \
  X(kernel32, OpenProcess, false, kOther)                \
  X(kernel32, CloseHandle, false, kOther)                \
  X(user32, GetAsyncKeyState, false, kOther)            \
  X(user32, GetTopWindow, false, kOther)                \
  X(user32, GetSystemMetrics, false, kOther)            \
  X(user32, GetFocus, false, kOther)                    \
  X(kernel32, GetTickCount, false, kOther)              \
  X(kernel32, LoadLibraryW, false, kOther)              \
  X(kernel32, LoadLibraryExW, false, kOther)            \
  X(kernel32, FreeLibrary, false, kOther)               \
  X(kernel32, GetProcAddress, false, kOther)            \
  X(kernel32, GetModuleHandleW, false, kOther)          \
  X(kernel32, GetSystemDirectoryW, false, kOther)       \
  X(kernel32, QueryDosDeviceW, false, kOther)           \
  X(kernel32, GetLogicalDrives, false, kOther)

enum HookId : int {
#define BENCH_ID(dll, fn, gdi, kind) kId_##fn,
  BENCH_HOOKS(BENCH_ID)
#undef BENCH_ID
  kIdBitBlt,
  kIdStretchBlt,
  kIdCount
};

ApiStat g_stats[kIdCount];
Kind g_kinds[kIdCount];
bool g_timing = false, g_counting = false;
int g_depth = 0;
long long g_created = 0, g_deleted = 0;
// A copy from the screen: the source is a device DC, not a memory DC. The program keeps its
// display DC for the window's life, so it may well have been opened before the hooks were set.
bool IsScreenDc(HDC dc) { return ::GetObjectType(dc) == OBJ_DC; }
BlitRecord g_blits;

long long Now() {
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return t.QuadPart;
}

template <typename R>
bool Failed(int id, R r) {
  if constexpr (std::is_pointer_v<R>) {
    if (id == kId_SelectObject) return r == nullptr || r == HGDI_ERROR;
    return r == nullptr;
  } else {
    // These return the previous colour, which may well be black.
    if (id == kId_SetTextColor || id == kId_SetBkColor) return static_cast<DWORD>(r) == CLR_INVALID;
    return r == 0;
  }
}

// One hooked call: counts, and with timing on, the time inside it.
class Scope {
 public:
  explicit Scope(int id) : id_(id) {
    if (!g_timing) return;
    nested_ = g_depth > 0;
    ++g_depth;
    t0_ = Now();
  }
  void Finish(bool failed) {
    ApiStat& s = g_stats[id_];
    if (g_timing) {
      const long long dt = Now() - t0_;
      --g_depth;
      if (nested_) {
        s.ticksNested += dt;
        ++s.callsNested;
      } else {
        s.ticksTop += dt;
      }
    }
    if (!g_counting && !g_timing) return;
    ++s.calls;
    if (failed && s.gdi) ++s.failures;
    if (!failed && g_kinds[id_] == kCreate) ++g_created;
    if (!failed && g_kinds[id_] == kDisplayDc) ++g_created;
    if (!failed && g_kinds[id_] == kDelete) ++g_deleted;
  }

 private:
  int id_;
  bool nested_ = false;
  long long t0_ = 0;
};

template <int Id, typename F>
struct Hook;

template <int Id, typename R, typename... A>
struct Hook<Id, R(WINAPI*)(A...)> {
  static inline R(WINAPI* orig)(A...) = nullptr;
  static R WINAPI Call(A... a) {
    Scope s(Id);
    R r = orig(a...);
    s.Finish(Failed(Id, r));
    return r;
  }
};

decltype(&::BitBlt) g_origBitBlt = nullptr;
decltype(&::StretchBlt) g_origStretchBlt = nullptr;

BOOL WINAPI HookBitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
  Scope s(kIdBitBlt);
  BOOL r = g_origBitBlt(dst, x, y, w, h, src, sx, sy, rop);
  s.Finish(r == 0);
  if (src && IsScreenDc(src)) {
    g_blits.haveBitBlt = true;
    g_blits.srcX = sx;
    g_blits.srcY = sy;
    g_blits.width = w;
    g_blits.height = h;
    g_blits.rop = rop;
  }
  return r;
}

BOOL WINAPI HookStretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw,
                           int sh, DWORD rop) {
  Scope s(kIdStretchBlt);
  BOOL r = g_origStretchBlt(dst, x, y, w, h, src, sx, sy, sw, sh, rop);
  s.Finish(r == 0);
  g_blits.haveStretch = true;
  g_blits.dstX = x;
  g_blits.dstY = y;
  g_blits.dstW = w;
  g_blits.dstH = h;
  g_blits.stretchSrcW = sw;
  g_blits.stretchSrcH = sh;
  return r;
}

// Replaces the import table slot of dll!fn in this executable. Several descriptors may name the
// same DLL; all are patched.
bool PatchImport(const char* dll, const char* fn, void* hook, void** orig) {
  auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return false;
  HMODULE mod = ::GetModuleHandleA(dll);
  FARPROC target = mod ? ::GetProcAddress(mod, fn) : nullptr;
  bool patched = false;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name;
       ++d) {
    const char* name = reinterpret_cast<const char*>(base + d->Name);
    std::string want = std::string(dll) + ".dll";
    if (::lstrcmpiA(name, want.c_str()) != 0 && ::lstrcmpiA(name, dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* iat = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (size_t i = 0; iat[i].u1.Function; ++i) {
      bool match = false;
      if (d->OriginalFirstThunk && !IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) {
        auto* ibn = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
        match = std::strcmp(reinterpret_cast<const char*>(ibn->Name), fn) == 0;
      } else {
        match = target && reinterpret_cast<FARPROC>(iat[i].u1.Function) == target;
      }
      if (!match) continue;
      DWORD old = 0;
      if (!::VirtualProtect(&iat[i].u1.Function, sizeof(iat[i].u1.Function), PAGE_READWRITE, &old))
        continue;
      if (!*orig) *orig = reinterpret_cast<void*>(iat[i].u1.Function);
      iat[i].u1.Function = reinterpret_cast<DWORD_PTR>(hook);
      ::VirtualProtect(&iat[i].u1.Function, sizeof(iat[i].u1.Function), old, &old);
      patched = true;
    }
  }
  return patched;
}

}  // namespace

int InstallHooks(std::vector<std::string>* missing) {
  // Once: a slot patched again would take the hook itself for the original.
  static int installed = -1;
  if (installed >= 0) return installed;
  int& n = installed;
  n = 0;
  auto one = [&](const char* dll, const char* fn, void* hook, void** orig) {
    if (PatchImport(dll, fn, hook, orig))
      ++n;
    else if (missing)
      missing->push_back(fn);
  };
#define BENCH_INSTALL(dll, fn, isGdi, kind)                                               \
  g_stats[kId_##fn].name = #fn;                                                           \
  g_stats[kId_##fn].gdi = isGdi;                                                          \
  g_kinds[kId_##fn] = kind;                                                               \
  one(#dll, #fn, reinterpret_cast<void*>(&Hook<kId_##fn, decltype(&::fn)>::Call),         \
      reinterpret_cast<void**>(&Hook<kId_##fn, decltype(&::fn)>::orig));
  BENCH_HOOKS(BENCH_INSTALL)
#undef BENCH_INSTALL
  g_stats[kIdBitBlt] = ApiStat{"BitBlt", true};
  g_stats[kIdStretchBlt] = ApiStat{"StretchBlt", true};
  one("gdi32", "BitBlt", reinterpret_cast<void*>(&HookBitBlt),
      reinterpret_cast<void**>(&g_origBitBlt));
  one("gdi32", "StretchBlt", reinterpret_cast<void*>(&HookStretchBlt),
      reinterpret_cast<void**>(&g_origStretchBlt));
  return n;
}

void ResetStats() {
  for (ApiStat& s : g_stats) {
    s.calls = s.failures = s.ticksTop = s.ticksNested = s.callsNested = 0;
  }
  g_created = g_deleted = 0;
  g_depth = 0;
  g_blits = BlitRecord{};
}

void SetTiming(bool on) { g_timing = on; }
void SetCounting(bool on) { g_counting = on; }

std::vector<ApiStat> Stats() { return std::vector<ApiStat>(g_stats, g_stats + kIdCount); }

long long FailedGdiCalls() {
  long long n = 0;
  for (const ApiStat& s : g_stats) n += s.failures;
  return n;
}

long long GdiObjectsCreated() { return g_created; }
long long GdiObjectsDeleted() { return g_deleted; }
BlitRecord LastBlits() { return g_blits; }

}  // namespace bench
