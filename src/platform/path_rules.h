// Path text rules for the files kept beside the executable (".bin" settings, ".txt" and ".bmp"
// copies). Pure string work; the Win32 side supplies the executable's path.
#pragma once

#include <string>
#include <string_view>

namespace viz {

// Replaces the extension of the last path element, or appends `ext` when it has none. The
// element ends at "\", "/" or ":" (Windows takes "/" as a separator too), so dots in folder
// names do not count ("C:\a.b\c" -> "C:\a.b\c.bin"). An `ext` that is not empty and lacks its
// leading "." gets one. A name that starts with its only dot is all extension (".x" -> ".bin").
std::wstring ChangeFileExtW(std::wstring_view path, std::wstring_view ext);

// The text after the last "\", "/" or ":" (the whole text when there is none).
std::wstring ExtractFileNameW(std::wstring_view path);

// An 8-bit argument-0 path with every "?" (what the code page turns unrepresentable characters
// into) replaced by "_", so that it cannot act as a wildcard in a file name.
std::string SanitizeAnsiArgPath(std::string_view path);

}  // namespace viz
