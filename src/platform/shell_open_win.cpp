#include "platform/shell_open_win.h"

#include <shellapi.h>

#include "platform/text_convert_win.h"
#include "platform/sysfuncs_win.h"

namespace viz {
namespace {

bool LooksLikeUrl(const std::wstring& s) {
  size_t colon = s.find(L':');
  // "C:\..." has its colon at 1; a scheme is longer ("http:", "mailto:").
  return colon != std::wstring::npos && colon > 1 && s.find(L'\\') > colon;
}

std::wstring ShortPathOf(const std::wstring& path) {
  DWORD n = ::GetShortPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return path;
  std::wstring s(n, L'\0');
  n = ::GetShortPathNameW(path.c_str(), s.data(), n);
  if (n == 0 || n >= s.size()) return path;
  s.resize(n);
  return s;
}

}  // namespace

bool OpenWithAssociatedProgram(HWND owner, const std::wstring& pathOrUrl) {
  if (pathOrUrl.empty()) return false;
  std::wstring target = pathOrUrl;
  if (!LooksLikeUrl(target) && !IsRepresentableInAnsi(target)) target = ShortPathOf(target);
  const ULONG mask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  if (IsWinNT()) {
    SHELLEXECUTEINFOW sei{};
    sei.cbSize = sizeof(sei);
    sei.fMask = mask;
    sei.hwnd = owner;
    sei.lpVerb = L"open";
    sei.lpFile = target.c_str();
    sei.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&sei) != FALSE;
  }
  std::string file = WideToAnsi(target);
  SHELLEXECUTEINFOA sei{};
  sei.cbSize = sizeof(sei);
  sei.fMask = mask;
  sei.hwnd = owner;
  sei.lpVerb = "open";
  sei.lpFile = file.c_str();
  sei.nShow = SW_SHOWNORMAL;
  return ::ShellExecuteExA(&sei) != FALSE;
}

}  // namespace viz
