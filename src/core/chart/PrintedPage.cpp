#include "core/chart/PrintedPage.h"

#include <algorithm>
#include <cstdint>

#include "core/chart/ChartLayout.h"

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

PrintedPageView::PrintedPageView(ViewState& view, ChartLayout& chart, int pageNumber, int clientWidth,
                                 int clientHeight)
    : view_(view), chart_(chart), screenView_(view), screenChart_(std::make_unique<ChartLayout>(chart)) {
  ResizeView(view, clientWidth, clientHeight);
  BeginPrintedPage(view, pageNumber);
}

PrintedPageView::~PrintedPageView() {
  EndPrintedPage(view_);
  view_ = screenView_;
  chart_ = *screenChart_;
}

}  // namespace dyno
