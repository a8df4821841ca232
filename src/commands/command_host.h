// What the settings and shortcut windows need of the window that owns the commands: the
// commands, the bindings, a way to fire a command, and the notice that either changed.
#pragma once

#include "commands/bindings.h"
#include "commands/command_list.h"

namespace viz {

// Who started a command: the line builder, the stay-on-top handler and the settings window tell
// these apart.
enum class Sender { None, Menu, Toolbar, Key, Gesture, Timer, Program, SettingWindow };

class CommandHost {
 public:
  virtual CommandList& Commands() = 0;
  virtual BindingSet& Bindings() = 0;
  // Fires a command as a menu, toolbar, key or gesture does: a check-mark command toggles first.
  virtual void Fire(Cmd c, Sender s) = 0;
  // Called after any state change that menus, toolbar and other windows show.
  virtual void CommandsChanged() = 0;

 protected:
  ~CommandHost() = default;
};

}  // namespace viz
