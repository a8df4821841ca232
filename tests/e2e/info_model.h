// What the information panel must show and copy, computed from the system's own answers about
// the window under a point; the settings file and key bindings the tests start the program with;
// windows of the test process to point at; and a fixture that copies through the bindings.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "commands/key_table.h"
#include "harness.h"

namespace viz::e2e {

// ---- the settings file the tests start with --------------------------------------------------

// Command identifiers of the commands the tests bind to keys.
enum : uint16_t {
  kIdColorCOLORREF = 3003, kIdPosUserPosSet = 4010,
  kIdCopyRGB = 6002, kIdCopyHTML = 6006, kIdCopyCOLORREF = 6007, kIdCopyScreen = 6020,
  kIdCopyClient = 6022, kIdCopyUser = 6023, kIdCopyHandle = 6024, kIdCopyClass = 6025,
  kIdCopyText = 6026, kIdCopyWindowSize = 6027, kIdCopyClientSize = 6028, kIdCopyRect = 6029,
  kIdCopyExe = 6035, kIdCopyAll = 6090,
};

struct KeyBinding {
  int row;       // key-table row = settings slot
  WORD vk;
  uint16_t id;
};

inline int LetterRow(char c) { return 11 + (c - 'A'); }

// The single-line copies in panel order, each on a letter key; H and C keep their default keys.
struct LineCopy {
  char key;
  uint16_t id;
};
inline constexpr LineCopy kLineCopies[13] = {
    {'A', kIdCopyRGB},    {'H', kIdCopyHTML},        {'C', kIdCopyCOLORREF},
    {'B', kIdCopyScreen}, {'D', kIdCopyClient},      {'E', kIdCopyUser},
    {'G', kIdCopyHandle}, {'J', kIdCopyClass},       {'K', kIdCopyText},
    {'L', kIdCopyWindowSize}, {'M', kIdCopyClientSize}, {'N', kIdCopyRect},
    {'O', kIdCopyExe},
};
inline constexpr char kToggleCOLORREFKey = 'P';

// Besides the copies: the default keys of pause, fixed point, zoom steps, moves, monitor move
// the picture copy and the version page.
inline std::vector<KeyBinding> TestBindings() {
  std::vector<KeyBinding> b;
  b.push_back({10, VK_SPACE, kIdPosUserPosSet});
  b.push_back({38, VK_F2, kIdCopyAll});
  for (const LineCopy& c : kLineCopies) b.push_back({LetterRow(c.key), static_cast<WORD>(c.key), c.id});
  b.push_back({LetterRow(kToggleCOLORREFKey), static_cast<WORD>(kToggleCOLORREFKey), kIdColorCOLORREF});
  const struct {
    WORD vk;
    uint16_t id;
  } defaults[] = {{VK_ESCAPE, 7011}, {'F', 7002}, {VK_PRIOR, 1090}, {VK_NEXT, 1091},
                  {VK_UP, 11001},    {VK_DOWN, 11002}, {VK_LEFT, 11003}, {VK_RIGHT, 11004},
                  {'Q', 11005},      {'Z', 6001},      {VK_F1, 13001}};
  for (const auto& d : defaults) b.push_back({KeyRowOf(d.vk), d.vk, d.id});
  return b;
}

// Default display lines (RGB, HTML, screen, handle, class name, text), window at (20, 20), the
// origin of the distance line at (0, 0).
inline std::vector<uint8_t> TestSettings(uint16_t colorFlags = 3, uint16_t posFlags = 1,
                                         uint32_t winFlags = 7, POINT window = {20, 20},
                                         POINT userOrigin = {0, 0}) {
  std::vector<uint8_t> f(343, 0);
  auto put16 = [&](size_t at, uint32_t v) {
    f[at] = static_cast<uint8_t>(v), f[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  f[0] = 'Q', f[1] = 'O', f[2] = 'R', f[3] = 'B', f[4] = 1, f[5] = 1;
  const size_t b = 22;
  // A size of 0 keeps the designed size.
  put32(b + 0, static_cast<uint32_t>(window.x)), put32(b + 4, static_cast<uint32_t>(window.y));
  f[b + 16] = 4;                       // 6x
  f[b + 17] = 1;                       // grid shown
  f[b + 19] = 2;                       // gray grid
  f[b + 20] = 1;                       // blue sub-grid
  put32(b + 21, 0x999999), put32(b + 25, 0xFF6666);
  put16(b + 33, colorFlags), put16(b + 35, posFlags), put32(b + 45, winFlags);
  put32(b + 37, static_cast<uint32_t>(userOrigin.x)), put32(b + 41, static_cast<uint32_t>(userOrigin.y));
  for (const KeyBinding& k : TestBindings()) {
    put16(87 + 4 * k.row, k.vk);
    put16(87 + 4 * k.row + 2, k.id);
  }
  return f;
}

// ---- text helpers ----------------------------------------------------------------------------

inline std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

// The text in the system's 8-bit code page (Shift-JIS on a Japanese system, 1252 on an English
// or German one).
inline std::string Ansi(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

template <typename... Args>
inline std::wstring Fmt(const wchar_t* fmt, Args... args) {
  wchar_t buf[512];
  const int n = _snwprintf(buf, 512, fmt, args...);
  return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}
template <typename... Args>
inline std::wstring Fmt(const std::wstring& fmt, Args... args) {
  return Fmt(fmt.c_str(), args...);
}

inline std::vector<std::wstring> SplitCrLf(const std::wstring& s) {
  std::vector<std::wstring> out;
  size_t at = 0;
  while (true) {
    const size_t e = s.find(L"\r\n", at);
    out.push_back(s.substr(at, e == std::wstring::npos ? std::wstring::npos : e - at));
    if (e == std::wstring::npos) break;
    at = e + 2;
  }
  return out;
}

inline std::wstring JoinCrLf(const std::vector<std::wstring>& lines) {
  std::wstring s;
  for (const auto& l : lines) s += l + L"\r\n";
  return s;
}

inline std::wstring TrimEnd(std::wstring s) {
  while (!s.empty() && static_cast<unsigned>(s.back()) < 33) s.pop_back();
  return s;
}

inline std::wstring FileNameOf(const std::wstring& path) {
  const size_t p = path.find_last_of(L"\\:");
  return p == std::wstring::npos ? path : path.substr(p + 1);
}

// ---- what the system says about the window under a point -------------------------------------

inline std::wstring ProcessImagePath(DWORD pid) {
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!h) return {};
  wchar_t buf[MAX_PATH * 4];
  DWORD n = MAX_PATH * 4;
  std::wstring path;
  if (QueryFullProcessImageNameW(h, 0, buf, &n)) path.assign(buf, n);
  CloseHandle(h);
  return path;
}

struct Facts {
  POINT pt{};
  COLORREF color = 0;
  POINT user{};
  HWND hwnd = nullptr;
  std::wstring className, text, exe;
  POINT client{}, clientOrigin{};
  POINT posInParent{};
  RECT rect{}, clientRect{};
};

// Asks the system about the window at `pt`; `color` is the screen pixel there.
inline std::optional<Facts> FactsAt(POINT pt, POINT user, std::optional<std::wstring> knownText = {}) {
  Facts f;
  f.pt = pt;
  f.user = user;
  f.hwnd = WindowFromPoint(pt);
  if (!f.hwnd) return std::nullopt;
  auto g = ScreenGrab::Take(RECT{pt.x, pt.y, pt.x + 1, pt.y + 1});
  if (!g) return std::nullopt;
  f.color = g->Pixel(pt.x, pt.y);
  wchar_t buf[1024];
  f.className.assign(buf, static_cast<size_t>(std::max(0, GetClassNameW(f.hwnd, buf, 1024))));
  if (knownText) {
    f.text = *knownText;
  } else {
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(f.hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL,
                             2000, &n))
      return std::nullopt;
    f.text.assign(buf, static_cast<size_t>(n));
  }
  f.client = pt;
  ScreenToClient(f.hwnd, &f.client);
  f.clientOrigin = POINT{pt.x - f.client.x, pt.y - f.client.y};
  GetWindowRect(f.hwnd, &f.rect);
  GetClientRect(f.hwnd, &f.clientRect);
  f.posInParent = POINT{f.rect.left, f.rect.top};
  HWND parent = GetAncestor(f.hwnd, GA_PARENT);
  if (parent && parent != GetDesktopWindow()) ScreenToClient(parent, &f.posInParent);
  DWORD pid = 0;
  GetWindowThreadProcessId(f.hwnd, &pid);
  f.exe = ProcessImagePath(pid);
  return f;
}

// Waits until the system finds `w` at `pt` (a window of the test is shown and on top there).
inline testing::AssertionResult WaitWindowAt(POINT pt, HWND w) {
  if (WaitUntil([&] { return WindowFromPoint(pt) == w; }, 5000)) return testing::AssertionSuccess();
  HWND got = WindowFromPoint(pt);
  wchar_t cls[128] = {};
  GetClassNameW(got, cls, 128);
  RECT r{};
  GetWindowRect(w, &r);
  return testing::AssertionFailure()
         << "at (" << pt.x << "," << pt.y << ") the system finds " << got << " " << Utf8(cls)
         << "; wanted " << w << " visible " << IsWindowVisible(w) << " rect " << r.left << ","
         << r.top << "," << r.right << "," << r.bottom;
}

// The label of the screen-position line, padded to its nine columns.
inline std::wstring ScreenLabel() { return test::Lang(L"ｽｸﾘｰﾝ    ", L"Screen   "); }

// The thirteen display lines, in panel order, in the language shown.
inline std::vector<std::wstring> DisplayLines(const Facts& f) {
  const int r = GetRValue(f.color), g = GetGValue(f.color), b = GetBValue(f.color);
  const unsigned h = static_cast<unsigned>(reinterpret_cast<uintptr_t>(f.hwnd));
  return {
      Fmt(L"RGB      R=%-3d G=%-3d B=%-3d", r, g, b),
      Fmt(L"HTML     %06x", (r << 16) | (g << 8) | b),
      Fmt(L"COLORREF %06x %u", static_cast<unsigned>(f.color), static_cast<unsigned>(f.color)),
      Fmt(ScreenLabel() + L"X=%d Y=%d", f.pt.x, f.pt.y),
      Fmt(test::Lang(L"ｸﾗｲｱﾝﾄ   ", L"Client   ") + L"X=%d Y=%d (%d,%d)", f.client.x, f.client.y,
          f.clientOrigin.x, f.clientOrigin.y),
      Fmt(test::Lang(L"長さ     ", L"Distance ") + L"W=%d H=%d (%d,%d)",
          std::abs(f.pt.x - f.user.x) + 1, std::abs(f.pt.y - f.user.y) + 1, f.user.x, f.user.y),
      Fmt(test::Lang(L"ﾊﾝﾄﾞﾙ    ", L"Handle   ") + L"%08x %u", h, h),
      test::Lang(L"ｸﾗｽ名    ", L"Class    ") + f.className,
      test::Lang(L"ﾃｷｽﾄ     ", L"Text     ") + f.text,
      Fmt(test::Lang(L"Wｻｲｽﾞ    ", L"WindowSz ") + L"L=%d T=%d W=%d H=%d", f.posInParent.x,
          f.posInParent.y, f.rect.right - f.rect.left, f.rect.bottom - f.rect.top),
      Fmt(test::Lang(L"Cｻｲｽﾞ    ", L"ClientSz ") + L"W=%d H=%d", f.clientRect.right,
          f.clientRect.bottom),
      Fmt(L"Rect     L=%d T=%d R=%d B=%d", f.rect.left, f.rect.top, f.rect.right, f.rect.bottom),
      test::Lang(L"実行ﾌｧｲﾙ ", L"Exe      ") + f.exe,
  };
}

// The copy text of line `i` (0-based), plain or with Shift.
inline std::wstring CopyText(const Facts& f, int i, bool shift) {
  const int r = GetRValue(f.color), g = GetGValue(f.color), b = GetBValue(f.color);
  const unsigned h = static_cast<unsigned>(reinterpret_cast<uintptr_t>(f.hwnd));
  const int html = (r << 16) | (g << 8) | b;
  const wchar_t* pair = shift ? L"(%d, %d)" : L"%d, %d";
  const wchar_t* quad = shift ? L"(%d, %d, %d, %d)" : L"%d, %d, %d, %d";
  switch (i) {
    case 0: return shift ? Fmt(L"%x %x %x", r, g, b) : Fmt(L"%d %d %d", r, g, b);
    case 1: return shift ? Fmt(L"%d", html) : Fmt(L"%06x", html);
    case 2: return Fmt(shift ? L"%x" : L"%u", static_cast<unsigned>(f.color));
    case 3: return Fmt(pair, f.pt.x, f.pt.y);
    case 4: return Fmt(pair, f.client.x, f.client.y);
    case 5: return Fmt(pair, std::abs(f.pt.x - f.user.x) + 1, std::abs(f.pt.y - f.user.y) + 1);
    case 6: return shift ? Fmt(L"%08x", h) : Fmt(L"%u", h);
    case 7: return shift ? L"\"" + f.className + L"\"" : f.className;
    case 8: return shift ? L"\"" + f.text + L"\"" : f.text;
    case 9: return Fmt(quad, f.posInParent.x, f.posInParent.y, f.rect.right - f.rect.left,
                       f.rect.bottom - f.rect.top);
    case 10: return Fmt(pair, f.clientRect.right, f.clientRect.bottom);
    case 11: return Fmt(quad, f.rect.left, f.rect.top, f.rect.right, f.rect.bottom);
    case 12: return shift ? FileNameOf(f.exe) : f.exe;
  }
  return {};
}

// ---- windows of the test process ------------------------------------------------------------

inline constexpr wchar_t kTopClass[] = L"VizInfoTop";
inline constexpr wchar_t kChildClass[] = L"VizInfoChild";
inline constexpr wchar_t kHungClass[] = L"VizInfoHung";
inline constexpr wchar_t kTopText[] = L"情報パネル テスト窓";
inline constexpr wchar_t kHungText[] = L"応答しない窓";
inline constexpr COLORREF kTopColor = RGB(0x12, 0xA4, 0x56), kChildColor = RGB(0xF0, 0x0D, 0x7B);
inline constexpr RECT kTopRect{520, 140, 1080, 560};
inline constexpr RECT kChildRect{60, 50, 260, 200};  // parent client coordinates
inline constexpr RECT kHungRect{560, 600, 900, 760};

inline LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

inline void RegisterPlain(const wchar_t* name, COLORREF color) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = CreateSolidBrush(color);
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

// A top-level window with a child, on a thread that pumps messages; or, when `hung`, a window
// whose thread stops pumping on Hang() until the object goes away.
class TestWindows {
 public:
  explicit TestWindows(bool hung = false, RECT topRect = kTopRect) : hung_(hung), topRect_(topRect) {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    hang_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] { Run(); });
    WaitForSingleObject(ready_, 10000);
  }
  ~TestWindows() {
    SetEvent(release_);
    if (top_) PostMessageW(top_, WM_CLOSE, 0, 0);
    thread_.join();
    CloseHandle(ready_), CloseHandle(hang_), CloseHandle(release_);
  }
  HWND top() const { return top_; }
  HWND child() const { return child_; }
  DWORD thread_id() const { return threadId_; }
  void Hang() { SetEvent(hang_); }

 private:
  void Run() {
    threadId_ = GetCurrentThreadId();
    if (hung_) {
      RegisterPlain(kHungClass, RGB(0x33, 0x66, 0x99));
      top_ = CreateWindowExW(WS_EX_TOPMOST, kHungClass, kHungText, WS_POPUP | WS_BORDER,
                             kHungRect.left, kHungRect.top, kHungRect.right - kHungRect.left,
                             kHungRect.bottom - kHungRect.top, nullptr, nullptr, nullptr, nullptr);
    } else {
      RegisterPlain(kTopClass, kTopColor);
      RegisterPlain(kChildClass, kChildColor);
      top_ = CreateWindowExW(WS_EX_TOPMOST, kTopClass, kTopText, WS_OVERLAPPEDWINDOW,
                             topRect_.left, topRect_.top, topRect_.right - topRect_.left,
                             topRect_.bottom - topRect_.top, nullptr, nullptr, nullptr, nullptr);
      child_ = CreateWindowExW(0, kChildClass, L"", WS_CHILD | WS_VISIBLE | WS_BORDER,
                               kChildRect.left, kChildRect.top, kChildRect.right - kChildRect.left,
                               kChildRect.bottom - kChildRect.top, top_, nullptr, nullptr, nullptr);
    }
    ShowWindow(top_, SW_SHOWNOACTIVATE);
    UpdateWindow(top_);
    SetEvent(ready_);
    for (;;) {
      HANDLE events[2] = {hang_, release_};
      const DWORD r = MsgWaitForMultipleObjects(2, events, FALSE, INFINITE, QS_ALLINPUT);
      if (r == WAIT_OBJECT_0) {  // stop answering until released
        WaitForSingleObject(release_, INFINITE);
        ResetEvent(hang_);
        continue;
      }
      if (r == WAIT_OBJECT_0 + 1 && hung_) {
        DestroyWindow(top_);
        return;
      }
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) return;
        TranslateMessage(&m);
        DispatchMessageW(&m);
      }
      if (!IsWindow(top_)) return;
    }
  }

  bool hung_;
  RECT topRect_;
  HANDLE ready_, hang_, release_;
  std::thread thread_;
  HWND top_ = nullptr, child_ = nullptr;
  DWORD threadId_ = 0;
};

// Starts the program with a settings file and copies what it shows through its key bindings.
class CopyingTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ReleaseModifiers());
    // The pointer waits where the program's window will not appear at any DPI (at 144 DPI its
    // window reaches x 395 and y 723): a window shown under the pointer has Wine deliver its
    // crossing later, which puts the system's cursor position back on that spot after the
    // pointer has moved on, and the program then captures its own window. (On the two-monitor
    // desktop the nested X server keeps the pointer within x < 1024 and y < 768.)
    ASSERT_TRUE(MovePointer(1000, 700));
    ASSERT_EQ(GetACP(), test::JapaneseUi() ? 932u : 1252u)
        << "the tests expect the 8-bit code page of a Japanese, or an English or German, system";
  }
  void TearDown() override {
    ReleaseModifiers();
    if (app_.Running()) {
      EXPECT_EQ(app_.Close(), std::optional<DWORD>(0));
    }
  }
  void StartApp(std::vector<uint8_t> settings = TestSettings()) {
    AppOptions o;
    o.settings = std::move(settings);
    ASSERT_TRUE(app_.Start(o)) << app_.error();
    ASSERT_TRUE(app_.Activate());
  }

  // Taps a key (with modifiers held at the X server) and waits for the clipboard to change;
  // the new CF_UNICODETEXT, or empty when it did not change.
  std::optional<std::wstring> CopyWith(WORD vk, unsigned mods = kNoMod, DWORD timeout = 3000) {
    if (!app_.Activate()) return std::nullopt;
    const DWORD seq = ClipboardSequence();
    if (mods && !HoldModifiers(mods)) return std::nullopt;
    const bool sent = KeyTap(vk);
    const bool changed = sent && WaitUntil([&] { return ClipboardSequence() != seq; }, timeout);
    if (mods) ReleaseModifiers(mods);
    if (!changed) return std::nullopt;
    std::optional<std::wstring> text;
    WaitUntil([&] {
      text = ClipboardUnicodeText();
      return text.has_value();
    }, 2000);
    return text;
  }

  // Copies all lines until the copy shows the capture at `pt` (the program captures on its own
  // timer, so the first copy after a pointer move may still describe the previous point).
  std::optional<std::wstring> CopyAllAt(POINT pt) {
    const std::wstring screenLine = Fmt(ScreenLabel() + L"X=%d Y=%d", pt.x, pt.y);
    std::optional<std::wstring> text;
    WaitUntil([&] {
      text = CopyWith(VK_F2);
      return text && SplitCrLf(*text).size() == 13 && SplitCrLf(*text)[3] == screenLine;
    }, 8000, 100);
    return text;
  }

  void ExpectCopyAll(const Facts& f) {
    auto text = CopyAllAt(f.pt);
    ASSERT_TRUE(text) << "no copy of all lines";
    const std::vector<std::wstring> want = DisplayLines(f);
    const std::vector<std::wstring> got = SplitCrLf(*text);
    ASSERT_EQ(got.size(), 13u) << Utf8(*text);
    for (size_t i = 0; i < 13; ++i) EXPECT_EQ(Utf8(got[i]), Utf8(want[i])) << "line " << i + 1;
    EXPECT_EQ(*text, TrimEnd(JoinCrLf(want)));
    // The 8-bit text is the same text in the system's code page; on a system whose code page
    // lacks Japanese, no label turns into question marks (what other windows show may).
    auto ansi = ClipboardAnsiText();
    ASSERT_TRUE(ansi);
    EXPECT_EQ(*ansi, Ansi(TrimEnd(JoinCrLf(want))));
    size_t lineStart = 0;
    for (size_t i = 0; i < 13 && lineStart < ansi->size(); ++i) {
      EXPECT_EQ(ansi->substr(lineStart, 9).find('?'), std::string::npos) << "label of line " << i + 1;
      lineStart = ansi->find("\r\n", lineStart);
      if (lineStart == std::string::npos) break;
      lineStart += 2;
    }
  }

  // Every single-line copy, plain and with Shift.
  void ExpectLineCopies(const Facts& f) {
    for (int i = 0; i < 13; ++i)
      for (bool shift : {false, true}) {
        const std::wstring want = TrimEnd(CopyText(f, i, shift));
        if (want.empty()) continue;  // an empty copy leaves the clipboard alone (tested apart)
        ASSERT_TRUE(ClearClipboard());
        auto got = CopyWith(static_cast<WORD>(kLineCopies[i].key), shift ? kShift : kNoMod);
        ASSERT_TRUE(got) << "line " << i + 1 << (shift ? " with Shift" : "") << ": no copy";
        EXPECT_EQ(Utf8(*got), Utf8(want)) << "line " << i + 1 << (shift ? " with Shift" : "");
        auto ansi = ClipboardAnsiText();
        EXPECT_EQ(ansi, std::optional<std::string>(Ansi(want))) << "line " << i + 1;
      }
  }

  AppProcess app_;
};

}  // namespace viz::e2e
