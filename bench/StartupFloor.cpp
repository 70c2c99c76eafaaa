// The least a Qt program does to show a main window, ending the moment the
// window has painted: the floor of start-up. With --text the window also
// shows a line of text, so the floor includes loading the fonts, which any
// window with text pays for.
#include <unistd.h>

#include <QPainter>

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStandardPaths>

namespace {

class Client : public QWidget {
 public:
  explicit Client(bool text) : text_(text) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QWidget::paintEvent(event);
    if (text_) QPainter(this).drawText(10, 20, QStringLiteral("Dynoforge"));
    _exit(0);
  }

 private:
  bool text_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  QMainWindow window;
  window.setCentralWidget(new Client(argc > 1 && QByteArray(argv[1]) == "--text"));
  const QSize screen = QGuiApplication::primaryScreen()->size();
  window.move(40, 30);
  window.resize(screen.width() - 80, screen.height() - 60);
  window.show();
  return QApplication::exec();
}
