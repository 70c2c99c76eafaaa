#include "gui/files/FileCommands.h"

#include <QDir>
#include <QFileInfo>

#include "core/chart/RowScrolling.h"
#include "core/document/CommandRules.h"
#include "core/editing/EditorState.h"
#include "core/editing/CommandSteps.h"
#include "core/editing/DynoView.h"
#include "core/editing/EditorRepaint.h"
#include "core/editing/EditSteps.h"
#include "core/editing/ModeCommands.h"
#include "core/editing/ValueBox.h"
#include "core/files/CompareFile.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/FileKind.h"
#include "core/files/FilePaths.h"
#include "core/files/ParameterEdits.h"
#include "core/files/ParameterTexts.h"
#include "core/files/RecentFiles.h"
#include "core/files/SaveFile.h"
#include "core/files/TableText.h"
#include "core/files/TireFile.h"
#include "core/resources/ResourceIds.h"
#include "gui/common/DialogSupport.h"
#include "gui/common/EditorWindow.h"
#include "gui/common/FileNames.h"
#include "gui/common/Settings.h"
#include "gui/common/UserDialogs.h"
#include "gui/files/ParameterDialogs.h"

namespace dyno {

namespace {

// One filter for engine, upgrade and tire files. The dialog shows only the
// description; the patterns after it match the extensions in any letter
// case, also in file choosers that compare names case-sensitively.
const QString PhysicsFilter = QStringLiteral("Physics Files (*.ini;*.tbc) (*.[iI][nN][iI] *.[tT][bB][cC])");

const QString FileNotLoaded = QStringLiteral("FILE NOT LOADED!");

// Shows the messages of a save, in order. They name files, and names are
// UTF-8 in the core.
void ShowMessages(UserDialogs& dialogs, QWidget* parent, const std::vector<UserMessage>& messages) {
  for (const UserMessage& message : messages) {
    dialogs.Message(parent, DecodedName(message.Text), DecodedName(message.Caption));
  }
}

}  // namespace

bool PathTooLong(const QString& path) { return QFileInfo(path).absoluteFilePath().size() > MaxPathLength; }

QString StartFolder(const EditorDocument& doc) {
  if (!doc.FileFolder.empty()) QDir::setCurrent(DecodedName(doc.FileFolder));
  return QDir::currentPath();
}

void TakeChosenFile(EditorDocument& doc, const QString& path) {
  const QFileInfo file(path);
  const QString folder = file.absolutePath();
  doc.FilePath = EncodedName(file.absoluteFilePath());
  doc.FileTitle = EncodedName(file.fileName());
  doc.FileFolder = doc.WorkFolder = EncodedName(folder);
  QDir::setCurrent(folder);
}

bool ReportRead(UserDialogs& dialogs, QWidget* parent, ReadResult result, const QString& path,
                const QString& nothingFound) {
  const std::optional<UserMessage> message =
      ReadFailureMessage(result, EncodedName(path), EncodedName(nothingFound));
  if (message) dialogs.Message(parent, DecodedName(message->Text), DecodedName(message->Caption));
  return !message;
}

void ReportLeftOut(UserDialogs& dialogs, QWidget* parent, const ReadOutcome& read, const std::string& fileName) {
  if (const std::optional<UserMessage> message = LeftOutMessage(read, fileName)) {
    ShowMessages(dialogs, parent, {*message});
  }
}

void FileCommands::OpenPhysicsFile() {
  if (!SaveChangesFirst()) return;
  EditorDocument& doc = window_.State().Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  FileDialogRequest request{QStringLiteral("Select the Physics File in Subject Folder"), PhysicsFilter,
                            StartFolder(doc), DecodedName(doc.FileTitle)};
  request.HideFilterPatterns = true;
  const QString path = dialogs.OpenFileName(parent, request);
  if (path.isEmpty()) {
    dialogs.Message(parent, QStringLiteral("Aborted by user!"), FileNotLoaded);
    return;
  }
  OpenPath(path);
}

void FileCommands::OpenFile(const QString& path) {
  if (SaveChangesFirst()) OpenPath(path);
}

bool FileCommands::SaveChangesFirst() {
  EditorState& st = window_.State();
  // Typing still in progress counts as a change.
  st.Steps.End();
  // The changes of each file, engine and tire, are offered in turn, whatever
  // the mode shows; changes no file can take (the start-up curve) are not.
  for (int round = 0; round < FileDataKinds; ++round) {
    const std::optional<FileMode> mode = ModeToSaveChanges(st.Doc, st.History);
    if (!mode) return true;
    switch (window_.Dialogs().AskSaveChanges(window_.DialogParent())) {
      case UserDialogs::SaveChoice::Save:
        // Save As writes the data of the mode shown: the one that changed.
        if (*mode != CurrentFileMode(st.Doc)) SetFileMode(st, *mode);
        if (!SaveAsPhysicsFile()) return false;
        break;
      case UserDialogs::SaveChoice::Discard:
        return true;
      case UserDialogs::SaveChoice::Cancel:
        return false;
    }
  }
  return true;
}

bool FileCommands::OpenPath(const QString& path) {
  EditorState& st = window_.State();
  EditorDocument& doc = st.Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  if (PathTooLong(path)) {
    ReportRead(dialogs, parent, ReadResult::CannotOpen, QFileInfo(path).absoluteFilePath(), QString());
    return false;
  }
  const auto reported = [&](ReadResult result, const QString& nothingFound) {
    return ReportRead(dialogs, parent, result, DecodedName(doc.FilePath), nothingFound);
  };

  // The names are the new file's from here on, whatever reading gives.
  TakeChosenFile(doc, path);
  ResetInteraction(st.Ui, st.Host);
  const QString title = DecodedName(doc.FileTitle);

  const FileKind kind = KindOfFile(doc.FileTitle);
  if (kind == FileKind::Tire) {
    SetFileMode(st, FileMode::Tire);
    ReadOutcome read = ReadTireFile(doc, doc.FilePath);
    // The tire texts and curves are the file's now (Modified keeps telling
    // of changes to the engine curve); a file that could not be read
    // changed nothing.
    if (read.Result == ReadResult::Read || read.Result == ReadResult::NothingFound) {
      st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
      st.Steps.Start(FileData::Tire);
      ForgetComparisons(st.Doc, st.Host, st.View);
    }
    if (read.Result == ReadResult::CannotRead) {
      dialogs.Message(parent, QStringLiteral("Last error = %1").arg(static_cast<unsigned>(read.Error)),
                      QStringLiteral("Read of tire file failed!"));
      read.Result = ReadResult::NothingFound;
    }
    if (!reported(read.Result, QStringLiteral("No tire data found in this file!"))) return false;
    window_.SetCaption(title);
    // The curves just read may be longer than slot 0 was when the mode was
    // switched: the scroll range must reach their last sample.
    UpdateRowScrollBar(st.View, st.Host, 0, doc.RowCount);
    ChangeRecentFiles([&](RecentFileList& list) { RememberRecentFile(list, doc.FilePath); });
    ReportLeftOut(dialogs, parent, read, doc.FileTitle);
    return true;
  }

  const ReadOutcome read = ReadEngineRows(doc, doc.FilePath);
  if (read.Result == ReadResult::Read || read.Result == ReadResult::NothingFound) {
    RepaintNewRows(st.Host, st.View);
    ForgetComparisons(st.Doc, st.Host, st.View);
  }
  // A file without rows has still replaced the engine text and emptied the curve.
  if (read.Result == ReadResult::NothingFound) st.Steps.Start(FileData::Engine);
  if (!reported(read.Result, FromBytes(NoTorqueData))) return false;
  doc.EngineLoaded = true;
  SetFileMode(st, FileMode::Engine);
  if (kind == FileKind::Upgrade) {
    SetFileMode(st, FileMode::Upgrade);
    doc.UpgradeLoaded = true;
  }
  // An upgrade file's parameters belong to the engine it upgrades.
  if (!doc.UpgradeMode && !ReadEngineParameters(doc)) {
    dialogs.Message(parent, QStringLiteral("Error reading data!"), QStringLiteral("DATA ERROR!"));
  }
  window_.SetCaption(title);

  ResetInteraction(st.Ui, st.Host);
  doc.Modified = false;
  st.View.FirstVisibleRow = 0;
  UpdateRowScrollBar(st.View, st.Host, 0, doc.RowCount);
  st.Steps.Start(FileData::Engine);
  RememberSavedCurve(doc);
  ChangeRecentFiles([&](RecentFileList& list) { RememberRecentFile(list, doc.FilePath); });
  ReportLeftOut(dialogs, parent, read, doc.FileTitle);
  return true;
}

namespace {

// The file a save dialog chose, or nothing when it was cancelled or the name
// is too long (said in a message). Its folder becomes the current one, where
// the next save dialog starts.
QString ChooseSaveTarget(UserDialogs& dialogs, QWidget* parent, const FileDialogRequest& request) {
  const QString path = dialogs.SaveFileName(parent, request);
  if (path.isEmpty()) return path;
  const QFileInfo chosen(path);
  if (PathTooLong(path)) {
    dialogs.Message(parent,
                    QStringLiteral("The file name is longer than %1 characters: %2")
                        .arg(MaxPathLength)
                        .arg(chosen.absoluteFilePath()),
                    QStringLiteral("FILE ERROR!"));
    return QString();
  }
  QDir::setCurrent(chosen.absolutePath());
  return path;
}

}  // namespace

bool FileCommands::SaveAsPhysicsFile() {
  EditorState& st = window_.State();
  EditorDocument& doc = st.Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  FileDialogRequest request{QStringLiteral("Select or enter the Physics File name"), PhysicsFilter,
                            QDir::currentPath(), DecodedName(doc.FileTitle)};
  request.HideFilterPatterns = true;
  request.ConfirmOverwrite = true;
  const QString path = ChooseSaveTarget(dialogs, parent, request);
  if (path.isEmpty()) return false;

  const QFileInfo chosen(path);
  const std::string name = FileNameOfPath(EncodedName(chosen.absoluteFilePath()));
  const SaveResult saved = SaveDocumentAs(doc, EncodedName(chosen.absolutePath()), name);
  ShowMessages(dialogs, parent, saved.Messages);
  if (saved.Status != SaveStatus::Saved) return false;

  // The opened file's path and folder stay: a later Save As under the new
  // name in that folder backs it up first. The other file's data, engine or
  // tire, keeps its own unsaved changes.
  st.Steps.MarkClean(doc.TireMode ? FileData::Tire : FileData::Engine);
  window_.SetCaption(DecodedName(name));
  doc.FileTitle = name;
  // What Compare With Saved shows from now on; a tire file has no engine curve.
  if (doc.TireMode) {
    doc.Dyno.Saved.reset();
  } else {
    RememberSavedCurve(doc);
  }
  ChangeRecentFiles(
      [&](RecentFileList& list) { RememberRecentFile(list, EncodedName(chosen.absoluteFilePath())); });
  return true;
}

void FileCommands::ExportCsv() {
  const EditorDocument& doc = window_.State().Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  FileDialogRequest request{QStringLiteral("Select or enter the CSV File name"), QStringLiteral("CSV Files (*.csv)"),
                            QDir::currentPath(), DecodedName(CsvFileName(doc.FileTitle))};
  request.ConfirmOverwrite = true;
  const QFileInfo chosen(ChooseSaveTarget(dialogs, parent, request));
  if (chosen.filePath().isEmpty()) return;
  const SaveResult saved = SaveBytesAs(EncodedName(chosen.absolutePath()), EncodedName(chosen.fileName()),
                                       ComposeCsvFile(doc));
  ShowMessages(dialogs, parent, saved.Messages);
}

void FileCommands::CompareWithFile() {
  EditorState& st = window_.State();
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  const FileDialogRequest request{QStringLiteral("Select the Engine or Upgrade File to Compare With"),
                                  QStringLiteral("INI Files (*.ini)"), StartFolder(st.Doc), QString()};
  const QString path = dialogs.OpenFileName(parent, request);
  // Nothing was going to change: a cancelled choice needs no message.
  if (path.isEmpty()) return;
  const QFileInfo file(path);
  if (PathTooLong(path)) {
    ReportRead(dialogs, parent, ReadResult::CannotOpen, file.absoluteFilePath(), QString());
    return;
  }
  const ComparisonRead read = ReadComparison(EncodedName(file.absoluteFilePath()), EncodedName(file.fileName()));
  if (read.Message) {
    dialogs.Message(parent, DecodedName(read.Message->Text), DecodedName(read.Message->Caption));
    return;
  }
  SetComparison(st.Doc, st.Host, st.View, read.Curve);
}

void FileCommands::CompareWithSaved() {
  EditorState& st = window_.State();
  if (st.Doc.Dyno.Saved) SetComparison(st.Doc, st.Host, st.View, st.Doc.Dyno.Saved);
}

void FileCommands::LoadRecentFiles() {
  RecentFileList stored;
  for (const QString& path : ReadRecentFilesSetting()) stored.push_back(EncodedName(path));
  window_.State().Doc.RecentFiles = TidyRecentFiles(stored);
}

void FileCommands::ChangeRecentFiles(const std::function<void(RecentFileList&)>& change) {
  LoadRecentFiles();
  RecentFileList& list = window_.State().Doc.RecentFiles;
  const RecentFileList stored = list;
  change(list);
  // Writing syncs the file to disk, some milliseconds: only for a change.
  if (list == stored) return;
  QStringList files;
  for (const std::string& path : list) files << DecodedName(path);
  WriteRecentFilesSetting(files);
}

void FileCommands::OpenRecentFile(int index) {
  const RecentFileList& list = window_.State().Doc.RecentFiles;
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return;
  const std::string path = list[static_cast<std::size_t>(index)];
  const QString name = DecodedName(path);
  if (!QFileInfo::exists(name)) {
    ChangeRecentFiles([&](RecentFileList& stored) { ForgetRecentFile(stored, path); });
    window_.Dialogs().Message(window_.DialogParent(),
                              QStringLiteral("The file %1 no longer exists and was removed from the list.").arg(name),
                              FileNotLoaded);
    return;
  }
  OpenFile(name);
}

void FileCommands::ClearRecentFiles() {
  ChangeRecentFiles([](RecentFileList& list) { list.clear(); });
}

void FileCommands::EditParameters() {
  EditorState& st = window_.State();
  EditorDocument& doc = st.Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  if (doc.TireMode) {
    CommandSteps(st).EditSlipCurves([&]() -> std::optional<int> {
      EditTireSpecsDialog dialog(doc, doc.SlipCurveCount, parent);
      if (dialogs.Run(dialog) != QDialog::Accepted) return std::nullopt;
      return dialog.CurveCount();
    });
    return;
  }
  ParameterTexts texts;
  LoadParameterTexts(doc.Parameters, texts);
  EditEngineSpecsDialog dialog(texts, parent);
  if (dialogs.Run(dialog) == QDialog::Accepted) CommandSteps(st).EditParameters(texts);
}

}  // namespace dyno
