// The bridge to spreadsheets: the texts Paste Table and Import CSV read in
// every format a spreadsheet or text editor gives them, and the refusals of
// what is no table (table-text cases); round trips through Copy Table and
// Export CSV; tables in the units shown; and pastes a file can hold.
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "core/curves/PasteTable.h"
#include "core/files/ComposeFile.h"
#include "core/document/Units.h"
#include "core/files/NumberText.h"
#include "core/files/ReadBack.h"
#include "core/files/NumberFormat.h"
#include "core/files/TableText.h"
#include "core/files/TireFile.h"
#include "support/CaseTables.h"
#include "support/SameDocument.h"
#include "support/SampleCurves.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

using test::Exact;
using test::Int;
using test::RunCases;
using test::Text;

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

TEST(Spreadsheet, TableTextsReadOrRefused) {
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
        } else if (rule == "paste") {
          // Into an engine curve of ten rows, the second at 909.14 RPM, shown
          // in N-m or lb-ft, or into two tire curves: what is refused changes
          // nothing; what is taken copies back as it was pasted.
          std::string into;
          in >> into;
          EditorDocument original;
          test::FillFlatEngineCurve(original, 10, 100.0, -10.0);
          original.Engine.Rpm[1] = 909.14;
          original.EngineLoaded = into != "tire";
          if (into == "tire") test::UseTireView(original, 2);
          original.TireLoaded = into == "tire";
          const DisplayUnits units = into == "lb-ft" ? DisplayUnits{TorqueUnit::LbFt, PowerUnit::Kw} : DisplayUnits();
          EditorDocument doc = original;
          const EditOutcome outcome = PasteTable(doc, units, Text(in));
          if (outcome.Message) {
            out << test::Escaped(outcome.Message->Text) << (outcome.Changed ? " (told changed)" : "")
                << (test::DocumentDifferences(original, doc).empty() ? "" : " (the document changed)");
          } else if (into == "tire") {
            // Saved and read back whole.
            doc.TireOtherText.clear();
            ComposeSlipCurves(doc);
            out << "taken, reads back " << TireReadBackDifference(doc, doc.TireOtherText).value_or("whole");
          } else {
            out << "taken: " << test::Escaped(ComposeTableText(doc, units, '\t', "\n")) << "\n  stored RPM, torque:";
            for (int i = 0; i < doc.RowCount; ++i) out << " " << Exact(doc.Engine.Rpm[i]) << " " << Exact(doc.Engine.Torque[i]);
          }
        } else if (rule == "long") {
          // Lines of four million cells, and of as many empty ones (a blank line).
          const std::string cells(4'000'000, Text(in).at(0));
          out << Read(cells + "1", TableShape::Tire) << " | " << Read("0.5\n" + cells, TableShape::Tire);
        } else if (rule == "units") {
          // A flat curve of three rows as Export CSV and Copy Table give it in
          // the units shown.
          std::string torque, power;
          in >> torque >> power;
          const DisplayUnits units{torque == "lb-ft" ? TorqueUnit::LbFt : TorqueUnit::Nm,
                                   power == "kW" ? PowerUnit::Kw : power == "PS" ? PowerUnit::Ps : PowerUnit::Hp};
          EditorDocument doc;
          test::FillFlatEngineCurve(doc, 3, 157.6, -20.0);
          doc.EngineLoaded = true;
          out << test::Escaped(ComposeCsvFile(doc, units)) << "\n  " << test::Escaped(ComposeTableText(doc, units, '\t', "\n"));
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

// Pastes each text, and each table Copy Table and Export CSV (with a byte
// order mark and without) give of original as Paste Table and Import CSV read
// them, twice into a copy of original: no paste is refused, and the copy
// stays as original is.
void ExpectPastesChangeNothing(const EditorDocument& original, const DisplayUnits& units, const test::TempDir& dir,
                               std::vector<std::string> texts = {}) {
  texts.push_back(ComposeTableText(original, units, '\t', "\n"));
  for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
    std::string csv;
    EXPECT_EQ(ReadCsvFile(dir.Write("table.csv", mark + ComposeCsvFile(original, units)), csv), ReadResult::Read);
    texts.push_back(csv);
  }
  for (const std::string& text : texts) {
    EditorDocument doc = original;
    for (int paste = 0; paste < 2; ++paste) {
      const EditOutcome outcome = PasteTable(doc, units, text);
      EXPECT_FALSE(outcome.Message.has_value()) << text << ": " << outcome.Message->Text;
    }
    const std::vector<std::string> differ = test::DocumentDifferences(original, doc);
    EXPECT_TRUE(differ.empty()) << text << ": " << differ.front();
  }
}

// Copy Table then Paste Table, and Export CSV then Import CSV, change
// nothing; the same table from a German spreadsheet reads as from an English
// one. Of an opened engine file after a rescale (values with more digits than
// the table shows), also shown in lb-ft and kW, and of an opened tire file with
// curves of two lengths, one of them named with quotes and a non-ASCII letter.
TEST(Spreadsheet, RoundTripsChangeNothing) {
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
  for (const auto& [original, units] :
       {std::pair{&engine, DisplayUnits()}, {&tire, DisplayUnits()}, {&engine, lbFtAndKw}}) {
    // A German spreadsheet: semicolons and decimal commas.
    std::string german = ComposeTableText(*original, units, ';', "\r\n");
    std::replace(german.begin(), german.end(), '.', ',');
    ExpectPastesChangeNothing(*original, units, dir, {german});
  }
  // The file is UTF-8 (one that is no UTF-8 is read as 8-bit text: table-text cases).
  EXPECT_NE(ComposeCsvFile(tire, DisplayUnits()).find("\"\"N\xc3\xa4sse\"\", wet\""), std::string::npos);
  std::string text;
  EXPECT_EQ(ReadCsvFile((dir.path() / "missing.csv").string(), text), ReadResult::CannotOpen);
  // A shorter curve leaves no old samples below it: the table shows every row.
  ASSERT_TRUE(PasteTable(tire, DisplayUnits(), "0.5\n0.25").Changed);
  EXPECT_EQ(tire.SlipCurves[0].Samples[2], 0.0);
}

// A slip curve's name comes back whole through Copy Table and Paste Table
// and through Export CSV and Import CSV, however it reads, and pasting again
// changes nothing either: a name that reads as a number heads its column, one
// holding a separator stays one cell.
TEST(Spreadsheet, CurveNamesComeBackWhole) {
  test::TempDir dir;
  for (const std::string name : {"1", "0.5", "1e3", "-2", "1,000", "Wet, 2.5 bar", "Slick; hard", "Tab\there",
                                 "\"Quoted\"", " padded ", ""}) {
    for (const int curves : {1, 2}) {
      EditorDocument original;
      test::UseTireView(original, curves);
      original.TireLoaded = true;
      original.SlipCurves[curves - 1].Name = name;
      ExpectPastesChangeNothing(original, DisplayUnits(), dir);
    }
  }
}

}  // namespace
}  // namespace dyno
