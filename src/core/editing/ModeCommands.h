#pragma once

#include <optional>

#include "core/document/UndoHistory.h"

namespace dyno {

struct DataFile;
struct EditorDocument;
struct EditorState;

// The data the current mode shows: the tire data in Tire mode, else the
// engine data.
FileData ShownData(const EditorDocument& doc);

// The file that data came from.
DataFile& FileOf(EditorDocument& doc, FileData data);
const DataFile& FileOf(const EditorDocument& doc, FileData data);

// Whether that data has changes no file holds yet, which closing or
// replacing it would lose. The start-up curve, which no mode can save,
// has none.
bool HasUnsavedChanges(const EditorDocument& doc, const UndoHistory& history, FileData data);

// The mode in which that data's changes are saved: the current one when it
// shows that data and can save it; else Tire mode for the tire data, and for
// the engine data the mode of its last change (Upgrade or Engine) where
// saving works. Nothing when no mode can save it.
std::optional<FileMode> ModeToSave(const EditorDocument& doc, const UndoHistory& history, FileData data);

// Switches the file mode: clears the picks, selections and any drag and
// empties the value box, returns the table to row 0 for the mode's row
// count and repaints. Curves, texts, file names and loaded flags stay as
// they are.
void SetFileMode(EditorState& st, FileMode mode);

}  // namespace dyno
