// The Edit Engine Parameters and Edit Slip Curve Names / Parameters dialogs,
// on their own and through command 2020 of the real window.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "core/files/EngineParameters.h"
#include "core/files/ParameterTexts.h"
#include "core/resources/ResourceIds.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/document/TDynoforgeWindow.h"
#include "gui/files/ParameterDialogs.h"
#include "support/ScriptedDialogs.h"

namespace dyno {
namespace {

// What a person reads in a box of widgets: row by row from the top, left to
// right, labels by their text and edit boxes by their id, rows separated by
// " | ".
QString Reading(const QWidget& box) {
  struct Item {
    QPoint centre;
    QString text;
  };
  std::vector<Item> items;
  for (const QWidget* child : box.findChildren<QWidget*>()) {
    const QPoint centre = child->mapTo(&box, child->rect().center());
    if (const auto* label = qobject_cast<const QLabel*>(child)) {
      items.push_back({centre, label->text()});
    } else if (qobject_cast<const QLineEdit*>(child)) {
      items.push_back({centre, child->objectName()});
    }
  }
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.centre.y() < b.centre.y(); });
  // Items whose centres lie within a few pixels of a row's first one share it.
  std::vector<std::vector<Item>> rows;
  for (const Item& item : items) {
    if (rows.empty() || item.centre.y() - rows.back().front().centre.y() > 6) rows.emplace_back();
    rows.back().push_back(item);
  }
  QStringList lines;
  for (std::vector<Item>& row : rows) {
    std::sort(row.begin(), row.end(), [](const Item& a, const Item& b) { return a.centre.x() < b.centre.x(); });
    QStringList texts;
    for (const Item& item : row) texts << item.text;
    lines << texts.join(QLatin1Char(' '));
  }
  return lines.join(QStringLiteral(" | "));
}

template <typename T>
T* Child(const QWidget& dialog, const QString& name) {
  T* child = dialog.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name.toStdString();
  return child;
}

// Buttons of a dialog from left to right.
// Where a widget lies in the dialog.
QRect InDialog(const QWidget& dialog, const QWidget& widget) {
  return QRect(widget.mapTo(&dialog, QPoint(0, 0)), widget.size());
}

QStringList ButtonsLeftToRight(const QWidget& dialog) {
  QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
  std::sort(buttons.begin(), buttons.end(),
            [&](auto* a, auto* b) { return InDialog(dialog, *a).x() < InDialog(dialog, *b).x(); });
  QStringList texts;
  for (const QPushButton* button : buttons) texts << button->text();
  return texts;
}

// The buttons sit in one row below everything else, ending at the right.
void ExpectButtonsAtBottomRight(const QWidget& dialog) {
  const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
  int right = 0;
  for (const QPushButton* button : buttons) {
    const QRect place = InDialog(dialog, *button);
    right = std::max(right, place.right());
    EXPECT_EQ(place.y(), InDialog(dialog, *buttons.first()).y());
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) EXPECT_GT(place.y(), group->geometry().bottom());
  }
  EXPECT_GT(right, dialog.width() - 20);
}

// --- Edit Engine Parameters --------------------------------------------------

class EngineDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadParameterTexts(set, texts); }
  std::string& TextOf(const char* key, int position) {
    return texts.Texts[ParameterTextIndex(EngineParameterIndex(key), position)];
  }
  EngineParameterSet set;
  ParameterTexts texts;
};

TEST_F(EngineDialogTest, ShowsFiveGroupsOfLabelledRowsAndOkCancelAtTheBottomRight) {
  EditEngineSpecsDialog dialog(texts);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Engine Parameters"));
  QList<QGroupBox*> groups = dialog.findChildren<QGroupBox*>();
  ASSERT_EQ(groups.size(), 5);
  std::sort(groups.begin(), groups.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
  for (const QGroupBox* group : groups) EXPECT_TRUE(group->title().isEmpty());
  EXPECT_EQ(Reading(*groups[0]),
            "Rev Limit Logic: RevLimitLogicEdit Limiter Available: RevLimitAvailableEdit | "
            "Rev Limit Range: RevLimitRangeEdit1 RevLimitRangeEdit2 RevLimitRangeEdit3 Setting: RevLimitSettingEdit | "
            "Engine Map Range: EngineMapRangeEdit1 EngineMapRangeEdit2 EngineMapRangeEdit3 Setting: EngineMapSettingEdit | "
            "Brake Map Range: EngineBrakingMapRangeEdit1 EngineBrakingMapRangeEdit2 EngineBrakingMapRangeEdit3 Setting: EngineBrakingMapSettingEdit");
  EXPECT_EQ(Reading(*groups[1]),
            "Engine Speed Heat: EngineSpeedHeatEdit Engine Inertia: EngineInertiaEdit | "
            "Idle RPM Logic: IdleRPMLogicEdit1 IdleRPMLogicEdit2 Idle Throttle: IdleThrottleEdit | "
            "O-W Heat Transfer: OilWaterHeatTransferEdit1 OilWaterHeatTransferEdit2 Oil Min. Cooling: OilMinimumCoolingEdit | "
            "Oil Optimum Temp: OptimumOilTempEdit Combustion Heat: CombustionHeatEdit | "
            "Water Min. Cooling: WaterMinimumCoolingEdit Radiator Cooling: RadiatorCoolingEdit1 RadiatorCoolingEdit2");
  EXPECT_EQ(Reading(*groups[2]),
            "Lifetime Eng. RPM: LifetimeEngineRPMEdit1 LifetimeEngineRPMEdit2 Lifetime AVG: LifetimeAvgEdit | "
            "Lifetime Oil Temp: LifetimeOilTempEdit1 LifetimeOilTempEdit2 Lifetime VAR: LifetimeVarEdit | "
            "Engine Emission: EngineEmissionEdit1 EngineEmissionEdit2 EngineEmissionEdit3 | "
            "Engine Sound: EngineSoundEdit1 EngineSoundEdit2 EngineSoundEdit3 | "
            "Starter Timing: StarterTimingEdit1 StarterTimingEdit2 StarterTimingEdit3");
  EXPECT_EQ(Reading(*groups[3]),
            "Launch RPM Logic: LaunchRPMLogicEdit1 LaunchRPMLogicEdit2 Launch Efficiency: LaunchEfficiencyEdit | "
            "Speed Limiter: SpeedLimiterEdit Onboard Starter: OnboardStarterEdit | "
            "Fuel Consumption: FuelConsumptionEdit Fuel Estimate: FuelEstimateEdit");
  EXPECT_EQ(Reading(*groups[4]),
            "Engine Boost Range: EngineBoostRangeEdit1 EngineBoostRangeEdit2 EngineBoostRangeEdit3 Setting: EngineBoostSettingEdit | "
            "Engine Boost Effects: BoostEffectsEdit1 BoostEffectsEdit2 BoostEffectsEdit3 | "
            "Boost Torque: BoostTorqueEdit Boost Power: BoostPowerEdit");

  // The right-hand halves of the rows line up.
  EXPECT_EQ(Child<QLineEdit>(dialog, "RevLimitAvailableEdit")->mapTo(&dialog, QPoint()).x(),
            Child<QLineEdit>(dialog, "RevLimitSettingEdit")->mapTo(&dialog, QPoint()).x());

  const QList<QLineEdit*> boxes = dialog.findChildren<QLineEdit*>();
  EXPECT_EQ(boxes.size(), ParameterValueCount);
  for (const QLineEdit* box : boxes) EXPECT_EQ(box->maxLength(), 10) << box->objectName().toStdString();
  EXPECT_EQ(ButtonsLeftToRight(dialog), QStringList({"OK", "Cancel"}));
  EXPECT_TRUE(Child<QPushButton>(dialog, "okButton")->isDefault());
  EXPECT_EQ(Child<QPushButton>(dialog, "cancelButton")->text(), QStringLiteral("Cancel"));
  ExpectButtonsAtBottomRight(dialog);
}

TEST_F(EngineDialogTest, ShowsEachValueInItsOwnFormat) {
  EditEngineSpecsDialog dialog(texts);
  const std::map<QString, QString> shown = {
      {"FuelConsumptionEdit", "5.631e-05"}, {"FuelEstimateEdit", "0.8920"},   {"EngineInertiaEdit", "2.560e-01"}, {"IdleRPMLogicEdit1", "1200.0"},
      {"RevLimitRangeEdit3", "4"},         {"RevLimitSettingEdit", "2"},        {"EngineSpeedHeatEdit", "9.062e-04"}, {"EngineBrakingMapRangeEdit2", "1.000e-03"},
      {"BoostEffectsEdit3", "1.0150"},    {"BoostTorqueEdit", "-0.00410"}, {"BoostPowerEdit", "0.00016"},   {"EngineBoostRangeEdit1", "0.0100"},
  };
  for (const auto& [name, text] : shown) EXPECT_EQ(Child<QLineEdit>(dialog, name)->text(), text) << name.toStdString();
}

TEST_F(EngineDialogTest, OkGivesBackWhatTheBoxesHoldAndCancelNothing) {
  {
    EditEngineSpecsDialog dialog(texts);
    Child<QLineEdit>(dialog, "LifetimeAvgEdit")->setText(QStringLiteral("9000"));
    dialog.reject();
    EXPECT_EQ(TextOf("LifetimeAvg", 0), "15000");
  }
  EditEngineSpecsDialog dialog(texts);
  Child<QLineEdit>(dialog, "LifetimeAvgEdit")->setText(QStringLiteral("9000"));
  Child<QLineEdit>(dialog, "FuelEstimateEdit")->setText(QStringLiteral("fast"));
  Child<QLineEdit>(dialog, "EngineInertiaEdit")->setText(QStringLiteral("1.23456789012"));  // typed past the limit
  dialog.accept();
  EXPECT_EQ(TextOf("LifetimeAvg", 0), "9000");
  EXPECT_EQ(TextOf("FuelEstimate", 0), "fast");
  EXPECT_EQ(TextOf("EngineInertia", 0), "1.23456789");
  StoreParameterTexts(texts, set);
  EXPECT_EQ(set.Find("LifetimeAvg")->Values[0], 9000.0);
  EXPECT_EQ(set.Find("FuelEstimate")->Values[0], 0.0);
  EXPECT_EQ(set.Find("EngineInertia")->Values[0], 1.23456789);
}

// --- Edit Slip Curve Names / Parameters ------------------------------------------

class TireDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.RowCount = 237;
    const char* names[] = {"Lat", "Long", "Wet", "unused"};
    for (int b = 0; b < 4; ++b) {
      SlipCurve& curve = doc.SlipCurves[b];
      curve.Name = names[b];
      curve.Step = 0.002 * (b + 1);
      curve.DropoffFunction = 3.0 + b;
      curve.SampleCount = 237;
      for (int i = 0; i < 500; ++i) curve.Samples[i] = 0.001 * i + b;
    }
  }
  static QLineEdit* Name(QDialog& d, int b) { return Child<QLineEdit>(d, QStringLiteral("nameEdit%1").arg(b + 1)); }
  static QLineEdit* Step(QDialog& d, int b) { return Child<QLineEdit>(d, QStringLiteral("stepEdit%1").arg(b + 1)); }
  static QLineEdit* Dropoff(QDialog& d, int b) { return Child<QLineEdit>(d, QStringLiteral("dropoffEdit%1").arg(b + 1)); }
  static void Add(QDialog& d) { QTest::mouseClick(Child<QPushButton>(d, QStringLiteral("addCurveButton")), Qt::LeftButton); }

  EditorDocument doc;
};

TEST_F(TireDialogTest, ShowsTheFourCurvesAsAGridWithCancelAddOkBelow) {
  EditTireSpecsDialog dialog(doc, 3);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Slip Curve Names / Parameters"));
  const QList<QGroupBox*> groups = dialog.findChildren<QGroupBox*>();
  ASSERT_EQ(groups.size(), 1);
  EXPECT_TRUE(groups[0]->title().isEmpty());
  EXPECT_EQ(Reading(*groups[0]),
            "(Curve 1) (Curve 2) (Curve 3) (Curve 4) | "
            "Name: nameEdit1 nameEdit2 nameEdit3 nameEdit4 | "
            "Step: stepEdit1 stepEdit2 stepEdit3 stepEdit4 | "
            "Drop Off: dropoffEdit1 dropoffEdit2 dropoffEdit3 dropoffEdit4");
  for (int b = 0; b < 4; ++b) {
    EXPECT_EQ(Name(dialog, b)->maxLength(), 37);
    EXPECT_EQ(Step(dialog, b)->maxLength(), 10);
    EXPECT_EQ(Dropoff(dialog, b)->maxLength(), 10);
  }
  EXPECT_EQ(ButtonsLeftToRight(dialog), QStringList({"Cancel", "Add", "OK"}));
  EXPECT_EQ(Child<QPushButton>(dialog, "okButton")->text(), QStringLiteral("OK"));
  EXPECT_EQ(Child<QPushButton>(dialog, "cancelButton")->text(), QStringLiteral("Cancel"));
  ExpectButtonsAtBottomRight(dialog);
}

TEST_F(TireDialogTest, ShowsStepsWithFiveDecimalsDropOffsWithOneAndUnusedColumnsEmptyAndReadOnly) {
  doc.SlipCurves[1].DropoffFunction = 3;
  EditTireSpecsDialog dialog(doc, 2);
  EXPECT_EQ(Name(dialog, 0)->text(), QStringLiteral("Lat"));
  EXPECT_EQ(Step(dialog, 0)->text(), QStringLiteral("0.00200"));
  EXPECT_EQ(Dropoff(dialog, 1)->text(), QStringLiteral("3.0"));
  for (int b = 0; b < 4; ++b) {
    for (QLineEdit* box : {Name(dialog, b), Step(dialog, b), Dropoff(dialog, b)}) {
      EXPECT_EQ(box->isReadOnly(), b >= 2) << b;
      if (b >= 2) {
        EXPECT_TRUE(box->text().isEmpty()) << b;
      }
    }
  }
}

TEST_F(TireDialogTest, OkStoresEighteenNameCharactersAndNumbersFromEightCharacters) {
  EditTireSpecsDialog dialog(doc, 2);
  Name(dialog, 0)->setText(QStringLiteral("Twenty-five characters!!!"));
  Step(dialog, 0)->setText(QStringLiteral("0.0012345"));
  Dropoff(dialog, 0)->setText(QStringLiteral("-1.25"));
  Step(dialog, 1)->setText(QStringLiteral("wet"));
  dialog.accept();
  EXPECT_EQ(doc.SlipCurves[0].Name, "Twenty-five charac");
  EXPECT_EQ(doc.SlipCurves[0].Step, 0.001234);
  EXPECT_EQ(doc.SlipCurves[0].DropoffFunction, -1.25);
  EXPECT_EQ(doc.SlipCurves[1].Step, 0.0);
  EXPECT_EQ(doc.SlipCurves[1].Name, "Long");
  EXPECT_EQ(doc.SlipCurves[2].Name, "Wet");  // beyond the count: untouched
  EXPECT_EQ(dialog.CurveCount(), 2);
}

TEST_F(TireDialogTest, AddCopiesTheLastCurveAsNewCurveAndStopsAtFour) {
  EditTireSpecsDialog dialog(doc, 3);
  Add(dialog);
  EXPECT_EQ(dialog.CurveCount(), 4);
  EXPECT_FALSE(Name(dialog, 3)->isReadOnly());
  EXPECT_EQ(Name(dialog, 3)->text(), QStringLiteral("New Curve"));
  EXPECT_EQ(Step(dialog, 3)->text(), QStringLiteral("0.00600"));
  EXPECT_EQ(Dropoff(dialog, 3)->text(), QStringLiteral("5.0"));
  // Written into the document at once, samples up to the row count.
  EXPECT_EQ(doc.SlipCurves[3].Name, "New Curve");
  EXPECT_EQ(doc.SlipCurves[3].Samples[236], doc.SlipCurves[2].Samples[236]);
  EXPECT_EQ(doc.SlipCurves[3].Samples[237], 0.001 * 237 + 3);

  Name(dialog, 3)->setText(QStringLiteral("Mine"));
  Add(dialog);
  EXPECT_EQ(dialog.CurveCount(), 4);
  EXPECT_EQ(Name(dialog, 3)->text(), QStringLiteral("Mine"));
}

TEST_F(TireDialogTest, AddShowsTheStoredValuesInsteadOfTextNotYetConfirmed) {
  EditTireSpecsDialog dialog(doc, 1);
  Name(dialog, 0)->setText(QStringLiteral("Typed"));
  Add(dialog);
  EXPECT_EQ(Name(dialog, 0)->text(), QStringLiteral("Lat"));
  EXPECT_EQ(doc.SlipCurves[0].Name, "Lat");
}

TEST_F(TireDialogTest, AddWithoutAnyCurveStartsFromTheBuiltInCurve) {
  EditTireSpecsDialog dialog(doc, 0);
  for (int b = 0; b < 4; ++b) EXPECT_TRUE(Name(dialog, b)->isReadOnly());
  Add(dialog);
  EXPECT_EQ(dialog.CurveCount(), 1);
  EXPECT_EQ(Name(dialog, 0)->text(), QStringLiteral("New Curve"));
  EXPECT_EQ(Step(dialog, 0)->text(), QStringLiteral("0.00000"));
  EXPECT_EQ(Dropoff(dialog, 0)->text(), QStringLiteral("0.0"));
  EXPECT_NEAR(doc.SlipCurves[0].Samples[50], 0.912103, 1e-6);
  EXPECT_EQ(doc.SlipCurves[0].Samples[11], 1.0);
}

// --- Command 2020 through the window ------------------------------------------

class EditParametersCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame.Client()->SetDialogs(&dialogs);
    doc().EngineLoaded = true;
  }
  void TearDown() override { frame.Client()->SetDialogs(nullptr); }
  EditorDocument& doc() { return frame.Client()->State().Doc; }

  static std::function<int(QDialog&)> Answer(std::function<void(QDialog&)> fill, bool ok) {
    return [fill, ok](QDialog& dialog) {
      fill(dialog);
      ok ? dialog.accept() : dialog.reject();
      return dialog.result();
    };
  }

  test::ScriptedDialogs dialogs;
  TSDIDecFrame frame;
};

TEST_F(EditParametersCommandTest, InEngineModeOkComposesTheEngineTextAndMarksItChanged) {
  doc().EngineText = "RPMTorque=( 1000.0, -20.0, 150.0)\r\n[OTHER]\r\n";
  dialogs.dialogScripts.push_back(Answer([](QDialog& d) { Child<QLineEdit>(d, "LifetimeAvgEdit")->setText("9000"); }, false));
  frame.Command(CmEditParameters);
  EXPECT_EQ(doc().EngineText, "RPMTorque=( 1000.0, -20.0, 150.0)\r\n[OTHER]\r\n");
  EXPECT_FALSE(doc().Modified);
  EXPECT_EQ(doc().Parameters.Find("LifetimeAvg")->Values[0], 15000.0);

  dialogs.dialogScripts.push_back(Answer([](QDialog& d) { Child<QLineEdit>(d, "LifetimeAvgEdit")->setText("9000"); }, true));
  frame.Command(CmEditParameters);
  EXPECT_EQ(dialogs.dialogTitles, QStringList({"Edit Engine Parameters", "Edit Engine Parameters"}));
  EXPECT_TRUE(doc().Modified);
  EXPECT_EQ(doc().Parameters.Find("LifetimeAvg")->Values[0], 9000.0);
  EXPECT_EQ(doc().EngineText.rfind("// Engine data generated by Dynoforge\r\nRPMTorque=( 0.0, ", 0), 0u);
  EXPECT_NE(doc().EngineText.find("\r\nLifetimeAvg=9000   // average lifetime in seconds\r\n"), std::string::npos);
  EXPECT_EQ(doc().EngineText.find("[OTHER]"), std::string::npos);
}

TEST_F(EditParametersCommandTest, IsNotOfferedForUpgradeFiles) {
  frame.Command(CmModeUpgrade);
  frame.Command(CmEditParameters);  // disabled: no dialog expected
  EXPECT_TRUE(dialogs.dialogTitles.isEmpty());
}

TEST_F(EditParametersCommandTest, InTireModeTheCurveCountChangesOnlyOnOk) {
  doc().TireLoaded = true;
  frame.Command(CmModeTire);
  doc().SlipCurveCount = 2;
  doc().RowCount = 250;
  doc().SlipCurves[2].SampleCount = 17;

  dialogs.dialogScripts.push_back(Answer([](QDialog& d) { QTest::mouseClick(Child<QPushButton>(d, "addCurveButton"), Qt::LeftButton); }, false));
  frame.Command(CmEditParameters);
  EXPECT_EQ(dialogs.dialogTitles, QStringList({"Edit Slip Curve Names / Parameters"}));
  EXPECT_EQ(doc().SlipCurveCount, 2);
  EXPECT_EQ(doc().SlipCurves[2].Name, "New Curve");  // filled by Add, not counted
  EXPECT_EQ(doc().SlipCurves[2].SampleCount, 17);
  EXPECT_FALSE(doc().Modified);

  dialogs.dialogScripts.push_back(Answer(
      [](QDialog& d) {
        EXPECT_TRUE(Child<QLineEdit>(d, "nameEdit3")->isReadOnly());
        QTest::mouseClick(Child<QPushButton>(d, "addCurveButton"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(d, "addCurveButton"), Qt::LeftButton);
      },
      true));
  frame.Command(CmEditParameters);
  EXPECT_EQ(doc().SlipCurveCount, 4);
  EXPECT_EQ(doc().SlipCurves[2].SampleCount, 250);
  EXPECT_EQ(doc().SlipCurves[3].SampleCount, 250);
  EXPECT_TRUE(doc().Modified);
}

}  // namespace
}  // namespace dyno
