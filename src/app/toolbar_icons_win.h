// Toolbar pictures and the status line's state icons, drawn with GDI at the size the DPI asks for.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace viz {

enum ToolIcon { kIconPause, kIconFixed, kIconGrid, kIconColor, kIconPos, kIconWinInfo, kIconOpt,
                kToolIconCount };
enum StateIcon { kStateStayOnTop, kStateSmooth, kStatePause, kStateFixed };

HIMAGELIST CreateToolbarImageList(int size);
// Draws a 14 x 14 state icon (scaled by `size`) at (x, y); `on` draws it in colour, else faint.
void DrawStateIcon(HDC dc, int x, int y, int size, StateIcon icon);

}  // namespace viz
