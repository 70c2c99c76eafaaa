#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "core/curves/Rescale.h"
#include "core/curves/Resolution.h"
#include "core/curves/Rows.h"
#include "core/editing/EditorState.h"
#include "support/FakeHost.h"
#include "support/WindowSteps.h"

namespace dyno {

using namespace dyno::test;
namespace {

class CurveOperationsTest : public ::testing::Test {
 protected:
  // An engine curve of n rows at the given RPM step: torque rises linearly
  // and compression falls linearly with the row, power derived.
  void MakeCurve(int n, double step) {
    EngineCurve& c = st.Doc.Engine;
    for (int i = 0; i < n; ++i) {
      c.Rpm[i] = i * step;
      c.Torque[i] = 100.0 + 2.0 * i;
      c.Compression[i] = -10.0 - 3.0 * i;
      c.Power[i] = PowerOf(c.Rpm[i], c.Torque[i]);
    }
    c.EngineRowCount = st.Doc.RowCount = n;
    st.Doc.EngineLoaded = true;
  }
  EngineCurve& curve() { return st.Doc.Engine; }

  test::FakeHost host;
  EditorState st{host, 801, 601};
};

// --- Rescale ---------------------------------------------------------------

TEST_F(CurveOperationsTest, RescaleMeasuresPeakPowerAndStrongestCompression) {
  MakeCurve(41, 250);
  curve().Power[60] = 1e9;  // beyond the curve: not measured
  const RescaleValues v = BeginRescale(st.Doc);
  EXPECT_EQ(v.RowCount, 41);
  EXPECT_EQ(v.CurrentHp, curve().Power[40]);
  EXPECT_EQ(st.Doc.Generator.TargetPower, curve().Power[40]);
  EXPECT_EQ(v.CompressionMax, -130.0);
  EXPECT_EQ(v.NewCompression, -130.0);
}

TEST_F(CurveOperationsTest, RescaleToTwiceThePeakDoublesTorqueAndPower) {
  MakeCurve(41, 250);
  curve().Torque[45] = 7.0;
  const EngineCurve before = curve();
  RescaleValues v = BeginRescale(st.Doc);
  v.CurrentHp = 2 * v.CurrentHp;
  ApplyRescale(st.Doc, v);
  for (int i = 0; i < 41; ++i) {
    EXPECT_DOUBLE_EQ(curve().Torque[i], 2 * before.Torque[i]) << i;
    EXPECT_DOUBLE_EQ(curve().Power[i], 2 * before.Power[i]) << i;
    EXPECT_DOUBLE_EQ(curve().Compression[i], before.Compression[i]) << i;
    EXPECT_EQ(curve().Power[i], PowerOf(curve().Rpm[i], curve().Torque[i]));
  }
  EXPECT_EQ(curve().Torque[45], 7.0);
  EXPECT_TRUE(st.Doc.Modified);
}

TEST_F(CurveOperationsTest, RescaleWithZeroOrNegativeTargets) {
  MakeCurve(20, 500);
  const EngineCurve before = curve();
  RescaleValues v = BeginRescale(st.Doc);
  v.NewCompression = 0;
  v.CurrentHp = -v.CurrentHp;
  ApplyRescale(st.Doc, v);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(curve().Compression[i], 0.0);
    EXPECT_DOUBLE_EQ(curve().Torque[i], -before.Torque[i]);
  }
}

TEST_F(CurveOperationsTest, RescaleLeavesAColumnWithoutAPeakUnchanged) {
  MakeCurve(20, 500);
  for (int i = 0; i < 20; ++i) curve().Compression[i] = 5.0;  // none below 0
  for (int i = 0; i < 20; ++i) curve().Power[i] = curve().Torque[i] = 0.0;
  RescaleValues v = BeginRescale(st.Doc);
  EXPECT_EQ(v.CompressionMax, 0.0);
  v.CurrentHp = 300;
  v.NewCompression = -50;
  ApplyRescale(st.Doc, v);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(curve().Compression[i], 5.0);
    EXPECT_EQ(curve().Torque[i], 0.0);
    EXPECT_FALSE(std::isnan(curve().Power[i]));
  }
  EXPECT_FALSE(st.Doc.Modified);
}

TEST_F(CurveOperationsTest, TheRoundedDivisorScalesAnUnchangedDialogByOne) {
  MakeCurve(41, 250);
  const EngineCurve before = curve();
  RescaleValues v = BeginRescale(st.Doc);
  const double shown = std::round(v.CurrentHp);
  // Leaving the New HP field takes the shown Current HP as divisor.
  st.Doc.Generator.TargetPower = shown;
  v.CurrentHp = shown;
  ApplyRescale(st.Doc, v);
  EXPECT_DOUBLE_EQ(curve().Torque[30], before.Torque[30]);
}

// --- Change resolution -----------------------------------------------------

TEST(Interpolate, FollowsTheCurveBetweenAndBeyondItsRows) {
  const std::vector<double> xs{0, 250, 500, 750};
  const std::vector<double> vs{10, 20, 40, 30};
  EXPECT_EQ(Interpolate(250, xs, vs), 20.0);
  EXPECT_EQ(Interpolate(750, xs, vs), 30.0);
  EXPECT_DOUBLE_EQ(Interpolate(100, xs, vs), 14.0);
  EXPECT_DOUBLE_EQ(Interpolate(600, xs, vs), 36.0);
  EXPECT_DOUBLE_EQ(Interpolate(1000, xs, vs), 20.0);  // along the last two rows
  EXPECT_EQ(Interpolate(-100, xs, vs), 10.0);        // below the first row
}

TEST(Interpolate, AZeroIntervalTakesTheLowerRow) {
  const std::vector<double> xs{0, 0, 500};
  const std::vector<double> vs{10, 20, 30};
  EXPECT_TRUE(std::isfinite(Interpolate(0.5, std::vector<double>{0, 0}, std::vector<double>{1, 2})));
  EXPECT_EQ(Interpolate(600, std::vector<double>{500, 500}, std::vector<double>{1, 2}), 1.0);
  EXPECT_DOUBLE_EQ(Interpolate(250, xs, vs), 25.0);
}

TEST_F(CurveOperationsTest, BeginChangeResolutionTakesTheCurrentStep) {
  MakeCurve(41, 250);
  st.Doc.Generator.RpmStepChoice = 4;
  EXPECT_EQ(BeginChangeResolution(st.Doc), 2);
  EXPECT_EQ(st.Doc.Generator.RpmStep, 250.0);
  EXPECT_EQ(st.Doc.Generator.TopRpm, 10000.0);
  EXPECT_EQ(st.Doc.Generator.RpmStepChoice, 2);

  MakeCurve(10, 300);  // not an entry: the entry last chosen stays
  st.Doc.Generator.RpmStepChoice = 3;
  EXPECT_EQ(BeginChangeResolution(st.Doc), 3);
  EXPECT_EQ(st.Doc.Generator.RpmStep, 300.0);
}

TEST_F(CurveOperationsTest, ACoarserStepKeepsTheValuesAtTheRemainingRpms) {
  MakeCurve(41, 250);
  const EngineCurve before = curve();
  ASSERT_TRUE(ChangeResolution(st, 500));
  EXPECT_EQ(st.Doc.RowCount, 21);
  EXPECT_EQ(curve().EngineRowCount, 21);
  for (int i = 0; i < 21; ++i) {
    EXPECT_EQ(curve().Rpm[i], 500.0 * i);
    EXPECT_EQ(curve().Torque[i], before.Torque[2 * i]) << i;
    EXPECT_EQ(curve().Compression[i], before.Compression[2 * i]) << i;
    EXPECT_EQ(curve().Power[i], PowerOf(curve().Rpm[i], curve().Torque[i]));
  }
  EXPECT_EQ(curve().Rpm[21], 10500.0);
  EXPECT_TRUE(st.Doc.Modified);
  EXPECT_EQ(st.View.FirstVisibleRow, 0);
}

TEST_F(CurveOperationsTest, AFinerStepFillsInStraightLines) {
  MakeCurve(41, 250);
  ASSERT_TRUE(ChangeResolution(st, 100));
  EXPECT_EQ(st.Doc.RowCount, 101);
  EXPECT_DOUBLE_EQ(curve().Torque[1], 100.0 + 2.0 * 100 / 250);
  EXPECT_DOUBLE_EQ(curve().Torque[3], 100.0 + 2.0 * 300 / 250);
  EXPECT_DOUBLE_EQ(curve().Compression[100], -130.0);
  EXPECT_EQ(host.scrollBar.Maximum, 101 - 40);
}

TEST_F(CurveOperationsTest, TheSameStepReproducesTheCurve) {
  MakeCurve(41, 250);
  const EngineCurve before = curve();
  ASSERT_TRUE(ChangeResolution(st, 250));
  EXPECT_EQ(st.Doc.RowCount, 41);
  for (int i = 0; i < 41; ++i) EXPECT_EQ(curve().Torque[i], before.Torque[i]);
}

TEST_F(CurveOperationsTest, TheGridStopsBelowALastRpmOffTheStep) {
  MakeCurve(41, 250);
  curve().Rpm[40] = 10100;
  ASSERT_TRUE(ChangeResolution(st, 500));
  EXPECT_EQ(st.Doc.RowCount, 21);
  EXPECT_EQ(curve().Rpm[20], 10000.0);
}

TEST_F(CurveOperationsTest, AGridBeyond500RowsIsRefused) {
  MakeCurve(41, 250);
  curve().Rpm[40] = 60000;
  const EngineCurve before = curve();
  EXPECT_FALSE(ChangeResolution(st, 100));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "The new RPM step would need more than 500 rows.");
  EXPECT_EQ(host.messages[0].caption, "DATA ERROR!");
  EXPECT_EQ(st.Doc.RowCount, 41);
  EXPECT_EQ(curve().Rpm, before.Rpm);
  EXPECT_FALSE(st.Doc.Modified);

  curve().Rpm[40] = 49900;  // exactly 500 rows: allowed, nothing written past them
  ASSERT_TRUE(ChangeResolution(st, 100));
  EXPECT_EQ(st.Doc.RowCount, 500);
  EXPECT_EQ(curve().Rpm[499], 49900.0);
}

// --- Add and remove --------------------------------------------------------

TEST_F(CurveOperationsTest, AddContinuesTheLastStep) {
  MakeCurve(41, 250);
  curve().Rpm[39] = 9750;
  curve().Rpm[40] = 10000;
  AddLine(st);
  EXPECT_EQ(st.Doc.RowCount, 42);
  EXPECT_EQ(curve().EngineRowCount, 42);
  EXPECT_EQ(curve().Rpm[41], 10250.0);
  EXPECT_EQ(curve().Torque[41], curve().Torque[40]);
  EXPECT_EQ(curve().Compression[41], curve().Compression[40]);
  EXPECT_EQ(curve().Power[41], PowerOf(10250, curve().Torque[40]));
  EXPECT_TRUE(st.Doc.Modified);
}

TEST_F(CurveOperationsTest, AddStopsAt495RowsAndNeedsMoreThanThree) {
  MakeCurve(494, 10);
  AddLine(st);
  EXPECT_EQ(st.Doc.RowCount, 495);
  AddLine(st);
  EXPECT_EQ(st.Doc.RowCount, 495);

  MakeCurve(3, 250);
  st.Doc.Modified = false;
  AddLine(st);
  EXPECT_EQ(st.Doc.RowCount, 3);
  EXPECT_FALSE(st.Doc.Modified);
}

TEST_F(CurveOperationsTest, RemovingDownToTenRowsAnnouncesTheMinimum) {
  MakeCurve(12, 250);
  RemoveLine(st);
  EXPECT_EQ(st.Doc.RowCount, 11);
  EXPECT_TRUE(host.messages.empty());
  RemoveLine(st);
  EXPECT_EQ(st.Doc.RowCount, 10);
  EXPECT_EQ(curve().EngineRowCount, 10);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "This is now the minimum of 10 samples.");
  EXPECT_EQ(host.messages[0].caption, "Last reduction of resolution!");
  EXPECT_EQ(curve().Rpm[11], 2750.0);  // removed values stay in the columns
}

TEST_F(CurveOperationsTest, RemoveThenAddRecomputesTheRow) {
  MakeCurve(20, 250);
  curve().Torque[19] = 999;
  RemoveLine(st);
  AddLine(st);
  EXPECT_EQ(st.Doc.RowCount, 20);
  EXPECT_EQ(curve().Rpm[19], 19 * 250.0);
  EXPECT_EQ(curve().Torque[19], curve().Torque[18]);
}

TEST_F(CurveOperationsTest, TireAddAndRemoveWorkOnEveryCurve) {
  EditorDocument& doc = st.Doc;
  doc.TireMode = doc.TireLoaded = true;
  doc.EngineMode = false;
  doc.SlipCurveCount = 4;
  doc.SlipCurves[0].SampleCount = 100;
  doc.SlipCurves[1].SampleCount = 261;
  doc.SlipCurves[2].SampleCount = 0;    // empty: stays empty
  doc.SlipCurves[3].SampleCount = 500;  // full: stays full
  doc.SlipCurves[0].Samples[99] = 0.75;
  doc.RowCount = 261;

  AddLine(st);
  EXPECT_EQ(doc.SlipCurves[0].SampleCount, 101);
  EXPECT_EQ(doc.SlipCurves[0].Samples[100], 0.75);
  EXPECT_EQ(doc.SlipCurves[1].SampleCount, 262);
  EXPECT_EQ(doc.SlipCurves[2].SampleCount, 0);
  EXPECT_EQ(doc.SlipCurves[3].SampleCount, 500);
  EXPECT_EQ(doc.RowCount, 101);  // follows curve 0
  EXPECT_TRUE(doc.Modified);

  RemoveLine(st);
  RemoveLine(st);
  EXPECT_EQ(doc.SlipCurves[0].SampleCount, 99);
  EXPECT_EQ(doc.SlipCurves[1].SampleCount, 260);
  EXPECT_EQ(doc.SlipCurves[2].SampleCount, 0);
  EXPECT_EQ(doc.SlipCurves[3].SampleCount, 498);
  EXPECT_EQ(doc.RowCount, 99);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace dyno
