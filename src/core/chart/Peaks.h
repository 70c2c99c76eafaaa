#pragma once

#include <optional>
#include <span>

namespace dyno {

struct EngineCurve;

// The largest value of a column and its row.
struct Peak {
  int Index = 0;
  double Value = 0.0;

  friend bool operator==(const Peak&, const Peak&) = default;
};

// The peak of values: the first row where several share the largest value,
// as a dyno sheet names the lowest RPM that reaches it. Nothing for no
// values; a NaN is never a peak.
std::optional<Peak> PeakOf(std::span<const double> values);

struct EnginePeaks {
  std::optional<Peak> Torque;
  std::optional<Peak> Power;
};

// The peak torque and peak power of the first rowCount rows of the curve
// (clamped to its room), in the units the curve holds (N-m and HP).
EnginePeaks PeaksOf(const EngineCurve& curve, int rowCount);

}  // namespace dyno
