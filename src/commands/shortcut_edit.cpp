#include "commands/shortcut_edit.h"

#include "base/format.h"

namespace viz {

namespace {

bool CaptionShared(Cmd c) {
  const std::wstring mine = CaptionWithoutAccel(CaptionOf(c));
  for (const CommandDef& d : CommandTable())
    if (d.cmd != c && d.id != 0 && CaptionWithoutAccel(Tr(d.caption)) == mine) return true;
  return false;
}

}  // namespace

std::wstring CommandCaption(Cmd c) {
  std::wstring caption = CaptionWithoutAccel(CaptionOf(c));
  if (CaptionShared(c)) return FormatW(Tr(Text::CaptionWithCategory), {caption, CategoryOf(c)});
  return caption;
}

std::vector<CommandRow> CommandRows() {
  std::vector<CommandRow> rows;
  for (const CommandDef& d : CommandTable()) {
    if (d.id == 0) continue;  // the separator entry has nothing to run
    rows.push_back({d.cmd, std::wstring(Tr(d.category)), CommandCaption(d.cmd)});
  }
  return rows;
}

std::optional<KeyTarget> KeyGridTarget(int row) {
  if (row < 0 || row >= kKeyGridRowCount) return std::nullopt;
  KeyTarget t;
  if (row < kKeyCount) {
    t.key = KeyTable()[static_cast<size_t>(row)].key;
  } else {
    t.gesture = true;
    t.dir = static_cast<GestureDir>(row - kKeyCount);
  }
  return t;
}

int KeyGridRowOfKey(uint16_t key) { return KeyRowOf(key); }

int KeyGridRowOfGesture(GestureDir d) { return kKeyCount + GestureSlot(d); }

std::wstring KeyGridName(int row) {
  const auto t = KeyGridTarget(row);
  if (!t) return {};
  if (t->gesture) return std::wstring(GestureName(GestureSlot(t->dir)));
  return std::wstring(DisplayNameOf(KeyTable()[static_cast<size_t>(row)]));
}

std::optional<Cmd> KeyGridCommand(const BindingSet& b, int row) {
  const auto t = KeyGridTarget(row);
  if (!t) return std::nullopt;
  return t->gesture ? b.Gesture(t->dir) : b.BoundTo(t->key);
}

std::vector<KeyGridRow> KeyGridRows(const BindingSet& b) {
  std::vector<KeyGridRow> rows;
  rows.reserve(kKeyGridRowCount);
  for (int i = 0; i < kKeyGridRowCount; ++i) {
    const auto cmd = KeyGridCommand(b, i);
    rows.push_back({KeyGridName(i), cmd ? CommandCaption(*cmd) : std::wstring()});
  }
  return rows;
}

std::wstring ReplaceQuestion(std::wstring_view rowName, std::wstring_view boundCaption) {
  return FormatW(Tr(Text::Question_Replace), {rowName, boundCaption});
}

AssignPlan PlanAssign(const BindingSet& b, int row, Cmd cmd) {
  AssignPlan plan;
  if (!KeyGridTarget(row) || IdFromCommand(cmd) == 0) return plan;
  const auto bound = KeyGridCommand(b, row);
  if (!bound) {
    plan.step = AssignStep::Apply;
  } else if (*bound != cmd) {
    plan.step = AssignStep::Confirm;
    plan.question = ReplaceQuestion(KeyGridName(row), CommandCaption(*bound));
  }
  return plan;
}

bool ApplyAssign(BindingSet& b, int row, Cmd cmd) {
  const auto t = KeyGridTarget(row);
  if (!t || IdFromCommand(cmd) == 0) return false;
  if (t->gesture) {
    if (b.Gesture(t->dir) == cmd) return false;
    b.SetGesture(t->dir, cmd);
    return true;
  }
  // Bind also drops later duplicates of the key, which a hand-edited file may hold.
  const size_t before = b.Current().size();
  const auto previous = b.Bind(t->key, cmd);
  return previous != cmd || b.Current().size() != before;
}

bool ClearRow(BindingSet& b, int row) {
  const auto t = KeyGridTarget(row);
  if (!t) return false;
  if (!t->gesture) return b.Unbind(t->key);
  if (!b.Gesture(t->dir)) return false;
  b.SetGesture(t->dir, std::nullopt);
  return true;
}

std::wstring_view ResetQuestion(ResetKind kind) {
  switch (kind) {
    case ResetKind::Keys: return Tr(Text::Question_ResetKeys);
    case ResetKind::Gestures: return Tr(Text::Question_ResetGestures);
    case ResetKind::All: break;
  }
  return Tr(Text::Question_ResetAll);
}

void ApplyReset(BindingSet& b, ResetKind kind) {
  switch (kind) {
    case ResetKind::Keys: b.ResetKeys(); break;
    case ResetKind::Gestures: b.ResetGestures(); break;
    case ResetKind::All: b.ResetAll(); break;
  }
}

}  // namespace viz
