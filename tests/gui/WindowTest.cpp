// The editor window driven as a user drives it where a flow cannot: the
// timer behind a held button, and the start-up.
#include <QActionGroup>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include "core/chart/ChartGeometry.h"
#include "core/chart/ChartLayout.h"
#include "core/resources/ResourceIds.h"
#include "gui/chart/ChartCanvas.h"
#include "gui/app/DynoforgeApplication.h"
#include "gui/app/MainWindow.h"
#include "gui/common/Settings.h"
#include "gui/document/EditorWidget.h"
#include "support/Approval.h"
#include "support/ImageApproval.h"
#include "support/SampleCurves.h"
#include "support/Flow.h"

namespace dyno {
namespace {

// The editor window without settings, shown at 1024 x 768.
class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    client.SetDialogs(&dialogs);
    frame.resize(1024, 768);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  }
  void TearDown() override { frame.hide(); }

  struct NoSettings {
    NoSettings() { QFile::remove(SettingsFilePath()); }
  } noSettings;  // before the frame reads them
  test::ScriptedDialogs dialogs;  // outlives the frame that uses it
  MainWindow frame;
  EditorWidget& client = *frame.Client();
};

// Dragging, the value box's keys, the cursors and the scroll bar are checked
// elsewhere (window-mouse-and-box, ImagesTest).
TEST_F(Window, HoldingUpStepsTheValueOnTheTimerAndBendModeBendsATireCurve) {
  EditorDocument& doc = client.State().Doc;
  QTest::mouseClick(&client, Qt::LeftButton, Qt::NoModifier, QPoint(190, 35 + 14 * 5));
  const double before = doc.Engine.Torque[5];
  QTest::mousePress(&client, Qt::LeftButton, Qt::NoModifier, QPoint(367, 7));
  EXPECT_TRUE(QTest::qWaitFor([&] { return doc.Engine.Torque[5] >= before + 0.3; }, 3000));
  QTest::mouseRelease(&client, Qt::LeftButton, Qt::NoModifier, QPoint(367, 7));

  test::UseTireView(doc, 1);
  doc.TireLoaded = true;
  frame.Command(CmModeTire);
  frame.Command(CmBend);
  test::IdlePass();  // the menus follow once per turn of the event loop
  EXPECT_TRUE(frame.Action(CmBend)->isChecked());
  const double last = doc.SlipCurves[0].Samples[236];
  QTest::mousePress(&client, Qt::LeftButton, Qt::NoModifier, QPoint(367, 19));
  EXPECT_TRUE(QTest::qWaitFor([&] { return doc.SlipCurves[0].Samples[236] < last - 0.0009; }, 3000));
  QTest::mouseRelease(&client, Qt::LeftButton, Qt::NoModifier, QPoint(367, 19));
}

// The menus as built from the command records: every item in its place,
// with its separators, submenu, hint, keys and radio group.
std::string MenuText(const QMenu& menu, const std::string& indent) {
  std::string out;
  for (const QAction* action : menu.actions()) {
    if (action->isSeparator()) {
      out += indent + "---\n";
      continue;
    }
    out += indent + action->text().toStdString() + " | " + action->objectName().toStdString() + " | " +
           action->statusTip().toStdString();
    if (!action->shortcuts().isEmpty()) out += " | " + QKeySequence::listToString(action->shortcuts()).toStdString();
    if (const QActionGroup* group = action->actionGroup()) {
      out += (group->isExclusive() ? " | radio of " : " | group of ") + std::to_string(group->actions().size());
    }
    out += "\n";
    if (action->menu()) out += MenuText(*action->menu(), indent + "  ");
  }
  return out;
}

TEST_F(Window, MenusStandInTheirPlaces) {
  std::string out;
  for (const QAction* popup : frame.menuBar()->actions()) {
    out += popup->text().toStdString() + " | " + popup->statusTip().toStdString() + "\n";
    out += MenuText(*popup->menu(), "  ");
  }
  test::ExpectApproved(out, "window/menus.txt");
}

// The chart is laid out by the step that changes the data, before any
// paint, and a paint only reads that layout.
TEST_F(Window, LaysTheChartOutWhenTheDataChangeAndPaintsWithoutChangingIt) {
  test::IdlePass();
  const ChartLayout& chart = client.State().Chart;
  EXPECT_EQ(chart.PlotRight, client.width() - 45);
  const double axisInHp = chart.AxisMax;

  frame.Command(CmPowerKw);  // a smaller number for every power
  EXPECT_LT(chart.AxisMax, axisInHp);
  const ChartLayout laidOut = chart;
  const ViewState view = client.State().View;
  client.repaint();
  EXPECT_EQ(chart.AxisMax, laidOut.AxisMax);
  EXPECT_EQ(chart.PowerY, laidOut.PowerY);
  EXPECT_EQ(chart.ScaleChanged, laidOut.ScaleChanged);
  EXPECT_EQ(client.State().View.ScreenWidth, view.ScreenWidth);
  EXPECT_EQ(client.State().View.FirstVisibleRow, view.FirstVisibleRow);
}

// Tab goes from the value box to the table and back, and the keys then
// work on the table: Down picks a row and Escape in the box comes back.
TEST_F(Window, TabTakesTheKeyboardBetweenTheValueBoxAndTheTable) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  QLineEdit& box = *client.ValueEdit();
  box.setFocus(Qt::OtherFocusReason);
  ASSERT_TRUE(box.hasFocus());
  QTest::keyClick(&box, Qt::Key_Tab);
  ASSERT_TRUE(client.hasFocus());
  QTest::keyClick(&client, Qt::Key_Down);
  EXPECT_TRUE(client.State().Ui.TorqueSelected);
  EXPECT_FALSE(box.text().isEmpty());
  QTest::keyClick(&client, Qt::Key_7);
  EXPECT_TRUE(box.hasFocus());
  EXPECT_EQ(box.text(), QStringLiteral("7"));
  QTest::keyClick(&box, Qt::Key_Escape);
  EXPECT_TRUE(client.hasFocus());
  EXPECT_NE(box.text(), QStringLiteral("7"));
}

// The frame goes no smaller than the editor window's least size with the
// menu bar, toolbar and status bar around it; there the table, the value box
// and the chart keep apart and the axis labels, in their font, stand apart.
TEST_F(Window, ShrinksNoFurtherThanItsLeastSizeWhereNothingOverlaps) {
  frame.resize(300, 200);
  test::IdlePass();
  const ClientSize least = MinimumClientSize();
  EXPECT_EQ(client.size(), QSize(least.width, least.height));
  EXPECT_EQ(frame.size(), frame.minimumSize());
  const ChartFont labels(12, 7, 400);  // the table rows' font, which the axes use
  EXPECT_LE(labels.Advance('0'), RpmLabelPitch - 2);
  EXPECT_LE(labels.CellHeight(), ValueLabelPitch);
  EXPECT_LT(client.ValueEdit()->geometry().right(), ButtonLeft);
  test::ExpectApprovedImageFile(frame.grab().toImage(), test::DataPath("window/minimum-size.png"),
                                "window/minimum-size.png");
}

TEST(Application, PlacesTheFrameAndLooksForThePrinterOnlyOnceTheWindowIsPainted) {
  DynoforgeApplication* app = DynoforgeApplication::Instance();
  MainWindow* frame = app->InitMainWindow();
  const QSize screen = QGuiApplication::primaryScreen()->size();
  EXPECT_EQ(frame->pos(), QPoint(40, 30));
  EXPECT_EQ(frame->size(), QSize(screen.width() - 80, screen.height() - 60));
  app->ShowMainWindow();
  EXPECT_FALSE(app->PrinterReady());  // shown, not yet painted
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
  frame->Client()->repaint();
  test::IdlePass();
  EXPECT_TRUE(app->PrinterReady());
  EXPECT_TRUE(frame->Action(CmPrintPreview)->isEnabled());
  frame->hide();  // a window left on the screen would take the pointer from later tests
}

}  // namespace
}  // namespace dyno
