#include "core/chart/ViewState.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace dyno {

int VisibleRowsFor(int screenHeight) {
  const int space = screenHeight - TableTop;
  // Floor, also for a window lower than the header.
  int rows = space >= 0 ? space / RowHeight : -((-space + RowHeight - 1) / RowHeight);
  return std::clamp(rows, MinVisibleRows, MaxVisibleRows);
}

void ResizeView(ViewState& view, int clientWidth, int clientHeight) {
  view.ScreenWidth = clientWidth + 1;
  view.ScreenHeight = clientHeight + 1;
  view.VisibleRows = VisibleRowsFor(view.ScreenHeight);
  view.ScrollBarHeight = clientHeight - (TableTop + 4);
}

int PrintedPageCount(int rowCount, int visibleRows) { return std::max(rowCount, 0) / std::max(visibleRows, 1) + 1; }

int ApplyPrintingRules(ViewState& view, int rowCount, bool printJobRunning, bool paintRectEmpty) {
  const int rows = std::max(view.VisibleRows, 1);
  int lastPage = 0;
  if (printJobRunning && !paintRectEmpty) {
    lastPage = PrintedPageCount(rowCount, rows);
    view.ScrollPos = 0;
    view.FirstVisibleRow = 0;
  }
  if (view.PrintingPage) {
    const std::int64_t first = static_cast<std::int64_t>(std::max(view.PrintPageIndex, 0)) * rows;
    view.FirstVisibleRow = static_cast<int>(std::min<std::int64_t>(first, std::numeric_limits<int>::max()));
  }
  return lastPage;
}

void BeginPrintedPage(ViewState& view, int pageNumber) {
  view.PrintingPage = true;
  view.PrintPageIndex = std::max(pageNumber, 1) - 1;
}

void EndPrintedPage(ViewState& view) {
  view.PrintingPage = false;
  view.FirstVisibleRow = view.ScrollPos;
}

}  // namespace dyno
