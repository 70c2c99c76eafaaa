// Undo and Redo through the real frame: the keys, the menu texts, the
// commands' steps, and files saved along the way.

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/editing/UndoCommands.h"
#include "core/resources/ResourceIds.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/document/TDynoforgeWindow.h"
#include "support/Printf.h"
#include "support/QtTestSupport.h"
#include "support/SameDocument.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

using test::Printf;

// 21 rows from 0 to 5000 RPM around the lines an engine file keeps. (The
// numbers are written as integers: the widgets run in the user's locale.)
std::string EngineFile() {
  std::string text = "// Hill climb engine\r\n[ENGINE]\r\n";
  for (int i = 0; i <= 20; ++i) {
    const int torque = 120 + static_cast<int>(60.0 * std::sin(i * 0.15));
    text += Printf("RPMTorque=( %d.0, %d.0, %d.5)\r\n", 250 * i, -10 - i, torque);
  }
  return text + "LifetimeAvg=12000   // average lifetime in seconds\r\n[CONTROLS]\r\nUpshiftAlgorithm=(0.98, 0.0)\r\n";
}

std::string TireFile() {
  std::string text = "[SLIPCURVE]\r\nName=\"Front\"\r\nStep=0.00250\r\nDropoffFunction=3.0\r\nData:\r\n";
  for (int i = 0; i < 30; ++i) text += Printf("0.%02d0000%s", 90 - i, i % 10 == 9 ? "\r\n" : " ");
  return text + "\r\n";
}

std::function<int(QDialog&)> Accept(std::function<void(QDialog&)> fill = [](QDialog&) {}) {
  return [fill](QDialog& dialog) {
    fill(dialog);
    dialog.accept();
    return dialog.result();
  };
}

std::function<int(QDialog&)> Cancel(std::function<void(QDialog&)> fill = [](QDialog&) {}) {
  return [fill](QDialog& dialog) {
    fill(dialog);
    dialog.reject();
    return dialog.result();
  };
}

template <typename T>
T* Child(QDialog& dialog, const char* name) {
  T* child = dialog.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

class UndoWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = std::make_unique<TSDIDecFrame>();
    frame->Client()->SetDialogs(&dialogs);
    frame->resize(1024, 768);
    test::ShowActive(*frame);
  }
  void TearDown() override { frame->Client()->SetDialogs(nullptr); }

  TDynoforgeWindow* client() const { return frame->Client(); }
  EditorState& st() const { return client()->State(); }
  QAction* Action(int id) const { return frame->Action(id); }

  void Open(const std::string& name, const std::string& bytes) {
    dialogs.openAnswers.push_back(QString::fromStdString(dir.Write(name, bytes)));
    frame->Command(CmOpen);
    client()->grab();  // a paint lays the chart out
  }
  // Save As under a new name; the bytes written.
  std::string SaveAs() {
    const auto path = dir.path() / ("saved" + std::to_string(++saves) + ".ini");
    dialogs.saveAnswers.push_back(QString::fromStdString(path.string()));
    frame->Command(CmSaveAs);
    return test::TempDir::Read(path);
  }
  void Key(int key, Qt::KeyboardModifiers modifiers, QWidget* to = nullptr) {
    QTest::keyClick(to ? to : client(), static_cast<Qt::Key>(key), modifiers);
    test::IdlePass();
  }
  void DragTorquePoint(int i, int dy) {
    const QPoint p(st().Chart.PointX[i], st().Chart.TorqueY[i]);
    QTest::mousePress(client(), Qt::LeftButton, {}, p);
    QTest::mouseMove(client(), p + QPoint(0, dy));
    QTest::mouseRelease(client(), Qt::LeftButton, {}, p + QPoint(0, dy));
    test::IdlePass();
  }

  test::ScriptedDialogs dialogs;
  std::unique_ptr<TSDIDecFrame> frame;
  test::TempDir dir;
  int saves = 0;
};

TEST_F(UndoWindowTest, CtrlZAndCtrlYTakeBackAndRedoADragARescaleAndTheParameterDialog) {
  Open("engine.ini", EngineFile());
  std::vector<std::string> saved{SaveAs()};

  DragTorquePoint(10, -40);
  saved.push_back(SaveAs());
  EXPECT_EQ(Action(CmUndo)->text(), QStringLiteral("&Undo Drag"));

  dialogs.dialogScripts.push_back(Accept([](QDialog& d) {
    QLineEdit* hp = Child<QLineEdit>(d, "newHpEdit");
    hp->setText(QString::number(hp->text().toInt() + 100));
  }));
  frame->Command(CmRescale);
  saved.push_back(SaveAs());

  dialogs.dialogScripts.push_back(Accept([](QDialog& d) { Child<QLineEdit>(d, "LifetimeAvgEdit")->setText("9000"); }));
  frame->Command(CmEditParameters);
  saved.push_back(SaveAs());
  for (std::size_t i = 1; i < saved.size(); ++i) ASSERT_NE(saved[i], saved[i - 1]) << i;
  EXPECT_EQ(Action(CmUndo)->text(), QStringLiteral("&Undo Edit Parameters"));
  EXPECT_FALSE(Action(CmRedo)->isEnabled());

  for (int i = 2; i >= 0; --i) {
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(SaveAs(), saved[i]) << "undone back to file " << i;
  }
  EXPECT_FALSE(Action(CmUndo)->isEnabled());
  EXPECT_EQ(Action(CmUndo)->text(), QStringLiteral("&Undo"));
  EXPECT_EQ(Action(CmRedo)->text(), QStringLiteral("&Redo Drag"));

  for (int i = 1; i <= 3; ++i) {
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(SaveAs(), saved[i]) << "redone up to file " << i;
  }
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(SaveAs(), saved[3]);
}

TEST_F(UndoWindowTest, TheKeysUndoTheDocumentWhileTheValueBoxHasTheFocus) {
  Open("engine.ini", EngineFile());
  QLineEdit* box = client()->ValueEdit();
  box->setFocus();
  // Typing with nothing selected changes nothing to undo, and the key never
  // does the box's own undo.
  QTest::keyClicks(box, QStringLiteral("12"));
  Key(Qt::Key_Z, Qt::ControlModifier, box);
  EXPECT_EQ(box->text(), QStringLiteral("12"));

  const double torque = st().Doc.Engine.Torque[3];
  QTest::mouseClick(client(), Qt::LeftButton, {}, QPoint(190, 35 + 14 * 3));
  ASSERT_TRUE(st().Ui.TorqueSelected);
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("35"));
  QTest::keyClick(box, Qt::Key_Return);  // ends the first run of typing
  QTest::keyClicks(box, QStringLiteral("0"));
  ASSERT_EQ(st().Doc.Engine.Torque[3], 350.0);

  Key(Qt::Key_Z, Qt::ControlModifier, box);
  EXPECT_EQ(st().Doc.Engine.Torque[3], 35.0);
  EXPECT_TRUE(box->text().isEmpty()) << "the box's own undo would show 35";
  EXPECT_EQ(Action(CmRedo)->text(), QStringLiteral("&Redo Typing"));
  Key(Qt::Key_Z, Qt::ControlModifier, box);
  EXPECT_EQ(st().Doc.Engine.Torque[3], torque);
  EXPECT_FALSE(st().Doc.Modified);
  Key(Qt::Key_Y, Qt::ControlModifier, box);
  EXPECT_EQ(st().Doc.Engine.Torque[3], 35.0);
}

TEST_F(UndoWindowTest, UndoingBackToTheOpenedFileLeavesNothingToSave) {
  Open("engine.ini", EngineFile());
  DragTorquePoint(8, 30);
  frame->Command(CmAddLine);
  ASSERT_TRUE(st().Doc.Modified);
  frame->Command(CmUndo);
  frame->Command(CmUndo);
  EXPECT_FALSE(st().Doc.Modified);
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(dialogs.saveQuestions, 0);
}

TEST_F(UndoWindowTest, OpeningAFileStartsANewHistory) {
  Open("tires.tbc", TireFile());
  frame->Command(CmAddLine);
  ASSERT_TRUE(client()->Status(CmUndo).Enabled);
  Open("engine.ini", EngineFile());
  EXPECT_FALSE(client()->Status(CmUndo).Enabled);
  frame->Command(CmAddLine);
  frame->Command(CmUndo);
  ASSERT_TRUE(client()->Status(CmRedo).Enabled);
  Open("tires.tbc", TireFile());
  EXPECT_FALSE(client()->Status(CmUndo).Enabled);
  EXPECT_FALSE(client()->Status(CmRedo).Enabled);
}

// A command of the window, how it is answered, and the step it makes (none
// when cancelled).
struct CommandCase {
  const char* Name;
  bool Tire;
  int Id;
  std::function<void(test::ScriptedDialogs&, const test::TempDir&)> Answer;
  std::optional<StepKind> Kind;
};

void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.Name; }

class CommandSteps : public UndoWindowTest, public ::testing::WithParamInterface<CommandCase> {};

const CommandCase CommandCases[] = {
    {"Generate", false, CmGenerate, [](auto& d, auto&) { d.dialogScripts.push_back(Accept()); }, StepKind::Generate},
    {"GenerateCancelled", false, CmGenerate, [](auto& d, auto&) { d.dialogScripts.push_back(Cancel()); }, {}},
    {"Resolution", false, CmResolution,
     [](auto& d, auto&) {
       d.dialogScripts.push_back(Accept([](QDialog& dialog) { Child<QComboBox>(dialog, "newRpmStepCombo")->setCurrentIndex(3); }));
     },
     StepKind::ChangeResolution},
    {"RemoveLineTire", true, CmRemoveLine, [](auto&, auto&) {}, StepKind::RemoveLine},
    {"Import", false, CmImport,
     [](auto& d, auto& dir) {
       d.openAnswers.push_back(QString::fromStdString(dir.Write("other.ini", "RPMTorque=( 0.0, -5.0, 0.0)\r\n"
                                                                             "RPMTorque=( 900.0, -9.0, 90.0)\r\n")));
     },
     StepKind::Import},
    {"EditSlipCurves", true, CmEditParameters,
     [](auto& d, auto&) {
       d.dialogScripts.push_back(Accept([](QDialog& dialog) {
         QTest::mouseClick(Child<QPushButton>(dialog, "addCurveButton"), Qt::LeftButton);
         Child<QLineEdit>(dialog, "nameEdit1")->setText("Dry");
       }));
     },
     StepKind::EditSlipCurves},
    {"EditSlipCurvesCancelled", true, CmEditParameters,
     [](auto& d, auto&) {
       d.dialogScripts.push_back(
           Cancel([](QDialog& dialog) { QTest::mouseClick(Child<QPushButton>(dialog, "addCurveButton"), Qt::LeftButton); }));
     },
     {}},
};

TEST_P(CommandSteps, MakeOneStepThatUndoRestores) {
  const CommandCase& c = GetParam();
  c.Tire ? Open("tires.tbc", TireFile()) : Open("engine.ini", EngineFile());
  const EditorDocument before = st().Doc;
  c.Answer(dialogs, dir);
  frame->Command(c.Id);
  test::IdlePass();
  EXPECT_EQ(st().History.NextUndo(), c.Kind);
  EXPECT_EQ(Action(CmUndo)->isEnabled(), c.Kind.has_value());
  if (!c.Kind) {
    EXPECT_FALSE(st().Doc.Modified);
    return;
  }
  const EditorDocument after = st().Doc;
  frame->Command(CmUndo);
  EXPECT_EQ(test::DocumentDifferences(st().Doc, before), std::vector<std::string>{});
  frame->Command(CmRedo);
  EXPECT_EQ(test::DocumentDifferences(st().Doc, after), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(UndoWindow, CommandSteps, ::testing::ValuesIn(CommandCases),
                         [](const ::testing::TestParamInfo<CommandCase>& param) { return std::string(param.param.Name); });

}  // namespace
}  // namespace dyno
