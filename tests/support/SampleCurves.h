#pragma once

#include <cmath>

#include "core/document/EditorDocument.h"

namespace dyno::test {

// A plausible engine curve from 0 to topRpm in rows - 1 equal steps: torque
// rises from 200 to its peak of 433 N-m at 6750 RPM and falls to 200 again,
// compression torque goes from -17 to -237 N-m, power peaks near 450 HP.
// Leaves the document in Engine mode with RowCount = rows.
inline void FillSampleEngineCurve(EditorDocument& doc, int rows = 41, double topRpm = 10000.0) {
  EngineCurve& e = doc.Engine;
  for (int i = 0; i < rows; ++i) {
    const double rpm = rows > 1 ? topRpm * i / (rows - 1) : 0.0;
    const double rise = (6750.0 - rpm) / 6750.0;
    const double fall = (rpm - 6750.0) / 3250.0;
    const double torque = rpm <= 6750.0 ? 200.0 + 233.0 * (1.0 - rise * rise) : 433.0 - 233.0 * fall * fall;
    e.Rpm[i] = rpm;
    e.Torque[i] = std::round(torque * 10.0) / 10.0;
    e.Compression[i] = std::round((-17.0 - 220.0 * std::pow(rpm / 10000.0, 1.5)) * 10.0) / 10.0;
    e.Power[i] = PowerOf(e.Rpm[i], e.Torque[i]);
  }
  e.EngineRowCount = rows;
  doc.RowCount = rows;
  doc.Mode = FileMode::Engine;
}

// Sets every row of the engine curve to the same torque and compression.
inline void FillFlatEngineCurve(EditorDocument& doc, int rows, double torque, double compression) {
  EngineCurve& e = doc.Engine;
  for (int i = 0; i < rows; ++i) {
    e.Rpm[i] = 250.0 * i;
    e.Torque[i] = torque;
    e.Compression[i] = compression;
    e.Power[i] = PowerOf(e.Rpm[i], torque);
  }
  e.EngineRowCount = rows;
  doc.RowCount = rows;
}

// Switches the document to Tire mode showing the built-in curve of slot 0
// (237 samples) and count - 1 further curves derived from it.
inline void UseTireView(EditorDocument& doc, int count) {
  doc.Mode = FileMode::Tire;
  doc.SlipCurveCount = count;
  doc.CurrentSlipCurve = 0;
  doc.RowCount = 237;
  const char* names[4] = {"Front", "Rear", "Wet front", "Wet rear"};
  for (int slot = 0; slot < 4; ++slot) {
    SlipCurve& curve = doc.SlipCurves[slot];
    curve.Name = names[slot];
    curve.Step = 0.0025 * (slot + 1);
    curve.SampleCount = slot < count ? 237 : 0;
  }
  // Slot 0 keeps its built-in samples; the others fall further after the peak.
  for (int slot = 1; slot < 4; ++slot) {
    for (int i = 0; i < 237; ++i) {
      const double base = doc.SlipCurves[0].Samples[i];
      doc.SlipCurves[slot].Samples[i] = slot < count ? (i <= 11 ? base : base - 0.04 * slot * (i - 11) / 225.0) : 0.0;
    }
  }
}

}  // namespace dyno::test
