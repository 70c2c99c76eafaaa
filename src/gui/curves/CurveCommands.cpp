#include "gui/curves/CurveCommands.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "core/curves/Rescale.h"
#include "core/curves/Resolution.h"
#include "core/editing/CommandSteps.h"
#include "core/editing/EditorState.h"
#include "core/editing/Selection.h"
#include "core/editing/ValueBox.h"
#include "core/files/CompareFile.h"
#include "core/files/EngineFile.h"
#include "core/document/Units.h"
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
  // In Tire mode Generate brings back the built-in slip curve, unasked.
  if (st.Doc.Mode != FileMode::Tire) {
    GetEngineSpecsDialog dialog(st.Session.Generator, window_.Dialogs(), window_.DialogParent());
    if (window_.Dialogs().Run(dialog) != QDialog::Accepted) return;
  }
  CommandSteps(st).Generate();
}

void CurveCommands::RescaleCommand() {
  EditorState& st = window_.State();
  CommandSteps(st).Rescale([&] {
    RescalePowerSpecsDialog dialog(st.Doc, st.Session.Generator, BeginRescale(st.Doc, st.Session.Generator),
                                   window_.Dialogs(), window_.DialogParent());
    return window_.Dialogs().Run(dialog) == QDialog::Accepted;
  });
}

void CurveCommands::ResolutionCommand() {
  EditorState& st = window_.State();
  ChangeResolutionDialog dialog(BeginChangeResolution(st.Doc, st.Session.Generator), window_.DialogParent());
  if (window_.Dialogs().Run(dialog) != QDialog::Accepted) return;
  ShowMessage(window_, CommandSteps(st).ChangeResolution(dialog.NewRpmStep()).Message);
}

void CurveCommands::AddLineCommand() { CommandSteps(window_.State()).AddLine(); }

void CurveCommands::RemoveLineCommand() { ShowMessage(window_, CommandSteps(window_.State()).RemoveLine().Message); }

void CurveCommands::ImportCommand() {
  EditorState& st = window_.State();
  EditorDocument& doc = st.Doc;
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  // The first import starts where the last file was opened; later ones where
  // the previous import ended.
  EditorSession& session = st.Session;
  if (session.ImportFolder.empty()) session.ImportFolder = StartFolder(session).toStdString();
  const FileDialogRequest request{QStringLiteral("Select the Engine.ini File in Subject Folder"),
                                  QStringLiteral("INI Files (*.ini)"), QString::fromStdString(session.ImportFolder),
                                  QString::fromStdString(doc.EngineFile.Title)};
  const QString path = dialogs.OpenFileName(parent, request);
  if (path.isEmpty()) {
    dialogs.Message(parent, QStringLiteral("Aborted by user!"), QStringLiteral("DATA NOT LOADED!"));
    return;
  }
  if (PathTooLong(path)) {
    ReportRead(dialogs, parent, ReadResult::CannotOpen, path, QString());
    return;
  }
  TakeChosenFolder(session, path);
  session.ImportFolder = session.FileFolder;

  const QFileInfo chosen(path);
  const ReadOutcome outcome = CommandSteps(st).Import(chosen.absoluteFilePath().toStdString());
  if (ReportRead(dialogs, parent, outcome.Result, chosen.absoluteFilePath(), FromBytes(NoTorqueData))) {
    ReportLeftOut(dialogs, parent, outcome, chosen.fileName().toStdString());
  }
}

void CurveCommands::CopyTableCommand() {
  // Qt gives the platform's line ends on the clipboard (CR LF on Windows).
  // A selected range copies its rows only.
  QGuiApplication::clipboard()->setText(FromBytes(ComposeRangeText(window_.State(), '\t', "\n")));
}

void CurveCommands::PasteTableCommand() {
  const std::string text = ToBytes(QGuiApplication::clipboard()->text());
  EditorState& st = window_.State();
  // A selected range takes a column of as many values in its place.
  if (SelectedRange(st)) {
    ShowMessage(window_, PasteIntoRange(st, text).Message);
    return;
  }
  ApplyTable(StepKind::PasteTable, text);
}

void CurveCommands::NormaliseCommand() {
  ShowMessage(window_, CommandSteps(window_.State()).NormaliseSlipCurve().Message);
}

void CurveCommands::AdjustSelectionCommand(RangeOperation operation) {
  EditorState& st = window_.State();
  if (!SelectedRange(st)) return;
  double amount = 0.0;
  if (operation == RangeOperation::Scale || operation == RangeOperation::Offset ||
      operation == RangeOperation::Set) {
    const std::optional<PickedColumn> column = ColumnOfPick(st);
    const QString unit = column && column->Torque
                             ? QStringLiteral(" (%1)").arg(QString::fromLatin1(UnitName(st.Session.Dyno.Units.Torque)))
                             : QString();
    const QString title = operation == RangeOperation::Scale    ? QStringLiteral("Scale Selection")
                          : operation == RangeOperation::Offset ? QStringLiteral("Add Offset to Selection")
                                                                : QStringLiteral("Set Selection");
    const QString field = operation == RangeOperation::Scale    ? QStringLiteral("Percent")
                          : operation == RangeOperation::Offset ? QStringLiteral("Offset") + unit
                                                                : QStringLiteral("Value") + unit;
    // Scale starts at no change, Set at the value picked.
    const QString text = operation == RangeOperation::Scale    ? QStringLiteral("100")
                         : operation == RangeOperation::Offset ? QStringLiteral("0")
                                                               : FromBytes(ShownSelectedValue(st));
    AdjustSelectionDialog dialog(title, field, text, window_.Dialogs(), window_.DialogParent());
    if (window_.Dialogs().Run(dialog) != QDialog::Accepted) return;
    amount = dialog.Amount();
  }
  ShowMessage(window_, AdjustSelection(st, operation, amount).Message);
}

void CurveCommands::ImportCsvCommand() {
  UserDialogs& dialogs = window_.Dialogs();
  QWidget* parent = window_.DialogParent();
  // A spreadsheet saves its tab-separated "Unicode text" as .txt.
  const FileDialogRequest request{QStringLiteral("Select the CSV File of the table"),
                                  QStringLiteral("CSV Files (*.csv);;Text Files (*.txt)"), QDir::currentPath(),
                                  QString()};
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
  ShowMessage(window_, CommandSteps(window_.State()).PasteTable(kind, text).Message);
}

}  // namespace dyno
