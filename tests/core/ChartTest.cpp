// The chart's rules: the value axis and its grid, the label step, the peaks
// of a curve (value-axis cases), and where compared rows stand. Mapping
// pixels to values is in the drag sessions; the peaks readout and the
// compared curve's refusals in the flows dyno-view and dyno-settings.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/chart/ChartGeometry.h"
#include "core/chart/ChartLayout.h"
#include "core/chart/Peaks.h"
#include "core/chart/ViewState.h"
#include "core/document/EditorSession.h"
#include "core/editing/DynoView.h"
#include "support/CaseTables.h"
#include "support/SampleCurves.h"

namespace dyno {
namespace {

using test::Exact;
using test::Int;
using test::RunCases;
using test::Number;

TEST(Chart, ValueAxis) {
  RunCases("value-axis", [](const std::string& rule, std::istream& in, std::ostream& out) {
    ChartLayout chart;
    EditorDocument doc;
    if (rule == "step") {
      chart.AxisMin = Number(in);
      chart.AxisMax = Number(in);
      chart.GridDivisions = Int(in);
      out << "step " << chart.AxisMin << ".." << chart.AxisMax << "/" << chart.GridDivisions;
      ChooseAxisStep(chart);
      out << " -> " << Exact(chart.AxisMin) << ".." << Exact(chart.AxisMax) << " step " << Exact(chart.AxisStep)
          << " divisions " << chart.GridDivisions;
      AlignAxisToStep(chart);
      out << " aligned " << Exact(chart.AxisMin) << ".." << Exact(chart.AxisMax) << " range "
          << Exact(chart.AxisRange) << "\n";
    } else if (rule == "engine") {
      // The axis of a flat curve of 41 rows.
      const double torque = Number(in), compression = Number(in);
      test::FillFlatEngineCurve(doc, 41, torque, compression);
      ComputeEngineAxis(chart, doc, DynoView());
      out << "engine " << torque << "/" << compression << " -> " << Exact(chart.AxisMin) << ".."
          << Exact(chart.AxisMax) << " step " << Exact(chart.AxisStep) << " range " << Exact(chart.AxisRange)
          << " divisions " << chart.GridDivisions << " scale changed " << chart.ScaleChanged << "\n";
    } else if (rule == "tire" || rule == "tire-compared") {
      // The axis of four slip curves, one sample of the last one set, or of
      // a compared file's second curve, at sample 100 or beyond the rows.
      test::UseTireView(doc, 1);
      DynoView dyno;
      const double extra = Number(in);
      if (rule == "tire") {
        doc.SlipCurves[3].Samples[100] = extra;
      } else {
        auto compared = std::make_shared<ComparedSlipCurves>();
        compared->Count = 2;
        compared->Curves[1].SampleCount = MaxSlipSamples;
        compared->Curves[1].Samples[Int(in)] = extra;
        dyno.TireComparison = compared;
      }
      ComputeTireAxis(chart, doc, dyno);
      out << rule << " " << extra << " -> " << Exact(chart.AxisMin) << ".." << Exact(chart.AxisMax) << " step "
          << Exact(chart.AxisStep) << "\n";
    } else if (rule == "slip-x") {
      // Sample j of a curve stepped so, on a plot of 41 points from x 100
      // to 500 charting a curve stepped so, by slip or by sample.
      SlipCurve charted, curve;
      charted.Step = Number(in), curve.Step = Number(in);
      const int j = Int(in);
      const bool slipAxis = Int(in) != 0;
      const int compared = Int(in);
      chart.GridLeft = 100, chart.PlotWidth = 400;
      out << "slip-x " << Exact(charted.Step) << " " << Exact(curve.Step) << " sample " << j
          << (slipAxis ? " slip" : " sample") << " axis, " << compared << " compared -> " << SlipSampleX(chart, 41, charted, curve, j, slipAxis);
      // The compared curve's value there: sample k holds k / 10, ten samples.
      for (int k = 0; k < 10; ++k) curve.Samples[k] = k / 10.0;
      curve.SampleCount = compared;
      const std::optional<double> then = ComparedSlipSample(charted, curve, j, slipAxis);
      out << ", compared " << (then ? Exact(*then) : "none") << ", tip @ " << SlipPosition(charted, j, slipAxis) << "\n";
    } else if (rule == "slip-labels") {
      const int points = Int(in), width = Int(in), label = Int(in);
      const double step = Number(in);
      out << "slip labels of " << points << " points on " << width << " px, " << label << " px wide: every "
          << SlipLabelStep(points, width, label) << ", " << SlipLabelDecimals(step) << " decimals for step "
          << Exact(step) << "\n";
    } else if (rule == "grid") {
      const double min = chart.AxisMin = Number(in);
      const double max = chart.AxisMax = Number(in);
      chart.AxisStep = Number(in);
      out << "engine grid " << min << ".." << max << ":";
      int v = FirstEngineGridValue(chart);
      for (int k = 0; k < 30 && v <= max; ++k) {
        out << " " << v;
        if (!NextEngineGridValue(chart, v)) break;
      }
      out << "\ntire grid:";
      double d = min;
      for (int k = 0; k < 30 && d <= max; ++k) {
        out << " " << Exact(d);
        if (!NextTireGridValue(chart, d)) break;
      }
      out << "\n";
    } else if (rule == "peak") {
      // The first row of the largest value; none where no row is a number.
      std::vector<double> values;
      out << "peak of";
      while (!(in >> std::ws).eof()) out << " " << Exact(values.emplace_back(Number(in)));
      const std::optional<Peak> peak = PeakOf(values);
      out << ": " << (peak ? "row " + std::to_string(peak->Index) + " value " + Exact(peak->Value) : "none") << "\n";
    } else if (rule == "label-step") {
      const int rows = Int(in);
      out << "label step for " << rows << " points: " << LabelStepFor(rows) << "\n";
    } else {
      ASSERT_EQ(rule, "trunc");
      const double v = Number(in);
      out << "trunc " << v << " -> " << TruncToInt32(v) << "\n";
    }
  });
}

// Compared rows are placed by their RPM between the rows' x positions; a plot
// of no height maps no pixel to a value.
TEST(Chart, ComparedRowsArePlacedByTheirRpm) {
  const std::vector<double> rpm{0, 1000, 2000, 4000};
  const std::vector<int> x{100, 200, 300, 400};
  const std::vector<double> asked{0, 500, 2000, 3000, 5000, -1000, std::nan("")};
  std::vector<int> xs(asked.size());
  RpmsToX(rpm, x, asked, xs);
  EXPECT_EQ(xs, (std::vector<int>{100, 150, 300, 350, 450, 0, 100}));
  // RPMs that do not rise: spread from the first to the last.
  RpmsToX(std::vector<double>{0, 3000, 3000, 6000}, x, std::vector<double>{1500, 6000}, xs);
  EXPECT_EQ(xs[0], 175);
  ChartLayout chart;
  chart.PlotHeight = 0;
  EXPECT_FALSE(MapYToValue(chart, 100).has_value());
}

// The smallest window keeps the chart clear of the table and every axis
// label apart: the most divisions any fitted axis takes fit its height, and
// the RPM labels of every row count stand apart across its width.
TEST(Chart, TheSmallestWindowKeepsTheChartApartAndItsLabelsReadable) {
  int most = 0;
  for (double top = 0.5; top < 2e6; top *= 1.0173) {
    for (const double low : {0.0, -0.37 * top, -0.9 * top, -3.1 * top}) {
      EditorDocument doc;
      test::FillFlatEngineCurve(doc, 2, top, low);
      doc.Engine.Power[0] = doc.Engine.Power[1] = 0.0;
      ChartLayout chart;
      ComputeEngineAxis(chart, doc, DynoView());
      most = std::max(most, static_cast<int>(std::lround((chart.AxisMax - chart.AxisMin) / chart.AxisStep)));
    }
  }
  EXPECT_EQ(most, MaxAxisDivisions);

  const ClientSize least = MinimumClientSize();
  for (int rows = 2; rows <= MaxEngineRows; ++rows) {
    EditorDocument doc;
    test::FillFlatEngineCurve(doc, rows, 300.0, -50.0);
    ChartLayout chart;
    ComputeChartLayout(chart, doc, DynoView(), least.width, least.height);
    ASSERT_GT(chart.PlotLeft - 2, TableWidth + RowScrollBarWidth) << rows;
    ASSERT_GT(chart.PlotRight, chart.PlotLeft) << rows;
    ASSERT_GE(chart.PlotHeight, MaxAxisDivisions * ValueLabelPitch) << rows;
    for (int i = chart.LabelStep; i < rows; i += chart.LabelStep) {
      ASSERT_GE(chart.PointX[i] - chart.PointX[i - chart.LabelStep], RpmLabelPitch) << rows << " rows, point " << i;
    }
  }
  // The table shows its fewest rows at least, beside the header bar's value
  // box and buttons.
  EXPECT_GE(VisibleRowsFor(least.height + 1), MinVisibleRows);
  EXPECT_GT(TitlePanelRect(least.width).right, TitlePanelRect(least.width).left);
}

TEST(Chart, PeaksAreOfTheCurvesRowsOnly) {
  // Rows beyond the count are not the curve's, however large.
  EditorDocument doc;
  test::FillSampleEngineCurve(doc, 41);
  doc.Engine.Torque[41] = 9999.0;
  doc.Engine.Power[41] = 9999.0;
  EXPECT_EQ(PeaksOf(doc.Engine, 41).Torque, (Peak{27, 433.0}));
  EXPECT_EQ(PeaksOf(doc.Engine, 41).Power->Index, 32);
  EXPECT_EQ(PeaksOf(doc.Engine, 100000).Torque->Value, 9999.0);
}

// With a compared curve the readout gives each peak's difference from the
// compared peak, in the units shown, wherever the two peaks lie.
TEST(Chart, PeakReadoutGivesTheDifferencesFromTheComparedCurve) {
  EditorDocument doc;
  test::FillSampleEngineCurve(doc, 41);
  ComparedCurve same{doc.Engine, "same"};
  ComparedCurve weaker{doc.Engine, "weaker"};
  for (int i = 0; i < 41; ++i) {
    weaker.Curve.Torque[i] -= 10.0;
    weaker.Curve.Power[i] = PowerOf(weaker.Curve.Rpm[i], weaker.Curve.Torque[i]);
  }
  // A peak elsewhere: the compared torque peaks at another row, higher.
  ComparedCurve shifted = same;
  shifted.Curve.Torque[5] = 440.0;
  const DisplayUnits nm;
  const DisplayUnits lbFtKw{TorqueUnit::LbFt, PowerUnit::Kw};
  EXPECT_EQ(PeakReadout(doc, nm), "Peak torque 433.0 N-m @ 6750 RPM   Peak power 447.7 HP @ 8000 RPM");
  EXPECT_EQ(PeakReadout(doc, nm, &same),
            "Peak torque 433.0 N-m @ 6750 RPM (+0.0)   Peak power 447.7 HP @ 8000 RPM (+0.0)");
  EXPECT_EQ(PeakReadout(doc, nm, &weaker),
            "Peak torque 433.0 N-m @ 6750 RPM (+10.0)   Peak power 447.7 HP @ 8000 RPM (+11.2)");
  EXPECT_EQ(PeakReadout(doc, nm, &shifted),
            "Peak torque 433.0 N-m @ 6750 RPM (-7.0)   Peak power 447.7 HP @ 8000 RPM (+0.0)");
  EXPECT_EQ(PeakReadout(doc, lbFtKw, &weaker),
            "Peak torque 319.4 lb-ft @ 6750 RPM (+7.4)   Peak power 333.8 kW @ 8000 RPM (+8.4)");
}

// In Tire mode the readout names the charted curve, its own length and its
// peak, with the slip the peak lies at.
TEST(Chart, TireReadoutGivesTheCurveItsLengthAndItsPeak) {
  EditorDocument doc;
  doc.Mode = FileMode::Tire;
  doc.RowCount = 237;
  doc.CurrentSlipCurve = 1;
  SlipCurve& curve = doc.SlipCurves[1];
  curve.Name = "Lat";
  curve.Step = 0.0015;
  curve.SampleCount = 60;
  for (int i = 0; i < 60; ++i) curve.Samples[i] = 1.0 - std::abs(i - 15) / 100.0;
  curve.Samples[70] = 5.0;  // past the curve's end: no part of it
  EXPECT_EQ(PeakReadout(doc, DynoView{}), "Lat: 60 samples, peak 1.000 @ slip 0.0225 (sample 15)");
  curve.Samples[40] = 1.0;  // a tie: the first
  EXPECT_EQ(PeakReadout(doc, DynoView{}), "Lat: 60 samples, peak 1.000 @ slip 0.0225 (sample 15)");
  curve.Name.clear();
  curve.SampleCount = 1;
  curve.Samples[0] = -0.25;
  EXPECT_EQ(PeakReadout(doc, DynoView{}), "Data 2: 1 sample, peak -0.250 @ slip 0.0 (sample 0)");
  curve.SampleCount = 0;
  EXPECT_EQ(PeakReadout(doc, DynoView{}), "");
}

}  // namespace
}  // namespace dyno
