// Drives vizmoria.exe from outside, the way a user would: starts a private copy of it, sends
// keys and buttons, moves the real pointer, and reads back windows, screen pixels, the clipboard
// and the files the program writes. Runs under Wine on the project's Xvfb display.
//
// Waiting: nothing here sleeps for a fixed time. Every wait is WaitUntil(condition, timeout), which
// polls the condition and pumps the calling thread's messages between polls.
//
// Coordinates: the X screen (the Wine virtual desktop, or the X screens joined by Xinerama)
// starts at the top-left corner of the virtual screen, so a Windows screen point (x, y) is the X
// point (x - SM_XVIRTUALSCREEN, y - SM_YVIRTUALSCREEN); MovePointer relies on this and checks it
// through GetCursorPos.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/expected_language_win.h"
#include "ui/handle_win.h"

namespace viz::e2e {

// ---- waiting -------------------------------------------------------------------------------

inline constexpr DWORD kStartTimeoutMs = 30000;  // program start under a cold wineserver
inline constexpr DWORD kDefaultTimeoutMs = 10000;

// Polls `done` every `poll_ms` until it returns true (true) or `timeout_ms` passes (false).
// Messages of the calling thread are dispatched between polls.
bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms = kDefaultTimeoutMs,
               DWORD poll_ms = 10);

// ---- files and folders ---------------------------------------------------------------------

std::wstring ExeFolder();                             // folder of the running test exe, with '\'
std::wstring MakeTempFolder(const std::wstring& tag);  // new empty folder under %TEMP%, with '\'
bool RemoveTree(const std::wstring& folder);
bool FileExists(const std::wstring& path);
std::optional<uint64_t> FileSize(const std::wstring& path);
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
// A Unix path (as exported by the test scripts) as a Windows path; Windows paths pass unchanged.
std::wstring WindowsPathOf(const std::string& path);
std::optional<std::wstring> EnvVar(const wchar_t* name);

// ---- the program under test ----------------------------------------------------------------

struct AppOptions {
  std::wstring program;  // the program file to copy and run; AppSourcePath() when empty
  std::wstring args;     // appended to the command line after the quoted program path
  std::optional<std::vector<uint8_t>> settings;            // seeded as vizmoria.bin
  std::vector<std::pair<std::wstring, std::wstring>> plant;  // {source path, name in the folder}
  std::vector<std::pair<std::wstring, std::wstring>> env;    // variables set for the child only
  // Libraries (base names, e.g. L"version") Wine must take from the program's folder before its
  // own. Set per program name in Wine's AppDefaults registry key for the life of the process:
  // WINEDLLOVERRIDES in the child's environment block does not reach Wine's loader.
  std::vector<std::wstring> prefer_native_dlls;
  bool wait_for_window = true;
  DWORD start_timeout_ms = kStartTimeoutMs;
  // Runs `program` where it lies instead of from a fresh copy; the folder is left as it is.
  bool in_place = false;
};

// One run of vizmoria.exe from a fresh folder of its own. The program writes its settings, text
// and picture files beside itself, so each test sees only its own files. The destructor kills a
// program still running and removes the folder.
class AppProcess {
 public:
  AppProcess() = default;
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;
  ~AppProcess();

  // Copies the exe, seeds and plants files, starts it and (unless told not to) waits for its
  // main window. False with a reason in error() when any step fails.
  bool Start(const AppOptions& options = {});

  HWND hwnd() const { return hwnd_; }
  DWORD pid() const { return pid_; }
  const std::wstring& folder() const { return folder_; }
  std::wstring exe_path() const { return folder_ + exe_name_; }
  std::wstring FilePath(const std::wstring& name) const { return folder_ + name; }
  std::wstring settings_path() const { return FilePath(L"vizmoria.bin"); }
  const std::string& error() const { return error_; }

  bool Running() const;
  // Waits for the main window of this process (class TApp_Vizmoria, top level, visible).
  bool WaitForWindow(DWORD timeout_ms = kStartTimeoutMs);
  // Makes the main window the foreground window, so that SendInput keys reach it.
  bool Activate(DWORD timeout_ms = kDefaultTimeoutMs);
  // Posts WM_CLOSE and waits for the process to end; the exit code, or empty on timeout.
  std::optional<DWORD> Close(DWORD timeout_ms = kDefaultTimeoutMs);
  // Waits for the process to end by itself; the exit code, or empty on timeout.
  std::optional<DWORD> WaitExit(DWORD timeout_ms = kDefaultTimeoutMs);
  void Kill();

 private:
  std::wstring folder_;
  bool owns_folder_ = false;
  std::wstring exe_name_ = L"vizmoria.exe";
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND hwnd_ = nullptr;
  std::string error_;
  std::wstring overrides_key_;  // AppDefaults key written for prefer_native_dlls, removed at end
};

// True on a desktop without a window manager (the two-monitor desktop of the desktops tier).
bool WithoutWindowManager();
// Gives the X input focus to the X window of top-level window `w` and keeps it there, however
// the pointer moves (without a window manager the focus otherwise follows the pointer); X key
// events, such as modifiers held with HoldModifiers, then reach Wine.
bool PinXFocus(HWND w);

// The program file the tests run: %VIZ_E2E_APP% when set, else vizmoria.exe beside the test exe.
std::wstring AppSourcePath();
// The top-level window of `class_name` owned by process `pid` (visible ones only when asked).
HWND FindProcessWindow(DWORD pid, const wchar_t* class_name, bool visible_only = true);
// The control with dialog ID `id` anywhere below `root` (pages of a window are child dialogs);
// null when there is none or no root.
HWND ControlById(HWND root, int id);

// Names of the libraries a PE file imports, statically or by delay load, in lower case.
std::optional<std::vector<std::string>> PeImports(const std::wstring& path);
// The section names of a PE file, long ones read from its string table.
std::optional<std::vector<std::string>> PeSectionNames(const std::wstring& path);

// ---- input ---------------------------------------------------------------------------------

enum Mod : unsigned { kNoMod = 0, kShift = 1, kCtrl = 2, kAlt = 4 };
enum class Button { kLeft, kRight, kMiddle };

// Keys through SendInput: they go to the foreground window.
bool KeyDown(WORD vk);
bool KeyUp(WORD vk);
// Presses the modifiers, taps the key and releases the modifiers, all in one SendInput batch so
// that no pointer crossing can release a modifier halfway.
bool KeyTap(WORD vk, unsigned mods = kNoMod);

// Buttons and the wheel through SendInput, at the pointer's current position.
bool MouseDown(Button b);
bool MouseUp(Button b);
bool Click(Button b = Button::kLeft);
bool Wheel(int delta);  // WHEEL_DELTA (120) per notch; positive rolls away from the user

// Moves the real X pointer (xdotool) and waits until GetCursorPos reports the point.
bool MovePointer(int x, int y, DWORD timeout_ms = kDefaultTimeoutMs);
// Holds or releases modifiers at the X server (xdotool keydown/keyup), so that they survive
// pointer crossings; waits until GetAsyncKeyState agrees.
bool HoldModifiers(unsigned mods, DWORD timeout_ms = kDefaultTimeoutMs);
bool ReleaseModifiers(unsigned mods = kShift | kCtrl | kAlt, DWORD timeout_ms = kDefaultTimeoutMs);
bool ModifiersDown(unsigned mods);  // every modifier in `mods` is held (GetAsyncKeyState)

// Runs a Unix command line through /bin/sh and waits for it; its exit status, or empty when it
// could not be started or did not finish in time. Wine starts ELF programs with CreateProcess but
// hands back no process handle, so completion is signalled through a status file.
std::optional<int> RunUnix(const std::string& shell_command, DWORD timeout_ms = kDefaultTimeoutMs);

// ---- observation ---------------------------------------------------------------------------

struct WindowInfo {
  RECT rect{};    // GetWindowRect, screen coordinates
  RECT client{};  // GetClientRect
  LONG style = 0;
  LONG ex_style = 0;
  bool visible = false, zoomed = false, iconic = false;
  std::wstring title, class_name;
};
std::optional<WindowInfo> QueryWindow(HWND hwnd);

// Pixels of a screen rectangle copied at one moment; Pixel takes SCREEN coordinates.
class ScreenGrab {
 public:
  static std::optional<ScreenGrab> Take(const RECT& screen_rect);
  static std::optional<ScreenGrab> TakeDesktop();  // the whole virtual screen

  const RECT& rect() const { return rect_; }
  int width() const { return rect_.right - rect_.left; }
  int height() const { return rect_.bottom - rect_.top; }
  bool Contains(int x, int y) const;
  COLORREF Pixel(int x, int y) const;  // CLR_INVALID outside the rectangle
  // Rows top-down, 4 bytes a pixel in B, G, R, 0 order.
  const std::vector<uint32_t>& bgrx() const { return pixels_; }
  bool SavePng(const std::wstring& path) const;

 private:
  RECT rect_{};
  std::vector<uint32_t> pixels_;
};

// A device-independent bitmap read from the clipboard (CF_DIB), decoded to top-down pixels.
struct DibImage {
  int width = 0, height = 0, bit_count = 0;
  std::vector<uint32_t> bgrx;  // top-down, like ScreenGrab
  COLORREF Pixel(int x, int y) const;  // image coordinates; CLR_INVALID outside
};

// Clipboard reads retry while another process holds the clipboard open.
std::optional<std::wstring> ClipboardUnicodeText();            // CF_UNICODETEXT up to its NUL
std::optional<std::vector<uint8_t>> ClipboardBytes(UINT format);  // the whole global block
std::optional<std::string> ClipboardAnsiText();                 // CF_TEXT bytes up to the NUL
std::optional<DibImage> ClipboardDib();
bool ClipboardHasFormat(UINT format);
bool ClearClipboard();
DWORD ClipboardSequence();  // changes whenever any process writes the clipboard

// Pixels of `area` in `grab` that show the pattern colour of some screen point within `radius`
// of `around`: the evidence that a magnified or copied image shows that part of a pattern window.
int CountPatternPixels(const ScreenGrab& grab, const RECT& area, POINT around, int radius);

// Top-level notepad windows whose title contains `part` (compared in upper case), and closing
// them (waiting for their processes to end).
std::vector<HWND> NotepadWindowsTitled(const std::wstring& part);
void CloseNotepadsTitled(const std::wstring& part);

// The texts of a dialog's child controls, each followed by a line feed.
std::wstring DialogTexts(HWND dlg);

// The program's panel font in the language shown, at `points` and the screen's DPI (the
// program's own choice of font, its fallback included), and a text's extent in it.
UniqueFont PanelFont(int points = 9);
SIZE PanelTextExtent(const std::wstring& text, int points = 9);
// Line height of the program's information panel: trunc(1.2 x the height of "A") + 1.
int PanelLineHeight(int points = 9);

// ---- test pattern --------------------------------------------------------------------------

// The colour the pattern shows at screen point (x, y): low bytes of x and y in red and green,
// bits 8..11 of x and y in the low and high nibble of blue. Any 4096 x 4096 block is unique.
COLORREF PatternColor(int x, int y);
// The screen point a pattern colour stands for, given a point around it (within 2048 pixels) to
// settle the wrap of the 12-bit coordinates.
POINT PatternPoint(COLORREF c, POINT around = {0, 0});

// A borderless window, owned by the harness, covering a screen rectangle with the pattern. It runs
// its own thread and message loop, so it repaints whatever the test thread is blocked on.
class PatternWindow {
 public:
  explicit PatternWindow(const RECT& screen_rect, bool topmost = false);
  PatternWindow(const PatternWindow&) = delete;
  PatternWindow& operator=(const PatternWindow&) = delete;
  ~PatternWindow();

  HWND hwnd() const { return hwnd_; }
  const RECT& rect() const { return rect_; }
  // Waits until the screen shows the pattern at the window's corners and centre (i.e. the
  // window is created, shown, painted and not covered there).
  bool WaitShown(DWORD timeout_ms = kDefaultTimeoutMs) const;
  // Re-applies the z-order: top of the topmost band, or top of the normal band.
  void Raise() const;

 private:
  struct Thread;
  RECT rect_;
  bool topmost_;
  HWND hwnd_ = nullptr;
  std::unique_ptr<Thread> thread_;
};

// Makes the shell open files of `extension` (".html") with `command` (`notepad.exe "%1"`) while
// it lives; the extension's previous class comes back afterwards. Wine's shell reads the
// machine's classes only, so this writes HKEY_CLASSES_ROOT.
class ScopedOpenCommand {
 public:
  ScopedOpenCommand(const std::wstring& extension, const std::wstring& command);
  ScopedOpenCommand(const ScopedOpenCommand&) = delete;
  ScopedOpenCommand& operator=(const ScopedOpenCommand&) = delete;
  ~ScopedOpenCommand();
  bool ok() const { return ok_; }

 private:
  std::wstring extension_;
  std::optional<std::wstring> previous_;  // the extension's class before, if it had one
  bool ok_ = false;
};

// A window filled with one colour that stands for a counter: it steps the counter every
// `period_ms` (or only when told, with 0) and records when each value was on screen. What a
// magnifier shows of it then tells when the magnifier captured. Runs on its own thread.
class CounterWindow {
 public:
  CounterWindow(const RECT& screen_rect, UINT period_ms);
  CounterWindow(const CounterWindow&) = delete;
  CounterWindow& operator=(const CounterWindow&) = delete;
  ~CounterWindow();

  static COLORREF ColorOf(unsigned n);
  static std::optional<unsigned> CounterOf(COLORREF c);
  // Milliseconds (NowMs) when value n had been painted; empty for a value not shown yet.
  std::optional<double> ShownAt(unsigned n) const;
  unsigned Current() const;
  // Steps the counter once and waits until the new value is painted; the new value.
  unsigned Step();
  bool WaitShown(DWORD timeout_ms = kDefaultTimeoutMs) const;
  HWND hwnd() const { return hwnd_; }

  struct Thread;  // the window's thread and what it records

 private:
  RECT rect_;
  HWND hwnd_ = nullptr;
  std::unique_ptr<Thread> thread_;
};

// A monotonic clock in milliseconds (QueryPerformanceCounter).
double NowMs();

// ---- failure screenshots -------------------------------------------------------------------

// Saves the whole desktop as a PNG named after the test into %VIZ_SHOT_DIR% (else %TEMP%);
// returns the path written, or empty.
std::wstring SaveFailureShot(const std::string& test_name);

}  // namespace viz::e2e
