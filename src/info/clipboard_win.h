// The clipboard hand-off for the text and picture copies.
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

}  // namespace viz
