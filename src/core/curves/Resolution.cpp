#include "core/curves/Resolution.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/document/EditorSession.h"

namespace dyno {

int BeginChangeResolution(const EditorDocument& doc, GeneratorSettings& settings) {
  const EngineCurve& curve = doc.Engine;
  settings.RpmStep = curve.Rpm[1] - curve.Rpm[0];
  settings.TopRpm = curve.Rpm[std::max(doc.RowCount - 1, 0)];
  const auto it = std::find(RpmStepEntries.begin(), RpmStepEntries.end(), settings.RpmStep);
  if (it != RpmStepEntries.end()) settings.RpmStepChoice = static_cast<int>(it - RpmStepEntries.begin());
  return settings.RpmStepChoice;
}

double Interpolate(double x, std::span<const double> xs, std::span<const double> values) {
  const std::size_t n = std::min(xs.size(), values.size());
  std::size_t lo = 0;
  std::size_t hi = 1;
  double xlo = xs[0];
  double xhi = xs[1];
  for (std::size_t j = 0; j + 1 < n; ++j) {
    if (x == xs[j]) return values[j];
    if (x > xs[j]) {
      lo = j;
      xlo = xs[j];
      hi = j + 1;
      xhi = xs[j + 1];
      if (x < xs[j + 1]) break;
    } else {
      hi = j;
      xhi = xs[j];
      break;
    }
  }
  // Two rows at the same RPM give no slope: take the lower row's value.
  if (xhi == xlo) return values[lo];
  const double rise = values[hi] - values[lo];
  const double fraction = (x - xlo) / (xhi - xlo);
  const double offset = rise * fraction;
  return values[lo] + offset;
}

int ResampledRowCount(double topRpm, double newStep) {
  const double rows = topRpm / newStep + 1.0;
  if (!(rows < MaxEngineRows + 1.0)) return MaxEngineRows + 1;  // too many, or not a number
  return std::max(1, static_cast<int>(rows));
}

EditOutcome ChangeResolution(EditorDocument& doc, double newStep) {
  EngineCurve& curve = doc.Engine;
  const int n = doc.RowCount;
  if (n < 2 || !(newStep > 0.0)) return {};

  const int m = ResampledRowCount(curve.Rpm[n - 1], newStep);
  if (m > MaxEngineRows) return {false, UserMessage{"The new RPM step would need more than 500 rows.", "DATA ERROR!"}};
  // A falling RPM column, or a last RPM below the step, gives a curve of a
  // row or two: no fewer rows than Remove leaves.
  if (m < MinimumRows) return {false, UserMessage{"The new RPM step would leave fewer than 10 rows.", "DATA ERROR!"}};

  const std::vector<double> rpm(curve.Rpm.begin(), curve.Rpm.begin() + n);
  const std::vector<double> torque(curve.Torque.begin(), curve.Torque.begin() + n);
  const std::vector<double> compression(curve.Compression.begin(), curve.Compression.begin() + n);
  for (int i = 1; i < m; ++i) {
    curve.Rpm[i] = i * newStep;
    curve.Torque[i] = Interpolate(curve.Rpm[i], rpm, torque);
    curve.Compression[i] = Interpolate(curve.Rpm[i], rpm, compression);
    curve.Power[i] = PowerOf(curve.Rpm[i], curve.Torque[i]);
  }
  if (m < MaxEngineRows) curve.Rpm[m] = m * newStep;

  doc.RowCount = m;
  if (doc.Mode != FileMode::Tire) curve.EngineRowCount = m;
  return {true, std::nullopt};
}

}  // namespace dyno
