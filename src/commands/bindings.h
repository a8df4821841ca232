// Key and gesture bindings: which command a key or a right-button gesture fires.
//
// Two ordered key lists (the defaults built at start, used by the reset operations, and the
// current ones in force) and two sets of four gesture slots (up, down, left, right). Keys are
// virtual-key codes without modifier bits: Shift and Ctrl never tell bindings apart.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "commands/command_list.h"
#include "commands/command_table.h"
#include "commands/gesture.h"
#include "commands/key_slot.h"

namespace viz {

struct T_ShortCutAction {
  uint16_t key;
  Cmd cmd;

  friend bool operator==(const T_ShortCutAction&, const T_ShortCutAction&) = default;
};

using GestureSlots = std::array<std::optional<Cmd>, kGestureSlotCount>;

// Virtual-key code of a shortcut value (modifier bits dropped).
inline constexpr uint16_t KeyOfShortcut(uint16_t shortcut) { return shortcut & 0xFF; }

class BindingSet {
 public:
  // Builds the default and current key lists from the commands' secondary shortcut lists, in
  // action-list order, and empties those lists so that only our own key handling fires them.
  // Also sets both gesture sets to the defaults. Replaces whatever was built before.
  void Build(CommandList& commands);

  const std::vector<T_ShortCutAction>& Defaults() const { return defaults_; }
  const std::vector<T_ShortCutAction>& Current() const { return current_; }
  const GestureSlots& DefaultGestures() const { return defaultGestures_; }
  const GestureSlots& CurrentGestures() const { return currentGestures_; }

  // First binding of the current list whose key equals `key`.
  std::optional<Cmd> Lookup(uint16_t key) const;

  std::optional<Cmd> Gesture(GestureDir d) const { return currentGestures_[GestureSlot(d)]; }
  void SetGesture(GestureDir d, std::optional<Cmd> cmd) { currentGestures_[GestureSlot(d)] = cmd; }

  void ClearCurrent() { current_.clear(); }
  void ResetKeys() { current_ = defaults_; }
  void ResetGestures() { currentGestures_ = defaultGestures_; }
  void ResetAll() {
    ResetKeys();
    ResetGestures();
  }

  // Editing, as the shortcut window does it: at most one binding per key, any number of keys
  // per command. Bind replaces the key's binding in place (or appends) and returns the command
  // it was bound to before; key 0 is refused (no value returned, nothing changes).
  std::optional<Cmd> BoundTo(uint16_t key) const { return Lookup(key); }
  std::vector<uint16_t> KeysOf(Cmd cmd) const;
  std::optional<Cmd> Bind(uint16_t key, Cmd cmd);
  bool Unbind(uint16_t key);  // false when the key had no binding

  // Settings file. Save writes the current bindings into the 62 slots (a binding whose key is
  // in no row is not stored; of two bindings with one key the later identifier stays) and the
  // current gestures' identifiers. Load replaces the current bindings by the slots holding a
  // known command identifier and the current gestures by the four identifiers.
  void SaveTo(KeySlots& slots, GestureIds& gestures) const;
  void LoadFrom(const KeySlots& slots, const GestureIds& gestures);

 private:
  std::vector<T_ShortCutAction> defaults_;
  std::vector<T_ShortCutAction> current_;
  GestureSlots defaultGestures_{};
  GestureSlots currentGestures_{};
};

inline constexpr GestureSlots kDefaultGestures = {Cmd::Opt_StayOnTop, Cmd::Custom_Setting,
                                                  Cmd::Grid_Disp, Cmd::Capture_Pause};

}  // namespace viz
