// The clipboard hand-off for the text and picture copies, and the 8-bit text conversion they use.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace viz {

// `owner` should be a window: after EmptyClipboard a null owner can make SetClipboardData fail.
//
// Replaces the clipboard contents with the text: CF_UNICODETEXT and CF_TEXT (the 8-bit code
// page) on NT, CF_TEXT alone otherwise. Another program may hold the clipboard open: opening is
// retried for about 250 ms, then given up. True when every format was placed.
bool SetClipboardText(HWND owner, std::wstring_view text);

// Replaces the clipboard contents with a packed DIB (the header, then the colour table and
// pixels in `bits`). Same opening rules as SetClipboardText.
bool SetClipboardDib(HWND owner, const BITMAPINFOHEADER& bih, const void* bits, size_t bitsSize);

// The text in the 8-bit code page (CP_ACP, WC_COMPOSITECHECK); characters it lacks become the
// code page's default character.
std::string WideToAnsi(std::wstring_view text);
std::wstring AnsiToWide(std::string_view text);

// True when the text survives the conversion to the 8-bit code page unchanged.
bool IsRepresentableInAnsi(std::wstring_view text);

}  // namespace viz
