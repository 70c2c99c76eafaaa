#include <gtest/gtest.h>

#include <algorithm>

#include "core/document/DefaultSlipTable.h"
#include "core/editing/ModeCommands.h"
#include "support/EditorFixture.h"
#include "support/WindowSteps.h"

namespace dyno {

using namespace dyno::test;
namespace {

class TimerTest : public test::EditorFixture {
 protected:
  // A tire file's curves in Tire mode with bend mode on.
  void UseBendMode(int count = 2) {
    test::UseTireView(st.Doc, count);
    st.Doc.TireLoaded = true;
    Layout();
    BendCommand(st);
    ASSERT_TRUE(st.Doc.BendActive);
  }
  const SlipCurve& Curve(int slot) const { return st.Doc.SlipCurves[slot]; }
};

TEST_F(TimerTest, BendWeightsAreTheFirstDefaultCurveLessTheFourth) {
  const auto& w = BendWeights();
  for (int j = 0; j <= 11; ++j) EXPECT_EQ(w[j], 0.0) << j;
  EXPECT_NEAR(w[12], 0.000053, 1e-9);
  EXPECT_NEAR(w[20], 0.003914, 1e-9);
  EXPECT_NEAR(w[50], 0.042011, 1e-9);
  EXPECT_NEAR(w[95], 0.061174, 1e-9);
  EXPECT_NEAR(w[150], 0.056309, 1e-9);
  EXPECT_NEAR(w[200], 0.052003, 1e-9);
  EXPECT_NEAR(w[236], 0.05, 1e-12);
  EXPECT_EQ(std::max_element(w.begin(), w.end()) - w.begin(), 95);
  for (int j = 0; j < 237; ++j) EXPECT_GE(w[j], 0.0) << j;  // a bend never turns the curve over
}

TEST_F(TimerTest, HeldUpBendsOnTheFirstTickThenPausesNineTicks) {
  UseBendMode();
  const SlipCurve before = Curve(0);
  const SlipCurve other = Curve(1);
  EvLButtonDown(st, UpButton());
  Tick();
  EXPECT_NEAR(Curve(0).Samples[236] - before.Samples[236], 0.0005, 1e-12);
  EXPECT_TRUE(st.Doc.Modified);
  Tick(9);
  EXPECT_NEAR(Curve(0).Samples[236] - before.Samples[236], 0.0005, 1e-12);
  Tick(10);  // one second held: ticks 1 and 11 to 20 bend
  EXPECT_NEAR(Curve(0).Samples[236] - before.Samples[236], 11 * 0.0005, 1e-12);
  // The middle of the drop-off moves most, the rise never.
  for (int i = 0; i <= 11; ++i) EXPECT_EQ(Curve(0).Samples[i], before.Samples[i]) << i;
  EXPECT_NEAR(Curve(0).Samples[95] - before.Samples[95], 11 * 0.01 * BendWeights()[95], 1e-12);
  EXPECT_EQ(Curve(1).Samples, other.Samples);
  EvLButtonUp(st, UpButton());
  Tick(5);
  EXPECT_NEAR(Curve(0).Samples[236] - before.Samples[236], 11 * 0.0005, 1e-12);
}

TEST_F(TimerTest, HeldDownBendsTheChartedCurveDownAndLeavesTheOthers) {
  UseBendMode(3);
  Click(TireHeader(2));  // in bend mode the header still chooses the curve
  ASSERT_EQ(st.Doc.CurrentSlipCurve, 2);
  const SlipCurve first = Curve(0);
  const SlipCurve third = Curve(2);
  EvLButtonDown(st, DownButton());
  Tick();
  EXPECT_NEAR(Curve(2).Samples[236] - third.Samples[236], -0.0005, 1e-12);
  EXPECT_EQ(Curve(0).Samples, first.Samples);
  EXPECT_TRUE(host.Invalidated({0, FirstRowY, TableWidth, st.View.ScreenHeight}));
  EXPECT_TRUE(host.Invalidated(st.View.ClientFrom(TableWidth, 0)));
}

TEST_F(TimerTest, APressReleasedBeforeTheNextTickDoesNothing) {
  UseBendMode();
  const SlipCurve before = Curve(0);
  Click(UpButton());
  Tick(3);
  EXPECT_EQ(Curve(0).Samples, before.Samples);
  EXPECT_EQ(st.Ui.RepeatCount, 0);
}

TEST_F(TimerTest, HoldingDownOneSecondLowersAPickedSampleBy0_0051) {
  test::UseTireView(st.Doc, 1);
  Layout();
  Click(TireCell(0, 30));
  ASSERT_TRUE(st.Ui.ValueShown);
  const double before = Sample(0, 30);
  EvLButtonDown(st, DownButton());
  Tick();
  EXPECT_NEAR(Sample(0, 30), before - 0.0001, 1e-12);
  Tick(19);
  EXPECT_NEAR(Sample(0, 30), before - 0.0051, 1e-12);
  EXPECT_EQ(host.valueBox, FixedText(before - 0.0051, 6));
  EvLButtonUp(st, DownButton());
  Tick(3);
  EXPECT_NEAR(Sample(0, 30), before - 0.0051, 1e-12);
}

TEST_F(TimerTest, AnEngineValueStepsByATenthInTheSameRhythm) {
  Click(TorqueCell(20));
  const double before = Torque(20);
  st.Doc.Modified = false;
  EvLButtonDown(st, UpButton());
  Tick();
  EXPECT_NEAR(Torque(20), before + 0.1, 1e-9);
  EXPECT_DOUBLE_EQ(st.Doc.Engine.Power[20], PowerOf(st.Doc.Engine.Rpm[20], Torque(20)));
  EXPECT_TRUE(st.Doc.Modified);
  Tick(9);
  EXPECT_NEAR(Torque(20), before + 0.1, 1e-9);
  Tick(2);
  EXPECT_NEAR(Torque(20), before + 0.3, 1e-9);
  EXPECT_EQ(host.valueBox, FixedText(before + 0.3, 1));
  // Leaving the button lets it up: the steps stop.
  EvMouseMove(st, {500, 300});
  Tick(3);
  EXPECT_NEAR(Torque(20), before + 0.3, 1e-9);
}

TEST_F(TimerTest, WithoutAShownValueOrBendModeTheButtonsDoNothing) {
  const EngineCurve before = st.Doc.Engine;
  EvLButtonDown(st, UpButton());
  Tick(15);
  EXPECT_EQ(st.Doc.Engine.Torque, before.Torque);
  EXPECT_EQ(st.Ui.RepeatCount, 0);
  EXPECT_FALSE(st.Doc.Modified);
}

TEST_F(TimerTest, BendModeStepsNoValuePickedBySingleClicks) {
  UseBendMode(1);
  Click(TireCell(0, 30));
  const SlipCurve before = Curve(0);
  EvLButtonDown(st, UpButton());
  Tick();
  // Only the bend moved the sample.
  EXPECT_NEAR(Sample(0, 30) - before.Samples[30], 0.01 * BendWeights()[30], 1e-12);
  EvLButtonUp(st, UpButton());

  // A double-click picks a value, which is then stepped in the same ticks.
  DoubleClick(TireCell(0, 30));
  ASSERT_TRUE(st.Ui.ValueShown);
  const double shown = DecimalToDouble(host.valueBox);
  EvLButtonDown(st, UpButton());
  Tick();
  // The step starts from the value shown, after the bend of the same tick.
  EXPECT_EQ(host.valueBox, FixedText(shown + 0.0001, 6));
  EXPECT_EQ(Sample(0, 30), DecimalToDouble(host.valueBox));
}

TEST_F(TimerTest, BendModeLeftOnStillBendsInEngineModeWhileAnEngineValueSteps) {
  UseBendMode(1);
  SetFileMode(st, FileMode::Engine);
  Layout();
  ASSERT_EQ(st.Doc.RowCount, 41);
  Click(TorqueCell(20));
  const double torque = Torque(20);
  const SlipCurve before = Curve(0);
  EvLButtonDown(st, UpButton());
  Tick();
  EXPECT_NEAR(Torque(20), torque + 0.1, 1e-9);
  // The whole tail of the slip curve, not just its first 41 samples.
  EXPECT_NEAR(Curve(0).Samples[236] - before.Samples[236], 0.0005, 1e-12);
  EXPECT_NEAR(Curve(0).Samples[100] - before.Samples[100], 0.01 * BendWeights()[100], 1e-12);
}

TEST_F(TimerTest, AfterAModeChangeTheButtonsHaveNoValueLeftToStep) {
  Click(TorqueCell(20));
  ASSERT_TRUE(st.Ui.ValueShown);
  SetFileMode(st, FileMode::Upgrade);
  EXPECT_FALSE(st.Ui.ValueShown);
  EXPECT_EQ(host.valueBox, "");
  const std::string before = host.valueBox;
  EvLButtonDown(st, UpButton());
  Tick(12);
  EXPECT_EQ(host.valueBox, before);
  EXPECT_FALSE(st.Doc.Modified);
  // The next keystroke is the user's, not a skipped one.
  EXPECT_FALSE(st.Ui.EditSetByProgram);
}

TEST_F(TimerTest, BendReachesItsTargetOverAnyNumberOfSamples) {
  test::UseTireView(st.Doc, 1);
  st.Doc.RowCount = 500;
  SlipCurve before = Curve(0);
  const double target = Sample(0, 499) - 0.003;
  Bend(st.Doc, target);
  EXPECT_NEAR(Sample(0, 499), target, 1e-12);
  // From sample 236 on every sample moves by the full step.
  EXPECT_NEAR(Sample(0, 300) - before.Samples[300], -0.003, 1e-12);
  EXPECT_NEAR(Sample(0, 236) - before.Samples[236], -0.003, 1e-12);
  EXPECT_EQ(Sample(0, 11), before.Samples[11]);

  // A row count beyond the slot's room bends only what the slot holds.
  st.Doc.RowCount = 600;
  Bend(st.Doc, Sample(0, 499) + 0.001);
  EXPECT_NEAR(Sample(0, 499), target + 0.001, 1e-12);

  // A shorter curve moves by the same profile: its last sample by its own
  // weight's share of the step, not to the target.
  st.Doc.RowCount = 100;
  before = Curve(0);
  Bend(st.Doc, Sample(0, 99) + 0.0005);
  EXPECT_NEAR(Sample(0, 99) - before.Samples[99], 0.0005 * BendWeights()[99] / 0.05, 1e-12);
  EXPECT_EQ(Sample(0, 100), before.Samples[100]);
}

TEST_F(TimerTest, AMovedAxisRepaintsTheChartOnTheNextTick) {
  st.Chart.ScaleChanged = true;
  Tick();
  EXPECT_FALSE(st.Chart.ScaleChanged);
  ASSERT_EQ(host.invalidations.size(), 1u);
  EXPECT_EQ(host.invalidations[0].area, st.View.ClientFrom(TableWidth, 0));
  host.invalidations.clear();
  Tick();
  EXPECT_TRUE(host.invalidations.empty());
}

TEST_F(TimerTest, TheBendCommandWorksInTireModeOnlyAndClearsTheSelection) {
  BendCommand(st);
  EXPECT_FALSE(st.Doc.BendActive);
  EXPECT_TRUE(host.Invalidated(st.Chart.UpButtonRect));
  EXPECT_TRUE(host.Invalidated(st.Chart.DownButtonRect));

  test::UseTireView(st.Doc, 2);
  Layout();
  Click(TireCell(1, 5));
  ASSERT_TRUE(st.Ui.ValueShown);
  BendCommand(st);
  EXPECT_TRUE(st.Doc.BendActive);
  EXPECT_FALSE(st.Ui.ValueShown);
  EXPECT_FALSE(st.Ui.CurveSelected[1]);
  EXPECT_FALSE(st.Ui.SlipPicked);
  EXPECT_EQ(host.valueBox, "");
  EXPECT_FALSE(st.Ui.EditSetByProgram);

  BendCommand(st);
  EXPECT_FALSE(st.Doc.BendActive);
  // With the box already empty no notification is left to skip.
  BendCommand(st);
  EXPECT_FALSE(st.Ui.EditSetByProgram);
}

}  // namespace
}  // namespace dyno
