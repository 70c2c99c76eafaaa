#pragma once

#include <QDate>
#include <QSize>
#include <QString>

#include <climits>
#include <optional>


class QPainter;
class QPrinter;
class QWidget;

namespace dyno {

class EditorWidget;
class UserDialogs;

// The page numbers kept with the printer: the pages the document has
// (MinPage to MaxPage, as the last printed or previewed page announced them)
// and the pages being printed (FromPage to ToPage).
struct PrintPageSetup {
  int MinPage = 1;
  int MaxPage = 1;
  int FromPage = 1;
  int ToPage = 1;
};

// The pages the print dialog offers (First to Last) and the range it
// preselects (SelectedFrom to SelectedTo; 0 and 0 for none).
struct PrintDialogPages {
  int First = 1;
  int Last = 1;
  int SelectedFrom = 0;
  int SelectedTo = 0;
};

// The date printed pages carry: today's, unless one is set (a test's fixed
// day; nothing goes back to today's).
QDate PrintDate();
void SetPrintDate(std::optional<QDate> date);

// Prints the editor window: one page per block of VisibleRows table rows.
// Each page carries a header line (file, date, units, peaks) in a band at its
// top, and below it the window's view laid out at the rest of the page in
// screen pixels and scaled onto the page, x and y independently, so a page
// shows what a window of that shape would show. The window on screen is left
// as it was.
class ChartPrintout {
 public:
  ChartPrintout(EditorWidget& window, PrintPageSetup& setup, const QString& title);

  const QString& Title() const { return title_; }

  EditorWidget& Window;
  PrintPageSetup& Setup;
  bool Scale = true;     // lay the screen view out at page size and scale it onto the page
  int Pages = INT_MAX;   // offered to the print dialog

  // Any page from 1 to Pages for the print dialog, and no preselected range.
  PrintDialogPages DialogPages() const;

  // Whether pageNumber lies within the setup's page range.
  bool HasPage(int pageNumber) const;

  // Paints page pageNumber onto painter, whose printable page is pageSize
  // device pixels at ppi pixels per inch (x and y). The paint announces the
  // document's page range, which becomes the setup's MinPage and MaxPage.
  void PrintPage(QPainter& painter, int pageNumber, const QSize& pageSize, const QSize& ppi);

  // The page size in screen pixels (the page itself without scaling).
  QSize PageClientSize(const QSize& pageSize, const QSize& ppi) const;
  // The client size the view is laid out at for such a page: the page less
  // the header band.
  QSize PictureClientSize(const QSize& pageSize, const QSize& ppi) const;

  // The last page for such a page: what painting a page announces.
  int LastPage(const QSize& pageSize, const QSize& ppi) const;

 private:
  QString title_;
};

// Prints the printout on printer as the printer is set up: the chosen page
// range (all pages when none), copies and page order, with a progress dialog
// whose Cancel stops the job. Failures are reported in a message box
// captioned "Print Error". Returns whether the job was printed to the end.
bool PrintDocument(ChartPrintout& printout, QPrinter& printer, UserDialogs& dialogs, QWidget* parent);

// What names a system printer: its name, make and model, and location, one
// after another. Empty for a printer that is not a system printer (a PDF
// file).
QString PrinterEntryOf(const QPrinter& printer);

// The entry of the system's default printer, or an empty text when there is
// none.
QString DefaultPrinterEntry();

}  // namespace dyno
