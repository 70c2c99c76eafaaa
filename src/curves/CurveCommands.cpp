// The curve operations of the editor window.
#include "document/TDynoforgeWindow.h"

namespace dyno {

void TDynoforgeWindow::GenerateCommand() {
  EditorState& st = State();
  if (st.Doc.TireMode) {
    // In Tire mode Generate brings back the built-in slip curve.
    st.Doc.TireParsed = false;
    ResetSlipCurves(st);
    return;
  }
}

void TDynoforgeWindow::RescaleCommand() {}

void TDynoforgeWindow::ResolutionCommand() {}

void TDynoforgeWindow::AddLineCommand() {}

void TDynoforgeWindow::RemoveLineCommand() {}

void TDynoforgeWindow::ImportCommand() {}

}  // namespace dyno
