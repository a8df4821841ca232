#include "app/settings_file_win.h"

#include <vector>

#include "platform/path_rules.h"
#include "platform/text_convert_win.h"
#include "info/file_write_win.h"
#include "platform/sysfuncs_win.h"
#include "ui/handle_win.h"

namespace viz {

bool FileExistsW(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

uint64_t GetFileSize64(HANDLE h) {
  if (h == INVALID_HANDLE_VALUE || !h) return 0;
  DWORD high = 0;
  const DWORD low = ::GetFileSize(h, &high);
  if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return 0;
  return (static_cast<uint64_t>(high) << 32) | low;
}

std::wstring SettingFilePath() { return ChangeFileExtW(GetExePath(), L".bin"); }

std::optional<SettingsFile> LoadSettingFileFrom(const std::wstring& path) {
  if (!FileExistsW(path)) return std::nullopt;
  UniqueFile f;
  if (IsWinNT()) {
    f.reset(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  } else {
    const std::string a = WideToAnsi(path);
    f.reset(::CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  if (GetFileSize64(f.get()) < kSettingsFileSize) return std::nullopt;
  if (!f) return std::nullopt;
  std::vector<uint8_t> bytes(kSettingsFileSize);
  size_t got = 0;
  while (got < bytes.size()) {
    DWORD n = 0;
    if (!::ReadFile(f.get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n,
                    nullptr) ||
        n == 0)
      return std::nullopt;  // a short read rejects the file
    got += n;
  }
  return DecodeSettings(bytes);
}

std::optional<SettingsFile> LoadSettingFile() {
  if (IsKeyDown(VK_SHIFT) && IsKeyDown(VK_CONTROL)) return std::nullopt;
  return LoadSettingFileFrom(SettingFilePath());
}

bool SaveSettingFileTo(const std::wstring& path, const SettingsFile& file) {
  ErrorModeGuard quiet(SEM_FAILCRITICALERRORS);
  // A read-only file is the user's way of keeping these settings. Windows refuses to replace it,
  // but not every system that runs this program does, so it is asked here.
  const DWORD a = ::GetFileAttributesW(path.c_str());
  if (a != INVALID_FILE_ATTRIBUTES && (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  const auto bytes = EncodeSettings(file);
  return ReplaceFileAtomically(path, bytes.data(), bytes.size());
}

void SaveSettingFile(const SettingsFile& file) {
  try {
    SaveSettingFileTo(SettingFilePath(), file);
  } catch (...) {
    // Saving never reports failure.
  }
}

}  // namespace viz
