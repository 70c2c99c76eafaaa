#pragma once

namespace dyno {

struct EditorState;

// Fits the row scroll bar to total rows shown from row first: disabled when
// they all fit, otherwise enabled over first .. first + total - VisibleRows
// with the table back at row first.
void UpdateRowScrollBar(EditorState& st, int first, int total);

// The scroll bar moved to position: the table follows, its pixels are
// scrolled and the uncovered band repainted. Returns the rows moved.
int RowScrollNotify(EditorState& st, int position);

// The client area became width x height pixels: the view is measured again,
// the whole area repainted and the scroll bar refitted.
void ClientSizeChanged(EditorState& st, int width, int height);

}  // namespace dyno
