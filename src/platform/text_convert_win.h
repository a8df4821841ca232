// Text in the 8-bit code page (the ANSI code page of the system), for the places that output
// 8-bit data: the CF_TEXT clipboard format, 8-bit file names and the text copy file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace viz {

// The text in the 8-bit code page (CP_ACP, WC_COMPOSITECHECK); characters it lacks become the
// code page's default character.
std::string WideToAnsi(std::wstring_view text);
std::wstring AnsiToWide(std::string_view text);

// True when the text survives the conversion to the 8-bit code page unchanged.
bool IsRepresentableInAnsi(std::wstring_view text);

}  // namespace viz
