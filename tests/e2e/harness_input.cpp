// Keyboard, buttons, wheel and the real pointer.
//
// Under Wine a pointer warped with SetCursorPos can be put back by the process whose window it
// left, and a modifier pressed with SendInput is re-read from X at every pointer crossing. So the
// pointer and held modifiers go through the X server (xdotool, a Unix program), and keys that are
// tapped, buttons and the wheel go through SendInput.
#include "harness.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace viz::e2e {

namespace {

bool IsExtendedKey(WORD vk) {
  switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
    case VK_INSERT: case VK_DELETE: case VK_RCONTROL: case VK_RMENU:
    case VK_DIVIDE: case VK_NUMLOCK: case VK_APPS: case VK_LWIN: case VK_RWIN:
      return true;
    default:
      return false;
  }
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  return in;
}

bool Send(std::vector<INPUT> inputs) {
  const UINT n = static_cast<UINT>(inputs.size());
  return SendInput(n, inputs.data(), sizeof(INPUT)) == n;
}

INPUT MouseInput(DWORD flags, DWORD data = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = data;
  return in;
}

DWORD ButtonFlag(Button b, bool up) {
  switch (b) {
    case Button::kLeft: return up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    case Button::kRight: return up ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN;
    case Button::kMiddle: return up ? MOUSEEVENTF_MIDDLEUP : MOUSEEVENTF_MIDDLEDOWN;
  }
  return 0;
}

const struct {
  unsigned mod;
  WORD vk;
  const char* x_name;
} kModifiers[] = {{kShift, VK_SHIFT, "shift"}, {kCtrl, VK_CONTROL, "ctrl"}, {kAlt, VK_MENU, "alt"}};

// One argument of a Windows command line, quoted so that CommandLineToArgvW (and Wine's own
// argv builder for Unix programs) gives it back unchanged.
std::wstring QuoteArg(const std::wstring& arg) {
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

std::string UnixPathOf(const std::wstring& path) {
  using ToUnix = char*(CDECL*)(const WCHAR*);
  auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!to_unix) return {};
  char* p = to_unix(path.c_str());
  if (!p) return {};
  std::string out(p);
  HeapFree(GetProcessHeap(), 0, p);
  return out;
}

std::wstring Widen(const std::string& s) {
  std::wstring out(s.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()),
                                    out.data(), static_cast<int>(out.size()));
  out.resize(n > 0 ? n : 0);
  return out;
}

}  // namespace

bool KeyDown(WORD vk) { return Send({KeyInput(vk, false)}); }
bool KeyUp(WORD vk) { return Send({KeyInput(vk, true)}); }

bool KeyTap(WORD vk, unsigned mods) {
  std::vector<INPUT> seq;
  for (const auto& m : kModifiers)
    if (mods & m.mod) seq.push_back(KeyInput(m.vk, false));
  seq.push_back(KeyInput(vk, false));
  seq.push_back(KeyInput(vk, true));
  for (auto it = std::rbegin(kModifiers); it != std::rend(kModifiers); ++it)
    if (mods & it->mod) seq.push_back(KeyInput(it->vk, true));
  return Send(std::move(seq));
}

bool MouseDown(Button b) { return Send({MouseInput(ButtonFlag(b, false))}); }
bool MouseUp(Button b) { return Send({MouseInput(ButtonFlag(b, true))}); }
bool Click(Button b) { return Send({MouseInput(ButtonFlag(b, false)), MouseInput(ButtonFlag(b, true))}); }
bool Wheel(int delta) {
  return Send({MouseInput(MOUSEEVENTF_WHEEL, static_cast<DWORD>(delta))});
}

std::optional<int> RunUnix(const std::string& shell_command, DWORD timeout_ms) {
  static LONG counter = 0;
  wchar_t temp[MAX_PATH + 1];
  if (!GetTempPathW(MAX_PATH + 1, temp)) return std::nullopt;
  wchar_t name[64];
  swprintf(name, 64, L"viz-unix-%lu-%ld.status", GetCurrentProcessId(),
           InterlockedIncrement(&counter));
  const std::wstring status = std::wstring(temp) + name;
  DeleteFileW(status.c_str());
  const std::string status_unix = UnixPathOf(status);
  if (status_unix.empty()) return std::nullopt;  // not running under Wine

  // The status is written to a side file and renamed, so a reader never sees half of it.
  const std::string script = "(" + shell_command + ") >/dev/null 2>&1; echo $? > '" +
                             status_unix + ".tmp' && mv '" + status_unix + ".tmp' '" +
                             status_unix + "'";
  std::wstring cmd = WindowsPathOf("/bin/sh") + L" -c " + QuoteArg(Widen(script));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return std::nullopt;
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  std::optional<int> result;
  WaitUntil(
      [&] {
        auto bytes = ReadFileBytes(status);
        if (!bytes || bytes->empty()) return false;
        result = std::atoi(std::string(bytes->begin(), bytes->end()).c_str());
        return true;
      },
      timeout_ms, 5);
  DeleteFileW(status.c_str());
  return result;
}

bool MovePointer(int x, int y, DWORD timeout_ms) {
  auto at_target = [&] {
    POINT p;
    return GetCursorPos(&p) && p.x == x && p.y == y;
  };
  if (at_target()) return true;
  // X's root window starts at the virtual screen's top-left corner, which lies left of or above
  // (0, 0) when a monitor does.
  const int xx = x - GetSystemMetrics(SM_XVIRTUALSCREEN), xy = y - GetSystemMetrics(SM_YVIRTUALSCREEN);
  const auto rc = RunUnix("/usr/bin/xdotool mousemove " + std::to_string(xx) + " " +
                              std::to_string(xy),
                          timeout_ms);
  return rc == 0 && WaitUntil(at_target, timeout_ms, 5);
}

bool ModifiersDown(unsigned mods) {
  for (const auto& m : kModifiers)
    if ((mods & m.mod) && !(GetAsyncKeyState(m.vk) & 0x8000)) return false;
  return true;
}

bool HoldModifiers(unsigned mods, DWORD timeout_ms) {
  std::string cmd = "/usr/bin/xdotool keydown";
  for (const auto& m : kModifiers)
    if (mods & m.mod) cmd += std::string(" ") + m.x_name;
  return RunUnix(cmd, timeout_ms) == 0 &&
         WaitUntil([&] { return ModifiersDown(mods); }, timeout_ms, 5);
}

bool ReleaseModifiers(unsigned mods, DWORD timeout_ms) {
  std::string cmd = "/usr/bin/xdotool keyup";
  for (const auto& m : kModifiers)
    if (mods & m.mod) cmd += std::string(" ") + m.x_name;
  auto all_up = [&] {
    for (const auto& m : kModifiers)
      if ((mods & m.mod) && (GetAsyncKeyState(m.vk) & 0x8000)) return false;
    return true;
  };
  if (RunUnix(cmd, timeout_ms) != 0) return false;
  if (WaitUntil(all_up, timeout_ms / 2, 5)) return true;
  // A modifier pressed through SendInput is not known to X; release it the same way.
  std::vector<INPUT> ups;
  for (const auto& m : kModifiers)
    if (mods & m.mod) ups.push_back(KeyInput(m.vk, true));
  Send(std::move(ups));
  return WaitUntil(all_up, timeout_ms / 2, 5);
}

}  // namespace viz::e2e
