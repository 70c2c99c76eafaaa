// The editor window driven as a user drives it: mouse, keys, the timer,
// the scroll bar, the settings file, the start-up and the close prompt.
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "core/resources/ResourceIds.h"
#include "gui/app/TDynoforgeApp.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/common/Settings.h"
#include "gui/document/TDynoforgeWindow.h"
#include "support/QtTestSupport.h"
#include "support/SampleCurves.h"
#include "support/ScriptedDialogs.h"

namespace dyno {
namespace {

class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile::remove(SettingsFilePath());
    frame = std::make_unique<TSDIDecFrame>();
    client().SetDialogs(&dialogs);
    frame->resize(1024, 768);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    client().grab();  // the first paint lays the chart out
  }
  void TearDown() override { client().SetDialogs(nullptr); }

  TDynoforgeWindow& client() { return *frame->Client(); }
  EditorState& st() { return client().State(); }
  QPoint TorquePoint(int i) { return {st().Chart.PointX[i], st().Chart.TorqueY[i]}; }
  void Move(QPoint p, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, p, client().mapToGlobal(p), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&client(), &move);
  }

  template <typename Done>
  static bool WaitFor(Done done, int milliseconds = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds) QTest::qWait(5);
    return done();
  }

  test::ScriptedDialogs dialogs;
  std::unique_ptr<TSDIDecFrame> frame;
};

// Dragging and the value box's keys are flows (window-mouse-and-box).
TEST_F(Window, TheCursorFollowsWhatIsUnderIt) {
  Move(QPoint(100, 300));
  EXPECT_EQ(client().cursor().shape(), Qt::BitmapCursor);  // the hand over the table
  const QPixmap hand = client().cursor().pixmap();
  QTest::mousePress(&client(), Qt::LeftButton, Qt::NoModifier, TorquePoint(20));
  Move(TorquePoint(20) - QPoint(0, 40), Qt::LeftButton);
  EXPECT_NE(client().cursor().pixmap().toImage(), hand.toImage());  // the cross hair over the plot
  QTest::mouseRelease(&client(), Qt::LeftButton, Qt::NoModifier, QPoint(5000, 5000));
  Move(QPoint(10, 10));
  EXPECT_EQ(client().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Window, HoldingUpStepsTheValueOnTheTimerAndBendModeBendsATireCurve) {
  QTest::mouseClick(&client(), Qt::LeftButton, Qt::NoModifier, QPoint(190, 35 + 14 * 5));
  const double before = st().Doc.Engine.Torque[5];
  QTest::mousePress(&client(), Qt::LeftButton, Qt::NoModifier, QPoint(367, 7));
  ASSERT_TRUE(WaitFor([&] { return st().Doc.Engine.Torque[5] >= before + 0.3; }));
  QTest::mouseRelease(&client(), Qt::LeftButton, Qt::NoModifier, QPoint(367, 7));

  test::UseTireView(st().Doc, 1);
  st().Doc.TireLoaded = true;
  frame->Command(CmModeTire);
  frame->Command(CmBend);
  EXPECT_TRUE(frame->Action(CmBend)->isChecked());
  const double last = st().Doc.SlipCurves[0].Samples[236];
  QTest::mousePress(&client(), Qt::LeftButton, Qt::NoModifier, QPoint(367, 19));
  ASSERT_TRUE(WaitFor([&] { return st().Doc.SlipCurves[0].Samples[236] < last - 0.0009; }));
  QTest::mouseRelease(&client(), Qt::LeftButton, Qt::NoModifier, QPoint(367, 19));
}

TEST_F(Window, TheScrollBarMovesTheTableAndTheWindowSizeDecidesTheRows) {
  frame->resize(1024, 600 + frame->height() - client().height());
  QApplication::processEvents();
  EXPECT_EQ(client().height(), 600);
  EXPECT_EQ(st().View.VisibleRows, 40);
  test::FillSampleEngineCurve(st().Doc, 200);
  frame->resize(frame->width(), frame->height() - 1);  // refits the bar for 200 rows
  QApplication::processEvents();
  QScrollBar& bar = *client().RowScrollBar();
  EXPECT_TRUE(bar.isEnabled());
  EXPECT_EQ(bar.maximum(), 200 - st().View.VisibleRows);
  bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
  bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(st().View.FirstVisibleRow, 1 + st().View.VisibleRows - 1);
  EXPECT_EQ(bar.geometry().left(), 283);
}

TEST(Application, PlacesTheFrameAndLooksForThePrinterOnlyOnceTheWindowIsPainted) {
  TDynoforgeApp* app = TDynoforgeApp::Instance();
  TSDIDecFrame* frame = app->InitMainWindow();
  const QSize screen = QGuiApplication::primaryScreen()->size();
  EXPECT_EQ(frame->pos(), QPoint(40, 30));
  EXPECT_EQ(frame->size(), QSize(screen.width() - 80, screen.height() - 60));
  app->ShowMainWindow();
  EXPECT_FALSE(app->CommandEnabled(CmPrint));  // shown, not yet painted
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
  frame->Client()->repaint();
  test::IdlePass();
  EXPECT_TRUE(app->CommandEnabled(CmPrint));
  EXPECT_TRUE(frame->Action(CmPrintPreview)->isEnabled());
  frame->hide();  // a window left on the screen would take the pointer from later tests
}

}  // namespace
}  // namespace dyno
