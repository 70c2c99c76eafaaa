// The editor's commands through the real window, with scripted dialogs: each
// flow's transcript (dialogs, messages, caption, available commands,
// document) and the files it saves are compared with the approved ones under
// tests/data/window.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "core/chart/ChartLayout.h"
#include "core/resources/ResourceIds.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/common/Settings.h"
#include "gui/document/TDynoforgeWindow.h"
#include "support/Approval.h"
#include "support/QtTestSupport.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "support/WindowTrace.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;
using test::ExpectApproved;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

// Fills named boxes of a dialog and confirms (or cancels) it.
std::function<int(QDialog&)> Fill(std::vector<std::pair<const char*, QString>> fields, bool ok = true) {
  return [fields, ok](QDialog& dialog) {
    for (const auto& [name, text] : fields) {
      if (auto* edit = dialog.findChild<QLineEdit*>(name)) {
        edit->setText(text);
      } else if (auto* list = dialog.findChild<QComboBox*>(name)) {
        list->setCurrentIndex(list->findText(text));
      } else if (auto* button = dialog.findChild<QPushButton*>(name)) {
        button->click();
      } else {
        ADD_FAILURE() << "no field " << name;
      }
    }
    ok ? dialog.accept() : dialog.reject();
    return dialog.result();
  };
}

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile::remove(SettingsFilePath());
    frame = std::make_unique<TSDIDecFrame>();
    frame->Client()->SetDialogs(&dialogs);
    frame->setGeometry(40, 30, 1000, 700);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    trace = std::make_unique<test::WindowTrace>(*frame, dialogs);
    trace->Shorten(Q(dir.path()), QStringLiteral("<dir>"));
    trace->Shorten(QDir::homePath(), QStringLiteral("<home>"));
  }
  void TearDown() override { frame->Client()->SetDialogs(nullptr); }

  // A copy of a test data file in the test's folder.
  QString Copy(const char* data, const char* name) {
    fs::copy_file(test::DataPath(data), dir.path() / name, fs::copy_options::overwrite_existing);
    return Q(dir.path() / name);
  }
  void Run(const std::string& title, int command) { trace->Step(title, [&] { frame->Command(command); }); }
  void Open(const QString& path) {
    dialogs.openAnswers.push_back(path);
    Run("open " + QFileInfo(path).fileName().toStdString(), CmOpen);
  }
  void SaveAs(const char* name) {
    dialogs.saveAnswers.push_back(Q(dir.path() / name));
    Run(std::string("save as ") + name, CmSaveAs);
  }
  void ExpectFile(const char* name, const std::string& approved) {
    ExpectApproved(test::TempDir::Read(dir.path() / name), "window/" + approved);
  }
  void Close(UserDialogs::SaveChoice choice) {
    dialogs.saveChoices.push_back(choice);
    trace->Step("close", [&] { frame->close(); });
  }

  test::TempDir dir;
  test::ScriptedDialogs dialogs;
  std::unique_ptr<TSDIDecFrame> frame;
  std::unique_ptr<test::WindowTrace> trace;
};

TEST_F(Commands, AnEngineFileOpenedEditedAndSaved) {
  Open(Copy("files/engine-typical.ini", "engine.ini"));
  dialogs.dialogScripts.push_back(Fill({{"LifetimeAvgEdit", "9000"}, {"IdleRPMLogicEdit2", "1300.5"}}, false));
  Run("parameters cancelled", CmEditParameters);
  dialogs.dialogScripts.push_back(Fill({{"LifetimeAvgEdit", "9000"}, {"IdleRPMLogicEdit2", "1300.5"}}));
  Run("parameters", CmEditParameters);
  SaveAs("saved.ini");
  ExpectFile("saved.ini", "engine-saved.ini");
  SaveAs("saved.ini");
  EXPECT_EQ(test::TempDir::Read(dir.path() / "saved.in_"), test::TempDir::Read(dir.path() / "saved.ini"));
  Open(Copy("files/car-upgrade.ini", "car_upgrade.ini"));
  SaveAs("upgrade.ini");
  ExpectFile("upgrade.ini", "upgrade-saved.ini");
  dialogs.openAnswers.push_back(Copy("files/engine-lf.ini", "rows.ini"));
  Run("import", CmImport);
  Close(UserDialogs::SaveChoice::Cancel);
  EXPECT_TRUE(frame->isVisible());
  Close(UserDialogs::SaveChoice::Discard);
  EXPECT_FALSE(frame->isVisible());
  ExpectApproved(trace->Text(), "window/engine-flow.txt");
}

TEST_F(Commands, ATireFileWithItsCurvesEdited) {
  Open(Copy("files/tire-typical.tbc", "front.tbc"));
  dialogs.dialogScripts.push_back(Fill({{"addCurveButton", ""}, {"nameEdit3", "Wet"}, {"stepEdit1", "0.0031"}}));
  Run("slip curves", CmEditParameters);
  Run("add line", CmAddLine);
  Run("remove line", CmRemoveLine);
  Run("remove line", CmRemoveLine);
  Run("bend on", CmBend);
  Run("bend off", CmBend);
  SaveAs("front2.tbc");
  ExpectFile("front2.tbc", "tire-saved.tbc");
  Run("generate", CmGenerate);
  for (const int mode : {CmModeEngine, CmModeUpgrade, CmModeTire}) Run("mode", mode);
  Run("lock", CmLockOnToData);
  Run("lock", CmLockOnToData);
  dialogs.saveAnswers.push_back(Q(dir.path() / "after-close.tbc"));
  Close(UserDialogs::SaveChoice::Save);
  EXPECT_FALSE(frame->isVisible());
  ExpectApproved(trace->Text(), "window/tire-flow.txt");
}

TEST_F(Commands, CurveOperationsThroughTheirDialogs) {
  dialogs.dialogScripts.push_back(Fill({{"rpmStepCombo", "500"}, {"maxRpmCombo", "8000"}, {"maxHpEdit", "380"},
                                        {"peakTorqueRpmCombo", "5500"}}));
  Run("generate", CmGenerate);
  dialogs.dialogScripts.push_back(Fill({{"newHpEdit", "500"}, {"newCompressionEdit", "-150"}}));
  Run("rescale", CmRescale);
  dialogs.dialogScripts.push_back(Fill({{"newRpmStepCombo", "250"}}));
  Run("resolution", CmResolution);
  dialogs.dialogScripts.push_back(Fill({{"newRpmStepCombo", "100"}}, false));
  Run("resolution cancelled", CmResolution);
  Run("add line", CmAddLine);
  for (int k = 0; k < 24; ++k) frame->Command(CmRemoveLine);
  Run("remove line to the minimum", CmRemoveLine);
  Run("remove line below the minimum", CmRemoveLine);
  dialogs.openAnswers.push_back(QString());
  Run("import cancelled", CmImport);
  dialogs.openAnswers.push_back(Copy("files/engine-no-rows.ini", "no-rows.ini"));
  Run("import without rows", CmImport);
  dialogs.openAnswers.push_back(Q(dir.path() / "missing.ini"));
  Run("import missing", CmImport);
  SaveAs("generated.ini");
  ExpectFile("generated.ini", "generated-saved.ini");
  ExpectApproved(trace->Text(), "window/curves-flow.txt");
}

TEST_F(Commands, FailuresAreToldAndChangeNothing) {
  dialogs.openAnswers.push_back(QString());
  Run("open cancelled", CmOpen);
  Open(Q(dir.path() / "missing.ini"));
  Open(Copy("files/engine-no-rows.ini", "empty.ini"));
  fs::create_directory(dir.path() / "folder.tbc");
  Open(Q(dir.path() / "folder.tbc"));
  Open(Copy("files/tire-empty.tbc", "no-curves.tbc"));
  Open(Q(dir.path() / (std::string(300, 'x') + ".ini")));
  Open(Copy("files/engine-typical.ini", "engine.ini"));
  dialogs.saveAnswers.push_back(QString());
  Run("save as cancelled", CmSaveAs);
  SaveAs("no/such/folder.ini");
  SaveAs((std::string(300, 'y') + ".ini").c_str());
  frame->Client()->State().Doc.Modified = true;
  dialogs.saveAnswers.push_back(Q(dir.path() / "no/such/folder.ini"));
  Close(UserDialogs::SaveChoice::Save);
  EXPECT_TRUE(frame->isVisible());
  dialogs.saveAnswers.push_back(QString());
  Close(UserDialogs::SaveChoice::Save);  // the save dialog cancelled
  EXPECT_TRUE(frame->isVisible());
  ExpectApproved(trace->Text(), "window/failures-flow.txt");
}

// Undo and Redo by their keys (also while the value box has the focus) and
// through the commands: each change goes back and comes again to the byte,
// the menu names the step, and a new file starts a new history.
TEST_F(Commands, UndoAndRedo) {
  Open(Copy("files/engine-typical.ini", "engine.ini"));
  TDynoforgeWindow* window = frame->Client();
  const auto key = [&](const std::string& title, Qt::Key k, Qt::KeyboardModifiers modifiers, QWidget* to) {
    trace->Step(title, [&] {
      QTest::keyClick(to, k, modifiers);
      test::IdlePass();
    });
  };
  trace->Step("drag torque point 10", [&] {
    window->grab();
    const ChartLayout& c = window->State().Chart;
    const QPoint p(c.PointX[10], c.TorqueY[10]);
    QTest::mousePress(window, Qt::LeftButton, {}, p);
    QTest::mouseMove(window, p + QPoint(0, -40));
    QTest::mouseRelease(window, Qt::LeftButton, {}, p + QPoint(0, -40));
    test::IdlePass();
  });
  dialogs.dialogScripts.push_back(Fill({{"newHpEdit", "500"}}));
  Run("rescale", CmRescale);
  dialogs.dialogScripts.push_back(Fill({{"LifetimeAvgEdit", "9000"}}));
  Run("parameters", CmEditParameters);
  SaveAs("edited.ini");
  for (int k = 0; k < 3; ++k) key("ctrl+z", Qt::Key_Z, Qt::ControlModifier, window);
  SaveAs("undone.ini");
  EXPECT_EQ(test::TempDir::Read(dir.path() / "undone.ini"), test::TempDir::Read(test::DataPath("files/engine-typical.saved.ini")));
  for (int k = 0; k < 3; ++k) key("ctrl+y", Qt::Key_Y, Qt::ControlModifier, window);
  key("ctrl+z", Qt::Key_Z, Qt::ControlModifier, window);
  key("ctrl+shift+z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, window);
  SaveAs("redone.ini");
  EXPECT_EQ(test::TempDir::Read(dir.path() / "redone.ini"), test::TempDir::Read(dir.path() / "edited.ini"));

  // Typing: the keys act on the document, never on the box's own undo.
  QLineEdit* box = window->ValueEdit();
  trace->Step("type 35, enter, 0 in torque cell 3", [&] {
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(190, 35 + 14 * 3));
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("35"));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, QStringLiteral("0"));
  });
  key("ctrl+z in the box", Qt::Key_Z, Qt::ControlModifier, box);
  key("ctrl+z in the box", Qt::Key_Z, Qt::ControlModifier, box);
  key("ctrl+y in the box", Qt::Key_Y, Qt::ControlModifier, box);
  // Back at the file as last saved: nothing to save on closing.
  Run("undo", CmUndo);
  Close(UserDialogs::SaveChoice::Cancel);
  EXPECT_FALSE(frame->isVisible());
  ExpectApproved(trace->Text(), "window/undo-flow.txt");
}

TEST_F(Commands, UndoAndRedoOfTheDialogsAndTheTireCommands) {
  Open(Copy("files/tire-typical.tbc", "front.tbc"));
  dialogs.dialogScripts.push_back(Fill({{"addCurveButton", ""}}, false));
  Run("slip curves cancelled", CmEditParameters);
  dialogs.dialogScripts.push_back(Fill({{"addCurveButton", ""}, {"nameEdit1", "Dry"}}));
  Run("slip curves", CmEditParameters);
  Run("remove line", CmRemoveLine);
  Run("undo", CmUndo);
  Run("undo", CmUndo);
  Run("redo", CmRedo);
  dialogs.saveChoices.push_back(UserDialogs::SaveChoice::Discard);
  Open(Copy("files/engine-typical.ini", "engine.ini"));
  dialogs.dialogScripts.push_back(Fill({}, false));
  Run("generate cancelled", CmGenerate);
  dialogs.dialogScripts.push_back(Fill({}));
  Run("generate", CmGenerate);
  Run("undo", CmUndo);
  dialogs.dialogScripts.push_back(Fill({{"newRpmStepCombo", "250"}}));
  Run("resolution", CmResolution);
  dialogs.openAnswers.push_back(Copy("files/engine-odd-rows.ini", "other.ini"));
  Run("import", CmImport);
  Run("undo", CmUndo);
  Run("undo", CmUndo);
  Run("redo", CmRedo);
  ExpectApproved(trace->Text(), "window/undo-dialogs-flow.txt");
}

// The menus, the toolbar and the status bar as built, with every text,
// shortcut, hint and state at start-up.
TEST_F(Commands, MenusToolbarAndHints) {
  test::IdlePass();
  std::string out;
  const auto describe = [&](QAction* a) {
    out += "  " + a->text().toStdString() + " [" + a->objectName().toStdString() + "] " +
           a->shortcut().toString().toStdString() + (a->isEnabled() ? "" : " disabled") + (a->isVisible() ? "" : " hidden") +
           (a->isCheckable() ? (a->isChecked() ? " checked" : " unchecked") : "") + " | " +
           a->statusTip().toStdString() + "\n";
  };
  const std::function<void(QMenu*, const std::string&)> list = [&](QMenu* menu, const std::string& indent) {
    for (QAction* item : menu->actions()) {
      out += indent;
      if (item->isSeparator()) {
        out += "  --\n";
      } else {
        describe(item);
        if (item->menu()) list(item->menu(), indent + "  ");
      }
    }
  };
  for (QAction* popup : frame->menuBar()->actions()) {
    out += popup->text().toStdString() + " | " + popup->statusTip().toStdString() + "\n";
    list(popup->menu(), "");
  }
  out += "toolbar \"" + frame->Toolbar()->windowTitle().toStdString() + "\"" +
         (frame->Toolbar()->isMovable() ? " movable" : "") + (frame->Toolbar()->isFloatable() ? " floatable" : "") + "\n";
  for (QAction* action : frame->Toolbar()->actions()) {
    QWidget* widget = frame->Toolbar()->widgetForAction(action);
    out += action->objectName().isEmpty() ? "  gap " + std::to_string(widget->width()) + "\n"
                                          : "  " + action->objectName().toStdString() + " " +
                                                std::to_string(action->icon().availableSizes().value(0).width()) + "x" +
                                                std::to_string(action->icon().availableSizes().value(0).height()) + "\n";
  }
  const QFont font = frame->statusBar()->font();
  out += "status bar " + font.family().toStdString() + " " + std::to_string(font.pixelSize()) + "px\n";
  // A toolbar button's hint shows in the status bar when the pointer is on it.
  QTest::mouseMove(frame->Toolbar()->widgetForAction(frame->Action(CmAddLine)));
  test::IdlePass();
  out += "hovering Add: " + frame->statusBar()->currentMessage().toStdString() + "\n";
  ExpectApproved(out, "window/menus.txt");
}

}  // namespace
}  // namespace dyno
