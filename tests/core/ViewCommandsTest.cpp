#include <gtest/gtest.h>

#include "core/chart/RowScrolling.h"
#include "core/editing/EditorState.h"
#include "core/editing/ModeCommands.h"
#include "support/FakeHost.h"
#include "support/WindowSteps.h"

namespace dyno {

using namespace dyno::test;
namespace {

class ViewCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClientSizeChanged(st, 800, 600);  // ScreenHeight 601: 40 rows fit
    host.invalidations.clear();
  }

  test::FakeHost host;
  EditorState st{host, 1024, 768};
};

TEST_F(ViewCommandsTest, A600PixelClientShows40RowsAndScrollsTheRest) {
  EXPECT_EQ(st.View.ScreenWidth, 801);
  EXPECT_EQ(st.View.ScreenHeight, 601);
  EXPECT_EQ(st.View.VisibleRows, 40);
  EXPECT_EQ(st.View.ScrollBarHeight, 600 - 33);

  st.Doc.RowCount = 41;
  ClientSizeChanged(st, 800, 600);
  EXPECT_EQ(host.scrollBar, (RowScrollBarState{true, 0, 1, 1, 39, 0}));
  EXPECT_EQ(host.invalidations.front().area, (Rect{0, 0, 801, 601}));

  st.Doc.RowCount = 40;
  ClientSizeChanged(st, 800, 600);
  EXPECT_FALSE(host.scrollBar.Enabled);
}

TEST_F(ViewCommandsTest, ResizingReturnsAScrolledTableToItsTop) {
  st.Doc.RowCount = 100;
  UpdateRowScrollBar(st, 0, 100);
  RowScrollNotify(st, 30);
  ASSERT_EQ(st.View.FirstVisibleRow, 30);

  ClientSizeChanged(st, 800, 500);  // still too many rows
  EXPECT_EQ(st.View.FirstVisibleRow, 0);
  EXPECT_EQ(host.scrollBar.Position, 0);
  EXPECT_EQ(host.scrollBar.Maximum, 100 - st.View.VisibleRows);

  RowScrollNotify(st, 30);
  ClientSizeChanged(st, 800, 1600);  // now everything fits: nothing to scroll
  EXPECT_EQ(st.View.FirstVisibleRow, 0);
  EXPECT_FALSE(host.scrollBar.Enabled);
}

TEST_F(ViewCommandsTest, ScrollingOneLineMovesTheTablePixelsBy14) {
  st.Doc.RowCount = 100;
  UpdateRowScrollBar(st, 0, 100);
  EXPECT_EQ(RowScrollNotify(st, 1), 1);
  EXPECT_EQ(st.View.FirstVisibleRow, 1);
  EXPECT_EQ(st.View.PrevScrollPos, 0);
  ASSERT_EQ(host.scrolls.size(), 1u);
  EXPECT_EQ(host.scrolls[0].dy, -14);
  EXPECT_EQ(host.scrolls[0].area, (Rect{4, 28, 279, 28 + 40 * 14}));

  EXPECT_EQ(RowScrollNotify(st, 1 + 39), 39);  // a page
  EXPECT_EQ(host.scrolls[1].dy, -14 * 39);
  EXPECT_EQ(RowScrollNotify(st, 40), 0);  // no move, nothing scrolled
  EXPECT_EQ(host.scrolls.size(), 2u);
}

TEST_F(ViewCommandsTest, ScrollingIsClippedAboveTheBottomEdge) {
  ClientSizeChanged(st, 800, 100);  // 5 rows forced: they reach below the window
  st.Doc.RowCount = 50;
  UpdateRowScrollBar(st, 0, 50);
  RowScrollNotify(st, 2);
  EXPECT_EQ(host.scrolls.back().area, (Rect{4, 28, 279, 101 - 6}));
}

TEST_F(ViewCommandsTest, ModeCommandsTakeTheModesRowCountAndClearTheSelection) {
  st.Doc.Engine.EngineRowCount = 41;
  st.Doc.SlipCurves[0].SampleCount = 120;
  st.Doc.CurrentSlipCurve = 2;
  st.Ui.TorqueSelected = st.Ui.TorquePicked = st.Ui.Dragging = true;
  st.Ui.CurveSelected[2] = true;
  st.View.FirstVisibleRow = 7;
  const double torque = st.Doc.Engine.Torque[3] = 123.0;

  SetFileMode(st, FileMode::Tire);
  EXPECT_TRUE(st.Doc.TireMode);
  EXPECT_FALSE(st.Doc.EngineMode || st.Doc.UpgradeMode);
  EXPECT_EQ(st.Doc.RowCount, 120);
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 0);
  EXPECT_EQ(st.View.FirstVisibleRow, 0);
  EXPECT_FALSE(st.Ui.TorqueSelected || st.Ui.TorquePicked || st.Ui.Dragging || st.Ui.CurveSelected[2]);
  EXPECT_EQ(host.scrollBar.Maximum, 120 - 40);
  EXPECT_EQ(host.invalidations.back().area, (Rect{2, 2, 801, 601}));
  EXPECT_FALSE(host.invalidations.back().erase);

  SetFileMode(st, FileMode::Upgrade);
  EXPECT_TRUE(st.Doc.UpgradeMode);
  EXPECT_EQ(st.Doc.RowCount, 41);
  SetFileMode(st, FileMode::Engine);
  EXPECT_TRUE(st.Doc.EngineMode);
  EXPECT_EQ(st.Doc.RowCount, 41);
  EXPECT_EQ(host.scrollBar, (RowScrollBarState{true, 0, 1, 1, 39, 0}));
  EXPECT_EQ(st.Doc.Engine.Torque[3], torque);
  EXPECT_FALSE(st.Doc.EngineLoaded || st.Doc.TireLoaded || st.Doc.UpgradeLoaded);
}

}  // namespace
}  // namespace dyno
