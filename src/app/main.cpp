#include <QApplication>

#include "app/MainWindow.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Dynoforge"));
  QApplication::setApplicationVersion(QStringLiteral(DYNOFORGE_VERSION));
  dyno::MainWindow window;
  window.show();
  return QApplication::exec();
}
