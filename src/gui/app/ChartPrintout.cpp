#include "gui/app/ChartPrintout.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "core/app/DynoSheet.h"
#include "core/app/PrintSheets.h"
#include "core/chart/PrintedPage.h"
#include "core/editing/ModeCommands.h"
#include "gui/chart/ChartCanvas.h"
#include "gui/chart/ChartPainter.h"
#include "gui/common/DialogSupport.h"
#include "gui/common/FileNames.h"
#include "gui/common/UserDialogs.h"
#include "gui/document/EditorWidget.h"

namespace dyno {

namespace {

// The progress dialog of a print job: what is printed where, the page, and
// Cancel.
class PrintingDialog : public QDialog {
 public:
  PrintingDialog(QWidget* parent, const QString& title, const QString& device, const QString& port, int pages)
      : QDialog(parent) {
    setObjectName(QStringLiteral("PrintingDialog"));
    setWindowTitle(QStringLiteral("Printing"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    for (const QString& text : {QStringLiteral("Now printing"), QStringLiteral("'%1' on the").arg(title),
                                QStringLiteral("%1 on %2").arg(device, port)}) {
      auto* label = new QLabel(text, this);
      label->setAlignment(Qt::AlignCenter);
      layout->addWidget(label);
    }
    page_ = new QLabel(this);
    page_->setAlignment(Qt::AlignCenter);
    layout->addWidget(page_);
    // Sized for the widest page line, so no page's line is cut.
    ShowPage(pages, pages);
    page_->setMinimumWidth(page_->sizeHint().width());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->setCenterButtons(true);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { cancelled_ = true; });
    layout->addWidget(buttons);
  }

  void ShowPage(int page, int pages) {
    page_->setText(QStringLiteral("Now printing Page %1 of %2").arg(page).arg(pages));
  }

  bool Cancelled() const { return cancelled_; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    cancelled_ = true;
    QDialog::closeEvent(event);
  }
  void reject() override { cancelled_ = true; }

 private:
  QLabel* page_ = nullptr;
  bool cancelled_ = false;
};

QString EntryOf(const QPrinterInfo& info) {
  if (info.isNull()) return {};
  return info.printerName() + QLatin1Char('\n') + info.makeAndModel() + QLatin1Char('\n') + info.location();
}

std::optional<QDate> fixedPrintDate;

// The header line's font: the view's Arial (Liberation Sans where Arial is
// missing) at the table's size, so the line reads like the rest of the page.
constexpr int HeaderCellHeight = 14;
constexpr int HeaderAverageWidth = 6;
constexpr int HeaderMargin = 4;
// A long line is condensed down to this share of its width before its end is
// left out.
constexpr qreal NarrowestHeader = 0.6;

// The header band, width screen pixels wide: the line black on white, a thin
// rule under it.
void DrawPageHeader(QPainter& painter, int width, const QString& text) {
  painter.save();
  painter.fillRect(QRect(0, 0, width, PageHeaderHeight), Qt::white);
  const ChartFont font(HeaderCellHeight, HeaderAverageWidth, 400);
  painter.setFont(font.Font());
  painter.setPen(Qt::black);
  const qreal room = std::max(width - 2 * HeaderMargin, 1);
  const qreal wide = QFontMetricsF(font.Font()).horizontalAdvance(text);
  const qreal squeeze = wide > room ? std::max(room / wide, NarrowestHeader) : 1.0;
  painter.translate(HeaderMargin, 0);
  painter.scale(squeeze, 1.0);
  const QString shown = QFontMetricsF(font.Font()).elidedText(text, Qt::ElideRight, room / squeeze);
  painter.drawText(QPointF(0, 2 + font.Ascent()), shown);
  painter.restore();
  painter.fillRect(QRect(HeaderMargin, PageHeaderHeight - 2, std::max(width - 2 * HeaderMargin, 0), 1), Qt::black);
}

void ReportNotPrinted(UserDialogs& dialogs, QWidget* parent, const QString& title, const QString& reason) {
  dialogs.Message(parent, QStringLiteral("'%1' not printed. %2.").arg(title, reason), QStringLiteral("Print Error"));
}

}  // namespace

QDate PrintDate() { return fixedPrintDate ? *fixedPrintDate : QDate::currentDate(); }

void SetPrintDate(std::optional<QDate> date) { fixedPrintDate = date; }

ChartPrintout::ChartPrintout(EditorWidget& window, PrintPageSetup& setup, const QString& title)
    : Window(window), Setup(setup), title_(title) {}

PrintDialogPages ChartPrintout::DialogPages() const { return {1, Pages, 0, 0}; }

bool ChartPrintout::HasPage(int pageNumber) const {
  return pageNumber >= Setup.MinPage && pageNumber <= Setup.MaxPage;
}

QSize ChartPrintout::PageClientSize(const QSize& pageSize, const QSize& ppi) const {
  if (!Scale) return pageSize.expandedTo(QSize(0, 0)).boundedTo(QSize(MaxPagePixels, MaxPagePixels));
  return {ScreenPixelsOf(pageSize.width(), Window.logicalDpiX(), ppi.width()),
          ScreenPixelsOf(pageSize.height(), Window.logicalDpiY(), ppi.height())};
}

QSize ChartPrintout::PictureClientSize(const QSize& pageSize, const QSize& ppi) const {
  const QSize page = PageClientSize(pageSize, ppi);
  return {page.width(), std::max(page.height() - PageHeaderHeight, 0)};
}

int ChartPrintout::LastPage(const QSize& pageSize, const QSize& ppi) const {
  return PrintedPageCountFor(Window.State().Doc.RowCount, PictureClientSize(pageSize, ppi).height());
}

void ChartPrintout::PrintPage(QPainter& painter, int pageNumber, const QSize& pageSize, const QSize& ppi) {
  const QSize client = PageClientSize(pageSize, ppi);
  if (client.isEmpty()) return;
  painter.save();
  if (Scale) {
    // Screen pixels of the page's client area onto the page's device pixels.
    painter.scale(static_cast<qreal>(pageSize.width()) / client.width(),
                  static_cast<qreal>(pageSize.height()) / client.height());
  }
  const int savedFrom = Setup.FromPage;
  const int savedTo = Setup.ToPage;
  Setup.FromPage = Setup.ToPage = pageNumber;
  const EditorState& st = Window.State();
  // The file's name is in the file system's encoding, the rest of the line in
  // the view's 8-bit text.
  const std::string line = PageHeaderText(st.Doc, st.Session.Dyno, PrintDate().toString(Qt::ISODate).toStdString());
  const DataFile& file = FileOf(st.Doc, ShownData(st.Doc));
  const std::size_t name = file.Exists() ? std::min(file.Title.size(), line.size()) : 0;
  DrawPageHeader(painter, client.width(),
                 DecodedName(line.substr(0, name)) + QString::fromLatin1(line.data() + name,
                                                                        static_cast<qsizetype>(line.size() - name)));
  // Below the header, the window's picture as a window of that shape shows it.
  const QSize picture = PictureClientSize(pageSize, ppi);
  if (picture.isEmpty()) {
    painter.restore();
    return;
  }
  painter.translate(0, client.height() - picture.height());
  const auto page = LayOutPrintedPage(st.View, st.Chart, st.Doc, st.Session.Dyno, pageNumber, picture.width(), picture.height());
  ChartPaintRequest request = WindowPaintRequest(Window, QRect(QPoint(0, 0), picture), false);
  request.clientSize = picture;
  PaintEditorView(painter, st, page->View, page->Chart, request);
  const int lastPage = page->LastPage;
  Setup.FromPage = savedFrom;
  Setup.ToPage = savedTo;
  if (lastPage > 0) {
    Setup.MinPage = 1;
    Setup.MaxPage = lastPage;
  }
  painter.restore();
}

bool PrintDocument(ChartPrintout& printout, QPrinter& printer, UserDialogs& dialogs, QWidget* parent) {
  PrintPageSetup& setup = printout.Setup;
  printer.setDocName(printout.Title());
  const QSize ppi(printer.logicalDpiX(), printer.logicalDpiY());
  const QSize pageSize(printer.width(), printer.height());

  // The page range as painting a page of this size announces it, known
  // before the first page so that a chosen range ends at the last page.
  setup.MinPage = 1;
  setup.MaxPage = printout.LastPage(pageSize, ppi);
  const bool range = printer.printRange() == QPrinter::PageRange;
  const int first = range && printer.fromPage() > 0 ? printer.fromPage() : setup.MinPage;
  const int last = range && printer.toPage() > 0 ? printer.toPage() : INT_MAX;
  // A printer that cannot make copies itself gets each page as often as asked.
  const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
  const std::vector<int> sheets = PrintSheets(first, last, setup.MaxPage, printer.pageOrder() == QPrinter::LastPageFirst,
                                              copies, printer.collateCopies());
  if (sheets.empty()) return false;

  QPainter painter;
  if (!painter.begin(&printer)) {
    ReportNotPrinted(dialogs, parent, printout.Title(), QStringLiteral("Error encountered during print"));
    return false;
  }

  const QPrinterInfo device = printer.outputFormat() == QPrinter::NativeFormat ? QPrinterInfo(printer) : QPrinterInfo();
  const bool toFile = printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty();
  const QString deviceName = device.isNull() ? QStringLiteral("PDF") : device.printerName();
  const QString location = device.isNull() || device.location().isEmpty() ? QStringLiteral("CUPS") : device.location();
  const QString port = toFile ? QFileInfo(printer.outputFileName()).fileName() : location;
  PrintingDialog progress(parent, printout.Title(), deviceName, port, setup.MaxPage);
  progress.show();

  bool cancelled = false;
  bool failed = false;
  for (std::size_t k = 0; k < sheets.size(); ++k) {
    progress.ShowPage(sheets[k], setup.MaxPage);
    QApplication::processEvents();
    if (progress.Cancelled()) {
      cancelled = true;
      break;
    }
    if (k > 0 && !printer.newPage()) {
      failed = true;
      break;
    }
    printout.PrintPage(painter, sheets[k], pageSize, ppi);
  }
  if (cancelled) {
    printer.abort();
    painter.end();
    progress.hide();
    ReportNotPrinted(dialogs, parent, printout.Title(), QStringLiteral("Printing canceled"));
    return false;
  }
  const bool ended = painter.end();
  progress.hide();
  if (failed || !ended || printer.printerState() == QPrinter::Error) {
    ReportNotPrinted(dialogs, parent, printout.Title(), QStringLiteral("Error encountered during print"));
    return false;
  }
  return true;
}

QString PrinterEntryOf(const QPrinter& printer) {
  if (printer.outputFormat() != QPrinter::NativeFormat) return {};
  return EntryOf(QPrinterInfo(printer));
}

QString DefaultPrinterEntry() { return EntryOf(QPrinterInfo::defaultPrinter()); }

}  // namespace dyno
