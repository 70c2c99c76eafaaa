#pragma once

#include <memory>

#include "core/chart/ViewState.h"

namespace dyno {

struct ChartLayout;

// The largest page side, in screen pixels, a printout is laid out for.
inline constexpr int MaxPagePixels = 1 << 24;

// Printer pixels as screen pixels: pixels x screenPpi / printerPpi, multiplied
// in 64 bits before dividing and truncated, within 0 to MaxPagePixels. A
// device without a resolution gives 0.
int ScreenPixelsOf(int printerPixels, int screenPpi, int printerPpi);

// The pages of a printout whose pages are clientHeight screen pixels high:
// as many table rows fit a page as fit a window of that height.
int PrintedPageCountFor(int rowCount, int clientHeight);

// The editor view laid out as page pageNumber (1-based) of a printout, as if
// the window's client area were clientWidth x clientHeight screen pixels:
// its table shows the page's block of rows. While it lives, a paint of the
// view renders that page. When it ends, the view and the chart layout are the
// screen's again, exactly as they were, so printing never moves the table
// on screen nor leaves the mouse handlers a page's pixel arrays.
class PrintedPageView {
 public:
  PrintedPageView(ViewState& view, ChartLayout& chart, int pageNumber, int clientWidth, int clientHeight);
  ~PrintedPageView();
  PrintedPageView(const PrintedPageView&) = delete;
  PrintedPageView& operator=(const PrintedPageView&) = delete;

 private:
  ViewState& view_;
  ChartLayout& chart_;
  ViewState screenView_;
  std::unique_ptr<ChartLayout> screenChart_;
};

}  // namespace dyno
