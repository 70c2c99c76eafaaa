// Curve operations on a bare document: the start-up curve the generator
// gives, and slip curves added and counted within their slots. (Their
// results in the editor are pinned by the session transcripts.)
#include <gtest/gtest.h>

#include "core/curves/Generator.h"
#include "core/document/EditorSession.h"
#include "core/files/ParameterEdits.h"

namespace dyno {
namespace {

// The start-up curve is the generator's, and no file's yet. (Its rows are
// pinned by the session transcripts that generate curves.)
TEST(Curves, TheGeneratorGivesNoFilesCurve) {
  EditorDocument doc;
  ASSERT_EQ(GenerateEngineCurve(doc, GeneratorSettings()), 41);
  EXPECT_FALSE(doc.EngineLoaded);
}

// A fifth curve is not added; the count applied stays within the four slots,
// a new curve is a copy of the current one as long as it is (nothing beyond
// its end).
TEST(Curves, SlipCurvesStayWithinTheirSlots) {
  EditorDocument doc;
  doc.RowCount = 237;
  EXPECT_EQ(AddSlipCurve(doc, SlipCurveSlots), SlipCurveSlots);
  for (const auto& [count, applied] : {std::pair{2, 2}, {0, 0}, {9, 4}}) {
    doc.SlipCurveCount = 1;
    ApplySlipCurveCount(doc, count);
    EXPECT_EQ(doc.SlipCurveCount, applied) << count;
  }
  doc.SlipCurveCount = 2;
  doc.CurrentSlipCurve = 1;
  doc.SlipCurves[1].SampleCount = 90;
  doc.SlipCurves[1].Samples.fill(0.75);
  doc.SlipCurves[2].Samples.fill(0.5);
  EXPECT_EQ(AddSlipCurve(doc, 2), 3);
  ApplySlipCurveCount(doc, 3);
  const SlipCurve& added = doc.SlipCurves[2];
  EXPECT_EQ(added.SampleCount, 90);
  EXPECT_EQ(added.Samples[89], 0.75);
  EXPECT_EQ(added.Samples[90], 0.0);
  EXPECT_EQ(doc.RowCount, 237);
  // A copy of a curve without samples has none either.
  doc.SlipCurves[1].SampleCount = 0;
  AddSlipCurve(doc, 2);
  EXPECT_EQ(doc.SlipCurves[2].SampleCount, 0);
}

}  // namespace
}  // namespace dyno
