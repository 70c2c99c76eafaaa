#include "core/editing/DynoView.h"

#include <algorithm>

#include "core/chart/ChartLayout.h"
#include "core/chart/Peaks.h"
#include "core/document/Units.h"
#include "core/editing/EditorRepaint.h"
#include "core/editing/EditorState.h"
#include "core/editing/InteractionState.h"
#include "core/files/NumberFormat.h"

namespace dyno {

namespace {

void AppendPeak(std::string& out, const char* what, double value, std::string_view unit, double rpm) {
  out += what;
  AppendFixed(out, value, EngineDecimals);
  out += ' ';
  out += unit;
  out += " @ ";
  AppendFixed(out, rpm, 0);
  out += " RPM";
}

void AppendDifference(std::string& out, double difference) { out += " (" + SignedDifference(difference) + ")"; }

}  // namespace

std::string SignedDifference(double difference) {
  std::string text = FixedText(difference, EngineDecimals);
  if (text == "-0.0") text = "0.0";
  return text[0] == '-' ? text : "+" + text;
}

std::string PeakReadout(const EditorDocument& doc, const DisplayUnits& units, const ComparedCurve* compared) {
  std::string out;
  if (doc.Mode == FileMode::Tire) {
    // The charted curve, its own samples only: "Lat: 60 samples, peak 1.000
    // @ slip 0.0225 (sample 15)".
    const int slot = std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1);
    const SlipCurve& curve = doc.SlipCurves[slot];
    const int n = std::clamp(std::min(curve.SampleCount, doc.RowCount), 0, MaxSlipSamples);
    if (const std::optional<Peak> peak = PeakOf(std::span(curve.Samples).first(static_cast<std::size_t>(n)))) {
      out = (curve.Name.empty() ? "Data " + std::to_string(slot + 1) : curve.Name) + ": " + std::to_string(n) +
            (n == 1 ? " sample" : " samples") + ", peak ";
      AppendFixed(out, peak->Value, 3);
      // The slip with the decimals it needs, at most six.
      std::string slip = FixedText(peak->Index * curve.Step, 6);
      while (slip.size() > 1 && slip.back() == '0' && slip[slip.size() - 2] != '.') slip.pop_back();
      out += " @ slip " + slip + " (sample " + std::to_string(peak->Index) + ")";
    }
    return out;
  }
  const EnginePeaks peaks = PeaksOf(doc.Engine, doc.RowCount);
  const EnginePeaks other = compared ? PeaksOf(compared->Curve, compared->Curve.EngineRowCount) : EnginePeaks{};
  if (peaks.Torque) {
    const double shown = ShownTorque(peaks.Torque->Value, units.Torque);
    AppendPeak(out, "Peak torque ", shown, UnitName(units.Torque), doc.Engine.Rpm[peaks.Torque->Index]);
    if (other.Torque) AppendDifference(out, shown - ShownTorque(other.Torque->Value, units.Torque));
  }
  if (peaks.Power) {
    out += "   ";
    const double shown = ShownPower(peaks.Power->Value, units.Power);
    AppendPeak(out, "Peak power ", shown, UnitName(units.Power), doc.Engine.Rpm[peaks.Power->Index]);
    if (other.Power) AppendDifference(out, shown - ShownPower(other.Power->Value, units.Power));
  }
  return out;
}

std::string PeakLabel(const DisplayUnits& units, const Peak& peak, bool power) {
  std::string out = FixedText(power ? ShownPower(peak.Value, units.Power) : ShownTorque(peak.Value, units.Torque),
                              EngineDecimals);
  out += ' ';
  out += power ? UnitName(units.Power) : UnitName(units.Torque);
  return out;
}

std::optional<Peak> SlipPeak(const EditorDocument& doc, int pointCount) {
  if (doc.Mode != FileMode::Tire) return std::nullopt;
  const SlipCurve& curve = doc.SlipCurves[std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1)];
  const int n = std::clamp(std::min({curve.SampleCount, doc.RowCount, pointCount}), 0, MaxSlipSamples);
  return PeakOf(std::span(curve.Samples).first(static_cast<std::size_t>(n)));
}

ChartFrame FrameOf(const EditorDocument& doc, const DynoView& dyno, const ChartLayout& chart) {
  ChartFrame frame{chart.AxisMin, chart.AxisMax, chart.PlotHeight};
  if (!dyno.ShowPeaks) return frame;
  if (doc.Mode == FileMode::Tire) {
    // The slip curve's peak mark moves like the engine's torque mark.
    if (const std::optional<Peak> peak = SlipPeak(doc, chart.PointCount)) {
      frame.TorquePeak = peak->Index;
      frame.TorquePeakY = chart.SlipY[peak->Index];
    }
    return frame;
  }
  const EnginePeaks peaks = PeaksOf(doc.Engine, chart.PointCount);
  if (peaks.Torque) frame.TorquePeak = peaks.Torque->Index, frame.TorquePeakY = chart.TorqueY[peaks.Torque->Index];
  if (peaks.Power) frame.PowerPeak = peaks.Power->Index, frame.PowerPeakY = chart.PowerY[peaks.Power->Index];
  return frame;
}

namespace {

// The value box holds a number in the old units.
void ShowInNewUnits(EditorState& st) {
  ResetInteraction(st.Ui, st.Host);
  st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
}

}  // namespace

void ShowPeaksCommand(EditorState& st) {
  st.Session.Dyno.ShowPeaks = !st.Session.Dyno.ShowPeaks;
  RepaintChart(st.Host, st.View);
}

void TorqueUnitCommand(EditorState& st, TorqueUnit unit) {
  st.Session.Dyno.Units.Torque = unit;
  ShowInNewUnits(st);
}

void PowerUnitCommand(EditorState& st, PowerUnit unit) {
  st.Session.Dyno.Units.Power = unit;
  ShowInNewUnits(st);
}

void ClearComparisonCommand(EditorState& st) {
  st.Session.Dyno.Comparison.reset();
  RepaintChart(st.Host, st.View);
}

void SetComparison(DynoView& dyno, EditorHost& host, const ViewState& view,
                   std::shared_ptr<const ComparedCurve> curve) {
  dyno.Comparison = std::move(curve);
  // Its points may stretch the value axis: everything is repainted.
  host.Invalidate(view.ClientFrom(0, 0), false);
}

void RememberSavedCurve(DynoView& dyno, const EditorDocument& doc) {
  auto saved = std::make_shared<ComparedCurve>();
  saved->Curve = doc.Engine;
  saved->Title = doc.EngineFile.Title + " (saved)";
  dyno.Saved = std::move(saved);
}

void ForgetComparisons(DynoView& dyno, EditorHost& host, const ViewState& view) {
  if (dyno.Comparison) host.Invalidate(view.ClientFrom(0, 0), false);
  dyno.Comparison.reset();
  dyno.Saved.reset();
}

}  // namespace dyno
