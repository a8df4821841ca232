#include "platform/sysfuncs_win.h"

#include "base/texts.h"
#include "ui/handle_win.h"

namespace viz {
namespace {

bool ComputeIsWinNT() {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof(vi);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExA(&vi)) return true;
#pragma GCC diagnostic pop
  return vi.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// The optional libraries stay loaded once loaded: the capture cycle asks for the composition
// state and the frame bounds many times a second, and mapping the library each time would cost
// more than the whole capture. A library that failed to load is looked for again next time.
HMODULE CachedSystemLibrary(const wchar_t* fileName) {
  struct Entry {
    const wchar_t* name;
    HMODULE module;
  };
  static Entry cache[8] = {};
  for (Entry& e : cache)
    if (e.name && lstrcmpiW(e.name, fileName) == 0 && e.module) return e.module;
  HMODULE h = LoadSystemLibrary(fileName);
  if (!h) return nullptr;
  for (Entry& e : cache)
    if (!e.name || lstrcmpiW(e.name, fileName) == 0) {
      e = Entry{fileName, h};
      return h;
    }
  return h;  // more libraries than slots: keep the reference for the life of the process
}

// Calls fn(proc) with the named export of a system library; returns fallback when either is missing.
template <typename Fn, typename Call, typename R>
R WithSystemProc(const wchar_t* lib, const char* proc, R fallback, Call call) {
  HMODULE h = CachedSystemLibrary(lib);
  if (!h) return fallback;
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(h, proc)));
  if (!fn) return fallback;
  return call(fn);
}

}  // namespace

bool IsWinNT() {
  static const bool nt = ComputeIsWinNT();
  return nt;
}

void ChooseUiLanguage() { SetUiLanguage(LanguageOfLangId(::GetUserDefaultUILanguage())); }

bool IsKeyDown(int vk) {
  if (::GetSystemMetrics(SM_SWAPBUTTON)) {
    if (vk == VK_LBUTTON)
      vk = VK_RBUTTON;
    else if (vk == VK_RBUTTON)
      vk = VK_LBUTTON;
  }
  return (static_cast<unsigned short>(::GetAsyncKeyState(vk)) & 0xFF00) != 0;
}

std::wstring GetSystemDirPath() {
  std::wstring dir;
  if (IsWinNT()) {
    wchar_t buf[MAX_PATH];
    UINT n = ::GetSystemDirectoryW(buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) dir.assign(buf, n);
  } else {
    char buf[MAX_PATH];
    UINT n = ::GetSystemDirectoryA(buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
      wchar_t wbuf[MAX_PATH];
      int w = ::MultiByteToWideChar(CP_ACP, 0, buf, static_cast<int>(n), wbuf, MAX_PATH);
      dir.assign(wbuf, w > 0 ? w : 0);
    }
  }
  if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
  return dir;
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
  std::wstring dir = GetSystemDirPath();
  if (dir.empty()) return nullptr;
  std::wstring path = dir + fileName;
  // LOAD_WITH_ALTERED_SEARCH_PATH: dependencies are looked up beside the system library too.
  return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void RestrictDllSearchPath() {
  HMODULE k32 = ::GetModuleHandleW(L"kernel32.dll");
  if (!k32) return;
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(::GetProcAddress(k32, "SetDefaultDllDirectories")));
  if (setDefault) setDefault(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
  // Removes the current directory from the search path on systems without the call above.
  auto setDir = reinterpret_cast<SetDllDirectoryFn>(
      reinterpret_cast<void*>(::GetProcAddress(k32, "SetDllDirectoryW")));
  if (setDir) setDir(L"");
}

bool CanSetLayeredWindowAttributes() {
  // user32 is always loaded; the lookup takes and releases no reference.
  HMODULE u32 = ::GetModuleHandleW(L"user32.dll");
  return u32 && ::GetProcAddress(u32, "SetLayeredWindowAttributes") != nullptr;
}

bool SafeGetLayeredWindowAttributes(HWND w, COLORREF* key, BYTE* alpha, DWORD* flags) {
  using Fn = BOOL(WINAPI*)(HWND, COLORREF*, BYTE*, DWORD*);
  return WithSystemProc<Fn>(L"user32.dll", "GetLayeredWindowAttributes", false,
                            [&](Fn fn) { return fn(w, key, alpha, flags) != FALSE; });
}

bool SafeSetLayeredWindowAttributes(HWND w, COLORREF key, BYTE alpha, DWORD flags) {
  using Fn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  return WithSystemProc<Fn>(L"user32.dll", "SetLayeredWindowAttributes", false,
                            [&](Fn fn) { return fn(w, key, alpha, flags) != FALSE; });
}

namespace {
bool (*g_compositionOverride)() = nullptr;
}  // namespace

void OverrideCompositionStateForTest(bool (*state)()) { g_compositionOverride = state; }

bool SafeDwmIsCompositionEnabled() {
  if (g_compositionOverride) return g_compositionOverride();
  using Fn = HRESULT(WINAPI*)(BOOL*);
  return WithSystemProc<Fn>(L"dwmapi.dll", "DwmIsCompositionEnabled", false, [](Fn fn) {
    BOOL on = FALSE;  // some implementations succeed without writing it
    return SUCCEEDED(fn(&on)) && on;
  });
}

RECT SafeDwmGetWindowAttribute(HWND w) {
  using Fn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
  return WithSystemProc<Fn>(L"dwmapi.dll", "DwmGetWindowAttribute", RECT{}, [&](Fn fn) {
    RECT r{};
    if (FAILED(fn(w, 9 /* DWMWA_EXTENDED_FRAME_BOUNDS */, &r, sizeof(r)))) return RECT{};
    return r;
  });
}

std::wstring SafeGetProcessImageFileName(HANDLE process) {
  using Fn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD);
  return WithSystemProc<Fn>(L"psapi.dll", "GetProcessImageFileNameW", std::wstring(), [&](Fn fn) {
    std::wstring buf(32768, L'\0');
    DWORD n = fn(process, buf.data(), static_cast<DWORD>(buf.size()));
    buf.resize(n < buf.size() ? n : 0);
    return buf;
  });
}

}  // namespace viz
