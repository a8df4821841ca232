#include "commands/command_list.h"

namespace viz {

CommandList::CommandList() {
  for (const CommandDef& d : CommandTable()) {
    CommandState& s = states_[static_cast<size_t>(d.cmd)];
    s.checked = d.checked;
    s.enabled = d.enabled;
    s.visible = d.visible;
    s.tag = d.tag;
    s.secondaryShortcuts = DefaultShortcuts(d.cmd);
  }
}

void CommandList::SetChecked(Cmd c, bool on) {
  const RadioGroup g = Def(c).group;
  if (on && g != RadioGroup::None) {
    for (const CommandDef& d : CommandTable())
      if (d.group == g && d.cmd != c) states_[static_cast<size_t>(d.cmd)].checked = false;
  }
  (*this)[c].checked = on;
}

std::optional<Cmd> CommandList::CheckedInGroup(RadioGroup g) const {
  for (const CommandDef& d : CommandTable())
    if (d.group == g && Checked(d.cmd)) return d.cmd;
  return std::nullopt;
}

}  // namespace viz
