// What the dyno sheet carries beyond the window: the printed page's header
// line and a picture laid out at a size of its own (a picture's name and
// side are in the numbers-and-texts table). The pictures themselves are in
// the pictures flow.
#include <string>

#include <gtest/gtest.h>

#include "core/app/DynoSheet.h"
#include "core/chart/ChartLayout.h"
#include "core/chart/PrintedPage.h"
#include "core/chart/ViewState.h"
#include "core/document/EditorSession.h"
#include "support/SampleCurves.h"

namespace dyno {
namespace {

// The line names the data shown, the date, the units shown and the status
// bar's readout, differences included; a slip curve has no units.
TEST(DynoSheet, ThePageHeaderNamesFileDateUnitsAndPeaks) {
  EditorDocument doc;
  test::FillSampleEngineCurve(doc, 41);
  DynoView dyno;
  const std::string peaks = "Peak torque 433.0 N-m @ 6750 RPM   Peak power 447.7 HP @ 8000 RPM";
  EXPECT_EQ(PageHeaderText(doc, dyno, "2026-12-07"), "Dynoforge | 2026-12-07 | N-m, HP | " + peaks);

  doc.EngineFile = {"/cars/Touring.ini", "Touring.ini", "/cars", {}};
  doc.TireFile = {"/cars/Front.tbc", "Front.tbc", "/cars", {}};
  EXPECT_EQ(PageHeaderText(doc, dyno, "2026-12-07"), "Touring.ini | 2026-12-07 | N-m, HP | " + peaks);

  dyno.Units = {TorqueUnit::LbFt, PowerUnit::Kw};
  auto weaker = std::make_shared<ComparedCurve>(ComparedCurve{doc.Engine, "Old.ini"});
  for (int i = 0; i < 41; ++i) {
    weaker->Curve.Torque[i] -= 10.0;
    weaker->Curve.Power[i] = PowerOf(weaker->Curve.Rpm[i], weaker->Curve.Torque[i]);
  }
  dyno.Comparison = weaker;
  EXPECT_EQ(PageHeaderText(doc, dyno, "1999-01-31"),
            "Touring.ini | 1999-01-31 | lb-ft, kW | Peak torque 319.4 lb-ft @ 6750 RPM (+7.4)   "
            "Peak power 333.8 kW @ 8000 RPM (+8.4)");

  // No rows, no readout; no date, no date.
  doc.RowCount = 0;
  EXPECT_EQ(PageHeaderText(doc, dyno, ""), "Touring.ini | lb-ft, kW");

  doc.Mode = FileMode::Tire;
  doc.RowCount = 60;
  doc.CurrentSlipCurve = 0;
  SlipCurve& curve = doc.SlipCurves[0];
  curve.Name = "Lat";
  curve.Step = 0.0015;
  curve.SampleCount = 60;
  for (int i = 0; i < 60; ++i) curve.Samples[i] = i == 15 ? 1.0 : 0.5;
  EXPECT_EQ(PageHeaderText(doc, dyno, "2026-12-07"),
            "Front.tbc | 2026-12-07 | Lat: 60 samples, peak 1.000 @ slip 0.0225 (sample 15)");
}

// A picture of another size shows what a window of that size would, from
// the row the screen's table starts at; the screen's layout stays.
TEST(DynoSheet, APictureIsLaidOutAtItsSizeFromTheScreensFirstRow) {
  EditorDocument doc;
  test::FillSampleEngineCurve(doc, 200);
  const DynoView dyno;
  ViewState screen;
  ChartLayout chart;
  ResizeView(screen, 1000, 700);
  screen.ScrollPos = screen.FirstVisibleRow = 25;
  ComputeChartLayout(screen, chart, doc, dyno, 1000, 700);
  const ViewState before = screen;
  const int screenPlotWidth = chart.PlotWidth;

  const auto picture = LayOutPicture(screen, chart, doc, dyno, 1600, 400);
  EXPECT_EQ(picture->View.FirstVisibleRow, 25);
  EXPECT_EQ(picture->View.ScreenWidth, 1601);
  EXPECT_EQ(picture->View.ScreenHeight, 401);
  EXPECT_EQ(picture->View.VisibleRows, VisibleRowsFor(401));
  EXPECT_FALSE(picture->View.PrintingPage);
  EXPECT_GT(picture->Chart.PlotWidth, screenPlotWidth);

  // The same size as a window of that size: the same layout.
  ViewState window = screen;
  ChartLayout windowChart;
  ResizeView(window, 1600, 400);
  ComputeChartLayout(window, windowChart, doc, dyno, 1600, 400);
  EXPECT_EQ(picture->Chart.PlotWidth, windowChart.PlotWidth);
  EXPECT_EQ(picture->Chart.PointX, windowChart.PointX);
  EXPECT_EQ(picture->Chart.TorqueY, windowChart.TorqueY);

  EXPECT_EQ(screen.FirstVisibleRow, before.FirstVisibleRow);
  EXPECT_EQ(screen.ScreenWidth, before.ScreenWidth);
  EXPECT_EQ(chart.PlotWidth, screenPlotWidth);
}

}  // namespace
}  // namespace dyno
