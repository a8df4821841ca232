// Waiting, files and the program under test.
#include "harness.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "ui/handle_win.h"

namespace viz::e2e {

bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms, DWORD poll_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeout_ms) return false;
    // Sleeps at most one poll interval, waking early for messages of this thread.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min(poll_ms, timeout_ms - elapsed),
                              QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

// ---- files ---------------------------------------------------------------------------------

std::wstring ExeFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring MakeTempFolder(const std::wstring& tag) {
  wchar_t base[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, base);
  if (n == 0 || n > MAX_PATH) return {};
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    wchar_t name[64];
    swprintf(name, 64, L"viz-%ls-%lu-%lu-%u\\", tag.c_str(), GetCurrentProcessId(),
             GetTickCount(), attempt);
    std::wstring folder = std::wstring(base) + name;
    if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}

bool RemoveTree(const std::wstring& folder) {
  if (folder.empty()) return false;
  std::wstring from = folder;
  while (!from.empty() && (from.back() == L'\\' || from.back() == L'/')) from.pop_back();
  from.push_back(L'\0');  // SHFileOperation takes a double-NUL-terminated list
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  return SHFileOperationW(&op) == 0;
}

bool FileExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<uint64_t> FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) return std::nullopt;
  if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path) {
  UniqueFile f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(f.get(), &size) || size.QuadPart > (64 << 20)) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!bytes.empty() &&
      (!ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
       got != bytes.size()))
    return std::nullopt;
  return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  UniqueFile f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!f) return false;
  DWORD put = 0;
  return bytes.empty() ||
         (WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
          put == bytes.size());
}

std::optional<std::wstring> EnvVar(const wchar_t* name) {
  const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
  if (n == 0) return std::nullopt;
  std::wstring v(n, L'\0');
  const DWORD got = GetEnvironmentVariableW(name, v.data(), n);
  v.resize(got);
  return v;
}

std::wstring WindowsPathOf(const std::string& path) {
  if (!path.empty() && path[0] == '/') {
    // Wine's own converter knows every drive mapping; Z: is the fallback Wine sets up for "/".
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto to_dos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (to_dos) {
      if (WCHAR* w = to_dos(path.c_str())) {
        std::wstring out(w);
        HeapFree(GetProcessHeap(), 0, w);
        return out;
      }
    }
    std::wstring out = L"Z:";
    for (char c : path) out.push_back(c == '/' ? L'\\' : static_cast<unsigned char>(c));
    return out;
  }
  std::wstring out(path.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), static_cast<int>(path.size()),
                                    out.data(), static_cast<int>(out.size()));
  out.resize(n > 0 ? n : 0);
  return out;
}

// ---- the program under test ----------------------------------------------------------------

std::wstring AppSourcePath() {
  if (auto v = EnvVar(L"VIZ_E2E_APP"); v && !v->empty()) {
    std::string narrow(v->begin(), v->end());
    return WindowsPathOf(narrow);
  }
  return ExeFolder() + VIZ_EXE_NAME;
}

namespace {

struct FindData {
  DWORD pid;
  const wchar_t* class_name;
  bool visible_only;
  HWND found;
};

BOOL CALLBACK FindProc(HWND hwnd, LPARAM lp) {
  auto* d = reinterpret_cast<FindData*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != d->pid) return TRUE;
  if (d->visible_only && !IsWindowVisible(hwnd)) return TRUE;
  wchar_t cls[256];
  if (!GetClassNameW(hwnd, cls, 256) || wcscmp(cls, d->class_name) != 0) return TRUE;
  d->found = hwnd;
  return FALSE;
}

// The current environment with `vars` replacing or adding entries, as a CreateProcessW block.
std::vector<wchar_t> EnvironmentWith(
    const std::vector<std::pair<std::wstring, std::wstring>>& vars) {
  std::vector<std::wstring> entries;
  if (wchar_t* env = GetEnvironmentStringsW()) {
    for (const wchar_t* p = env; *p; p += wcslen(p) + 1) entries.emplace_back(p);
    FreeEnvironmentStringsW(env);
  }
  for (const auto& [name, value] : vars) {
    const std::wstring prefix = name + L"=";
    std::erase_if(entries, [&](const std::wstring& e) {
      return e.size() >= prefix.size() &&
             CompareStringOrdinal(e.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                  static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
    });
    entries.push_back(prefix + value);
  }
  std::vector<wchar_t> block;
  for (const auto& e : entries) {
    block.insert(block.end(), e.begin(), e.end());
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  return block;
}

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s.push_back(c < 128 ? static_cast<char>(c) : '?');
  return s;
}

}  // namespace

namespace {
struct FindChild {
  int id;
  HWND found;
};

BOOL CALLBACK FindChildProc(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<FindChild*>(lp);
  if (GetDlgCtrlID(w) != f->id) return TRUE;
  f->found = w;
  return FALSE;
}
}  // namespace

HWND ControlById(HWND root, int id) {
  FindChild f{id, nullptr};
  if (root) EnumChildWindows(root, FindChildProc, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

HWND FindProcessWindow(DWORD pid, const wchar_t* class_name, bool visible_only) {
  FindData d{pid, class_name, visible_only, nullptr};
  EnumWindows(FindProc, reinterpret_cast<LPARAM>(&d));
  return d.found;
}

AppProcess::~AppProcess() {
  Kill();
  if (!overrides_key_.empty()) {
    RegDeleteTreeW(HKEY_CURRENT_USER, (overrides_key_ + L"\\DllOverrides").c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, overrides_key_.c_str());  // only when nothing else is there
  }
  if (owns_folder_ && !folder_.empty()) {
    // A killed process can hold its image open for a moment after it is signalled.
    WaitUntil([&] { return RemoveTree(folder_); }, 5000, 50);
  }
}

bool AppProcess::Start(const AppOptions& options) {
  error_.clear();
  const std::wstring source = options.program.empty() ? AppSourcePath() : options.program;
  exe_name_ = source.substr(source.find_last_of(L"\\/") + 1);
  if (!FileExists(source)) {
    error_ = "program not found: " + Narrow(source);
    return false;
  }
  if (options.in_place) {
    folder_ = source.substr(0, source.size() - exe_name_.size());
  } else {
    folder_ = MakeTempFolder(L"app");
    if (folder_.empty()) {
      error_ = "cannot create a temporary folder";
      return false;
    }
    owns_folder_ = true;
  }
  if (!options.in_place && !CopyFileW(source.c_str(), exe_path().c_str(), FALSE)) {
    error_ = "cannot copy " + Narrow(source);
    return false;
  }
  if (options.settings && !WriteFileBytes(settings_path(), *options.settings)) {
    error_ = "cannot seed the settings file";
    return false;
  }
  for (const auto& [from, name] : options.plant) {
    if (!CopyFileW(from.c_str(), FilePath(name).c_str(), FALSE)) {
      error_ = "cannot plant " + Narrow(from);
      return false;
    }
  }

  if (!options.prefer_native_dlls.empty()) {
    overrides_key_ = L"Software\\Wine\\AppDefaults\\" + exe_name_;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, (overrides_key_ + L"\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
      error_ = "cannot write the library overrides";
      return false;
    }
    static const wchar_t kOrder[] = L"native,builtin";
    for (const std::wstring& dll : options.prefer_native_dlls)
      RegSetValueExW(key, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kOrder),
                     sizeof kOrder);
    RegCloseKey(key);
  }

  std::wstring cmd = L"\"" + exe_path() + L"\"";
  if (!options.args.empty()) cmd += L" " + options.args;
  std::vector<wchar_t> env = EnvironmentWith(options.env);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe_path().c_str(), cmd.data(), nullptr, nullptr, FALSE,
                      CREATE_UNICODE_ENVIRONMENT, env.data(), folder_.c_str(), &si, &pi)) {
    error_ = "CreateProcessW failed, error " + std::to_string(GetLastError());
    return false;
  }
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  if (options.wait_for_window && !WaitForWindow(options.start_timeout_ms)) {
    error_ = Running() ? "no TApp_Vizmoria window appeared" : "the program ended at start";
    return false;
  }
  return true;
}

bool AppProcess::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool AppProcess::WaitForWindow(DWORD timeout_ms) {
  WaitUntil(
      [&] {
        hwnd_ = FindProcessWindow(pid_, L"TApp_Vizmoria");
        return hwnd_ != nullptr || !Running();
      },
      timeout_ms, 20);
  return hwnd_ != nullptr;
}

bool AppProcess::Activate(DWORD timeout_ms) {
  if (!hwnd_) return false;
  const bool foreground = WaitUntil(
      [&] {
        if (GetForegroundWindow() == hwnd_) return true;
        SetForegroundWindow(hwnd_);
        return false;
      },
      timeout_ms, 50);
  // Without a window manager the X focus follows the pointer, and Wine hands the foreground to
  // the desktop whenever the pointer leaves the focused window: the focus is pinned instead.
  return foreground && (!WithoutWindowManager() || PinXFocus(hwnd_));
}

std::optional<DWORD> AppProcess::Close(DWORD timeout_ms) {
  if (!process_) return std::nullopt;
  if (hwnd_ && IsWindow(hwnd_)) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  return WaitExit(timeout_ms);
}

std::optional<DWORD> AppProcess::WaitExit(DWORD timeout_ms) {
  if (!process_ || WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(process_, &code)) return std::nullopt;
  return code;
}

void AppProcess::Kill() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 0xE2E);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
  hwnd_ = nullptr;
}

// ---- X focus -----------------------------------------------------------------------------------

bool WithoutWindowManager() {
  static const bool none = EnvVar(L"VIZ_DESKTOP").value_or(L"") == L"two-monitors";
  return none;
}

bool PinXFocus(HWND w) {
  // Wine keeps the X window of a top-level window in this property.
  const auto xid = reinterpret_cast<uintptr_t>(GetPropW(w, L"__wine_x11_whole_window"));
  if (!xid) return false;
  return RunUnix("/usr/bin/xdotool windowfocus --sync " + std::to_string(xid)) == 0;
}

// ---- file associations ---------------------------------------------------------------------

namespace {

constexpr const wchar_t* kTestClass = L"vizmoria.e2e.open";

bool SetDefaultValue(HKEY root, const std::wstring& key, const std::wstring& value) {
  HKEY k = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG r = RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
  return r == ERROR_SUCCESS;
}

std::optional<std::wstring> DefaultValue(HKEY root, const std::wstring& key) {
  wchar_t buf[256] = {};
  DWORD size = sizeof buf - sizeof(wchar_t);
  if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(buf);
}

}  // namespace

ScopedOpenCommand::ScopedOpenCommand(const std::wstring& extension, const std::wstring& command)
    : extension_(extension), previous_(DefaultValue(HKEY_CLASSES_ROOT, extension)) {
  ok_ = SetDefaultValue(HKEY_CLASSES_ROOT, std::wstring(kTestClass) + L"\\shell\\open\\command",
                        command) &&
        SetDefaultValue(HKEY_CLASSES_ROOT, extension, kTestClass);
}

ScopedOpenCommand::~ScopedOpenCommand() {
  if (previous_)
    SetDefaultValue(HKEY_CLASSES_ROOT, extension_, *previous_);
  else
    RegDeleteKeyW(HKEY_CLASSES_ROOT, extension_.c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestClass);
}

}  // namespace viz::e2e
