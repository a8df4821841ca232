#include "platform/path_rules.h"

#include <algorithm>

namespace viz {

std::wstring ChangeFileExtW(std::wstring_view path, std::wstring_view ext) {
  std::wstring e(ext);
  if (!e.empty() && e.front() != L'.') e.insert(0, 1, L'.');
  for (size_t i = path.size(); i > 0; --i) {
    const wchar_t c = path[i - 1];
    if (c == L'\\' || c == L'/' || c == L':') break;
    if (c == L'.') return std::wstring(path.substr(0, i - 1)) + e;
  }
  return std::wstring(path) + e;
}

std::wstring ExtractFileNameW(std::wstring_view path) {
  const size_t pos = path.find_last_of(L"\\/:");
  return std::wstring(pos == std::wstring_view::npos ? path : path.substr(pos + 1));
}

std::string SanitizeAnsiArgPath(std::string_view path) {
  std::string s(path);
  std::replace(s.begin(), s.end(), '?', '_');
  return s;
}

}  // namespace viz
