#pragma once

namespace dyno {

struct EditorDocument;

struct CommandStatus {
  bool Enabled = true;
  bool Checkable = false;
  bool Checked = false;
};

// When an editor command is available and whether it carries a check mark,
// from the document's flags alone. The print commands are the application's
// and are not answered here (they come back enabled).
CommandStatus QueryCommand(int id, const EditorDocument& doc);

}  // namespace dyno
