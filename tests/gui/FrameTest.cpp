#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include "core/resources/ResourceIds.h"
#include "gui/app/TDynoforgeApp.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/common/Settings.h"
#include "gui/document/TDynoforgeWindow.h"
#include "support/QtTestSupport.h"
#include "support/ScriptedDialogs.h"

namespace dyno {
namespace {

// A frame as the application builds it, with scripted dialogs.
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile::remove(SettingsFilePath());
    frame = std::make_unique<TSDIDecFrame>();
    frame->Client()->SetDialogs(&dialogs);
    frame->resize(900, 700);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    IdlePass();
  }
  void TearDown() override {
    if (frame) frame->Client()->SetDialogs(nullptr);
  }

  static void IdlePass() { test::IdlePass(); }

  QAction* Action(int id) const { return frame->Action(id); }
  EditorState& st() const { return frame->Client()->State(); }

  test::ScriptedDialogs dialogs;
  std::unique_ptr<TSDIDecFrame> frame;
};

struct MenuRow {
  const char* menu;
  int id;  // 0: separator
  const char* text;
  const char* hint;
};

// The menu bar as the user sees it, top to bottom.
const MenuRow MenuRows[] = {
    {"&File", 2011, "&Open...", "Browse for a physics file and open it, and read the data."},
    {"&File", 2025, "&Import Engine Curve Only",
     "Import another engine curve into this file, keeping the other parameters."},
    {"&File", 0, "", ""},
    {"&File", 22101, "Save &As...", "Save the current physics file."},
    {"&File", 0, "", ""},
    {"&File", 24340, "Print Pre&view...", "Displays full pages as read-only"},
    {"&File", 24337, "&Print...", "Prints the active document"},
    {"&File", 24338, "P&rint Setup...", "Sets print characteristics for the active document"},
    {"&File", 0, "", ""},
    {"&File", 24310, "E&xit\tAlt+F4", "Quits Dynoforge and prompts to save the documents"},
    {"&Edit", 24321, "&Undo", "Undo the last change to the data"},
    {"&Edit", 24325, "&Redo", "Redo the change last undone"},
    {"&Edit", 0, "", ""},
    {"&Edit", 2016, "Generate new engine data",
     "Generate a new engine sequence of RPM values specifying the step and number of entries"},
    {"&Edit", 2020, "Edit Engine/Tire Parameters",
     "Edit engine or tire settings parameters. (Depends on current mode)."},
    {"&Edit", 0, "", ""},
    {"&Edit", 2012, "Add a new Line of data", "Add one more step of RPM data using the current step value"},
    {"&Edit", 2014, "Remove the last Line of data", "Remove the last step of RPM data"},
    {"&Edit", 0, "", ""},
    {"&Edit", 2022, "Rescale the Torque or Compression data",
     "Adjust the torque scale to raise or lower the power maintaining the curve shape."},
    {"&Edit", 2024, "Recreate the Curve with a new RPM resolution",
     "Recreate the engine curve at a different resolution."},
    {"&Edit", 2027, "Set the mode to &Bend the current tire curve up or down",
     "Set the mode to adjust the tire curve up or down with the Up and Down edit buttons (active when depressed)"},
    {"&Modes", 22104, "File is &Engine type", ""},
    {"&Modes", 22102, "File is &Upgrade type", "Override the Upgrade file type flag"},
    {"&Modes", 22103, "File is &Tire File (tbc)", ""},
    {"&Modes", 0, "", ""},
    {"&Modes", 2028, "Lock on to data when dragging", ""},
    {"&Help", 2009, "&About...", "About the Dynoforge application"},
};

TEST_F(FrameTest, MenuBarHoldsEveryCommandWithItsTextAndHint) {
  const QList<QAction*> popups = frame->menuBar()->actions();
  ASSERT_EQ(popups.size(), 4);
  std::size_t row = 0;
  for (QAction* popup : popups) {
    for (QAction* item : popup->menu()->actions()) {
      ASSERT_LT(row, std::size(MenuRows));
      const MenuRow& expected = MenuRows[row++];
      EXPECT_EQ(popup->text(), QString::fromLatin1(expected.menu));
      SCOPED_TRACE(expected.text);
      if (expected.id == 0) {
        EXPECT_TRUE(item->isSeparator());
        continue;
      }
      EXPECT_EQ(item->data().toInt(), expected.id);
      EXPECT_EQ(item->text(), QString::fromLatin1(expected.text));
      EXPECT_EQ(item->statusTip(), QString::fromLatin1(expected.hint));
      EXPECT_EQ(item, Action(expected.id));
    }
  }
  EXPECT_EQ(row, std::size(MenuRows));
}

TEST_F(FrameTest, PopupMenusShowTheirHints) {
  const QList<QAction*> popups = frame->menuBar()->actions();
  EXPECT_EQ(popups[0]->statusTip(), QStringLiteral("File operations"));
  EXPECT_EQ(popups[1]->statusTip(), QStringLiteral("Access to Engine file Editing features."));
  EXPECT_EQ(popups[2]->statusTip(), QString());
  EXPECT_EQ(popups[3]->statusTip(), QStringLiteral("Access About"));

  frame->menuBar()->setActiveAction(popups[1]);  // the Edit menu opens
  EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("Access to Engine file Editing features."));
  popups[1]->menu()->close();
  EXPECT_EQ(frame->statusBar()->currentMessage(), QString());
}

TEST_F(FrameTest, HintsShowInTheStatusBarInArial) {
  const QFont font = frame->statusBar()->font();
  EXPECT_EQ(QFontInfo(font).family(), QFontInfo(QFont(QStringLiteral("Arial"))).family());
  EXPECT_EQ(font.weight(), QFont::Normal);
  QWidget* openButton = frame->Toolbar()->widgetForAction(Action(CmOpen));
  QTest::mouseMove(openButton, openButton->rect().center());
  IdlePass();
  EXPECT_EQ(frame->statusBar()->currentMessage(),
            QStringLiteral("Browse for a physics file and open it, and read the data."));
}

TEST_F(FrameTest, ToolbarHoldsThirteenButtonsAndThreeGapsInOrder) {
  QToolBar* bar = frame->Toolbar();
  EXPECT_EQ(bar->windowTitle(), QStringLiteral("Toolbar"));
  EXPECT_TRUE(bar->isMovable());
  EXPECT_EQ(bar->iconSize(), QSize(20, 20));
  EXPECT_EQ(frame->toolBarArea(bar), Qt::TopToolBarArea);
  const int expected[] = {2011, 22101, 0, 24321, 24325, 0, 2016, 2020, 2012, 2014, 2022, 2024, 2027, 0, 24337, 24340};
  const QList<QAction*> actions = bar->actions();
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(expected)));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    if (expected[i] == 0) {
      QWidget* gap = bar->widgetForAction(actions[i]);
      ASSERT_NE(gap, nullptr) << i;
      EXPECT_EQ(gap->width(), 6) << i;
    } else {
      EXPECT_EQ(actions[i], Action(expected[i])) << i;
    }
  }
}

TEST_F(FrameTest, StartUpEnablesOnlyWhatTheGeneratedCurveAllows) {
  for (const int id : {CmOpen, CmGenerate, CmModeEngine, CmModeUpgrade, CmModeTire, CmLockOnToData, CmAbout}) {
    EXPECT_TRUE(Action(id)->isEnabled()) << id;
  }
  for (const int id : {CmSaveAs, CmImport, CmEditParameters, CmAddLine, CmRemoveLine, CmRescale, CmResolution, CmBend}) {
    EXPECT_FALSE(Action(id)->isEnabled()) << id;
  }
  EXPECT_TRUE(Action(CmModeEngine)->isChecked());
  EXPECT_FALSE(Action(CmModeTire)->isChecked());
  EXPECT_TRUE(Action(CmLockOnToData)->isChecked());
}

TEST_F(FrameTest, ModeCommandsCheckTheirItemAndKeepTheData) {
  st().Doc.Engine.EngineRowCount = 41;
  Action(CmModeTire)->trigger();
  IdlePass();
  EXPECT_TRUE(st().Doc.TireMode);
  EXPECT_EQ(st().Doc.RowCount, 237);
  EXPECT_TRUE(Action(CmModeTire)->isChecked());
  EXPECT_FALSE(Action(CmModeEngine)->isChecked());

  Action(CmModeEngine)->trigger();
  IdlePass();
  EXPECT_EQ(st().Doc.RowCount, 41);
  EXPECT_TRUE(Action(CmModeEngine)->isChecked());
  EXPECT_FALSE(Action(CmModeTire)->isChecked());
}

TEST_F(FrameTest, LockToggledTwiceStaysChecked) {
  Action(CmLockOnToData)->trigger();
  IdlePass();
  EXPECT_FALSE(st().Doc.LockOnToData);
  EXPECT_FALSE(Action(CmLockOnToData)->isChecked());
  Action(CmLockOnToData)->trigger();
  IdlePass();
  EXPECT_TRUE(st().Doc.LockOnToData);
  EXPECT_TRUE(Action(CmLockOnToData)->isChecked());
}

TEST_F(FrameTest, AToolbarButtonFollowsItsCommand) {
  QWidget* addButton = frame->Toolbar()->widgetForAction(Action(CmAddLine));
  ASSERT_NE(addButton, nullptr);
  EXPECT_FALSE(addButton->isEnabled());
  st().Doc.EngineLoaded = true;
  st().Doc.RowCount = 41;
  IdlePass();
  EXPECT_TRUE(addButton->isEnabled());
}

TEST_F(FrameTest, AClientArea600PixelsHighShows40Rows) {
  TDynoforgeWindow* client = frame->Client();
  st().Doc.RowCount = 41;
  frame->resize(frame->width(), frame->height() + (600 - client->height()));
  IdlePass();
  ASSERT_EQ(client->height(), 600);
  EXPECT_EQ(st().View.VisibleRows, 40);
  QScrollBar* bar = client->RowScrollBar();
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 1);
  EXPECT_EQ(bar->pageStep(), 39);
  EXPECT_EQ(bar->geometry(), QRect(283, 29, 20, 600 - 33));

  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(st().View.FirstVisibleRow, 1);

  st().Doc.RowCount = 30;
  frame->resize(frame->width(), frame->height() + 1);
  IdlePass();
  EXPECT_FALSE(bar->isEnabled());
  EXPECT_EQ(st().View.FirstVisibleRow, 0);
}

TEST_F(FrameTest, ValueBoxSitsInTheHeaderBarAndTakesEightCharacters) {
  QLineEdit* box = frame->Client()->ValueEdit();
  EXPECT_EQ(box->geometry(), QRect(287, 5, 65, 16));
  EXPECT_EQ(box->maxLength(), 8);
  EXPECT_TRUE(box->hasFrame());
}

TEST_F(FrameTest, EditAcceleratorsReachTheValueBox) {
  QLineEdit* box = frame->Client()->ValueEdit();
  box->setFocus();
  box->setText(QStringLiteral("123.5"));
  box->setSelection(0, 3);
  QTest::keyClick(box, Qt::Key_Insert, Qt::ControlModifier);  // copy
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("123"));
  QTest::keyClick(box, Qt::Key_Delete, Qt::ControlModifier);  // clear the selection
  EXPECT_EQ(box->text(), QStringLiteral(".5"));
  QTest::keyClick(box, Qt::Key_Delete, Qt::ControlModifier);  // no selection: nothing
  EXPECT_EQ(box->text(), QStringLiteral(".5"));
  QTest::keyClick(box, Qt::Key_Backspace, Qt::AltModifier);  // undo
  EXPECT_EQ(box->text(), QStringLiteral("123.5"));
  box->setCursorPosition(5);
  QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);  // paste
  EXPECT_EQ(box->text(), QStringLiteral("123.5123"));
  box->setSelection(0, 4);
  QTest::keyClick(box, Qt::Key_Delete, Qt::ShiftModifier);  // cut
  EXPECT_EQ(box->text(), QStringLiteral("5123"));
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("123."));
  QTest::keyClick(box, Qt::Key_F3);
  EXPECT_EQ(box->text(), QStringLiteral("5123"));
}

TEST_F(FrameTest, ClosingWithoutChangesAsksNothingAndRemembersTheFolder) {
  st().Doc.WorkFolder = "/some/folder";
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(dialogs.saveQuestions, 0);
  const QSettings file(SettingsFilePath(), QSettings::IniFormat);
  EXPECT_EQ(file.value(QStringLiteral("DynoforgeSettings/PATH")).toString(), QStringLiteral("/some/folder"));
}

TEST_F(FrameTest, ClosingWithUnsavedChangesOffersToSave) {
  st().Doc.EngineLoaded = true;
  st().Doc.Modified = true;
  dialogs.saveChoices = {UserDialogs::SaveChoice::Cancel};
  EXPECT_FALSE(frame->close());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(QFile::exists(SettingsFilePath()));  // written at every close request

  dialogs.saveChoices = {UserDialogs::SaveChoice::Discard};
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(dialogs.saveQuestions, 2);
}

TEST_F(FrameTest, ChangesThatCannotBeSavedAreNotOffered) {
  st().Doc.Modified = true;  // the generated start-up curve cannot be saved
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(dialogs.saveQuestions, 0);
}

TEST(Settings, FirstRunStartsInTheHomeFolderAndTheNextRunWhereTheLastEnded) {
  QFile::remove(SettingsFilePath());
  EXPECT_EQ(ReadWorkFolderSetting(), QDir::homePath());
  const QString folder = QDir::tempPath();
  {
    TSDIDecFrame frame;
    EXPECT_EQ(frame.Client()->State().Doc.WorkFolder, QDir::homePath().toStdString());
    EXPECT_EQ(frame.Client()->State().Doc.FileFolder, QDir::homePath().toStdString());
    frame.Client()->State().Doc.WorkFolder = folder.toStdString();
    frame.close();
  }
  TSDIDecFrame next;
  EXPECT_EQ(next.Client()->State().Doc.WorkFolder, folder.toStdString());
  EXPECT_EQ(QDir::currentPath(), folder);
}

TEST(Application, LooksForThePrinterOnlyOnceTheWindowIsPainted) {
  TDynoforgeApp* app = TDynoforgeApp::Instance();
  ASSERT_NE(app, nullptr);
  TSDIDecFrame* frame = app->InitMainWindow();
  app->ShowMainWindow();
  EXPECT_FALSE(app->CommandEnabled(CmPrint));  // shown, not yet painted
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
  frame->Client()->repaint();
  test::IdlePass();
  EXPECT_TRUE(app->CommandEnabled(CmPrint));
  EXPECT_TRUE(frame->Action(CmPrintPreview)->isEnabled());
}

TEST(Application, PlacesTheFrameInsideTheScreen) {
  TDynoforgeApp* app = TDynoforgeApp::Instance();
  ASSERT_NE(app, nullptr);
  TSDIDecFrame* frame = app->InitMainWindow();
  const QSize screen = QGuiApplication::primaryScreen()->size();
  EXPECT_EQ(frame->pos(), QPoint(40, 30));
  EXPECT_EQ(frame->size(), QSize(screen.width() - 80, screen.height() - 60));
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("Dynoforge"));
}

}  // namespace
}  // namespace dyno
