#include "core/curves/PasteTable.h"

#include <algorithm>
#include <vector>

#include "core/document/EditorDocument.h"
#include "core/files/NumberText.h"
#include "core/files/ParameterEdits.h"
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

// The value a pasted number gives a shown one: the value itself when the
// number is what the table shows for it.
double PastedValue(double shown, double pasted, int decimals) {
  if (shown == pasted) return shown;
  return DecimalToDouble(FixedText(shown, decimals)) == pasted ? shown : pasted;
}

bool PasteEngineRows(EditorDocument& doc, const std::vector<TableColumn>& columns) {
  EngineCurve& e = doc.Engine;
  const std::vector<double>& rpm = columns[0].Values;
  const std::vector<double>& compression = columns[1].Values;
  const std::vector<double>& torque = columns[2].Values;
  const int rows = static_cast<int>(rpm.size());
  const int shown = std::clamp(doc.RowCount, 0, MaxEngineRows);
  bool changed = false;
  for (int i = 0; i < rows; ++i) {
    const auto value = [&](double current, double pasted) {
      return i < shown ? PastedValue(current, pasted, EngineDecimals) : pasted;
    };
    changed |= Store(e.Rpm[i], value(e.Rpm[i], rpm[i]));
    changed |= Store(e.Compression[i], value(e.Compression[i], compression[i]));
    changed |= Store(e.Torque[i], value(e.Torque[i], torque[i]));
    RecomputePower(doc, i);
  }
  changed |= Store(e.EngineRowCount, rows);
  changed |= Store(doc.RowCount, rows);
  return changed;
}

bool PasteSlipCurves(EditorDocument& doc, const std::vector<TableColumn>& columns) {
  const int first = columns.size() == 1 ? std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1) : 0;
  bool changed = false;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const int slot = first + static_cast<int>(k);
    // A curve the file does not have yet starts as the header editor's Add
    // makes one, with the step and drop-off of the curve before it; its
    // samples are replaced below.
    while (doc.SlipCurveCount <= slot) {
      AddSlipCurve(doc, doc.SlipCurveCount);
      ApplySlipCurveCount(doc, doc.SlipCurveCount + 1);
      changed = true;
    }
    SlipCurve& curve = doc.SlipCurves[slot];
    const std::vector<double>& samples = columns[k].Values;
    const int count = static_cast<int>(samples.size());
    for (int i = 0; i < count; ++i) {
      const double value = i < curve.SampleCount ? PastedValue(curve.Samples[i], samples[i], SlipDecimals) : samples[i];
      changed |= Store(curve.Samples[i], value);
    }
    // What is left of a longer curve would still show in the table.
    for (int i = count; i < curve.SampleCount; ++i) changed |= Store(curve.Samples[i], 0.0);
    changed |= Store(curve.SampleCount, count);
    if (!columns[k].Name.empty()) {
      changed |= Store(curve.Name, columns[k].Name.substr(0, MaxSlipNameLength));
    }
    changed |= Store(doc.RowCount, std::max(doc.RowCount, count));
  }
  return changed;
}

}  // namespace

EditOutcome PasteTable(EditorDocument& doc, std::string_view text) {
  const TableRead table = ReadTableText(text, doc.TireMode ? TableShape::Tire : TableShape::Engine);
  if (table.Refusal) return {false, table.Refusal};
  const bool changed = doc.TireMode ? PasteSlipCurves(doc, table.Columns) : PasteEngineRows(doc, table.Columns);
  if (changed) doc.Modified = true;
  return {changed, std::nullopt};
}

}  // namespace dyno
