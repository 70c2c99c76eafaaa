#include "core/curves/RangeEdits.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/document/Limits.h"

namespace dyno {

const char* RangeOperationName(RangeOperation operation) {
  switch (operation) {
    case RangeOperation::Scale: return "Scale";
    case RangeOperation::Offset: return "Offset";
    case RangeOperation::Set: return "Set";
    case RangeOperation::Straighten: return "Straighten";
    case RangeOperation::Smooth: return "Smooth";
  }
  return "";
}

std::optional<std::vector<double>> AdjustedValues(std::span<const double> values, std::span<const double> places,
                                                  RowRange range, RangeOperation operation, double amount) {
  const auto size = static_cast<std::int64_t>(values.size());
  if (range.First < 0 || range.Last < range.First || range.Last >= size) return std::nullopt;
  const auto at = [&](int row) { return values[static_cast<std::size_t>(row)]; };
  std::vector<double> out;
  out.reserve(static_cast<std::size_t>(range.Count()));
  for (int row = range.First; row <= range.Last; ++row) {
    const double v = at(row);
    switch (operation) {
      case RangeOperation::Scale: out.push_back(static_cast<double>(static_cast<long double>(v) * amount / 100.0L)); break;
      case RangeOperation::Offset: out.push_back(v + amount); break;
      case RangeOperation::Set: out.push_back(amount); break;
      case RangeOperation::Straighten: {
        const double a = at(range.First);
        const double b = at(range.Last);
        if (row == range.First || row == range.Last) {
          out.push_back(v);
          break;
        }
        // By the rows' places where they rise from end to end, else by row.
        long double t = static_cast<long double>(row - range.First) / (range.Last - range.First);
        if (places.size() == values.size()) {
          const long double x0 = places[static_cast<std::size_t>(range.First)];
          const long double x1 = places[static_cast<std::size_t>(range.Last)];
          const long double x = places[static_cast<std::size_t>(row)];
          if (x1 > x0 && x >= x0 && x <= x1 && std::isfinite(static_cast<double>(x1 - x0))) t = (x - x0) / (x1 - x0);
        }
        out.push_back(static_cast<double>(a + (static_cast<long double>(b) - a) * t));
        break;
      }
      case RangeOperation::Smooth:
        if (row == range.First || row == range.Last) {
          out.push_back(v);
        } else {
          out.push_back(static_cast<double>((static_cast<long double>(at(row - 1)) + 2.0L * v + at(row + 1)) / 4.0L));
        }
        break;
    }
  }
  return out;
}

EditOutcome AdjustRange(std::span<double> values, std::span<const double> places, RowRange range,
                        RangeOperation operation, double amount, const std::string& columnName) {
  const std::optional<std::vector<double>> adjusted = AdjustedValues(values, places, range, operation, amount);
  if (!adjusted) return {};
  for (std::size_t i = 0; i < adjusted->size(); ++i) {
    const double v = (*adjusted)[i];
    if (!std::isfinite(v) || std::abs(v) > MaxFileValue) {
      return {false,
              UserMessage{std::string(RangeOperationName(operation)) + " would take the " + columnName + " in row " +
                              std::to_string(range.First + static_cast<int>(i) + 1) +
                              " out of range for a physics file: nothing was changed.",
                          "DATA ERROR!"}};
    }
  }
  bool changed = false;
  for (std::size_t i = 0; i < adjusted->size(); ++i) {
    double& v = values[static_cast<std::size_t>(range.First) + i];
    // Compared by bits: -0.0 written over 0.0 is a change of the file.
    changed = changed || std::bit_cast<std::uint64_t>(v) != std::bit_cast<std::uint64_t>((*adjusted)[i]);
    v = (*adjusted)[i];
  }
  return {changed, std::nullopt};
}

EditOutcome NormaliseSlipCurve(std::span<double> samples) {
  double peak = 0.0;
  for (const double v : samples) {
    if (v > peak) peak = v;
  }
  if (!(peak > 0.0) || !std::isfinite(peak)) {
    return {false, UserMessage{"The slip curve has no sample above 0 to scale to 1.0: nothing was changed.",
                               "DATA ERROR!"}};
  }
  bool changed = false;
  for (double& v : samples) {
    const double scaled = v / peak;
    changed = changed || std::bit_cast<std::uint64_t>(scaled) != std::bit_cast<std::uint64_t>(v);
    v = scaled;
  }
  return {changed, std::nullopt};
}

}  // namespace dyno
