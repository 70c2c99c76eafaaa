#include "core/chart/RowScrolling.h"

#include <algorithm>

#include "core/chart/Pixels.h"
#include "core/chart/ViewState.h"

namespace dyno {

void UpdateRowScrollBar(ViewState& view, TableHost& host, int first, int total) {
  RowScrollBarState& bar = view.RowScrollBar;
  if (total <= view.VisibleRows) {
    bar.Enabled = false;
  } else {
    bar.Enabled = true;
    bar.Minimum = first;
    bar.Maximum = first + total - view.VisibleRows;
    bar.LineStep = 1;
    bar.PageStep = view.VisibleRows - 1;
    view.ScrollPos = view.PrevScrollPos = first;
    view.FirstVisibleRow = first;
    bar.Position = view.ScrollPos;
  }
  host.SyncRowScrollBar(bar);
}

void RefitTable(ViewState& view, TableHost& host, int rowCount) {
  host.Invalidate(view.ClientFrom(0, 0), false);
  view.FirstVisibleRow = 0;
  UpdateRowScrollBar(view, host, 0, rowCount);
}

void ShowTableFrom(ViewState& view, TableHost& host, int firstRow, int rowCount) {
  UpdateRowScrollBar(view, host, 0, rowCount);
  RowScrollBarState& bar = view.RowScrollBar;
  const int row = bar.Enabled ? std::clamp(firstRow, bar.Minimum, bar.Maximum) : 0;
  view.FirstVisibleRow = view.ScrollPos = view.PrevScrollPos = row;
  if (!bar.Enabled || row == bar.Position) return;
  bar.Position = row;
  host.SyncRowScrollBar(bar);
}

int RowScrollNotify(ViewState& view, TableHost& host, int position) {
  view.PrintPageIndex = 0;
  view.PrevScrollPos = view.ScrollPos;
  view.ScrollPos = position;
  view.FirstVisibleRow = view.ScrollPos;
  view.RowScrollBar.Position = position;
  const int delta = view.ScrollPos - view.PrevScrollPos;
  if (delta != 0) {
    const int top = FirstRowY + 3;
    const int bottom = std::min(top + view.VisibleRows * RowHeight, view.ScreenHeight - 6);
    host.ScrollPixels(-RowHeight * delta, Rect{4, top, TableWidth - 4, bottom});
    // The widest RPM texts reach into the well's left edge, which does not
    // move with the rows: it is painted again.
    host.Invalidate(Rect{0, top, 4, bottom}, false);
  }
  return delta;
}

void ClientSizeChanged(ViewState& view, TableHost& host, int rowCount, int width, int height) {
  ResizeView(view, width, height);
  host.Invalidate(view.ClientFrom(0, 0), false);

  // The refitted bar starts at the top. When every row fits there is
  // nothing to scroll: the table shows from row 0 and the bar is off (also
  // before anything is loaded).
  RowScrollBarState& bar = view.RowScrollBar;
  if (rowCount > view.VisibleRows) {
    UpdateRowScrollBar(view, host, 0, rowCount);
  } else {
    bar.Enabled = false;
    view.FirstVisibleRow = view.ScrollPos = view.PrevScrollPos = 0;
    bar.Position = 0;
  }
  bar.LineStep = 1;
  bar.PageStep = view.VisibleRows - 1;
  host.SyncRowScrollBar(bar);
}

}  // namespace dyno
