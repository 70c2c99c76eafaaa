#pragma once

#include <optional>

namespace dyno {

struct EditorDocument;
struct EditorState;
class UndoHistory;

enum class FileMode { Engine, Upgrade, Tire };

FileMode CurrentFileMode(const EditorDocument& doc);

// The mode in which Save As writes the document's unsaved changes: the
// current one when it can write them; else Tire mode for changed tire data,
// and for changed engine data the mode of its last change (Upgrade or
// Engine) where Save As works. Nothing when nothing is unsaved or no mode
// can write it (the start-up curve, never loaded from a file).
std::optional<FileMode> ModeToSaveChanges(const EditorDocument& doc, const UndoHistory& history);

// Switches the file mode: clears the picks, selections and any drag and
// empties the value box, returns the table to row 0 for the mode's row
// count and repaints. Curves, texts, file names and loaded flags stay as
// they are.
void SetFileMode(EditorState& st, FileMode mode);

}  // namespace dyno
