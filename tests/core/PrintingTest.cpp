#include <gtest/gtest.h>

#include "core/app/PreviewLayout.h"
#include "core/app/TProjectRCVersion.h"
#include "core/chart/ChartLayout.h"
#include "core/chart/PrintedPage.h"
#include "core/editing/EditorState.h"
#include "support/FakeHost.h"
#include "support/SampleCurves.h"
#include "support/WindowSteps.h"

namespace dyno {
namespace {

using namespace dyno::test;

using namespace std::string_view_literals;

// --- Page geometry -------------------------------------------------------

TEST(ScreenPixelsOf, MultipliesBeforeDividingAndTruncates) {
  EXPECT_EQ(ScreenPixelsOf(9583, 96, 1200), 766);  // 766.64: A4's printable width at 1200 dpi
  EXPECT_EQ(ScreenPixelsOf(1875, 96, 300), 600);
  EXPECT_EQ(ScreenPixelsOf(1001, 96, 1200), 80);  // 80.08
  EXPECT_EQ(ScreenPixelsOf(7, 96, 100), 6);       // 6.72: dividing first would give 0
  EXPECT_EQ(ScreenPixelsOf(800, 96, 96), 800);
}

TEST(ScreenPixelsOf, StaysWithinThePageLimitsForAnyDevice) {
  EXPECT_EQ(ScreenPixelsOf(1000, 96, 0), 0);
  EXPECT_EQ(ScreenPixelsOf(1000, 96, -300), 0);
  EXPECT_EQ(ScreenPixelsOf(-5, 96, 300), 0);
  // 2147483647 x 96 overflows 32 bits, not 64.
  EXPECT_EQ(ScreenPixelsOf(2147483647, 96, 1200), MaxPagePixels);
}

TEST(PrintedPageCountFor, CountsBlocksOfTheRowsThatFitThePage) {
  // A page 600 screen pixels high holds 40 rows, like such a window.
  EXPECT_EQ(PrintedPageCountFor(41, 600), 2);
  EXPECT_EQ(PrintedPageCountFor(30, 600), 1);
  EXPECT_EQ(PrintedPageCountFor(40, 600), 2);  // the second page with an empty table
  EXPECT_EQ(PrintedPageCountFor(200, 600), 6);
  // An A4 page at 96 pixels per inch holds (1097 + 1 - 29) / 14 = 76 rows.
  EXPECT_EQ(PrintedPageCountFor(237, 1097), 4);
  EXPECT_EQ(PrintedPageCountFor(41, 1097), 1);
  // A page too low for a table still counts five rows a page.
  EXPECT_EQ(PrintedPageCountFor(12, 10), 3);
}

// --- A printed page's view -------------------------------------------------

class PrintedPageViewTest : public ::testing::Test {
 protected:
  PrintedPageViewTest() : st(host, 1024, 768) {
    test::FillSampleEngineCurve(st.Doc, 200);
    ResizeView(st.View, 800, 600);  // 40 rows on screen
    st.View.ScrollPos = st.View.FirstVisibleRow = 25;
    st.View.PrevScrollPos = 24;
    st.View.RowScrollBar = {true, 0, 160, 1, 39, 25};
    ComputeChartLayout(st, 800, 600);
  }

  test::FakeHost host;
  EditorState st;
};

TEST_F(PrintedPageViewTest, LaysTheViewOutAsThePageWithItsBlockOfRows) {
  const PrintedPageView page(st.View, st.Chart, 3, 400, 300);
  EXPECT_TRUE(st.View.PrintingPage);
  EXPECT_EQ(st.View.PrintPageIndex, 2);
  EXPECT_EQ(st.View.ScreenWidth, 401);
  EXPECT_EQ(st.View.ScreenHeight, 301);
  EXPECT_EQ(st.View.VisibleRows, 19);  // (301 - 29) / 14

  // What a paint of the page does: its table starts at row 2 x 19.
  EXPECT_EQ(ApplyPrintingRules(st.View, st.Doc.RowCount, true, false), 200 / 19 + 1);
  EXPECT_EQ(st.View.FirstVisibleRow, 38);
  ComputeChartLayout(st, 400, 300);
  EXPECT_EQ(st.Chart.PlotRight, 400 - 45);
}

TEST_F(PrintedPageViewTest, GivesTheScreenItsViewAndLayoutBackUnchanged) {
  const ViewState view = st.View;
  const ChartLayout chart = st.Chart;
  {
    const PrintedPageView page(st.View, st.Chart, 2, 1200, 900);
    ApplyPrintingRules(st.View, st.Doc.RowCount, true, false);
    ComputeChartLayout(st, 1200, 900);
    ASSERT_NE(st.Chart.PointX[1], chart.PointX[1]);
    ASSERT_EQ(st.View.ScrollPos, 0);
  }
  EXPECT_FALSE(st.View.PrintingPage);
  EXPECT_EQ(st.View.FirstVisibleRow, 25);
  EXPECT_EQ(st.View.ScrollPos, 25);
  EXPECT_EQ(st.View.PrevScrollPos, 24);
  EXPECT_EQ(st.View.VisibleRows, view.VisibleRows);
  EXPECT_EQ(st.View.ScreenWidth, 801);
  EXPECT_EQ(st.View.ScreenHeight, 601);
  EXPECT_EQ(st.View.ScrollBarHeight, view.ScrollBarHeight);
  EXPECT_EQ(st.View.RowScrollBar, view.RowScrollBar);
  EXPECT_EQ(st.Chart.PointX, chart.PointX);
  EXPECT_EQ(st.Chart.TorqueY, chart.TorqueY);
  EXPECT_EQ(st.Chart.PlotRight, chart.PlotRight);
  EXPECT_EQ(st.Chart.PickHalfWidth, chart.PickHalfWidth);
  // Nothing of the page reached the window.
  EXPECT_TRUE(host.invalidations.empty());
  EXPECT_EQ(host.scrollBarSyncs, 0);
}

// --- Preview layout --------------------------------------------------------

TEST(FirstPreviewPage, FillsTheHeightOfAWindowWiderThanThePage) {
  // A4 printable area at 96 dpi in a window 944 x 600: 570 high, and
  // 570 x 767 x 0.95 / 1097 = 378.6 wide.
  EXPECT_EQ(FirstPreviewPage(944, 600, 767, 1097), (Rect{15, 15, 393, 585}));
  // A landscape page in a window wider still.
  EXPECT_EQ(FirstPreviewPage(1600, 600, 1097, 767), (Rect{15, 15, 15 + 774, 585}));
}

TEST(FirstPreviewPage, FillsTheWidthOfAWindowNarrowerThanThePage) {
  // 370 wide, 370 x 1097 x 0.95 / 767 = 502.7 high.
  EXPECT_EQ(FirstPreviewPage(400, 900, 767, 1097), (Rect{15, 15, 385, 517}));
  // A window of exactly the page's shape counts as not wider.
  EXPECT_EQ(FirstPreviewPage(767, 1097, 767, 1097), (Rect{15, 15, 752, 15 + 737 * 1097 * 95 / (767 * 100)}));
}

TEST(FirstPreviewPage, GivesAnEmptyPageWhenNothingFits) {
  EXPECT_EQ(FirstPreviewPage(20, 20, 767, 1097), (Rect{15, 15, 15, 15}));
  EXPECT_EQ(FirstPreviewPage(944, 600, 0, 1097), (Rect{15, 15, 15, 15}));
  EXPECT_EQ(FirstPreviewPage(944, 600, 767, 0), (Rect{15, 15, 15, 15}));
}

TEST(SecondPreviewPage, SitsThirtyUnitsRightOfTheFirstWithItsSize) {
  EXPECT_EQ(SecondPreviewPage(Rect{15, 15, 393, 585}), (Rect{423, 15, 801, 585}));
}

// --- The system's printer changing --------------------------------------------

// --- The version resource --------------------------------------------------

TEST(TProjectRCVersion, ReadsTheProgramsOwnTexts) {
  const TProjectRCVersion version;
  ASSERT_TRUE(version.HasResource());
  std::string text;
  ASSERT_TRUE(version.GetProductName(text));
  EXPECT_EQ(text, "Dynoforge");
  ASSERT_TRUE(version.GetProductVersion(text));
  EXPECT_EQ(text, "1.88");
  ASSERT_TRUE(version.GetCopyright(text));
  EXPECT_EQ(text, "Copyright (C) 2026 The Dynoforge developers");
  text = "unchanged";
  EXPECT_FALSE(version.GetSpecialBuild(text));
  EXPECT_EQ(text, "unchanged");
}

TEST(TProjectRCVersion, FindsNothingWithoutVersionInformation) {
  const TProjectRCVersion version(nullptr);
  EXPECT_FALSE(version.HasResource());
  std::string text;
  EXPECT_FALSE(version.GetProductName(text));
  EXPECT_FALSE(version.GetCopyright(text));
}

}  // namespace
}  // namespace dyno
