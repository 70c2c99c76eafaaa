#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/chart/ChartLayout.h"
#include "core/editing/ValueBox.h"
#include "core/files/NumberText.h"
#include "core/resources/ResourceIds.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/document/TDynoforgeWindow.h"
#include "support/QtTestSupport.h"
#include "support/SampleCurves.h"
#include "support/ScriptedDialogs.h"

namespace dyno {
namespace {

// The real frame and editor window, driven with mouse and key events.
class EditingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = std::make_unique<TSDIDecFrame>();
    frame->Client()->SetDialogs(&dialogs);
    frame->resize(1024, 768);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    LayOut();
  }
  void TearDown() override { frame->Client()->SetDialogs(nullptr); }

  // A paint lays the chart out, as the screen's first paint does.
  void LayOut() { client()->grab(); }

  TDynoforgeWindow* client() const { return frame->Client(); }
  EditorState& st() const { return client()->State(); }
  QLineEdit* box() const { return client()->ValueEdit(); }
  QPoint TorquePoint(int i) const { return {st().Chart.PointX[i], st().Chart.TorqueY[i]}; }
  static QPoint TorqueCell(int line) { return {190, 35 + 14 * line}; }
  static QPoint UpButton() { return {367, 7}; }

  // Waits, with the event loop running, until done() or the time is up.
  template <typename Done>
  static bool WaitFor(Done done, int milliseconds = 2000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds) QTest::qWait(5);
    return done();
  }

  test::ScriptedDialogs dialogs;
  std::unique_ptr<TSDIDecFrame> frame;
};

TEST_F(EditingWindowTest, DraggingATorquePointUpChangesItsTorqueAndPower) {
  const EngineCurve& e = st().Doc.Engine;
  ASSERT_FALSE(st().Doc.Modified);
  const QPoint p = TorquePoint(20);
  const double before = e.Torque[20];

  QTest::mousePress(client(), Qt::LeftButton, {}, p);
  EXPECT_TRUE(st().Ui.Dragging);
  EXPECT_EQ(box()->text(), QString::fromStdString(FormatReadout(before, 1)));
  const QPoint to = p - QPoint(0, 50);
  QTest::mouseMove(client(), to);
  QTest::mouseRelease(client(), Qt::LeftButton, {}, to);

  const double expected = DecimalToDouble(FormatReadout(*MapYToValue(st().Chart, to.y()), 1));
  EXPECT_GT(expected, before);
  EXPECT_EQ(e.Torque[20], expected);
  EXPECT_DOUBLE_EQ(e.Power[20], PowerOf(e.Rpm[20], expected));
  EXPECT_EQ(box()->text(), QString::fromStdString(FormatReadout(expected, 1)));
  EXPECT_TRUE(st().Doc.Modified);
  EXPECT_FALSE(st().Ui.Dragging);
  EXPECT_TRUE(st().Ui.TorquePicked);
}

TEST_F(EditingWindowTest, AReleaseOutsideTheWindowEndsTheDrag) {
  const QPoint p = TorquePoint(10);
  QTest::mousePress(client(), Qt::LeftButton, {}, p);
  ASSERT_TRUE(st().Ui.Dragging);
  QTest::mouseRelease(client(), Qt::LeftButton, {}, QPoint(-40, -40));
  EXPECT_FALSE(st().Ui.Dragging);
  // Moving afterwards drags nothing.
  const double torque = st().Doc.Engine.Torque[10];
  QTest::mouseMove(client(), p - QPoint(0, 30));
  EXPECT_EQ(st().Doc.Engine.Torque[10], torque);
}

TEST_F(EditingWindowTest, TypingIntoTheValueBoxStoresEachKeystroke) {
  test::ShowActive(*frame);
  QTest::mouseClick(client(), Qt::LeftButton, {}, TorqueCell(20));
  ASSERT_TRUE(st().Ui.TorqueSelected);
  ASSERT_EQ(st().Ui.SelectedIndex, 20);
  ASSERT_EQ(st().Doc.Engine.Rpm[20], 5000.0);
  EXPECT_TRUE(box()->isModified()) << "a program edit marks the box as the fake's does";

  box()->setFocus();
  box()->selectAll();
  QTest::keyClick(box(), Qt::Key_Delete);
  EXPECT_EQ(st().Doc.Engine.Torque[20], 0.0);
  QTest::keyClicks(box(), QStringLiteral("350"));
  EXPECT_EQ(st().Doc.Engine.Torque[20], 350.0);
  EXPECT_NEAR(st().Doc.Engine.Power[20], 245.76, 0.005);
  EXPECT_TRUE(st().Doc.Modified);

  // Leaving the box does not put its text back over a value changed since.
  st().Doc.Engine.Torque[20] = 385.0;
  client()->setFocus();
  ASSERT_TRUE(WaitFor([&] { return !box()->hasFocus(); }));
  EXPECT_EQ(st().Doc.Engine.Torque[20], 385.0);
}

TEST_F(EditingWindowTest, HoldingUpStepsTheShownValueOnTheTimer) {
  QTest::mouseClick(client(), Qt::LeftButton, {}, TorqueCell(20));
  // The steps start from the value shown.
  const double before = DecimalToDouble(box()->text().toStdString());
  QTest::mousePress(client(), Qt::LeftButton, {}, UpButton());
  ASSERT_TRUE(st().Ui.UpPressed);
  // The first tick steps once; after the pause every tick steps.
  EXPECT_TRUE(WaitFor([&] { return st().Doc.Engine.Torque[20] >= before + 0.25; }, 3000));
  QTest::mouseRelease(client(), Qt::LeftButton, {}, UpButton());
  const double held = st().Doc.Engine.Torque[20];
  const double steps = (held - before) / 0.1;
  EXPECT_NEAR(steps, std::round(steps), 1e-6);
  EXPECT_EQ(box()->text(), QString::fromStdString(FormatReadout(held, 1)));
  QTest::qWait(150);
  EXPECT_EQ(st().Doc.Engine.Torque[20], held);
}

TEST_F(EditingWindowTest, BendModeFromTheToolbarBendsTheTireCurveWhileUpIsHeld) {
  frame->Command(CmModeTire);
  st().Doc.TireLoaded = true;
  test::IdlePass();
  ASSERT_TRUE(frame->Action(CmBend)->isEnabled());
  frame->Action(CmBend)->trigger();
  test::IdlePass();
  EXPECT_TRUE(st().Doc.BendActive);
  EXPECT_TRUE(frame->Action(CmBend)->isChecked());
  LayOut();

  const double last = st().Doc.SlipCurves[0].Samples[236];
  QTest::mousePress(client(), Qt::LeftButton, {}, UpButton());
  EXPECT_TRUE(WaitFor([&] { return st().Doc.SlipCurves[0].Samples[236] > last; }));
  QTest::mouseRelease(client(), Qt::LeftButton, {}, UpButton());
  EXPECT_TRUE(st().Doc.Modified);

  frame->Action(CmBend)->trigger();
  test::IdlePass();
  EXPECT_FALSE(frame->Action(CmBend)->isChecked());
}

TEST_F(EditingWindowTest, CommandsThatReplaceTheSelectedValueLeaveNothingSelected) {
  // Removing the selected last row.
  st().Doc.EngineLoaded = true;
  QTest::mouseClick(client(), Qt::LeftButton, {}, TorqueCell(39));
  frame->Command(CmRemoveLine);  // 40 rows left
  QTest::mouseClick(client(), Qt::LeftButton, {}, TorqueCell(39));
  ASSERT_EQ(st().Ui.SelectedIndex, 39);
  frame->Command(CmRemoveLine);
  EXPECT_FALSE(st().Ui.TorqueSelected);
  EXPECT_FALSE(st().Ui.ValueShown);
  EXPECT_TRUE(box()->text().isEmpty());
  // A row that is still there stays selected.
  QTest::mouseClick(client(), Qt::LeftButton, {}, TorqueCell(5));
  frame->Command(CmRemoveLine);
  EXPECT_TRUE(st().Ui.TorqueSelected);

  // Generate in Tire mode brings back the built-in curve.
  frame->Command(CmModeTire);
  LayOut();
  QTest::mouseClick(client(), Qt::LeftButton, {}, QPoint(66, 35 + 14 * 3));
  ASSERT_TRUE(st().Ui.CurveSelected[0]);
  frame->Command(CmGenerate);
  EXPECT_FALSE(st().Ui.CurveSelected[0]);
  EXPECT_TRUE(box()->text().isEmpty());
}

TEST_F(EditingWindowTest, TheCursorFollowsThePointer) {
  QTest::mouseMove(client(), TorqueCell(3));
  EXPECT_EQ(client()->cursor().hotSpot(), QPoint(5, 0));  // the hand
  QTest::mouseMove(client(), QPoint(600, 300));
  EXPECT_EQ(client()->cursor().hotSpot(), QPoint(15, 15));  // the cross-hair
  QTest::mouseMove(client(), QPoint(700, 10));
  EXPECT_EQ(client()->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace dyno
