// The command line: what it asks for, and the program itself run with it
// where there is no display.
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "gui/app/CommandLine.h"
#include "gui/app/DynoforgeApplication.h"
#include "gui/app/MainWindow.h"
#include "gui/common/FileNames.h"
#include "gui/common/Settings.h"
#include "gui/document/EditorWidget.h"
#include "support/Approval.h"
#include "support/Flow.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

// Each line of command-line-cases.txt is the arguments after the program's
// name ("\s" a space in one); the program starts in a folder of its own.
TEST(CommandLine, TellsWhatToDoAndWhichFileToOpen) {
  const test::TempDir start;
  const QString folder = QString::fromStdString(start.path().string());
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder));
  std::ifstream cases(test::DataPath("window/command-line-cases.txt"));
  std::string out;
  for (std::string line; std::getline(cases, line);) {
    if (line.starts_with("#")) continue;
    QStringList words = QString::fromStdString(line).split(' ', Qt::SkipEmptyParts);
    const CommandLine commandLine(QStringList{QStringLiteral("dynoforge")} +
                                  words.replaceInStrings(QStringLiteral("\\s"), QStringLiteral(" ")));
    const char* actions[] = {"run", "print help", "print version", "refuse"};
    out += "dynoforge " + line + ": " + actions[static_cast<int>(commandLine.What())] + " \"" +
           QString(commandLine.File()).replace(folder, QStringLiteral("<start>")).toStdString() + "\" status " +
           std::to_string(commandLine.ExitStatus()) + "\n";
  }
  QDir::setCurrent(before);
  test::ExpectApproved(out, "window/command-line-cases.transcript");
}

// A name here is any bytes, UTF-8 or not: the file opens by its own bytes,
// and the recent files keep them.
TEST(CommandLine, OpensAFileWhoseNameIsNotUtf8) {
  QFile::remove(SettingsFilePath());
  const test::TempDir folder;
  const std::string name = (folder.path() / "Mot\xFFr \xE9.ini").string();
  std::filesystem::copy_file(test::DataPath("files/engine-typical.ini"), name);
  std::string program = "dynoforge", file = name;
  char* argv[] = {program.data(), file.data()};
  const CommandLine commandLine(ArgumentList(2, argv));
  ASSERT_EQ(commandLine.What(), CommandLine::Action::Run);

  test::ScriptedDialogs dialogs;
  MainWindow* frame = DynoforgeApplication::Instance()->Start(commandLine.File());
  frame->Client()->SetDialogs(&dialogs);
  const EditorDocument& doc = frame->Client()->Document();
  EXPECT_TRUE(QTest::qWaitFor([&] { return doc.EngineLoaded; }, 5000));
  EXPECT_EQ(doc.EngineFile.Path, name);
  EXPECT_EQ(doc.Engine.EngineRowCount, 21);
  EXPECT_TRUE(dialogs.shown.empty()) << dialogs.shown.front().second.toStdString();
  EXPECT_EQ(EncodedName(ReadRecentFilesSetting().value(0)), name);
  frame->Client()->SetDialogs(nullptr);
  frame->hide();
  QFile::remove(SettingsFilePath());
}

// The built program, run with arguments where there is no display at all.
struct ProgramRun {
  int status = -1;
  bool crashed = false;
  QString out;
  QString err;
};

ProgramRun RunProgram(const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(QString::fromLatin1(name));
  process.setProcessEnvironment(environment);
  // The editor aborts without a display: no core file for that.
  process.setChildProcessModifier([] {
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
  });
  process.start(QStringLiteral(DYNOFORGE_PROGRAM), arguments);
  EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(' ').toStdString();
  return {process.exitCode(), process.exitStatus() == QProcess::CrashExit,
          QString::fromLocal8Bit(process.readAllStandardOutput()),
          QString::fromLocal8Bit(process.readAllStandardError())};
}

// What each run printed and how it ended, against the approved transcript. A
// file to open needs a display, and there is none: that run must fail, which
// is what makes the others count.
TEST(CommandLineProgram, PrintsAndEndsWithoutADisplayAndTellsAMistake) {
  QString out;
  for (const QStringList& arguments : {QStringList{"--version"}, QStringList{"-v"}, QStringList{"--help"},
                                       QStringList{"--bogus"}, QStringList{"a.ini", "b.ini"}}) {
    const ProgramRun run = RunProgram(arguments);
    out += "> dynoforge " + arguments.join(' ') + "\nstatus " + QString::number(run.status) +
           (run.crashed ? " crashed" : "") + "\n--- out\n" + run.out + "--- err\n" + run.err;
  }
  out.replace(QStringLiteral(DYNOFORGE_PROGRAM), QStringLiteral("<program>"));
  test::ExpectApproved(out.replace(QStringLiteral(DYNOFORGE_VERSION), QStringLiteral("<version>")).toStdString(),
                       "window/command-line.txt");
  const ProgramRun run = RunProgram({QStringLiteral("/nonexistent/engine.ini")});
  EXPECT_TRUE(run.crashed || run.status != 0);
  EXPECT_TRUE(run.err.contains(QStringLiteral("display"))) << run.err.toStdString();
}

}  // namespace
}  // namespace dyno
