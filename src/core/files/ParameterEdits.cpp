#include "core/files/ParameterEdits.h"

#include <algorithm>

#include "core/document/DefaultSlipTable.h"
#include "core/document/EditorDocument.h"
#include "core/editing/TypedNumber.h"
#include "core/files/EngineParameters.h"
#include "core/files/NumberText.h"
#include "core/files/ParameterTexts.h"

namespace dyno {

void ApplyParameterTexts(EditorDocument& doc, const ParameterTexts& texts) {
  StoreParameterTexts(texts, doc.Parameters);
  ComposeAndKeepEngineText(doc);
  doc.Modified = true;
}

SlipHeaderTexts ShowSlipHeader(const SlipCurve& curve) {
  return {curve.Name, FixedText(curve.Step, 5), FixedText(curve.DropoffFunction, 1)};
}

void StoreSlipHeader(SlipCurve& curve, std::string_view name, std::string_view step, std::string_view dropoff) {
  curve.Name = std::string(name.substr(0, StoredSlipNameLength));
  // The dialog takes only numbers; each is read whole, never cut short.
  curve.Step = ReadTypedNumber(step).value_or(DecimalToDouble(step));
  curve.DropoffFunction = ReadTypedNumber(dropoff).value_or(DecimalToDouble(dropoff));
}

int AddSlipCurve(EditorDocument& doc, int workingCount) {
  if (workingCount < 0 || workingCount >= SlipCurveSlots) return workingCount;
  SlipCurve& added = doc.SlipCurves[workingCount];
  const int samples = std::clamp(doc.RowCount, 0, MaxSlipSamples);
  added.Name = "New Curve";
  if (workingCount > 0) {
    const SlipCurve& before = doc.SlipCurves[workingCount - 1];
    added.Step = before.Step;
    added.DropoffFunction = before.DropoffFunction;
    std::copy_n(before.Samples.begin(), samples, added.Samples.begin());
  } else {
    // Nothing to copy from: the built-in curve gives a sensible shape, held
    // at its final value beyond its own length; the step and drop-off are
    // unknown and left at 0 for the user to enter.
    const auto& builtIn = DefaultSlipTable[0];
    added.Step = 0.0;
    added.DropoffFunction = 0.0;
    for (int i = 0; i < samples; ++i) added.Samples[i] = builtIn[std::min(i, DefaultSlipSamples - 1)];
  }
  return workingCount + 1;
}

void ApplySlipCurveCount(EditorDocument& doc, int curveCount) {
  curveCount = std::clamp(curveCount, 0, SlipCurveSlots);
  if (curveCount != doc.SlipCurveCount) {
    for (int slot = doc.SlipCurveCount; slot < curveCount; ++slot) doc.SlipCurves[slot].SampleCount = doc.RowCount;
    doc.SlipCurveCount = curveCount;
  }
  doc.Modified = true;
}

}  // namespace dyno
