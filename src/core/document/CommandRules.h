#pragma once

#include <string>

namespace dyno {

struct EditorDocument;
class UndoHistory;

struct CommandStatus {
  bool Enabled = true;
  bool Checkable = false;
  bool Checked = false;
  std::string Text;  // the menu text where it depends on the state; empty: the menu table's
};

// When an editor command is available and whether it carries a check mark,
// from the document's flags and, for Undo and Redo, the history (which also
// names the step in their menu text). The print commands are the
// application's and are not answered here (they come back enabled).
CommandStatus QueryCommand(int id, const EditorDocument& doc, const UndoHistory& history);

// The same for a document without a history: Undo and Redo are off.
CommandStatus QueryCommand(int id, const EditorDocument& doc);

// Whether Save As can write the document in a file mode (the Tire or the
// Upgrade mode when set, else the Engine mode): its enabling rule for that
// mode.
bool CanSaveAs(const EditorDocument& doc, bool tireMode, bool upgradeMode);

}  // namespace dyno
