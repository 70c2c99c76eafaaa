#include "core/curves/Rescale.h"

#include <algorithm>

#include "core/document/EditorSession.h"

namespace dyno {

RescaleValues BeginRescale(const EditorDocument& doc, GeneratorSettings& settings) {
  RescaleValues values;
  values.RowCount = std::clamp(doc.RowCount, 0, MaxEngineRows);
  double peak = 0.0;
  double minCompression = 0.0;
  for (int i = 0; i < values.RowCount; ++i) {
    peak = std::max(peak, doc.Engine.Power[i]);
    minCompression = std::min(minCompression, doc.Engine.Compression[i]);
  }
  settings.TargetPower = values.CurrentHp = peak;
  values.CompressionMax = values.NewCompression = minCompression;
  return values;
}

void ApplyRescale(EditorDocument& doc, const GeneratorSettings& settings, const RescaleValues& values) {
  const double divisor = settings.TargetPower;
  const bool scaleTorque = divisor != 0.0;
  const bool scaleCompression = values.CompressionMax != 0.0;
  if (values.RowCount <= 0 || (!scaleTorque && !scaleCompression)) return;

  const long double a = scaleTorque ? static_cast<long double>(values.CurrentHp) / divisor : 1.0L;
  const long double b =
      scaleCompression ? static_cast<long double>(values.NewCompression) / values.CompressionMax : 1.0L;
  EngineCurve& curve = doc.Engine;
  for (int i = 0; i < values.RowCount; ++i) {
    if (scaleTorque) {
      curve.Torque[i] = static_cast<double>(a * curve.Torque[i]);
      curve.Power[i] = PowerOf(curve.Rpm[i], curve.Torque[i]);
    }
    if (scaleCompression) curve.Compression[i] = static_cast<double>(b * curve.Compression[i]);
  }
}

}  // namespace dyno
