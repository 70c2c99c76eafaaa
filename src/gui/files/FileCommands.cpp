// Open, Save As and the parameter dialogs of the editor window.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "gui/common/DialogSupport.h"
#include "gui/common/UserDialogs.h"
#include "core/chart/RowScrolling.h"
#include "core/editing/ModeCommands.h"
#include "gui/document/TDynoforgeWindow.h"
#include "core/editing/ValueBox.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "gui/files/ParameterDialogs.h"
#include "core/files/ParameterEdits.h"
#include "core/files/SaveFile.h"
#include "core/files/TireFile.h"

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

}  // namespace

bool PathTooLong(const QString& path) { return QFileInfo(path).absoluteFilePath().size() > MaxPathLength; }

QString TDynoforgeWindow::StartFolder() {
  const EditorDocument& doc = State().Doc;
  if (!doc.FileFolder.empty()) QDir::setCurrent(DecodedName(doc.FileFolder));
  return QDir::currentPath();
}

void TDynoforgeWindow::TakeChosenFile(const QString& path) {
  EditorDocument& doc = State().Doc;
  const QFileInfo file(path);
  const QString folder = file.absolutePath();
  doc.FilePath = EncodedName(file.absoluteFilePath());
  doc.FileTitle = EncodedName(file.fileName());
  doc.FileFolder = doc.WorkFolder = EncodedName(folder);
  QDir::setCurrent(folder);
}

bool TDynoforgeWindow::ReportRead(int result, const QString& path, const QString& nothingFound) {
  if (result == 0) Dialogs().Message(window(), nothingFound, FileNotLoaded);
  if (result == -1) {
    Dialogs().Message(window(), QStringLiteral("Unable to open file the selected file: %1").arg(path), FileNotLoaded);
  }
  return result == 1;
}

void TDynoforgeWindow::OpenPhysicsFile() {
  EditorState& st = State();
  EditorDocument& doc = st.Doc;
  FileDialogRequest request{QStringLiteral("Select the Physics File in Subject Folder"), PhysicsFilter,
                            StartFolder(), DecodedName(doc.FileTitle)};
  request.HideFilterPatterns = true;
  const QString path = Dialogs().OpenFileName(window(), request);
  if (path.isEmpty()) {
    Dialogs().Message(window(), QStringLiteral("Aborted by user!"), FileNotLoaded);
    return;
  }
  if (PathTooLong(path)) {
    ReportRead(-1, QFileInfo(path).absoluteFilePath(), QString());
    return;
  }
  const auto read = [&](int result, const QString& nothingFound) {
    return ReportRead(result, DecodedName(doc.FilePath), nothingFound);
  };

  // The names are the new file's from here on, whatever reading gives.
  TakeChosenFile(path);
  ResetInteraction(st);
  const QString title = DecodedName(doc.FileTitle);

  if (NameContains(doc.FileTitle, ".TBC")) {
    SetFileMode(st, FileMode::Tire);
    if (!read(ReadTireFile(st, doc.FilePath), QStringLiteral("No tire data found in this file!"))) return;
    SetCaption(title);
    // The curves just read may be longer than slot 0 was when the mode was
    // switched: the scroll range must reach their last sample.
    UpdateRowScrollBar(st, 0, doc.RowCount);
    return;
  }

  if (!read(ReadEngineRows(st, doc.FilePath), QStringLiteral("No torque data found in this file!"))) return;
  doc.EngineLoaded = true;
  SetFileMode(st, FileMode::Engine);
  if (NameContains(doc.FileTitle, "UPGRADE")) {
    SetFileMode(st, FileMode::Upgrade);
    doc.UpgradeLoaded = true;
  }
  // An upgrade file's parameters belong to the engine it upgrades.
  if (!doc.UpgradeMode && !ReadEngineParameters(doc)) {
    Dialogs().Message(window(), QStringLiteral("Error reading data!"), QStringLiteral("DATA ERROR!"));
  }
  SetCaption(title);

  ResetInteraction(st);
  doc.Modified = false;
  st.View.FirstVisibleRow = 0;
  UpdateRowScrollBar(st, 0, doc.RowCount);
}

bool TDynoforgeWindow::SaveAsPhysicsFile() {
  EditorState& st = State();
  EditorDocument& doc = st.Doc;
  FileDialogRequest request{QStringLiteral("Select or enter the Physics File name"), PhysicsFilter,
                            QDir::currentPath(), DecodedName(doc.FileTitle)};
  request.HideFilterPatterns = true;
  request.ConfirmOverwrite = true;
  const QString path = Dialogs().SaveFileName(window(), request);
  if (path.isEmpty()) return false;

  const QFileInfo chosen(path);
  if (PathTooLong(path)) {
    Dialogs().Message(window(),
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
    Dialogs().Message(window(), QStringLiteral("Insufficient DISK SPACE!"), QStringLiteral("FILE ERROR!"));
    return false;
  }
  doc.SaveTitle = name;

  const int written = doc.TireMode ? WriteTireFile(st, doc.FileFolder, doc.FileTitle, doc.SaveFolder, doc.SaveTitle)
                                   : WriteEngineFile(st, doc.FileFolder, doc.FileTitle, doc.SaveFolder, doc.SaveTitle);
  if (written != 1) return false;

  // The opened file's path and folder stay: a later Save As under the new
  // name in that folder backs it up first.
  doc.Modified = false;
  SetCaption(DecodedName(name));
  doc.FileTitle = name;
  return true;
}

void TDynoforgeWindow::EditParameters() {
  EditorState& st = State();
  EditorDocument& doc = st.Doc;
  if (doc.TireMode) {
    EditTireSpecsDialog dialog(doc, doc.SlipCurveCount, window());
    if (Dialogs().Run(dialog) == QDialog::Accepted) ApplySlipCurveCount(st, dialog.CurveCount());
    return;
  }
  ParameterTexts texts;
  LoadParameterTexts(doc.Parameters, texts);
  EditEngineSpecsDialog dialog(texts, window());
  if (Dialogs().Run(dialog) == QDialog::Accepted) ApplyParameterTexts(st, texts);
}

}  // namespace dyno
