// The window paints a repaint region piece by piece (or clipped to its
// pieces): every pixel of the region as a full paint sets it, none beside.
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <gtest/gtest.h>

#include "core/editing/EditorState.h"
#include "gui/chart/ChartPainter.h"
#include "support/FakeHost.h"
#include "support/SampleCurves.h"

namespace dyno {
namespace {

TEST(PaintRegion, EveryPieceIsPaintedAsAFullPaintPaintsItAndNothingElse) {
  const QSize size(1024, 768);
  test::FakeHost host;
  EditorState st(host, size.width(), size.height());
  test::FillSampleEngineCurve(st.Doc, 300, 12475.0);
  ComputeChartLayout(st.View, st.Chart, st.Doc, st.Session.Dyno, size.width(), size.height());
  // With the window's background the view covers every pixel: the window
  // fills nothing itself.
  const ChartPaintRequest request{QRect(QPoint(), size), false, size, Qt::black, Qt::white, QColor(96, 96, 96)};
  const auto paint = [&](const QRegion& region) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    PaintEditorRegion(painter, st, region, request);
    painter.end();
    return image;
  };
  const QImage full = paint(QRegion(0, 0, size.width(), size.height()));
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) ASSERT_NE(full.pixel(x, y), QColor(Qt::magenta).rgb()) << x << "," << y;
  }
  // A drag's strip through chart and table with a cell beside it (bands
  // joined again), and scattered pieces (clipped).
  QRegion scattered;
  for (int i = 0; i < 6; ++i) scattered += QRect(40 + 150 * i, 30 + 110 * i, 70, 50);
  for (const QRegion& region : {QRegion(300, 0, 90, 768) + QRegion(100, 400, 80, 18), scattered}) {
    const QImage part = paint(region);
    int wrong = 0;
    for (int y = 0; y < size.height(); ++y) {
      for (int x = 0; x < size.width(); ++x) {
        const QRgb expected = region.contains(QPoint(x, y)) ? full.pixel(x, y) : QColor(Qt::magenta).rgb();
        wrong += part.pixel(x, y) != expected;
      }
    }
    EXPECT_EQ(wrong, 0) << region.rectCount() << " pieces";
  }
}

}  // namespace
}  // namespace dyno
