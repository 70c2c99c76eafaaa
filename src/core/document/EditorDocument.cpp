#include "core/document/EditorDocument.h"

#include <algorithm>

#include "core/document/DefaultSlipTable.h"

namespace dyno {

EditorDocument::EditorDocument() {
  for (int slot = 0; slot < SlipCurveSlots; ++slot) {
    SlipCurve& curve = SlipCurves[slot];
    std::copy(DefaultSlipTable[slot].begin(), DefaultSlipTable[slot].end(), curve.Samples.begin());
    curve.SampleCount = DefaultSlipSamples;
  }
}

void ClearEngineCurve(EditorDocument& doc) {
  doc.Engine.Rpm.fill(0.0);
  doc.Engine.Compression.fill(0.0);
  doc.Engine.Torque.fill(0.0);
  doc.Engine.Power.fill(0.0);
  doc.RowCount = 0;
}

void RecomputePower(EditorDocument& doc, int row) {
  doc.Engine.Power[row] = PowerOf(doc.Engine.Rpm[row], doc.Engine.Torque[row]);
}

}  // namespace dyno
