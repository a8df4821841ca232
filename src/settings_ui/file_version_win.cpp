#include "settings_ui/file_version_win.h"

#include <winver.h>

#include <vector>

#include "base/format.h"
#include "base/texts.h"
#include "platform/sysfuncs_win.h"
#include "ui/handle_win.h"

namespace viz {
namespace {

using GetSizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using GetInfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

template <typename Fn>
Fn Proc(HMODULE lib, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(lib, name)));
}

}  // namespace

std::wstring ReadFileVersion(const std::wstring& path) {
  if (path.empty()) return {};
  UniqueLibrary lib(LoadSystemLibrary(L"version.dll"));
  if (!lib) return {};
  auto getSize = Proc<GetSizeFn>(lib.get(), "GetFileVersionInfoSizeW");
  auto getInfo = Proc<GetInfoFn>(lib.get(), "GetFileVersionInfoW");
  auto query = Proc<QueryFn>(lib.get(), "VerQueryValueW");
  if (!getSize || !getInfo || !query) return {};

  DWORD ignored = 0;
  const DWORD size = getSize(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<BYTE> block(size);
  if (!getInfo(path.c_str(), 0, size, block.data())) return {};
  void* value = nullptr;
  UINT length = 0;
  wchar_t root[] = L"\\";
  if (!query(block.data(), root, &value, &length) || !value || length < sizeof(VS_FIXEDFILEINFO))
    return {};
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
  if (info->dwSignature != VS_FFI_SIGNATURE) return {};
  return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
         std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
         std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." +
         std::to_wstring(LOWORD(info->dwFileVersionLS));
}

std::wstring OwnModulePath() {
  // A long path does not fit MAX_PATH: grow until the name is not cut.
  std::wstring buf(MAX_PATH, L'\0');
  for (int tries = 0; tries < 6; ++tries) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) {
      buf.resize(n);
      return buf;
    }
    buf.resize(buf.size() * 2);
  }
  return {};
}

std::wstring VersionCaption(const std::wstring& version) {
  return version.empty() ? std::wstring(Tr(Text::VersionUnknown))
                         : FormatW(Tr(Text::Version), {version});
}

}  // namespace viz
