#pragma once

#include <span>
#include <string_view>

namespace dyno {

// The menus a command can be an item of: the menu bar's popups and the
// Recent Files submenu. Each command's record (core/resources/Commands.h)
// names its menu; the items of a menu stand in the order of the records.
enum class MenuId { None, File, RecentFiles, Edit, AdjustSelection, Modes, View, Help };

struct PopupMenuDef {
  std::string_view Title;
  MenuId Menu = MenuId::None;
  std::string_view Hint;  // shown while the popup is highlighted; empty: none
};

// The menu bar: "&File", "&Edit", "&Modes", "&View", "&Help", left to right.
std::span<const PopupMenuDef> MainMenu();

// The main toolbar, left to right; id 0 is a 6-pixel separator.
std::span<const int> MainToolbar();

}  // namespace dyno
