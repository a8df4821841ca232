// What the main window's mouse and keyboard handling remembers between messages.
// Platform independent.
#pragma once

#include <bitset>
#include <cstdint>

#include "base/geometry.h"

namespace viz {

struct InputState {
  Point FGestureStart{-1, -1};  // client point where the right button went down
  bool FPanning = false;        // a left-button pan of a frozen view is under way
  Point FPanDown;               // screen point where that left button went down
  Point FPanStartPoint;         // the capture point when the pan started
  bool FWheelBusy = false;      // a wheel handler runs

  // Bound keys whose press this window saw. A command runs on the release only after such a
  // press: the Esc that closes the popup menu (or a dialog) is pressed there and must not go on
  // to pause the capture when it is released over the window.
  std::bitset<256> pressedHere;

  // The release of a bound key: true when its press was seen here (and forgets it).
  bool TakePress(uint32_t key) {
    const bool seen = pressedHere.test(key & 0xFF);
    pressedHere.reset(key & 0xFF);
    return seen;
  }
};

}  // namespace viz
