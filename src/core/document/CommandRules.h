#pragma once

#include <string>

namespace dyno {

struct EditorDocument;

// What a command's enabling rule answers (core/resources/Commands.h holds
// the rules, one per command).
struct CommandStatus {
  bool Enabled = true;
  bool Checkable = false;
  bool Checked = false;
  std::string Text;  // the menu text where it depends on the state; empty: the record's
};

// Whether Save As can write the document in a file mode (the Tire or the
// Upgrade mode when set, else the Engine mode): its enabling rule for that
// mode.
bool CanSaveAs(const EditorDocument& doc, bool tireMode, bool upgradeMode);

}  // namespace dyno
