#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/document/UserMessage.h"

namespace dyno {

// What Edit > Adjust Selection does to the selected rows of a column.
enum class RangeOperation {
  Scale,       // multiply by amount percent (105: five percent more)
  Offset,      // add amount
  Set,         // every value becomes amount
  Straighten,  // the rows between the two ends on the straight line through them
  Smooth,      // one pass of a 1-2-1 filter; the two ends stay as they are
};

// The name of an operation as the Undo menu and messages give it: "Scale".
const char* RangeOperationName(RangeOperation operation);

// Rows first to last of a column (both included).
struct RowRange {
  int First = 0;
  int Last = -1;

  int Count() const { return Last - First + 1; }
  friend bool operator==(const RowRange&, const RowRange&) = default;
  bool Contains(int row) const { return First <= row && row <= Last; }
};

// The values the operation gives to the rows of range, in order, from the
// column's values and, for Straighten, the place of each row on the chart's
// axis (its RPM, or its sample number for a slip curve): between the two
// ends a row's value follows its place, so uneven RPM steps stay on the
// line. Amounts are in the units the values are stored in. A range outside
// the column gives nothing.
std::optional<std::vector<double>> AdjustedValues(std::span<const double> values, std::span<const double> places,
                                                  RowRange range, RangeOperation operation, double amount);

// Applies the operation to the range of values in place, unless a result is
// no number or beyond what a physics file holds: then nothing changes and
// the message says which row and column ("columnName"), row numbers counted
// from 1 as the table shows them. Returns whether any value changed.
EditOutcome AdjustRange(std::span<double> values, std::span<const double> places, RowRange range,
                        RangeOperation operation, double amount, const std::string& columnName);

// Edit > Normalise Slip Curve: every sample divided by the curve's peak
// (over its own samples), so that the peak becomes 1.0. A curve without a
// positive peak is refused with a message and left as it is.
EditOutcome NormaliseSlipCurve(std::span<double> samples);

}  // namespace dyno
