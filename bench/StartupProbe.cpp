// Starts the editor as the program does and ends the moment its window has
// painted for the first time: the start-up a user waits for. With --idle it
// ends at the first moment after that paint when the event loop has nothing
// left to do (the idle pass that enables the commands has run): the window
// is then ready for input.
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QStandardPaths>

#include "gui/app/DynoforgeApplication.h"
#include "gui/app/MainWindow.h"
#include "gui/document/EditorWidget.h"

int main(int argc, char* argv[]) {
  QStandardPaths::setTestModeEnabled(true);
  const bool idle = argc > 1 && QByteArray(argv[1]) == "--idle";
  dyno::DynoforgeApplication app(argc, argv);
  dyno::MainWindow* frame = app.InitMainWindow();
  QObject::connect(
      frame->Client(), &dyno::EditorWidget::Painted, frame,
      [idle] {
        if (!idle) _exit(0);
        // Connected after the frame's idle pass, so it runs after it.
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, [] { _exit(0); });
      },
      Qt::SingleShotConnection);
  app.ShowMainWindow();
  return dyno::DynoforgeApplication::exec();
}
