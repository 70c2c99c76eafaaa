#pragma once

#include <array>
#include <optional>
#include <span>

#include "core/chart/Pixels.h"
#include "core/document/Limits.h"

namespace dyno {

struct DynoView;
struct EditorDocument;
struct SlipCurve;
struct ViewState;

// Chart geometry, value axis and pixel arrays. Recomputed when the client
// size or the data change; painting, the mouse handlers and the timer read it.
struct ChartLayout {
  int PlotLeft = 0;
  int PlotTop = 0;
  int PlotRight = 0;
  int PlotBottom = 0;
  int GridLeft = 0;
  int GridRight = 0;
  int GridTop = 0;
  int AxisBaseY = 0;  // pixel row of AxisMin
  int PlotWidth = 0;
  int PlotHeight = 0;

  double AxisMin = 0.0;
  double AxisMax = 0.0;
  double AxisStep = 0.0;
  double AxisRange = 1.0;  // never below 1.0
  double AxisSpan = 0.0;
  int GridDivisions = 16;
  double PrevAxisMin = 0.0;
  double PrevAxisMax = 0.0;
  bool ScaleChanged = false;  // an axis end moved; the timer repaints the chart
  int LabelStep = 1;

  // Points the pixel arrays were filled for at the last layout: RowCount, or 0
  // when fewer than two points left nothing to fit. Entries beyond are stale.
  int PointCount = 0;
  std::array<int, MaxEngineRows> PointX{};
  std::array<int, MaxEngineRows> TorqueY{};
  std::array<int, MaxEngineRows> PowerY{};
  std::array<int, MaxEngineRows> CompressionY{};
  std::array<int, MaxSlipSamples> SlipY{};

  // The compared curve of the engine modes, placed by its RPM on the RPM
  // axis of the document's rows: points filled at the last layout (0 when
  // there is none to draw), their pixel x and the rows of torque and power.
  // In Tire mode, the compared slip curve, placed by its sample (or its
  // slip, on the slip axis), with its rows in CompareSlipY.
  int ComparePointCount = 0;
  std::array<int, MaxEngineRows> CompareX{};
  std::array<int, MaxEngineRows> CompareTorqueY{};
  std::array<int, MaxEngineRows> ComparePowerY{};
  std::array<int, MaxSlipSamples> CompareSlipY{};

  // Tire mode with all slip curves shown: each other slot's own samples,
  // placed as the compared slip curve is (0 points: not drawn). The charted
  // slot is PointX and SlipY.
  std::array<int, SlipCurveSlots> SlipCurvePoints{};
  std::array<std::array<int, MaxSlipSamples>, SlipCurveSlots> SlipCurveX{};
  std::array<std::array<int, MaxSlipSamples>, SlipCurveSlots> SlipCurveY{};

  int PickHalfWidth = 10;

  Rect UpButtonRect{356, 1, 379, 13};
  Rect DownButtonRect{356, 13, 379, 25};
  ColumnSpan CompressionColumn{61, 161};
  ColumnSpan TorqueColumn{161, 221};
  std::array<int, 5> DataColumnX{36, 96, 156, 216, 275};
};

// Where the plot lies in the client area: its left edge this far right of
// the table, its top on this row before the axis lifts it, and these margins
// to the right and bottom edges, which hold the right value labels and the
// RPM labels. The first and last points lie GridInset inside.
inline constexpr int PlotLeftGap = 67;
inline constexpr int PlotTopRow = 46;
inline constexpr int PlotRightMargin = 45;
inline constexpr int PlotBottomMargin = 55;
inline constexpr int GridInset = 3;

// The most grid divisions a fitted value axis has: sixteen asked for, and
// the headroom beyond the data at each end.
inline constexpr int MaxAxisDivisions = 18;
// The room one axis label needs so that it reads apart from its
// neighbours: the RPM labels, written downwards, a digit's width (8.8
// pixels in the label font) and two pixels side by side; the value labels
// the label font's cell height above each other.
inline constexpr int RpmLabelPitch = 11;
inline constexpr int ValueLabelPitch = 12;

struct ClientSize {
  int width = 0;
  int height = 0;
};

// The smallest client area at which the table, the header bar with the
// value box and the chart keep apart and every axis label stays readable:
// the plot wide enough that the RPM labels of any row count stand apart,
// and high enough for the most grid divisions the axis takes.
ClientSize MinimumClientSize();

// Values beyond this size count as this size when the value axis is fitted,
// so a wild value typed by the user leaves the axis finite and its integer
// grid labels exact; such a point is drawn beyond the plot's edge instead.
inline constexpr double AxisValueLimit = 1e9;

// Truncation toward zero into the 32-bit range: values beyond it (and the
// infinities) saturate, NaN gives 0.
int TruncToInt32(double v);

// Points between two vertical grid lines for a chart of rowCount points.
int LabelStepFor(int rowCount);

// Rounds AxisStep up to the step ladder and recounts GridDivisions.
void ChooseAxisStep(ChartLayout& chart);
// Puts both axis ends on multiples of AxisStep with at least a third of a
// step of headroom beyond the data, and sets AxisRange.
void AlignAxisToStep(ChartLayout& chart);
// The value axis over torque, power and compression (Engine, Upgrade), in the
// units shown, and over the compared torque and power while there is a
// comparison.
void ComputeEngineAxis(ChartLayout& chart, const EditorDocument& doc, const DynoView& dyno);
// The value axis over all four slip curves; it always includes 0 and 1. A
// compared tire file's curves count as far as they lie on the plot.
void ComputeTireAxis(ChartLayout& chart, const EditorDocument& doc, const DynoView& dyno);

// Pixel x of sample j of curve, on the x axis of the charted curve drawn
// over pointCount points from GridLeft to GridRight: by sample number, or
// by slip (sample x Step) when slipAxis is on and both curves have a step.
// Samples beyond the charted curve's last lie beyond GridRight.
int SlipSampleX(const ChartLayout& chart, int pointCount, const SlipCurve& charted, const SlipCurve& curve, int j,
                bool slipAxis);

// Samples between two labelled grid lines of the slip axis: the smallest of
// 1, 2, 5, 10, 20, 50... whose labels, labelWidth pixels wide, stand apart
// on a plot plotWidth wide over pointCount points.
int SlipLabelStep(int pointCount, int plotWidth, int labelWidth);
// The decimals a slip axis label needs to show multiples of step: those of
// step itself, at most five.
int SlipLabelDecimals(double step);

// The whole chart layout for a client area of right x bottom pixels: plot
// rectangle, value axis, pixel arrays, pick box, label step and the stored
// columns and button rectangles. With fewer than two points nothing is
// fitted: the axis stays as it was and PointCount is 0.
void ComputeChartLayout(ChartLayout& chart, const EditorDocument& doc, const DynoView& dyno, int right, int bottom);
// The same for the editor's view, after taking ScreenWidth and ScreenHeight
// from the client size.
void ComputeChartLayout(ViewState& view, ChartLayout& chart, const EditorDocument& doc, const DynoView& dyno,
                        int clientWidth, int clientHeight);

// Pixel x of each RPM of values on the RPM axis of rows rpm, whose points lie
// at pointX: between the two rows around it in proportion, beyond the ends
// at the pace of the end rows. Rows whose RPM does not rise from one to the
// next are taken as spread evenly from the first RPM to the last instead.
void RpmsToX(std::span<const double> rpm, std::span<const int> pointX, std::span<const double> values,
             std::span<int> xs);

// Pixel row of value v on the fitted axis.
int MapValueToY(const ChartLayout& chart, double v);
// Value at pixel row y; nothing while the plot has no height.
std::optional<double> MapYToValue(const ChartLayout& chart, int y);

// The horizontal grid of the engine view: integer values from trunc(AxisMin)
// on, each step trunc(v + AxisStep) but at least one up. NextEngineGridValue
// gives false when v cannot advance within the 32-bit range or has passed
// AxisMax.
int FirstEngineGridValue(const ChartLayout& chart);
bool NextEngineGridValue(const ChartLayout& chart, int& v);
// The horizontal grid of the tire view: AxisStep accumulated from AxisMin;
// false when d has passed AxisMax or the step no longer changes it. A value
// a hair off zero is zero.
bool NextTireGridValue(const ChartLayout& chart, double& d);
// A bound on the grid lines of one paint, whatever the axis holds.
inline constexpr int MaxGridLines = 1000;

}  // namespace dyno
