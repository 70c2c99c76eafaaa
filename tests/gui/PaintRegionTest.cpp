// The window paints a repaint region piece by piece (or clipped to its
// pieces): every pixel of the region as a full paint sets it, none beside.
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <gtest/gtest.h>

#include "core/chart/ChartGeometry.h"
#include "core/editing/EditorState.h"
#include "core/editing/Mouse.h"
#include "core/editing/ValueBox.h"
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
  const ChartPaintRequest request{QRect(QPoint(), size), false, size, Qt::black, Qt::white, false};
  QImage full(size, QImage::Format_RGB32);
  full.fill(Qt::magenta);
  {
    QPainter painter(&full);
    PaintEditorRegion(painter, st, QRegion(full.rect()), request);
  }
  // A drag's strip through chart and table with a cell beside it (bands
  // joined again), and scattered pieces (clipped).
  QRegion scattered;
  for (int i = 0; i < 6; ++i) scattered += QRect(40 + 150 * i, 30 + 110 * i, 70, 50);
  for (const QRegion& region : {QRegion(300, 0, 90, 768) + QRegion(100, 400, 80, 18), scattered}) {
    QImage part(size, QImage::Format_RGB32);
    part.fill(Qt::magenta);
    {
      QPainter painter(&part);
      PaintEditorRegion(painter, st, region, request);
    }
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


// One move of a drag asks to repaint every pixel it changes, and not much
// more: the chart from the point before to the point after it.
TEST(PaintRegion, ADragMoveRepaintsWhatItChangesAndLittleElse) {
  struct Case {
    const char* name;
    int rows;  // 0: a tire view of 4 x 261 samples
    bool compression;
  };
  for (const Case& c : {Case{"many torque points", 300, false}, Case{"few points, wide pieces", 6, false},
                        Case{"compression", 120, true}, Case{"slip curve", 0, false}}) {
    SCOPED_TRACE(c.name);
    const QSize size(1024, 768);
    test::FakeHost host;
    EditorState st(host, size.width(), size.height());
    host.valueBoxChanged = [&st] { ValueEditNotify(st, ValueEditCode::TextChanged); };
    if (c.rows == 0) {
      test::UseTireView(st.Doc, 4);
      for (SlipCurve& curve : st.Doc.SlipCurves) curve.SampleCount = 261;
      st.Doc.RowCount = 261;
    } else {
      test::FillSampleEngineCurve(st.Doc, c.rows, 12475.0);
    }
    const ChartPaintRequest request{QRect(QPoint(), size), false, size, Qt::black, Qt::white, false};
    const auto paint = [&] {
      QImage image(size, QImage::Format_RGB32);
      image.fill(Qt::magenta);
      QPainter painter(&image);
      PaintEditorRegion(painter, st, QRegion(image.rect()), request);
      return image;
    };
    paint();  // lays the chart out

    const int index = c.rows == 0 ? 130 : c.rows / 2;
    const ChartLayout& ch = st.Chart;
    const auto& ys = c.rows == 0 ? ch.SlipY : c.compression ? ch.CompressionY : ch.TorqueY;
    const Point point{ch.PointX[index], ys[index]};
    EvLButtonDown(st, point);
    ASSERT_TRUE(st.Ui.Dragging);
    const QImage before = paint();
    const double axisMin = ch.AxisMin;
    const double axisMax = ch.AxisMax;
    host.invalidations.clear();
    EvMouseMove(st, Point{point.x, point.y + 9});
    const QImage after = paint();
    ASSERT_EQ(ch.AxisMin, axisMin);  // a new axis repaints the whole chart
    ASSERT_EQ(ch.AxisMax, axisMax);

    QRegion asked;
    for (const auto& invalidation : host.invalidations) {
      const Rect& r = invalidation.area;
      asked += QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    }
    int changed = 0;
    int stale = 0;
    int chartLeft = size.width();
    int chartRight = -1;
    for (int y = 0; y < size.height(); ++y) {
      for (int x = 0; x < size.width(); ++x) {
        if (before.pixel(x, y) == after.pixel(x, y)) continue;
        ++changed;
        stale += !asked.contains(QPoint(x, y));
        if (x >= TableWidth) chartLeft = std::min(chartLeft, x), chartRight = std::max(chartRight, x);
      }
    }
    EXPECT_GT(changed, 0);
    EXPECT_EQ(stale, 0);
    // In the chart, a few pixels beyond the pieces that changed at most.
    const QRegion chartAsked = asked & QRect(TableWidth, 0, size.width(), size.height());
    EXPECT_GE(chartAsked.boundingRect().left(), chartLeft - 8);
    EXPECT_LE(chartAsked.boundingRect().right(), chartRight + 8);
  }
}

}  // namespace
}  // namespace dyno
