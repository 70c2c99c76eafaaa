#pragma once

#include <array>

#include "document/EditorHost.h"
#include "document/Limits.h"

namespace dyno {

// An x range [left, right) of a table column.
struct ColumnSpan {
  int left = 0;
  int right = 0;

  friend bool operator==(const ColumnSpan&, const ColumnSpan&) = default;
};

// Chart geometry, value axis and pixel arrays. Recomputed at every paint;
// the mouse handlers and the timer read it between paints.
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

  std::array<int, MaxEngineRows> PointX{};
  std::array<int, MaxEngineRows> TorqueY{};
  std::array<int, MaxEngineRows> PowerY{};
  std::array<int, MaxEngineRows> CompressionY{};
  std::array<int, MaxSlipSamples> SlipY{};

  int PickHalfWidth = 10;

  Rect UpButtonRect{356, 1, 379, 13};
  Rect DownButtonRect{356, 13, 379, 25};
  ColumnSpan CompressionColumn{61, 161};
  ColumnSpan TorqueColumn{161, 221};
  std::array<int, 5> DataColumnX{36, 96, 156, 216, 275};
};

}  // namespace dyno
