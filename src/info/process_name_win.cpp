// The program file of a process, as a drive-letter path.

#include <algorithm>
#include <unordered_map>

#include "info/window_ident_win.h"
#include "platform/sysfuncs_win.h"
#include "ui/handle_win.h"

namespace viz {
namespace {

constexpr DWORD kQueryLimited = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION (Vista on)
constexpr DWORD kPidCacheMs = 5000;      // short enough that a reused process id is soon noticed
constexpr size_t kMaxCachedPids = 128;

// Device names are ASCII; case folding of the rest does not matter for a prefix test.
bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix) {
  if (prefix.empty() || s.size() < prefix.size()) return false;
  auto fold = [](wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; };
  for (size_t i = 0; i < prefix.size(); ++i)
    if (fold(s[i]) != fold(prefix[i])) return false;
  return true;
}

// Wide QueryFullProcessImageNameW, looked up because older systems lack it.
std::wstring FullImageName(HANDLE process) {
  using Fn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")));
  if (!fn) return {};
  std::wstring buf(32768, L'\0');
  DWORD n = static_cast<DWORD>(buf.size());
  if (!fn(process, 0, buf.data(), &n)) return {};
  buf.resize(std::min<size_t>(n, buf.size()));
  return buf;
}

std::wstring ModuleFileNameEx(HANDLE process) {
  UniqueLibrary psapi(LoadSystemLibrary(L"psapi.dll"));
  if (!psapi) return {};
  using Fn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
  auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(psapi.get(), "GetModuleFileNameExW")));
  if (!fn) return {};
  std::wstring buf(32768, L'\0');
  DWORD n = fn(process, nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  buf.resize(n < buf.size() ? n : 0);
  return buf;
}

std::wstring QueryExeName(DWORD pid) {
  UniqueKernelHandle limited(::OpenProcess(kQueryLimited, FALSE, pid));
  UniqueKernelHandle full;
  if (!limited) full.reset(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  HANDLE h = limited ? limited.get() : full.get();
  if (!h) return {};
  std::wstring path = MapDevicePathToDrive(SafeGetProcessImageFileName(h));
  if (path.empty()) path = FullImageName(h);
  if (path.empty()) {
    // GetModuleFileNameExW reads the process's memory, which the limited right does not allow.
    if (!full) full.reset(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (full) path = ModuleFileNameEx(full.get());
  }
  return path;
}

}  // namespace

std::wstring MapDevicePathToDrive(std::wstring_view devicePath) {
  if (devicePath.empty()) return {};
  DWORD drives = ::GetLogicalDrives();
  std::wstring best;
  size_t bestLen = 0;
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    wchar_t drive[3] = {static_cast<wchar_t>(L'A' + i), L':', 0};
    wchar_t targets[1024];
    DWORD n = ::QueryDosDeviceW(drive, targets, 1024);
    if (n == 0) continue;
    // The answer is a list of NUL-terminated names; the first is the current mapping.
    std::wstring_view target(targets);
    if (target.size() <= bestLen || !StartsWithNoCase(devicePath, target)) continue;
    // "\Device\HarddiskVolume1" must not claim "\Device\HarddiskVolume10\...".
    if (devicePath.size() > target.size() && devicePath[target.size()] != L'\\') continue;
    best.assign(drive);
    best.append(devicePath.substr(target.size()));
    bestLen = target.size();
  }
  return best;
}

std::wstring ExeNameOfProcess(DWORD pid) {
  struct Entry {
    std::wstring path;
    DWORD tick;
  };
  static std::unordered_map<DWORD, Entry> cache;  // UI thread only
  DWORD now = ::GetTickCount();
  auto it = cache.find(pid);
  if (it != cache.end() && now - it->second.tick <= kPidCacheMs) return it->second.path;
  if (cache.size() >= kMaxCachedPids) cache.clear();
  std::wstring path = QueryExeName(pid);
  cache[pid] = Entry{path, now};
  return path;
}

}  // namespace viz
