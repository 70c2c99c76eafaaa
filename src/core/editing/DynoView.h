#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/document/Units.h"

namespace dyno {

struct ChartLayout;
struct ComparedCurve;
struct ComparedSlipCurves;
struct SlipCurve;
struct DynoView;
struct EditorDocument;
struct EditorState;
class EditorHost;
struct ViewState;
struct Peak;

// The status bar's readout of the curve shown: the peak torque and peak
// power with their RPM in the engine modes ("Peak torque 433.0 N-m @ 6500
// RPM   Peak power 450.0 HP @ 8000 RPM"), values with the table's
// decimals, in the units shown; in Tire mode the charted slip curve's name,
// length and peak: "Lat: 60 samples, peak 1.000 @ slip 0.0225 (sample
// 15)". Empty while there is no row. With a compared engine curve, each
// peak is followed by how much it differs from the compared curve's peak,
// in the units shown: "Peak torque 431.2 N-m @ 6000 RPM (+11.3)"; with a
// compared slip curve, the slip peak is: "peak 1.000 (+0.012) @ slip".
std::string PeakReadout(const EditorDocument& doc, const DisplayUnits& units,
                        const ComparedCurve* compared = nullptr, const SlipCurve* comparedSlip = nullptr);
// The readout with the comparison of the mode shown.
std::string PeakReadout(const EditorDocument& doc, const DynoView& dyno);

// The decimals of a slip curve's peak in the readout and on the chart.
inline constexpr int SlipPeakDecimals = 3;

// A difference with its sign, rounded to decimals: "+11.3", "-7.0", "+0.0"
// (never "-0.0").
std::string SignedDifference(double difference, int decimals = EngineDecimals);

// Where sample index of curve lies, as the hover tip names it: "slip
// 0.0475" on the slip axis (when the curve has a step), else "sample 19".
std::string SlipPosition(const SlipCurve& curve, int index, bool slipAxis);
// The compared curve's value where sample index of the charted curve lies:
// its sample of that number, or on the slip axis its value at that slip,
// between its two samples around it. None beyond its samples.
std::optional<double> ComparedSlipSample(const SlipCurve& charted, const SlipCurve& compared, int index, bool slipAxis);

// The label of a peak mark on the chart: "433.0 N-m", "450.0 HP".
std::string PeakLabel(const DisplayUnits& units, const Peak& peak, bool power);

// What the whole plot depends on beyond the points an edit repaints: the
// value axis and, while they are marked, where the peaks are. A paint that
// finds it changed since the last one must paint the whole chart again.
struct ChartFrame {
  double AxisMin = 0.0;
  double AxisMax = 0.0;
  int PlotHeight = 0;
  int TorquePeak = -1;  // row of the marked peak torque; -1: none marked
  int TorquePeakY = 0;
  int PowerPeak = -1;
  int PowerPeakY = 0;

  friend bool operator==(const ChartFrame&, const ChartFrame&) = default;
};
ChartFrame FrameOf(const EditorDocument& doc, const DynoView& dyno, const ChartLayout& chart);

// The peak of the charted slip curve, over its own samples and the points
// the chart shows; none outside Tire mode.
std::optional<Peak> SlipPeak(const EditorDocument& doc, int pointCount);

// The View menu's own commands: Show Peaks, Slip Axis, Show All Slip
// Curves, the torque and power units and Clear Comparison (of the mode
// shown). A change of units lets go of anything shown in the old ones (the
// value box empties); the window is repainted.
void ShowPeaksCommand(EditorState& st);
void SlipAxisCommand(EditorState& st);
void AllSlipCurvesCommand(EditorState& st);
void TorqueUnitCommand(EditorState& st, TorqueUnit unit);
void PowerUnitCommand(EditorState& st, PowerUnit unit);
void ClearComparisonCommand(EditorState& st);

// Draws curve behind the document's engine curve, or curves' slot behind
// the charted slip curve (nothing clears it).
void SetComparison(DynoView& dyno, EditorHost& host, const ViewState& view,
                   std::shared_ptr<const ComparedCurve> curve);
void SetComparison(DynoView& dyno, EditorHost& host, const ViewState& view,
                   std::shared_ptr<const ComparedSlipCurves> curves);
// Compare With Saved: the data of the mode shown as last opened or saved.
void CompareWithSaved(EditorState& st);

// The document's engine curve (slip curves) as it is now is the file's as
// last opened or saved: Compare With Saved shows it, named after the file.
void RememberSavedCurve(DynoView& dyno, const EditorDocument& doc);
void RememberSavedSlipCurves(DynoView& dyno, const EditorDocument& doc);

// Another engine (tire) file replaced the document's: no comparison of its
// kind, nothing saved to compare with.
void ForgetComparisons(DynoView& dyno, EditorHost& host, const ViewState& view);
void ForgetSlipComparisons(DynoView& dyno, EditorHost& host, const ViewState& view);

}  // namespace dyno
