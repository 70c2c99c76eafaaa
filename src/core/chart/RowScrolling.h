#pragma once

namespace dyno {

class TableHost;
struct ViewState;

// Fits the row scroll bar to total rows shown from row first: disabled when
// they all fit, otherwise enabled over first .. first + total - VisibleRows
// with the table back at row first.
void UpdateRowScrollBar(ViewState& view, TableHost& host, int first, int total);

// The table starts again at its top for a curve of rowCount rows, and the
// whole window is repainted: after a command that replaced or resized the
// curve.
void RefitTable(ViewState& view, TableHost& host, int rowCount);

// The table shows its rowCount rows from firstRow again, or from the row
// nearest to it that the scroll bar can reach; the bar follows.
void ShowTableFrom(ViewState& view, TableHost& host, int firstRow, int rowCount);

// The scroll bar moved to position: the table follows, its pixels are
// scrolled and the uncovered band repainted. Returns the rows moved.
int RowScrollNotify(ViewState& view, TableHost& host, int position);

// The client area became width x height pixels: the view is measured again,
// the whole area repainted and the scroll bar refitted for rowCount rows.
void ClientSizeChanged(ViewState& view, TableHost& host, int rowCount, int width, int height);

}  // namespace dyno
