// The least a Qt program does to show a main window of the editor's size,
// ending the moment the window has painted: the floor of start-up. With
// --text the window also shows a line of text, so the floor includes loading
// the fonts, which any window with text pays for. With --idle (alone or with
// --text) it ends at the first moment after that paint when the event loop
// has nothing to do.
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <QStandardPaths>

namespace {

class Client : public QWidget {
 public:
  Client(bool text, bool idle) : text_(text), idle_(idle) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QWidget::paintEvent(event);
    if (text_) QPainter(this).drawText(10, 20, QStringLiteral("Dynoforge"));
    if (!idle_) _exit(0);
    if (!painted_) {
      connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, [] { _exit(0); });
    }
    painted_ = true;
  }

 private:
  bool text_;
  bool idle_;
  bool painted_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  QStandardPaths::setTestModeEnabled(true);
  bool text = false;
  bool idle = false;
  for (int i = 1; i < argc; ++i) {
    text |= QByteArray(argv[i]) == "--text";
    idle |= QByteArray(argv[i]) == "--idle";
  }
  QApplication app(argc, argv);
  QMainWindow window;
  window.setCentralWidget(new Client(text, idle));
  const QSize screen = QGuiApplication::primaryScreen()->size();
  window.move(40, 30);
  window.resize(screen.width() - 80, screen.height() - 60);
  window.show();
  return QApplication::exec();
}
