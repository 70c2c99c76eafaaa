#include "core/chart/PrintedPage.h"

#include <algorithm>
#include <cstdint>

#include "core/chart/ChartLayout.h"
#include "core/editing/EditorState.h"

namespace dyno {

int ScreenPixelsOf(int printerPixels, int screenPpi, int printerPpi) {
  if (printerPpi <= 0) return 0;
  const std::int64_t pixels = static_cast<std::int64_t>(printerPixels) * screenPpi / printerPpi;
  return static_cast<int>(std::clamp<std::int64_t>(pixels, 0, MaxPagePixels));
}

int PrintedPageCountFor(int rowCount, int clientHeight) {
  ViewState page;
  ResizeView(page, 0, clientHeight);
  return PrintedPageCount(rowCount, page.VisibleRows);
}

PrintedPageView::PrintedPageView(EditorState& st, int pageNumber, int clientWidth, int clientHeight)
    : st_(st), screenView_(st.View), screenChart_(std::make_unique<ChartLayout>(st.Chart)) {
  ResizeView(st.View, clientWidth, clientHeight);
  BeginPrintedPage(st.View, pageNumber);
}

PrintedPageView::~PrintedPageView() {
  EndPrintedPage(st_.View);
  st_.View = screenView_;
  st_.Chart = *screenChart_;
}

}  // namespace dyno
