#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "core/document/UndoHistory.h"
#include "core/files/ReadResult.h"
#include "core/files/RecentFiles.h"

class QWidget;

namespace dyno {

struct EditorDocument;
struct EditorSession;
class EditorWindow;
class UserDialogs;
struct FileDialogRequest;
struct UserMessage;

// File names are kept to the length the document promises for them
// (MaxPathLength); a longer path is refused rather than cut to another
// file's name.
bool PathTooLong(const QString& path);

// Where the file dialogs start: the folder of the last opened file when it
// still exists (it becomes the current folder), else the current folder.
QString StartFolder(const EditorSession& session);

// The folder of a path chosen in a file dialog becomes the remembered and
// the current folder, where the next Open and Import start.
void TakeChosenFolder(EditorSession& session, const QString& path);

// Shows the messages of a save, in order. They name files, and names are
// UTF-8 in the core.
void ShowMessages(UserDialogs& dialogs, QWidget* parent, const std::vector<UserMessage>& messages);

// The file a save dialog chose, or nothing when it was cancelled or the name
// is too long (said in a message). Its folder becomes the current one, where
// the next save dialog starts.
QString ChooseSaveTarget(UserDialogs& dialogs, QWidget* parent, const FileDialogRequest& request);

// Tells what a reader's outcome means for the file at path: nothing found
// (the message nothingFound), or a file that could not be opened. True when
// the file was read.
bool ReportRead(UserDialogs& dialogs, QWidget* parent, ReadResult result, const QString& path,
                const QString& nothingFound);

// Tells what of the file named fileName, just read, the editor left out, if
// anything: rows beyond 500, samples of a slip curve beyond 261.
void ReportLeftOut(UserDialogs& dialogs, QWidget* parent, const ReadOutcome& read, const std::string& fileName);

// Open, Save As, the recent files and the parameter dialogs of the editor
// window.
class FileCommands {
 public:
  explicit FileCommands(EditorWindow& window) : window_(window) {}

  // File > Open: asks for a file and opens it.
  void OpenPhysicsFile();
  // Opens the file at path as Open does once the file is chosen, with all of
  // Open's messages: the file is read first, a file that cannot be opened
  // changes nothing, and the unsaved changes of the data it replaces (engine
  // or tire) are offered for saving before they go. True when it was opened.
  bool OpenPath(const QString& path);
  // The same for a recent file, a file dropped on the window or named on the
  // command line.
  void OpenFile(const QString& path);
  // Offers to save the unsaved changes of both files' data before the
  // document is closed, naming each file. False when the user cancelled or
  // a save failed.
  bool SaveChangesFirst();
  // The same for one kind of data, before it is replaced.
  bool SaveChangesFirst(FileData data);

  // File > Save: writes the data shown to the file it came from, with the
  // safety of Save As but no dialog. False when nothing was saved.
  bool SavePhysicsFile();
  // The toolbar's disk and Ctrl+S: Save where the data shown has a file,
  // else Save As.
  bool SaveOrSaveAs();
  // False when nothing was saved (cancelled or failed).
  bool SaveAsPhysicsFile();
  // The current mode's table as a CSV file, written as safely as Save As.
  void ExportCsv();

  // View > Compare With File: draws the curves of another engine or upgrade
  // file, read as Open reads it, behind the document's. Compare With Saved:
  // the curve as last opened or saved.
  void CompareWithFile();

  // The recent files: reads the list from the settings file; opens entry
  // index (0 for the newest), or takes it off the list with a message when
  // the file has gone; empties the list.
  void LoadRecentFiles();
  void OpenRecentFile(int index);
  void ClearRecentFiles();

  // The engine parameters in the engine modes, the slip curve headers in
  // Tire mode.
  void EditParameters();

 private:
  // Saves that data, in the mode that writes it, to its file or, without
  // one, to a file the user chooses.
  bool SaveData(FileData data);
  // Saves the data shown as folder/name, and tells what went wrong.
  bool SaveTo(const std::string& folder, const std::string& name);

  // Applies change to the list as stored (which another running copy of
  // the program may have changed), stores it and shows it.
  void ChangeRecentFiles(const std::function<void(RecentFileList&)>& change);

  EditorWindow& window_;
};

}  // namespace dyno
