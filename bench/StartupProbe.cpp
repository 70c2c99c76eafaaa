// Starts the editor as the program does and ends the moment its window has
// painted for the first time: the start-up a user waits for.
#include <unistd.h>

#include <QStandardPaths>

#include "gui/app/TDynoforgeApp.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/document/TDynoforgeWindow.h"

int main(int argc, char* argv[]) {
  QStandardPaths::setTestModeEnabled(true);
  dyno::TDynoforgeApp app(argc, argv);
  dyno::TSDIDecFrame* frame = app.InitMainWindow();
  QObject::connect(frame->Client(), &dyno::TDynoforgeWindow::Painted, [] { _exit(0); });
  app.ShowMainWindow();
  return dyno::TDynoforgeApp::exec();
}
