#pragma once

#include <memory>

#include "core/chart/ChartLayout.h"
#include "core/chart/ViewState.h"

namespace dyno {

struct DynoView;
struct EditorDocument;

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
// its table shows the page's block of rows. It is a copy, begun from the
// screen's view and chart layout, which stay as they are: printing never
// moves the table on screen nor leaves the mouse handlers a page's pixel
// arrays.
struct PrintedPageLayout {
  ViewState View;
  ChartLayout Chart;
  int LastPage = 0;  // the last page of the page range, for the printer
};
std::unique_ptr<PrintedPageLayout> LayOutPrintedPage(const ViewState& screenView, const ChartLayout& screenChart,
                                                     const EditorDocument& doc, const DynoView& dyno, int pageNumber,
                                                     int clientWidth, int clientHeight);

// The editor view laid out for a picture of clientWidth x clientHeight
// pixels, as a window of that size would show it: laid out as a printed page
// is, but its table starts at the screen's first visible row. The screen's
// view and layout stay as they are.
std::unique_ptr<PrintedPageLayout> LayOutPicture(const ViewState& screenView, const ChartLayout& screenChart,
                                                 const EditorDocument& doc, const DynoView& dyno, int clientWidth,
                                                 int clientHeight);

}  // namespace dyno
