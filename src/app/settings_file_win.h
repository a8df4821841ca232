// Reading and writing the settings file beside the executable.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/settings_codec.h"

namespace viz {

bool FileExistsW(const std::wstring& path);  // a directory is not a file
uint64_t GetFileSize64(HANDLE h);            // 0 for an invalid handle

std::wstring SettingFilePath();  // the executable's path with ".bin"

// Reads and decodes the file; nothing when it is missing, short, foreign or unreadable. Every
// read is checked: a file that cannot be read whole is rejected, nothing half-read is used.
std::optional<SettingsFile> LoadSettingFileFrom(const std::wstring& path);
// Shift and Ctrl held at this moment skip the file.
std::optional<SettingsFile> LoadSettingFile();

// Writes the file without ever destroying the previous one: the new content goes to a temporary
// file in the same folder, which then replaces the old one in one step. A read-only file (or a
// folder of that name) is left alone. Failures are silent.
bool SaveSettingFileTo(const std::wstring& path, const SettingsFile& file);
void SaveSettingFile(const SettingsFile& file);

}  // namespace viz
