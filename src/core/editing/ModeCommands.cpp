#include "core/editing/ModeCommands.h"

#include "core/chart/RowScrolling.h"
#include "core/editing/EditorState.h"
#include "core/editing/ValueBox.h"

namespace dyno {

void SetFileMode(EditorState& st, FileMode mode) {
  EditorDocument& doc = st.Doc;
  doc.EngineMode = mode == FileMode::Engine;
  doc.UpgradeMode = mode == FileMode::Upgrade;
  doc.TireMode = mode == FileMode::Tire;
  // Nothing is picked or selected any more, and the value box, which would
  // step a value nothing refers to, is emptied.
  ResetInteraction(st.Ui, st.Host);
  st.View.FirstVisibleRow = 0;
  if (mode == FileMode::Tire) {
    doc.RowCount = doc.SlipCurves[0].SampleCount;
    doc.CurrentSlipCurve = 0;
  } else {
    doc.RowCount = doc.Engine.EngineRowCount;
  }
  UpdateRowScrollBar(st.View, st.Host, 0, doc.RowCount);
  st.Host.Invalidate(st.View.ClientFrom(2, 2), false);
}

}  // namespace dyno
