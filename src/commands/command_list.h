// Runtime state of the commands: check, enabled, visible, tag and the secondary shortcut list.
// Pure state; the Win32 shell reads it to draw menus and toolbar buttons.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "commands/command_table.h"

namespace viz {

struct CommandState {
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  int32_t tag = 0;
  std::vector<uint16_t> secondaryShortcuts;
};

class CommandList {
 public:
  CommandList();

  CommandState& operator[](Cmd c) { return states_[static_cast<size_t>(c)]; }
  const CommandState& operator[](Cmd c) const { return states_[static_cast<size_t>(c)]; }

  bool Checked(Cmd c) const { return (*this)[c].checked; }
  bool Enabled(Cmd c) const { return (*this)[c].enabled; }
  bool Visible(Cmd c) const { return (*this)[c].visible; }
  int32_t Tag(Cmd c) const { return (*this)[c].tag; }

  // Sets the check; checking a radio command unchecks the others of its group.
  void SetChecked(Cmd c, bool on);
  // The checked command of a radio group, if any.
  std::optional<Cmd> CheckedInGroup(RadioGroup g) const;

 private:
  std::array<CommandState, kCommandCount> states_;
};

}  // namespace viz
