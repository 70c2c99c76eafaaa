#include "gui/files/FileCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/chart/RowScrolling.h"
#include "core/editing/EditorState.h"
#include "core/editing/ModeCommands.h"
#include "core/editing/UndoCommands.h"
#include "core/editing/ValueBox.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/FilePaths.h"
#include "core/files/ParameterEdits.h"
#include "core/files/ParameterTexts.h"
#include "core/files/SaveFile.h"
#include "core/files/TireFile.h"
#include "gui/common/DialogSupport.h"
#include "gui/common/EditorWindow.h"
#include "gui/common/UserDialogs.h"
#include "gui/files/ParameterDialogs.h"

namespace dyno {

namespace {

// One filter for engine, upgrade and tire files. The dialog shows only the
// description; the patterns after it match the extensions in any letter
// case, also in file choosers that compare names case-sensitively.
const QString PhysicsFilter = QStringLiteral("Physics Files (*.ini;*.tbc) (*.[iI][nN][iI] *.[tT][bB][cC])");

const QString FileNotLoaded = QStringLiteral("FILE NOT LOADED!");

// Saving needs at least this much room on the destination's file system.
constexpr long double MinimumFreeBytes = 100000;

QString DecodedName(const std::string& name) { return QFile::decodeName(name.c_str()); }
std::string EncodedName(const QString& name) { return QFile::encodeName(name).toStdString(); }

bool NameContains(const std::string& name, std::string_view part) {
  std::string upper = name;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper.find(part) != std::string::npos;
}

// Shows the messages of a save, in order.
void ShowMessages(UserDialogs& dialogs, QWidget* parent, const std::vector<UserMessage>& messages) {
  for (const UserMessage& message : messages) dialogs.Message(parent, FromBytes(message.Text), FromBytes(message.Caption));
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
  switch (result) {
    case ReadResult::Read:
      return true;
    case ReadResult::NothingFound:
      dialogs.Message(parent, nothingFound, FileNotLoaded);
      break;
    case ReadResult::CannotOpen:
    case ReadResult::CannotRead:
      dialogs.Message(parent, QStringLiteral("Unable to open file the selected file: %1").arg(path), FileNotLoaded);
      break;
  }
  return false;
}

void FileCommands::OpenPhysicsFile() {
  EditorState& st = window_.State();
  EditorDocument& doc = st.Doc;
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
  if (PathTooLong(path)) {
    ReportRead(dialogs, parent, ReadResult::CannotOpen, QFileInfo(path).absoluteFilePath(), QString());
    return;
  }
  const auto reported = [&](ReadResult result, const QString& nothingFound) {
    return ReportRead(dialogs, parent, result, DecodedName(doc.FilePath), nothingFound);
  };

  // The names are the new file's from here on, whatever reading gives.
  TakeChosenFile(doc, path);
  ResetInteraction(st.Ui, st.Host);
  const QString title = DecodedName(doc.FileTitle);

  if (NameContains(doc.FileTitle, ".TBC")) {
    SetFileMode(st, FileMode::Tire);
    ReadOutcome read = ReadTireFile(doc, doc.FilePath);
    if (read.Result == ReadResult::Read || read.Result == ReadResult::NothingFound) {
      st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
    }
    // The tire texts and curves are the file's now (Modified keeps telling
    // of changes to the engine curve).
    if (read.Result != ReadResult::CannotOpen) StartHistory(st);
    if (read.Result == ReadResult::CannotRead) {
      dialogs.Message(parent, QStringLiteral("Last error = %1").arg(static_cast<unsigned>(read.Error)),
                      QStringLiteral("Read of tire file failed!"));
      read.Result = ReadResult::NothingFound;
    }
    if (!reported(read.Result, QStringLiteral("No tire data found in this file!"))) return;
    window_.SetCaption(title);
    // The curves just read may be longer than slot 0 was when the mode was
    // switched: the scroll range must reach their last sample.
    UpdateRowScrollBar(st.View, st.Host, 0, doc.RowCount);
    return;
  }

  const ReadResult read = ReadEngineRows(doc, doc.FilePath).Result;
  if (read == ReadResult::Read || read == ReadResult::NothingFound) st.Host.Invalidate(st.View.ClientFrom(2, 2), false);
  // A file without rows has still replaced the engine text and emptied the curve.
  if (read == ReadResult::NothingFound) StartHistory(st);
  if (!reported(read, QStringLiteral("No torque data found in this file!"))) return;
  doc.EngineLoaded = true;
  SetFileMode(st, FileMode::Engine);
  if (NameContains(doc.FileTitle, "UPGRADE")) {
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
  StartHistory(st);
}

bool FileCommands::SaveAsPhysicsFile() {
  EditorState& st = window_.State();
  EditorDocument& doc = st.Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  FileDialogRequest request{QStringLiteral("Select or enter the Physics File name"), PhysicsFilter,
                            QDir::currentPath(), DecodedName(doc.FileTitle)};
  request.HideFilterPatterns = true;
  request.ConfirmOverwrite = true;
  const QString path = dialogs.SaveFileName(parent, request);
  if (path.isEmpty()) return false;

  const QFileInfo chosen(path);
  if (PathTooLong(path)) {
    dialogs.Message(parent,
                    QStringLiteral("The file name is longer than %1 characters: %2")
                        .arg(MaxPathLength)
                        .arg(chosen.absoluteFilePath()),
                    QStringLiteral("FILE ERROR!"));
    return false;
  }

  // The chosen folder becomes the current one, where the next Save As starts.
  doc.SaveFolder = EncodedName(chosen.absolutePath());
  QDir::setCurrent(chosen.absolutePath());
  const std::string name = FileNameOfPath(EncodedName(chosen.absoluteFilePath()));

  // A file system that cannot tell its free space is not held against it.
  const long double freeBytes = DiskFreeBytes(doc.SaveFolder);
  if (freeBytes >= 0 && freeBytes < MinimumFreeBytes) {
    dialogs.Message(parent, QStringLiteral("Insufficient DISK SPACE!"), QStringLiteral("FILE ERROR!"));
    return false;
  }
  doc.SaveTitle = name;

  const SaveResult saved = doc.TireMode
                               ? WriteTireFile(doc, doc.FileFolder, doc.FileTitle, doc.SaveFolder, doc.SaveTitle)
                               : WriteEngineFile(doc, doc.FileFolder, doc.FileTitle, doc.SaveFolder, doc.SaveTitle);
  ShowMessages(dialogs, parent, saved.Messages);
  if (saved.Status != SaveStatus::Saved) return false;

  // The opened file's path and folder stay: a later Save As under the new
  // name in that folder backs it up first.
  MarkDocumentClean(st);
  window_.SetCaption(DecodedName(name));
  doc.FileTitle = name;
  return true;
}

void FileCommands::EditParameters() {
  EditorState& st = window_.State();
  EditorDocument& doc = st.Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  if (doc.TireMode) {
    // The dialog's Add writes new curves into the document at once.
    BeginStep(st, StepKind::EditSlipCurves);
    EditTireSpecsDialog dialog(doc, doc.SlipCurveCount, parent);
    if (dialogs.Run(dialog) == QDialog::Accepted) {
      ApplySlipCurveCount(doc, dialog.CurveCount());
      st.Host.Invalidate(st.View.ClientFrom(2, 2), false);
      EndStep(st);
    } else {
      // Curves added but not confirmed stay in slots the file does not count.
      AbandonStep(st);
    }
    return;
  }
  ParameterTexts texts;
  LoadParameterTexts(doc.Parameters, texts);
  EditEngineSpecsDialog dialog(texts, parent);
  if (dialogs.Run(dialog) == QDialog::Accepted) {
    BeginStep(st, StepKind::EditParameters);
    ApplyParameterTexts(doc, texts);
    st.Host.Invalidate(st.View.ClientFrom(2, 2), false);
    EndStep(st);
  }
}

}  // namespace dyno
