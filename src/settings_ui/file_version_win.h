// The file version of a program, read from its version resource.
#pragma once

#include <windows.h>

#include <string>

namespace viz {

// "1.0.0.0" from the fixed file information of `path`; empty when the file has no version
// resource or version.dll cannot be had from the system directory. The library is looked up
// there by full path (never beside the program) and released before returning.
std::wstring ReadFileVersion(const std::wstring& path);

// The full path of the running program; empty on failure.
std::wstring OwnModulePath();

// "Version 1.0.0.0" in the language shown, or the words for an unknown version.
std::wstring VersionCaption(const std::wstring& version);

}  // namespace viz
