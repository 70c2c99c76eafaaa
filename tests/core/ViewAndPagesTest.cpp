// The rows the view shows at each size, and printing: the pages of a
// document, the rows of the page being printed, the preview's pages and the
// sheets of a print job (view-and-pages cases). The printed pictures are in
// the pictures flow.
#include <string>

#include <gtest/gtest.h>

#include "core/app/PreviewLayout.h"
#include "core/app/PrintSheets.h"
#include "core/chart/PrintedPage.h"
#include "core/chart/ViewState.h"
#include "support/CaseTables.h"

namespace dyno {
namespace {

using test::Int;
using test::RunCases;

TEST(ViewAndPages, ViewRowsAndPrintedPages) {
  RunCases("view-and-pages", [](const std::string& rule, std::istream& in, std::ostream& out) {
    ViewState view;
    if (rule == "client") {
      const int height = Int(in);
      ResizeView(view, 800, height);
      out << "client 800x" << height << ": screen " << view.ScreenWidth << "x" << view.ScreenHeight << " rows "
          << view.VisibleRows << " bar " << view.ScrollBarHeight << " pages of 41 rows "
          << PrintedPageCountFor(41, height) << "\n";
    } else if (rule == "last-page") {
      const int rows = Int(in), visible = Int(in);
      out << rows << " rows, " << visible << " on a page: last page " << PrintedPageCount(rows, visible) << "\n";
    } else if (rule == "printing") {
      // A view of 200 rows scrolled to row 25, printing a page or not.
      const bool job = Int(in), empty = Int(in), printing = Int(in);
      const int page = Int(in);
      ResizeView(view, 800, 600);
      view.ScrollPos = view.FirstVisibleRow = 25;
      if (printing) BeginPrintedPage(view, page);
      const int last = ApplyPrintingRules(view, 200, job, empty);
      out << "printing job " << job << " empty " << empty << " page " << page << ": last " << last << " first row "
          << view.FirstVisibleRow << " scroll " << view.ScrollPos;
      EndPrintedPage(view);
      out << " then " << view.FirstVisibleRow << (view.PrintingPage ? " still printing" : "") << "\n";
    } else if (rule == "screen-pixels") {
      const int pixels = Int(in), screen = Int(in), printer = Int(in);
      out << "screen pixels of " << pixels << " at " << screen << "/" << printer << ": "
          << ScreenPixelsOf(pixels, screen, printer) << "\n";
    } else if (rule == "preview") {
      const int w = Int(in), h = Int(in), pw = Int(in), ph = Int(in);
      const auto first = FirstPreviewPage(w, h, pw, ph);
      const auto second = SecondPreviewPage(first);
      out << "preview in " << w << "x" << h << " of " << pw << "x" << ph << ": " << first.left << "," << first.top
          << "-" << first.right << "," << first.bottom << " second " << second.left << "," << second.top << "-"
          << second.right << "," << second.bottom << "\n";
    } else {
      // The sheets printed of a document of six pages.
      ASSERT_EQ(rule, "sheets");
      const int first = Int(in), last = Int(in);
      const bool reverse = Int(in);
      const int copies = Int(in);
      const bool collate = Int(in);
      out << "sheets of pages " << first << ".." << last << (reverse ? " reversed" : "") << " x" << copies
          << (collate ? " collated" : "") << " of 6:";
      for (const int page : PrintSheets(first, last, 6, reverse, copies, collate)) out << " " << page;
      out << "\n";
    }
  });
}

}  // namespace
}  // namespace dyno
