// How the dialogs behave while a user fills them in (their look is checked
// by the pictures).
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "core/document/EditorDocument.h"
#include "core/files/ParameterTexts.h"
#include "gui/app/TDynoforgeAboutDlg.h"
#include "gui/curves/CurveDialogs.h"
#include "gui/files/ParameterDialogs.h"
#include "support/Approval.h"
#include "support/QtTestSupport.h"
#include "support/ScriptedDialogs.h"

namespace dyno {
namespace {

template <typename T = QLineEdit>
T& Field(QWidget& dialog, const QString& name) {
  T* field = dialog.findChild<T*>(name);
  if (!field) ADD_FAILURE() << "no " << name.toStdString();
  return *field;
}

// Types text into a field and tabs out of it, as a user leaves a field.
void TypeAndLeave(QDialog& dialog, const char* name, const char* text) {
  QLineEdit& field = Field(dialog, name);
  field.setFocus();
  field.selectAll();
  QTest::keyClicks(&field, text);
  QTest::keyClick(&field, Qt::Key_Tab);
}

TEST(Dialogs, PowerOutOfRangeIsToldOncePerTextAndSendsTheFocusBack) {
  test::ScriptedDialogs dialogs;
  EditorDocument doc;
  GetEngineSpecsDialog generate(doc.Generator, dialogs);
  test::ShowActive(generate);
  TypeAndLeave(generate, "maxHpEdit", "6000");
  EXPECT_TRUE(Field(generate, "maxHpEdit").hasFocus());
  TypeAndLeave(generate, "maxHpEdit", "6000");
  TypeAndLeave(generate, "maxHpEdit", "99");
  TypeAndLeave(generate, "maxHpEdit", "100");
  EXPECT_FALSE(Field(generate, "maxHpEdit").hasFocus());
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("The value is too low or negative, or excessively large.\n"
                                                     "Please enter a number between 100 and 5000."));
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("VALUE TOO LARGE OR TOO SMALL!"));
  Field(generate, "maxHpEdit").setText(QStringLiteral("5001"));
  generate.accept();  // told, and taken all the same
  EXPECT_EQ(dialogs.messages.size(), 3u);
  EXPECT_EQ(doc.Generator.TargetPower, 5001.0);
  EXPECT_EQ(generate.result(), QDialog::Accepted);

  RescalePowerSpecsDialog rescale(doc, {41, 450.4, -120.0, -120.0}, dialogs);
  test::ShowActive(rescale);
  EXPECT_TRUE(Field(rescale, "newHpEdit").hasFocus());
  EXPECT_EQ(Field(rescale, "currentHpEdit").text(), QStringLiteral("450"));
  EXPECT_FALSE(Field(rescale, "currentHpEdit").isEnabled());
  TypeAndLeave(rescale, "newHpEdit", "50");
  EXPECT_TRUE(Field(rescale, "newHpEdit").hasFocus());
  EXPECT_EQ(dialogs.messages.size(), 4u);
  EXPECT_EQ(doc.Generator.TargetPower, 450.0);  // the shown whole HP divides
}

TEST(Dialogs, ParameterBoxesGiveBackTheirFirstLineOfAtMostTenCharacters) {
  EngineParameterSet set;
  ParameterTexts texts;
  LoadParameterTexts(set, texts);
  const auto text = [&](const char* key, int v) { return texts.Texts[ParameterTextIndex(EngineParameterIndex(key), v)]; };
  {
    EditEngineSpecsDialog dialog(texts);
    EXPECT_EQ(Field(dialog, "StarterTimingEdit3").text(), QStringLiteral("0.0"));
    Field(dialog, "LifetimeAvgEdit").setText(QStringLiteral("9000"));
    Field<QPushButton>(dialog, "cancelButton").click();
    EXPECT_EQ(text("LifetimeAvg", 0), "15000");
  }
  EditEngineSpecsDialog dialog(texts);
  EXPECT_EQ(Field(dialog, "LifetimeAvgEdit").maxLength(), 10);
  Field(dialog, "LifetimeAvgEdit").setText(QStringLiteral("9000\r\nmore"));
  Field(dialog, "EngineInertiaEdit").setText(QStringLiteral("1.23456789012"));
  Field(dialog, "IdleRPMLogicEdit2").setText(QStringLiteral("fast"));
  Field<QPushButton>(dialog, "okButton").click();
  EXPECT_EQ(text("LifetimeAvg", 0), "9000");
  EXPECT_EQ(text("EngineInertia", 0), "1.23456789");
  EXPECT_EQ(text("IdleRPMLogic", 1), "fast");
  EXPECT_EQ(text("IdleRPMLogic", 0), "1200.0");
}

// The slip curve dialog's boxes after each thing a user does, as a transcript.
TEST(Dialogs, SlipCurveHeadersAreEditedAddedAndStored) {
  EditorDocument doc;
  doc.RowCount = 240;
  const char* names[] = {"Lat", "Long", "Wet", "unused"};
  for (int b = 0; b < 4; ++b) {
    doc.SlipCurves[b].Name = names[b];
    doc.SlipCurves[b].Step = 0.002 * (b + 1);
    doc.SlipCurves[b].DropoffFunction = 3.0 + b;
  }
  std::string out;
  const auto look = [&](EditTireSpecsDialog& dialog, const char* step) {
    out += std::string(step) + ": count " + std::to_string(dialog.CurveCount()) + "\n";
    for (const char* kind : {"name", "step", "dropoff"}) {
      out += " ";
      for (int b = 1; b <= 4; ++b) {
        const QLineEdit& box = Field(dialog, QString::fromLatin1(kind) + "Edit" + QString::number(b));
        out += " [" + box.text().toStdString() + (box.isReadOnly() ? "] ro" : "] ") + std::to_string(box.maxLength());
      }
      out += "\n";
    }
  };
  {
    // Enter confirms the dialog wherever the focus is, also on a button.
    EditTireSpecsDialog dialog(doc, 1);
    test::ShowActive(dialog);
    Field<QPushButton>(dialog, "addCurveButton").setFocus();
    QTest::keyClick(&Field<QPushButton>(dialog, "addCurveButton"), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.CurveCount(), 1);
  }
  for (const int count : {0, 2, 3}) {
    EditTireSpecsDialog dialog(doc, count);
    look(dialog, "opened");
    Field(dialog, "nameEdit1").setText(QStringLiteral("Typed, not confirmed"));
    Field<QPushButton>(dialog, "addCurveButton").click();
    look(dialog, "added");
    Field<QPushButton>(dialog, "addCurveButton").click();
    look(dialog, "added again");
    Field(dialog, "nameEdit1").setText(QStringLiteral("Twenty-five characters!!!"));
    Field(dialog, "stepEdit1").setText(QStringLiteral("0.0012345"));
    Field(dialog, "dropoffEdit1").setText(QStringLiteral("wet"));
    Field<QPushButton>(dialog, "okButton").click();
    out += "stored: \"" + doc.SlipCurves[0].Name + "\" " + test::Exact(doc.SlipCurves[0].Step) + " " +
           test::Exact(doc.SlipCurves[0].DropoffFunction) + " samples " + test::Exact(doc.SlipCurves[3].Samples[50]) +
           " " + test::Exact(doc.SlipCurves[3].Samples[239]) + "\n";
  }
  test::ExpectApproved(out, "window/slip-curve-dialog.txt");
}

TEST(Dialogs, TheAboutBoxShowsTheBuildsTextsCentredOnTheScreen) {
  EXPECT_EQ(TDynoforgeAboutDlg::CentredPosition(QSize(1024, 768), QRect(0, 0, 307, 129)), QPoint(358, 319));
  EXPECT_EQ(TDynoforgeAboutDlg::CentredPosition(QSize(1024, 768), QRect(0, 0, 1101, 801)), QPoint(-38, -16));
  TDynoforgeAboutDlg about;
  EXPECT_EQ(about.VersionText()->text(), QStringLiteral("Dynoforge Version 1.88"));
  about.move(0, 0);
  about.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
  EXPECT_EQ(about.frameGeometry().topLeft(), TDynoforgeAboutDlg::CentredPosition(about.screen()->size(), about.frameGeometry()));
  TDynoforgeAboutDlg bare(nullptr, nullptr);
  EXPECT_EQ(bare.VersionText()->text(), QStringLiteral("Version"));
  const ProgramVersionInfo special{"Dynoforge", "", "", "Test build"};
  TDynoforgeAboutDlg nightly(nullptr, &special);
  EXPECT_EQ(nightly.VersionText()->text(), QStringLiteral("Version"));
  EXPECT_EQ(nightly.SpecialBuildText()->text(), QStringLiteral("Test build"));
  EXPECT_TRUE(nightly.NoticeText()->text().isEmpty());
}

}  // namespace
}  // namespace dyno
