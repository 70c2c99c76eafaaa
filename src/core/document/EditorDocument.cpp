#include "core/document/EditorDocument.h"

#include <algorithm>
#include <utility>

#include "core/document/DefaultSlipTable.h"

namespace dyno {

EditorDocument::EditorDocument() {
  for (int slot = 0; slot < SlipCurveSlots; ++slot) {
    SlipCurve& curve = SlipCurves[slot];
    std::copy(DefaultSlipTable[slot].begin(), DefaultSlipTable[slot].end(), curve.Samples.begin());
    curve.SampleCount = DefaultSlipSamples;
  }
}

const std::string& KeptTextOf(const EditorDocument& doc, KeptText kind) {
  switch (kind) {
    case KeptText::Engine: return doc.EngineText;
    case KeptText::Tire: return doc.TireText;
    case KeptText::TireOther: return doc.TireOtherText;
    case KeptText::Generated: break;
  }
  return doc.GeneratedText;
}

std::string& KeptTextOf(EditorDocument& doc, KeptText kind) {
  return const_cast<std::string&>(KeptTextOf(std::as_const(doc), kind));
}

void ReplaceText(EditorDocument& doc, KeptText kind, std::string text) {
  std::string& kept = KeptTextOf(doc, kind);
  std::optional<std::string>& parked = doc.Parked.Texts[static_cast<int>(kind)];
  if (doc.Parked.Parking && !parked) {
    parked = std::move(kept);
  }
  kept = std::move(text);
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

void ResetSlipCurves(EditorDocument& doc) {
  for (int slot = 0; slot < SlipCurveSlots; ++slot) {
    auto& samples = doc.SlipCurves[slot].Samples;
    if (slot == 0 && !doc.TireParsed) {
      std::copy(DefaultSlipTable[0].begin(), DefaultSlipTable[0].end(), samples.begin());
    } else {
      std::fill_n(samples.begin(), DefaultSlipSamples, 0.0);
    }
  }
  doc.SlipCurves[0].SampleCount = DefaultSlipSamples;
  doc.CurrentSlipCurve = 0;
  doc.RowCount = DefaultSlipSamples;
  doc.SlipCurveCount = 1;
}

}  // namespace dyno
