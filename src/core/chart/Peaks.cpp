#include "core/chart/Peaks.h"

#include <algorithm>

#include "core/document/EditorDocument.h"

namespace dyno {

std::optional<Peak> PeakOf(std::span<const double> values) {
  std::optional<Peak> peak;
  for (std::size_t i = 0; i < values.size(); ++i) {
    // Strictly larger: a tie keeps the earlier row.
    if (values[i] == values[i] && (!peak || values[i] > peak->Value)) peak = Peak{static_cast<int>(i), values[i]};
  }
  return peak;
}

EnginePeaks PeaksOf(const EngineCurve& curve, int rowCount) {
  const auto n = static_cast<std::size_t>(std::clamp(rowCount, 0, MaxEngineRows));
  return {PeakOf(std::span(curve.Torque).first(n)), PeakOf(std::span(curve.Power).first(n))};
}

}  // namespace dyno
