#include <gtest/gtest.h>

#include "core/chart/ViewState.h"

namespace dyno {
namespace {

TEST(VisibleRowsFor, FitsWholeRowsBelowTheHeader) {
  // A client area 600 pixels high has ScreenHeight 601: (601 - 29) / 14 = 40.
  EXPECT_EQ(VisibleRowsFor(601), 40);
  EXPECT_EQ(VisibleRowsFor(29 + 14 * 10), 10);
  EXPECT_EQ(VisibleRowsFor(29 + 14 * 10 - 1), 9);
}

TEST(VisibleRowsFor, KeepsBetweenFiveAnd499Rows) {
  EXPECT_EQ(VisibleRowsFor(29 + 14 * 5 - 1), 5);
  EXPECT_EQ(VisibleRowsFor(0), 5);
  EXPECT_EQ(VisibleRowsFor(-1000), 5);
  EXPECT_EQ(VisibleRowsFor(29 + 14 * 499), 499);
  EXPECT_EQ(VisibleRowsFor(100000), 499);
}

TEST(ResizeView, TakesTheClientSize) {
  ViewState view;
  ResizeView(view, 800, 600);
  EXPECT_EQ(view.ScreenWidth, 801);
  EXPECT_EQ(view.ScreenHeight, 601);
  EXPECT_EQ(view.VisibleRows, 40);  // (601 - 29) / 14
  EXPECT_EQ(view.ScrollBarHeight, 600 - 33);
}

TEST(PrintingRules, AnnounceOnePageForEveryBlockOfVisibleRows) {
  struct Case {
    int rows, visible, lastPage;
  };
  for (const Case& c : {Case{41, 40, 2}, Case{40, 40, 2}, Case{30, 40, 1}, Case{0, 40, 1}, Case{500, 5, 101}}) {
    ViewState view;
    view.VisibleRows = c.visible;
    view.ScrollPos = 7;
    view.FirstVisibleRow = 7;
    EXPECT_EQ(ApplyPrintingRules(view, c.rows, true, false), c.lastPage) << c.rows << "/" << c.visible;
    // The screen table goes back to its top while printing.
    EXPECT_EQ(view.ScrollPos, 0);
    EXPECT_EQ(view.FirstVisibleRow, 0);
  }
}

TEST(PrintingRules, LeaveTheViewAloneOutsidePrinting) {
  for (bool running : {false, true}) {
    ViewState view;
    view.VisibleRows = 40;
    view.ScrollPos = 7;
    view.FirstVisibleRow = 7;
    // Not printing, or printing with nothing to paint.
    EXPECT_EQ(ApplyPrintingRules(view, 41, running, running), 0);
    EXPECT_EQ(view.ScrollPos, 7);
    EXPECT_EQ(view.FirstVisibleRow, 7);
  }
}

TEST(PrintingRules, APrintedPageStartsAtItsBlockAndTheWindowReturnsAfterwards) {
  ViewState view;
  view.VisibleRows = 40;
  view.ScrollPos = 12;
  view.FirstVisibleRow = 12;

  BeginPrintedPage(view, 3);
  EXPECT_TRUE(view.PrintingPage);
  EXPECT_EQ(view.PrintPageIndex, 2);
  EXPECT_EQ(ApplyPrintingRules(view, 100, true, false), 3);
  EXPECT_EQ(view.FirstVisibleRow, 80);  // page 3 from row 2 x 40
  EndPrintedPage(view);
  EXPECT_FALSE(view.PrintingPage);
  EXPECT_EQ(view.FirstVisibleRow, 0);  // where the scroll bar now stands
  EXPECT_EQ(ApplyPrintingRules(view, 100, false, false), 0);
  EXPECT_EQ(view.FirstVisibleRow, 0);

  // A page rendered outside a print job (an image of page 2) leaves the
  // scrolled table as it was once the page is done.
  view.ScrollPos = view.FirstVisibleRow = 12;
  BeginPrintedPage(view, 2);
  EXPECT_EQ(ApplyPrintingRules(view, 100, false, false), 0);
  EXPECT_EQ(view.FirstVisibleRow, 40);
  EndPrintedPage(view);
  EXPECT_EQ(view.FirstVisibleRow, 12);

  // A page index far beyond the rows saturates instead of overflowing.
  BeginPrintedPage(view, 2147483647);
  ApplyPrintingRules(view, 100, true, false);
  EXPECT_EQ(view.FirstVisibleRow, 2147483647);
}

}  // namespace
}  // namespace dyno
