#include "gui/curves/CurveCommands.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "core/chart/RowScrolling.h"
#include "core/curves/Generator.h"
#include "core/curves/PasteTable.h"
#include "core/curves/Rescale.h"
#include "core/curves/Resolution.h"
#include "core/curves/Rows.h"
#include "core/editing/EditorState.h"
#include "core/editing/EditSteps.h"
#include "core/editing/ValueBox.h"
#include "core/files/CompareFile.h"
#include "core/files/EngineFile.h"
#include "core/files/TableText.h"
#include "gui/common/DialogSupport.h"
#include "gui/common/EditorWindow.h"
#include "gui/common/UserDialogs.h"
#include "gui/curves/CurveDialogs.h"
#include "gui/files/FileCommands.h"

namespace dyno {

namespace {

void ShowMessage(EditorWindow& window, const std::optional<UserMessage>& message) {
  if (message) window.Dialogs().Message(window.DialogParent(), FromBytes(message->Text), FromBytes(message->Caption));
}

}  // namespace

void CurveCommands::GenerateCommand() {
  EditorState& st = window_.State();
  if (st.Doc.TireMode) {
    // In Tire mode Generate brings back the built-in slip curve.
    st.Steps.Begin(StepKind::Generate);
    st.Doc.TireParsed = false;
    ResetSlipCurves(st.Doc);
    st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
    // The curves shown are new: nothing stays selected.
    ResetInteraction(st.Ui, st.Host);
    st.Steps.End();
    return;
  }
  GetEngineSpecsDialog dialog(st.Doc.Generator, window_.Dialogs(), window_.DialogParent());
  if (window_.Dialogs().Run(dialog) != QDialog::Accepted) return;
  st.Steps.Begin(StepKind::Generate);
  GenerateNewEngine(st.Doc);
  ResetInteraction(st.Ui, st.Host);
  RefitTable(st.View, st.Host, st.Doc.RowCount);
  // A new engine, as yet unchanged: Undo can still bring back the old one.
  st.Steps.MarkClean(FileData::Engine);
}

void CurveCommands::RescaleCommand() {
  EditorState& st = window_.State();
  // The dialog scales the rows when it is confirmed.
  st.Steps.Begin(StepKind::Rescale);
  RescalePowerSpecsDialog dialog(st.Doc, BeginRescale(st.Doc), window_.Dialogs(), window_.DialogParent());
  if (window_.Dialogs().Run(dialog) == QDialog::Accepted) {
    // The shown value is the old one: nothing stays selected.
    ResetInteraction(st.Ui, st.Host);
    st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
  }
  st.Steps.End();
}

void CurveCommands::ResolutionCommand() {
  EditorState& st = window_.State();
  ChangeResolutionDialog dialog(BeginChangeResolution(st.Doc), window_.DialogParent());
  if (window_.Dialogs().Run(dialog) != QDialog::Accepted) return;
  st.Steps.Begin(StepKind::ChangeResolution);
  const EditOutcome outcome = ChangeResolution(st.Doc, dialog.NewRpmStep());
  if (outcome.Changed) {
    RefitTable(st.View, st.Host, st.Doc.RowCount);
    // The rows are new: nothing stays selected.
    ResetInteraction(st.Ui, st.Host);
  }
  st.Steps.End();
  ShowMessage(window_, outcome.Message);
}

void CurveCommands::AddLineCommand() {
  EditorState& st = window_.State();
  st.Steps.Begin(StepKind::AddLine);
  AddLine(st.Doc);
  RefitTable(st.View, st.Host, st.Doc.RowCount);
  st.Steps.End();
}

void CurveCommands::RemoveLineCommand() {
  EditorState& st = window_.State();
  st.Steps.Begin(StepKind::RemoveLine);
  const EditOutcome outcome = RemoveLine(st.Doc);
  RefitTable(st.View, st.Host, st.Doc.RowCount);
  ForgetRowsBeyondCurve(st.Ui, st.Host, st.Doc.RowCount);
  st.Steps.End();
  ShowMessage(window_, outcome.Message);
}

void CurveCommands::ImportCommand() {
  EditorState& st = window_.State();
  EditorDocument& doc = st.Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  // The first import starts where the last file was opened; later ones where
  // the previous import ended.
  if (doc.ImportFolder.empty()) doc.ImportFolder = StartFolder(doc).toStdString();
  const FileDialogRequest request{QStringLiteral("Select the Engine.ini File in Subject Folder"),
                                  QStringLiteral("INI Files (*.ini)"), QString::fromStdString(doc.ImportFolder),
                                  QString::fromStdString(doc.FileTitle)};
  const QString path = dialogs.OpenFileName(parent, request);
  if (path.isEmpty()) {
    dialogs.Message(parent, QStringLiteral("Aborted by user!"), QStringLiteral("DATA NOT LOADED!"));
    return;
  }
  if (PathTooLong(path)) {
    ReportRead(dialogs, parent, ReadResult::CannotOpen, path, QString());
    return;
  }
  TakeChosenFile(doc, path);
  doc.ImportFolder = doc.FileFolder;

  st.Steps.Begin(StepKind::Import);
  const ReadOutcome outcome = ReadEngineRows(doc, doc.FilePath);
  const ReadResult read = outcome.Result;
  if (read == ReadResult::Read || read == ReadResult::NothingFound) {
    st.Host.Invalidate(st.View.ClientFrom(2, 2), false);
    // The old points are gone: nothing stays picked, the table starts at its top.
    ResetInteraction(st.Ui, st.Host);
    st.View.FirstVisibleRow = 0;
    UpdateRowScrollBar(st.View, st.Host, 0, doc.RowCount);
  }
  // A file that gave rows, or none, replaced the curve: the step sets Modified.
  st.Steps.End();
  if (ReportRead(dialogs, parent, read, path, FromBytes(NoTorqueData))) {
    ReportLeftOut(dialogs, parent, outcome, doc.FileTitle);
  }
}

void CurveCommands::CopyTableCommand() {
  // Qt gives the platform's line ends on the clipboard (CR LF on Windows).
  QGuiApplication::clipboard()->setText(FromBytes(ComposeTableText(window_.State().Doc, '\t', "\n")));
}

void CurveCommands::PasteTableCommand() {
  ApplyTable(StepKind::PasteTable, ToBytes(QGuiApplication::clipboard()->text()));
}

void CurveCommands::ImportCsvCommand() {
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  const FileDialogRequest request{QStringLiteral("Select the CSV File of the table"), QStringLiteral("CSV Files (*.csv)"),
                                  QDir::currentPath(), QString()};
  const QString path = dialogs.OpenFileName(parent, request);
  if (path.isEmpty()) return;
  std::string text;
  const ReadResult read = PathTooLong(path) ? ReadResult::CannotOpen : ReadCsvFile(path.toStdString(), text);
  if (!ReportRead(dialogs, parent, read, QFileInfo(path).absoluteFilePath(), QString())) return;
  // The next CSV dialog starts where this file was; the document keeps its
  // own file name.
  QDir::setCurrent(QFileInfo(path).absolutePath());
  ApplyTable(StepKind::ImportCsv, text);
}

void CurveCommands::ApplyTable(StepKind kind, const std::string& text) {
  EditorState& st = window_.State();
  st.Steps.Begin(kind);
  const EditOutcome outcome = PasteTable(st.Doc, text);
  if (outcome.Changed) {
    // The rows are new: nothing stays selected; the whole window is drawn
    // again, the axis fitted to the new curve.
    ResetInteraction(st.Ui, st.Host);
    RefitTable(st.View, st.Host, st.Doc.RowCount);
  }
  st.Steps.End();
  ShowMessage(window_, outcome.Message);
}

}  // namespace dyno
