#include "core/curves/PasteTable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/document/EditorDocument.h"
#include "core/document/Units.h"
#include "core/files/ComposeFile.h"
#include "core/files/NumberFormat.h"
#include "core/files/ParameterEdits.h"
#include "core/files/ReadBack.h"
#include "core/files/TableText.h"

namespace dyno {

namespace {

// Puts value into field and tells whether that changed it.
template <typename T, typename U>
bool Store(T& field, const U& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// Whether a pasted number is what the table shows for a value shown as
// shown, read as the table reader reads it: the value then keeps the
// digits the table does not show.
bool ShowsAs(double shown, double pasted, int decimals) {
  if (shown == pasted) return true;
  const std::string text = FixedText(shown, decimals);
  double value = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value == pasted;
}

EditOutcome Refused(std::string text) { return {false, UserMessage{std::move(text), "DATA ERROR!"}}; }

// The engine rows a table gives, each value as it will be stored: RPM,
// compression and torque, torques turned from the units shown into N-m.
using EngineRow = std::array<double, 3>;

EditOutcome PasteEngineRows(EditorDocument& doc, TorqueUnit unit, const TableRead& table) {
  EngineCurve& e = doc.Engine;
  const int rows = static_cast<int>(table.Columns[0].Values.size());
  const int shown = std::clamp(doc.RowCount, 0, MaxEngineRows);
  std::vector<EngineRow> stored(rows);
  for (int i = 0; i < rows; ++i) {
    const double rpm = table.Columns[0].Values[i];
    stored[i][0] = i < shown && ShowsAs(e.Rpm[i], rpm, EngineDecimals) ? e.Rpm[i] : rpm;
    for (int c = 1; c <= 2; ++c) {
      const double current = c == 1 ? e.Compression[i] : e.Torque[i];
      const double pasted = table.Columns[c].Values[i];
      const bool kept = i < shown && ShowsAs(ShownTorque(current, unit), pasted, EngineDecimals);
      stored[i][c] = kept ? current : StoredTorque(pasted, unit, EngineDecimals);
      if (!(std::abs(stored[i][c]) <= MaxFileValue)) {
        return Refused("The " + table.Columns[c].Name + " in line " + std::to_string(table.Lines[i]) +
                       " is out of range for a physics file in N-m.");
      }
    }
    // Checked on what is stored: a kept RPM may lie a little above the
    // pasted one, and the next row must still rise above it as shown.
    if (i > 0) {
      if (auto refusal = RpmStepRefusal(stored[i - 1][0], stored[i][0], table.Lines[i])) return {false, refusal};
    }
  }

  bool changed = false;
  for (int i = 0; i < rows; ++i) {
    changed |= Store(e.Rpm[i], stored[i][0]);
    changed |= Store(e.Compression[i], stored[i][1]);
    changed |= Store(e.Torque[i], stored[i][2]);
    RecomputePower(doc, i);
  }
  changed |= Store(e.EngineRowCount, rows);
  changed |= Store(doc.RowCount, rows);
  return {changed, std::nullopt};
}

// A slip curve's pasted state: its slot, name (empty keeps the name) and samples.
struct PastedCurve {
  int Slot = 0;
  std::string Name;
  std::vector<double> Samples;
};

// Whether a sample is written with a minus sign ("-0.000000" is written
// without one).
// Why a tire file could not hold the pasted curves: they are written as
// Save As writes them and read back as the save reads its new bytes back,
// so this follows the writer and the reader whatever either learns (a name
// holding a line break, say, cannot be written). Nothing when they can be.
std::optional<std::string> WhyTireFileCannotHold(const EditorDocument& doc, const std::vector<PastedCurve>& curves) {
  const auto written = std::make_unique<EditorDocument>();
  EditorDocument& w = *written;
  w.SlipCurveCount = curves.back().Slot + 1;
  // The curves before the pasted ones are no part of the question.
  for (int slot = 0; slot < w.SlipCurveCount; ++slot) {
    w.SlipCurves[slot].Name.clear();
    w.SlipCurves[slot].Samples[0] = 0.0;
    w.SlipCurves[slot].SampleCount = 1;
  }
  for (const PastedCurve& pasted : curves) {
    SlipCurve& curve = w.SlipCurves[pasted.Slot];
    if (pasted.Slot < doc.SlipCurveCount) {
      curve = doc.SlipCurves[pasted.Slot];
    } else {
      AddSlipCurve(w, pasted.Slot);  // named as the paste will name it
    }
    if (!pasted.Name.empty()) curve.Name = pasted.Name;
    std::copy(pasted.Samples.begin(), pasted.Samples.end(), curve.Samples.begin());
    curve.SampleCount = static_cast<int>(pasted.Samples.size());
  }
  w.TireOtherText.clear();
  ComposeSlipCurves(w);
  const std::optional<std::string> difference = TireReadBackDifference(w, w.TireOtherText);
  if (!difference) return std::nullopt;

  return "The table cannot be saved in a tire file: " + *difference + ".";
}

EditOutcome PasteSlipCurves(EditorDocument& doc, const TableRead& table) {
  const std::vector<TableColumn>& columns = table.Columns;
  const int first = columns.size() == 1 ? std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1) : 0;
  std::vector<PastedCurve> pasted(columns.size());
  for (std::size_t k = 0; k < columns.size(); ++k) {
    PastedCurve& p = pasted[k];
    p.Slot = first + static_cast<int>(k);
    p.Name = columns[k].Name.substr(0, MaxSlipNameLength);
    p.Samples = columns[k].Values;
    if (p.Slot < doc.SlipCurveCount) {
      const SlipCurve& curve = doc.SlipCurves[p.Slot];
      const int kept = std::min(curve.SampleCount, static_cast<int>(p.Samples.size()));
      for (int i = 0; i < kept; ++i) {
        if (ShowsAs(curve.Samples[i], p.Samples[i], SlipDecimals)) p.Samples[i] = curve.Samples[i];
      }
    }
  }
  if (auto why = WhyTireFileCannotHold(doc, pasted)) return Refused(std::move(*why));

  bool changed = false;
  for (const PastedCurve& p : pasted) {
    // A curve the file does not have yet starts as the header editor's Add
    // makes one, with the step and drop-off of the curve before it; its
    // samples are replaced below.
    while (doc.SlipCurveCount <= p.Slot) {
      AddSlipCurve(doc, doc.SlipCurveCount);
      ApplySlipCurveCount(doc, doc.SlipCurveCount + 1);
      changed = true;
    }
    SlipCurve& curve = doc.SlipCurves[p.Slot];
    const int count = static_cast<int>(p.Samples.size());
    for (int i = 0; i < count; ++i) changed |= Store(curve.Samples[i], p.Samples[i]);
    // What is left of a longer curve would still show in the table.
    for (int i = count; i < curve.SampleCount; ++i) changed |= Store(curve.Samples[i], 0.0);
    changed |= Store(curve.SampleCount, count);
    if (!p.Name.empty()) changed |= Store(curve.Name, p.Name);
    changed |= Store(doc.RowCount, std::max(doc.RowCount, count));
  }
  return {changed, std::nullopt};
}

}  // namespace

EditOutcome PasteTable(EditorDocument& doc, const DisplayUnits& units, std::string_view text) {
  const TableRead table = ReadTableText(text, (doc.Mode == FileMode::Tire) ? TableShape::Tire : TableShape::Engine);
  if (table.Refusal) return {false, table.Refusal};
  EditOutcome outcome = doc.Mode == FileMode::Tire ? PasteSlipCurves(doc, table) : PasteEngineRows(doc, units.Torque, table);
  return outcome;
}

}  // namespace dyno
