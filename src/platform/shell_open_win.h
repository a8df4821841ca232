// Opening a document or address with the program the system associates with it.
#pragma once

#include <windows.h>

#include <string>

namespace viz {

// ShellExecuteEx "open". A file path that the 8-bit code page cannot spell is passed as its short
// path, so that an associated program which takes 8-bit command lines still finds the file.
// Shows no error box of its own; true when the shell started the program.
bool OpenWithAssociatedProgram(HWND owner, const std::wstring& pathOrUrl);

}  // namespace viz
