// Rules that are tables: each test runs one rule over a range of inputs and
// compares the whole table with the approved one under tests/data/tables.
#include <climits>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "core/app/PreviewLayout.h"
#include "core/app/PrintSheets.h"
#include "core/chart/ChartLayout.h"
#include "core/chart/PrintedPage.h"
#include "core/chart/ViewState.h"
#include "core/document/CommandRules.h"
#include "core/files/EngineParameters.h"
#include "core/files/FileKind.h"
#include "core/files/FilePaths.h"
#include "core/files/NumberText.h"
#include "core/files/ParameterEdits.h"
#include "core/files/ParameterTexts.h"
#include "core/files/TextHelpers.h"
#include "core/files/TireFile.h"
#include "core/resources/CommandTable.h"
#include "core/resources/ResourceIds.h"
#include "support/Approval.h"
#include "support/SampleCurves.h"

namespace dyno {
namespace {

using test::Exact;
using test::ExpectApproved;

TEST(Tables, ValueAxis) {
  std::ostringstream out;
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double min, max;
    int divisions;
  } steps[] = {{-60, 437.2, 16}, {0, 16, 16},   {0, 16.01, 16},    {0, 0.01, 16},  {0, 0.0176, 16}, {0, 8000, 16},
               {0, 8e6, 16},     {0, 9.6e6, 16}, {0, 1, 4},         {5, 5, 0},      {-1e9, 1e9, 16}, {-0.3, 1.2, 3}};
  for (const auto& c : steps) {
    ChartLayout chart;
    chart.AxisMin = c.min;
    chart.AxisMax = c.max;
    chart.GridDivisions = c.divisions;
    ChooseAxisStep(chart);
    out << "step " << c.min << ".." << c.max << "/" << c.divisions << " -> " << Exact(chart.AxisMin) << ".."
        << Exact(chart.AxisMax) << " step " << Exact(chart.AxisStep) << " divisions " << chart.GridDivisions;
    AlignAxisToStep(chart);
    out << " aligned " << Exact(chart.AxisMin) << ".." << Exact(chart.AxisMax) << " range " << Exact(chart.AxisRange)
        << "\n";
  }
  // Engine axes of curves at their extremes; tire axes of four slots.
  const struct {
    double torque, compression;
  } engines[] = {{437.2, -60}, {420, -80}, {0, 0}, {100, 900}, {1e12, -1e12}, {-50, -200}, {0.6, -0.1}, {0.05, 0}};
  for (const auto& c : engines) {
    EditorDocument doc;
    test::FillFlatEngineCurve(doc, 41, c.torque, c.compression);
    ChartLayout chart;
    ComputeEngineAxis(chart, doc);
    out << "engine " << c.torque << "/" << c.compression << " -> " << Exact(chart.AxisMin) << ".."
        << Exact(chart.AxisMax) << " step " << Exact(chart.AxisStep) << " range " << Exact(chart.AxisRange)
        << " scale changed " << chart.ScaleChanged << "\n";
  }
  for (const double extra : {0.0, 1.5, -0.45, inf}) {
    EditorDocument doc;
    test::UseTireView(doc, 1);
    doc.SlipCurves[3].Samples[100] = extra;
    ChartLayout chart;
    ComputeTireAxis(chart, doc);
    out << "tire " << extra << " -> " << Exact(chart.AxisMin) << ".." << Exact(chart.AxisMax) << " step "
        << Exact(chart.AxisStep) << "\n";
  }
  // The grid labels of a few axes.
  for (const auto& [min, max, step] : {std::tuple{-300.0, 500.0, 50.0}, {-1.2, 1.2, 0.2}, {2147483000.0, 2147483647.0, 100.0},
                                       {-0.1, 1.1, 0.1}, {1e15, 1e15 + 1, 1e-3}}) {
    ChartLayout chart;
    chart.AxisMin = min;
    chart.AxisMax = max;
    chart.AxisStep = step;
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
  }
  for (const int rows : {0, 1, 21, 22, 50, 51, 76, 77, 153, 154, 230, 237, 500}) {
    out << "label step for " << rows << " points: " << LabelStepFor(rows) << "\n";
  }
  for (const double v : {1.9, -1.9, -0.5, 2147483646.9, 2147483647.5, -2147483648.5, 1e300, -inf, std::nan("")}) {
    out << "trunc " << v << " -> " << TruncToInt32(v) << "\n";
  }
  ExpectApproved(out.str(), "tables/value-axis.txt");
}

TEST(Tables, MappingBetweenValuesAndPixelsRoundTripsWithinAPixel) {
  EditorDocument doc;
  test::FillSampleEngineCurve(doc);
  ChartLayout chart;
  ComputeChartLayout(chart, doc, 800, 600);
  for (int y = chart.PlotTop; y <= chart.PlotBottom; ++y) {
    const std::optional<double> value = MapYToValue(chart, y);
    ASSERT_TRUE(value.has_value());
    EXPECT_LE(std::abs(MapValueToY(chart, *value) - y), 1) << y;
  }
  chart.PlotHeight = 0;
  EXPECT_FALSE(MapYToValue(chart, 100).has_value());
}

TEST(Tables, ViewRowsAndPrintedPages) {
  std::ostringstream out;
  for (const int height : {-100, 0, 29, 99, 100, 601, 768, 10000}) {
    ViewState view;
    ResizeView(view, 800, height);
    out << "client 800x" << height << ": screen " << view.ScreenWidth << "x" << view.ScreenHeight << " rows "
        << view.VisibleRows << " bar " << view.ScrollBarHeight << " pages of 41 rows "
        << PrintedPageCountFor(41, height) << "\n";
  }
  for (const auto& [rows, visible] : {std::pair{41, 40}, {40, 40}, {30, 40}, {0, 40}, {-5, 0}, {500, 7}}) {
    out << rows << " rows, " << visible << " on a page: last page " << PrintedPageCount(rows, visible) << "\n";
  }
  for (const auto& [job, empty, printing, page] :
       {std::tuple{true, false, false, 0}, {true, true, false, 0}, {false, false, true, 3}, {true, false, true, 2}}) {
    ViewState view;
    ResizeView(view, 800, 600);
    view.ScrollPos = view.FirstVisibleRow = 25;
    if (printing) BeginPrintedPage(view, page);
    const int last = ApplyPrintingRules(view, 200, job, empty);
    out << "printing job " << job << " empty " << empty << " page " << page << ": last " << last << " first row "
        << view.FirstVisibleRow << " scroll " << view.ScrollPos;
    EndPrintedPage(view);
    out << " then " << view.FirstVisibleRow << "\n";
  }
  for (const auto& [pixels, screen, printer] : {std::tuple{4960, 96, 600}, {2147483647, 600, 1}, {100, 96, 0}, {-5, 96, 96}}) {
    out << "screen pixels of " << pixels << " at " << screen << "/" << printer << ": "
        << ScreenPixelsOf(pixels, screen, printer) << "\n";
  }
  for (const auto& [w, h, pw, ph] : {std::tuple{944, 600, 4960, 7016}, {0, 0, 4960, 7016}, {300, 900, 4960, 7016}, {10, 10, 4960, 7016},
                                     {944, 600, 7016, 4960}}) {
    const auto first = FirstPreviewPage(w, h, pw, ph);
    const auto second = SecondPreviewPage(first);
    out << "preview in " << w << "x" << h << " of " << pw << "x" << ph << ": " << first.left << "," << first.top << "-"
        << first.right << "," << first.bottom << " second " << second.left << "," << second.top << "-" << second.right
        << "," << second.bottom << "\n";
  }
  for (const auto& [first, last, reverse, copies, collate] :
       {std::tuple{1, INT_MAX, false, 1, true}, {2, 3, false, 1, true}, {5, 9, false, 1, true}, {8, 9, false, 1, true},
        {0, 2, true, 1, true}, {1, INT_MAX, false, 2, true}, {1, INT_MAX, false, 3, false}, {2, 6, true, 2, false},
        {1, 6, false, 0, false}}) {
    out << "sheets of pages " << first << ".." << last << (reverse ? " reversed" : "") << " x" << copies
        << (collate ? " collated" : "") << " of 6:";
    for (const int page : PrintSheets(first, last, 6, reverse, copies, collate)) out << " " << page;
    out << "\n";
  }
  ExpectApproved(out.str(), "tables/view-and-pages.txt");
}

TEST(Tables, NumbersAndTexts) {
  std::ostringstream out;
  for (const char* text : {"  -1.5e3x", ".5", "5.", "+7.25", "\t 1000.0, -20.0", " 150.0\r\n", "5.631e-05   // c",
                           "12e", "12e+", "12E2", "1.2.3", "3 5", "", "-", ".", "abc", ",5", "nan", "inf", "1e999",
                           "-1e999", "0x10", "1.7976931348623157e308", "123456789012345", "1234567890123456",
                           "0.000000000000000000000001", "1e23", "1000,5"}) {
    out << "decimal \"" << text << "\" -> " << Exact(DecimalToDouble(text)) << "\n";
  }
  for (const double v : {0.0, -0.0, 1e-5, 0.00099, 0.5, 1.0, 12.0, 12.5, -2147483648.0, 2147483648.0, 1e25, -1e-300}) {
    out << "parameter " << Exact(v) << " -> " << FormatParameterValue(v, 0) << " | " << FormatParameterValue(v, 1)
        << " | " << FormatParameterValue(v, 2) << " | dialog " << FormatDialogValue(v, {false, 1}) << " "
        << FormatDialogValue(v, {true, 3}) << " | readout " << FixedText(v, 1) << "\n";
  }
  int pos = 0;
  const std::string text = "first\r\nsecond\n" + std::string(300, 'x') + "\r\nlast";
  for (std::string_view piece; !(piece = ReadTextLine(text, pos)).empty();) {
    out << "piece of " << piece.size() << " ending at " << pos << "\n";
  }
  for (const std::string& line :
       {std::string("Key=value // c\r\n"), std::string("NoEquals\r\n"), std::string("a=b=c"), std::string("A=x\0y", 5)}) {
    out << "after equals \"" << ValueAfterEquals(line) << "\" until comma \"" << CopyUntil(line, ',') << "\"\n";
  }
  for (const char* line : {"0.1 0.2 0.3", "0.1  0.2", "ab", "1 2 3 ", "-0.5 1"}) {
    out << "tokens of \"" << line << "\":";
    for (int n = 0; n < 4; ++n) out << " [" << NthToken(line, n) << "]";
    EditorDocument doc;
    doc.SlipCurves[0].SampleCount = 259;
    out << " samples taken " << ParseSampleLine(doc, line, 0) << " now " << doc.SlipCurves[0].SampleCount << "\n";
  }
  for (const char* name : {"ENGINE.INI", "x", "", "Motor-ü", "ü", "a\xbc", "a.tbc", "car_upgrade.ini", "Stage.TBC.ini"}) {
    out << "name \"" << name << "\": backup \"" << BackupName(name) << "\" kind " << static_cast<int>(KindOfFile(name))
        << "\n";
  }
  for (const char* path : {"/a/b/c.ini", "c.ini", "/a/b/", "dir\\name.ini"}) {
    out << "file name of " << path << ": " << FileNameOfPath(path) << "\n";
  }
  ExpectApproved(out.str(), "tables/numbers-and-texts.txt");
}

// When each command is available and checked, for documents in each state.
TEST(Tables, CommandRules) {
  std::ostringstream out;
  const int commands[] = {CmOpen, CmImport, CmSaveAs, CmGenerate, CmEditParameters, CmAddLine, CmRemoveLine,
                          CmRescale, CmResolution, CmBend, CmModeEngine, CmModeUpgrade, CmModeTire, CmLockOnToData};
  for (int state = 0; state < 64; ++state) {
    EditorDocument doc;
    doc.EngineLoaded = state & 1;
    doc.TireLoaded = state & 2;
    doc.UpgradeLoaded = state & 4;
    const int mode = (state >> 3) % 3;
    doc.EngineMode = mode == 0;
    doc.UpgradeMode = mode == 1;
    doc.TireMode = mode == 2;
    doc.BendActive = state & 32;
    doc.LockOnToData = !(state & 16);
    doc.RowCount = (state & 16) ? 495 : (state & 8) ? 10 : 1;
    out << "state " << state << " rows " << doc.RowCount << ":";
    for (const int id : commands) {
      const CommandStatus s = QueryCommand(id, doc);
      out << " " << CommandObjectName(id).substr(6) << (s.Enabled ? "" : "-") << (s.Checkable ? (s.Checked ? "*" : "o") : "");
    }
    out << "\n";
  }
  ExpectApproved(out.str(), "tables/command-rules.txt");
}

TEST(Tables, SlipCurveHeaders) {
  std::ostringstream out;
  EditorDocument doc;
  doc.RowCount = 300;
  for (int count = 0; count <= SlipCurveSlots; ++count) {
    const int added = AddSlipCurve(doc, count);
    out << "add after " << count << " -> " << added;
    if (added > count) {
      const SlipCurve& curve = doc.SlipCurves[count];
      out << " \"" << curve.Name << "\" " << Exact(curve.Step) << " " << Exact(curve.DropoffFunction) << " "
          << Exact(curve.Samples[0]) << " " << Exact(curve.Samples[236]) << " " << Exact(curve.Samples[299]);
    }
    out << "\n";
  }
  SlipCurve curve;
  StoreSlipHeader(curve, "A name longer than eighteen", "0.0012345678", " 3.75xyz");
  const SlipHeaderTexts shown = ShowSlipHeader(curve);
  out << "stored \"" << curve.Name << "\" " << Exact(curve.Step) << " " << Exact(curve.DropoffFunction) << " shown \""
      << shown.Name << "\" \"" << shown.Step << "\" \"" << shown.Dropoff << "\"\n";
  for (const int count : {2, 4, 0, 9}) {
    doc.SlipCurveCount = 1;
    ApplySlipCurveCount(doc, count);
    out << "apply " << count << " -> " << doc.SlipCurveCount << " samples " << doc.SlipCurves[1].SampleCount << " "
        << doc.SlipCurves[3].SampleCount << " modified " << doc.Modified << "\n";
  }
  ExpectApproved(out.str(), "tables/slip-curve-headers.txt");
}

}  // namespace
}  // namespace dyno
