// Writing the copy files and the settings file beside the executable, and the executable's path.
#pragma once

#include <windows.h>

#include <string>

namespace viz {

enum class WriteResult { Ok, CannotCreate, Failed };

// Creates or replaces the file with exactly these bytes. Critical-error boxes (a drive that is
// not ready) are suppressed meanwhile. On failure errorMessage (when given) gets the system's
// text for the error.
WriteResult WriteWholeFile(const std::wstring& path, const void* data, size_t size,
                           std::wstring* errorMessage);

// Writes the bytes to "<path>.tmp" in the same folder, flushes them to disk and then puts that
// file in place of `path` in one step. When anything fails the old file is left as it was and
// the temporary file is removed.
bool ReplaceFileAtomically(const std::wstring& path, const void* data, size_t size);

// Full path of the running program's file ("C:\tools\vizmoria.exe").
std::wstring GetExePath();

// The system's message text for an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD code);

}  // namespace viz
