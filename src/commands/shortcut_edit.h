// What the shortcut window shows and what its edits do, without any window.
//
// The command grid lists every command that has an identifier, in action-list order. The key
// grid lists the 62 keys of the key table, then the four gestures; each row names the command
// bound to it. Edits go through here so that the window, the menus and the settings file all
// see one binding per key and one command per gesture slot.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/bindings.h"
#include "commands/command_table.h"
#include "commands/gesture.h"
#include "commands/key_table.h"

namespace viz {

// ---- the command grid ----------------------------------------------------------------------

struct CommandRow {
  Cmd cmd;
  std::wstring category;
  std::wstring caption;  // as CommandCaption gives it
};

std::vector<CommandRow> CommandRows();

// The caption without its access mark. Captions that several commands share (the three "all
// on/off" commands) get their category in brackets, so that a key row and a confirmation always
// tell which one is meant.
std::wstring CommandCaption(Cmd c);

// ---- the key grid --------------------------------------------------------------------------

inline constexpr int kKeyGridRowCount = kKeyCount + static_cast<int>(kGestureSlotCount);

// A key-grid row: a key of the key table, or a gesture slot.
struct KeyTarget {
  bool gesture = false;
  uint16_t key = 0;                 // when !gesture
  GestureDir dir = GestureDir::Up;  // when gesture
};

// No value for a row outside 0 .. kKeyGridRowCount - 1.
std::optional<KeyTarget> KeyGridTarget(int row);
// Key-grid row of a key code (-1 when the key is in no row) and of a gesture.
int KeyGridRowOfKey(uint16_t key);
int KeyGridRowOfGesture(GestureDir d);

struct KeyGridRow {
  std::wstring name;     // displayed key name or gesture name
  std::wstring command;  // caption of the bound command, empty when unbound
};

// The displayed name of a row (a key's or a gesture's) in the language shown; empty outside
// the grid.
std::wstring KeyGridName(int row);
// The command a row is bound to: the key's binding (the first one, as dispatch finds it) or
// the gesture slot's command.
std::optional<Cmd> KeyGridCommand(const BindingSet& b, int row);
std::vector<KeyGridRow> KeyGridRows(const BindingSet& b);

// ---- editing -------------------------------------------------------------------------------

enum class AssignStep {
  Nothing,  // bad row, or the row already holds this command
  Apply,    // the row is free: bind at once
  Confirm,  // the row holds another command: ask `question` first
};

struct AssignPlan {
  AssignStep step = AssignStep::Nothing;
  std::wstring question;
};

// The question before a row's command is replaced, with the row's name and the caption of the
// command it holds.
std::wstring ReplaceQuestion(std::wstring_view rowName, std::wstring_view boundCaption);

AssignPlan PlanAssign(const BindingSet& b, int row, Cmd cmd);
// Binds the row to `cmd` (replacing what it held); false when nothing changed.
bool ApplyAssign(BindingSet& b, int row, Cmd cmd);
// Removes the key's binding or empties the gesture slot; false when it held nothing.
bool ClearRow(BindingSet& b, int row);

enum class ResetKind { Keys, Gestures, All };

std::wstring_view ResetQuestion(ResetKind kind);
void ApplyReset(BindingSet& b, ResetKind kind);

}  // namespace viz
