#include "chart/ViewState.h"

#include <algorithm>

namespace dyno {

int VisibleRowsFor(int screenHeight) {
  const int space = screenHeight - TableTop;
  // Floor, also for a window lower than the header.
  int rows = space >= 0 ? space / RowHeight : -((-space + RowHeight - 1) / RowHeight);
  return std::clamp(rows, MinVisibleRows, MaxVisibleRows);
}

}  // namespace dyno
