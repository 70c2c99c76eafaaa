// What the dyno sheet carries beyond the window: the printed page's header
// line, the exported picture's name and size, and a picture laid out at a
// size of its own. The pictures themselves are in the pictures flow.
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

TEST(DynoSheet, ThePictureIsOfferedUnderTheFilesTitle) {
  const struct {
    const char* title;
    PictureFormat format;
    const char* name;
  } cases[] = {
      {"Touring.ini", PictureFormat::Png, "Touring.png"},
      {"Touring.ini", PictureFormat::Svg, "Touring.svg"},
      {"Front.tyre.tbc", PictureFormat::Png, "Front.tyre.png"},
      {"NoExtension", PictureFormat::Svg, "NoExtension.svg"},
      {".hidden", PictureFormat::Png, ".hidden.png"},
      {"", PictureFormat::Png, "chart.png"},
      {"", PictureFormat::Svg, "chart.svg"},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureFileName(c.title, c.format), c.name) << c.title;
}

// Sides are read as every typed number is, and refused outside 200..8000 or
// between whole pixels, with a message naming the field.
TEST(DynoSheet, APictureSideIsAWholeNumberOfPixelsWithinBounds) {
  const struct {
    const char* text;
    int pixels;  // 0: refused
    const char* refusal;
  } cases[] = {
      {"800", 800, ""},
      {" 200 ", 200, ""},
      {"8000", 8000, ""},
      {"1.024,0", 1024, ""},  // grouped, as a German keyboard types it
      {"640,0", 640, ""},
      {"199", 0, "Width must be a whole number of pixels from 200 to 8000: \"199\" is not."},
      {"8001", 0, "Width must be a whole number of pixels from 200 to 8000: \"8001\" is not."},
      {"640.5", 0, "Width must be a whole number of pixels from 200 to 8000: \"640.5\" is not."},
      {"-800", 0, "Width must be a whole number of pixels from 200 to 8000: \"-800\" is not."},
      {"wide", 0, "\"wide\" typed for Width is not a number."},
      {"", 0, "Width is empty: type a number."},
  };
  for (const auto& c : cases) {
    const PictureSide side = ReadPictureSide("Width", c.text);
    EXPECT_EQ(side.Pixels.value_or(0), c.pixels) << c.text;
    EXPECT_EQ(side.Refusal.Text, c.refusal) << c.text;
    EXPECT_EQ(side.Refusal.Caption.empty(), c.pixels != 0) << c.text;
  }
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
