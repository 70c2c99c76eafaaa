#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/curves/RangeEdits.h"

namespace dyno {

struct EditorState;

// The column the pick is in: the engine's Compression or Torque, or the
// charted slip curve's own samples. Places are where its rows lie along the
// chart's axis (RPM; none for a slip curve, whose rows lie by number).
struct PickedColumn {
  std::span<double> Values;
  std::span<const double> Places;
  std::string Name;     // "Compression", "Torque", "Data 2"
  bool Torque = false;  // shown in the torque unit (compression too)
  bool Tire = false;
};
std::optional<PickedColumn> ColumnOfPick(EditorState& st);

// Rows that can be picked in a column: an engine curve's rows, or slip
// curve slot's own samples in Tire mode.
int PickableRows(const EditorState& st, int slot);

// The selected range of rows: from the range's anchor to the pick, in the
// picked column; none while there is no anchor, nothing is picked, or an
// end lies beyond the column.
std::optional<RowRange> SelectedRange(const EditorState& st);

// The range grows to row, which becomes the pick (selected as a click on it
// selects it, without rounding its value to what the box shows); its other
// end is the pick it started from.
void ExtendRange(EditorState& st, int row);

// Moving the pick shows a value without changing it: the box shows it
// rounded, and the value itself is put back as it was.
void KeepPickedValue(EditorState& st, double value);
// The value at row of the column the pick would be in: an engine column, or
// slip curve slot's samples.
double ValueAt(const EditorState& st, int row, bool torque, int slot);

// The points of the picked column (Torque, or the charted slip curve, when
// nothing is picked) that lie between pixel columns x0 and x1 of the plot
// become the range; none there, and nothing changes.
void SelectRangeBetween(EditorState& st, int x0, int x1);

// No range is selected any more; the pick stays.
void ClearRange(EditorState& st);

// The status bar while a range is selected: "Selection: rows 5 to 12 (8),
// 2000 to 5500 RPM, smallest 320.1, largest 431.2, mean 401.5 N-m"; for a
// slip curve "Selection: samples 5 to 12 (8), smallest ... mean ...". In the
// units and with the decimals the table shows. Empty without a range.
std::string SelectionReadout(const EditorState& st);

// Edit > Adjust Selection: the operation over the selected range, one step
// of the history named after it; amount is a percentage for Scale, a value
// in the units shown for Offset and Set. Power follows torque; the whole
// window is repainted, the chart fitted anew. A result beyond a file's range
// is refused with a message and changes nothing.
EditOutcome AdjustSelection(EditorState& st, RangeOperation operation, double amount);

// Paste Table into a range: a one-column table of as many values as the
// range has rows replaces them (values in the units shown), one step of the
// history; another shape is refused with a message giving both counts.
EditOutcome PasteIntoRange(EditorState& st, std::string_view text);

// Copy Table of a range: the table's header and the selected rows only.
std::string ComposeRangeText(const EditorState& st, char separator, std::string_view lineEnd);

}  // namespace dyno
