#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <climits>
#include <functional>

#include "core/app/PreviewLayout.h"
#include "core/chart/RowScrolling.h"
#include "core/resources/ResourceIds.h"
#include "gui/app/TApxPreviewWin.h"
#include "gui/app/TApxPrintout.h"
#include "gui/app/TDynoforgeApp.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/chart/ChartPainter.h"
#include "gui/common/Settings.h"
#include "gui/document/TDynoforgeWindow.h"
#include "support/FakeHost.h"
#include "support/QtTestSupport.h"
#include "support/SampleCurves.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

// Pages of a PDF file as Qt writes them.
int PdfPageCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray bytes = file.readAll();
  int pages = 0;
  for (qsizetype at = bytes.indexOf("/Type /Page"); at >= 0; at = bytes.indexOf("/Type /Page", at + 1)) {
    if (bytes.mid(at + 11, 1) != "s") ++pages;
  }
  return pages;
}

// A PDF printer whose printable page is width x height points at 300 pixels
// per inch, without margins: 300 x 450 points are 400 x 600 screen pixels,
// a page of 40 table rows.
void UsePdfPage(QPrinter& printer, const QString& path, qreal width, qreal height) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setResolution(300);
  printer.setPageLayout(
      QPageLayout(QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch),
                  QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  printer.setCopyCount(1);
  printer.setCollateCopies(true);
  printer.setPageOrder(QPrinter::FirstPageFirst);
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(0, 0);
}

class PrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile::remove(SettingsFilePath());
    app = TDynoforgeApp::Instance();
    ASSERT_NE(app, nullptr);
    app->SetDefaultPrinterQuery([this] { return defaultPrinter; });
    frame = std::make_unique<TSDIDecFrame>();
    frame->Client()->SetDialogs(&dialogs);
    frame->setGeometry(60, 50, 900, 700);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    test::IdlePass();
    ASSERT_TRUE(app->CommandEnabled(CmPrint));
    pdf = InDir("out.pdf");
    UsePdfPage(*app->Printer(), pdf, 300, 450);
  }
  void TearDown() override {
    frame->Client()->SetDialogs(nullptr);
    app->SetDefaultPrinterQuery(nullptr);
  }

  QString InDir(const char* name) const { return QString::fromStdString((dir.path() / name).string()); }
  TDynoforgeWindow& window() const { return *frame->Client(); }
  EditorState& st() const { return window().State(); }
  QPrinter& printer() const { return *app->Printer(); }

  // Chooses Print; the print dialog is confirmed unless script says no.
  void Print(std::function<bool(QPrinter&)> script = [](QPrinter&) { return true; }) {
    dialogs.printScripts.push_back(std::move(script));
    frame->Command(CmPrint);
  }

  // Scrolls the screen table of a long curve to row 25.
  void ScrollTo25() {
    test::FillSampleEngineCurve(st().Doc, 200);
    UpdateRowScrollBar(st().View, st().Host, 0, 200);
    window().RowScrollBar()->setValue(25);
    window().repaint();
    ASSERT_EQ(st().View.FirstVisibleRow, 25);
  }

  // Chooses Print Preview and runs check on the preview window once it is
  // shown; the preview is then closed, unless check is to close it itself.
  void Preview(const std::function<void(TApxPreviewWin&)>& check, bool checkCloses = false) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* preview = qobject_cast<TApxPreviewWin*>(widget);
        if (!preview || !preview->isVisible()) continue;
        ran = true;
        check(*preview);
        if (!checkCloses) preview->Command(CmPreviewClose);
      }
    });
    // Never wait for a person: a preview still open after 10 s is closed.
    QTimer guard;
    guard.setSingleShot(true);
    bool guardFired = false;
    QObject::connect(&guard, &QTimer::timeout, [&] {
      guardFired = true;
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* preview = qobject_cast<TApxPreviewWin*>(widget)) preview->Command(CmPreviewClose);
      }
    });
    guard.start(10000);
    frame->Command(CmPrintPreview);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(guardFired);
  }

  test::TempDir dir;
  QString pdf;
  QString defaultPrinter;
  test::ScriptedDialogs dialogs;
  TDynoforgeApp* app = nullptr;
  std::unique_ptr<TSDIDecFrame> frame;
};

// --- Printing ----------------------------------------------------------------

TEST_F(PrintingTest, PrintsOnePageForEveryBlockOfVisibleRows) {
  struct Case {
    int rows, pages;
  };
  for (const Case c : {Case{41, 2}, Case{30, 1}, Case{40, 2}, Case{200, 6}}) {
    test::FillSampleEngineCurve(st().Doc, c.rows);
    QFile::remove(pdf);
    Print();
    EXPECT_EQ(PdfPageCount(pdf), c.pages) << c.rows;
    EXPECT_EQ(app->PrinterSetup().MaxPage, c.pages) << c.rows;
  }
  // Every dialog offered any page, from 1 on.
  for (const auto& range : dialogs.printRanges) EXPECT_EQ(range, (std::pair<int, int>{1, INT_MAX}));
  EXPECT_TRUE(dialogs.messages.empty());

  const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
  if (!pdfinfo.isEmpty()) {
    QProcess info;
    info.start(pdfinfo, {pdf});
    ASSERT_TRUE(info.waitForFinished());
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("Pages:\\s+6\\n")))) << out.toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("Title:\\s+Dynoforge\\n")))) << out.toStdString();
  }
}

TEST_F(PrintingTest, PageThreeShowsTheTableFromTwiceTheVisibleRows) {
  test::FillSampleEngineCurve(st().Doc, 200);
  const QColor text = window().palette().color(QPalette::Text);
  const QColor face = window().palette().color(QPalette::Base);

  // The page at the screen's resolution: no scaling, 400 x 600, 40 rows.
  TApxPrintout printout(window(), printer(), app->PrinterSetup(), QStringLiteral("Dynoforge"));
  const QSize ppi(window().logicalDpiX(), window().logicalDpiY());
  const auto page = [&](int number) {
    QImage image(400, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    printout.PrintPage(painter, number, QSize(400, 600), ppi);
    return image;
  };
  const QImage page3 = page(3);
  EXPECT_EQ(app->PrinterSetup().MaxPage, 6);

  // The same view on a 400 x 600 window scrolled to row 80.
  test::FakeHost host;
  EditorState scrolled(host, 1024, 768);
  test::FillSampleEngineCurve(scrolled.Doc, 200);
  ResizeView(scrolled.View, 400, 600);
  scrolled.View.ScrollPos = scrolled.View.FirstVisibleRow = 80;
  QImage expected(400, 600, QImage::Format_RGB32);
  expected.fill(Qt::white);
  {
    QPainter painter(&expected);
    PaintEditorView(painter, scrolled, {QRect(0, 0, 400, 600), false, QSize(400, 600), text, face, false});
  }
  EXPECT_TRUE(page3 == expected);
  EXPECT_FALSE(page(1) == expected);
}

TEST_F(PrintingTest, ScalesTheScreenLayoutOntoThePage) {
  test::FillSampleEngineCurve(st().Doc, 41);
  TApxPrintout printout(window(), printer(), app->PrinterSetup(), QStringLiteral("Dynoforge"));
  const QSize ppi(window().logicalDpiX(), window().logicalDpiY());
  // A page of 800 x 1200 printer pixels at twice the screen's resolution is
  // the 400 x 600 screen layout, twice as large in both directions...
  EXPECT_EQ(printout.PageClientSize(QSize(800, 1200), ppi * 2), QSize(400, 600));
  QImage small(400, 600, QImage::Format_RGB32);
  QImage large(800, 1200, QImage::Format_RGB32);
  small.fill(Qt::white);
  large.fill(Qt::white);
  {
    QPainter painter(&small);
    printout.PrintPage(painter, 1, small.size(), ppi);
  }
  {
    QPainter painter(&large);
    printout.PrintPage(painter, 1, large.size(), ppi * 2);
  }
  for (const QPoint p : {QPoint(30, 40), QPoint(2, 27), QPoint(200, 598), QPoint(300, 300), QPoint(100, 13)}) {
    EXPECT_EQ(large.pixel(2 * p.x(), 2 * p.y()), small.pixel(p)) << p.x() << "," << p.y();
    EXPECT_EQ(large.pixel(2 * p.x() + 1, 2 * p.y() + 1), small.pixel(p)) << p.x() << "," << p.y();
  }
  // ... and x and y scale independently: 800 x 600 printer pixels.
  EXPECT_EQ(printout.PageClientSize(QSize(800, 600), QSize(192, 96)), QSize(400, 600));
  printout.Scale = false;
  EXPECT_EQ(printout.PageClientSize(QSize(800, 600), QSize(192, 96)), QSize(800, 600));
}

TEST_F(PrintingTest, LeavesTheScreenTableWhereTheUserScrolledIt) {
  ScrollTo25();
  const int visibleRows = st().View.VisibleRows;
  const ChartLayout chart = st().Chart;
  Print([&](QPrinter&) {
    // The print job runs from the dialog on: the window may grow to page size.
    EXPECT_EQ(app->Printing, 1);
    EXPECT_TRUE(window().Printing());
    EXPECT_EQ(window().maximumSize(), QSize(32000, 32000));
    // A repaint of the screen meanwhile is no printed page.
    window().repaint();
    EXPECT_EQ(st().View.FirstVisibleRow, 25);
    return true;
  });
  EXPECT_EQ(PdfPageCount(pdf), 6);
  EXPECT_EQ(app->Printing, 0);
  EXPECT_FALSE(window().Printing());
  EXPECT_EQ(window().maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
  EXPECT_EQ(st().View.FirstVisibleRow, 25);
  EXPECT_EQ(st().View.ScrollPos, 25);
  EXPECT_EQ(window().RowScrollBar()->value(), 25);
  EXPECT_EQ(st().View.VisibleRows, visibleRows);
  EXPECT_FALSE(st().View.PrintingPage);
  EXPECT_EQ(st().Chart.PointX, chart.PointX);
  EXPECT_EQ(st().Chart.PlotBottom, chart.PlotBottom);
}

TEST_F(PrintingTest, CancelledDialogPrintsNothing) {
  Print([](QPrinter&) { return false; });
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(app->Printing, 0);
}

TEST_F(PrintingTest, PrintsTheChosenPagesAndCopies) {
  test::FillSampleEngineCurve(st().Doc, 200);  // 6 pages
  Print([](QPrinter& p) {
    p.setPrintRange(QPrinter::PageRange);
    p.setFromTo(2, 3);
    return true;
  });
  EXPECT_EQ(PdfPageCount(pdf), 2);

  // A range running past the last page ends there.
  QFile::remove(pdf);
  Print([](QPrinter& p) {
    p.setPrintRange(QPrinter::PageRange);
    p.setFromTo(5, 9);
    return true;
  });
  EXPECT_EQ(PdfPageCount(pdf), 2);

  // A PDF file cannot make copies: each comes as pages of its own.
  QFile::remove(pdf);
  test::FillSampleEngineCurve(st().Doc, 41);  // 2 pages
  Print([](QPrinter& p) {
    p.setCopyCount(3);
    return true;
  });
  EXPECT_EQ(PdfPageCount(pdf), 6);

  // A range beyond the last page prints nothing at all.
  QFile::remove(pdf);
  Print([](QPrinter& p) {
    p.setPrintRange(QPrinter::PageRange);
    p.setFromTo(3, 4);
    return true;
  });
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PrintingTest, TitlesTheDocumentWithTheFrameCaption) {
  frame->setWindowTitle(QStringLiteral("Dynoforge - engine.ini"));
  Print();
  EXPECT_EQ(printer().docName(), QStringLiteral("Dynoforge - engine.ini"));
  const QString longCaption = QStringLiteral("Dynoforge - ") + QString(300, QLatin1Char('x'));
  frame->setWindowTitle(longCaption);
  Print();
  EXPECT_EQ(printer().docName(), longCaption.left(259));
}

TEST_F(PrintingTest, ReportsAFileThatCannotBeWritten) {
  printer().setOutputFileName(InDir("no such folder/out.pdf"));
  Print();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("'Dynoforge' not printed. Error encountered during print."));
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Print Error"));
  EXPECT_EQ(app->Printing, 0);
}

TEST_F(PrintingTest, PrintCommandsFollowThePrinterAndSetupChangesIt) {
  test::IdlePass();
  for (const int id : {CmPrint, CmPrintSetup, CmPrintPreview}) EXPECT_TRUE(frame->Action(id)->isEnabled()) << id;

  dialogs.printSetupScripts.push_back([](QPrinter& p) {
    p.setPageOrientation(QPageLayout::Landscape);
    return true;
  });
  frame->Command(CmPrintSetup);
  EXPECT_EQ(dialogs.printSetups, 1);
  EXPECT_EQ(printer().pageLayout().orientation(), QPageLayout::Landscape);
  // The same printer object prints with it.
  Print([](QPrinter& p) { return p.pageLayout().orientation() == QPageLayout::Landscape; });
  EXPECT_TRUE(QFile::exists(pdf));
}

TEST_F(PrintingTest, ANewDefaultPrinterGivesANewPrinterObject) {
  // The page layout marks the printer object in use.
  printer().setPageOrientation(QPageLayout::Landscape);
  const auto isMarked = [](QPrinter& p) { return p.pageLayout().orientation() == QPageLayout::Landscape; };
  bool marked = false;
  const auto look = [&](QPrinter& p) {
    marked = isMarked(p);
    return false;
  };

  dialogs.printSetupScripts.push_back(look);
  frame->Command(CmPrintSetup);
  EXPECT_TRUE(marked);  // no change: the same printer

  defaultPrinter = QStringLiteral("Office,HP LaserJet,LPT1:");
  dialogs.printSetupScripts.push_back(look);
  frame->Command(CmPrintSetup);
  EXPECT_FALSE(marked);  // another default printer: a new one

  printer().setPageOrientation(QPageLayout::Landscape);
  dialogs.printSetupScripts.push_back(look);
  frame->Command(CmPrintSetup);
  EXPECT_TRUE(marked);  // the default printer stayed

  defaultPrinter = QStringLiteral("Office,HP LaserJet,LPT2:");  // its port changed
  dialogs.printScripts.push_back(look);
  frame->Command(CmPrint);
  EXPECT_FALSE(marked);

}

// --- Print preview ---------------------------------------------------------

TEST_F(PrintingTest, PreviewOffersThePagesOfTheCurve) {
  test::FillSampleEngineCurve(st().Doc, 41);  // pages 1 and 2
  const QRect frameGeometry = frame->geometry();
  Preview([&](TApxPreviewWin& p) {
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(p.geometry(), frameGeometry);
    EXPECT_EQ(p.windowTitle(), QStringLiteral("Dynoforge (Preview)"));
    EXPECT_FALSE(p.windowIcon().isNull());
    EXPECT_EQ(app->Printing, 1);
    EXPECT_EQ(p.PrintableExtent(), QSize(1250, 1875));
    EXPECT_EQ(app->PrinterSetup().MaxPage, 2);
    EXPECT_EQ(p.PageText()->text(), QStringLiteral("Page 1"));
    p.UpdateCommandStates();
    EXPECT_FALSE(p.Action(CmPreviewPrevious)->isEnabled());
    EXPECT_TRUE(p.Action(CmPreviewNext)->isEnabled());
    EXPECT_TRUE(p.Action(CmPreviewTwoPages)->isEnabled());
    EXPECT_TRUE(p.Action(CmPreviewOnePage)->isChecked());
    EXPECT_EQ(p.Page2(), nullptr);
    const Rect first = FirstPreviewPage(p.LayoutWindow()->width(), p.LayoutWindow()->height(), 1250, 1875);
    EXPECT_EQ(p.Page1()->geometry(), QRect(first.left, first.top, first.right - first.left, first.bottom - first.top));

    p.Action(CmPreviewNext)->trigger();
    EXPECT_EQ(p.FromPage, 2);
    EXPECT_EQ(p.Page1()->PageNumber(), 2);
    EXPECT_EQ(p.PageText()->text(), QStringLiteral("Page 2"));
    EXPECT_TRUE(p.Action(CmPreviewPrevious)->isEnabled());
    EXPECT_FALSE(p.Action(CmPreviewNext)->isEnabled());

    // Two pages from the last page show the last two.
    p.Action(CmPreviewTwoPages)->trigger();
    ASSERT_NE(p.Page2(), nullptr);
    EXPECT_EQ(p.FromPage, 1);
    EXPECT_EQ(p.ToPage, 2);
    EXPECT_EQ(p.Page1()->PageNumber(), 1);
    EXPECT_EQ(p.Page2()->PageNumber(), 2);
    EXPECT_EQ(p.PageText()->text(), QStringLiteral("Page 1 - 2"));
    EXPECT_TRUE(p.Action(CmPreviewTwoPages)->isChecked());
    EXPECT_EQ(p.Page2()->geometry(), p.Page1()->geometry().translated(p.Page1()->width() + 30, 0));
    EXPECT_FALSE(p.Action(CmPreviewNext)->isEnabled());
    EXPECT_FALSE(p.Action(CmPreviewPrevious)->isEnabled());

    p.Action(CmPreviewOnePage)->trigger();
    EXPECT_EQ(p.Page2(), nullptr);
    EXPECT_EQ(p.ToPage, 1);
    EXPECT_EQ(p.PageText()->text(), QStringLiteral("Page 1"));
    EXPECT_TRUE(p.Action(CmPreviewNext)->isEnabled());
  });
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(app->Printing, 0);
  EXPECT_FALSE(window().Printing());
}

TEST_F(PrintingTest, PreviewOfOnePageShowsABlankSecondPage) {
  test::FillSampleEngineCurve(st().Doc, 30);
  Preview([&](TApxPreviewWin& p) {
    EXPECT_EQ(app->PrinterSetup().MaxPage, 1);
    p.UpdateCommandStates();
    EXPECT_FALSE(p.Action(CmPreviewNext)->isEnabled());
    p.Action(CmPreviewTwoPages)->trigger();
    ASSERT_NE(p.Page2(), nullptr);
    EXPECT_EQ(p.Page2()->PageNumber(), 0);
    EXPECT_EQ(p.FromPage, 1);
    EXPECT_EQ(p.ToPage, 1);
    EXPECT_EQ(p.PageText()->text(), QStringLiteral("Page 1"));
    EXPECT_FALSE(p.Action(CmPreviewNext)->isEnabled());
    EXPECT_FALSE(p.Action(CmPreviewPrevious)->isEnabled());

    // A white sheet in a black border beside a printed one.
    const QImage blank = p.Page2()->Sheet();
    const QImage printed = p.Page1()->Sheet();
    ASSERT_EQ(blank.size(), p.Page2()->size());
    const auto notWhite = [](const QImage& sheet) {
      int count = 0;
      for (int y = 1; y + 1 < sheet.height(); ++y) {
        for (int x = 1; x + 1 < sheet.width(); ++x) count += sheet.pixel(x, y) != qRgb(255, 255, 255);
      }
      return count;
    };
    EXPECT_EQ(notWhite(blank), 0);
    EXPECT_EQ(blank.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_GT(notWhite(printed), printed.width() * printed.height() / 4);
  });
}

TEST_F(PrintingTest, LandscapePageDisablesTwoPages) {
  UsePdfPage(printer(), pdf, 450, 300);
  Preview([&](TApxPreviewWin& p) {
    p.UpdateCommandStates();
    EXPECT_FALSE(p.Action(CmPreviewTwoPages)->isEnabled());
    p.Command(CmPreviewTwoPages);
    EXPECT_EQ(p.Page2(), nullptr);
  });
}

TEST_F(PrintingTest, EscapeAltCAndTheCloseBoxEndThePreview) {
  for (const int way : {0, 1, 2}) {
    Preview(
        [&](TApxPreviewWin& p) {
          test::ShowActive(p);
          if (way == 0) QTest::keyClick(&p, Qt::Key_Escape);
          if (way == 1) QTest::keyClick(&p, Qt::Key_C, Qt::AltModifier);
          if (way == 2) p.close();
        },
        true);
    EXPECT_TRUE(frame->isVisible()) << way;
    EXPECT_EQ(app->Printing, 0) << way;
  }
}

TEST_F(PrintingTest, FrameReturnsWhereThePreviewWasLeft) {
  QRect moved;
  Preview([&](TApxPreviewWin& p) {
    p.setGeometry(120, 90, 640, 480);
    moved = p.geometry();
  });
  EXPECT_EQ(moved, QRect(120, 90, 640, 480));
  EXPECT_EQ(frame->geometry(), moved);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(frame->updatesEnabled());
}

TEST_F(PrintingTest, PreviewLeavesTheScreenTableWhereItWas) {
  ScrollTo25();
  Preview([&](TApxPreviewWin& p) {
    p.Command(CmPreviewNext);
    p.Command(CmPreviewNext);
    EXPECT_EQ(p.Page1()->PageNumber(), 3);
    EXPECT_EQ(st().View.FirstVisibleRow, 25);
  });
  EXPECT_EQ(st().View.FirstVisibleRow, 25);
  EXPECT_EQ(st().View.ScrollPos, 25);
  EXPECT_EQ(window().RowScrollBar()->value(), 25);
}

TEST_F(PrintingTest, PreviewPrintsThroughThePrintCommand) {
  test::FillSampleEngineCurve(st().Doc, 41);
  Preview([&](TApxPreviewWin& p) {
    p.UpdateCommandStates();
    EXPECT_TRUE(p.Action(CmPrint)->isEnabled());
    dialogs.printScripts.push_back([&](QPrinter&) {
      EXPECT_EQ(app->Printing, 2);
      return true;
    });
    p.Action(CmPrint)->trigger();
    EXPECT_EQ(PdfPageCount(pdf), 2);
    EXPECT_EQ(app->Printing, 1);
    // The preview still pages as before.
    EXPECT_EQ(app->PrinterSetup().MaxPage, 2);
    EXPECT_TRUE(p.Action(CmPreviewNext)->isEnabled());
  });
  EXPECT_EQ(app->Printing, 0);
}

}  // namespace
}  // namespace dyno
