#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace dyno {

// One entry of a popup menu; id 0 is a separator. An entry with items is a
// submenu; an entry without text is filled in while the program runs.
// Entries of the same RadioGroup (other than 0) are radio items: one of
// them is checked.
struct MenuItemDef {
  int Id = 0;
  std::string_view Text;
  std::span<const MenuItemDef> Items = {};
  int RadioGroup = 0;
};

struct PopupMenuDef {
  std::string_view Title;
  std::span<const MenuItemDef> Items;
  int HintId = 0;  // the string shown while the popup is highlighted; 0: none
};

// The menu bar: "&File", "&Edit", "&Modes", "&View", "&Help", left to right.
std::span<const PopupMenuDef> MainMenu();

// The hint shown while a popup menu is highlighted: the string HintId names.
// Empty when there is none.
std::string_view PopupMenuHint(const PopupMenuDef& popup);

// The main toolbar, left to right; id 0 is a 6-pixel separator.
std::span<const int> MainToolbar();

// The popup and position of a command in the menu bar, for tests and hints.
const MenuItemDef* FindMenuItem(int id);

// The name of a command's action, which says what it is: "actionOpen",
// "actionNextPage". Empty for an id that is no command.
std::string_view CommandObjectName(int id);

// The keys that carry out a command, as key sequence texts ("Ctrl+Z"); the
// first is the one menus show. Empty for a command without keys.
std::span<const std::string_view> CommandKeys(int id);

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

// The menu text of Undo or Redo: "&Undo Drag" for the step it would take
// back, "&Redo Rescale" for the one it would do again; the bare "&Undo" or
// "&Redo" when there is none.
std::string UndoMenuText(int id, std::optional<StepKind> step);

}  // namespace dyno
