// Toolbar pictures and the status line's state icons, drawn with GDI at the size the DPI asks for.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace viz {

enum ToolIcon { kIconPause, kIconFixed, kIconGrid, kIconColor, kIconPos, kIconWinInfo, kIconOpt,
                kToolIconCount };
enum StateIcon { kStateStayOnTop, kStateSmooth, kStatePause, kStateFixed };

HIMAGELIST CreateToolbarImageList(int size);
// Draws a state icon `size` pixels square (14 at 96 DPI) at (x, y).
void DrawStateIcon(HDC dc, int x, int y, int size, StateIcon icon);

}  // namespace viz
