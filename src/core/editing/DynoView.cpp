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

void AppendDifference(std::string& out, double difference, int decimals = EngineDecimals) {
  out += " (" + SignedDifference(difference, decimals) + ")";
}

}  // namespace

std::string SignedDifference(double difference, int decimals) {
  std::string text = FixedText(difference, decimals);
  if (text.find_first_not_of("-0.") == std::string::npos) text.erase(0, text[0] == '-' ? 1 : 0);
  return text[0] == '-' ? text : "+" + text;
}

std::string SlipPosition(const SlipCurve& curve, int index, bool slipAxis) {
  if (slipAxis && HasSlipStep(curve)) return "slip " + TrimmedText(index * curve.Step);
  return "sample " + std::to_string(index);
}

std::optional<double> ComparedSlipSample(const SlipCurve& charted, const SlipCurve& compared, int index, bool slipAxis) {
  const int m = std::clamp(compared.SampleCount, 0, MaxSlipSamples);
  if (index < 0 || m == 0) return std::nullopt;
  if (!slipAxis || !HasSlipStep(charted) || !HasSlipStep(compared) || charted.Step == compared.Step) {
    if (index >= m) return std::nullopt;
    return compared.Samples[static_cast<std::size_t>(index)];
  }
  const double at = index * charted.Step / compared.Step;
  if (!(at <= m - 1)) return std::nullopt;
  const auto below = static_cast<std::size_t>(at);
  if (below + 1 >= static_cast<std::size_t>(m)) return compared.Samples[below];
  const double part = at - static_cast<double>(below);
  return compared.Samples[below] + part * (compared.Samples[below + 1] - compared.Samples[below]);
}

std::string PeakReadout(const EditorDocument& doc, const DynoView& dyno) {
  return PeakReadout(doc, dyno.Units, dyno.Comparison.get(), ComparedSlipCurve(doc, dyno));
}

std::string PeakReadout(const EditorDocument& doc, const DisplayUnits& units, const ComparedCurve* compared,
                        const SlipCurve* comparedSlip) {
  std::string out;
  if (doc.Mode == FileMode::Tire) {
    // The charted curve, its own samples only: "Lat: 60 samples, peak 1.000
    // @ slip 0.0225 (sample 15)".
    const int slot = std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1);
    const SlipCurve& curve = doc.SlipCurves[slot];
    const int n = std::clamp(std::min(curve.SampleCount, doc.RowCount), 0, MaxSlipSamples);
    if (const std::optional<Peak> peak = SlipPeak(doc, n)) {
      out = (curve.Name.empty() ? "Data " + std::to_string(slot + 1) : curve.Name) + ": " + std::to_string(n) +
            (n == 1 ? " sample" : " samples") + ", peak ";
      AppendFixed(out, peak->Value, SlipPeakDecimals);
      if (comparedSlip) {
        const int m = std::clamp(comparedSlip->SampleCount, 0, MaxSlipSamples);
        if (const std::optional<Peak> other = PeakOf(std::span(comparedSlip->Samples).first(static_cast<std::size_t>(m)))) {
          AppendDifference(out, peak->Value - other->Value, SlipPeakDecimals);
        }
      }
      out += " @ slip " + TrimmedText(peak->Index * curve.Step) + " (sample " + std::to_string(peak->Index) + ")";
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

void SlipAxisCommand(EditorState& st) {
  st.Session.Dyno.SlipAxis = !st.Session.Dyno.SlipAxis;
  // The tip names the point by the old axis.
  st.Ui.TipVisible = false;
  st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
}

void AllSlipCurvesCommand(EditorState& st) {
  st.Session.Dyno.AllSlipCurves = !st.Session.Dyno.AllSlipCurves;
  RepaintChart(st.Host, st.View);
}

void ClearComparisonCommand(EditorState& st) {
  // Only the comparison of the mode shown: the other one comes back with its mode.
  if (st.Doc.Mode == FileMode::Tire) {
    st.Session.Dyno.TireComparison.reset();
  } else {
    st.Session.Dyno.Comparison.reset();
  }
  st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
}

void SetComparison(DynoView& dyno, EditorHost& host, const ViewState& view,
                   std::shared_ptr<const ComparedCurve> curve) {
  dyno.Comparison = std::move(curve);
  // Its points may stretch the value axis: everything is repainted.
  host.Invalidate(view.ClientFrom(0, 0), false);
}

void SetComparison(DynoView& dyno, EditorHost& host, const ViewState& view,
                   std::shared_ptr<const ComparedSlipCurves> curves) {
  dyno.TireComparison = std::move(curves);
  host.Invalidate(view.ClientFrom(0, 0), false);
}

void CompareWithSaved(EditorState& st) {
  DynoView& dyno = st.Session.Dyno;
  if (st.Doc.Mode == FileMode::Tire) {
    if (dyno.TireSaved) SetComparison(dyno, st.Host, st.View, dyno.TireSaved);
  } else if (dyno.Saved) {
    SetComparison(dyno, st.Host, st.View, dyno.Saved);
  }
}

void RememberSavedCurve(DynoView& dyno, const EditorDocument& doc) {
  auto saved = std::make_shared<ComparedCurve>();
  saved->Curve = doc.Engine;
  saved->Title = doc.EngineFile.Title + " (saved)";
  dyno.Saved = std::move(saved);
}

void RememberSavedSlipCurves(DynoView& dyno, const EditorDocument& doc) {
  auto saved = std::make_shared<ComparedSlipCurves>();
  saved->Curves = doc.SlipCurves;
  saved->Count = doc.SlipCurveCount;
  saved->Title = doc.TireFile.Title + " (saved)";
  dyno.TireSaved = std::move(saved);
}

void ForgetComparisons(DynoView& dyno, EditorHost& host, const ViewState& view) {
  if (dyno.Comparison) host.Invalidate(view.ClientFrom(0, 0), false);
  dyno.Comparison.reset();
  dyno.Saved.reset();
}

void ForgetSlipComparisons(DynoView& dyno, EditorHost& host, const ViewState& view) {
  if (dyno.TireComparison) host.Invalidate(view.ClientFrom(0, 0), false);
  dyno.TireComparison.reset();
  dyno.TireSaved.reset();
}

}  // namespace dyno
