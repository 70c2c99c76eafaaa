#include "core/editing/Selection.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "core/document/Units.h"
#include "core/editing/EditorRepaint.h"
#include "core/editing/EditorState.h"
#include "core/editing/CellPicking.h"
#include "core/files/NumberFormat.h"
#include "core/files/TableText.h"

namespace dyno {

namespace {

int CurrentSlot(const EditorState& st) { return std::clamp(st.Doc.CurrentSlipCurve, 0, SlipCurveSlots - 1); }

int ColumnRows(const EditorState& st) { return PickableRows(st, CurrentSlot(st)); }

bool SomethingPicked(const EditorState& st) {
  const InteractionState& ui = st.Ui;
  return st.Doc.Mode == FileMode::Tire ? AnyCurveSelected(ui) : ui.CompressionSelected || ui.TorqueSelected;
}

// The table's rows and the chart's points show the range anew: the whole
// window, in one piece, as the range may span every row.
void RepaintRange(EditorState& st, std::optional<RowRange> range) {
  if (range) st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
}

StepKind KindOf(RangeOperation operation) {
  switch (operation) {
    case RangeOperation::Scale: return StepKind::ScaleSelection;
    case RangeOperation::Offset: return StepKind::OffsetSelection;
    case RangeOperation::Set: return StepKind::SetSelection;
    case RangeOperation::Straighten: return StepKind::Straighten;
    case RangeOperation::Smooth: return StepKind::Smooth;
  }
  return StepKind::Smooth;
}

// After the values of the range changed: power follows torque, and the
// whole window shows the curve anew.
void ShowChangedRange(EditorState& st, const PickedColumn& column, RowRange range) {
  if (!column.Tire && column.Torque && column.Values.data() == st.Doc.Engine.Torque.data()) {
    for (int row = range.First; row <= range.Last; ++row) RecomputePower(st.Doc, row);
  }
  st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
}

// The picked column's values, changeable through a state that is.
template <typename State, typename Column>
std::optional<Column> PickedColumnOf(State& st) {
  if (!SomethingPicked(st)) return std::nullopt;
  auto& doc = st.Doc;
  const auto rows = static_cast<std::size_t>(ColumnRows(st));
  if (doc.Mode == FileMode::Tire) {
    const int slot = CurrentSlot(st);
    return Column{std::span(doc.SlipCurves[slot].Samples).first(rows), {}, "Data " + std::to_string(slot + 1), false,
                  true};
  }
  const bool torque = st.Ui.TorqueSelected;
  return Column{std::span(torque ? doc.Engine.Torque : doc.Engine.Compression).first(rows),
                std::span<const double>(doc.Engine.Rpm).first(rows), torque ? "Torque" : "Compression", true, false};
}

// The same, read only.
struct ShownColumn {
  std::span<const double> Values;
  std::span<const double> Places;
  std::string Name;
  bool Torque = false;
  bool Tire = false;
};

}  // namespace

int PickableRows(const EditorState& st, int slot) {
  const EditorDocument& doc = st.Doc;
  if (doc.Mode != FileMode::Tire) return std::clamp(doc.RowCount, 0, MaxEngineRows);
  const SlipCurve& curve = doc.SlipCurves[std::clamp(slot, 0, SlipCurveSlots - 1)];
  return std::clamp(std::min(curve.SampleCount, doc.RowCount), 0, MaxSlipSamples);
}

std::optional<PickedColumn> ColumnOfPick(EditorState& st) { return PickedColumnOf<EditorState, PickedColumn>(st); }

double ValueAt(const EditorState& st, int row, bool torque, int slot) {
  const EditorDocument& doc = st.Doc;
  if (doc.Mode == FileMode::Tire) return doc.SlipCurves[std::clamp(slot, 0, SlipCurveSlots - 1)].Samples[row];
  return torque ? doc.Engine.Torque[row] : doc.Engine.Compression[row];
}

void KeepPickedValue(EditorState& st, double value) {
  std::optional<PickedColumn> column = ColumnOfPick(st);
  const int row = st.Ui.SelectedIndex;
  if (!column || row < 0 || row >= static_cast<int>(column->Values.size())) return;
  column->Values[static_cast<std::size_t>(row)] = value;
  if (!column->Tire && column->Torque && st.Ui.TorqueSelected) RecomputePower(st.Doc, row);
}

std::optional<RowRange> SelectedRange(const EditorState& st) {
  const InteractionState& ui = st.Ui;
  if (ui.RangeAnchor < 0 || !SomethingPicked(st)) return std::nullopt;
  const RowRange range{std::min(ui.RangeAnchor, ui.SelectedIndex), std::max(ui.RangeAnchor, ui.SelectedIndex)};
  if (range.First < 0 || range.Last >= ColumnRows(st)) return std::nullopt;
  return range;
}

void ExtendRange(EditorState& st, int row) {
  InteractionState& ui = st.Ui;
  if (!SomethingPicked(st)) return;
  const std::optional<RowRange> before = SelectedRange(st);
  if (ui.RangeAnchor < 0) ui.RangeAnchor = ui.SelectedIndex;
  const int anchor = ui.RangeAnchor;
  row = std::clamp(row, 0, std::max(ColumnRows(st) - 1, 0));
  const double value = ValueAt(st, row, ui.TorqueSelected, CurrentSlot(st));
  if (st.Doc.Mode == FileMode::Tire) {
    SelectTableCell(st, CurrentSlot(st), row);
  } else {
    SelectTableCell(st, row, ui.TorqueSelected ? EngineColumn::Torque : EngineColumn::Compression);
  }
  KeepPickedValue(st, value);
  ui.RangeAnchor = anchor;
  RepaintRange(st, before);
  RepaintRange(st, SelectedRange(st));
}

void SelectRangeBetween(EditorState& st, int x0, int x1) {
  InteractionState& ui = st.Ui;
  const bool tire = st.Doc.Mode == FileMode::Tire;
  const bool torque = !SomethingPicked(st) || ui.TorqueSelected;
  const int slot = CurrentSlot(st);
  const int rows = std::min(PickableRows(st, slot), st.Chart.PointCount);
  const int left = std::min(x0, x1);
  const int right = std::max(x0, x1);
  int first = -1;
  int last = -1;
  for (int row = 0; row < rows; ++row) {
    if (st.Chart.PointX[row] < left || st.Chart.PointX[row] > right) continue;
    if (first < 0) first = row;
    last = row;
  }
  if (first < 0) return;
  const std::optional<RowRange> before = SelectedRange(st);
  const double value = ValueAt(st, last, torque, slot);
  if (tire) {
    SelectTableCell(st, slot, last);
  } else {
    SelectTableCell(st, last, torque ? EngineColumn::Torque : EngineColumn::Compression);
  }
  KeepPickedValue(st, value);
  ui.RangeAnchor = first;
  if (before != SelectedRange(st)) RepaintRange(st, SelectedRange(st));
}

void ClearRange(EditorState& st) {
  const std::optional<RowRange> before = SelectedRange(st);
  st.Ui.RangeAnchor = -1;
  RepaintRange(st, before);
}

std::string SelectionReadout(const EditorState& st) {
  const std::optional<RowRange> range = SelectedRange(st);
  if (!range) return {};
  const std::optional<ShownColumn> column = PickedColumnOf<const EditorState, ShownColumn>(st);
  if (!column) return {};
  const TorqueUnit unit = st.Session.Dyno.Units.Torque;
  const auto shown = [&](double v) { return column->Torque ? ShownTorque(v, unit) : v; };
  double smallest = std::numeric_limits<double>::infinity();
  double largest = -smallest;
  long double sum = 0;
  for (int row = range->First; row <= range->Last; ++row) {
    const double v = shown(column->Values[static_cast<std::size_t>(row)]);
    smallest = std::min(smallest, v);
    largest = std::max(largest, v);
    sum += v;
  }
  const int decimals = column->Tire ? SlipDecimals : EngineDecimals;
  std::string out = column->Tire ? "Selection: samples " : "Selection: rows ";
  // Rows as the table numbers them: RPM rows from 1, samples from 0.
  const int base = column->Tire ? 0 : 1;
  out += std::to_string(range->First + base) + " to " + std::to_string(range->Last + base) + " (" +
         std::to_string(range->Count()) + ")";
  if (!column->Tire) {
    out += ", " + FixedText(column->Places[static_cast<std::size_t>(range->First)], 0) + " to " +
           FixedText(column->Places[static_cast<std::size_t>(range->Last)], 0) + " RPM";
  }
  out += ", smallest " + FixedText(smallest, decimals) + ", largest " + FixedText(largest, decimals) + ", mean " +
         FixedText(static_cast<double>(sum / range->Count()), decimals);
  if (column->Torque) out += " " + std::string(UnitName(unit));
  return out;
}

EditOutcome AdjustSelection(EditorState& st, RangeOperation operation, double amount) {
  const std::optional<RowRange> range = SelectedRange(st);
  std::optional<PickedColumn> column = ColumnOfPick(st);
  if (!range || !column) return {};
  const TorqueUnit unit = st.Session.Dyno.Units.Torque;
  if (column->Torque && unit != TorqueUnit::Nm) {
    // What the user typed is in the unit shown; a value to set is stored so
    // that the table shows it as typed.
    if (operation == RangeOperation::Offset) amount /= TorqueScale(unit);
    if (operation == RangeOperation::Set) amount = StoredTorque(amount, unit, EngineDecimals);
  }
  st.Steps.Begin(KindOf(operation));
  EditOutcome outcome = AdjustRange(column->Values, column->Places, *range, operation, amount, column->Name);
  if (outcome.Changed) ShowChangedRange(st, *column, *range);
  st.Steps.End();
  return outcome;
}

EditOutcome PasteIntoRange(EditorState& st, std::string_view text) {
  const std::optional<RowRange> range = SelectedRange(st);
  std::optional<PickedColumn> column = ColumnOfPick(st);
  if (!range || !column) return {};
  const TableRead table = ReadTableText(text, TableShape::Tire);
  if (table.Refusal) return {false, table.Refusal};
  const auto rows = static_cast<int>(table.Columns.empty() ? 0 : table.Columns.front().Values.size());
  if (table.Columns.size() != 1 || rows != range->Count()) {
    const std::string values = table.Columns.size() == 1 ? std::to_string(rows) + " values"
                                                         : std::to_string(table.Columns.size()) + " columns";
    return {false, UserMessage{"The table cannot replace the selection: it has " + values + ", the selection has " +
                                   std::to_string(range->Count()) + " rows of one column.",
                               "DATA ERROR!"}};
  }
  const TorqueUnit unit = st.Session.Dyno.Units.Torque;
  std::vector<double> values = table.Columns.front().Values;
  if (column->Torque && unit != TorqueUnit::Nm) {
    for (double& v : values) v = StoredTorque(v, unit, EngineDecimals);
  }
  st.Steps.Begin(StepKind::PasteTable);
  bool changed = false;
  for (int i = 0; i < range->Count(); ++i) {
    double& v = column->Values[static_cast<std::size_t>(range->First + i)];
    changed = changed || v != values[static_cast<std::size_t>(i)];
    v = values[static_cast<std::size_t>(i)];
  }
  if (changed) ShowChangedRange(st, *column, *range);
  st.Steps.End();
  return {changed, std::nullopt};
}

std::string ComposeRangeText(const EditorState& st, char separator, std::string_view lineEnd) {
  const std::string all = ComposeTableText(st.Doc, st.Session.Dyno.Units, separator, lineEnd);
  const std::optional<RowRange> range = SelectedRange(st);
  if (!range) return all;
  // The header is line 0; row i is line i + 1.
  std::string out;
  int line = 0;
  for (std::size_t at = 0; at < all.size();) {
    std::size_t end = all.find(lineEnd, at);
    end = end == std::string::npos ? all.size() : end + lineEnd.size();
    if (line == 0 || range->Contains(line - 1)) out.append(all, at, end - at);
    at = end;
    ++line;
  }
  return out;
}

}  // namespace dyno
