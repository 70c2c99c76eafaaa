#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "core/chart/ChartGeometry.h"
#include "core/chart/ChartLayout.h"
#include "core/editing/EditorState.h"
#include "core/files/NumberText.h"
#include "support/FakeHost.h"
#include "support/Printf.h"
#include "support/SampleCurves.h"
#include "support/WindowSteps.h"

namespace dyno {

using namespace dyno::test;
namespace {

constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();

// An editor state on the heap (the document is large) with a fake host.
struct Editor {
  test::FakeHost host;
  std::unique_ptr<EditorState> st = std::make_unique<EditorState>(host, 1024, 768);
  EditorDocument& doc() { return st->Doc; }
  ChartLayout& chart() { return st->Chart; }
};

// Engine rows whose extremes are the given torque maximum and compression
// minimum (power stays below the torque: low RPM).
void FillEngineExtremes(EditorDocument& doc, double maxTorque, double minCompression) {
  test::FillFlatEngineCurve(doc, 41, 100.0, -10.0);
  for (int i = 0; i < 41; ++i) doc.Engine.Rpm[i] = 10.0 * i;
  doc.Engine.Torque[20] = maxTorque;
  doc.Engine.Compression[30] = minCompression;
  for (int i = 0; i < 41; ++i) RecomputePower(doc, i);
}

TEST(TruncToInt32, TruncatesTowardZeroAndSaturates) {
  EXPECT_EQ(TruncToInt32(1.9), 1);
  EXPECT_EQ(TruncToInt32(-1.9), -1);
  EXPECT_EQ(TruncToInt32(-0.5), 0);
  EXPECT_EQ(TruncToInt32(2147483646.9), 2147483646);
  EXPECT_EQ(TruncToInt32(2147483647.5), IntMax);
  EXPECT_EQ(TruncToInt32(-2147483648.5), IntMin);
  EXPECT_EQ(TruncToInt32(1e300), IntMax);
  EXPECT_EQ(TruncToInt32(-1e300), IntMin);
  EXPECT_EQ(TruncToInt32(std::numeric_limits<double>::infinity()), IntMax);
  EXPECT_EQ(TruncToInt32(-std::numeric_limits<double>::infinity()), IntMin);
  EXPECT_EQ(TruncToInt32(std::nan("")), 0);
}

TEST(LabelStepFor, ThinsTheLabelsAsPointsGrow) {
  EXPECT_EQ(LabelStepFor(0), 1);
  EXPECT_EQ(LabelStepFor(21), 1);
  EXPECT_EQ(LabelStepFor(22), 2);
  EXPECT_EQ(LabelStepFor(41), 2);
  EXPECT_EQ(LabelStepFor(50), 2);
  EXPECT_EQ(LabelStepFor(51), 5);
  EXPECT_EQ(LabelStepFor(76), 5);
  EXPECT_EQ(LabelStepFor(77), 7);
  EXPECT_EQ(LabelStepFor(153), 7);
  EXPECT_EQ(LabelStepFor(154), 14);
  EXPECT_EQ(LabelStepFor(230), 14);
  EXPECT_EQ(LabelStepFor(237), 21);
  EXPECT_EQ(LabelStepFor(500), 42);
}

TEST(ChooseAxisStep, RoundsUpToTheLadder) {
  struct Case {
    double min, max;
    int divisions;
    double step;
  };
  const Case cases[] = {
      {-60.0, 437.2, 16, 50.0},    // 31.075 asks for 50
      {0.0, 16.0, 16, 1.0},        // a rung is kept as it is
      {0.0, 16.01, 16, 2.0},       // just above a rung takes the next
      {0.0, 0.01, 16, 0.001},      // below the smallest rung
      {0.0, 0.0176, 16, 0.002},    // 0.0011
      {0.0, 8000.0, 16, 500.0},    // exactly 500
      {0.0, 8e6, 16, 500000.0},    // exactly the top rung
      {0.0, 9.6e6, 16, 600000.0},  // above the ladder: unchanged
      {0.0, 1.0, 4, 0.2},          // fewer than 9 divisions are doubled first
  };
  for (const Case& c : cases) {
    ChartLayout chart;
    chart.AxisMin = c.min;
    chart.AxisMax = c.max;
    chart.GridDivisions = c.divisions;
    ChooseAxisStep(chart);
    EXPECT_DOUBLE_EQ(chart.AxisStep, c.step) << c.min << ".." << c.max;
    EXPECT_DOUBLE_EQ(chart.AxisSpan, c.max - c.min);
    EXPECT_EQ(chart.GridDivisions, static_cast<int>(chart.AxisSpan / chart.AxisStep + 1.0));
  }
}

TEST(ChooseAxisStep, WidensAnEmptySpanAndNeverDividesByZero) {
  ChartLayout chart;
  chart.AxisMin = chart.AxisMax = 5.0;
  chart.GridDivisions = 0;
  ChooseAxisStep(chart);
  EXPECT_EQ(chart.AxisMin, 4.0);
  EXPECT_EQ(chart.AxisMax, 6.0);
  EXPECT_DOUBLE_EQ(chart.AxisStep, 2.0);  // 2 over 1 division
  EXPECT_EQ(chart.GridDivisions, 2);
}

TEST(ComputeEngineAxis, LeavesAThirdOfAStepAboveAndBelowTheData) {
  Editor e;
  FillEngineExtremes(e.doc(), 437.2, -60.0);
  ComputeEngineAxis(e.chart(), e.doc());
  EXPECT_EQ(e.chart().AxisStep, 50.0);
  EXPECT_EQ(e.chart().AxisMax, 500.0);  // 450 leaves less than a third of a step
  EXPECT_EQ(e.chart().AxisMin, -100.0);  // -50 would too
  EXPECT_EQ(e.chart().AxisRange, 600.0);
  EXPECT_DOUBLE_EQ(e.chart().AxisSpan, 497.2);
}

TEST(ComputeEngineAxis, KeepsRoomyEndsWhereTheyAre) {
  Editor e;
  FillEngineExtremes(e.doc(), 420.0, -80.0);
  ComputeEngineAxis(e.chart(), e.doc());
  EXPECT_EQ(e.chart().AxisStep, 50.0);
  EXPECT_EQ(e.chart().AxisMax, 450.0);
  EXPECT_EQ(e.chart().AxisMin, -100.0);
}

TEST(ComputeEngineAxis, WidensAnAllZeroCurve) {
  Editor e;
  test::FillFlatEngineCurve(e.doc(), 41, 0.0, 0.0);
  ComputeEngineAxis(e.chart(), e.doc());
  EXPECT_DOUBLE_EQ(e.chart().AxisSpan, 2.0);  // -1 to 1 before rounding
  EXPECT_DOUBLE_EQ(e.chart().AxisStep, 0.2);
  EXPECT_DOUBLE_EQ(e.chart().AxisMin, -1.2);
  EXPECT_DOUBLE_EQ(e.chart().AxisMax, 1.2);
  EXPECT_DOUBLE_EQ(e.chart().AxisRange, 2.4);
}

TEST(ComputeEngineAxis, CompressionNeverRaisesTheMaximum) {
  Editor e;
  test::FillFlatEngineCurve(e.doc(), 41, 100.0, 0.0);
  for (int i = 0; i < 41; ++i) e.doc().Engine.Rpm[i] = 10.0 * i;
  for (int i = 0; i < 41; ++i) RecomputePower(e.doc(), i);
  e.doc().Engine.Compression[5] = 900.0;
  ComputeEngineAxis(e.chart(), e.doc());
  EXPECT_LT(e.chart().AxisMax, 200.0);
}

TEST(ComputeEngineAxis, SetsScaleChangedOnlyWhenAnEndMoves) {
  Editor e;
  test::FillSampleEngineCurve(e.doc());
  ComputeEngineAxis(e.chart(), e.doc());
  EXPECT_TRUE(e.chart().ScaleChanged);

  e.chart().ScaleChanged = false;
  ComputeEngineAxis(e.chart(), e.doc());
  EXPECT_FALSE(e.chart().ScaleChanged);
  EXPECT_EQ(e.chart().PrevAxisMax, e.chart().AxisMax);

  const double before = e.chart().AxisMax;
  e.doc().Engine.Torque[3] = 900.0;
  ComputeEngineAxis(e.chart(), e.doc());
  EXPECT_TRUE(e.chart().ScaleChanged);
  EXPECT_EQ(e.chart().PrevAxisMax, before);
  EXPECT_GT(e.chart().AxisMax, 900.0);

  // Never cleared by the axis computation itself.
  ComputeEngineAxis(e.chart(), e.doc());
  EXPECT_TRUE(e.chart().ScaleChanged);
}

TEST(ComputeTireAxis, SpansZeroToOneWithHeadroom) {
  Editor e;
  test::UseTireView(e.doc(), 1);
  ComputeTireAxis(e.chart(), e.doc());
  EXPECT_DOUBLE_EQ(e.chart().AxisStep, 0.1);
  EXPECT_NEAR(e.chart().AxisMin, -0.1, 1e-12);
  EXPECT_NEAR(e.chart().AxisMax, 1.1, 1e-12);
  EXPECT_NEAR(e.chart().AxisRange, 1.2, 1e-12);
}

TEST(ComputeTireAxis, TakesAllFourSlotsWhateverTheCount) {
  Editor e;
  test::UseTireView(e.doc(), 1);
  e.doc().SlipCurves[3].Samples[100] = 1.5;  // a slot not in use
  e.doc().SlipCurves[2].Samples[236] = -0.45;
  ComputeTireAxis(e.chart(), e.doc());
  EXPECT_GT(e.chart().AxisMax, 1.5);
  EXPECT_LT(e.chart().AxisMin, -0.45);
}

TEST(ComputeChartLayout, WorkedExampleAt800By600) {
  Editor e;
  FillEngineExtremes(e.doc(), 437.2, -60.0);
  ComputeChartLayout(*e.st, 800, 600);
  const ChartLayout& c = e.chart();
  EXPECT_EQ(e.st->View.ScreenWidth, 801);
  EXPECT_EQ(e.st->View.ScreenHeight, 601);
  EXPECT_EQ(c.AxisMin, -100.0);
  EXPECT_EQ(c.AxisMax, 500.0);
  EXPECT_EQ(c.PlotLeft, 350);
  EXPECT_EQ(c.PlotRight, 755);
  EXPECT_EQ(c.PlotBottom, 545);
  EXPECT_EQ(c.AxisBaseY, 542);
  EXPECT_EQ(c.GridLeft, 353);
  EXPECT_EQ(c.GridRight, 752);
  EXPECT_EQ(c.PlotWidth, 399);
  EXPECT_EQ(c.GridTop, 42);
  EXPECT_EQ(c.PlotTop, 40);
  EXPECT_EQ(c.PlotHeight, 500);
  EXPECT_EQ(c.PointCount, 41);
  EXPECT_EQ(c.PointX[0], 353);
  EXPECT_EQ(c.PointX[1], 362);
  EXPECT_EQ(c.PointX[2], 372);
  EXPECT_EQ(c.PointX[40], 752);
  EXPECT_EQ(c.PickHalfWidth, 5);
  EXPECT_EQ(c.LabelStep, 2);
  EXPECT_EQ(MapValueToY(c, 500.0), 42);
  EXPECT_EQ(MapValueToY(c, 437.2), 94);
  EXPECT_EQ(MapValueToY(c, 0.0), 458);
  EXPECT_EQ(MapValueToY(c, -100.0), 542);
  EXPECT_EQ(c.TorqueY[20], 94);
  EXPECT_EQ(c.CompressionY[30], MapValueToY(c, -60.0));
  EXPECT_EQ(c.PowerY[0], 458);  // 0 RPM, no power

  EXPECT_EQ(c.CompressionColumn, (ColumnSpan{61, 161}));
  EXPECT_EQ(c.TorqueColumn, (ColumnSpan{161, 221}));
  EXPECT_EQ(c.DataColumnX, (std::array<int, 5>{36, 96, 156, 216, 275}));
  EXPECT_EQ(c.UpButtonRect, (Rect{356, 1, 379, 13}));
  EXPECT_EQ(c.DownButtonRect, (Rect{356, 13, 379, 25}));
}

TEST(ComputeChartLayout, FillsEveryPixelArrayInBothModes) {
  Editor e;
  test::FillSampleEngineCurve(e.doc());
  test::UseTireView(e.doc(), 2);
  e.doc().CurrentSlipCurve = 1;
  ComputeChartLayout(*e.st, 1024, 768);
  const ChartLayout& c = e.chart();
  ASSERT_EQ(c.PointCount, 237);
  for (int i : {0, 11, 40, 236}) {
    EXPECT_EQ(c.SlipY[i], MapValueToY(c, e.doc().SlipCurves[1].Samples[i])) << i;
    EXPECT_EQ(c.TorqueY[i], MapValueToY(c, e.doc().Engine.Torque[i])) << i;
  }
  EXPECT_EQ(c.PointX[236], c.GridRight);
  EXPECT_EQ(c.LabelStep, 21);
}

TEST(ComputeChartLayout, PutsTheAxisEndsOnTheGridAtAnyHeight) {
  Editor e;
  test::FillSampleEngineCurve(e.doc());
  for (int bottom = 100; bottom < 1200; bottom += 37) {
    ComputeChartLayout(*e.st, 900, bottom);
    const ChartLayout& c = e.chart();
    // The top is lifted by the remainder of its distance over 12.
    const int h = c.AxisBaseY - 46;
    EXPECT_EQ(c.GridTop, 46 - h % 12) << bottom;
    EXPECT_EQ(c.PlotTop, c.GridTop - 2);
    EXPECT_EQ(MapValueToY(c, c.AxisMin), c.AxisBaseY);
    EXPECT_EQ(MapValueToY(c, c.AxisMax), c.GridTop);
  }
}

TEST(ComputeChartLayout, TwoPointsAndNarrowPlotsKeepAUsablePickBox) {
  Editor e;
  test::FillSampleEngineCurve(e.doc(), 2);
  ComputeChartLayout(*e.st, 800, 600);
  EXPECT_EQ(e.chart().PointX[1], 752);
  EXPECT_EQ(e.chart().PickHalfWidth, 399 / 2);

  test::FillSampleEngineCurve(e.doc(), 500);
  ComputeChartLayout(*e.st, 500, 400);
  EXPECT_EQ(e.chart().PickHalfWidth, 1);
  ComputeChartLayout(*e.st, 0, 0);  // a window shrunk to nothing
  EXPECT_EQ(e.chart().PickHalfWidth, 1);
}

TEST(ComputeChartLayout, FitsNothingForFewerThanTwoPoints) {
  for (int rows : {0, 1}) {
    Editor e;
    test::FillSampleEngineCurve(e.doc(), rows);
    e.chart().AxisMin = -100.0;
    e.chart().AxisMax = 500.0;
    ComputeChartLayout(*e.st, 800, 600);
    const ChartLayout& c = e.chart();
    EXPECT_EQ(c.PointCount, 0) << rows;
    EXPECT_FALSE(c.ScaleChanged);
    EXPECT_EQ(c.AxisMin, -100.0);
    EXPECT_EQ(c.AxisMax, 500.0);
    EXPECT_EQ(c.GridTop, 42);  // the frame keeps the full height
    EXPECT_EQ(c.PlotHeight, 500);
    EXPECT_EQ(c.PointX[0], c.GridLeft);
  }
}

TEST(ComputeChartLayout, SurvivesWildValues) {
  const double wild[] = {1e300, -1e300, std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(), std::nan("")};
  for (double v : wild) {
    Editor e;
    test::FillSampleEngineCurve(e.doc());
    e.doc().Engine.Torque[10] = v;
    e.doc().Engine.Power[10] = v;
    e.doc().Engine.Compression[12] = -v;
    ComputeChartLayout(*e.st, 800, 600);
    const ChartLayout& c = e.chart();
    EXPECT_TRUE(std::isfinite(c.AxisMin) && std::isfinite(c.AxisMax) && std::isfinite(c.AxisRange)) << v;
    EXPECT_LE(c.AxisMax, 2 * AxisValueLimit) << v;
    EXPECT_GE(c.AxisMin, -2 * AxisValueLimit) << v;
    EXPECT_LE(c.GridTop, c.AxisBaseY) << v;
    EXPECT_GE(c.PlotHeight, 0) << v;
    // The wild point lies beyond the plot, the others on the axis as usual.
    if (std::isnan(v)) {
      EXPECT_EQ(c.TorqueY[10], 0);
    } else if (v > 0) {
      EXPECT_EQ(c.TorqueY[10], IntMin) << v;
    } else {
      EXPECT_EQ(c.TorqueY[10], IntMax) << v;
    }
    EXPECT_GE(c.TorqueY[0], c.GridTop);
    EXPECT_LE(c.TorqueY[0], c.AxisBaseY);
  }

  Editor tire;
  test::UseTireView(tire.doc(), 1);
  tire.doc().SlipCurves[2].Samples[50] = std::numeric_limits<double>::infinity();
  ComputeChartLayout(*tire.st, 800, 600);
  EXPECT_TRUE(std::isfinite(tire.chart().AxisMax));
}

TEST(ComputeChartLayout, ClampsRowCountsBeyondTheCapacity) {
  Editor e;
  test::FillSampleEngineCurve(e.doc(), 500);
  e.doc().RowCount = 100000;
  ComputeChartLayout(*e.st, 800, 600);
  EXPECT_EQ(e.chart().PointCount, MaxEngineRows);
  e.doc().RowCount = -5;
  ComputeChartLayout(*e.st, 800, 600);
  EXPECT_EQ(e.chart().PointCount, 0);
}

TEST(MapYToValue, InvertsTheMappingWithinAPixel) {
  Editor e;
  FillEngineExtremes(e.doc(), 437.2, -60.0);
  ComputeChartLayout(*e.st, 800, 600);
  const ChartLayout& c = e.chart();
  EXPECT_DOUBLE_EQ(*MapYToValue(c, 542), -100.0);
  EXPECT_DOUBLE_EQ(*MapYToValue(c, 42), 500.0);
  EXPECT_NEAR(*MapYToValue(c, 458), 0.8, 1e-12);  // 84 rows of 1.2 each
  for (double v = -100.0; v <= 500.0; v += 7.3) {
    const double back = *MapYToValue(c, MapValueToY(c, v));
    EXPECT_GE(back, v - 1e-9);
    EXPECT_LT(back, v + c.AxisRange / c.PlotHeight);
  }

  ChartLayout flat = c;
  flat.PlotHeight = 0;
  EXPECT_FALSE(MapYToValue(flat, 100).has_value());
  flat.PlotHeight = -3;
  EXPECT_FALSE(MapYToValue(flat, 100).has_value());
}

// The grid values a paint would draw.
std::vector<int> EngineGrid(const ChartLayout& c) {
  std::vector<int> values;
  int v = FirstEngineGridValue(c);
  if (v <= c.AxisMax) {
    do values.push_back(v);
    while (values.size() < MaxGridLines && NextEngineGridValue(c, v));
  }
  return values;
}

std::vector<std::string> TireGridLabels(const ChartLayout& c) {
  std::vector<std::string> labels;
  double d = c.AxisMin;
  if (d <= c.AxisMax) {
    do labels.push_back(FixedText(d, 2));
    while (labels.size() < MaxGridLines && NextTireGridValue(c, d));
  }
  return labels;
}

TEST(GridValues, EngineLabelsStepThroughTheAxis) {
  Editor e;
  FillEngineExtremes(e.doc(), 437.2, -60.0);
  ComputeChartLayout(*e.st, 800, 600);
  const std::vector<int> values = EngineGrid(e.chart());
  ASSERT_EQ(values.size(), 13u);
  EXPECT_EQ(values.front(), -100);
  EXPECT_EQ(values[1], -50);
  EXPECT_EQ(values.back(), 500);
  EXPECT_EQ(Printf("%5d", values.front()), " -100");
}

TEST(GridValues, EngineLabelsAdvanceBelowAStepOfOne) {
  Editor e;
  test::FillFlatEngineCurve(e.doc(), 41, 0.0, 0.0);
  ComputeChartLayout(*e.st, 800, 600);
  EXPECT_EQ(EngineGrid(e.chart()), (std::vector<int>{-1, 0, 1}));
}

TEST(GridValues, EngineWalkStopsAtTheEndOfTheIntegers) {
  ChartLayout c;
  c.AxisMin = -1e12;
  c.AxisMax = 1e12;
  c.AxisStep = 1e11;
  const std::vector<int> values = EngineGrid(c);
  EXPECT_EQ(values, (std::vector<int>{IntMin, IntMax}));
}

TEST(GridValues, TireLabelsAccumulateTheStep) {
  Editor e;
  test::UseTireView(e.doc(), 1);
  ComputeChartLayout(*e.st, 800, 600);
  const std::vector<std::string> labels = TireGridLabels(e.chart());
  ASSERT_EQ(labels.size(), 13u);
  EXPECT_EQ(labels.front(), "-0.10");
  EXPECT_EQ(labels[1], "0.00");
  EXPECT_EQ(labels[4], "0.30");
  EXPECT_EQ(labels.back(), "1.10");
}

TEST(GridValues, TireWalkStopsWhenTheStepIsLost) {
  ChartLayout c;
  c.AxisMin = 1e20;
  c.AxisMax = 2e20;
  c.AxisStep = 0.001;
  EXPECT_EQ(TireGridLabels(c).size(), 1u);
}

TEST(ChartGeometry, HeaderBarAndBodyRectangles) {
  EXPECT_EQ(ValueGrooveRect, (Rect{283, 1, 355, 24}));
  EXPECT_EQ(UpButtonDrawnRect, (Rect{356, 1, 378, 12}));
  EXPECT_EQ(DownButtonDrawnRect, (Rect{356, 13, 378, 24}));
  EXPECT_EQ(TitlePanelRect(800), (Rect{379, 1, 798, 24}));
  EXPECT_EQ(TableWellRect(600), (Rect{0, 25, 280, 600}));
  EXPECT_EQ(ChartPanelRect(800, 600), (Rect{305, 25, 798, 599}));
  EXPECT_EQ(ValueEditRect, (Rect{287, 5, 352, 21}));
  EXPECT_EQ(TableLineTop(0), 28);
  EXPECT_EQ(TableLineTop(3), 70);
  EXPECT_EQ(EngineRpmTextX, 58);
  EXPECT_EQ(EngineCompressionTextX, 147);
  EXPECT_EQ(EngineTorqueTextX, 212);
  EXPECT_EQ(EnginePowerTextX, 274);
}

}  // namespace
}  // namespace dyno
