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
#include <QToolBar>
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
#include "support/Approval.h"
#include "support/ImageApproval.h"
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

TEST_F(PrintingTest, PrintsOnePageForEveryBlockOfRowsAndLeavesTheScreenAlone) {
  test::FillSampleEngineCurve(st().Doc, 41);
  Print();
  EXPECT_EQ(PdfPageCount(pdf), 2);
  ScrollTo25();
  Print([&](QPrinter&) {
    // The print job runs from the dialog on: the window may grow to page size.
    EXPECT_EQ(app->Printing, 1);
    EXPECT_EQ(window().maximumSize(), QSize(32000, 32000));
    window().repaint();  // a repaint of the screen meanwhile is no printed page
    EXPECT_EQ(st().View.FirstVisibleRow, 25);
    return true;
  });
  EXPECT_EQ(PdfPageCount(pdf), 6);
  EXPECT_EQ(app->PrinterSetup().MaxPage, 6);
  EXPECT_EQ(app->Printing, 0);
  EXPECT_EQ(window().maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
  EXPECT_EQ(st().View.FirstVisibleRow, 25);
  EXPECT_EQ(window().RowScrollBar()->value(), 25);
  for (const auto& range : dialogs.printRanges) EXPECT_EQ(range, (std::pair<int, int>{1, INT_MAX}));

  Print([](QPrinter& p) {
    p.setPrintRange(QPrinter::PageRange);
    p.setFromTo(5, 9);
    p.setCopyCount(2);  // a PDF file cannot make copies: each comes as pages of its own
    return true;
  });
  EXPECT_EQ(PdfPageCount(pdf), 4);
  Print([](QPrinter& p) {
    p.setPrintRange(QPrinter::AllPages);  // the range left from before counts no more
    p.setCopyCount(1);
    return true;
  });
  EXPECT_EQ(PdfPageCount(pdf), 6);
  const QString longCaption = QStringLiteral("Dynoforge - ") + QString(300, QLatin1Char('x'));
  frame->setWindowTitle(longCaption);
  Print();
  EXPECT_EQ(printer().docName(), longCaption.left(259));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PrintingTest, TheProgressDialogNamesTheJobAndItsPage) {
  test::FillSampleEngineCurve(st().Doc, 41);
  QImage progress;
  QTimer::singleShot(0, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == QStringLiteral("PrintingDialog") && widget->isVisible()) progress = widget->grab().toImage();
    }
  });
  Print();
  ASSERT_FALSE(progress.isNull());
  test::ExpectApprovedImage(progress, "printing-progress");
}

TEST_F(PrintingTest, ACancelledOrFailedJobPrintsNothingAndFailuresAreTold) {
  Print([](QPrinter&) { return false; });
  EXPECT_FALSE(QFile::exists(pdf));
  printer().setOutputFileName(InDir("no such folder/out.pdf"));
  Print();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("'Dynoforge' not printed. Error encountered during print."));
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Print Error"));
  EXPECT_EQ(app->Printing, 0);
}

TEST_F(PrintingTest, ANewDefaultPrinterGivesANewPrinterObject) {
  // The page layout marks the printer object in use.
  const auto marked = [&] {
    bool landscape = false;
    dialogs.printSetupScripts.push_back([&](QPrinter& p) {
      landscape = p.pageLayout().orientation() == QPageLayout::Landscape;
      p.setPageOrientation(QPageLayout::Landscape);
      return false;
    });
    frame->Command(CmPrintSetup);
    return landscape;
  };
  printer().setPageOrientation(QPageLayout::Landscape);
  EXPECT_TRUE(marked());   // no change: the same printer
  defaultPrinter = QStringLiteral("Office\nHP LaserJet\nLPT1:");
  EXPECT_FALSE(marked());  // another default printer: a new one
  EXPECT_TRUE(marked());   // the default printer stayed
  defaultPrinter = QStringLiteral("Office\nHP LaserJet\nLPT2:");
  EXPECT_FALSE(marked());  // its port changed
  defaultPrinter.clear();
  EXPECT_FALSE(marked());  // none at all
}

// --- Print preview -----------------------------------------------------------

TEST_F(PrintingTest, PreviewPagesThroughTheDocument) {
  std::string out;
  const auto look = [&](TApxPreviewWin& p, const char* after) {
    if (after) {
      const int id = std::string(after) == "next" ? CmPreviewNext : std::string(after) == "previous" ? CmPreviewPrevious
                     : std::string(after) == "two" ? CmPreviewTwoPages : CmPreviewOnePage;
      p.Command(id);
    }
    p.UpdateCommandStates();
    out += std::string(after ? after : "opened") + ": " + p.PageText()->text().toStdString() + " pages " +
           std::to_string(p.FromPage) + ".." + std::to_string(p.ToPage) + " shown " +
           std::to_string(p.Page1()->PageNumber()) + (p.Page2() ? "+" + std::to_string(p.Page2()->PageNumber()) : "");
    for (const int id : {CmPreviewPrevious, CmPreviewNext, CmPreviewOnePage, CmPreviewTwoPages, CmPrint}) {
      out += p.Action(id)->isEnabled() ? (p.Action(id)->isChecked() ? " *" : " +") : " -";
    }
    out += "\n";
  };
  for (const int rows : {41, 30, 200}) {
    test::FillSampleEngineCurve(st().Doc, rows);
    out += std::to_string(rows) + " rows\n";
    Preview([&](TApxPreviewWin& p) {
      EXPECT_FALSE(frame->isVisible());
      EXPECT_EQ(p.windowTitle(), QStringLiteral("Dynoforge (Preview)"));
      const auto* bar = p.findChild<QToolBar*>(QStringLiteral("PreviewToolbar"));
      EXPECT_TRUE(bar && !bar->isMovable() && !bar->isFloatable());
      EXPECT_EQ(app->Printing, 1);
      for (const char* step : {static_cast<const char*>(nullptr), "next", "next", "two", "previous", "next", "one",
                               "previous"}) {
        look(p, step);
      }
      EXPECT_EQ(p.Page2() ? p.Page2()->geometry() : p.Page1()->geometry().translated(p.Page1()->width() + 30, 0),
                p.Page1()->geometry().translated(p.Page1()->width() + 30, 0));
    });
  }
  UsePdfPage(printer(), pdf, 450, 300);
  out += "landscape\n";
  Preview([&](TApxPreviewWin& p) { look(p, "two"); });
  test::ExpectApproved(out, "window/preview-pages.txt");
}

TEST_F(PrintingTest, ThePreviewEndsByEscapeAltCOrItsCloseBoxAndTheFrameReturnsWhereItWasLeft) {
  for (const int way : {0, 1, 2}) {
    Preview(
        [&](TApxPreviewWin& p) {
          test::ShowActive(p);
          p.setGeometry(120 + way, 90, 640, 480);
          if (way == 0) QTest::keyClick(&p, Qt::Key_Escape);
          if (way == 1) QTest::keyClick(&p, Qt::Key_C, Qt::AltModifier);
          if (way == 2) p.close();
        },
        true);
    EXPECT_TRUE(frame->isVisible()) << way;
    EXPECT_EQ(frame->geometry(), QRect(120 + way, 90, 640, 480)) << way;
    EXPECT_EQ(app->Printing, 0) << way;
  }
  ScrollTo25();
  Preview([&](TApxPreviewWin& p) {
    p.Command(CmPreviewNext);
    dialogs.printScripts.push_back([&](QPrinter&) { return app->Printing == 2; });
    p.Action(CmPrint)->trigger();  // prints through the print command
    EXPECT_EQ(PdfPageCount(pdf), 6);
    EXPECT_EQ(st().View.FirstVisibleRow, 25);
  });
  EXPECT_EQ(st().View.FirstVisibleRow, 25);
}

}  // namespace
}  // namespace dyno
