// The command line: what it asks for, and the program itself run with it
// where there is no display.
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

#include <sys/resource.h>

#include <ostream>

#include <gtest/gtest.h>

#include "gui/app/CommandLine.h"
#include "support/Approval.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

struct ParseCase {
  QStringList arguments;  // after the program's name
  CommandLine::Action action;
  QString file;  // absolute, or relative to the folder the program starts in; empty: none
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << "dynoforge " << c.arguments.join(' ').toStdString(); }

class CommandLineParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineParseTest, TellsWhatToDoAndWhichFileToOpen) {
  const test::TempDir start;
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(start.path().string())));
  const ParseCase& c = GetParam();
  const CommandLine commandLine(QStringList{QStringLiteral("dynoforge")} + c.arguments);
  QDir::setCurrent(before);

  EXPECT_EQ(commandLine.What(), c.action);
  const QString expected = c.file.isEmpty()         ? QString()
                           : c.file.startsWith('/') ? c.file
                                                    : QString::fromStdString(start.path().string()) + '/' + c.file;
  EXPECT_EQ(commandLine.File(), expected);
  EXPECT_EQ(commandLine.ExitStatus(), c.action == CommandLine::Action::Refuse ? 2 : 0);
}

using Action = CommandLine::Action;
INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineParseTest,
    ::testing::Values(ParseCase{{}, Action::Run, {}},
                      // Made absolute at once: the editor changes its folder as it starts.
                      ParseCase{{"engine.ini"}, Action::Run, "engine.ini"},
                      ParseCase{{"cars/../road.tbc"}, Action::Run, "road.tbc"},
                      ParseCase{{"/abs/Engine.ini"}, Action::Run, "/abs/Engine.ini"},
                      ParseCase{{"--", "-odd name.ini"}, Action::Run, "-odd name.ini"},
                      // Qt's own options, with their values, are not files.
                      ParseCase{{"-style", "fusion", "a.ini"}, Action::Run, "a.ini"},
                      ParseCase{{"--platform=offscreen", "-reverse", "a.ini"}, Action::Run, "a.ini"},
                      ParseCase{{"--help"}, Action::PrintHelp, {}},
                      ParseCase{{"-h", "a.ini"}, Action::PrintHelp, {}},
                      ParseCase{{"--version"}, Action::PrintVersion, {}},
                      ParseCase{{"-v"}, Action::PrintVersion, {}},
                      ParseCase{{"--bogus"}, Action::Refuse, {}},
                      ParseCase{{"-x", "a.ini"}, Action::Refuse, {}},
                      ParseCase{{"a.ini", "b.ini"}, Action::Refuse, {}}));

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
