#include "platform/text_convert_win.h"

namespace viz {
namespace {

int ToAnsi(std::wstring_view text, char* out, int outSize, BOOL* usedDefault, DWORD flags) {
  int n = ::WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), out,
                                outSize, nullptr, usedDefault);
  // UTF-8 as the system code page accepts neither these flags nor the default-char query.
  if (n == 0 && ::GetLastError() == ERROR_INVALID_FLAGS)
    n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, outSize,
                              nullptr, nullptr);
  return n;
}

}  // namespace

std::string WideToAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  int n = ToAnsi(text, nullptr, 0, nullptr, WC_COMPOSITECHECK);
  if (n <= 0) return {};
  std::string s(static_cast<size_t>(n), '\0');
  n = ToAnsi(text, s.data(), n, nullptr, WC_COMPOSITECHECK);
  s.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return s;
}

std::wstring AnsiToWide(std::string_view text) {
  if (text.empty()) return {};
  int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring s(static_cast<size_t>(n), L'\0');
  n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), s.data(), n);
  s.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return s;
}

bool IsRepresentableInAnsi(std::wstring_view text) {
  if (text.empty()) return true;
  // Best-fit mappings ("é" -> "e") would pass a default-char test but change the name, so the
  // text must also come back unchanged.
  int n = ToAnsi(text, nullptr, 0, nullptr, WC_NO_BEST_FIT_CHARS);
  if (n <= 0) return false;
  std::string s(static_cast<size_t>(n), '\0');
  BOOL usedDefault = FALSE;
  n = ToAnsi(text, s.data(), n, &usedDefault, WC_NO_BEST_FIT_CHARS);
  if (n <= 0 || usedDefault) return false;
  s.resize(static_cast<size_t>(n));
  return AnsiToWide(s) == text;
}

}  // namespace viz
