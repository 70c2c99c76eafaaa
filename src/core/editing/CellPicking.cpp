#include "core/editing/CellPicking.h"

#include <algorithm>

#include "core/chart/ChartGeometry.h"
#include "core/document/Units.h"
#include "core/editing/EditorState.h"
#include "core/editing/ValueBox.h"
#include "core/files/NumberFormat.h"

namespace dyno {

SlipCurve& CurrentCurve(EditorState& st) {
  return st.Doc.SlipCurves[std::clamp(st.Doc.CurrentSlipCurve, 0, SlipCurveSlots - 1)];
}

void SelectOnlyCurve(InteractionState& ui, int k) {
  ui.CurveSelected.fill(false);
  ui.CurveSelected[std::clamp(k, 0, SlipCurveSlots - 1)] = true;
}

void ClearPicks(InteractionState& ui) {
  ui.TorquePicked = false;
  ui.CompressionPicked = false;
  ui.SlipPicked = false;
}

void SelectTireCell(EditorState& st, int k, int row, Point p) {
  InteractionState& ui = st.Ui;
  ui.SelectedPixel = p;
  ui.SelectedIndex = row;
  ui.DragIndex = row;
  st.Doc.CurrentSlipCurve = k;
  SelectOnlyCurve(ui, k);
  ui.TorqueSelected = false;
  ui.CompressionSelected = false;
  ClearPicks(ui);
  const double sample = CurrentCurve(st).Samples[row];
  ui.TipText = FixedText(sample, 6);
  WriteValueBox(st.Ui, st.Host, FormatReadout(sample, SlipDecimals));
  ui.LastSelectedPixel = ui.SelectedPixel;
}

void SelectEngineCell(EditorState& st, int row, Point p, EngineColumn column) {
  InteractionState& ui = st.Ui;
  const EngineCurve& e = st.Doc.Engine;
  ui.SelectedPixel = p;
  ui.SelectedIndex = row;
  // Typing repaints the chart around DragIndex: it is the selected row now.
  ui.DragIndex = row;
  ui.CompressionSelected = column == EngineColumn::Compression;
  ui.TorqueSelected = column == EngineColumn::Torque;
  ui.CurveSelected.fill(false);
  ClearPicks(ui);
  const double value = column == EngineColumn::Compression ? e.Compression[row] : e.Torque[row];
  WriteValueBox(st.Ui, st.Host, FormatReadout(ShownTorque(value, st.Session.Dyno.Units.Torque), EngineDecimals));
  ui.LastSelectedPixel = ui.SelectedPixel;
}

void SelectTableCell(EditorState& st, int row, EngineColumn column) {
  const int top = TableLineTop(row - st.View.FirstVisibleRow);
  const ColumnSpan span = column == EngineColumn::Compression ? CompressionColumnSpan : TorqueColumnSpan;
  SelectEngineCell(st, row, {(span.left + span.right) / 2, top + RowHeight / 2}, column);
}

void SelectTableCell(EditorState& st, int k, int row) {
  const int top = TableLineTop(row - st.View.FirstVisibleRow);
  const int slot = std::clamp(k, 0, SlipCurveSlots - 1);
  const bool other = st.Doc.CurrentSlipCurve != slot;
  SelectTireCell(st, slot, row, {(TireDataColumnX[slot] + TireDataColumnX[slot + 1]) / 2, top + RowHeight / 2});
  // Another curve is charted.
  if (other) st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
}

}  // namespace dyno
