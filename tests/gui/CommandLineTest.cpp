// The command line: what it asks for, and the program itself run with it
// where there is no display.
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

#include <sys/resource.h>

#include <ostream>

#include <gtest/gtest.h>

#include "gui/app/CommandLine.h"
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

TEST(CommandLineProgram, VersionAndHelpPrintAndEndWithoutADisplay) {
  for (const char* option : {"--version", "-v"}) {
    const ProgramRun run = RunProgram({QString::fromLatin1(option)});
    EXPECT_FALSE(run.crashed) << option;
    EXPECT_EQ(run.status, 0) << option;
    EXPECT_EQ(run.out, QStringLiteral("Dynoforge " DYNOFORGE_VERSION "\n")) << option;
    EXPECT_EQ(run.err, QString()) << option;
  }
  const ProgramRun help = RunProgram({QStringLiteral("--help")});
  EXPECT_FALSE(help.crashed);
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: "))) << help.out.toStdString();
  EXPECT_TRUE(help.out.contains(QStringLiteral("[options] [FILE]")));
  EXPECT_TRUE(help.out.contains(QStringLiteral("--version")));
  EXPECT_FALSE(help.out.contains(QStringLiteral("platform")));  // Qt's options stay Qt's
  EXPECT_EQ(help.err, QString());
}

TEST(CommandLineProgram, AMistakePrintsTheUsageToStandardErrorAndEndsWithStatusTwo) {
  const ProgramRun unknown = RunProgram({QStringLiteral("--bogus")});
  EXPECT_FALSE(unknown.crashed);
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, QString());
  EXPECT_TRUE(unknown.err.startsWith(QStringLiteral("Unknown option 'bogus'.\n"))) << unknown.err.toStdString();
  EXPECT_TRUE(unknown.err.contains(QStringLiteral("Usage: ")));

  const ProgramRun twoFiles = RunProgram({QStringLiteral("a.ini"), QStringLiteral("b.ini")});
  EXPECT_EQ(twoFiles.status, 2);
  EXPECT_TRUE(twoFiles.err.contains(QStringLiteral("Usage: ")));
}

TEST(CommandLineProgram, HereTheEditorItselfCannotStart) {
  // What makes the tests above count: the same program with a file to open
  // needs a display, and there is none.
  const ProgramRun run = RunProgram({QStringLiteral("/nonexistent/engine.ini")});
  EXPECT_TRUE(run.crashed || run.status != 0);
  EXPECT_TRUE(run.err.contains(QStringLiteral("display"))) << run.err.toStdString();
}

}  // namespace
}  // namespace dyno
