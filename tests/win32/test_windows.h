// Helpers for the Win32 tests: plain test windows, windows owned by another thread (which can be
// made to stop answering), and waiting while messages keep flowing.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/expected_language_win.h"

namespace viz::test {

inline constexpr const wchar_t* kTestClass = L"VizTestWindow";
inline constexpr const wchar_t* kTestChildClass = L"VizTestChild";

inline void RegisterTestClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  for (const wchar_t* name : {kTestClass, kTestChildClass}) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
  }
}

// A borderless top-level window that never takes the focus, so that creating it on any thread
// sends nothing to the other threads' windows.
inline HWND MakePopup(const wchar_t* text, int x, int y, int w, int h, DWORD exStyle = 0,
                      HWND owner = nullptr, bool visible = true) {
  RegisterTestClasses();
  HWND wnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | exStyle,
                             kTestClass, text, WS_POPUP, x, y, w, h, owner, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (wnd && visible) SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0,
                                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return wnd;
}

// The same, of a class of its own whose procedure answers some messages its own way.
inline HWND MakeProcPopup(const wchar_t* cls, WNDPROC proc, int x, int y, int w, int h) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = cls;
  RegisterClassW(&wc);  // fails harmlessly when registered before
  HWND wnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, cls, L"",
                             WS_POPUP, x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
  if (wnd) SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return wnd;
}

inline HWND MakeChild(HWND parent, const wchar_t* text, int x, int y, int w, int h, DWORD style = WS_VISIBLE) {
  RegisterTestClasses();
  return CreateWindowExW(0, kTestChildClass, text, WS_CHILD | style, x, y, w, h, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// Dispatches every message already waiting (a quit message is dropped).
inline void PumpPending() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

inline BOOL CALLBACK CollectWindow(HWND w, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  return TRUE;
}

// Every window below `root` (not `root` itself).
inline std::vector<HWND> Descendants(HWND root) {
  std::vector<HWND> all;
  EnumChildWindows(root, CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

// The settings file the program under test reads: its own path with ".bin".
inline std::wstring SettingsFileOfThisProgram() {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path = exe;
  return path.substr(0, path.rfind(L'.')) + L".bin";
}

inline void PumpFor(DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    DWORD spent = GetTickCount() - start;
    if (spent >= ms) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
  }
}

// Waits for the event while answering the messages sent to this thread's windows.
inline bool WaitPumping(HANDLE ev, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    DWORD spent = GetTickCount() - start;
    if (spent >= ms) return false;
    DWORD r = MsgWaitForMultipleObjects(1, &ev, FALSE, ms - spent, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return true;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
}

// A thread that creates windows with `setup` and then either pumps messages or, when `hang` is
// set, stops answering them, until it is stopped. Its windows die with it.
class WindowThread {
 public:
  WindowThread(std::function<void()> setup, bool hang)
      : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, setup = std::move(setup), hang] {
      threadId_ = GetCurrentThreadId();
      MSG m;
      PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread its queue
      setup();
      SetEvent(ready_);
      if (hang) {
        WaitForSingleObject(stop_, INFINITE);
        return;
      }
      while (WaitPumping(stop_, INFINITE) == false) {
      }
    });
    WaitPumping(ready_, 10000);
  }
  WindowThread(const WindowThread&) = delete;
  WindowThread& operator=(const WindowThread&) = delete;
  ~WindowThread() {
    SetEvent(stop_);
    thread_.join();
    CloseHandle(ready_);
    CloseHandle(stop_);
  }

 private:
  HANDLE ready_;
  HANDLE stop_;
  DWORD threadId_ = 0;
  std::thread thread_;
};

inline std::wstring ClassOf(HWND w) {
  wchar_t buf[256];
  int n = GetClassNameW(w, buf, 256);
  return std::wstring(buf, n > 0 ? n : 0);
}

inline std::wstring TextOf(HWND w) {
  wchar_t buf[512];
  int n = GetWindowTextW(w, buf, 512);
  return std::wstring(buf, n > 0 ? n : 0);
}

inline bool SameFileName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

inline std::wstring ModulePath() {
  wchar_t buf[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
  return std::wstring(buf, n);
}

}  // namespace viz::test
