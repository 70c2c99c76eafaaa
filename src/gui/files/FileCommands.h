#pragma once

#include <QString>

#include "core/files/ReadResult.h"

class QWidget;

namespace dyno {

struct EditorDocument;
class EditorWindow;
class UserDialogs;

// File names are kept to the length the document promises for them
// (MaxPathLength); a longer path is refused rather than cut to another
// file's name.
bool PathTooLong(const QString& path);

// Where the file dialogs start: the folder of the last opened file when it
// still exists (it becomes the current folder), else the current folder.
QString StartFolder(const EditorDocument& doc);

// Takes a path chosen in a file dialog as the file last opened: its path,
// name and folder, which also becomes the remembered and current folder.
void TakeChosenFile(EditorDocument& doc, const QString& path);

// Tells what a reader's outcome means for the file at path: nothing found
// (the message nothingFound), or a file that could not be opened. True when
// the file was read.
bool ReportRead(UserDialogs& dialogs, QWidget* parent, ReadResult result, const QString& path,
                const QString& nothingFound);

// Open, Save As and the parameter dialogs of the editor window.
class FileCommands {
 public:
  explicit FileCommands(EditorWindow& window) : window_(window) {}

  void OpenPhysicsFile();
  // False when nothing was saved (cancelled or failed).
  bool SaveAsPhysicsFile();
  // The engine parameters in the engine modes, the slip curve headers in
  // Tire mode.
  void EditParameters();

 private:
  EditorWindow& window_;
};

}  // namespace dyno
