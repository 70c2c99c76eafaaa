#include "core/chart/PrintedPage.h"

#include <algorithm>
#include <cstdint>

#include "core/chart/ChartGeometry.h"
#include "core/document/EditorDocument.h"

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

std::unique_ptr<PrintedPageLayout> LayOutPrintedPage(const ViewState& screenView, const ChartLayout& screenChart,
                                                     const EditorDocument& doc, const DynoView& dyno, int pageNumber,
                                                     int clientWidth, int clientHeight) {
  auto page = std::make_unique<PrintedPageLayout>(PrintedPageLayout{screenView, screenChart, 0});
  ResizeView(page->View, clientWidth, clientHeight);
  BeginPrintedPage(page->View, pageNumber);
  page->LastPage = ApplyPrintingRules(page->View, doc.RowCount, true, false);
  ComputeChartLayout(page->View, page->Chart, doc, dyno, std::clamp(clientWidth, 0, FarPixel),
                     std::clamp(clientHeight, 0, FarPixel));
  return page;
}

std::unique_ptr<PrintedPageLayout> LayOutPicture(const ViewState& screenView, const ChartLayout& screenChart,
                                                 const EditorDocument& doc, const DynoView& dyno, int clientWidth,
                                                 int clientHeight) {
  auto picture = std::make_unique<PrintedPageLayout>(PrintedPageLayout{screenView, screenChart, 0});
  ResizeView(picture->View, clientWidth, clientHeight);
  picture->View.PrintingPage = false;
  picture->View.FirstVisibleRow = screenView.FirstVisibleRow;
  ComputeChartLayout(picture->View, picture->Chart, doc, dyno, std::clamp(clientWidth, 0, FarPixel),
                     std::clamp(clientHeight, 0, FarPixel));
  return picture;
}

}  // namespace dyno
