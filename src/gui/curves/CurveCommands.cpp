// The curve operations of the editor window.
#include <QFile>

#include "gui/common/UserDialogs.h"
#include "core/chart/RowScrolling.h"
#include "gui/curves/CurveDialogs.h"
#include "core/curves/Generator.h"
#include "core/curves/Resolution.h"
#include "core/curves/Rows.h"
#include "gui/document/TDynoforgeWindow.h"
#include "core/editing/ValueBox.h"
#include "core/files/EngineFile.h"

namespace dyno {

void TDynoforgeWindow::GenerateCommand() {
  EditorState& st = State();
  if (st.Doc.TireMode) {
    // In Tire mode Generate brings back the built-in slip curve.
    st.Doc.TireParsed = false;
    ResetSlipCurves(st);
    // The curves shown are new: nothing stays selected.
    ResetInteraction(st);
    return;
  }
  GetEngineSpecsDialog dialog(st.Doc.Generator, Dialogs(), window());
  if (Dialogs().Run(dialog) == QDialog::Accepted) GenerateNewEngine(st);
}

void TDynoforgeWindow::RescaleCommand() {
  EditorState& st = State();
  RescalePowerSpecsDialog dialog(st.Doc, BeginRescale(st.Doc), Dialogs(), window());
  if (Dialogs().Run(dialog) == QDialog::Accepted) {
    // The shown value is the old one: nothing stays selected.
    ResetInteraction(st);
    update();
  }
}

void TDynoforgeWindow::ResolutionCommand() {
  EditorState& st = State();
  ChangeResolutionDialog dialog(BeginChangeResolution(st.Doc), window());
  if (Dialogs().Run(dialog) == QDialog::Accepted && ChangeResolution(st, dialog.NewRpmStep())) {
    // The rows are new: nothing stays selected.
    ResetInteraction(st);
  }
}

void TDynoforgeWindow::AddLineCommand() { AddLine(State()); }

void TDynoforgeWindow::RemoveLineCommand() {
  RemoveLine(State());
  ForgetRowsBeyondCurve(State());
}

void TDynoforgeWindow::ImportCommand() {
  EditorState& st = State();
  EditorDocument& doc = st.Doc;
  // The first import starts where the last file was opened; later ones where
  // the previous import ended.
  static QString importFolder;
  if (importFolder.isEmpty()) importFolder = StartFolder();
  const FileDialogRequest request{QStringLiteral("Select the Engine.ini File in Subject Folder"),
                                  QStringLiteral("INI Files (*.ini)"), importFolder,
                                  QFile::decodeName(doc.FileTitle.c_str())};
  const QString path = Dialogs().OpenFileName(window(), request);
  if (path.isEmpty()) {
    Dialogs().Message(window(), QStringLiteral("Aborted by user!"), QStringLiteral("DATA NOT LOADED!"));
    return;
  }
  if (PathTooLong(path)) {
    ReportRead(-1, path, QString());
    return;
  }
  TakeChosenFile(path);
  importFolder = QFile::decodeName(doc.FileFolder.c_str());

  const int read = ReadEngineRows(st, doc.FilePath);
  ReportRead(read, path, QStringLiteral("No torque data found in this file!"));
  if (read == -1) return;
  if (read == 1) doc.Modified = true;
  // The old points are gone: nothing stays picked, the table starts at its top.
  ResetInteraction(st);
  st.View.FirstVisibleRow = 0;
  UpdateRowScrollBar(st, 0, doc.RowCount);
}

}  // namespace dyno
