#include <gtest/gtest.h>

#include <cstdlib>

#include "core/editing/EditorRepaint.h"
#include "support/EditorFixture.h"
#include "support/WindowSteps.h"

namespace dyno {

using namespace dyno::test;
namespace {

class MouseTest : public test::EditorFixture {
 protected:
  bool AnythingSelected() const {
    const InteractionState& ui = st.Ui;
    return ui.TorqueSelected || ui.CompressionSelected || ui.CurveSelected[0] || ui.CurveSelected[1] ||
           ui.CurveSelected[2] || ui.CurveSelected[3];
  }
  bool AnythingPicked() const { return st.Ui.TorquePicked || st.Ui.CompressionPicked || st.Ui.SlipPicked; }

  // A tire view of `count` curves of `samples` samples; slot 0 flat at 0.5
  // after its first sample.
  void UseFlatTireView(int count, int samples) {
    test::UseTireView(st.Doc, count);
    st.Doc.RowCount = samples;
    for (int i = 1; i < samples; ++i) Sample(0, i) = 0.5;
    Layout();
  }
};

// --- Picking in the plot ---------------------------------------------------

TEST_F(MouseTest, WhereBothEngineCurvesAreNearTheCompressionPointIsPicked) {
  test::FillFlatEngineCurve(st.Doc, 41, 100.0, 95.0);
  Layout();
  ASSERT_LT(std::abs(st.Chart.TorqueY[10] - st.Chart.CompressionY[10]), PickHalfHeight);
  EvLButtonDown(st, TorquePoint(10));
  EXPECT_TRUE(st.Ui.CompressionPicked);
  EXPECT_TRUE(st.Ui.CompressionSelected);
  EXPECT_FALSE(st.Ui.TorquePicked);
  EXPECT_FALSE(st.Ui.TorqueSelected);
  EXPECT_TRUE(st.Ui.Dragging);
  EXPECT_EQ(st.Ui.SelectedIndex, 10);
  EXPECT_EQ(st.Ui.DragIndex, 10);
  EXPECT_EQ(host.valueBox, "95.0");
  EXPECT_EQ(st.Ui.SelectedPixel, CompressionPoint(10));
  EvLButtonUp(st, TorquePoint(10));

  // Far from the compression curve the torque point is taken.
  test::FillFlatEngineCurve(st.Doc, 41, 100.0, -300.0);
  Layout();
  EvLButtonDown(st, TorquePoint(10));
  EXPECT_TRUE(st.Ui.TorquePicked);
  EXPECT_TRUE(st.Ui.TorqueSelected);
  EXPECT_FALSE(st.Ui.CompressionSelected);
  EXPECT_EQ(host.valueBox, "100.0");
}

TEST_F(MouseTest, EnginePickBoxesExcludeTheirEdges) {
  test::FillFlatEngineCurve(st.Doc, 11, 300.0, -200.0);
  Layout();
  const int w = st.Chart.PickHalfWidth;
  ASSERT_GT(w, 1);
  ASSERT_GE(st.Chart.PointX[6] - (st.Chart.PointX[5] + w), w);  // the neighbour is out of reach
  const Point p = TorquePoint(5);

  Click({p.x + w, p.y});
  EXPECT_FALSE(AnythingPicked());
  Click({p.x, p.y - PickHalfHeight});
  EXPECT_FALSE(AnythingPicked());
  Click({p.x - (w - 1), p.y + PickHalfHeight - 1});
  EXPECT_TRUE(st.Ui.TorquePicked);
  EXPECT_EQ(st.Ui.SelectedIndex, 5);
}

TEST_F(MouseTest, TirePickBoxesIncludeTheirEdges) {
  UseFlatTireView(1, 21);
  const int w = st.Chart.PickHalfWidth;
  const Point p = SlipPoint(10);
  ASSERT_GT(st.Chart.PointX[10] - st.Chart.PointX[9], w);

  Click({p.x, p.y + PickHalfHeight + 1});
  EXPECT_FALSE(AnythingPicked());
  Click({p.x + w, p.y - PickHalfHeight});
  EXPECT_TRUE(st.Ui.SlipPicked);
  EXPECT_EQ(st.Ui.SelectedIndex, 10);
  EXPECT_TRUE(st.Ui.CurveSelected[0]);
  EXPECT_EQ(host.valueBox, "0.500000");
  EXPECT_FALSE(st.Doc.Modified) << "the value shows as it is";
}

TEST_F(MouseTest, TheFirstEngineRowIsNeverPickedInThePlotButTheFirstSampleIs) {
  const Point first = TorquePoint(0);
  Click({first.x + 1, first.y});
  EXPECT_FALSE(AnythingPicked());
  EXPECT_FALSE(AnythingSelected());
  // The table selects it.
  Click(TorqueCell(0));
  EXPECT_TRUE(st.Ui.TorqueSelected);
  EXPECT_EQ(st.Ui.SelectedIndex, 0);

  UseFlatTireView(1, 21);
  const Point sample = SlipPoint(0);
  Click({sample.x + 1, sample.y});
  EXPECT_TRUE(st.Ui.SlipPicked);
  EXPECT_EQ(st.Ui.SelectedIndex, 0);
}

TEST_F(MouseTest, NothingIsPickedFromACurveOfFewerThanTwoPoints) {
  st.Doc.RowCount = st.Doc.Engine.EngineRowCount = 1;
  Layout();
  ASSERT_EQ(st.Chart.PointCount, 0);
  for (const Point p : {Point{400, 300}, Point{st.Chart.GridLeft, st.Chart.AxisBaseY}, Point{600, 100}}) {
    Click(p);
    EvMouseMove(st, p);
  }
  EXPECT_FALSE(AnythingPicked());
  EXPECT_FALSE(st.Ui.TipVisible);
}

// --- Dragging --------------------------------------------------------------

TEST_F(MouseTest, ALockedDragFollowsThePointerAndPowerFollowsTorque) {
  const Point p = TorquePoint(20);
  const double rpm = st.Doc.Engine.Rpm[20];
  EvLButtonDown(st, p);
  ASSERT_TRUE(st.Ui.TorquePicked);
  // Far sideways and 40 rows up: still the picked point.
  EvMouseMove(st, {p.x + 100, p.y - 40});
  const double expected = DecimalToDouble(FormatReadout(*MapYToValue(st.Chart, p.y - 40), 1));
  EXPECT_EQ(Torque(20), expected);
  EXPECT_DOUBLE_EQ(st.Doc.Engine.Power[20], PowerOf(rpm, expected));
  EXPECT_EQ(host.valueBox, FormatReadout(expected, 1));
  EXPECT_EQ(st.Chart.TorqueY[20], p.y - 40);
  EXPECT_EQ(st.Ui.SelectedPixel, (Point{p.x, p.y - 40}));
  EXPECT_TRUE(st.Doc.Modified);
  EXPECT_TRUE(st.Ui.TorqueSelected);
  EXPECT_FALSE(st.Ui.TipVisible);
  EvLButtonUp(st, {p.x + 100, p.y - 40});
  EXPECT_FALSE(st.Ui.Dragging);
  EXPECT_TRUE(st.Ui.TorquePicked);
}

TEST_F(MouseTest, ACompressionDragLeavesTorqueAndPower) {
  const Point p = CompressionPoint(30);
  const double torque = Torque(30);
  const double power = st.Doc.Engine.Power[30];
  EvLButtonDown(st, p);
  ASSERT_TRUE(st.Ui.CompressionPicked);
  EvMouseMove(st, {p.x, p.y - 20});
  EXPECT_EQ(st.Doc.Engine.Compression[30], DecimalToDouble(FormatReadout(*MapYToValue(st.Chart, p.y - 20), 1)));
  EXPECT_EQ(Torque(30), torque);
  EXPECT_EQ(st.Doc.Engine.Power[30], power);
  EXPECT_TRUE(st.Ui.CompressionSelected);
  EXPECT_FALSE(st.Ui.TorqueSelected);
}

TEST_F(MouseTest, WithoutLockOnAFastMoveLosesThePointAndASlowOneDrawsIt) {
  st.Doc.LockOnToData = false;
  const Point p = TorquePoint(20);
  const double before = Torque(20);
  EvLButtonDown(st, p);
  ASSERT_TRUE(st.Ui.Dragging);
  EvMouseMove(st, {p.x, p.y - 30});
  EXPECT_EQ(Torque(20), before);
  EXPECT_FALSE(st.Doc.Modified);

  // Within the pick box the point takes the pointer's height, and the tip
  // shows the new value.
  EvMouseMove(st, {p.x, p.y - 10});
  const double expected = DecimalToDouble(FormatReadout(*MapYToValue(st.Chart, p.y - 10), 1));
  EXPECT_EQ(Torque(20), expected);
  EXPECT_TRUE(st.Doc.Modified);
  EXPECT_TRUE(st.Ui.TipVisible);
  EXPECT_EQ(st.Ui.TipText, FixedText(expected, 1));
}

TEST_F(MouseTest, OutsideThePlotADragChangesNothingAndResumesOnReturn) {
  const Point p = TorquePoint(20);
  EvLButtonDown(st, p);
  const double before = Torque(20);
  for (const Point q : {Point{p.x, st.Chart.PlotTop}, Point{p.x, st.Chart.PlotBottom + 10}, Point{200, p.y},
                        Point{-30, -40}, Point{5000, p.y}}) {
    EvMouseMove(st, q);
    EXPECT_EQ(Torque(20), before) << q.x << "," << q.y;
  }
  EXPECT_TRUE(st.Ui.Dragging);
  EvMouseMove(st, {p.x, p.y - 12});
  EXPECT_NE(Torque(20), before);
}

TEST_F(MouseTest, AReleaseOutsideTheWindowEndsTheDragAndHitsNothing) {
  test::UseTireView(st.Doc, 2);
  Layout();
  const Point p = SlipPoint(150);
  EvLButtonDown(st, p);
  ASSERT_TRUE(st.Ui.Dragging);
  // Above the window, over the second column: not its header.
  EvLButtonUp(st, {TireDataColumnX[1] + 30, -40});
  EXPECT_FALSE(st.Ui.Dragging);
  EXPECT_FALSE(st.Ui.MouseDown);
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 0);
}

TEST_F(MouseTest, WithoutPlotHeightADragMovesThePixelButNoValue) {
  const Point p = TorquePoint(20);
  EvLButtonDown(st, p);
  st.Doc.Modified = false;
  const double before = Torque(20);
  st.Chart.PlotHeight = 0;
  EvMouseMove(st, {p.x, p.y - 10});
  EXPECT_EQ(st.Chart.TorqueY[20], p.y - 10);
  EXPECT_EQ(Torque(20), before);
  EXPECT_FALSE(st.Doc.Modified);
}

TEST_F(MouseTest, ADragOfAPointTheCurveNoLongerHasWritesNothing) {
  const Point p = TorquePoint(39);
  EvLButtonDown(st, p);
  ASSERT_EQ(st.Ui.DragIndex, 39);
  st.Doc.RowCount = st.Doc.Engine.EngineRowCount = 30;
  const double before = Torque(39);
  EvMouseMove(st, {st.Chart.PointX[20], p.y - 10});
  EXPECT_EQ(Torque(39), before);
}

TEST_F(MouseTest, ATireDragMovesTheChartedCurveOnly) {
  test::UseTireView(st.Doc, 2);
  st.Doc.CurrentSlipCurve = 1;
  Layout();
  const Point p = SlipPoint(150);
  const double other = Sample(0, 150);
  EvLButtonDown(st, p);
  ASSERT_TRUE(st.Ui.SlipPicked);
  const int i = st.Ui.DragIndex;
  EvMouseMove(st, {p.x + 40, p.y - 30});
  EXPECT_EQ(Sample(1, i), DecimalToDouble(FormatReadout(*MapYToValue(st.Chart, p.y - 30), 6)));
  EXPECT_EQ(Sample(0, 150), other);
  EXPECT_TRUE(st.Ui.CurveSelected[1]);
  EXPECT_FALSE(st.Ui.CurveSelected[0]);
}

TEST_F(MouseTest, ADragMoveOverA500RowCurveRepaintsOnlyAStripAndACellBand) {
  test::FillSampleEngineCurve(st.Doc, 500, 9980.0);
  Layout(1920, 1080);
  const Point p = TorquePoint(250);
  EvLButtonDown(st, p);
  ASSERT_TRUE(st.Ui.TorquePicked);
  host.invalidations.clear();
  EvMouseMove(st, {p.x, p.y - 5});
  ASSERT_FALSE(host.invalidations.empty());
  for (const auto& inv : host.invalidations) {
    const int width = inv.area.right - inv.area.left;
    const int height = inv.area.bottom - inv.area.top;
    EXPECT_TRUE(width <= 150 || height <= 18) << width << " x " << height;
  }
  const int x = st.Chart.PointX[250];
  EXPECT_TRUE(host.Invalidated({x - 70, 0, x + 70, st.View.ScreenHeight}));
}

TEST_F(MouseTest, AStripReachesTheNeighboursOfAPointFarApart) {
  test::FillFlatEngineCurve(st.Doc, 11, 300.0, -200.0);
  Layout(1920, 1080);
  ASSERT_GT(st.Chart.PointX[6] - st.Chart.PointX[5], 70);
  host.invalidations.clear();
  RepaintPointStrip(st.Host, st.View, st.Chart, 5);
  ASSERT_EQ(host.invalidations.size(), 1u);
  EXPECT_LE(host.invalidations[0].area.left, st.Chart.PointX[4]);
  EXPECT_GE(host.invalidations[0].area.right, st.Chart.PointX[6] + 1);
}

TEST_F(MouseTest, TheMarkerIsRepaintedWhereItAppearsAndWhereItWent) {
  const Point p = TorquePoint(20);
  EvLButtonDown(st, p);
  EvMouseMove(st, {p.x + 30, p.y - 20});
  host.invalidations.clear();
  EvLButtonUp(st, {p.x + 30, p.y - 20});
  const Point marker = st.Ui.SelectedPixel;
  EXPECT_EQ(marker, (Point{p.x, p.y - 20}));
  EXPECT_TRUE(host.Invalidated(MarkerSquare(marker)));
  EXPECT_TRUE(host.Invalidated(MarkerSquare({p.x + 30, p.y - 20})));

  // Picking another point wipes the old marker; a table cell takes it away.
  host.invalidations.clear();
  EvLButtonDown(st, TorquePoint(10));
  EXPECT_TRUE(host.Invalidated(MarkerSquare(marker)));
  EvLButtonUp(st, TorquePoint(10));
  host.invalidations.clear();
  Click(TorqueCell(3));
  EXPECT_FALSE(AnythingPicked());
  EXPECT_TRUE(host.Invalidated(MarkerSquare(TorquePoint(10))));
}

// --- The table -------------------------------------------------------------

TEST_F(MouseTest, ATableClickSelectsTheCellAndShowsItsValue) {
  Click(CompressionCell(7));
  EXPECT_TRUE(st.Ui.CompressionSelected);
  EXPECT_FALSE(st.Ui.TorqueSelected);
  EXPECT_EQ(st.Ui.SelectedIndex, 7);
  EXPECT_EQ(st.Ui.DragIndex, 7);
  EXPECT_EQ(host.valueBox, FormatReadout(st.Doc.Engine.Compression[7], 1));
  EXPECT_TRUE(st.Ui.ValueShown);
  EXPECT_FALSE(st.Ui.Dragging);
  const int top = 24 + 14 * 7;
  EXPECT_TRUE(host.Invalidated({0, top, TableWidth, top + 18}));

  host.invalidations.clear();
  Click(TorqueCell(9));
  EXPECT_TRUE(st.Ui.TorqueSelected);
  EXPECT_FALSE(st.Ui.CompressionSelected);
  EXPECT_TRUE(host.Invalidated({0, top, TableWidth, top + 18}));
  EXPECT_TRUE(host.Invalidated({0, top + 28, TableWidth, top + 46}));
}

TEST_F(MouseTest, ClicksBesideTheEditableCellsOrBelowTheRowsSelectNothing) {
  test::FillSampleEngineCurve(st.Doc, 20);
  Layout();
  Click(TorqueCell(20));                // below the last row
  Click({30, LineY(3)});                // RPM
  Click({250, LineY(3)});               // Power
  Click({CompressionColumnSpan.right, LineY(3)});  // the edge between two columns
  EXPECT_FALSE(AnythingSelected());
  EXPECT_EQ(host.valueBox, "");

  // Scrolled down by one after the curve lost a row: the last line has none.
  test::FillSampleEngineCurve(st.Doc, 40);
  Layout();
  st.View.FirstVisibleRow = 1;
  Click(TorqueCell(39));
  EXPECT_FALSE(AnythingSelected());
  Click(TorqueCell(38));
  EXPECT_TRUE(st.Ui.TorqueSelected);
  EXPECT_EQ(st.Ui.SelectedIndex, 39);
}

TEST_F(MouseTest, OnlyTheColumnsOfCurvesReadCanBeClicked) {
  test::UseTireView(st.Doc, 1);
  Layout();
  for (int column = 1; column < 4; ++column) {
    Click(TireCell(column, 5));
    Click(TireHeader(column));
  }
  EXPECT_FALSE(AnythingSelected());
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 0);
  EXPECT_FALSE(st.Doc.Modified);

  Click(TireCell(0, 5));
  EXPECT_TRUE(st.Ui.CurveSelected[0]);
  EXPECT_EQ(st.Ui.SelectedIndex, 5);
  EXPECT_EQ(host.valueBox, FixedText(Sample(0, 5), 6));
  EXPECT_FALSE(st.Doc.Modified) << "the value shows as it is";

  // No curve read: only a double-click reaches the first column.
  ResetInteraction(st);
  st.Doc.SlipCurveCount = 0;
  Click(TireCell(0, 6));
  EXPECT_FALSE(AnythingSelected());
  DoubleClick(TireCell(0, 6));
  EXPECT_TRUE(st.Ui.CurveSelected[0]);
  EXPECT_EQ(st.Ui.SelectedIndex, 6);
}

TEST_F(MouseTest, BendModeIgnoresSingleClicksInTheTireViewButNotDoubleClicks) {
  test::UseTireView(st.Doc, 2);
  st.Doc.BendActive = true;
  Layout();
  const Point p = SlipPoint(150);
  Click(TireCell(1, 4));
  Click(p);
  EXPECT_FALSE(AnythingSelected());
  EXPECT_FALSE(AnythingPicked());
  EXPECT_FALSE(st.Ui.ValueShown);

  DoubleClick(TireCell(1, 4));
  EXPECT_TRUE(st.Ui.CurveSelected[1]);
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 1);
  DoubleClick(p);
  EXPECT_TRUE(st.Ui.SlipPicked);
  EXPECT_TRUE(st.Ui.ValueShown);
}

TEST_F(MouseTest, TheTireHeaderChoosesTheChartedCurve) {
  test::UseTireView(st.Doc, 3);
  Layout();
  EvLButtonDown(st, TireHeader(2));
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 2);
  EXPECT_TRUE(st.Ui.CurveSelected[2]);
  EXPECT_EQ(host.cursor, CursorShape::Hand);
  EXPECT_TRUE(host.Invalidated(st.View.ClientFrom(0, 0)));
  // Let go over the next header: that one is charted, the selection follows.
  EvLButtonUp(st, TireHeader(1));
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 1);
  EXPECT_TRUE(st.Ui.CurveSelected[1]);
  EXPECT_FALSE(st.Ui.CurveSelected[2]);

  // A shown value moves to the same sample of the curve chosen.
  Sample(2, 30) = 0.812345;
  Click(TireCell(0, 30));
  st.Doc.Modified = false;
  Click(TireHeader(2));
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 2);
  EXPECT_EQ(host.valueBox, FixedText(Sample(2, 30), 6));
  EXPECT_FALSE(st.Doc.Modified) << "showing a value is no edit";
  host.ClearByUser();
  host.Type("0.25");
  EXPECT_EQ(Sample(2, 30), 0.25);
}

TEST_F(MouseTest, InBendModeTheHeaderChoosesTheCurveToBendOnRelease) {
  test::UseTireView(st.Doc, 3);
  st.Doc.BendActive = true;
  Layout();
  EvLButtonDown(st, TireHeader(2));
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 0);
  EvLButtonUp(st, TireHeader(2));
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 2);
  EXPECT_FALSE(AnythingSelected());
  EXPECT_TRUE(host.Invalidated(st.View.ClientFrom(TableWidth, 0)));
}

// --- Hover, cursor and buttons ---------------------------------------------

TEST_F(MouseTest, HoveringAPointShowsItsValueAndTheTipIsWipedForTwoMoves) {
  const Point p = TorquePoint(20);
  EvMouseMove(st, {p.x + 1, p.y + 2});
  EXPECT_TRUE(st.Ui.TipVisible);
  EXPECT_TRUE(st.Ui.TipShown);
  EXPECT_EQ(st.Ui.TipText, FixedText(Torque(20), 1));
  const Rect tip{p.x + 1 - 20, p.y + 2 - 25, p.x + 1 + 20, p.y + 2 - 11};
  EXPECT_EQ(st.Ui.TipRect, tip);
  EXPECT_TRUE(host.Invalidated({tip.left - 1, tip.top - 1, tip.right + 1, tip.bottom + 1}));

  // Following the pointer: the new place is painted, the old one wiped.
  host.invalidations.clear();
  EvMouseMove(st, {p.x + 2, p.y + 2});
  EXPECT_TRUE(host.Invalidated({tip.left - 1, tip.top - 1, tip.right + 1, tip.bottom + 1}));
  EXPECT_TRUE(host.Invalidated({tip.left, tip.top - 1, tip.right + 2, tip.bottom + 1}));

  host.invalidations.clear();
  EvMouseMove(st, {p.x + 2, st.Chart.PlotTop + 5});  // over no point
  EXPECT_FALSE(st.Ui.TipVisible);
  EXPECT_FALSE(st.Ui.TipShown);
  EXPECT_EQ(st.Ui.TipRectPrev1, (Rect{tip.left + 1, tip.top, tip.right + 1, tip.bottom}));
  EXPECT_EQ(st.Ui.TipRectPrev2, tip);
  EXPECT_TRUE(host.Invalidated({tip.left - 1, tip.top - 1, tip.right + 1, tip.bottom + 1}));
  EXPECT_TRUE(host.Invalidated({tip.left, tip.top - 1, tip.right + 2, tip.bottom + 1}));
  EXPECT_TRUE(host.AllInvalidationsWithin(100 * 100));
}

TEST_F(MouseTest, TheTireTipIsWiderAndShowsSixDecimals) {
  UseFlatTireView(1, 21);
  const Point p = SlipPoint(10);
  EvMouseMove(st, p);
  EXPECT_TRUE(st.Ui.TipVisible);
  EXPECT_EQ(st.Ui.TipText, "0.500000");
  EXPECT_EQ(st.Ui.TipRect, (Rect{p.x - 30, p.y - 25, p.x + 30, p.y - 11}));
}

TEST_F(MouseTest, TheCursorShowsWhatLiesUnderThePointer) {
  EvMouseMove(st, TorqueCell(4));
  EXPECT_EQ(host.cursor, CursorShape::Hand);
  EvMouseMove(st, {500, 300});
  EXPECT_EQ(host.cursor, CursorShape::CrossHair);
  EvMouseMove(st, UpButton());
  EXPECT_EQ(host.cursor, CursorShape::Arrow);
  EvLButtonDown(st, UpButton());
  EXPECT_EQ(host.cursor, CursorShape::Hand);
  EvLButtonUp(st, UpButton());
  EvMouseMove(st, {600, 10});  // the title
  EXPECT_EQ(host.cursor, CursorShape::Arrow);

  test::UseTireView(st.Doc, 2);
  Layout();
  EvMouseMove(st, TireHeader(1));
  EXPECT_EQ(host.cursor, CursorShape::Hand);
  EvMouseMove(st, TireCell(2, 3));  // a column without a curve
  EXPECT_EQ(host.cursor, CursorShape::Arrow);
  EvMouseMove(st, TireCell(0, 3));
  EXPECT_EQ(host.cursor, CursorShape::Hand);
}

TEST_F(MouseTest, AButtonStaysDownWhileHeldOnItAndRisesWhenLeft) {
  Click(TorqueCell(4));
  host.invalidations.clear();
  EvLButtonDown(st, UpButton());
  EXPECT_TRUE(st.Ui.UpPressed);
  EXPECT_FALSE(st.Ui.UpRaised);
  EXPECT_TRUE(st.Ui.DownRaised);
  EXPECT_TRUE(host.Invalidated(st.Chart.UpButtonRect));

  EvMouseMove(st, {UpButton().x + 3, UpButton().y + 1});
  EXPECT_TRUE(st.Ui.UpPressed);

  host.invalidations.clear();
  EvMouseMove(st, {UpButton().x, 100});  // in the span, below both buttons
  EXPECT_FALSE(st.Ui.UpPressed);
  EXPECT_TRUE(st.Ui.UpRaised);
  EXPECT_TRUE(host.Invalidated(st.Chart.UpButtonRect));
  host.invalidations.clear();
  EvMouseMove(st, UpButton());  // coming back does not press it again
  EXPECT_FALSE(st.Ui.UpPressed);
  EXPECT_FALSE(host.Invalidated(st.Chart.UpButtonRect));
  EvLButtonUp(st, UpButton());

  EvLButtonDown(st, DownButton());
  EXPECT_TRUE(st.Ui.DownPressed);
  EXPECT_FALSE(st.Ui.UpPressed);
  host.invalidations.clear();
  EvMouseMove(st, {500, 300});  // out of the span
  EXPECT_FALSE(st.Ui.DownPressed);
  EXPECT_TRUE(st.Ui.DownRaised);
  EXPECT_TRUE(st.Ui.DownDrawnRaised);
  EXPECT_TRUE(host.Invalidated(st.Chart.DownButtonRect));
  EvLButtonUp(st, {500, 300});
  EXPECT_FALSE(st.Ui.MouseDown);
}

}  // namespace
}  // namespace dyno
