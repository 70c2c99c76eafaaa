#include "gui/curves/CurveCommands.h"


#include "core/chart/RowScrolling.h"
#include "core/curves/Generator.h"
#include "core/curves/Rescale.h"
#include "core/curves/Resolution.h"
#include "core/curves/Rows.h"
#include "core/editing/EditorState.h"
#include "core/editing/ValueBox.h"
#include "core/files/EngineFile.h"
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
    st.Doc.TireParsed = false;
    ResetSlipCurves(st.Doc);
    st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
    // The curves shown are new: nothing stays selected.
    ResetInteraction(st.Ui, st.Host);
    return;
  }
  GetEngineSpecsDialog dialog(st.Doc.Generator, window_.Dialogs(), window_.DialogParent());
  if (window_.Dialogs().Run(dialog) != QDialog::Accepted) return;
  GenerateNewEngine(st.Doc);
  ResetInteraction(st.Ui, st.Host);
  RefitTable(st.View, st.Host, st.Doc.RowCount);
}

void CurveCommands::RescaleCommand() {
  EditorState& st = window_.State();
  RescalePowerSpecsDialog dialog(st.Doc, BeginRescale(st.Doc), window_.Dialogs(), window_.DialogParent());
  if (window_.Dialogs().Run(dialog) == QDialog::Accepted) {
    // The shown value is the old one: nothing stays selected.
    ResetInteraction(st.Ui, st.Host);
    st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
  }
}

void CurveCommands::ResolutionCommand() {
  EditorState& st = window_.State();
  ChangeResolutionDialog dialog(BeginChangeResolution(st.Doc), window_.DialogParent());
  if (window_.Dialogs().Run(dialog) != QDialog::Accepted) return;
  const EditOutcome outcome = ChangeResolution(st.Doc, dialog.NewRpmStep());
  ShowMessage(window_, outcome.Message);
  if (!outcome.Changed) return;
  RefitTable(st.View, st.Host, st.Doc.RowCount);
  // The rows are new: nothing stays selected.
  ResetInteraction(st.Ui, st.Host);
}

void CurveCommands::AddLineCommand() {
  EditorState& st = window_.State();
  AddLine(st.Doc);
  RefitTable(st.View, st.Host, st.Doc.RowCount);
}

void CurveCommands::RemoveLineCommand() {
  EditorState& st = window_.State();
  const EditOutcome outcome = RemoveLine(st.Doc);
  ShowMessage(window_, outcome.Message);
  RefitTable(st.View, st.Host, st.Doc.RowCount);
  ForgetRowsBeyondCurve(st.Ui, st.Host, st.Doc.RowCount);
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

  const ReadResult read = ReadEngineRows(doc, doc.FilePath).Result;
  if (read == ReadResult::Read || read == ReadResult::NothingFound) st.Host.Invalidate(st.View.ClientFrom(2, 2), false);
  ReportRead(dialogs, parent, read, path, QStringLiteral("No torque data found in this file!"));
  if (read == ReadResult::CannotOpen || read == ReadResult::CannotRead) return;
  if (read == ReadResult::Read) doc.Modified = true;
  // The old points are gone: nothing stays picked, the table starts at its top.
  ResetInteraction(st.Ui, st.Host);
  st.View.FirstVisibleRow = 0;
  UpdateRowScrollBar(st.View, st.Host, 0, doc.RowCount);
}

}  // namespace dyno
