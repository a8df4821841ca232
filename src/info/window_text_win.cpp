// Window texts read without hanging on a window that does not answer.
#include <algorithm>
#include <iterator>
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
constexpr size_t kMaxTracked = 64;        // hung threads remembered
// The length a window reports is a claim of another program, not a size: a buggy or hostile
// window may answer 0x7FFFFFF0. No read asks for more than this many characters (a 1 MB text
// still comes whole), which also bounds the read's timeout.
constexpr size_t kMaxTextChars = size_t{1} << 20;
// The long texts kept, all together: two of the longest.
constexpr size_t kMaxCachedChars = 2 * kMaxTextChars;

struct CachedText {
  std::wstring text;
  size_t reportedLength = 0;  // WM_GETTEXTLENGTH when it was read, as the window claimed it
  DWORD readTick = 0;
};

// Long texts, bounded by their characters in all.
class LongTextCache {
 public:
  const CachedText* Find(HWND w) const {
    auto it = map_.find(w);
    return it != map_.end() ? &it->second : nullptr;
  }
  // Drops what is older than its refresh time, then the oldest until the new text fits.
  void Add(HWND w, CachedText entry, DWORD now) {
    Drop(w);
    for (auto it = map_.begin(); it != map_.end();)
      it = now - it->second.readTick > kLongTextRefreshMs ? Erase(it) : std::next(it);
    while (!map_.empty() && chars_ + entry.text.size() > kMaxCachedChars)
      Erase(std::min_element(map_.begin(), map_.end(), [now](const auto& a, const auto& b) {
        return now - a.second.readTick > now - b.second.readTick;
      }));
    chars_ += entry.text.size();
    map_.emplace(w, std::move(entry));
  }

 private:
  using Map = std::unordered_map<HWND, CachedText>;
  Map::iterator Erase(Map::iterator it) {
    chars_ -= it->second.text.size();
    return map_.erase(it);
  }
  void Drop(HWND w) {
    auto it = map_.find(w);
    if (it != map_.end()) Erase(it);
  }
  Map map_;
  size_t chars_ = 0;
};

// Single UI thread: plain statics. Hung marks are kept per thread: all windows of a thread
// share its message queue, so when one does not answer none of them will (a hung program with
// a hundred child windows must not cost a hundred timeouts in one snapshot).
std::unordered_map<DWORD, DWORD>& HungThreads() {
  static std::unordered_map<DWORD, DWORD> m;
  return m;
}
LongTextCache& LongTexts() {
  static LongTextCache cache;
  return cache;
}

void MarkHung(DWORD thread) {
  DWORD now = ::GetTickCount();
  auto& m = HungThreads();
  // Keeps the map small: old marks go first, then everything.
  if (m.size() >= kMaxTracked) {
    for (auto it = m.begin(); it != m.end();)
      it = now - it->second > kHungSkipMs ? m.erase(it) : std::next(it);
    if (m.size() >= kMaxTracked) m.clear();
  }
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
  const int len = std::min(::GetWindowTextLengthW(w), static_cast<int>(kMaxTextChars));
  if (len <= 0) return {};
  std::wstring s(static_cast<size_t>(len) + 1, L'\0');
  const int n = ::GetWindowTextW(w, s.data(), len + 1);
  s.resize(static_cast<size_t>(std::clamp(n, 0, len)));
  return s;
}

// The length the window claims; the caller bounds it before using it as a size.
bool AskLength(HWND w, size_t* len) {
  DWORD_PTR r = 0;
  if (!::SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kLengthTimeoutMs, &r))
    return false;
  *len = static_cast<size_t>(r);
  return true;
}

// Reads at most `len` characters (len <= kMaxTextChars).
bool AskText(HWND w, size_t len, std::wstring* out) {
  // Copying a long text across processes takes longer; the longest read waits about 350 ms.
  UINT timeout = static_cast<UINT>(100 + std::min(len, kMaxTextChars) / 4096);
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
    const CachedText* cached = LongTexts().Find(w);
    return cached ? cached->text : StoredCaption(w);
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
  size_t claimed = 0;
  if (!AskLength(w, &claimed)) return hung();

  auto& cache = LongTexts();
  if (claimed >= kLongText) {
    const CachedText* c = cache.Find(w);
    if (c && c->reportedLength == claimed && now - c->readTick <= kLongTextRefreshMs) return c->text;
  }
  if (!AskText(w, std::min(claimed, kMaxTextChars), &text)) return hung();
  if (text.size() >= kLongText) cache.Add(w, CachedText{text, claimed, now}, now);
  return remember(text, now);
}

}  // namespace viz
