#include <QCoreApplication>

#include "gui/app/CommandLine.h"
#include "gui/app/DynoforgeApplication.h"

int main(int argc, char* argv[]) {
  // Read before the application connects to a display, so that --help and
  // --version work where there is none.
  const dyno::CommandLine commandLine(dyno::ArgumentList(argc, argv));
  if (commandLine.What() != dyno::CommandLine::Action::Run) {
    const QCoreApplication core(argc, argv);  // names the program in the usage
    return commandLine.Print();
  }
  dyno::DynoforgeApplication app(argc, argv);
  return app.Run(commandLine.File());
}
