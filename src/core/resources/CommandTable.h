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

// What a step of the undo history did: one user action.
enum class StepKind {
  Drag,              // a point dragged, press to release
  Typing,            // a run of typing in the value box
  UpDown,            // one hold of the Up or Down button
  Bend,              // one hold of the buttons in bend mode
  EditCell,          // a click on a table cell that rounded its value
  Generate,
  Rescale,
  ChangeResolution,
  AddLine,
  RemoveLine,
  Import,
  EditParameters,
  EditSlipCurves,
  PasteTable,        // a table pasted from the clipboard
  ImportCsv,
};

// The step's name as the Undo and Redo menu items show it: "Drag".
std::string_view StepName(StepKind kind);

}  // namespace dyno
