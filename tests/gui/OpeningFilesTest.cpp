// The ways a file reaches the window besides File > Open: dropped from a file
// manager, chosen under File > Recent Files, named on the command line; and
// the question about unsaved changes they share with Open.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/resources/ResourceIds.h"
#include "gui/app/TDynoforgeApp.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/common/Settings.h"
#include "gui/document/TDynoforgeWindow.h"
#include "support/QtTestSupport.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace dyno {
namespace {

const std::string EngineFile =
    "[ENGINE]\r\n"
    "RPMTorque=( 1000.0, -20.0, 150.0)\r\n"
    "RPMTorque=( 2000.0, -25.0, 180.0)\r\n"
    "RPMTorque=( 3000.0, -30.0, 210.0)\r\n"
    "RPMTorque=( 4000.0, -35.0, 190.0)\r\n"
    "FuelConsumption=5.900e-05\r\n";

const std::string TireFile =
    "[SLIPCURVE]\r\n"
    "Name=\"Lat\"\r\n"
    "Step=0.002\r\n"
    "DropoffFunction=3.0\r\n"
    "Data:\r\n"
    "0.100000 0.200000 0.300000 0.400000 0.500000\r\n"
    "\r\n";

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

int RowsIn(const std::string& bytes) {
  int rows = 0;
  for (std::size_t at = bytes.find("RPMTorque="); at != std::string::npos; at = bytes.find("RPMTorque=", at + 1)) ++rows;
  return rows;
}

// The settings file lives under the home folder: each test gets a home of its
// own, so that tests running side by side never share a list of files.
class PrivateHome {
 public:
  PrivateHome() : previous_(qgetenv("HOME")) { qputenv("HOME", QFile::encodeName(Q(home_.path()))); }
  ~PrivateHome() { qputenv("HOME", previous_); }
  PrivateHome(const PrivateHome&) = delete;
  PrivateHome& operator=(const PrivateHome&) = delete;

 private:
  test::TempDir home_;
  QByteArray previous_;
};

// What became of a drag over a widget: accepted, and with which action.
struct DropResult {
  bool accepted = false;
  Qt::DropAction action = Qt::IgnoreAction;
  Qt::DropAction proposed = Qt::IgnoreAction;  // what the file manager asked for
};

class OpeningFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SettingsFilePath().startsWith(QDir::homePath())) << SettingsFilePath().toStdString();
    ASSERT_TRUE(QDir::homePath().startsWith(QDir::tempPath()));
    Restart();
  }
  void TearDown() override {
    if (frame) frame->Client()->SetDialogs(nullptr);
  }

  // A new frame, as the next start of the program builds it.
  void Restart() {
    if (frame) frame->Client()->SetDialogs(nullptr);
    frame.reset();
    frame = std::make_unique<TSDIDecFrame>();
    frame->Client()->SetDialogs(&dialogs);
    frame->resize(900, 700);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    test::IdlePass();
  }

  EditorDocument& doc() const { return frame->Client()->State().Doc; }
  QString Caption() const { return frame->windowTitle(); }
  std::string Write(const std::string& name, const std::string& bytes) const { return dir.Write(name, bytes); }

  void Open(const std::string& path) {
    ASSERT_TRUE(frame->Client()->Files().OpenPath(Q(path))) << path;
  }

  // An engine file opened and then changed, as the question needs.
  void OpenAndChange(const std::string& path) {
    Open(path);
    frame->Command(CmAddLine);
    ASSERT_TRUE(doc().Modified);
  }

  // Drags data over target as a file manager does, drops it there, and lets
  // the event loop run what the drop started.
  DropResult Drag(QWidget* target, const QMimeData& data, Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, possible, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return {};
    QDropEvent drop(at, possible, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &drop);
    test::IdlePass();
    return {drop.isAccepted(), drop.dropAction(), drop.proposedAction()};
  }
  DropResult DropFile(QWidget* target, const std::string& path,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Q(path))});
    data.setText(Q(path));  // file managers offer the path as text too
    return Drag(target, data, Qt::CopyAction | Qt::MoveAction, modifiers);
  }

  QAction* Action(int id) const { return frame->Action(id); }
  QAction* Entry(int index) const { return Action(CmRecentFile1 + index); }

  // The entries of File > Recent Files as the menu shows them.
  std::vector<QString> MenuEntries() const {
    std::vector<QString> texts;
    for (int i = 0; i < 8; ++i) {
      if (Entry(i)->isVisible()) texts.push_back(Entry(i)->text());
    }
    return texts;
  }
  static std::vector<QString> Numbered(const std::vector<std::string>& paths) {
    std::vector<QString> texts;
    for (std::size_t i = 0; i < paths.size(); ++i) texts.push_back(QStringLiteral("&%1 ").arg(i + 1) + Q(paths[i]));
    return texts;
  }

  PrivateHome home;
  test::TempDir dir;
  test::ScriptedDialogs dialogs;
  std::unique_ptr<TSDIDecFrame> frame;
};

// --- Dropping files -------------------------------------------------------------

TEST_F(OpeningFilesTest, AFileDroppedAnywhereOnTheWindowOpensAsOpenWould) {
  const std::string engine = Write("Engine.ini", EngineFile);
  const std::string tire = Write("road.tbc", TireFile);
  QLineEdit* valueBox = frame->Client()->ValueEdit();

  // A drop on the chart: copied, never moved, whatever the file manager proposes.
  const DropResult onChart = DropFile(frame->Client(), engine, Qt::ShiftModifier);
  EXPECT_TRUE(onChart.accepted);
  EXPECT_EQ(onChart.proposed, Qt::MoveAction);
  EXPECT_EQ(onChart.action, Qt::CopyAction);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Engine.ini"));
  EXPECT_TRUE(doc().EngineLoaded);
  EXPECT_EQ(doc().RowCount, 4);
  EXPECT_EQ(doc().FilePath, engine);
  EXPECT_TRUE(fs::exists(engine));

  // On the value box the file is for the window too, not text to type.
  EXPECT_TRUE(DropFile(valueBox, tire).accepted);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - road.tbc"));
  EXPECT_TRUE(doc().TireMode);
  EXPECT_EQ(doc().SlipCurves[0].SampleCount, 5);
  EXPECT_TRUE(valueBox->text().isEmpty());

  // A file that cannot be read gets Open's message.
  const std::string gone = (dir.path() / "gone.ini").string();
  EXPECT_TRUE(DropFile(frame.get(), gone).accepted);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Unable to open file the selected file: ") + Q(gone));
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("FILE NOT LOADED!"));
  EXPECT_EQ(dialogs.saveQuestions, 0);
}

TEST_F(OpeningFilesTest, OnlyOneLocalFileThatMayBeCopiedIsTaken) {
  const std::string engine = Write("Engine.ini", EngineFile);
  const std::string other = Write("Other.ini", EngineFile);
  fs::create_directory(dir.path() / "folder");
  struct Case {
    const char* what;
    QList<QUrl> urls;
    Qt::DropActions possible;
  };
  const Case cases[] = {
      {"two files", {QUrl::fromLocalFile(Q(engine)), QUrl::fromLocalFile(Q(other))}, Qt::CopyAction},
      {"a folder", {QUrl::fromLocalFile(Q(dir.path() / "folder"))}, Qt::CopyAction},
      {"a web address", {QUrl(QStringLiteral("https://example.com/Engine.ini"))}, Qt::CopyAction},
      {"no file at all", {}, Qt::CopyAction},
      {"a file that may only be moved", {QUrl::fromLocalFile(Q(engine))}, Qt::MoveAction},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QMimeData data;
    if (c.urls.isEmpty()) {
      data.setText(QStringLiteral("123.5"));
    } else {
      data.setUrls(c.urls);
    }
    EXPECT_FALSE(Drag(frame.get(), data, c.possible).accepted);
    EXPECT_FALSE(Drag(frame->Client(), data, c.possible).accepted);
  }
  // Nor is a file taken while a print job lays the window out as pages.
  TDynoforgeApp::Instance()->Printing = 1;
  EXPECT_FALSE(DropFile(frame.get(), engine).accepted);
  TDynoforgeApp::Instance()->Printing = 0;

  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge"));
  EXPECT_FALSE(doc().EngineLoaded);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(doc().RecentFiles.empty());
}

TEST_F(OpeningFilesTest, TheValueBoxStillTakesDroppedText) {
  QMimeData data;
  data.setText(QStringLiteral("123.5"));
  EXPECT_TRUE(Drag(frame->Client()->ValueEdit(), data, Qt::CopyAction).accepted);
  EXPECT_EQ(frame->Client()->ValueEdit()->text(), QStringLiteral("123.5"));
}

// --- The question about unsaved changes ------------------------------------------------

struct QuestionCase {
  const char* name;
  UserDialogs::SaveChoice choice;
  bool saveDialogAnswers;  // Save: the file name is given, or the dialog cancelled
  bool opens;
  bool saves;
};

class UnsavedChangesTest : public OpeningFilesTest, public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(UnsavedChangesTest, ADropAsksFirstAndOpensOnlyWhenTheChangesAreSafeOrGivenUp) {
  const QuestionCase& c = GetParam();
  OpenAndChange(Write("Engine.ini", EngineFile));
  const std::string dropped = Write("Other.ini", EngineFile);
  const std::string saved = (dir.path() / "Saved.ini").string();
  dialogs.saveChoices = {c.choice};
  if (c.choice == UserDialogs::SaveChoice::Save) dialogs.saveAnswers = {c.saveDialogAnswers ? Q(saved) : QString()};

  DropFile(frame.get(), dropped);
  EXPECT_EQ(dialogs.saveQuestions, 1);
  EXPECT_EQ(fs::exists(saved), c.saves);
  if (c.saves) {
    EXPECT_EQ(RowsIn(test::TempDir::Read(saved)), 5);  // with the row added
  }
  EXPECT_EQ(Caption(), c.opens ? QStringLiteral("Dynoforge - Other.ini") : QStringLiteral("Dynoforge - Engine.ini"));
  EXPECT_EQ(doc().RowCount, c.opens ? 4 : 5);
  EXPECT_EQ(doc().Modified, !c.opens && !c.saves);
  EXPECT_TRUE(dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Choices, UnsavedChangesTest,
                         ::testing::Values(QuestionCase{"Save", UserDialogs::SaveChoice::Save, true, true, true},
                                           QuestionCase{"SaveCancelled", UserDialogs::SaveChoice::Save, false,
                                                        false, false},
                                           QuestionCase{"Discard", UserDialogs::SaveChoice::Discard, false, true,
                                                        false},
                                           QuestionCase{"Cancel", UserDialogs::SaveChoice::Cancel, false, false,
                                                        false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(OpeningFilesTest, OpenAndRecentFilesAskTheSameQuestionBeforeReplacingChanges) {
  const std::string other = Write("Other.ini", EngineFile);
  Open(other);
  OpenAndChange(Write("Engine.ini", EngineFile));

  // Cancelled: no file dialog, nothing opened.
  dialogs.saveChoices = {UserDialogs::SaveChoice::Cancel, UserDialogs::SaveChoice::Cancel};
  frame->Command(CmOpen);
  EXPECT_TRUE(dialogs.openRequests.empty());
  Entry(1)->trigger();  // Other.ini
  EXPECT_EQ(dialogs.saveQuestions, 2);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Engine.ini"));
  EXPECT_TRUE(doc().Modified);

  // Given up: the file dialog follows.
  dialogs.saveChoices = {UserDialogs::SaveChoice::Discard};
  dialogs.openAnswers = {Q(other)};
  frame->Command(CmOpen);
  EXPECT_EQ(dialogs.saveQuestions, 3);
  EXPECT_EQ(dialogs.openRequests.size(), 1u);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Other.ini"));
  EXPECT_FALSE(doc().Modified);
  // Without changes nothing is asked.
  Entry(1)->trigger();
  EXPECT_EQ(dialogs.saveQuestions, 3);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Engine.ini"));
}

// --- Recent files -----------------------------------------------------------------

TEST_F(OpeningFilesTest, OpenedAndSavedFilesAreListedNewestFirstOnce) {
  QAction* submenu = Action(CmRecentFiles);
  EXPECT_EQ(submenu->text(), QStringLiteral("Recent &Files"));
  EXPECT_FALSE(submenu->isEnabled());
  EXPECT_FALSE(Action(CmClearRecentFiles)->isEnabled());

  const std::string engine = Write("Engine.ini", EngineFile);
  const std::string tire = Write("road.tbc", TireFile);
  const std::string copy = (dir.path() / "copy.tbc").string();
  Open(engine);
  Open(tire);
  dialogs.saveAnswers = {Q(copy)};
  frame->Command(CmSaveAs);
  ASSERT_TRUE(fs::exists(copy));
  // A file whose data could not be read is not listed.
  EXPECT_FALSE(frame->Client()->Files().OpenPath(Q(Write("norows.ini", "[ENGINE]\r\n"))));
  test::IdlePass();

  EXPECT_TRUE(submenu->isEnabled());
  EXPECT_EQ(MenuEntries(), Numbered({copy, tire, engine}));
  EXPECT_EQ(Entry(0)->statusTip(), Q(copy));
  EXPECT_EQ(Entry(2)->statusTip(), Q(engine));
  EXPECT_EQ(Entry(0)->objectName(), QStringLiteral("actionRecentFile1"));
  EXPECT_EQ(submenu->menu()->actions().last(), Action(CmClearRecentFiles));
  EXPECT_EQ(Action(CmClearRecentFiles)->text(), QStringLiteral("&Clear List"));

  // Choosing an entry opens it and moves it to the top.
  Entry(2)->trigger();
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Engine.ini"));
  test::IdlePass();
  EXPECT_EQ(MenuEntries(), Numbered({engine, copy, tire}));

  // A long path is shortened in the menu and shown whole in the status bar.
  const fs::path deep = dir.path() / "GameData" / "Vehicles" / "Touring Cars 2024" / "Engines";
  fs::create_directories(deep);
  const std::string far = test::TempDir::WriteFile(deep / "V8.ini", EngineFile);
  Open(far);
  test::IdlePass();
  const QString text = Entry(0)->text();
  EXPECT_TRUE(text.startsWith(QStringLiteral("&1 /"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("/.../"))) << text.toStdString();
  EXPECT_TRUE(text.endsWith(QStringLiteral("/Touring Cars 2024/Engines/V8.ini"))) << text.toStdString();
  EXPECT_LT(text.size(), Q(far).size());
  EXPECT_EQ(Entry(0)->statusTip(), Q(far));
}

TEST_F(OpeningFilesTest, TheListKeepsTheEightNewestInTheSettingsFile) {
  std::vector<std::string> paths;
  for (int i = 1; i <= 10; ++i) {
    paths.push_back(Write("e" + std::to_string(i) + ".ini", EngineFile));
    Open(paths.back());
  }
  test::IdlePass();
  const std::vector<std::string> newest(paths.rbegin(), paths.rbegin() + 8);
  EXPECT_EQ(MenuEntries(), Numbered(newest));

  const QSettings file(SettingsFilePath(), QSettings::IniFormat);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(file.value(QStringLiteral("DynoforgeSettings/RecentFile%1").arg(i + 1)).toString(), Q(newest[i]));
  }
  EXPECT_FALSE(file.contains(QStringLiteral("DynoforgeSettings/RecentFile9")));
}

TEST_F(OpeningFilesTest, TheListSurvivesARestartWhateverThePathsHoldAndOpensFromThere) {
  fs::create_directory(dir.path() / "a, b");
  const std::string odd = Write("a, b/Motör & V8, x.ini", EngineFile);
  const std::string tire = Write("road.tbc", TireFile);
  Open(odd);
  Open(tire);
  ASSERT_TRUE(frame->close());  // writes PATH too
  Restart();

  EXPECT_EQ(doc().RecentFiles, (std::vector<std::string>{tire, odd}));
  EXPECT_TRUE(Action(CmRecentFiles)->isEnabled());
  EXPECT_EQ(MenuEntries(), (std::vector<QString>{QStringLiteral("&1 ") + Q(tire),
                                                 QStringLiteral("&2 ") + Q(dir.path()) +
                                                     QString::fromUtf8("/a, b/Motör && V8, x.ini")}));
  const QSettings file(SettingsFilePath(), QSettings::IniFormat);
  EXPECT_EQ(file.value(QStringLiteral("DynoforgeSettings/PATH")).toString(), Q(dir.path()));
  EXPECT_EQ(file.value(QStringLiteral("DynoforgeSettings/RecentFile2")).toString(), QString::fromUtf8(odd.c_str()));

  Entry(1)->trigger();
  EXPECT_EQ(Caption(), QString::fromUtf8("Dynoforge - Motör & V8, x.ini"));
  EXPECT_EQ(doc().RowCount, 4);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OpeningFilesTest, AFileThatHasGoneIsTakenOffTheListWithAMessage) {
  const std::string gone = Write("gone.ini", EngineFile);
  const std::string kept = Write("kept.tbc", TireFile);
  Open(gone);
  Open(kept);
  frame->Command(CmAddLine);  // unsaved changes: nothing to ask about a file that is not there
  fs::remove(gone);
  test::IdlePass();

  Entry(1)->trigger();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            QStringLiteral("The file ") + Q(gone) + QStringLiteral(" no longer exists and was removed from the list."));
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("FILE NOT LOADED!"));
  EXPECT_EQ(dialogs.saveQuestions, 0);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - kept.tbc"));
  test::IdlePass();
  EXPECT_EQ(MenuEntries(), Numbered({kept}));
  EXPECT_FALSE(Entry(1)->isVisible());

  Restart();
  EXPECT_EQ(MenuEntries(), Numbered({kept}));
}

TEST_F(OpeningFilesTest, ClearListEmptiesTheListForGood) {
  Open(Write("Engine.ini", EngineFile));
  test::IdlePass();
  ASSERT_TRUE(Action(CmClearRecentFiles)->isEnabled());
  Action(CmClearRecentFiles)->trigger();
  test::IdlePass();
  EXPECT_FALSE(Action(CmRecentFiles)->isEnabled());
  EXPECT_TRUE(MenuEntries().empty());
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Engine.ini"));

  Restart();
  EXPECT_FALSE(Action(CmRecentFiles)->isEnabled());
  EXPECT_TRUE(doc().RecentFiles.empty());
}

TEST_F(OpeningFilesTest, TheSettingsFileIsWrittenOnlyWhenTheListChanges) {
  const std::string engine = Write("Engine.ini", EngineFile);
  Open(engine);
  // The same list, written by hand with a comment that a rewrite would drop:
  // opening the newest file again leaves it.
  const std::string settings = QFile::encodeName(SettingsFilePath()).toStdString();
  const std::string byHand = "; kept by hand\n[DynoforgeSettings]\nRecentFile1=" + engine + "\n";
  test::TempDir::WriteFile(settings, byHand);
  Open(engine);
  EXPECT_EQ(test::TempDir::Read(settings), byHand);
  Open(Write("Other.ini", EngineFile));
  EXPECT_NE(test::TempDir::Read(settings), byHand);
}

TEST_F(OpeningFilesTest, AnotherRunningCopysFilesAreKeptWhenTheListChanges) {
  const std::string mine = Write("mine.ini", EngineFile);
  const std::string theirs = Write("theirs.ini", EngineFile);
  WriteRecentFilesSetting({Q(theirs)});  // written by a second window since this one started
  Open(mine);
  EXPECT_EQ(doc().RecentFiles, (std::vector<std::string>{mine, theirs}));
}

// --- The command line's file ----------------------------------------------------------

class StartFileTest : public ::testing::Test {
 protected:
  // Starts as main does with file on the command line; the scripted dialogs
  // are in place before the event loop runs.
  TSDIDecFrame* Start(const std::string& file) {
    TSDIDecFrame* frame = TDynoforgeApp::Instance()->Start(Q(file));
    frame->Client()->SetDialogs(&dialogs);
    started = frame;
    EXPECT_TRUE(QTest::qWaitForWindowExposed(frame));
    test::IdlePass();
    return frame;
  }
  void TearDown() override {
    if (started) started->Client()->SetDialogs(nullptr);
  }

  PrivateHome home;
  test::TempDir dir;
  test::ScriptedDialogs dialogs;
  TSDIDecFrame* started = nullptr;
};

TEST_F(StartFileTest, TheFileNamedOnTheCommandLineOpensOnceTheWindowIsUp) {
  TSDIDecFrame* frame = Start(dir.Write("road.tbc", TireFile));
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("Dynoforge - road.tbc"));
  EXPECT_TRUE(frame->Client()->Document().TireLoaded);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(frame->Client()->Document().RecentFiles.size(), 1u);
}

TEST_F(StartFileTest, AMissingFileGetsOpensMessageAndTheWindowStays) {
  const std::string missing = (dir.path() / "missing.ini").string();
  TSDIDecFrame* frame = Start(missing);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Unable to open file the selected file: ") + Q(missing));
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("FILE NOT LOADED!"));
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("Dynoforge"));
  EXPECT_TRUE(frame->Client()->Document().RecentFiles.empty());
}

}  // namespace
}  // namespace dyno
