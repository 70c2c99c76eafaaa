#include "core/document/EditorSession.h"

#include <algorithm>
#include <cmath>

namespace dyno {

bool HasSlipStep(const SlipCurve& curve) { return std::isfinite(curve.Step) && curve.Step > 0.0; }

const SlipCurve* ComparedSlipCurve(const EditorDocument& doc, const DynoView& dyno) {
  const ComparedSlipCurves* compared = dyno.TireComparison.get();
  if (doc.Mode != FileMode::Tire || !compared) return nullptr;
  const int slot = std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1);
  if (slot >= compared->Count) return nullptr;
  const SlipCurve& curve = compared->Curves[static_cast<std::size_t>(slot)];
  return curve.SampleCount > 0 ? &curve : nullptr;
}

bool HasComparison(const EditorDocument& doc, const DynoView& dyno) {
  return doc.Mode == FileMode::Tire ? dyno.TireComparison != nullptr : dyno.Comparison != nullptr;
}

bool HasSavedComparison(const EditorDocument& doc, const DynoView& dyno) {
  return doc.Mode == FileMode::Tire ? dyno.TireSaved != nullptr : dyno.Saved != nullptr;
}

}  // namespace dyno
