#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "app/TSDIDecFrame.h"
#include "curves/CurveDialogs.h"
#include "document/TDynoforgeWindow.h"
#include "resources/ResourceIds.h"
#include "support/QtTestSupport.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

class CurveCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame.Client()->SetDialogs(&dialogs);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    // A loaded 41-row engine curve: torque rises with the row.
    EngineCurve& c = doc().Engine;
    for (int i = 0; i < 41; ++i) {
      c.Rpm[i] = 250.0 * i;
      c.Torque[i] = 100.0 + 5.0 * i;
      c.Compression[i] = -20.0 - 2.0 * i;
      c.Power[i] = PowerOf(c.Rpm[i], c.Torque[i]);
    }
    c.EngineRowCount = doc().RowCount = 41;
    doc().EngineLoaded = true;
  }
  void TearDown() override { frame.Client()->SetDialogs(nullptr); }

  EditorDocument& doc() { return frame.Client()->State().Doc; }
  void Run(int id) { frame.Command(id); }

  template <typename T>
  static T* Field(QDialog& dialog, int id) {
    T* field = dialog.findChild<T*>(QString::number(id));
    EXPECT_NE(field, nullptr) << id;
    return field;
  }

  test::ScriptedDialogs dialogs;
  TSDIDecFrame frame;
};

TEST_F(CurveCommandsTest, RescaleDialogShowsThePeakAndDoublesTheTorqueOnRequest) {
  const EngineCurve before = doc().Engine;
  const double peak = before.Power[40];
  dialogs.dialogScripts.push_back([&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Rescale Engine Power Specifications"));
    QLineEdit* current = Field<QLineEdit>(dialog, 22203);
    EXPECT_EQ(current->text(), QString::number(std::lround(peak)));
    EXPECT_FALSE(current->isEnabled());
    EXPECT_EQ(Field<QLineEdit>(dialog, 22209)->text(), QStringLiteral("-100"));
    test::ShowActive(dialog);
    QLineEdit* newHp = Field<QLineEdit>(dialog, 22208);
    EXPECT_TRUE(newHp->hasFocus());
    newHp->setText(QString::number(2 * std::lround(peak)));
    QTest::keyClick(newHp, Qt::Key_Tab);  // leaving the field: the shown HP divides
    dialog.accept();
    return dialog.result();
  });
  Run(CmRescale);
  for (int i = 0; i < 41; ++i) {
    EXPECT_DOUBLE_EQ(doc().Engine.Torque[i], 2 * before.Torque[i]) << i;
    EXPECT_DOUBLE_EQ(doc().Engine.Compression[i], before.Compression[i]) << i;
  }
  EXPECT_TRUE(doc().Modified);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CurveCommandsTest, RescaleAcceptedStraightFromNewHpDividesByTheExactPeak) {
  const EngineCurve before = doc().Engine;
  const double peak = before.Power[40];
  dialogs.dialogScripts.push_back([&](QDialog& dialog) {
    dialog.accept();  // Enter in New HP: the field never lost the focus
    return dialog.result();
  });
  Run(CmRescale);
  EXPECT_DOUBLE_EQ(doc().Engine.Torque[40], before.Torque[40] * (std::round(peak) / peak));
  EXPECT_EQ(doc().Generator.TargetPower, peak);
}

TEST_F(CurveCommandsTest, RescaleWarnsAboutAnHpOutOfRangeButDoesNotRefuseIt) {
  dialogs.dialogScripts.push_back([&](QDialog& dialog) {
    test::ShowActive(dialog);
    QLineEdit* newHp = Field<QLineEdit>(dialog, 22208);
    newHp->setText(QStringLiteral("50"));
    QTest::keyClick(newHp, Qt::Key_Tab);
    EXPECT_TRUE(newHp->hasFocus());  // sent back to the field
    dialog.accept();
    return dialog.result();
  });
  Run(CmRescale);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("The value is too low or negative, or excessively large.\n"
                                                     "Please enter a number between 100 and 5000."));
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("VALUE TOO LARGE OR TOO SMALL!"));
  EXPECT_NEAR(doc().Engine.Power[40], 50.0, 0.5);
}

TEST_F(CurveCommandsTest, CancelledDialogsChangeNothing) {
  const EngineCurve before = doc().Engine;
  for (int i = 0; i < 2; ++i) {
    dialogs.dialogScripts.push_back([](QDialog& dialog) {
      dialog.reject();
      return dialog.result();
    });
  }
  Run(CmRescale);
  Run(CmResolution);
  EXPECT_EQ(doc().Engine.Torque, before.Torque);
  EXPECT_EQ(doc().RowCount, 41);
  EXPECT_FALSE(doc().Modified);
}

TEST_F(CurveCommandsTest, ResolutionDialogOffersTheStepsAndRebuildsTheCurve) {
  dialogs.dialogScripts.push_back([&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change RPM Resolution"));
    QComboBox* current = Field<QComboBox>(dialog, 22204);
    QComboBox* next = Field<QComboBox>(dialog, 22211);
    EXPECT_FALSE(current->isEnabled());
    EXPECT_EQ(current->currentText(), QStringLiteral("250"));
    EXPECT_EQ(next->count(), 5);
    EXPECT_EQ(next->itemText(0), QStringLiteral("100"));
    EXPECT_EQ(next->itemText(4), QStringLiteral("1000"));
    next->setCurrentIndex(3);  // 500
    dialog.accept();
    return dialog.result();
  });
  Run(CmResolution);
  EXPECT_EQ(doc().RowCount, 21);
  EXPECT_EQ(doc().Engine.EngineRowCount, 21);
  EXPECT_EQ(doc().Engine.Rpm[20], 10000.0);
  EXPECT_EQ(doc().Engine.Torque[20], 300.0);
  // Switching modes keeps the new curve.
  Run(CmModeUpgrade);
  Run(CmModeEngine);
  EXPECT_EQ(doc().RowCount, 21);
}

TEST_F(CurveCommandsTest, AddAndRemoveFollowTheirLimits) {
  Run(CmAddLine);
  EXPECT_EQ(doc().RowCount, 42);
  EXPECT_EQ(doc().Engine.Rpm[41], 10250.0);
  for (int i = 0; i < 32; ++i) Run(CmRemoveLine);
  EXPECT_EQ(doc().RowCount, 10);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Last reduction of resolution!"));
  Run(CmRemoveLine);  // disabled at 10 rows
  EXPECT_EQ(doc().RowCount, 10);
}

TEST_F(CurveCommandsTest, ImportReplacesTheRowsAndKeepsTheRest) {
  test::TempDir dir;
  const std::string path = dir.Write("Other.ini", "// other\r\nRPMTorque=( 0.0, -5.0, 0.0)\r\nRPMTorque=( 1000.0, "
                                                  "-6.0, 50.0)\r\nRPMTorque=( 2000.0, -7.0, 60.0)\r\n");
  doc().FileTitle = "engine.ini";
  doc().Modified = false;
  dialogs.openAnswers = {QString::fromStdString(path)};
  Run(CmImport);
  ASSERT_EQ(dialogs.openRequests.size(), 1u);
  EXPECT_EQ(dialogs.openRequests[0].Title, QStringLiteral("Select the Engine.ini File in Subject Folder"));
  EXPECT_EQ(dialogs.openRequests[0].Filter, QStringLiteral("INI Files (*.ini)"));
  EXPECT_EQ(dialogs.openRequests[0].ProposedName, QStringLiteral("engine.ini"));
  EXPECT_EQ(doc().RowCount, 3);
  EXPECT_EQ(doc().Engine.Torque[2], 60.0);
  EXPECT_TRUE(doc().Modified);
  EXPECT_EQ(doc().FileTitle, "Other.ini");
  EXPECT_EQ(doc().FileFolder, dir.path().string());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(frame.windowTitle(), QStringLiteral("Dynoforge"));  // the caption stays
}

TEST_F(CurveCommandsTest, ImportReportsCancelsAndFilesWithoutRows) {
  test::TempDir dir;
  dialogs.openAnswers = {QString(), QString::fromStdString(dir.Write("empty.ini", "[ENGINE]\r\n")),
                         QString::fromStdString((dir.path() / "gone.ini").string())};
  Run(CmImport);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Aborted by user!"));
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("DATA NOT LOADED!"));
  EXPECT_EQ(doc().RowCount, 41);

  Run(CmImport);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("No torque data found in this file!"));
  EXPECT_EQ(dialogs.messages[1].caption, QStringLiteral("FILE NOT LOADED!"));
  EXPECT_EQ(doc().RowCount, 0);

  doc().EngineLoaded = true;
  Run(CmImport);
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_EQ(dialogs.messages[2].text,
            QStringLiteral("Unable to open file the selected file: ") + QString::fromStdString((dir.path() / "gone.ini").string()));
}

}  // namespace
}  // namespace dyno
