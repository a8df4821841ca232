#include "info/file_write_win.h"

#include <algorithm>

#include "platform/path_rules.h"
#include "platform/text_convert_win.h"
#include "info/window_ident_win.h"
#include "platform/sysfuncs_win.h"
#include "ui/handle_win.h"

namespace viz {
namespace {

HANDLE CreateForWriting(const std::wstring& path) {
  if (IsWinNT())
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return ::CreateFileA(WideToAnsi(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteAll(HANDLE f, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 24));
    DWORD written = 0;
    if (!::WriteFile(f, p, chunk, &written, nullptr) || written != chunk) return false;
    p += chunk;
    size -= chunk;
  }
  return true;
}

bool RemoveFile(const std::wstring& path) {
  return IsWinNT() ? ::DeleteFileW(path.c_str()) != FALSE
                   : ::DeleteFileA(WideToAnsi(path).c_str()) != FALSE;
}

bool MoveTo(const std::wstring& from, const std::wstring& to) {
  return ::MoveFileA(WideToAnsi(from).c_str(), WideToAnsi(to).c_str()) != FALSE;
}

// Systems before NT cannot replace a file in one step: the old file steps aside as "<path>.bak"
// and comes back when the new one cannot take its place.
bool ReplaceWithoutMoveFileEx(const std::wstring& tmp, const std::wstring& path) {
  std::wstring bak = path + L".bak";
  bool hadOld = ::GetFileAttributesA(WideToAnsi(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  if (hadOld) {
    RemoveFile(bak);
    if (!MoveTo(path, bak)) return false;
  }
  if (!MoveTo(tmp, path)) {
    if (hadOld) MoveTo(bak, path);
    return false;
  }
  if (hadOld) RemoveFile(bak);
  return true;
}

}  // namespace

std::wstring SystemErrorText(DWORD code) {
  wchar_t buf[1024];
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buf, 1024, nullptr);
  std::wstring s(buf, n);
  while (!s.empty() && (s.back() == L'\r' || s.back() == L'\n' || s.back() == L' ')) s.pop_back();
  if (s.empty()) s = L"Error " + std::to_wstring(code);
  return s;
}

WriteResult WriteWholeFile(const std::wstring& path, const void* data, size_t size,
                           std::wstring* errorMessage) {
  ErrorModeGuard quiet(SEM_FAILCRITICALERRORS);
  UniqueFile f(CreateForWriting(path));
  if (!f) {
    if (errorMessage) *errorMessage = SystemErrorText(::GetLastError());
    return WriteResult::CannotCreate;
  }
  bool ok = WriteAll(f.get(), data, size);
  DWORD err = ok ? 0 : ::GetLastError();
  if (ok && !::CloseHandle(f.release())) {
    ok = false;
    err = ::GetLastError();
  }
  if (ok) return WriteResult::Ok;
  if (errorMessage) *errorMessage = SystemErrorText(err ? err : ERROR_WRITE_FAULT);
  return WriteResult::Failed;
}

bool ReplaceFileAtomically(const std::wstring& path, const void* data, size_t size) {
  ErrorModeGuard quiet(SEM_FAILCRITICALERRORS);
  const std::wstring tmp = path + L".tmp";
  {
    UniqueFile f(CreateForWriting(tmp));
    if (!f) return false;
    bool ok = WriteAll(f.get(), data, size) && ::FlushFileBuffers(f.get());
    ok = ::CloseHandle(f.release()) && ok;
    if (!ok) {
      RemoveFile(tmp);
      return false;
    }
  }
  bool moved = IsWinNT() ? ::MoveFileExW(tmp.c_str(), path.c_str(),
                                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE
                         : ReplaceWithoutMoveFileEx(tmp, path);
  if (!moved) RemoveFile(tmp);
  return moved;
}

std::wstring GetExePath() {
  if (IsWinNT()) {
    std::wstring p = MapDevicePathToDrive(SafeGetProcessImageFileName(::GetCurrentProcess()));
    if (!p.empty()) return p;
    std::wstring buf(32768, L'\0');
    DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    buf.resize(n < buf.size() ? n : 0);
    return buf;
  }
  // The module's own path rather than the command line: argument 0 may be a bare or relative
  // name, which would put the files beside it in the current folder.
  char buf[MAX_PATH + 1];
  DWORD n = ::GetModuleFileNameA(nullptr, buf, MAX_PATH + 1);
  if (n == 0 || n > MAX_PATH) return {};
  return AnsiToWide(SanitizeAnsiArgPath(std::string_view(buf, n)));
}

}  // namespace viz
