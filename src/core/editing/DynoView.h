#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/document/Units.h"

namespace dyno {

struct ChartLayout;
struct ComparedCurve;
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
// length and peak: "Lat: 60 samples, peak 1.000 @ slip 0.0225 (sample 15)". Empty while there is no row. With a compared engine curve, each
// peak is followed by how much it differs from the compared curve's peak,
// in the units shown: "Peak torque 431.2 N-m @ 6000 RPM (+11.3)".
std::string PeakReadout(const EditorDocument& doc, const DisplayUnits& units,
                        const ComparedCurve* compared = nullptr);

// A difference with its sign, as the table rounds it: "+11.3", "-7.0",
// "+0.0" (never "-0.0").
std::string SignedDifference(double difference);

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

// The View menu's own commands: Show Peaks, the torque and power units and
// Clear Comparison. A change of units lets go of anything shown in the old
// ones (the value box empties); the window is repainted.
void ShowPeaksCommand(EditorState& st);
void TorqueUnitCommand(EditorState& st, TorqueUnit unit);
void PowerUnitCommand(EditorState& st, PowerUnit unit);
void ClearComparisonCommand(EditorState& st);

// Draws curve behind the document's (nothing clears it).
void SetComparison(DynoView& dyno, EditorHost& host, const ViewState& view,
                   std::shared_ptr<const ComparedCurve> curve);

// The document's engine curve as it is now is the file's as last opened or
// saved: Compare With Saved shows it, named after the file.
void RememberSavedCurve(DynoView& dyno, const EditorDocument& doc);

// Another file replaced the document: no comparison, nothing saved to
// compare with.
void ForgetComparisons(DynoView& dyno, EditorHost& host, const ViewState& view);

}  // namespace dyno
