// The program's own window messages and its windows' timer identifiers, in one place so that no
// two of them share a value by accident.
#pragma once

#include <windows.h>

namespace viz {

// Messages to the main window.
inline constexpr UINT kMsgToolbarSync = 0x8000;        // WM_APP: after a click on a toolbar button
inline constexpr UINT kMsgCaptureButton = WM_APP + 1;  // a capture-panel arrow went down or up

// Timers of the main window.
inline constexpr UINT_PTR kTimerMain = 1;         // the capture cycle
inline constexpr UINT_PTR kTimerInfo = 2;         // ends a notice on the status line
inline constexpr UINT_PTR kTimerCaptureMove = 3;  // repeats a held capture-panel arrow
inline constexpr UINT_PTR kTimerFrame = 4;        // the cycle due at the end of a display frame

// Timers of the shortcut window.
inline constexpr UINT_PTR kTimerAutoScroll = 1;   // scrolls the key grid during a drag

}  // namespace viz
