#pragma once

#include <span>
#include <string_view>

namespace dyno {

// One entry of a popup menu, by command id (core/resources/Commands.h has
// its text, hint and keys); id 0 is a separator. An entry with items is a
// submenu. Entries of the same RadioGroup (other than 0) are radio items:
// one of them is checked.
struct MenuItemDef {
  int Id = 0;
  std::span<const MenuItemDef> Items = {};
  int RadioGroup = 0;
};

struct PopupMenuDef {
  std::string_view Title;
  std::span<const MenuItemDef> Items;
  std::string_view Hint;  // shown while the popup is highlighted; empty: none
};

// The menu bar: "&File", "&Edit", "&Modes", "&View", "&Help", left to right.
std::span<const PopupMenuDef> MainMenu();

// The main toolbar, left to right; id 0 is a 6-pixel separator.
std::span<const int> MainToolbar();

}  // namespace dyno
