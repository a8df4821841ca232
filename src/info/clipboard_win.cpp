#include "info/clipboard_win.h"

#include <cstring>

#include "platform/sysfuncs_win.h"
#include "platform/text_convert_win.h"
#include "ui/handle_win.h"

namespace viz {
namespace {

constexpr int kOpenTries = 10;
constexpr DWORD kOpenRetryMs = 25;

// OpenClipboard / CloseClipboard for one scope.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) {
    for (int i = 0; i < kOpenTries; ++i) {
      if (::OpenClipboard(owner)) {
        open_ = true;
        return;
      }
      if (i + 1 < kOpenTries) ::Sleep(kOpenRetryMs);
    }
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  ~ClipboardSession() {
    if (open_) ::CloseClipboard();
  }
  bool open() const { return open_; }

 private:
  bool open_ = false;
};

// Copies the pieces into one movable block and gives it to the clipboard, which owns it from
// then on; the block is freed here only when the clipboard refused it.
bool PutData(UINT format, const void* a, size_t aSize, const void* b = nullptr, size_t bSize = 0) {
  UniqueGlobal mem(::GlobalAlloc(GMEM_MOVEABLE, aSize + bSize));
  if (!mem) return false;
  {
    void* p = ::GlobalLock(mem.get());
    if (!p) return false;
    if (aSize) std::memcpy(p, a, aSize);
    if (bSize) std::memcpy(static_cast<char*>(p) + aSize, b, bSize);
    ::GlobalUnlock(mem.get());
  }
  if (!::SetClipboardData(format, mem.get())) return false;
  mem.release();
  return true;
}

}  // namespace

// Both forms, or none: the 8-bit form is made before the clipboard is emptied, and a form the
// clipboard refused takes the other with it.
bool SetClipboardText(HWND owner, std::wstring_view text) {
  const std::string ansi = WideToAnsi(text);
  ClipboardSession clip(owner);
  if (!clip.open() || !::EmptyClipboard()) return false;
  const char nul8 = 0;
  const wchar_t nul16 = 0;
  const bool ok =
      (!IsWinNT() ||
       PutData(CF_UNICODETEXT, text.data(), text.size() * sizeof(wchar_t), &nul16, sizeof(nul16))) &&
      PutData(CF_TEXT, ansi.data(), ansi.size(), &nul8, 1);
  if (!ok) ::EmptyClipboard();
  return ok;
}

bool SetClipboardDib(HWND owner, const BITMAPINFOHEADER& bih, const void* bits, size_t bitsSize) {
  if (bih.biSize < sizeof(BITMAPINFOHEADER) || (bitsSize && !bits)) return false;
  ClipboardSession clip(owner);
  if (!clip.open() || !::EmptyClipboard()) return false;
  // Only the base header is copied, so the copy must not claim a larger one.
  BITMAPINFOHEADER h = bih;
  h.biSize = sizeof(BITMAPINFOHEADER);
  return PutData(CF_DIB, &h, sizeof(h), bits, bitsSize);
}

}  // namespace viz
