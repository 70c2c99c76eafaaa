// Tables to and from spreadsheets: the texts Paste Table and Import CSV read
// in every format a spreadsheet or text editor gives them, the refusals of
// what is no table, and the round trips through Copy Table and Export CSV.
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "core/curves/PasteTable.h"
#include "core/document/EditorDocument.h"
#include "core/files/TableText.h"
#include "support/Approval.h"
#include "support/SameDocument.h"
#include "support/SampleCurves.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

using test::Exact;

// The columns read, "name: values | name: values", or the refusal.
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

struct Case {
  const char* what;
  std::string_view text;
  TableShape shape;
  const char* read;
};

constexpr TableShape Engine = TableShape::Engine;
constexpr TableShape Tire = TableShape::Tire;

TEST(TableText, ReadsWhatSpreadsheetsAndEditorsGive) {
  const Case cases[] = {
      {"tabs, header, CR LF", "RPM\tCompression\tTorque\tPower\r\n1000.0\t-20.0\t150.0\t21.1\r\n2000.0\t-25.5\t180.0\t50.6\r\n",
       Engine, "RPM: 1000 2000 | Compression: -20 -25.5 | Torque: 150 180"},
      {"semicolons and decimal commas, LF, no header", "1000,0;-20,0;150,0\n2000,0;-25,5;180,0\n", Engine,
       "RPM: 1000 2000 | Compression: -20 -25.5 | Torque: 150 180"},
      {"German tabs with digit grouping", "1.000,0\t-20,5\t150\n12.475,25\t-30\t160", Engine,
       "RPM: 1000 12475.25 | Compression: -20.5 -30 | Torque: 150 160"},
      {"commas and quotes", "\"RPM\",\"Compression\",\"Torque\"\r\n\"1,000.5\",\"-20\",150\r\n", Engine,
       "RPM: 1000.5 | Compression: -20 | Torque: 150"},
      {"blanks around cells, blank lines after", "  1000 \t -20\t150  \n\n\r\n \t \n", Engine,
       "RPM: 1000 | Compression: -20 | Torque: 150"},
      {"columns by header name", "Torque (N-m)\tNotes\trpm\tCOMPRESSION\n150\tpeak\t1000\t-20\n", Engine,
       "RPM: 1000 | Compression: -20 | Torque: 150"},
      {"unknown header names: by position", "Drehzahl;Bremsmoment;Drehmoment\n1000;-20;150\n", Engine,
       "RPM: 1000 | Compression: -20 | Torque: 150"},
      {"CR line ends, signs, exponents", "1e3;-2.5E1;+150\r2e3;-3e1;1.6e2", Engine,
       "RPM: 1000 2000 | Compression: -25 -30 | Torque: 150 160"},
      {"the engine file's own comma and blank", "1000.0, -20.0, 150.0\n2000.0, -25.0, 180.0", Engine,
       "RPM: 1000 2000 | Compression: -20 -25 | Torque: 150 180"},
      {"one German column", "Front lateral\n0,1\n0,25\n", Tire, "Front lateral: 0.1 0.25"},
      {"columns of their own lengths", "A\tB\r\n0.1\t0.5\r\n0.2\t\r\n", Tire, "A: 0.1 0.2 | B: 0.5"},
      {"quoted names", "\"Wet, \"\"new\"\"\"\t\"Dry\" \n0.1\t0.2\n", Tire, "Wet, \"new\": 0.1 | Dry: 0.2"},
      {"a line break in a quoted name", "\"Front\nlateral\"\n0.5\n", Tire, "Front\nlateral: 0.5"},
      {"exported CSV of two curves", "A,B\r\n0.000000,0.100000\r\n", Tire, "A: 0 | B: 0.1"},
      {"a quoted comma among comma cells groups digits", "\"1,000\",-20,150", Engine,
       "RPM: 1000 | Compression: -20 | Torque: 150"},
      {"separators inside quotes part nothing", "\"A; wet\",\"B\tdry\"\r\n0.1,0.2\r\n", Tire,
       "A; wet: 0.1 | B\tdry: 0.2"},
      {"no header", "0.5\t0.25", Tire, ": 0.5 | : 0.25"},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.text, c.shape), c.read) << c.what;
}

TEST(TableText, RefusesWhatIsNoTable) {
  // As many rows as a curve holds, then one more.
  std::string engineRows = "RPM\tCompression\tTorque\n", tireRows = "Front\n";
  for (int i = 0; i < 500; ++i) engineRows += std::to_string(1000 + i) + "\t-20\t150\n";
  for (int i = 0; i < 261; ++i) tireRows += "0.5\n";
  EXPECT_EQ(ReadTableText(engineRows, Engine).Columns.at(0).Values.size(), 500u);
  EXPECT_EQ(ReadTableText(tireRows, Tire).Columns.at(0).Values.size(), 261u);
  engineRows += "2000\t-20\t150\n";
  tireRows += "0.5\n";
  const Case cases[] = {
      {"a word", "RPM\tCompression\tTorque\n1000\t-20\t150\n2000\tabc\t160", Engine,
       "DATA ERROR! The cell in line 3, column 2 is not a number: \"abc\"."},
      {"nan", "1000\t-20\t150\nnan\t-20\t150", Engine, "DATA ERROR! The cell in line 2, column 1 is not a number: \"nan\"."},
      {"bad digit grouping", "1.2.3\t-20\t150", Engine,
       "DATA ERROR! The cell in line 1, column 1 is not a number: \"1.2.3\"."},
      {"a point among decimal commas", "1000\t-20,5\t150\n2000\t-25\t0.5", Engine,
       "DATA ERROR! The cell in line 2, column 3 is not a number: \"0.5\"."},
      {"an empty cell", "1000\t-20\t150\n2000\t\t160", Engine, "DATA ERROR! The cell in line 2, column 2 is empty."},
      {"a missing cell", "1000\t-20\t150\n2000\t-25", Engine, "DATA ERROR! The cell in line 2, column 3 is empty."},
      {"beyond a file's values", "1000\t-20\t1e25", Engine,
       "DATA ERROR! The number in line 1, column 3 is out of range for a physics file: \"1e25\"."},
      {"beyond a double", "1000\t-20\t1e-400", Engine,
       "DATA ERROR! The number in line 1, column 3 is out of range for a physics file: \"1e-400\"."},
      {"a long cell, cut", "1000\t-20\tone hundred and fifty newton m...s", Engine,
       "DATA ERROR! The cell in line 1, column 3 is not a number: \"one hundred and fifty newton m...\"."},
      {"501 rows", engineRows, Engine, "DATA ERROR! The table has more rows than the 500 an engine curve holds."},
      {"262 samples", tireRows, Tire, "DATA ERROR! The table has more rows than the 261 samples a slip curve holds."},
      {"five curves", "1\t2\t3\t4\t5", Tire, "DATA ERROR! The table has 5 columns; a tire file holds at most 4 slip curves."},
      {"nothing", "", Engine, "DATA ERROR! The text holds no rows of numbers."},
      {"a header only", "RPM\tCompression\tTorque\r\n\r\n", Engine, "DATA ERROR! The text holds no rows of numbers."},
      {"the same RPM twice", "1000\t-20\t150\n2000\t-20\t150\n2000\t-20\t150", Engine,
       "DATA ERROR! The RPM in line 3 does not rise: 2000 follows 2000."},
      {"a falling RPM", "RPM;Compression;Torque\n3000,04;-20;150\n3000,01;-20;150", Engine,
       "DATA ERROR! The RPM in line 3 does not rise: 3000.01 follows 3000.04."},
      {"a header without Torque", "RPM\tCompression\tPower\n1000\t-20\t150", Engine,
       "DATA ERROR! The header line names no Torque column."},
      {"two columns", "1000\t150\n2000\t160", Engine, "DATA ERROR! The table needs the columns RPM, Compression and Torque."},
      {"a gap in a curve", "0.1\t0.5\n\t0.6\n0.3\t0.7", Tire, "DATA ERROR! The cell in line 2, column 1 is empty."},
      {"an empty curve between two", "A\tB\tC\n0.1\t\t0.3", Tire, "DATA ERROR! The cell in line 2, column 2 is empty."},
      {"lines counted across a quoted line break", "\"Front\nlateral\"\n0.5\nx", Tire,
       "DATA ERROR! The cell in line 4, column 1 is not a number: \"x\"."},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.text, c.shape), c.read) << c.what;
}

// An opened engine file after a rescale (values with more digits than the
// table shows), and an opened tire file with curves of two lengths, one of
// them named with quotes and a non-ASCII letter.
EditorDocument EngineDocument() {
  EditorDocument doc;
  test::FillSampleEngineCurve(doc, 41);
  for (int i = 0; i < 41; ++i) {
    doc.Engine.Torque[i] *= 1.0123456;
    RecomputePower(doc, i);
  }
  doc.EngineLoaded = true;
  return doc;
}

EditorDocument TireDocument() {
  EditorDocument doc;
  test::UseTireView(doc, 3);
  doc.TireLoaded = true;
  doc.SlipCurves[1].SampleCount = 100;
  doc.SlipCurves[2].Name = "\"N\xe4sse\", wet";
  doc.SlipCurves[0].Samples[7] = 0.12345678;
  return doc;
}

// Copy Table then Paste Table, and Export CSV then Import CSV, change
// nothing; the same table from a German spreadsheet reads as from an English
// one.
TEST(TableText, RoundTripsChangeNothing) {
  test::TempDir dir;
  // The engine table also as shown in lb-ft and kW.
  EditorDocument inLbFtAndKw = EngineDocument();
  inLbFtAndKw.Dyno.Units = {TorqueUnit::LbFt, PowerUnit::Kw};
  for (const EditorDocument& original : {EngineDocument(), TireDocument(), inLbFtAndKw}) {
    EditorDocument doc = original;
    // Each is read, not refused, and changes nothing.
    EXPECT_FALSE(PasteTable(doc, ComposeTableText(doc, '\t', "\n")).Message.has_value());
    EXPECT_TRUE(test::DocumentDifferences(original, doc).empty()) << ComposeTableText(doc, '\t', "\n");

    std::string text;
    ASSERT_EQ(ReadCsvFile(dir.Write("table.csv", "\xEF\xBB\xBF" + ComposeCsvFile(doc)), text), ReadResult::Read);
    EXPECT_FALSE(PasteTable(doc, text).Message.has_value()) << text;
    EXPECT_TRUE(test::DocumentDifferences(original, doc).empty());

    // A German spreadsheet: semicolons and decimal commas.
    std::string german = ComposeTableText(doc, ';', "\r\n");
    for (char& c : german) c = c == '.' ? ',' : c;
    EXPECT_FALSE(PasteTable(doc, german).Message.has_value()) << german;
    EXPECT_TRUE(test::DocumentDifferences(original, doc).empty());
  }
  // A shorter curve leaves no old samples below it: the table shows every row.
  EditorDocument tire = TireDocument();
  ASSERT_TRUE(PasteTable(tire, "0.5\n0.25").Changed);
  EXPECT_EQ(tire.SlipCurves[0].Samples[2], 0.0);
  // The file is UTF-8; a file that is no UTF-8 is read as 8-bit text.
  EXPECT_NE(ComposeCsvFile(TireDocument()).find("\"\"N\xc3\xa4sse\"\", wet\""), std::string::npos);
  std::string text;
  ASSERT_EQ(ReadCsvFile(dir.Write("latin1.csv", "N\xe4sse\r\n0.5\r\n"), text), ReadResult::Read);
  EXPECT_EQ(text, "N\xe4sse\r\n0.5\r\n");
  EXPECT_EQ(ReadCsvFile((dir.path() / "missing.csv").string(), text), ReadResult::CannotOpen);
}

TEST(TableText, CsvFileNames) {
  for (const auto& [title, csv] : {std::pair{"car.upgrade.ini", "car.upgrade.csv"}, {"README", "README.csv"},
                                   {".hidden", ".hidden.csv"}, {"", "table.csv"}}) {
    EXPECT_EQ(CsvFileName(title), csv) << title;
  }
}

}  // namespace
}  // namespace dyno
