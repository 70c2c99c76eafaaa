#pragma once

#include <QString>

#include <functional>
#include <string>

#include "core/files/ReadResult.h"
#include "core/files/RecentFiles.h"

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

// Tells what of the file named fileName, just read, the editor left out, if
// anything: rows beyond 500, samples of a slip curve beyond 261.
void ReportLeftOut(UserDialogs& dialogs, QWidget* parent, const ReadOutcome& read, const std::string& fileName);

// Open, Save As, the recent files and the parameter dialogs of the editor
// window.
class FileCommands {
 public:
  explicit FileCommands(EditorWindow& window) : window_(window) {}

  // File > Open: offers to save unsaved changes, asks for a file, opens it.
  void OpenPhysicsFile();
  // Opens the file at path as Open does once the file is chosen, with all of
  // Open's messages. True when its data was read.
  bool OpenPath(const QString& path);
  // Opens the file at path after offering to save unsaved changes: a recent
  // file, a file dropped on the window or named on the command line.
  void OpenFile(const QString& path);
  // Offers to save unsaved changes before the document is closed or
  // replaced. False when the user cancelled or the save failed.
  bool SaveChangesFirst();

  // False when nothing was saved (cancelled or failed).
  bool SaveAsPhysicsFile();
  // The current mode's table as a CSV file, written as safely as Save As.
  void ExportCsv();

  // View > Compare With File: draws the curves of another engine or upgrade
  // file, read as Open reads it, behind the document's. Compare With Saved:
  // the curve as last opened or saved.
  void CompareWithFile();
  void CompareWithSaved();

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
  // Applies change to the list as stored (which another running copy of
  // the program may have changed), stores it and shows it.
  void ChangeRecentFiles(const std::function<void(RecentFileList&)>& change);

  EditorWindow& window_;
};

}  // namespace dyno
