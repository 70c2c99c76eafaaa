#include <gtest/gtest.h>

#include <vector>

#include "core/document/DefaultSlipTable.h"
#include "core/editing/UndoCommands.h"
#include "support/EditorFixture.h"
#include "support/WindowSteps.h"

namespace dyno {

using namespace dyno::test;
namespace {

class ValueBoxTest : public test::EditorFixture {
 protected:
  // Selects the torque cell of the 5000 RPM row (row 20 of 41) through the
  // table, as a user does, and forgets what that did.
  void SelectTorqueAt5000() {
    ASSERT_EQ(st.Doc.Engine.Rpm[20], 5000.0);
    Click(TorqueCell(20));
    ASSERT_TRUE(st.Ui.TorqueSelected);
    ASSERT_EQ(st.Ui.SelectedIndex, 20);
    st.Doc.Modified = false;
    host.invalidations.clear();
  }
};

TEST_F(ValueBoxTest, EachKeystrokeStoresTheTorqueAndPowerFollows) {
  SelectTorqueAt5000();
  std::vector<double> stored;
  host.valueBoxChanged = [&] {
    ValueEditNotify(st, ValueEditCode::TextChanged);
    stored.push_back(Torque(20));
  };
  host.ClearByUser();
  host.Type("350");
  EXPECT_EQ(stored, (std::vector<double>{0.0, 3.0, 35.0, 350.0}));
  EXPECT_NEAR(st.Doc.Engine.Power[20], 245.76, 0.005);
  EXPECT_DOUBLE_EQ(st.Doc.Engine.Power[20], PowerOf(5000.0, 350.0));
  EXPECT_TRUE(st.Doc.Modified);
  EXPECT_TRUE(st.Ui.ValueShown);
  EXPECT_EQ(st.Ui.ReadoutText, "350");

  // The torque and power cells of the row, and the chart around the point.
  const int top = 24 + 14 * 20;
  EXPECT_TRUE(host.Invalidated({161, top, 283, top + 18}));
  const int x = st.Chart.PointX[20];
  EXPECT_TRUE(host.Invalidated({x - 70, 0, x + 70, st.View.ScreenHeight}));
  EXPECT_TRUE(host.AllInvalidationsWithin(200 * st.View.ScreenHeight));
}

TEST_F(ValueBoxTest, ClearingTheBoxStoresZeroAtOnceAndTextWithoutANumberToo) {
  SelectTorqueAt5000();
  host.ClearByUser();
  EXPECT_EQ(Torque(20), 0.0);
  EXPECT_EQ(st.Doc.Engine.Power[20], 0.0);
  EXPECT_TRUE(st.Doc.Modified);
  host.Type("-12.5x");
  EXPECT_EQ(Torque(20), -12.5);
  host.ClearByUser();
  host.Type("abc");
  EXPECT_EQ(Torque(20), 0.0);
}

TEST_F(ValueBoxTest, ANinthCharacterIsRefused) {
  SelectTorqueAt5000();
  host.ClearByUser();
  host.Type("123456789");
  EXPECT_EQ(host.valueBox, "12345678");
  EXPECT_EQ(Torque(20), 12345678.0);
}

TEST_F(ValueBoxTest, TheProgramsOwnEmptyingIsSkipped) {
  SelectTorqueAt5000();
  const double before = Torque(20);
  st.Ui.EditSetByProgram = true;
  host.ClearByUser();
  EXPECT_EQ(Torque(20), before);
  EXPECT_FALSE(st.Ui.EditSetByProgram);
  EXPECT_FALSE(st.Ui.ValueShown);
  EXPECT_FALSE(st.Doc.Modified);
  // The next change is the user's again.
  host.Type("7");
  EXPECT_EQ(Torque(20), 7.0);
}

TEST_F(ValueBoxTest, TypingWithNothingSelectedChangesNoDataButRepaintsAroundTheDragPoint) {
  st.Ui.DragIndex = 12;
  const EngineCurve before = st.Doc.Engine;
  host.Type("99");
  EXPECT_EQ(st.Doc.Engine.Torque, before.Torque);
  EXPECT_EQ(st.Doc.Engine.Compression, before.Compression);
  EXPECT_FALSE(st.Doc.Modified);
  EXPECT_TRUE(st.Ui.ValueShown);
  const int x = st.Chart.PointX[12];
  EXPECT_TRUE(host.Invalidated({x - 70, 0, x + 70, st.View.ScreenHeight}));
}

TEST_F(ValueBoxTest, TypingIntoAnIdleBoxWakesTheUpAndDownButtons) {
  ASSERT_FALSE(st.Ui.ValueShown);
  host.Type("4");
  EXPECT_TRUE(st.Ui.ValueShown);
  EXPECT_TRUE(host.Invalidated(st.Chart.UpButtonRect));
  EXPECT_TRUE(host.Invalidated(st.Chart.DownButtonRect));
}

TEST_F(ValueBoxTest, CompressionTypingLeavesPowerAndRepaintsBothTorqueCells) {
  Click(CompressionCell(8));
  ASSERT_TRUE(st.Ui.CompressionSelected);
  const double power = st.Doc.Engine.Power[8];
  const double torque = Torque(8);
  host.invalidations.clear();
  host.ClearByUser();
  host.Type("-80");
  EXPECT_EQ(st.Doc.Engine.Compression[8], -80.0);
  EXPECT_EQ(Torque(8), torque);
  EXPECT_EQ(st.Doc.Engine.Power[8], power);
  const int top = 24 + 14 * 8;
  EXPECT_TRUE(host.Invalidated({61, top, 221, top + 18}));
}

TEST_F(ValueBoxTest, ASelectedSampleIsStoredIntoTheChartedCurve) {
  test::UseTireView(st.Doc, 3);
  Layout();
  Click(TireCell(1, 30));
  ASSERT_TRUE(st.Ui.CurveSelected[1]);
  ASSERT_EQ(st.Doc.CurrentSlipCurve, 1);
  st.Doc.Modified = false;
  host.ClearByUser();
  host.Type("0.5");
  EXPECT_EQ(Sample(1, 30), 0.5);
  EXPECT_EQ(Sample(0, 30), DefaultSlipTable[0][30]);
  EXPECT_TRUE(st.Doc.Modified);
  const int top = 24 + 14 * 30;
  EXPECT_TRUE(host.Invalidated({36, top, 283, top + 18}));
}

TEST_F(ValueBoxTest, AWrittenValueIsStoredRoundedUnlessTheBoxWasEmpty) {
  Torque(5) = 123.456;
  Torque(6) = 98.76;
  // The box is empty: its insertion is the skipped notification.
  Click(TorqueCell(5));
  EXPECT_EQ(host.valueBox, "123.5");
  EXPECT_EQ(Torque(5), 123.456);
  EXPECT_TRUE(st.Ui.ValueShown);
  // Now the emptying is skipped and the insertion stores what is shown.
  Click(TorqueCell(6));
  EXPECT_EQ(host.valueBox, "98.8");
  EXPECT_EQ(Torque(6), 98.8);
  EXPECT_DOUBLE_EQ(st.Doc.Engine.Power[6], PowerOf(st.Doc.Engine.Rpm[6], 98.8));
}

TEST_F(ValueBoxTest, AValueTooLongForTheBoxIsShownWithFewerDecimalsOrNotStoredAtAll) {
  EXPECT_EQ(FormatReadout(350.0, 1), "350.0");
  EXPECT_EQ(FormatReadout(-123456.78, 1), "-123457");
  EXPECT_EQ(FormatReadout(-0.1234567, 6), "-0.12346");
  EXPECT_EQ(FormatReadout(0.9, 6), "0.900000");
  EXPECT_EQ(FormatReadout(1e20, 1), "100000000000000000000.0");

  host.Type("1");  // a box that holds text: the next write stores
  Torque(3) = 1e20;
  Click(TorqueCell(3));
  EXPECT_EQ(host.valueBox, "10000000");
  EXPECT_EQ(Torque(3), 1e20);
  st.Doc.Engine.Compression[4] = -123456.78;
  Click(CompressionCell(4));
  EXPECT_EQ(host.valueBox, "-123457");
  EXPECT_EQ(st.Doc.Engine.Compression[4], -123457.0);
}

TEST_F(ValueBoxTest, LosingTheFocusNeverPutsBackAValueACommandChanged) {
  SelectTorqueAt5000();
  host.ClearByUser();
  host.Type("350");
  EndStep(st);  // a command first ends the run of typing
  st.Doc.Modified = false;
  Torque(20) = 385.0;  // as a rescale would
  host.invalidations.clear();
  ValueEditNotify(st, ValueEditCode::FocusLost);
  EXPECT_EQ(Torque(20), 385.0);
  EXPECT_FALSE(st.Doc.Modified);
  EXPECT_TRUE(host.invalidations.empty());
}

TEST_F(ValueBoxTest, LosingTheFocusStoresATextTheBoxDidNotReport) {
  SelectTorqueAt5000();
  // A text put into the box without a notification, by the box itself.
  host.valueBox = "77";
  host.valueBoxModified = false;
  ValueEditNotify(st, ValueEditCode::FocusLost);
  EXPECT_EQ(Torque(20), 77.0);
  EXPECT_DOUBLE_EQ(st.Doc.Engine.Power[20], PowerOf(5000.0, 77.0));
  EXPECT_TRUE(st.Doc.Modified) << "the value changed, edited or not";
  host.valueBox = "78";
  host.valueBoxModified = true;
  ValueEditNotify(st, ValueEditCode::FocusLost);
  EXPECT_EQ(Torque(20), 78.0);
  EXPECT_TRUE(st.Doc.Modified);
  const int x = st.Chart.PointX[20];
  EXPECT_TRUE(host.Invalidated({x - 70, 0, x + 70, st.View.ScreenHeight}));

  // A focus loss during the program's own write is skipped like a change.
  st.Ui.EditSetByProgram = true;
  host.valueBox = "79";
  ValueEditNotify(st, ValueEditCode::FocusLost);
  EXPECT_EQ(Torque(20), 78.0);
  EXPECT_FALSE(st.Ui.EditSetByProgram);
  EXPECT_FALSE(st.Ui.ValueShown);
  ValueEditNotify(st, ValueEditCode::Other);
  EXPECT_EQ(Torque(20), 78.0);
}

TEST_F(ValueBoxTest, ASelectionBeyondAShrunkenCurveIsNeverWritten) {
  Click(TorqueCell(38));
  ASSERT_EQ(st.Ui.SelectedIndex, 38);
  st.Doc.RowCount = st.Doc.Engine.EngineRowCount = 30;
  const double before = Torque(38);
  host.ClearByUser();
  host.Type("5");
  EXPECT_EQ(Torque(38), before);
  EXPECT_FALSE(st.Doc.Modified);

  ForgetRowsBeyondCurve(st);
  EXPECT_FALSE(st.Ui.TorqueSelected);
  EXPECT_FALSE(st.Ui.ValueShown);
  EXPECT_EQ(host.valueBox, "");
}

TEST_F(ValueBoxTest, ResettingTheInteractionLeavesNoSkipPending) {
  Click(TorqueCell(3));
  ResetInteraction(st);
  EXPECT_EQ(host.valueBox, "");
  EXPECT_FALSE(st.Ui.EditSetByProgram);
  ResetInteraction(st);  // an empty box: nothing to skip
  EXPECT_FALSE(st.Ui.EditSetByProgram);
}

}  // namespace
}  // namespace dyno
