// Window texts read without hanging on a window that does not answer.
#include <algorithm>
#include <unordered_map>

#include "info/window_ident_win.h"

namespace viz {
namespace {

constexpr UINT kLengthTimeoutMs = 80;
constexpr DWORD kHungSkipMs = 3000;       // a window that timed out is left alone this long
constexpr size_t kShortText = 1023;       // read in one message when shorter than this
constexpr size_t kLongText = 65536;       // texts from this length on are cached
constexpr DWORD kRecentTextMs = 250;      // the last window's text is reused this long
constexpr DWORD kLongTextRefreshMs = 2000;
constexpr size_t kMaxTracked = 64;

struct CachedText {
  std::wstring text;
  size_t reportedLength = 0;  // WM_GETTEXTLENGTH when it was read
  DWORD readTick = 0;
};

// Single UI thread: plain statics. Hung marks are kept per thread: all windows of a thread
// share its message queue, so when one does not answer none of them will (a hung program with
// a hundred child windows must not cost a hundred timeouts in one snapshot).
std::unordered_map<DWORD, DWORD>& HungThreads() {
  static std::unordered_map<DWORD, DWORD> m;
  return m;
}
std::unordered_map<HWND, CachedText>& LongTexts() {
  static std::unordered_map<HWND, CachedText> m;
  return m;
}

// Keeps the maps small: old entries go first, then everything.
template <typename Map, typename Tick>
void Prune(Map& m, DWORD now, DWORD maxAge, Tick tickOf) {
  if (m.size() < kMaxTracked) return;
  for (auto it = m.begin(); it != m.end();) {
    if (now - tickOf(it->second) > maxAge)
      it = m.erase(it);
    else
      ++it;
  }
  if (m.size() >= kMaxTracked) m.clear();
}

void MarkHung(DWORD thread) {
  DWORD now = ::GetTickCount();
  auto& m = HungThreads();
  Prune(m, now, kHungSkipMs, [](DWORD t) { return t; });
  m[thread] = now;
}

bool IsMarkedHung(DWORD thread) {
  auto& m = HungThreads();
  auto it = m.find(thread);
  if (it == m.end()) return false;
  if (::GetTickCount() - it->second <= kHungSkipMs) return true;
  m.erase(it);
  return false;
}

// The caption the system stores for the window; sends no message. Missing before NT.
std::wstring StoredCaption(HWND w) {
  using Fn = int(WINAPI*)(HWND, LPWSTR, int);
  static const Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "InternalGetWindowText")));
  if (!fn) return {};
  wchar_t buf[512];
  int n = fn(w, buf, 512);
  return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring OwnThreadText(HWND w) {
  int len = ::GetWindowTextLengthW(w);
  if (len <= 0) return {};
  std::wstring s(static_cast<size_t>(len) + 1, L'\0');
  int n = ::GetWindowTextW(w, s.data(), len + 1);
  s.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return s;
}

bool AskLength(HWND w, size_t* len) {
  DWORD_PTR r = 0;
  if (!::SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kLengthTimeoutMs, &r))
    return false;
  *len = static_cast<size_t>(r);
  return true;
}

bool AskText(HWND w, size_t len, std::wstring* out) {
  // Copying a long text across processes takes longer; still bounded (1 MB: about 350 ms).
  UINT timeout = static_cast<UINT>(std::min<size_t>(100 + len / 4096, 1000));
  std::wstring s(len + 1, L'\0');
  DWORD_PTR r = 0;
  if (!::SendMessageTimeoutW(w, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, timeout, &r))
    return false;
  // Trust the terminator over the count: some windows report bytes, others characters.
  size_t n = std::min<size_t>(static_cast<size_t>(r), len);
  s.resize(std::find(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n), L'\0') - s.begin());
  *out = std::move(s);
  return true;
}

}  // namespace

std::wstring ReadWindowText(HWND w) {
  return w ? ReadWindowText(w, ::GetWindowThreadProcessId(w, nullptr)) : std::wstring{};
}

std::wstring ReadWindowText(HWND w, DWORD thread) {
  if (!w) return {};
  if (thread == ::GetCurrentThreadId()) return OwnThreadText(w);
  if (IsMarkedHung(thread)) {
    auto& cache = LongTexts();
    auto it = cache.find(w);
    return it != cache.end() ? it->second.text : StoredCaption(w);
  }
  // The window under a moving cursor is asked again only every kRecentTextMs: each read is a
  // round trip to another process, more than the rest of a capture cycle.
  static HWND recentWindow = nullptr;
  static DWORD recentTick = 0;
  static std::wstring recentText;
  if (w == recentWindow && ::GetTickCount() - recentTick < kRecentTextMs) return recentText;
  auto remember = [w](const std::wstring& text, DWORD tick) {
    recentWindow = w;
    recentTick = tick;
    recentText = text;
    return text;
  };
  auto hung = [w, thread] {
    MarkHung(thread);
    return StoredCaption(w);
  };
  // Most texts are short: one message reads them whole. Only a text that fills the buffer takes
  // the long way (length first, then a buffer of that size).
  std::wstring text;
  if (!AskText(w, kShortText, &text)) return hung();
  DWORD now = ::GetTickCount();
  if (text.size() < kShortText) return remember(text, now);
  size_t len = 0;
  if (!AskLength(w, &len)) return hung();

  auto& cache = LongTexts();
  if (len >= kLongText) {
    auto it = cache.find(w);
    if (it != cache.end() && it->second.reportedLength == len &&
        now - it->second.readTick <= kLongTextRefreshMs)
      return it->second.text;
  }
  if (!AskText(w, len, &text)) return hung();
  if (text.size() >= kLongText) {
    Prune(cache, now, kLongTextRefreshMs, [](const CachedText& c) { return c.readTick; });
    cache[w] = CachedText{text, len, now};
  }
  return remember(text, now);
}

}  // namespace viz
