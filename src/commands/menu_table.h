// The popup menu `mnuMain` as data: submenus and items that name commands. Toolbar drop-downs are
// built from the same submenus, so checks and captions come from the shared commands.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "commands/command_table.h"

namespace viz {

struct MenuNode {
  const char* name;               // "mniZoom_6", "mniGrid_LineGrid", "mniZoom"
  std::optional<Cmd> cmd;         // item command; none for separators and submenus
  std::optional<Text> caption;    // submenu caption (items take the command's caption)
  std::vector<MenuNode> children; // submenu items
  bool isDefault = false;         // drawn bold; the toolbar button of the submenu runs it

  bool IsSeparator() const { return !cmd && children.empty(); }
  bool IsSubmenu() const { return !children.empty(); }
};

const MenuNode& MainMenu();                       // mnuMain
const MenuNode* FindMenu(std::string_view name);  // any node by name, e.g. "mniGrid"
// Position of the item with this name inside its submenu, or -1.
int IndexInMenu(const MenuNode& submenu, std::string_view itemName);

}  // namespace viz
