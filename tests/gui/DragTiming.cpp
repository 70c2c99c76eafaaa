// Times one drag move of a torque point on a 500-row curve in a 1920 x 1080
// editor window: the mouse event, the core's handling and the repaint it
// asks for, as the event loop delivers them; and, for comparison, a paint of
// the whole window.
//
//   drag_timing

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "chart/ChartLayout.h"
#include "document/TDynoforgeWindow.h"
#include "support/SampleCurves.h"

namespace {

// Records the bounding rectangles of the paints the window receives.
class PaintSpy : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      if (qEnvironmentVariableIsSet("DRAG_TIMING_VERBOSE") && paints < 6) {
        const QPaintEvent* paint = static_cast<QPaintEvent*>(event);
        for (const QRect& r : paint->region()) std::printf("  paint %d: %d,%d %dx%d\n", paints, r.x(), r.y(), r.width(), r.height());
      }
      ++paints;
      area += static_cast<long long>(static_cast<QPaintEvent*>(event)->rect().width()) *
              static_cast<QPaintEvent*>(event)->rect().height();
    }
    return false;
  }
  int paints = 0;
  long long area = 0;
};

struct Stats {
  double median;
  double fastest;
  double slowest;
};

Stats Summarise(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.front(), ms.back()};
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);

  dyno::TDynoforgeWindow window;
  window.resize(1920, 1080);
  window.show();
  window.SetupWindow();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  dyno::EditorState& st = window.State();
  dyno::test::FillSampleEngineCurve(st.Doc, 500, 9980.0);
  window.repaint();

  PaintSpy spy;
  window.installEventFilter(&spy);

  std::vector<double> full;
  for (int run = 0; run < 40; ++run) {
    QElapsedTimer clock;
    clock.start();
    window.repaint();
    full.push_back(clock.nsecsElapsed() / 1e6);
  }

  const int index = 250;
  const QPoint point(st.Chart.PointX[index], st.Chart.TorqueY[index]);
  QTest::mousePress(&window, Qt::LeftButton, {}, point);
  // A tick repaints the chart once for the new curve's axis; let it pass.
  QTest::qWait(120);
  if (!st.Ui.TorquePicked) {
    std::printf("the torque point was not picked\n");
    return 1;
  }

  spy.paints = 0;
  spy.area = 0;
  std::vector<double> moves;
  for (int k = 0; k < 400; ++k) {
    const QPoint to = point - QPoint(0, 5 + k % 60);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), window.mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QElapsedTimer clock;
    clock.start();
    QApplication::sendEvent(&window, &move);
    QCoreApplication::processEvents();
    moves.push_back(clock.nsecsElapsed() / 1e6);
  }
  QTest::mouseRelease(&window, Qt::LeftButton, {}, point);

  const Stats f = Summarise(full);
  const Stats m = Summarise(moves);
  std::printf("full paint, 500 rows at 1920 x 1080: median %.2f ms, fastest %.2f ms, slowest %.2f ms\n", f.median,
              f.fastest, f.slowest);
  std::printf("one drag move with its repaint:      median %.2f ms, fastest %.2f ms, slowest %.2f ms\n", m.median,
              m.fastest, m.slowest);
  std::printf("paints during the drag: %d for %zu moves, %.0f pixels each on average (the window has %d)\n",
              spy.paints, moves.size(), spy.paints ? static_cast<double>(spy.area) / spy.paints : 0.0,
              1920 * 1080);
  return 0;
}
