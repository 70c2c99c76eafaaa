#pragma once

#include <QMainWindow>

namespace dyno {

// The editor's top-level window.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace dyno
