// What the main window does with a key press and release, decided from the bindings alone.
// The Win32 side supplies the key and whether Alt is held, then acts on the decision.
#pragma once

#include <cstdint>
#include <optional>

#include "commands/bindings.h"

namespace viz {

inline constexpr uint16_t kVkApps = 93;  // the application (menu) key

enum class KeyDownAction {
  PassOn,           // no binding (or Alt held): the key goes on unchanged
  RunMove,          // a move command runs on key down, so auto-repeat keeps moving
  BeginActualSize,  // the actual-size key: show zoom 1 while held
  Consume,          // bound to anything else: swallowed, the command runs on key up
};

enum class KeyUpAction {
  Nothing,
  ShowMainMenu,   // the application key
  EndActualSize,  // restore the zoom saved on key down
  RunCommand,     // run `cmd`, inverting its check first when `toggleCheck`
};

struct KeyDownDecision {
  KeyDownAction action = KeyDownAction::PassOn;
  std::optional<Cmd> cmd;
};

struct KeyUpDecision {
  KeyUpAction action = KeyUpAction::Nothing;
  std::optional<Cmd> cmd;
  bool toggleCheck = false;
};

KeyDownDecision DecideKeyDown(const BindingSet& bindings, uint16_t key, bool altHeld);
KeyUpDecision DecideKeyUp(const BindingSet& bindings, uint16_t key, bool altHeld);

// A gesture fires its slot's command the way a key release does. An empty slot does nothing.
KeyUpDecision DecideGesture(const BindingSet& bindings, GestureDir dir);

// The temporary 1:1 view while the actual-size key is held. `savedZoom` is -1 when none is
// saved. Each returns true when it changed the zoom (the caller then captures at once and lays
// out again).
struct ActualSizeZoom {
  int32_t zoom;
  int32_t savedZoom;
};
bool BeginActualSize(ActualSizeZoom& z);
bool EndActualSize(ActualSizeZoom& z);

}  // namespace viz
