#pragma once

namespace dyno {

struct EditorState;

enum class FileMode { Engine, Upgrade, Tire };

// Switches the file mode: clears the picks, selections and any drag and
// empties the value box, returns the table to row 0 for the mode's row
// count and repaints. Curves, texts, file names and loaded flags stay as
// they are.
void SetFileMode(EditorState& st, FileMode mode);

}  // namespace dyno
