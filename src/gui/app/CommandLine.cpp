#include "gui/app/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

#include "core/app/ProgramVersion.h"
#include "gui/common/FileNames.h"

namespace dyno {

namespace {

// The options QGuiApplication and QApplication take out of the arguments
// themselves, also written with two dashes: accepted here and left to them.
const char* const QtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
    "qwindowtitle", "session", "display", "geometry", "title", "icon", "name", "style", "stylesheet",
    "qmljsdebugger",
};
const char* const QtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

void AddHiddenOption(QCommandLineParser& parser, const char* name, bool takesValue) {
  QCommandLineOption option(QString::fromLatin1(name));
  if (takesValue) option.setValueName(QStringLiteral("value"));
  option.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(option);
}

}  // namespace

CommandLine::CommandLine(const QStringList& arguments) : parser_(std::make_unique<QCommandLineParser>()) {
  QCommandLineParser& parser = *parser_;
  parser.setApplicationDescription(
      QStringLiteral("Dynoforge edits the physics files of racing simulators: engine and upgrade files (.ini)\n"
                     "and tire files (.tbc)."));
  // Qt's options are written with one dash: -platform, not -p -l -a ...
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Displays this help and exits."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Displays the version and exits."));
  parser.addOption(help);
  parser.addOption(version);
  for (const char* name : QtOptionsWithValue) AddHiddenOption(parser, name, true);
  for (const char* name : QtFlags) AddHiddenOption(parser, name, false);
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QStringLiteral("An engine, upgrade or tire file to open."), QStringLiteral("[FILE]"));

  if (!parser.parse(arguments)) {
    action_ = Action::Refuse;
    mistake_ = parser.errorText();
    return;
  }
  if (parser.isSet(help)) {
    action_ = Action::PrintHelp;
    return;
  }
  if (parser.isSet(version)) {
    action_ = Action::PrintVersion;
    return;
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    action_ = Action::Refuse;
    mistake_ = QStringLiteral("Only one file can be opened at a time.");
    return;
  }
  if (!files.isEmpty() && !files.constFirst().isEmpty()) file_ = QFileInfo(files.constFirst()).absoluteFilePath();
}

CommandLine::~CommandLine() = default;

QString CommandLine::Output() const {
  switch (action_) {
    case Action::Run:
      break;
    case Action::PrintHelp:
      return parser_->helpText();
    case Action::PrintVersion: {
      const ProgramVersionInfo& info = ThisProgramVersion();
      return QStringLiteral("%1 %2\n")
          .arg(QString::fromLatin1(info.ProductName.data(), static_cast<qsizetype>(info.ProductName.size())),
               QString::fromLatin1(info.ProductVersion.data(), static_cast<qsizetype>(info.ProductVersion.size())));
    }
    case Action::Refuse:
      return mistake_ + QStringLiteral("\n\n") + parser_->helpText();
  }
  return QString();
}

int CommandLine::Print() const {
  std::FILE* stream = OutputIsError() ? stderr : stdout;
  std::fputs(Output().toLocal8Bit().constData(), stream);
  std::fflush(stream);
  return ExitStatus();
}

QStringList ArgumentList(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) {
#ifdef Q_OS_WIN
    arguments << QString::fromLocal8Bit(argv[i]);
#else
    // A file's name is any bytes here: they reach the core as they came.
    arguments << DecodedName(argv[i]);
#endif
  }
  return arguments;
}

}  // namespace dyno
