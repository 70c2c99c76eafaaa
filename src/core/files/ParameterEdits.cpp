#include "core/files/ParameterEdits.h"

#include <algorithm>

#include "core/document/DefaultSlipTable.h"
#include "core/document/EditorDocument.h"
#include "core/files/TypedNumber.h"
#include "core/files/EngineParameters.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"
#include "core/files/ParameterTexts.h"

namespace dyno {

void ApplyParameterTexts(EditorDocument& doc, const ParameterTexts& texts) {
  StoreParameterTexts(texts, doc.Parameters);
  ComposeAndKeepEngineText(doc);
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
  added.Name = "New Curve";
  if (workingCount > 0) {
    // A copy of the curve on the chart, as long as it is: samples beyond a
    // curve's end are no part of it, and zeros there would be written into
    // the file as a cliff to no grip.
    const int current = doc.CurrentSlipCurve >= 0 && doc.CurrentSlipCurve < workingCount ? doc.CurrentSlipCurve
                                                                                         : workingCount - 1;
    const SlipCurve& copied = doc.SlipCurves[current];
    added.Step = copied.Step;
    added.DropoffFunction = copied.DropoffFunction;
    added.SampleCount = std::clamp(copied.SampleCount, 0, MaxSlipSamples);
    std::copy_n(copied.Samples.begin(), added.SampleCount, added.Samples.begin());
  } else {
    // Nothing to copy from: the built-in curve gives a sensible shape; the
    // step and drop-off are unknown and left at 0 for the user to enter.
    const auto& builtIn = DefaultSlipTable[0];
    added.Step = 0.0;
    added.DropoffFunction = 0.0;
    added.SampleCount = DefaultSlipSamples;
    std::copy(builtIn.begin(), builtIn.end(), added.Samples.begin());
  }
  std::fill(added.Samples.begin() + added.SampleCount, added.Samples.end(), 0.0);
  return workingCount + 1;
}

void ApplySlipCurveCount(EditorDocument& doc, int curveCount) {
  curveCount = std::clamp(curveCount, 0, SlipCurveSlots);
  if (curveCount != doc.SlipCurveCount) {
    // The curves added keep the length Add gave them; the table grows to
    // show the longest.
    for (int slot = doc.SlipCurveCount; slot < curveCount; ++slot) {
      doc.RowCount = std::max(doc.RowCount, doc.SlipCurves[slot].SampleCount);
    }
    doc.SlipCurveCount = curveCount;
  }
}

}  // namespace dyno
