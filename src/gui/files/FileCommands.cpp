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
#include "core/editing/OpenFile.h"
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
#include "core/platform/PlatformFile.h"
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

}  // namespace

void ShowMessages(UserDialogs& dialogs, QWidget* parent, const std::vector<UserMessage>& messages) {
  for (const UserMessage& message : messages) {
    dialogs.Message(parent, DecodedName(message.Text), DecodedName(message.Caption));
  }
}

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

bool PathTooLong(const QString& path) { return QFileInfo(path).absoluteFilePath().size() > MaxPathLength; }

QString StartFolder(const EditorSession& session) {
  if (!session.FileFolder.empty()) QDir::setCurrent(DecodedName(session.FileFolder));
  return QDir::currentPath();
}

void TakeChosenFolder(EditorSession& session, const QString& path) {
  const QString folder = QFileInfo(path).absolutePath();
  session.FileFolder = session.WorkFolder = EncodedName(folder);
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
  EditorDocument& doc = window_.State().Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  FileDialogRequest request{QStringLiteral("Select the Physics File in Subject Folder"), PhysicsFilter,
                            StartFolder(window_.State().Session), DecodedName(FileOf(doc, ShownData(doc)).Title)};
  request.HideFilterPatterns = true;
  const QString path = dialogs.OpenFileName(parent, request);
  if (path.isEmpty()) {
    dialogs.Message(parent, QStringLiteral("Aborted by user!"), FileNotLoaded);
    return;
  }
  OpenPath(path);
}

void FileCommands::OpenFile(const QString& path) { OpenPath(path); }

bool FileCommands::SaveChangesFirst() {
  // Closing drops the data of both files: each one's changes are offered in
  // turn, the data shown first.
  const FileData shown = ShownData(window_.State().Doc);
  const FileData other = shown == FileData::Engine ? FileData::Tire : FileData::Engine;
  return SaveChangesFirst(shown) && SaveChangesFirst(other);
}

bool FileCommands::SaveChangesFirst(FileData data) {
  EditorState& st = window_.State();
  // Typing still in progress counts as a change.
  st.Steps.End();
  if (!HasUnsavedChanges(st.Doc, st.History, data)) return true;
  const DataFile& file = FileOf(st.Doc, data);
  const QString name = file.Exists() ? DecodedName(file.Title)
                       : data == FileData::Tire ? QStringLiteral("the new slip curves")
                                                : QStringLiteral("the new engine curve");
  switch (window_.Dialogs().AskSaveChanges(window_.DialogParent(), name)) {
    case UserDialogs::SaveChoice::Save:
      return SaveData(data);
    case UserDialogs::SaveChoice::Discard:
      return true;
    case UserDialogs::SaveChoice::Cancel:
      break;
  }
  return false;
}

bool FileCommands::SaveData(FileData data) {
  EditorState& st = window_.State();
  const std::optional<FileMode> mode = ModeToSave(st.Doc, st.History, data);
  if (!mode) return false;
  // Saving writes the data the mode shows: the window shows what is saved.
  if (*mode != st.Doc.Mode) SetFileMode(st, *mode);
  return SaveOrSaveAs();
}

bool FileCommands::OpenPath(const QString& path) {
  EditorState& st = window_.State();
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  const QFileInfo chosen(path);
  if (PathTooLong(path)) {
    ReportRead(dialogs, parent, ReadResult::CannotOpen, chosen.absoluteFilePath(), QString());
    return false;
  }
  // The next Open starts where this file was chosen, whatever reading gives;
  // the document changes only once the file is read and its question answered.
  TakeChosenFolder(st.Session, path);
  FileToOpen file = ReadFileToOpen(EncodedName(chosen.absoluteFilePath()), EncodedName(chosen.absolutePath()),
                                   EncodedName(chosen.fileName()));
  if (file.Kind == FileKind::Tire && file.Read.Result == ReadResult::CannotRead) {
    dialogs.Message(parent, QStringLiteral("Last error = %1").arg(static_cast<unsigned>(file.Read.Error)),
                    QStringLiteral("Read of tire file failed!"));
    file.Read.Result = ReadResult::NothingFound;
  }
  if (const std::optional<UserMessage> failure = OpenFailureMessage(file)) {
    dialogs.Message(parent, DecodedName(failure->Text), DecodedName(failure->Caption));
    return false;
  }
  // Only the data the file replaces is asked about: a tire file leaves the
  // engine data, and its changes, as they are.
  if (!SaveChangesFirst(file.Replaces())) return false;
  ShowOpenedFile(st, file);
  ChangeRecentFiles([&](RecentFileList& list) { RememberRecentFile(list, file.Path); });
  ReportLeftOut(dialogs, parent, file.Read, file.Title);
  return true;
}

bool FileCommands::SavePhysicsFile() {
  EditorState& st = window_.State();
  const DataFile file = FileOf(st.Doc, ShownData(st.Doc));
  if (!file.Exists()) return false;
  return SaveTo(file.Folder, file.Title);
}

bool FileCommands::SaveOrSaveAs() {
  const EditorState& st = window_.State();
  const bool hasFile = FileOf(st.Doc, ShownData(st.Doc)).Exists();
  return hasFile ? SavePhysicsFile() : SaveAsPhysicsFile();
}

bool FileCommands::SaveAsPhysicsFile() {
  EditorDocument& doc = window_.State().Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  // Offered: the name of the file the data came from, in its folder.
  const DataFile& file = FileOf(doc, ShownData(doc));
  FileDialogRequest request{QStringLiteral("Select or enter the Physics File name"), PhysicsFilter,
                            file.Exists() && QDir(DecodedName(file.Folder)).exists() ? DecodedName(file.Folder)
                                                                                     : QDir::currentPath(),
                            DecodedName(file.Title)};
  request.HideFilterPatterns = true;
  request.ConfirmOverwrite = true;
  const QString path = ChooseSaveTarget(dialogs, parent, request);
  if (path.isEmpty()) return false;
  const QFileInfo chosen(path);
  return SaveTo(EncodedName(chosen.absolutePath()), FileNameOfPath(EncodedName(chosen.absoluteFilePath())));
}

bool FileCommands::SaveTo(const std::string& folder, const std::string& name) {
  EditorState& st = window_.State();
  EditorDocument& doc = st.Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  SaveOptions options;
  SaveResult saved = SaveDocumentAs(doc, folder, name, options);
  // Each question asked is answered once: the save is tried again with it.
  for (;;) {
    if (saved.Status == SaveStatus::ReadBackDiffers) {
      const UserMessage& question = saved.Messages.front();
      if (!dialogs.AskSaveAnyway(parent, DecodedName(question.Text), DecodedName(question.Caption))) return false;
      options.AcceptReadBackChanges = true;
    } else if (saved.Status == SaveStatus::ChangedOnDisk) {
      // Another program changed the file since it was opened or saved.
      const UserMessage& question = saved.Messages.front();
      if (dialogs.AskOverwriteChanged(parent, DecodedName(question.Text), DecodedName(question.Caption)) !=
          UserDialogs::OverwriteChoice::Overwrite) {
        return false;
      }
      options.OverwriteChangedFile = true;
    } else {
      break;
    }
    saved = SaveDocumentAs(doc, folder, name, options);
  }
  ShowMessages(dialogs, window_.DialogParent(), saved.Messages);
  if (saved.Status != SaveStatus::Saved) return false;

  // The other file's data, engine or tire, keeps its own unsaved changes.
  st.Steps.MarkClean(ShownData(doc));
  // What Compare With Saved shows from now on, of the data saved.
  if (doc.Mode == FileMode::Tire) {
    RememberSavedSlipCurves(st.Session.Dyno, doc);
  } else {
    RememberSavedCurve(st.Session.Dyno, doc);
  }
  const std::string path = FileOf(doc, ShownData(doc)).Path;
  ChangeRecentFiles([&](RecentFileList& list) { RememberRecentFile(list, path); });
  return true;
}

void FileCommands::ExportCsv() {
  const EditorDocument& doc = window_.State().Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  FileDialogRequest request{QStringLiteral("Select or enter the CSV File name"), QStringLiteral("CSV Files (*.csv)"),
                            QDir::currentPath(), DecodedName(CsvFileName(FileOf(doc, ShownData(doc)).Title))};
  request.ConfirmOverwrite = true;
  const QFileInfo chosen(ChooseSaveTarget(dialogs, parent, request));
  if (chosen.filePath().isEmpty()) return;
  const SaveResult saved = SaveBytesAs(EncodedName(chosen.absolutePath()), EncodedName(chosen.fileName()),
                                       ComposeCsvFile(doc, window_.State().Session.Dyno.Units));
  ShowMessages(dialogs, parent, saved.Messages);
}

void FileCommands::CompareWithFile() {
  EditorState& st = window_.State();
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  // Tire mode compares slip curves with another tire file's.
  const bool tire = st.Doc.Mode == FileMode::Tire;
  const FileDialogRequest request{tire ? QStringLiteral("Select the Tire File to Compare With")
                                       : QStringLiteral("Select the Engine or Upgrade File to Compare With"),
                                  tire ? QStringLiteral("Tire Files (*.tbc)") : QStringLiteral("INI Files (*.ini)"),
                                  StartFolder(st.Session), QString()};
  const QString path = dialogs.OpenFileName(parent, request);
  // Nothing was going to change: a cancelled choice needs no message.
  if (path.isEmpty()) return;
  const QFileInfo file(path);
  if (PathTooLong(path)) {
    ReportRead(dialogs, parent, ReadResult::CannotOpen, file.absoluteFilePath(), QString());
    return;
  }
  const std::string encoded = EncodedName(file.absoluteFilePath()), title = EncodedName(file.fileName());
  const auto tell = [&](const UserMessage& message) {
    dialogs.Message(parent, DecodedName(message.Text), DecodedName(message.Caption));
  };
  if (tire) {
    const SlipComparisonRead read = ReadSlipComparison(encoded, title);
    if (read.Message) return tell(*read.Message);
    SetComparison(st.Session.Dyno, st.Host, st.View, read.Curves);
    return;
  }
  const ComparisonRead read = ReadComparison(encoded, title);
  if (read.Message) return tell(*read.Message);
  SetComparison(st.Session.Dyno, st.Host, st.View, read.Curve);
}

void FileCommands::LoadRecentFiles() {
  RecentFileList stored;
  for (const QString& path : ReadRecentFilesSetting()) stored.push_back(EncodedName(path));
  window_.State().Session.RecentFiles = TidyRecentFiles(stored);
}

void FileCommands::ChangeRecentFiles(const std::function<void(RecentFileList&)>& change) {
  LoadRecentFiles();
  RecentFileList& list = window_.State().Session.RecentFiles;
  const RecentFileList stored = list;
  change(list);
  // Writing syncs the file to disk, some milliseconds: only for a change.
  if (list == stored) return;
  QStringList files;
  for (const std::string& path : list) files << DecodedName(path);
  WriteRecentFilesSetting(files);
}

void FileCommands::OpenRecentFile(int index) {
  const RecentFileList& list = window_.State().Session.RecentFiles;
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return;
  const std::string path = list[static_cast<std::size_t>(index)];
  const QString name = DecodedName(path);
  // The core sees a name as its bytes, also one that is not UTF-8.
  if (!QFileInfo::exists(name) && !InspectSaveTarget(path).Exists) {
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
  if (doc.Mode == FileMode::Tire) {
    CommandSteps(st).EditSlipCurves([&]() -> std::optional<int> {
      EditTireSpecsDialog dialog(doc, doc.SlipCurveCount, dialogs, parent);
      if (dialogs.Run(dialog) != QDialog::Accepted) return std::nullopt;
      return dialog.CurveCount();
    });
    return;
  }
  ParameterTexts texts;
  LoadParameterTexts(doc.Parameters, texts);
  EditEngineSpecsDialog dialog(texts, dialogs, parent);
  if (dialogs.Run(dialog) == QDialog::Accepted) CommandSteps(st).EditParameters(texts);
}

}  // namespace dyno
