#include "commands/key_dispatch.h"

namespace viz {
namespace {

bool IsMoveCommand(Cmd c) {
  return c == Cmd::Move_Up || c == Cmd::Move_Down || c == Cmd::Move_Left || c == Cmd::Move_Right;
}

KeyUpDecision RunDecision(Cmd cmd) { return {KeyUpAction::RunCommand, cmd, Def(cmd).autoCheck}; }

}  // namespace

KeyDownDecision DecideKeyDown(const BindingSet& bindings, uint16_t key, bool altHeld) {
  if (altHeld) return {};
  const std::optional<Cmd> cmd = bindings.Lookup(key);
  if (!cmd) return {};
  if (IsMoveCommand(*cmd)) return {KeyDownAction::RunMove, cmd};
  if (*cmd == Cmd::Capture_Disp_x1) return {KeyDownAction::BeginActualSize, cmd};
  return {KeyDownAction::Consume, cmd};
}

KeyUpDecision DecideKeyUp(const BindingSet& bindings, uint16_t key, bool altHeld) {
  if (key == kVkApps) return {KeyUpAction::ShowMainMenu, Cmd::Menu_Main, false};
  if (altHeld) return {};
  const std::optional<Cmd> cmd = bindings.Lookup(key);
  if (!cmd || IsMoveCommand(*cmd)) return {};
  if (*cmd == Cmd::Capture_Disp_x1) return {KeyUpAction::EndActualSize, cmd, false};
  return RunDecision(*cmd);
}

KeyUpDecision DecideGesture(const BindingSet& bindings, GestureDir dir) {
  const std::optional<Cmd> cmd = bindings.Gesture(dir);
  if (!cmd) return {};
  return RunDecision(*cmd);
}

bool BeginActualSize(ActualSizeZoom& z) {
  if (z.savedZoom >= 0) return false;
  z.savedZoom = z.zoom;
  z.zoom = 1;
  return true;
}

bool EndActualSize(ActualSizeZoom& z) {
  if (z.savedZoom <= 0) return false;
  z.zoom = z.savedZoom;
  z.savedZoom = -1;
  return true;
}

}  // namespace viz
