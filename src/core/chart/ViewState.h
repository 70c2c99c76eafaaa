#pragma once

#include "core/chart/Pixels.h"

namespace dyno {

// Fixed table and header geometry, in client pixels.
inline constexpr int RowHeight = 14;
inline constexpr int HeaderHeight = 24;
inline constexpr int FirstRowY = HeaderHeight + 1;  // 25
inline constexpr int TableTop = FirstRowY + 4;      // 29
inline constexpr int TableWidth = 283;
inline constexpr int MinVisibleRows = 5;
inline constexpr int MaxVisibleRows = 499;

// Table rows that fit a client area whose ScreenHeight (height + 1) is given.
int VisibleRowsFor(int screenHeight);

struct ViewState;

// The view's part of a size change: ScreenWidth and ScreenHeight from the
// client size, the rows that fit and the height of the row scroll bar.
void ResizeView(ViewState& view, int clientWidth, int clientHeight);

// Where the table starts when a paint belongs to printing. While a print job
// or a preview runs and the paint rectangle is not empty, the screen table
// returns to its top (ScrollPos and FirstVisibleRow 0); the result is then the
// last page of the page range to hand to the printer, RowCount div
// VisibleRows + 1, and the caller moves the scroll bar's thumb to 0. Otherwise
// the result is 0. While a printed page is rendered, the table starts at that
// page's first row.
int ApplyPrintingRules(ViewState& view, int rowCount, bool printJobRunning, bool paintRectEmpty);

// The last page of a printout whose pages show visibleRows table rows each:
// rowCount div visibleRows + 1, so a table that fills its last page exactly
// is followed by a page with an empty table.
int PrintedPageCount(int rowCount, int visibleRows);

// Marks page pageNumber (1-based) as being rendered.
void BeginPrintedPage(ViewState& view, int pageNumber);
// Ends the rendering of a page: the table goes back to the scroll position,
// so the window does not keep showing a printed page's rows.
void EndPrintedPage(ViewState& view);

// The part of the view that lives between paints.
struct ViewState {
  // The screen size until the first size change, then the client area's
  // width + 1 and height + 1, so a repaint up to them covers everything.
  int ScreenWidth = 1024;
  int ScreenHeight = 768;
  int VisibleRows = VisibleRowsFor(768);
  int ScrollBarHeight = 768 - 31;
  int FirstVisibleRow = 0;
  int ScrollPos = 0;
  int PrevScrollPos = 0;
  RowScrollBarState RowScrollBar;

  // Set only while a printout page is being painted.
  bool PrintingPage = false;
  int PrintPageIndex = 0;

  // The client area from (left, top) to its far corner.
  Rect ClientFrom(int left, int top) const { return {left, top, ScreenWidth, ScreenHeight}; }
};

}  // namespace dyno
