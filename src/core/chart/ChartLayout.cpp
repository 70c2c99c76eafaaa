#include "core/chart/ChartLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/chart/ChartGeometry.h"
#include "core/chart/ViewState.h"
#include "core/document/EditorSession.h"
#include "core/document/Units.h"

namespace dyno {

// The pixel arrays serve engine rows and slip samples alike.
static_assert(MaxEngineRows == MaxSlipSamples);

namespace {

// Grid steps the axis may take, smallest first.
constexpr double StepLadder[] = {0.001, 0.002, 0.005, 0.01,  0.02,  0.05,  0.1,    0.2,    0.5,
                                 1,     2,     5,     10,    20,    50,    100,    200,    500,
                                 1000,  2000,  5000,  10000, 20000, 50000, 100000, 200000, 500000};

// The third of a step that the axis keeps as headroom, in extended precision.
constexpr long double Third = 1.0L / 3.0L;

// The largest client size the layout takes seriously; keeps every pixel sum
// of the layout well inside int.
constexpr int MaxClientSize = 1 << 24;

// A data value as the axis sees it: NaN is left out (every comparison with
// it fails), values beyond AxisValueLimit count as the limit.
double AxisValue(double v) { return std::isnan(v) ? v : std::clamp(v, -AxisValueLimit, AxisValueLimit); }

// The start of both axis computations: remember the ends, begin from the
// given ones.
void StartAxis(ChartLayout& c, double max, double min) {
  c.PrevAxisMin = c.AxisMin;
  c.PrevAxisMax = c.AxisMax;
  c.AxisMax = max;
  c.AxisMin = min;
  c.GridDivisions = 16;
}

// The refit of both axis computations: halve the divisions and choose again
// when the axis came out at most one unit high, and again, one step wider,
// when the span holds more than 16 steps.
void FitAxis(ChartLayout& c) {
  ChooseAxisStep(c);
  AlignAxisToStep(c);
  if (c.AxisRange <= 1.0) {
    c.GridDivisions = c.GridDivisions / 2;
    ChooseAxisStep(c);
    AlignAxisToStep(c);
  }
  if (c.AxisSpan / c.AxisStep > 16.0) {
    c.GridDivisions = c.GridDivisions / 2;
    c.AxisMax = c.AxisMax + c.AxisStep;
    c.AxisMin = c.AxisMin - c.AxisStep;
    ChooseAxisStep(c);
    AlignAxisToStep(c);
  }
  if (c.AxisMin != c.PrevAxisMin || c.AxisMax != c.PrevAxisMax) c.ScaleChanged = true;
}

}  // namespace

int TruncToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

int LabelStepFor(int rowCount) {
  int step = 1;
  if (rowCount > 21) step = 2;
  if (rowCount > 50) step = 5;
  if (rowCount >= 77) step = (rowCount / 77) * 7;
  return step;
}

ClientSize MinimumClientSize() {
  // Points i * PlotWidth div (n - 1) apart: labels every LabelStep points
  // stand at least LabelStep * PlotWidth / (n - 1) pixels apart, truncated.
  int plotWidth = 0;
  for (int n = 2; n <= MaxEngineRows; ++n) {
    const int step = LabelStepFor(n);
    plotWidth = std::max(plotWidth, (RpmLabelPitch * (n - 1) + step - 1) / step);
  }
  // The plot's height from the axis base to its top is never less than
  // from the axis base to PlotTopRow.
  const int plotHeight = MaxAxisDivisions * ValueLabelPitch;
  const int width = TableWidth + PlotLeftGap + GridInset + plotWidth + GridInset + PlotRightMargin;
  const int height = std::max(PlotTopRow + plotHeight + GridInset + PlotBottomMargin,
                              TableTop + MinVisibleRows * RowHeight);
  return {width, height};
}

void ChooseAxisStep(ChartLayout& c) {
  if (c.AxisMax == c.AxisMin) {
    c.AxisMax += 1.0;
    c.AxisMin -= 1.0;
  }
  if (c.GridDivisions < 9) c.GridDivisions *= 2;
  if (c.GridDivisions == 0) c.GridDivisions = 1;
  c.AxisSpan = c.AxisMax - c.AxisMin;
  c.AxisStep = c.AxisSpan / c.GridDivisions;
  if (c.AxisStep <= StepLadder[0]) {
    c.AxisStep = StepLadder[0];
  } else {
    for (double rung : StepLadder) {
      if (rung >= c.AxisStep) {
        c.AxisStep = rung;
        break;
      }
    }
  }
  c.GridDivisions = TruncToInt32(c.AxisSpan / c.AxisStep + 1.0);
}

void AlignAxisToStep(ChartLayout& c) {
  const double rawMax = c.AxisMax;
  const double rawMin = c.AxisMin;
  const double step = c.AxisStep;
  c.AxisMax = TruncToInt32((c.AxisMax + step) / step) * step;
  if (c.AxisMax - step >= rawMax) c.AxisMax -= step;
  if (static_cast<long double>(rawMax) + step * Third >= c.AxisMax) c.AxisMax += step;
  c.AxisMin = TruncToInt32((c.AxisMin - step) / step) * step;
  if (c.AxisMin + step <= rawMin) c.AxisMin += step;
  if (static_cast<long double>(rawMin) - step * Third <= c.AxisMin) c.AxisMin -= step;
  c.AxisRange = c.AxisMax - c.AxisMin;
  if (c.AxisRange < 1.0) c.AxisRange = 1.0;
}

void ComputeEngineAxis(ChartLayout& c, const EditorDocument& doc, const DynoView& dyno) {
  StartAxis(c, 0.0, 1400000.0);
  const double torqueScale = TorqueScale(dyno.Units.Torque);
  const double powerScale = PowerScale(dyno.Units.Power);
  const int n = std::clamp(doc.RowCount, 0, MaxEngineRows);
  const EngineCurve& e = doc.Engine;
  for (int i = 0; i < n; ++i) {
    const double power = AxisValue(e.Power[i] * powerScale);
    const double compression = AxisValue(e.Compression[i] * torqueScale);
    const double torque = AxisValue(e.Torque[i] * torqueScale);
    // Compression never raises the maximum.
    if (power > c.AxisMax) c.AxisMax = power;
    if (compression < c.AxisMin) c.AxisMin = compression;
    if (power < c.AxisMin) c.AxisMin = power;
    if (torque < c.AxisMin) c.AxisMin = torque;
    if (torque > c.AxisMax) c.AxisMax = torque;
  }
  if (const ComparedCurve* compared = dyno.Comparison.get()) {
    // The compared curves are drawn on the same axis: it covers them too.
    const EngineCurve& k = compared->Curve;
    for (int i = 0; i < std::clamp(k.EngineRowCount, 0, MaxEngineRows); ++i) {
      for (const double v : {AxisValue(k.Power[i] * powerScale), AxisValue(k.Torque[i] * torqueScale)}) {
        if (v > c.AxisMax) c.AxisMax = v;
        if (v < c.AxisMin) c.AxisMin = v;
      }
    }
  }
  FitAxis(c);
}

void ComputeTireAxis(ChartLayout& c, const EditorDocument& doc, const DynoView& dyno) {
  StartAxis(c, 1.0, 0.0);
  const int n = std::clamp(doc.RowCount, 0, MaxSlipSamples);
  const auto cover = [&](double v) {
    const double s = AxisValue(v);
    if (s > c.AxisMax) c.AxisMax = s;
    if (s < c.AxisMin) c.AxisMin = s;
  };
  for (int i = 0; i < n; ++i) {
    // All four slots, whether they hold a curve or not.
    for (const SlipCurve& curve : doc.SlipCurves) cover(curve.Samples[i]);
  }
  if (const ComparedSlipCurves* compared = dyno.TireComparison.get()) {
    // Every compared slot, so that the scale stays as the charted slot changes.
    for (int k = 0; k < std::clamp(compared->Count, 0, SlipCurveSlots); ++k) {
      const SlipCurve& curve = compared->Curves[static_cast<std::size_t>(k)];
      for (int i = 0; i < std::min(std::clamp(curve.SampleCount, 0, MaxSlipSamples), n); ++i) cover(curve.Samples[i]);
    }
  }
  FitAxis(c);
}

int SlipSampleX(const ChartLayout& c, int pointCount, const SlipCurve& charted, const SlipCurve& curve, int j,
                bool slipAxis) {
  const int n = std::max(pointCount, 2);
  // On the slip axis a sample lies at its slip in the charted curve's steps.
  const long double ratio = slipAxis && HasSlipStep(charted) && HasSlipStep(curve)
                                ? static_cast<long double>(curve.Step) / charted.Step
                                : 1.0L;
  if (ratio == 1.0L) {
    return c.GridLeft + static_cast<int>(static_cast<std::int64_t>(j) * c.PlotWidth / (n - 1));
  }
  return TruncToInt32(static_cast<double>(c.GridLeft + j * ratio * c.PlotWidth / (n - 1)));
}

int SlipLabelStep(int pointCount, int plotWidth, int labelWidth) {
  const long double pitch = static_cast<long double>(std::max(plotWidth, 0)) / std::max(pointCount - 1, 1);
  for (const int step : {1, 2, 5, 10, 20, 50, 100, 200}) {
    if (step * pitch >= labelWidth + 6) return step;
  }
  return 500;
}

int SlipLabelDecimals(double step) {
  for (int decimals = 1; decimals < 5; ++decimals) {
    const double scaled = std::abs(step) * std::pow(10.0, decimals);
    if (std::abs(scaled - std::round(scaled)) <= 1e-6 * std::max(scaled, 1.0)) return decimals;
  }
  return 5;
}

namespace {

// Tire mode's curves besides the charted one: the compared curve of its
// slot and, with all curves shown, the other slots' own samples.
void LayOutSlipCurves(ChartLayout& c, const EditorDocument& doc, const DynoView& dyno, const SlipCurve& charted) {
  const int n = c.PointCount;
  const auto place = [&](const SlipCurve& curve, int count, std::span<int> xs, std::span<int> ys) {
    for (int j = 0; j < count; ++j) {
      xs[static_cast<std::size_t>(j)] = SlipSampleX(c, n, charted, curve, j, dyno.SlipAxis);
      ys[static_cast<std::size_t>(j)] = MapValueToY(c, curve.Samples[static_cast<std::size_t>(j)]);
    }
  };
  if (const SlipCurve* compared = ComparedSlipCurve(doc, dyno)) {
    const int m = std::clamp(compared->SampleCount, 0, MaxSlipSamples);
    place(*compared, m, c.CompareX, c.CompareSlipY);
    c.ComparePointCount = m;
  }
  if (!dyno.AllSlipCurves) return;
  const int current = std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1);
  for (int k = 0; k < std::clamp(doc.SlipCurveCount, 0, SlipCurveSlots); ++k) {
    if (k == current) continue;
    const auto slot = static_cast<std::size_t>(k);
    const SlipCurve& curve = doc.SlipCurves[slot];
    const int m = std::clamp(std::min(curve.SampleCount, doc.RowCount), 0, MaxSlipSamples);
    place(curve, m, c.SlipCurveX[slot], c.SlipCurveY[slot]);
    c.SlipCurvePoints[slot] = m;
  }
}

}  // namespace

void ComputeChartLayout(ChartLayout& c, const EditorDocument& doc, const DynoView& dyno, int right, int bottom) {
  right = std::clamp(right, 0, MaxClientSize);
  bottom = std::clamp(bottom, 0, MaxClientSize);

  c.CompressionColumn = CompressionColumnSpan;
  c.TorqueColumn = TorqueColumnSpan;
  c.DataColumnX = TireDataColumnX;
  c.UpButtonRect = UpButtonHitRect;
  c.DownButtonRect = DownButtonHitRect;

  const int n = std::clamp(doc.RowCount, 0, MaxEngineRows);
  c.LabelStep = LabelStepFor(n);

  c.PlotLeft = TableWidth + PlotLeftGap;
  c.PlotTop = PlotTopRow;
  c.PlotRight = right - PlotRightMargin;
  c.PlotBottom = bottom - PlotBottomMargin;
  c.GridLeft = c.PlotLeft + GridInset;
  c.GridRight = c.PlotRight - GridInset;
  c.AxisBaseY = c.PlotBottom - GridInset;
  // Twelve pixel rows per division at most: lift the top to a multiple.
  const int h = c.AxisBaseY - c.PlotTop;
  c.PlotTop -= h % 12;

  if (n < 2) {
    // Nothing to fit: the frame spans the whole height and stays empty.
    c.GridTop = c.PlotTop;
  } else {
    if (doc.Mode == FileMode::Tire) {
      ComputeTireAxis(c, doc, dyno);
    } else {
      ComputeEngineAxis(c, doc, dyno);
    }
    c.GridTop = TruncToInt32(c.AxisBaseY - (c.AxisMax - c.AxisMin) * (c.AxisBaseY - c.PlotTop) / c.AxisRange);
  }
  c.PlotTop = c.GridTop - 2;
  c.PlotWidth = c.GridRight - c.GridLeft;
  c.PlotHeight = c.AxisBaseY - c.GridTop;

  c.SlipCurvePoints.fill(0);
  if (n < 2) {
    c.PointCount = 0;
    c.ComparePointCount = 0;
    // A lone point sits at the left end, so the plot never counts as hit.
    c.PointX[0] = c.GridLeft;
    return;
  }

  c.PointCount = n;
  const EngineCurve& e = doc.Engine;
  const SlipCurve& slip = doc.SlipCurves[std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1)];
  const double torqueScale = TorqueScale(dyno.Units.Torque);
  const double powerScale = PowerScale(dyno.Units.Power);
  for (int i = 0; i < n; ++i) {
    c.PointX[i] = c.GridLeft + static_cast<int>(static_cast<std::int64_t>(i) * c.PlotWidth / (n - 1));
    c.TorqueY[i] = MapValueToY(c, e.Torque[i] * torqueScale);
    c.PowerY[i] = MapValueToY(c, e.Power[i] * powerScale);
    c.CompressionY[i] = MapValueToY(c, e.Compression[i] * torqueScale);
    c.SlipY[i] = MapValueToY(c, slip.Samples[i]);
  }
  c.ComparePointCount = 0;
  if (const ComparedCurve* compared = dyno.Comparison.get(); compared && doc.Mode != FileMode::Tire) {
    const EngineCurve& k = compared->Curve;
    const int m = std::clamp(k.EngineRowCount, 0, MaxEngineRows);
    const auto rows = static_cast<std::size_t>(n);
    RpmsToX(std::span(e.Rpm).first(rows), std::span(c.PointX).first(rows),
            std::span(k.Rpm).first(static_cast<std::size_t>(m)), c.CompareX);
    for (int j = 0; j < m; ++j) {
      c.CompareTorqueY[j] = MapValueToY(c, k.Torque[j] * torqueScale);
      c.ComparePowerY[j] = MapValueToY(c, k.Power[j] * powerScale);
    }
    c.ComparePointCount = m;
  }
  if (doc.Mode == FileMode::Tire) LayOutSlipCurves(c, doc, dyno, slip);
  // With two points there is no third to measure against: use the one gap.
  const int gap = n > 2 ? c.PointX[2] - c.PointX[1] : c.PointX[1] - c.PointX[0];
  c.PickHalfWidth = std::max(gap / 2, 1);
}

void ComputeChartLayout(ViewState& view, ChartLayout& chart, const EditorDocument& doc, const DynoView& dyno,
                        int clientWidth, int clientHeight) {
  clientWidth = std::clamp(clientWidth, 0, MaxClientSize);
  clientHeight = std::clamp(clientHeight, 0, MaxClientSize);
  view.ScreenWidth = clientWidth + 1;
  view.ScreenHeight = clientHeight + 1;
  ComputeChartLayout(chart, doc, dyno, clientWidth, clientHeight);
}

void RpmsToX(std::span<const double> rpm, std::span<const int> pointX, std::span<const double> values,
             std::span<int> xs) {
  const std::size_t n = std::min(rpm.size(), pointX.size());
  bool rising = n >= 2;
  for (std::size_t i = 1; i < n && rising; ++i) rising = rpm[i] > rpm[i - 1];
  const bool spread = !rising && n >= 2 && rpm[n - 1] != rpm[0] && std::isfinite(rpm[n - 1] - rpm[0]);
  const auto end = rpm.begin() + static_cast<std::ptrdiff_t>(n);
  for (std::size_t j = 0; j < std::min(values.size(), xs.size()); ++j) {
    const double value = values[j];
    long double x = n > 0 ? pointX[0] : 0;
    if (rising && std::isfinite(value)) {
      // The segment around value; the end segments reach beyond the ends.
      const auto above = static_cast<std::size_t>(std::upper_bound(rpm.begin(), end, value) - rpm.begin());
      const std::size_t k = std::clamp<std::size_t>(above, 1, n - 1);
      const long double from = rpm[k - 1];
      x = pointX[k - 1] + (value - from) * (pointX[k] - pointX[k - 1]) / (rpm[k] - from);
    } else if (spread && std::isfinite(value)) {
      x = pointX[0] + (value - rpm[0]) * (pointX[n - 1] - pointX[0]) / (static_cast<long double>(rpm[n - 1]) - rpm[0]);
    }
    xs[j] = TruncToInt32(static_cast<double>(x));
  }
}

int MapValueToY(const ChartLayout& c, double v) {
  return TruncToInt32(c.AxisBaseY - (v - c.AxisMin) * c.PlotHeight / c.AxisRange);
}

std::optional<double> MapYToValue(const ChartLayout& c, int y) {
  if (c.PlotHeight <= 0) return std::nullopt;
  return c.AxisMin + (static_cast<double>(c.AxisBaseY) - y) * c.AxisRange / c.PlotHeight;
}

int FirstEngineGridValue(const ChartLayout& c) { return TruncToInt32(c.AxisMin); }

bool NextEngineGridValue(const ChartLayout& c, int& v) {
  // A step below 1 would not move trunc(v + step) off v: go up by one then.
  int next = TruncToInt32(v + c.AxisStep);
  if (next <= v) {
    if (v == std::numeric_limits<int>::max()) return false;
    next = v + 1;
  }
  v = next;
  return v <= c.AxisMax;
}

bool NextTireGridValue(const ChartLayout& c, double& d) {
  double next = d + c.AxisStep;
  if (!(next > d)) return false;
  // Steps summed from below zero land a hair off it: the line is at zero,
  // and its label reads "0.00", never "-0.00".
  if (std::abs(next) < c.AxisStep * 1e-9) next = 0.0;
  d = next;
  return d <= c.AxisMax;
}

}  // namespace dyno
