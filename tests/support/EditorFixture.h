#pragma once

#include <gtest/gtest.h>

#include "core/chart/ChartGeometry.h"
#include "core/chart/ChartLayout.h"
#include "core/editing/EditorState.h"
#include "core/editing/Mouse.h"
#include "core/editing/Timer.h"
#include "core/editing/ValueBox.h"
#include "core/files/NumberText.h"
#include "support/FakeHost.h"
#include "support/SampleCurves.h"
#include "support/WindowSteps.h"

namespace dyno::test {

// An editor core with a fake window whose value box notifies the core the
// way the real one does, laid out as a paint of an 800 x 600 client area
// would lay it out. Starts with the 41-row sample engine curve.
class EditorFixture : public ::testing::Test {
 protected:
  EditorFixture() {
    host.valueBoxChanged = [this] { ValueEditNotify(st, ValueEditCode::TextChanged); };
    FillSampleEngineCurve(st.Doc);
    Layout();
  }

  // What a paint of a width x height client area computes; forgets the
  // repaint requests made so far.
  void Layout(int width = 800, int height = 600) {
    ResizeView(st.View, width, height);
    ComputeChartLayout(st, width, height);
    host.invalidations.clear();
  }

  void Click(Point p) {
    EvLButtonDown(st, p);
    EvLButtonUp(st, p);
  }
  void DoubleClick(Point p) {
    Click(p);
    EvLButtonDblClk(st, p);
    EvLButtonUp(st, p);
  }

  // Pixels of engine points and slip samples, and of table cells.
  Point TorquePoint(int i) const { return {st.Chart.PointX[i], st.Chart.TorqueY[i]}; }
  Point CompressionPoint(int i) const { return {st.Chart.PointX[i], st.Chart.CompressionY[i]}; }
  Point SlipPoint(int i) const { return {st.Chart.PointX[i], st.Chart.SlipY[i]}; }
  // The middle of table line `line` (0-based from the top of the table).
  static int LineY(int line) { return TableLineTop(line) + RowHeight / 2; }
  static Point TorqueCell(int line) { return {190, LineY(line)}; }
  static Point CompressionCell(int line) { return {110, LineY(line)}; }
  static Point TireCell(int column, int line) { return {TireDataColumnX[column] + 30, LineY(line)}; }
  static Point TireHeader(int column) { return {TireDataColumnX[column] + 30, 12}; }
  static Point UpButton() { return {367, 7}; }
  static Point DownButton() { return {367, 19}; }

  double& Torque(int i) { return st.Doc.Engine.Torque[i]; }
  double& Sample(int slot, int i) { return st.Doc.SlipCurves[slot].Samples[i]; }

  void Tick(int times = 1) {
    for (int k = 0; k < times; ++k) EvTimer(st);
  }

  FakeHost host;
  EditorState st{host, 1024, 768};
};

}  // namespace dyno::test
