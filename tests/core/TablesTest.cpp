// Rules that are tables: each runs over the cases listed in
// tests/data/tables/<name>.txt (a case a line: the rule's word, then its
// inputs) and what it gives is compared with the approved <name>.transcript.
// Among them the tables to and from spreadsheets (the texts Paste Table and
// Import CSV read in every format a spreadsheet or text editor gives them,
// and the refusals of what is no table) and the peaks of a curve. The
// properties that are no table follow: round trips through Copy Table and
// Export CSV, torque typed in lb-ft, slip curves kept within their slots and
// compared rows placed by their RPM. Checked elsewhere: the peaks readout,
// unit conversions and names, and the compared curve's refusals (flows
// dyno-view and dyno-settings, session units, the pictures); mapping pixels
// to values (the drag sessions); slip curve headers (the slip curve dialog's
// gui test).
#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/app/PreviewLayout.h"
#include "core/app/PrintSheets.h"
#include "core/chart/ChartGeometry.h"
#include "core/chart/ChartLayout.h"
#include "core/chart/Peaks.h"
#include "core/chart/PrintedPage.h"
#include "core/chart/ViewState.h"
#include "core/curves/PasteTable.h"
#include "core/document/EditorSession.h"
#include "core/files/TypedNumber.h"
#include "core/editing/ValueBox.h"
#include "core/document/UndoHistory.h"
#include "core/files/EngineParameters.h"
#include "core/files/FileKind.h"
#include "core/files/ComposeFile.h"
#include "core/files/FilePaths.h"
#include "core/files/TypedNumber.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"
#include "core/files/ParameterEdits.h"
#include "core/files/ParameterTexts.h"
#include "core/files/ReadBack.h"
#include "core/files/RecentFiles.h"
#include "core/files/TableText.h"
#include "core/files/TextHelpers.h"
#include "core/files/TireFile.h"
#include "core/resources/CommandTable.h"
#include "core/resources/Commands.h"
#include "core/resources/ResourceIds.h"
#include "support/Approval.h"
#include "support/SameDocument.h"
#include "support/SampleCurves.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

using test::Exact;
using test::ExpectApproved;

// The next word of a case as a number, "inf" and "nan" too, in any locale.
double Number(std::istream& in) {
  std::string word;
  in >> word;
  double v = 0.0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), v);
  EXPECT_TRUE(error == std::errc() && end == word.data() + word.size()) << "not a number: " << word;
  return v;
}

int Int(std::istream& in) { return static_cast<int>(Number(in)); }

// The rest of a case as text, its escapes standing for their bytes.
std::string Text(std::istream& in) {
  std::string raw;
  std::getline(in >> std::ws, raw);
  return test::Unescape(raw);
}

using Case = std::function<void(const std::string& rule, std::istream& in, std::ostream& out)>;

// Runs each case of tests/data/tables/<name>.txt through its rule; with echo
// the transcript shows each case line above what its rule gave.
void RunCases(const std::string& name, const Case& run, bool echo = false) {
  std::ifstream cases(test::DataPath("tables/" + name + ".txt"));
  ASSERT_TRUE(cases) << name;
  std::ostringstream out;
  for (std::string line; std::getline(cases, line);) {
    if (line.empty() || line.starts_with('#')) continue;
    std::istringstream in(line);
    std::string rule;
    in >> rule;
    if (echo) out << line << "\n  ";
    run(rule, in, out);
  }
  ExpectApproved(out.str(), "tables/" + name + ".transcript");
}

TEST(Tables, ValueAxis) {
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
    } else if (rule == "tire") {
      // The axis of four slip curves, one sample of the last one set.
      test::UseTireView(doc, 1);
      const double extra = doc.SlipCurves[3].Samples[100] = Number(in);
      ComputeTireAxis(chart, doc);
      out << "tire " << extra << " -> " << Exact(chart.AxisMin) << ".." << Exact(chart.AxisMax) << " step "
          << Exact(chart.AxisStep) << "\n";
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

// The smallest window keeps the chart clear of the table and every axis
// label apart: the most divisions any fitted axis takes fit its height, and
// the RPM labels of every row count stand apart across its width.
TEST(Tables, TheSmallestWindowKeepsTheChartApartAndItsLabelsReadable) {
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

TEST(Tables, ViewRowsAndPrintedPages) {
  RunCases("view-and-pages", [](const std::string& rule, std::istream& in, std::ostream& out) {
    ViewState view;
    if (rule == "client") {
      const int height = Int(in);
      ResizeView(view, 800, height);
      out << "client 800x" << height << ": screen " << view.ScreenWidth << "x" << view.ScreenHeight << " rows "
          << view.VisibleRows << " bar " << view.ScrollBarHeight << " pages of 41 rows "
          << PrintedPageCountFor(41, height) << "\n";
    } else if (rule == "last-page") {
      const int rows = Int(in), visible = Int(in);
      out << rows << " rows, " << visible << " on a page: last page " << PrintedPageCount(rows, visible) << "\n";
    } else if (rule == "printing") {
      // A view of 200 rows scrolled to row 25, printing a page or not.
      const bool job = Int(in), empty = Int(in), printing = Int(in);
      const int page = Int(in);
      ResizeView(view, 800, 600);
      view.ScrollPos = view.FirstVisibleRow = 25;
      if (printing) BeginPrintedPage(view, page);
      const int last = ApplyPrintingRules(view, 200, job, empty);
      out << "printing job " << job << " empty " << empty << " page " << page << ": last " << last << " first row "
          << view.FirstVisibleRow << " scroll " << view.ScrollPos;
      EndPrintedPage(view);
      out << " then " << view.FirstVisibleRow << (view.PrintingPage ? " still printing" : "") << "\n";
    } else if (rule == "screen-pixels") {
      const int pixels = Int(in), screen = Int(in), printer = Int(in);
      out << "screen pixels of " << pixels << " at " << screen << "/" << printer << ": "
          << ScreenPixelsOf(pixels, screen, printer) << "\n";
    } else if (rule == "preview") {
      const int w = Int(in), h = Int(in), pw = Int(in), ph = Int(in);
      const auto first = FirstPreviewPage(w, h, pw, ph);
      const auto second = SecondPreviewPage(first);
      out << "preview in " << w << "x" << h << " of " << pw << "x" << ph << ": " << first.left << "," << first.top
          << "-" << first.right << "," << first.bottom << " second " << second.left << "," << second.top << "-"
          << second.right << "," << second.bottom << "\n";
    } else {
      // The sheets printed of a document of six pages.
      ASSERT_EQ(rule, "sheets");
      const int first = Int(in), last = Int(in);
      const bool reverse = Int(in);
      const int copies = Int(in);
      const bool collate = Int(in);
      out << "sheets of pages " << first << ".." << last << (reverse ? " reversed" : "") << " x" << copies
          << (collate ? " collated" : "") << " of 6:";
      for (const int page : PrintSheets(first, last, 6, reverse, copies, collate)) out << " " << page;
      out << "\n";
    }
  });
}

TEST(Tables, NumbersAndTexts) {
  RunCases("numbers-and-texts", [](const std::string& rule, std::istream& in, std::ostream& out) {
    if (rule == "parameter") {
      const double v = Number(in);
      out << "parameter " << Exact(v) << " -> " << FormatParameterValue(v, 0) << " | " << FormatParameterValue(v, 1)
          << " | " << FormatParameterValue(v, 2) << " | dialog " << FormatDialogValue(v, {false, 1}) << " "
          << FormatDialogValue(v, {true, 3}) << " | readout " << FixedText(v, 1) << "\n";
      return;
    }
    const std::string text = Text(in);
    if (rule == "decimal") {
      out << "decimal \"" << text << "\" -> " << Exact(DecimalToDouble(text)) << "\n";
    } else if (rule == "typed") {
      const std::optional<double> typed = ReadTypedNumber(text);
      out << "typed \"" << text << "\" -> " << (typed ? Exact(*typed) : "no number: " + NotANumberMessage("Field", text).Text) << "\n";
    } else if (rule == "pieces") {
      int pos = 0;
      for (std::string_view piece; !(piece = ReadTextLine(text, pos)).empty();) {
        out << "piece of " << piece.size() << " ending at " << pos << "\n";
      }
    } else if (rule == "equals") {
      out << "after equals \"" << ValueAfterEquals(text) << "\" until comma \"" << CopyUntil(text, ',') << "\"\n";
    } else if (rule == "tokens") {
      // The tokens of a sample line, and the samples it adds to a curve of 259.
      out << "tokens of \"" << text << "\":";
      for (int n = 0; n < 4; ++n) out << " [" << NthToken(text, n) << "]";
      EditorDocument doc;
      doc.SlipCurves[0].SampleCount = 259;
      out << " samples taken " << ParseSampleLine(doc, text, 0) << " now " << doc.SlipCurves[0].SampleCount << "\n";
    } else if (rule == "shorten" || rule == "menu-text") {
      // A recent file as the menu shows it: "shorten MAX PATH", "menu-text INDEX PATH".
      const std::size_t blank = text.find(' ');
      const int number = std::stoi(text.substr(0, blank));
      const std::string path = text.substr(blank + 1);
      out << rule << " " << number << " \"" << path << "\": "
          << (rule == "shorten" ? ShortenedPath(path, number) : RecentFileMenuText(number, path)) << "\n";
    } else if (rule == "name") {
      out << "name \"" << text << "\": backup \"" << BackupName(text) << "\" kind "
          << static_cast<int>(KindOfFile(text)) << "\n";
    } else {
      ASSERT_EQ(rule, "file-name");
      out << "file name of " << text << ": " << FileNameOfPath(text) << "\n";
    }
  });
}

// A fifth curve is not added; the count applied stays within the four slots,
// a new curve is a copy of the current one as long as it is (nothing beyond
// its end).
TEST(Tables, SlipCurvesStayWithinTheirSlots) {
  EditorDocument doc;
  doc.RowCount = 237;
  EXPECT_EQ(AddSlipCurve(doc, SlipCurveSlots), SlipCurveSlots);
  for (const auto& [count, applied] : {std::pair{2, 2}, {0, 0}, {9, 4}}) {
    doc.SlipCurveCount = 1;
    ApplySlipCurveCount(doc, count);
    EXPECT_EQ(doc.SlipCurveCount, applied) << count;
  }
  doc.SlipCurveCount = 2;
  doc.CurrentSlipCurve = 1;
  doc.SlipCurves[1].SampleCount = 90;
  doc.SlipCurves[1].Samples.fill(0.75);
  doc.SlipCurves[2].Samples.fill(0.5);
  EXPECT_EQ(AddSlipCurve(doc, 2), 3);
  ApplySlipCurveCount(doc, 3);
  const SlipCurve& added = doc.SlipCurves[2];
  EXPECT_EQ(added.SampleCount, 90);
  EXPECT_EQ(added.Samples[89], 0.75);
  EXPECT_EQ(added.Samples[90], 0.0);
  EXPECT_EQ(doc.RowCount, 237);
}

// Compared rows are placed by their RPM between the rows' x positions; a plot
// of no height maps no pixel to a value.
TEST(Tables, ComparedRowsArePlacedByTheirRpm) {
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

// Every command in a menu or on the toolbar has one record, found by its id
// and by its name; no two records share either. Every menu a record names
// is shown: a popup of the menu bar or a submenu.
TEST(Tables, EveryCommandHasOneRecord) {
  std::vector<int> used(MainToolbar().begin(), MainToolbar().end());
  std::vector<MenuId> shown;
  for (const PopupMenuDef& popup : MainMenu()) shown.push_back(popup.Menu);
  for (const CommandRecord& record : Commands()) {
    if (record.Menu != MenuId::None) used.push_back(record.Id);
    if (record.Submenu != MenuId::None) shown.push_back(record.Submenu);
  }
  for (const CommandRecord& record : Commands()) {
    EXPECT_TRUE(record.Menu == MenuId::None || std::ranges::count(shown, record.Menu) == 1) << record.Name;
  }
  for (const int id : used) {
    if (id == 0) continue;
    const CommandRecord* record = FindCommand(id);
    ASSERT_NE(record, nullptr) << id;
    EXPECT_TRUE(record->Name.starts_with("action")) << id;
    // The recent file entries alone take their text from the list.
    EXPECT_EQ(record->Text.empty(), id >= CmRecentFile1 && id <= CmRecentFile8) << record->Name;
  }
  for (const CommandRecord& record : Commands()) {
    EXPECT_EQ(FindCommand(record.Id), &record) << record.Name;
    EXPECT_EQ(FindCommand(record.Name), &record) << record.Name;
  }
  EXPECT_EQ(FindCommand(0), nullptr);
  EXPECT_EQ(FindCommand("actionNone"), nullptr);
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
    doc.Mode = static_cast<FileMode>(mode);  // Engine, Upgrade, Tire
    EditorSession session;
    session.BendActive = state & 32;
    session.LockOnToData = !(state & 16);
    doc.RowCount = (state & 16) ? 495 : (state & 8) ? 10 : 1;
    out << "state " << state << " rows " << doc.RowCount << ":";
    for (const int id : commands) {
      const CommandStatus s = CommandState(id, doc, session, UndoHistory());
      out << " " << FindCommand(id)->Name.substr(6) << (s.Enabled ? "" : "-") << (s.Checkable ? (s.Checked ? "*" : "o") : "");
    }
    out << "\n";
  }
  ExpectApproved(out.str(), "tables/command-rules.transcript");
}

// The columns a spreadsheet's text is read as, "name: values | name: values",
// or the refusal.
std::string Read(std::string_view text, TableShape shape) {
  const TableRead table = ReadTableText(text, shape);
  if (table.Refusal) return table.Refusal->Caption + " " + table.Refusal->Text;
  std::string out;
  for (const TableColumn& column : table.Columns) {
    out += (out.empty() ? "" : " | ") + column.Name + ":";
    for (const double v : column.Values) out += " " + Exact(v);
  }
  return out;
}

TEST(Tables, TableTextsReadOrRefused) {
  RunCases(
      "table-text",
      [](const std::string& rule, std::istream& in, std::ostream& out) {
        if (rule == "rows") {
          // A table of N rows: engine rows under a header, or tire samples.
          std::string shape;
          in >> shape;
          const bool engine = shape == "engine";
          std::string text = engine ? "RPM\tCompression\tTorque\n" : "Front\n";
          for (int i = 0, n = Int(in); i < n; ++i) text += engine ? std::to_string(1000 + i) + "\t-20\t150\n" : "0.5\n";
          const TableRead table = ReadTableText(text, engine ? TableShape::Engine : TableShape::Tire);
          out << (table.Refusal ? table.Refusal->Text : std::to_string(table.Columns.at(0).Values.size()) + " read");
        } else if (rule == "csv-name") {
          out << CsvFileName(Text(in));
        } else if (rule == "wide") {
          // An engine row with N tabs and a cell after its three numbers.
          const int tabs = Int(in);
          const std::string text = "1000\t-20\t150" + std::string(tabs, '\t') + Text(in) + "\n";
          out << Read(text, TableShape::Engine);
        } else if (rule == "bytes") {
          // A CSV file of these bytes, read as a tire table.
          test::TempDir dir;
          std::string text;
          ASSERT_EQ(ReadCsvFile(dir.Write("table.csv", Text(in)), text), ReadResult::Read);
          out << Read(text, TableShape::Tire);
        } else {
          ASSERT_TRUE(rule == "engine" || rule == "tire") << rule;
          out << Read(Text(in), rule == "engine" ? TableShape::Engine : TableShape::Tire);
        }
        out << "\n";
      },
      true);
}

// Copy Table then Paste Table, and Export CSV then Import CSV, change
// nothing; the same table from a German spreadsheet reads as from an English
// one. Of an opened engine file after a rescale (values with more digits than
// the table shows), also shown in lb-ft and kW, and of an opened tire file with
// curves of two lengths, one of them named with quotes and a non-ASCII letter.
TEST(Tables, RoundTripsChangeNothing) {
  test::TempDir dir;
  EditorDocument engine;
  test::FillSampleEngineCurve(engine, 41);
  for (int i = 0; i < 41; ++i) {
    engine.Engine.Torque[i] *= 1.0123456;
    RecomputePower(engine, i);
  }
  engine.EngineLoaded = true;
  EditorDocument tire;
  test::UseTireView(tire, 3);
  tire.TireLoaded = true;
  tire.SlipCurves[1].SampleCount = 100;
  tire.SlipCurves[2].Name = "\"N\xe4sse\", wet";
  tire.SlipCurves[0].Samples[7] = 0.12345678;
  const DisplayUnits lbFtAndKw{TorqueUnit::LbFt, PowerUnit::Kw};
  for (const auto& [original, units] : {std::pair{engine, DisplayUnits()}, {tire, DisplayUnits()}, {engine, lbFtAndKw}}) {
    EditorDocument doc = original;
    // Each is read, not refused, and changes nothing.
    EXPECT_FALSE(PasteTable(doc, units, ComposeTableText(doc, units, '\t', "\n")).Message.has_value());
    EXPECT_TRUE(test::DocumentDifferences(original, doc).empty()) << ComposeTableText(doc, units, '\t', "\n");

    std::string text;
    ASSERT_EQ(ReadCsvFile(dir.Write("table.csv", "\xEF\xBB\xBF" + ComposeCsvFile(doc, units)), text), ReadResult::Read);
    EXPECT_FALSE(PasteTable(doc, units, text).Message.has_value()) << text;
    EXPECT_TRUE(test::DocumentDifferences(original, doc).empty());

    // A German spreadsheet: semicolons and decimal commas.
    std::string german = ComposeTableText(doc, units, ';', "\r\n");
    for (char& c : german) c = c == '.' ? ',' : c;
    EXPECT_FALSE(PasteTable(doc, units, german).Message.has_value()) << german;
    EXPECT_TRUE(test::DocumentDifferences(original, doc).empty());
  }
  // The file is UTF-8; a file that is no UTF-8 is read as 8-bit text.
  EXPECT_NE(ComposeCsvFile(tire, DisplayUnits()).find("\"\"N\xc3\xa4sse\"\", wet\""), std::string::npos);
  std::string text;
  ASSERT_EQ(ReadCsvFile(dir.Write("latin1.csv", "N\xe4sse\r\n0.5\r\n"), text), ReadResult::Read);
  EXPECT_EQ(text, "N\xe4sse\r\n0.5\r\n");
  EXPECT_EQ(ReadCsvFile((dir.path() / "missing.csv").string(), text), ReadResult::CannotOpen);
  // A shorter curve leaves no old samples below it: the table shows every row.
  ASSERT_TRUE(PasteTable(tire, DisplayUnits(), "0.5\n0.25").Changed);
  EXPECT_EQ(tire.SlipCurves[0].Samples[2], 0.0);
}

// Copy Table and Export CSV give torque and power in the units the table
// shows; Paste Table reads torques in them and stores the N-m they show as.
TEST(Tables, TablesAreInTheUnitsShown) {
  EditorDocument doc;
  test::FillFlatEngineCurve(doc, 10, 157.6, -20.0);
  doc.EngineLoaded = true;
  for (const auto& [units, row] : {std::pair{DisplayUnits{TorqueUnit::Nm, PowerUnit::Hp}, "500.0,-20.0,157.6,11.1"},
                                   {DisplayUnits{TorqueUnit::LbFt, PowerUnit::Kw}, "500.0,-14.8,116.2,8.3"},
                                   {DisplayUnits{TorqueUnit::Nm, PowerUnit::Ps}, "500.0,-20.0,157.6,11.2"}}) {
    std::string tabs = row;
    std::replace(tabs.begin(), tabs.end(), ',', '\t');
    EXPECT_NE(ComposeCsvFile(doc, units).find("\r\n" + std::string(row) + "\r\n"), std::string::npos) << row;
    EXPECT_NE(ComposeTableText(doc, units, '\t', "\n").find("\n" + tabs + "\n"), std::string::npos) << row;
  }
  const DisplayUnits lbFtAndKw{TorqueUnit::LbFt, PowerUnit::Kw};
  ASSERT_FALSE(PasteTable(doc, lbFtAndKw, "RPM\tCompression\tTorque\n1000\t-10\t100\n2000\t-20.5\t200.5\n3000\t-30\t300").Message);
  ASSERT_EQ(doc.RowCount, 3);
  for (int i = 0; i < 3; ++i) {
    const double compression = -10.0 * (i + 1) - (i == 1 ? 0.5 : 0.0);
    const double torque = 100.0 * (i + 1) + (i == 1 ? 0.5 : 0.0);
    EXPECT_NEAR(doc.Engine.Torque[i], torque * NmPerLbFt, 1e-9) << i;
    EXPECT_TRUE(ShowSame(ShownTorque(doc.Engine.Torque[i], TorqueUnit::LbFt), torque, 1)) << i;
    EXPECT_TRUE(ShowSame(ShownTorque(doc.Engine.Compression[i], TorqueUnit::LbFt), compression, 1)) << i;
    EXPECT_EQ(doc.Engine.Power[i], PowerOf(doc.Engine.Rpm[i], doc.Engine.Torque[i])) << i;
  }
  // A torque beyond the values of a file once in N-m is refused.
  const EditorDocument before = doc;
  const EditOutcome outcome = PasteTable(doc, lbFtAndKw, "1000\t-10\t9e19\n2000\t-20\t100");
  ASSERT_TRUE(outcome.Message.has_value());
  EXPECT_EQ(outcome.Message->Text, "The Torque in line 1 is out of range for a physics file in N-m.");
  EXPECT_TRUE(test::DocumentDifferences(before, doc).empty());
}

// The RPMs are checked as they are stored, a kept value's hidden digits and
// all, and must rise by what the table's one decimal shows; a refused paste
// changes nothing.
TEST(Tables, PastedRpmsRiseAsTheTableShowsThem) {
  EditorDocument doc;
  test::FillFlatEngineCurve(doc, 10, 100.0, -10.0);
  doc.Engine.Rpm[1] = 909.14;
  doc.EngineLoaded = true;
  const EditorDocument before = doc;
  for (const auto& [text, message] :
       {std::pair{"0\t0\t0\n909.1\t0\t0\n909.12\t0\t0", "The RPM in line 3 is too close to the one before"},
        {"0\t0\t0\n909.1\t0\t0\n909.2\t0\t0\n2000.0\t0\t0\n2000.01\t0\t0", "The RPM in line 5 is too close"},
        {"0\t0\t0\n909.1\t0\t0\n909\t0\t0", "The RPM in line 3 does not rise: 909 follows 909.1."}}) {
    const EditOutcome outcome = PasteTable(doc, DisplayUnits(), text);
    ASSERT_TRUE(outcome.Message.has_value()) << text;
    EXPECT_TRUE(outcome.Message->Text.starts_with(message)) << outcome.Message->Text;
    EXPECT_FALSE(outcome.Changed);
    EXPECT_TRUE(test::DocumentDifferences(before, doc).empty()) << text;
  }
  // Rows that show apart are taken, and copy back as they were pasted.
  ASSERT_FALSE(PasteTable(doc, DisplayUnits(), "0\t0\t0\n909.1\t0\t0\n909.2\t0\t0").Message.has_value());
  EXPECT_EQ(doc.Engine.Rpm[1], 909.14);
  EXPECT_EQ(ComposeTableText(doc, DisplayUnits(), '\t', "\n"), "RPM\tCompression\tTorque\tPower\n0.0\t0.0\t0.0\t0.0\n"
                                               "909.1\t0.0\t0.0\t0.0\n909.2\t0.0\t0.0\t0.0\n");
}

// A slip curve's name comes back whole through Copy Table and Paste Table
// and through Export CSV and Import CSV, however it reads, and pasting again
// changes nothing either: a name that reads as a number heads its column, one
// holding a separator stays one cell.
TEST(Tables, CurveNamesComeBackWhole) {
  test::TempDir dir;
  for (const std::string name : {"1", "0.5", "1e3", "-2", "1,000", "Wet, 2.5 bar", "Slick; hard", "Tab\there",
                                 "\"Quoted\"", " padded ", ""}) {
    for (const int curves : {1, 2}) {
      EditorDocument original;
      test::UseTireView(original, curves);
      original.TireLoaded = true;
      original.SlipCurves[curves - 1].Name = name;
      std::string csv;
      ASSERT_EQ(ReadCsvFile(dir.Write("table.csv", ComposeCsvFile(original, DisplayUnits())), csv), ReadResult::Read);
      for (const std::string& text : {ComposeTableText(original, DisplayUnits(), '\t', "\n"), csv}) {
        EditorDocument doc = original;
        for (int paste = 0; paste < 2; ++paste) {
          const EditOutcome outcome = PasteTable(doc, DisplayUnits(), text);
          EXPECT_FALSE(outcome.Message.has_value()) << name << ": " << outcome.Message->Text;
        }
        EXPECT_TRUE(test::DocumentDifferences(original, doc).empty())
            << "[" << name << "] " << curves << " curves: " << test::DocumentDifferences(original, doc).front();
      }
    }
  }
}

// A line of any number of cells is read in little time: splitting stops at
// the first cell beyond the columns a table can use.
TEST(Tables, LongLinesAreRefusedEarly) {
  for (const char separator : {'\t', ',', ';'}) {
    const std::string cells(4'000'000, separator);
    const TableRead wide = ReadTableText(cells + "1", TableShape::Tire);
    ASSERT_TRUE(wide.Refusal.has_value()) << separator;
    EXPECT_EQ(wide.Refusal->Text, "Line 1 has too many columns: a table has at most 64.");
    // Only empty cells: a blank line.
    EXPECT_EQ(ReadTableText("0.5\n" + cells, TableShape::Tire).Columns.at(0).Values.size(), 1u) << separator;
  }
}

// A paste that a tire file could not hold is refused, saying why; what it
// can hold is saved and read back whole. An engine curve of fewer than four
// rows, which Add cannot continue, has Add Line unavailable.
TEST(Tables, PastedCurvesCanBeSaved) {
  EditorDocument doc;
  test::UseTireView(doc, 2);
  doc.TireLoaded = true;
  const EditorDocument before = doc;
  const auto column = [](double first, int negatives) {
    std::string text = "Grip\n" + FixedText(first, 6) + "\n";
    for (int i = 0; i < negatives; ++i) text += "-0.25\n";
    return text + "0.5\n";
  };
  // A name that holds a line break cannot be written on its line.
  const EditOutcome refused = PasteTable(doc, DisplayUnits(), "\"Gr\nip\"\n0.5\n0.25\n");
  ASSERT_TRUE(refused.Message.has_value());
  EXPECT_EQ(refused.Message->Text, "The table cannot be saved in a tire file: the name of slip curve 1 (Gr\nip) would "
                                   "read back as \"Gr\".");
  EXPECT_TRUE(test::DocumentDifferences(before, doc).empty());
  // Runs of negative samples, at a curve's start too, are read and written.
  for (const std::string& text :
       {column(0.5, 20), column(-1e-9, 3), column(-0.5, 0), column(0.5, 40),
        "Grip\n0.5\n-0.25\n-0.25\n" + column(0.5, 40).substr(5),
        std::string("A\tB\tC\n0.5\t0.5\t0.5\n-0.25\t-0.25\t0.5\n")}) {
    EditorDocument pasted = before;
    ASSERT_FALSE(PasteTable(pasted, DisplayUnits(), text).Message.has_value()) << text;
    pasted.TireOtherText.clear();
    ComposeSlipCurves(pasted);
    EXPECT_EQ(TireReadBackDifference(pasted, pasted.TireOtherText), std::nullopt) << text;
  }

  EditorDocument engine;
  test::FillSampleEngineCurve(engine, 41);
  engine.EngineLoaded = true;
  for (const auto& [rows, enabled] : {std::pair{3, false}, {4, true}}) {
    std::string text;
    for (int i = 0; i < rows; ++i) text += std::to_string(1000 * (i + 1)) + "\t-20\t150\n";
    ASSERT_FALSE(PasteTable(engine, DisplayUnits(), text).Message.has_value());
    EXPECT_EQ(CommandState(CmAddLine, engine, EditorSession(), UndoHistory()).Enabled, enabled) << rows;
  }
}

TEST(Tables, PeaksAreOfTheCurvesRowsOnly) {
  // Rows beyond the count are not the curve's, however large.
  EditorDocument doc;
  test::FillSampleEngineCurve(doc, 41);
  doc.Engine.Torque[41] = 9999.0;
  doc.Engine.Power[41] = 9999.0;
  EXPECT_EQ(PeaksOf(doc.Engine, 41).Torque, (Peak{27, 433.0}));
  EXPECT_EQ(PeaksOf(doc.Engine, 41).Power->Index, 32);
  EXPECT_EQ(PeaksOf(doc.Engine, 100000).Torque->Value, 9999.0);
}

// Every value typed or stepped in lb-ft with one decimal over the range a
// curve uses is stored as N-m that the table shows as that same text.
TEST(Tables, TorqueTypedInLbFtShowsAsTypedAfterRounding) {
  for (int tenths = -30000; tenths <= 30000; ++tenths) {
    const double typed = tenths / 10.0;
    const double stored = StoredTorque(typed, TorqueUnit::LbFt, 1);
    ASSERT_TRUE(ShowSame(ShownTorque(stored, TorqueUnit::LbFt), typed, 1)) << typed;
    ASSERT_NEAR(stored, typed * NmPerLbFt, 1e-9 * std::abs(stored) + 1e-12) << typed;
  }
  // More decimals than the table shows: still the nearest N-m, shown rounded.
  for (const double typed : {320.55, 0.05, -0.05, 1234.25, 99999.95}) {
    EXPECT_TRUE(ShowSame(ShownTorque(StoredTorque(typed, TorqueUnit::LbFt, 1), TorqueUnit::LbFt), typed, 1)) << typed;
  }
  // A value the box already shows stays as it is when the program writes it.
  EXPECT_EQ(StoredEngineValue(TorqueUnit::LbFt, 433.0, 319.4, false), 433.0);
  EXPECT_NE(StoredEngineValue(TorqueUnit::LbFt, 433.0, 319.4, true), 433.0);
  EXPECT_EQ(StoredEngineValue(TorqueUnit::LbFt, 433.0, 319.5, false), StoredTorque(319.5, TorqueUnit::LbFt, 1));
  EXPECT_EQ(StoredEngineValue(TorqueUnit::Nm, 433.04, 433.0, false), 433.0);
}

}  // namespace
}  // namespace dyno
