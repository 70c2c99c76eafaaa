#include "core/curves/Generator.h"

#include <algorithm>
#include <cmath>

#include "core/document/EditorSession.h"
#include "core/files/EngineParameters.h"

namespace dyno {

namespace {

// The arithmetic chains in extended precision; a value is rounded to a
// double wherever it is kept, so that the rows come out the same on every
// machine with an x87-style long double and to the written decimal anywhere.
using Extended = long double;

// The last row index for the settings: TopRpm / RpmStep truncated, -1 for no
// rows, at most the last row the curve has room for.
int LastRowIndex(double topRpm, double rpmStep) {
  if (!(rpmStep > 0.0)) return -1;
  const Extended ratio = Extended(topRpm) / rpmStep;
  if (!(ratio >= 0)) return -1;
  if (ratio >= MaxEngineRows - 1) return MaxEngineRows - 1;
  return static_cast<int>(ratio);
}

}  // namespace

int GenerateEngineCurve(EditorDocument& doc, const GeneratorSettings& settings) {
  ClearEngineCurve(doc);
  EngineCurve& curve = doc.Engine;

  const Extended step = settings.RpmStep;
  const Extended peakTorqueRpm = settings.PeakTorqueRpm;
  const Extended power = settings.TargetPower;
  const int n = LastRowIndex(settings.TopRpm, settings.RpmStep);
  const double c = static_cast<double>(140000.0L / peakTorqueRpm);

  for (int i = 0; i <= n; ++i) {
    const double rpm = static_cast<double>(i * step);
    const double r = static_cast<double>(Extended(0.004) * rpm);
    // A hump over the middle of the range, highest halfway.
    const double q = static_cast<double>(Extended(i * (n - i)) / (n + 20));
    const double bump = static_cast<double>(Extended(26.0) * q - Extended(0.04) * q * q);
    // Falls off with the cube of RPM beyond 1.56 times the peak-torque RPM.
    const double d = static_cast<double>(((rpm - Extended(1.56) * peakTorqueRpm) * r * r * power) *
                                         Extended(7.142857142857143e-06));
    const double base =
        static_cast<double>((Extended(rpm) * r / step * power / (Extended(1.75) * peakTorqueRpm) - d) / c);
    const double torque = bump + base;

    curve.Rpm[i] = rpm;
    curve.Torque[i] = torque;
    curve.Compression[i] =
        static_cast<double>((Extended(-0.022222222222222223) * rpm - Extended(0.25) * torque) - 25.0L);
    curve.Power[i] = PowerOf(rpm, torque);
  }
  doc.RowCount = n + 1;
  curve.EngineRowCount = doc.RowCount;

  // Scale to the target: the highest power becomes exactly TargetPower.
  double peak = 0.0;
  for (int i = 0; i < doc.RowCount; ++i) peak = std::max(peak, curve.Power[i]);
  const Extended scale = peak > 0.0 ? power / peak : 1.0L;
  for (int i = 0; i < MaxEngineRows; ++i) {
    curve.Torque[i] = static_cast<double>(curve.Torque[i] * scale);
    curve.Compression[i] = static_cast<double>(curve.Compression[i] * scale);
    curve.Power[i] = PowerOf(curve.Rpm[i], curve.Torque[i]);
  }

  return doc.RowCount;
}

void GenerateNewEngine(EditorDocument& doc, const GeneratorSettings& settings) {
  GenerateEngineCurve(doc, settings);
  ComposeAndKeepEngineText(doc);
  doc.EngineLoaded = true;
}

}  // namespace dyno
