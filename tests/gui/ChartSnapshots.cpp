// Renders the editor view into PNG files for a person to look at, and times
// the paint of a 500-row engine curve at 1920 x 1080.
//
//   chart_snapshots [output folder]

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/editing/EditorState.h"
#include "gui/chart/ChartPainter.h"
#include "support/FakeHost.h"
#include "support/SampleCurves.h"

namespace {

using dyno::EditorState;

QImage Render(EditorState& st, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(96, 96, 96));  // the window's background
  dyno::ResizeView(st.View, width, height);
  QPainter painter(&image);
  const QPalette palette = QGuiApplication::palette();
  dyno::PaintEditorView(painter, st,
                        {QRect(0, 0, width, height), false, QSize(width, height), palette.color(QPalette::Text),
                         palette.color(QPalette::Base), false});
  return image;
}

bool Save(const QImage& image, const QDir& dir, const char* name) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  const bool ok = image.save(path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
  dyno::test::FakeHost host;
  bool ok = true;

  {
    // The start-up view: 41 rows, nothing selected.
    auto st = std::make_unique<EditorState>(host, 1024, 768);
    dyno::test::FillSampleEngineCurve(st->Doc);
    ok &= Save(Render(*st, 1024, 768), dir, "engine.png");

    // A picked torque point with its value shown, and a hover tip.
    st->Ui.ValueShown = true;
    st->Ui.TorqueSelected = true;
    st->Ui.SelectedIndex = 27;
    st->Ui.TorquePicked = true;
    st->Ui.UpRaised = false;
    Render(*st, 1024, 768);  // lay out first to find the point
    st->Ui.SelectedPixel = {st->Chart.PointX[27], st->Chart.TorqueY[27]};
    st->Ui.TipVisible = true;
    st->Ui.TipText = "398.5";
    const dyno::Point p{st->Chart.PointX[31], st->Chart.PowerY[31]};
    st->Ui.TipRect = {p.x - 20, p.y - 25, p.x + 20, p.y - 11};
    ok &= Save(Render(*st, 1024, 768), dir, "engine-selected.png");
  }
  {
    // Three slip curves, the second one current, a cell of Data 2 selected.
    auto st = std::make_unique<EditorState>(host, 1024, 768);
    dyno::test::UseTireView(st->Doc, 3);
    st->Doc.CurrentSlipCurve = 1;
    st->Ui.CurveSelected[1] = true;
    st->Ui.SelectedIndex = 4;
    st->Ui.ValueShown = true;
    ok &= Save(Render(*st, 1024, 768), dir, "tire.png");
  }
  {
    // 500 rows at full HD: the paint must stay well within a 60 Hz frame.
    auto st = std::make_unique<EditorState>(host, 1920, 1080);
    dyno::test::FillSampleEngineCurve(st->Doc, 500, 9980.0);
    QImage image(1920, 1080, QImage::Format_RGB32);
    dyno::ResizeView(st->View, 1920, 1080);
    std::vector<double> ms;
    for (int run = 0; run < 60; ++run) {
      QPainter painter(&image);
      QElapsedTimer timer;
      timer.start();
      dyno::PaintEditorView(painter, *st,
                            {image.rect(), true, image.size(), Qt::black, Qt::white, false});
      ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("paint of 500 rows at 1920 x 1080: median %.2f ms, fastest %.2f ms, slowest %.2f ms\n",
                ms[ms.size() / 2], ms.front(), ms.back());
    ok &= Save(image, dir, "engine-500.png");
  }
  return ok ? 0 : 1;
}
