#include "commands/bindings.h"

#include <algorithm>

#include "commands/key_table.h"

static_assert(viz::kKeySlotCount == static_cast<size_t>(viz::kKeyCount),
              "one settings slot per key-table row");

namespace viz {
namespace {

std::optional<Cmd> CommandFromStoredId(uint16_t id) {
  if (id == 0) return std::nullopt;
  const std::optional<Cmd> cmd = CommandFromId(static_cast<int16_t>(id));
  // Spc has no identifier; guard anyway so that a separator can never be bound.
  if (cmd == Cmd::Spc) return std::nullopt;
  return cmd;
}

uint16_t StoredIdOf(std::optional<Cmd> cmd) {
  return cmd ? static_cast<uint16_t>(IdFromCommand(*cmd)) : 0;
}

}  // namespace

void BindingSet::Build(CommandList& commands) {
  defaults_.clear();
  current_.clear();
  for (const CommandDef& d : CommandTable()) {
    std::vector<uint16_t>& shortcuts = commands[d.cmd].secondaryShortcuts;
    if (shortcuts.empty()) continue;
    uint16_t previous = 0;
    for (uint16_t shortcut : shortcuts) {
      const uint16_t key = KeyOfShortcut(shortcut);
      // A modifier-only entry (key 0) can never be pressed as a key; it is not bound.
      if (key != previous && key != 0) {
        defaults_.push_back({key, d.cmd});
        current_.push_back({key, d.cmd});
      }
      previous = key;
    }
    shortcuts.clear();
  }
  defaultGestures_ = kDefaultGestures;
  currentGestures_ = kDefaultGestures;
}

std::optional<Cmd> BindingSet::Lookup(uint16_t key) const {
  for (const T_ShortCutAction& b : current_)
    if (b.key == key) return b.cmd;
  return std::nullopt;
}

std::vector<uint16_t> BindingSet::KeysOf(Cmd cmd) const {
  std::vector<uint16_t> keys;
  for (const T_ShortCutAction& b : current_)
    if (b.cmd == cmd) keys.push_back(b.key);
  return keys;
}

std::optional<Cmd> BindingSet::Bind(uint16_t key, Cmd cmd) {
  if (key == 0) return std::nullopt;
  auto it = std::find_if(current_.begin(), current_.end(),
                         [key](const T_ShortCutAction& b) { return b.key == key; });
  if (it == current_.end()) {
    current_.push_back({key, cmd});
    return std::nullopt;
  }
  const Cmd previous = it->cmd;
  it->cmd = cmd;
  // Bindings loaded from an edited file may repeat a key; only the first one ever fired.
  current_.erase(std::remove_if(it + 1, current_.end(),
                                [key](const T_ShortCutAction& b) { return b.key == key; }),
                 current_.end());
  return previous;
}

bool BindingSet::Unbind(uint16_t key) {
  const auto n = std::erase_if(current_, [key](const T_ShortCutAction& b) { return b.key == key; });
  return n > 0;
}

void BindingSet::SaveTo(KeySlots& slots, GestureIds& gestures) const {
  slots.fill({});
  const auto& rows = KeyTable();
  for (const T_ShortCutAction& b : current_) {
    for (size_t i = 0; i < kKeySlotCount; ++i) {
      slots[i].key = rows[i].key;
      if (rows[i].key == b.key) {
        slots[i].id = StoredIdOf(b.cmd);
        break;
      }
    }
  }
  for (size_t i = 0; i < kGestureSlotCount; ++i) gestures[i] = StoredIdOf(currentGestures_[i]);
}

void BindingSet::LoadFrom(const KeySlots& slots, const GestureIds& gestures) {
  current_.clear();
  for (const KeySlot& s : slots) {
    const std::optional<Cmd> cmd = CommandFromStoredId(s.id);
    // Key 0 can never be pressed; such a slot only comes from a damaged file.
    if (cmd && s.key != 0) current_.push_back({s.key, *cmd});
  }
  for (size_t i = 0; i < kGestureSlotCount; ++i) currentGestures_[i] = CommandFromStoredId(gestures[i]);
}

}  // namespace viz
