// DPI and the fonts that follow it: the system's, a window's and a monitor's DPI, each asked of
// the newest call the system has and falling back to the system DPI, and the message-box font
// at a given DPI.
#pragma once

#include <windows.h>

namespace viz {

// The system DPI (LOGPIXELSY of the screen); 96 when it cannot be read.
int SystemDpi();
// The window's DPI where the system keeps one per window (GetDpiForWindow), else the system DPI.
int WindowDpi(HWND w);
// The monitor's DPI where the system keeps one per monitor (GetDpiForMonitor), else the system DPI.
int MonitorDpi(HMONITOR monitor);

// The window rectangle around a client rectangle at `dpi` (AdjustWindowRectExForDpi where the
// system has it, else the frame of the system DPI). No menu bar.
void AdjustWindowRectForDpi(RECT* r, DWORD style, DWORD exStyle, int dpi);

// Scales a length given for 96 DPI.
inline int ScaleForDpi(int v96, int dpi) { return ::MulDiv(v96, dpi, 96); }

// The system's message-box font for `dpi`: SystemParametersInfoForDpi where the system has it,
// else the system's metrics scaled from the system DPI. False when the system gives none.
bool MessageFontAt(int dpi, LOGFONTW* out);

}  // namespace viz
