#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/CommandRules.h"
#include "core/document/StepKind.h"
#include "core/resources/CommandTable.h"

namespace dyno {

struct EditorDocument;
struct EditorSession;
class UndoHistory;

// Everything the program knows about a command apart from what carries it
// out: the menus, the toolbars, the hints, the keys and the enabling are all
// built from these. The shell binds a handler to each by its id.
struct CommandRecord {
  int Id = 0;
  std::string_view Name = {};  // the action's object name: "actionOpen"
  std::string_view Text = {};  // the menu or button text; empty: filled in while the program runs
  std::string_view Hint = {};  // the status bar's hint
  // The keys that carry it out, as key sequence texts ("Ctrl+Z"); the first
  // is the one menus show.
  std::span<const std::string_view> Keys = {};
  std::string_view Image = {};  // the button's bitmap (images.qrc); empty: none
  // When it is available and whether it carries a check mark. None where
  // the editor's state does not decide: the printer, the print preview's
  // pages.
  CommandStatus (*Rule)(const EditorDocument&, const EditorSession&, const UndoHistory&) = nullptr;
  // Its place in the menus: the menu it is an item of (the items of a menu
  // stand in the order of the records), whether a separator goes before it,
  // and its radio group, where one item of each group other than 0 is
  // checked. A command that opens a submenu names it.
  MenuId Menu = MenuId::None;
  bool Separated = false;
  int RadioGroup = 0;
  MenuId Submenu = MenuId::None;
};

// Every command, the main window's and the print preview's.
std::span<const CommandRecord> Commands();

// The records of the items of a menu, in order.
std::vector<const CommandRecord*> MenuItems(MenuId menu);

// The record of a command by its id or its object name; nullptr for none.
const CommandRecord* FindCommand(int id);
const CommandRecord* FindCommand(std::string_view name);

// A command's rule for a document, the session and the document's history;
// enabled and unchecked for a command whose rule is not the editor's.
CommandStatus CommandState(int id, const EditorDocument& doc, const EditorSession& session,
                           const UndoHistory& history);

// The menu text of Undo or Redo: "&Undo Drag" for the step it would take
// back, "&Redo Rescale" for the one it would do again; the bare "&Undo" or
// "&Redo" when there is none.
std::string UndoMenuText(int id, std::optional<StepKind> step);

}  // namespace dyno
