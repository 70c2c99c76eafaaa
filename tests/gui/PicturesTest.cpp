// What the editor shows, checked as pictures: each state is rendered by the
// real widgets offscreen and compared whole with the approved PNG under
// tests/data/pictures (scripts/approve.sh renews them after a deliberate
// change).
#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "core/editing/EditorState.h"
#include "core/files/ParameterTexts.h"
#include "core/resources/ResourceIds.h"
#include "gui/app/TApxPreviewWin.h"
#include "gui/app/TDynoforgeAboutDlg.h"
#include "gui/app/TDynoforgeApp.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/common/Settings.h"
#include "gui/curves/CurveDialogs.h"
#include "gui/document/TDynoforgeWindow.h"
#include "gui/files/ParameterDialogs.h"
#include "support/Approval.h"
#include "support/ImageApproval.h"
#include "support/QtTestSupport.h"
#include "support/SampleCurves.h"
#include "support/ScriptedDialogs.h"

namespace dyno {
namespace {

using test::ExpectApprovedImage;

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile::remove(SettingsFilePath());
    frame = std::make_unique<TSDIDecFrame>();
    window().SetDialogs(&dialogs);
    frame->setGeometry(40, 30, 1000, 700);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    test::IdlePass();
  }
  void TearDown() override { window().SetDialogs(nullptr); }

  TDynoforgeWindow& window() { return *frame->Client(); }
  EditorState& st() { return window().State(); }

  // The document changed behind the window's back: lay it out again.
  void Repaint() {
    window().update();
    window().repaint();
  }
  void Open(const std::string& file) {
    dialogs.openAnswers.push_back(QString::fromStdString(test::DataPath(file).string()));
    frame->Command(CmOpen);
    Repaint();
  }
  void Press(Point p) { QTest::mousePress(&window(), Qt::LeftButton, Qt::NoModifier, QPoint(p.x, p.y)); }
  void Release(Point p) { QTest::mouseRelease(&window(), Qt::LeftButton, Qt::NoModifier, QPoint(p.x, p.y)); }
  void Click(Point p) {
    Press(p);
    Release(p);
    Repaint();
  }
  Point TorquePoint(int i) { return {st().Chart.PointX[i], st().Chart.TorqueY[i]}; }
  void Approve(const std::string& name) { ExpectApprovedImage(window().grab().toImage(), name); }

  test::ScriptedDialogs dialogs;
  std::unique_ptr<TSDIDecFrame> frame;
};

TEST_F(Pictures, TheFrameAtStartUp) {
  // No hint of whatever an earlier test left the pointer over.
  QTest::mouseMove(frame.get(), QPoint(frame->width() - 5, frame->height() - 5));
  frame->statusBar()->clearMessage();
  ExpectApprovedImage(frame->grab().toImage(), "frame-start-up");
}

TEST_F(Pictures, EngineViews) {
  Open("files/engine-typical.ini");
  Approve("engine-opened");
  Click(TorquePoint(12));
  Approve("engine-torque-picked");
  QTest::mouseMove(&window(), QPoint(st().Chart.PointX[15] + 3, st().Chart.CompressionY[15] + 2));
  Repaint();
  Approve("engine-hover");
  Click({110, 28 + 14 * 4 + 7});  // the compression cell of line 4
  Press({367, 19});                // the Down button held
  Repaint();
  Approve("engine-cell-down-button");
  Release({367, 19});
  test::FillSampleEngineCurve(st().Doc, 300);
  window().resize(window().size() - QSize(0, 1));
  window().RowScrollBar()->setValue(120);
  Repaint();
  Approve("engine-300-rows-scrolled");
  dialogs.saveChoices.push_back(UserDialogs::SaveChoice::Discard);
  Open("files/car-upgrade.ini");
  Approve("upgrade");
}

TEST_F(Pictures, TireViews) {
  Open("files/tire-typical.tbc");
  test::UseTireView(st().Doc, 4);
  for (int slot = 0; slot < 4; ++slot) {
    Click({96 * 0 + (36 + 60 * slot) + 30, 12});
    Approve("tire-slot-" + std::to_string(slot + 1));
  }
  Click({st().Chart.PointX[40], st().Chart.SlipY[40]});
  Approve("tire-sample-picked");
  frame->Command(CmBend);
  Press({367, 7});
  Repaint();
  Approve("tire-bend-up-held");
  Release({367, 7});
}

TEST_F(Pictures, PrintedPagesAndPreview) {
  test::FillSampleEngineCurve(st().Doc, 60);
  TDynoforgeApp& app = *TDynoforgeApp::Instance();
  ASSERT_TRUE(app.CommandEnabled(CmPrint));
  QPrinter& printer = *app.Printer();
  TApxPrintout printout(window(), printer, app.PrinterSetup(), QStringLiteral("Dynoforge"));
  for (const int page : {1, 2}) {
    QImage image(500, 700, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    printout.PrintPage(painter, page, image.size(), QSize(96, 96));
    painter.end();
    ExpectApprovedImage(image, "printed-page-" + std::to_string(page));
  }
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  TApxPreviewWin preview(window(), printer, app.PrinterSetup(), frame->windowTitle());
  preview.SetupWindow();
  preview.setGeometry(40, 30, 900, 650);
  preview.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
  preview.UpdateCommandStates();
  ExpectApprovedImage(preview.grab().toImage(), "preview-one-page");
  preview.Command(CmPreviewTwoPages);
  preview.UpdateCommandStates();
  ExpectApprovedImage(preview.grab().toImage(), "preview-two-pages");
  preview.Command(CmPreviewNext);
  preview.UpdateCommandStates();
  ExpectApprovedImage(preview.grab().toImage(), "preview-two-pages-next");
  preview.hide();
}

TEST_F(Pictures, Dialogs) {
  const auto approve = [](QDialog& dialog, const std::string& name) {
    dialog.show();
    QApplication::processEvents();
    ExpectApprovedImage(dialog.grab().toImage(), "dialog-" + name);
    dialog.hide();
  };
  TDynoforgeAboutDlg about;
  approve(about, "about");
  ParameterTexts texts;
  LoadParameterTexts(st().Doc.Parameters, texts);
  EditEngineSpecsDialog engine(texts);
  approve(engine, "engine-parameters");
  test::UseTireView(st().Doc, 2);
  EditTireSpecsDialog tire(st().Doc, 2);
  approve(tire, "slip-curves");
  GetEngineSpecsDialog generate(st().Doc.Generator, dialogs);
  approve(generate, "generate");
  RescalePowerSpecsDialog rescale(st().Doc, {41, 450.0, -120.0, -120.0}, dialogs);
  approve(rescale, "rescale");
  ChangeResolutionDialog resolution(2);
  approve(resolution, "resolution");
}

}  // namespace
}  // namespace dyno
