// Fuzz target: any bytes as the text Paste Table takes from the clipboard
// and, turned into text as Import CSV turns a file's bytes, as a CSV file;
// read as an engine and as a tire table, and pasted into an engine curve
// (in the units the view may show, its values holding digits the table does
// not show) or into one to four slip curves.
//
// What is checked:
// - A table read keeps to its limits: 1 to 500 engine rows of three
//   columns, the RPM rising by what one decimal shows; 1 to 4 slip curves
//   of 1 to 261 samples; a line for every row; every value finite and
//   within what a file holds.
// - A refused paste changes nothing and says why; a paste that says it
//   changed nothing changed nothing.
// - An accepted paste keeps the same limits in the document, recomputes the
//   power of every row, and leaves a curve that saving writes and reads back
//   as it shows (the engine rows through an engine file, the slip curves
//   through a tire file).
// - Copy Table then Paste Table, and Export CSV then Import CSV, of what a
//   paste left change nothing.
//
// The first byte chooses the document; the rest is the text.

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/curves/PasteTable.h"
#include "core/document/EditorDocument.h"
#include "core/document/Limits.h"
#include "core/document/Units.h"
#include "core/files/ComposeFile.h"
#include "core/files/NumberFormat.h"
#include "core/files/ReadBack.h"
#include "core/files/TableText.h"
#include "support/SameDocument.h"
#include "support/SampleCurves.h"

using namespace dyno;

namespace {

bool WithinFile(double v) { return std::isfinite(v) && std::abs(v) <= MaxFileValue; }

// The RPM shown in the table, as a number.
double ShownRpm(double rpm) {
  const std::string text = FixedText(rpm, EngineDecimals);
  double value = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

void CheckRead(const TableRead& table, TableShape shape) {
  if (table.Refusal) {
    FUZZ_CHECK(table.Columns.empty() && !table.Refusal->Text.empty());
    return;
  }
  const std::size_t rows = table.Lines.size();
  if (shape == TableShape::Engine) {
    FUZZ_CHECK(table.Columns.size() == 3 && rows >= 1 && rows <= MaxEngineRows);
    for (const TableColumn& column : table.Columns) FUZZ_CHECK(column.Values.size() == rows);
    for (std::size_t i = 1; i < rows; ++i) {
      FUZZ_CHECK(ShownRpm(table.Columns[0].Values[i]) > ShownRpm(table.Columns[0].Values[i - 1]));
    }
  } else {
    FUZZ_CHECK(table.Columns.size() >= 1 && table.Columns.size() <= SlipCurveSlots);
    FUZZ_CHECK(rows >= 1 && rows <= MaxFileSlipSamples);
    for (const TableColumn& column : table.Columns) FUZZ_CHECK(!column.Values.empty() && column.Values.size() <= rows);
  }
  for (std::size_t i = 1; i < rows; ++i) FUZZ_CHECK(table.Lines[i] > table.Lines[i - 1]);
  for (const TableColumn& column : table.Columns) {
    for (const double v : column.Values) FUZZ_CHECK(WithinFile(v));
  }
}

// The document a paste starts from: engine rows with digits the table does
// not show, in the units chosen, or one to four slip curves.
void Prepare(EditorDocument& doc, std::uint8_t choice) {
  if (choice & 1) {
    const int curves = 1 + ((choice >> 1) & 3);
    test::UseTireView(doc, curves);
    doc.CurrentSlipCurve = (choice >> 3) % curves;
    doc.SlipCurves[0].Samples[7] = 0.12345678;
    doc.TireLoaded = true;
    return;
  }
  test::FillSampleEngineCurve(doc, 10 + (choice >> 5));
  for (int i = 0; i < doc.RowCount; ++i) {
    doc.Engine.Torque[i] *= 1.0123456;
    RecomputePower(doc, i);
  }
  doc.Mode = (choice & 2) != 0 ? FileMode::Upgrade : FileMode::Engine;
  doc.EngineText = "[ENGINE]\r\nRPMTorque=( 0.0, 0.0, 0.0)\r\n";
  doc.EngineLoaded = true;
}

void CheckPasted(const EditorDocument& doc) {
  if (doc.Mode != FileMode::Tire) {
    const EngineCurve& e = doc.Engine;
    FUZZ_CHECK(doc.RowCount >= 1 && doc.RowCount <= MaxEngineRows && e.EngineRowCount == doc.RowCount);
    for (int i = 0; i < doc.RowCount; ++i) {
      FUZZ_CHECK(WithinFile(e.Rpm[i]) && WithinFile(e.Compression[i]) && WithinFile(e.Torque[i]));
      FUZZ_CHECK(e.Power[i] == PowerOf(e.Rpm[i], e.Torque[i]));
      if (i > 0) FUZZ_CHECK(ShownRpm(e.Rpm[i]) > ShownRpm(e.Rpm[i - 1]));
    }
    EditorDocument saved = doc;
    FUZZ_CHECK(!EngineReadBackDifference(doc, ComposeEngineFile(saved)));
    return;
  }
  FUZZ_CHECK(doc.SlipCurveCount >= 1 && doc.SlipCurveCount <= SlipCurveSlots);
  for (int k = 0; k < doc.SlipCurveCount; ++k) {
    const SlipCurve& curve = doc.SlipCurves[k];
    FUZZ_CHECK(curve.SampleCount >= 0 && curve.SampleCount <= MaxSlipSamples);
    FUZZ_CHECK(curve.Name.size() <= static_cast<std::size_t>(MaxSlipNameLength));
    for (int i = 0; i < curve.SampleCount; ++i) FUZZ_CHECK(WithinFile(curve.Samples[i]));
  }
  EditorDocument saved = doc;
  saved.TireOtherText.clear();
  ComposeSlipCurves(saved);
  FUZZ_CHECK(!TireReadBackDifference(doc, saved.TireOtherText));
}

// Pasting text into doc changes nothing and is not refused.
void CheckPastesBackUnchanged(const EditorDocument& doc, const DisplayUnits& units, const std::string& text) {
  EditorDocument again = doc;
  const EditOutcome outcome = PasteTable(again, units, text);
  if (outcome.Message) std::fprintf(stderr, "refused: %s\n", outcome.Message->Text.c_str());
  FUZZ_CHECK(!outcome.Message && !outcome.Changed);
  FUZZ_CHECK(test::DocumentDifferences(doc, again).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  for (const std::string& text : {std::string(bytes), TableTextOfBytes(bytes)}) {
    CheckRead(ReadTableText(text, TableShape::Engine), TableShape::Engine);
    CheckRead(ReadTableText(text, TableShape::Tire), TableShape::Tire);

    EditorDocument doc;
    Prepare(doc, choice);
    // The units the table shows, in the engine modes.
    const DisplayUnits units{choice & 4 ? TorqueUnit::LbFt : TorqueUnit::Nm,
                             static_cast<PowerUnit>(((choice >> 3) & 3) % 3)};
    const EditorDocument before = doc;
    const EditOutcome outcome = PasteTable(doc, units, text);
    if (outcome.Message || !outcome.Changed) {
      FUZZ_CHECK(!outcome.Changed);
      FUZZ_CHECK(test::DocumentDifferences(before, doc).empty());
      continue;
    }
    FUZZ_CHECK(!test::DocumentDifferences(before, doc).empty());
    CheckPasted(doc);
    CheckPastesBackUnchanged(doc, units, ComposeTableText(doc, units, '\t', "\n"));
    CheckPastesBackUnchanged(doc, units, TableTextOfBytes(ComposeCsvFile(doc, units)));
  }
  return 0;
}
