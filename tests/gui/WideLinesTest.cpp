// Two-pixel curves are filled as spans on the screen; they must set exactly
// the pixels the pen with round ends sets.
#include <QImage>
#include <QPainter>
#include <QPen>

#include <gtest/gtest.h>

#include "gui/chart/ChartCanvas.h"

namespace dyno {
namespace {

TEST(WideLines, EverySegmentSetsThePixelsOfTheRoundEndedPen) {
  const QRect area(0, 0, 40, 40);
  const QPoint from(20, 20);
  QImage stroked(area.size(), QImage::Format_RGB32);
  QImage filled(area.size(), QImage::Format_RGB32);
  for (int dx = -14; dx <= 14; ++dx) {
    for (int dy = -14; dy <= 14; ++dy) {
      stroked.fill(Qt::white);
      filled.fill(Qt::white);
      {
        QPainter painter(&stroked);
        painter.setPen(QPen(Qt::red, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(from, from + QPoint(dx, dy));
      }
      {
        QPainter painter(&filled);
        ChartCanvas canvas(painter, area);
        const int xs[] = {from.x(), from.x() + dx};
        const int ys[] = {from.y(), from.y() + dy};
        canvas.Polyline(xs, ys, 2, Qt::red, 2);
      }
      ASSERT_EQ(stroked, filled) << dx << ", " << dy;
    }
  }
}

}  // namespace
}  // namespace dyno
