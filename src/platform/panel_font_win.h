// The fixed-pitch font of the information panel and of the main window's controls, in the
// language shown: Japanese takes the Japanese fixed-pitch Gothic, English a fixed-pitch face that
// Windows has from version 7 on, and where that face is missing (as under Wine) the fixed-pitch
// font the system offers in its place.
#pragma once

#include <windows.h>

#include "ui/handle_win.h"

namespace viz {

// `points` at `dpi`; null only when the system can create no font at all.
UniqueFont CreatePanelFont(int points, int dpi);

}  // namespace viz
