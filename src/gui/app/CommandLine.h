#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QCommandLineParser;

namespace dyno {

// The program's command line, read before any window system is touched:
//   dynoforge [FILE]      starts the editor, opening FILE
//   dynoforge --help      prints the usage and ends (-h)
//   dynoforge --version   prints "Dynoforge <version>" and ends (-v)
// Qt's own options (-platform, -style, ...) are left to the application.
// A mistake (an unknown option, more than one file) prints the usage to
// standard error and ends with status 2, as command-line tools do.
class CommandLine {
 public:
  enum class Action { Run, PrintHelp, PrintVersion, Refuse };

  // arguments as the program got them, its own name first. Parsing needs no
  // application object.
  explicit CommandLine(const QStringList& arguments);
  ~CommandLine();
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  Action What() const { return action_; }
  // The file to open, made absolute against the folder the program started
  // in (the editor changes its current folder later); empty for none.
  QString File() const { return file_; }

  // For every action but Run: what to print, and where, and the exit status.
  // The usage names the program as an application object knows it, so one
  // (a QCoreApplication, which needs no display) should exist by then.
  QString Output() const;
  bool OutputIsError() const { return action_ == Action::Refuse; }
  int ExitStatus() const { return action_ == Action::Refuse ? 2 : 0; }

  // Prints Output to standard output or standard error; gives ExitStatus.
  int Print() const;

 private:
  std::unique_ptr<QCommandLineParser> parser_;
  Action action_ = Action::Run;
  QString file_;
  QString mistake_;
};

// The arguments of main as text; a file name keeps its bytes (see
// DecodedName), whether or not they are UTF-8.
QStringList ArgumentList(int argc, char** argv);

}  // namespace dyno
