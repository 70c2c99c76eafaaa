#include <algorithm>

#include <gtest/gtest.h>

#include "core/document/DefaultSlipTable.h"
#include "core/editing/EditorState.h"
#include "support/FakeHost.h"
#include "support/WindowSteps.h"

namespace dyno {

using namespace dyno::test;
namespace {

TEST(EditorDocument, StartsInEngineModeWithNothingLoaded) {
  EditorDocument doc;
  EXPECT_TRUE(doc.EngineMode);
  EXPECT_FALSE(doc.UpgradeMode);
  EXPECT_FALSE(doc.TireMode);
  EXPECT_FALSE(doc.EngineLoaded);
  EXPECT_FALSE(doc.TireLoaded);
  EXPECT_FALSE(doc.UpgradeLoaded);
  EXPECT_FALSE(doc.Modified);
  EXPECT_FALSE(doc.TireParsed);
  EXPECT_FALSE(doc.BendActive);
  EXPECT_TRUE(doc.LockOnToData);
  EXPECT_EQ(doc.EngineTextSize(), 0);
  EXPECT_EQ(doc.TireTextSize(), 0);
  EXPECT_EQ(doc.EngineTextPos, 0);
  EXPECT_EQ(doc.CurrentSlipCurve, 0);

  EXPECT_EQ(doc.Generator.TargetPower, 450.0);
  EXPECT_EQ(doc.Generator.TopRpm, 10000.0);
  EXPECT_EQ(doc.Generator.RpmStep, 250.0);
  EXPECT_EQ(doc.Generator.PeakTorqueRpm, 7000.0);
  EXPECT_EQ(doc.Generator.MaxRpmChoice, 8);
  EXPECT_EQ(doc.Generator.RpmStepChoice, 2);
  EXPECT_EQ(doc.Generator.PeakTorqueChoice, 16);
}

TEST(EditorDocument, StartsWithTheFourDefaultSlipCurves) {
  EditorDocument doc;
  EXPECT_EQ(doc.SlipCurveCount, 4);
  for (int slot = 0; slot < SlipCurveSlots; ++slot) {
    const SlipCurve& curve = doc.SlipCurves[slot];
    EXPECT_EQ(curve.SampleCount, 237);
    EXPECT_TRUE(std::equal(DefaultSlipTable[slot].begin(), DefaultSlipTable[slot].end(), curve.Samples.begin()));
    EXPECT_EQ(curve.Samples[237], 0.0);
  }
}

TEST(DefaultSlipTable, PassesThroughTheTellingRows) {
  const double shared[12] = {0, 0.174836, 0.349483, 0.51806, 0.668882, 0.790665,
                             0.878928, 0.936783, 0.971287, 0.989751, 0.997978, 1.0};
  struct Row {
    int sample;
    double value[4];
  };
  const Row rows[] = {
      {12, {0.999918, 0.999904, 0.999886, 0.999865}}, {20, {0.993851, 0.992804, 0.991449, 0.989937}},
      {50, {0.912103, 0.901441, 0.886263, 0.870092}}, {100, {0.775944, 0.765127, 0.740153, 0.714852}},
      {150, {0.713692, 0.708547, 0.682990, 0.657383}}, {200, {0.685838, 0.684276, 0.659057, 0.633835}},
      {236, {0.675, 0.675, 0.65, 0.625}},
  };
  for (int slot = 0; slot < 4; ++slot) {
    for (int i = 0; i < 12; ++i) EXPECT_EQ(DefaultSlipTable[slot][i], shared[i]) << slot << "/" << i;
    for (const Row& row : rows) {
      EXPECT_NEAR(DefaultSlipTable[slot][row.sample], row.value[slot], 5e-7) << slot << "/" << row.sample;
    }
  }
}

TEST(DefaultSlipTable, EveryCurveFallsSteadilyAfterItsPeak) {
  for (int slot = 0; slot < 4; ++slot) {
    for (int i = 0; i < 11; ++i) EXPECT_LT(DefaultSlipTable[slot][i], DefaultSlipTable[slot][i + 1]);
    for (int i = 11; i < 236; ++i) {
      EXPECT_GT(DefaultSlipTable[slot][i], DefaultSlipTable[slot][i + 1]) << "slot " << slot << " sample " << i;
    }
  }
}

TEST(EditorDocument, ClearEngineCurveEmptiesAllRows) {
  EditorDocument doc;
  doc.Engine.Rpm[499] = 1;
  doc.Engine.Torque[3] = 2;
  doc.Engine.Compression[0] = 3;
  doc.Engine.Power[250] = 4;
  doc.RowCount = 41;
  ClearEngineCurve(doc);
  EXPECT_EQ(doc.RowCount, 0);
  for (int i = 0; i < MaxEngineRows; ++i) {
    ASSERT_EQ(doc.Engine.Rpm[i], 0.0);
    ASSERT_EQ(doc.Engine.Torque[i], 0.0);
    ASSERT_EQ(doc.Engine.Compression[i], 0.0);
    ASSERT_EQ(doc.Engine.Power[i], 0.0);
  }
}

TEST(EditorDocument, PowerIsRpmTimesTorqueTimesTheHorsepowerFactor) {
  EditorDocument doc;
  doc.Engine.Rpm[7] = 5000;
  doc.Engine.Torque[7] = 350;
  RecomputePower(doc, 7);
  EXPECT_NEAR(doc.Engine.Power[7], 245.76, 0.005);
  EXPECT_DOUBLE_EQ(doc.Engine.Power[7], 5000 * 350 * 0.00014043425079029374);
  EXPECT_DOUBLE_EQ(PowerOf(1000, 150), 21.065137618544061);
}

class ResetSlipCurvesTest : public ::testing::Test {
 protected:
  test::FakeHost host;
  EditorState st{host, 801, 601};
};

TEST_F(ResetSlipCurvesTest, RestoresTheFirstDefaultCurveBeforeAnyTireFileWasParsed) {
  st.Doc.SlipCurves[0].Samples[5] = 42;
  st.Doc.SlipCurves[2].Samples[100] = 42;
  st.Doc.SlipCurves[0].SampleCount = 12;
  st.Doc.CurrentSlipCurve = 2;
  ResetSlipCurves(st);
  EXPECT_TRUE(std::equal(DefaultSlipTable[0].begin(), DefaultSlipTable[0].end(), st.Doc.SlipCurves[0].Samples.begin()));
  for (int slot = 1; slot < 4; ++slot) {
    for (int i = 0; i < 237; ++i) ASSERT_EQ(st.Doc.SlipCurves[slot].Samples[i], 0.0);
  }
  EXPECT_EQ(st.Doc.SlipCurves[0].SampleCount, 237);
  EXPECT_EQ(st.Doc.SlipCurveCount, 1);
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 0);
  EXPECT_EQ(st.Doc.RowCount, 237);
  ASSERT_EQ(host.invalidations.size(), 1u);
  EXPECT_EQ(host.invalidations[0].area, (Rect{0, 0, 801, 601}));
  EXPECT_FALSE(host.invalidations[0].erase);
}

TEST_F(ResetSlipCurvesTest, ZeroesEveryCurveOnceATireFileWasParsed) {
  st.Doc.TireParsed = true;
  st.Doc.SlipCurves[0].Samples[300] = 7;  // beyond the default length: kept
  ResetSlipCurves(st);
  for (int slot = 0; slot < 4; ++slot) {
    for (int i = 0; i < 237; ++i) ASSERT_EQ(st.Doc.SlipCurves[slot].Samples[i], 0.0);
  }
  EXPECT_EQ(st.Doc.SlipCurves[0].Samples[300], 7.0);
  EXPECT_EQ(st.Doc.RowCount, 237);
}

}  // namespace
}  // namespace dyno
