#include "core/chart/RowScrolling.h"

#include <algorithm>

#include "core/editing/EditorState.h"

namespace dyno {

void UpdateRowScrollBar(EditorState& st, int first, int total) {
  ViewState& view = st.View;
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
  st.Host.SyncRowScrollBar(bar);
}

int RowScrollNotify(EditorState& st, int position) {
  ViewState& view = st.View;
  view.PrintPageIndex = 0;
  view.PrevScrollPos = view.ScrollPos;
  view.ScrollPos = position;
  view.FirstVisibleRow = view.ScrollPos;
  view.RowScrollBar.Position = position;
  const int delta = view.ScrollPos - view.PrevScrollPos;
  if (delta != 0) {
    const int top = FirstRowY + 3;
    const int bottom = std::min(top + view.VisibleRows * RowHeight, view.ScreenHeight - 6);
    st.Host.ScrollPixels(-RowHeight * delta, Rect{4, top, TableWidth - 4, bottom});
  }
  return delta;
}

void ClientSizeChanged(EditorState& st, int width, int height) {
  ViewState& view = st.View;
  ResizeView(view, width, height);
  st.Host.Invalidate(st.ClientFrom(0, 0), false);

  // The refitted bar starts at the top. When every row fits there is
  // nothing to scroll: the table shows from row 0 and the bar is off (also
  // before anything is loaded).
  const EditorDocument& doc = st.Doc;
  RowScrollBarState& bar = view.RowScrollBar;
  if (doc.RowCount > view.VisibleRows) {
    UpdateRowScrollBar(st, 0, doc.RowCount);
  } else {
    bar.Enabled = false;
    view.FirstVisibleRow = view.ScrollPos = view.PrevScrollPos = 0;
    bar.Position = 0;
  }
  bar.LineStep = 1;
  bar.PageStep = view.VisibleRows - 1;
  st.Host.SyncRowScrollBar(bar);
}

}  // namespace dyno
