#include "core/curves/Rows.h"

#include "core/document/EditorDocument.h"

namespace dyno {

EditOutcome AddLine(EditorDocument& doc) {
  EditOutcome outcome;
  if (doc.Mode == FileMode::Tire) {
    if (doc.RowCount < AddRowLimit) {
      for (int k = 0; k < doc.SlipCurveCount; ++k) {
        SlipCurve& curve = doc.SlipCurves[k];
        const int n = curve.SampleCount;
        if (n < 1 || n >= MaxSlipSamples) continue;  // nothing to repeat, or full
        curve.Samples[n] = curve.Samples[n - 1];
        curve.SampleCount = n + 1;
        outcome.Changed = true;
      }
      doc.RowCount = doc.SlipCurves[0].SampleCount;
    }
  } else if (doc.RowCount >= AddEngineRowFrom && doc.RowCount < AddRowLimit) {
    EngineCurve& curve = doc.Engine;
    const int n = doc.RowCount;
    curve.Rpm[n] = (curve.Rpm[n - 1] - curve.Rpm[n - 2]) + curve.Rpm[n - 1];
    curve.Torque[n] = curve.Torque[n - 1];
    curve.Compression[n] = curve.Compression[n - 1];
    curve.Power[n] = PowerOf(curve.Rpm[n], curve.Torque[n]);
    doc.RowCount = curve.EngineRowCount = n + 1;
    outcome.Changed = true;
  }
  return outcome;
}

EditOutcome RemoveLine(EditorDocument& doc) {
  EditOutcome outcome;
  if (doc.Mode == FileMode::Tire) {
    for (int k = 0; k < doc.SlipCurveCount; ++k) {
      SlipCurve& curve = doc.SlipCurves[k];
      if (curve.SampleCount > 0) {
        --curve.SampleCount;
        outcome.Changed = true;
      }
    }
    doc.RowCount = doc.SlipCurves[0].SampleCount;
  } else {
    if (doc.RowCount > MinimumRows) {
      --doc.RowCount;
      doc.Engine.EngineRowCount = doc.RowCount;
      outcome.Changed = true;
    }
    if (doc.RowCount == MinimumRows) {
      outcome.Message = UserMessage{"This is now the minimum of 10 samples.", "Last reduction of resolution!"};
    }
  }
  return outcome;
}

}  // namespace dyno
