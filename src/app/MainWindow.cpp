#include "app/MainWindow.h"

namespace dyno {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Dynoforge"));
}

}  // namespace dyno
