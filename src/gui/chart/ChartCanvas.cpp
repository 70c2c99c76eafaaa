#include "gui/chart/ChartCanvas.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPaintEngine>
#include <QPen>
#include <QPolygon>
#include <QRegion>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cmath>
#include <cstdlib>

#include "core/chart/ChartGeometry.h"

namespace dyno {

namespace {

// Arial's vertical metrics (shared by Liberation Sans) and its average
// character widths, in font units of a 2048-unit em. A font asked for by cell
// height and average width is scaled from these, as the font mapper of the
// platform the chart was designed on does.
constexpr int UnitsPerEm = 2048;
constexpr int CellUnits = 1854 + 434;  // ascent + descent
constexpr int AscentUnits = 1854;
constexpr int AverageWidthUnits = 904;
constexpr int BoldAverageWidthUnits = 983;
constexpr int BoldWeight = 600;
// The longest two-pixel segment (its length squared) filled as spans: every
// segment up to it sets the same pixels as the stroker (checked one by one),
// while the stroker's rounding decides a pixel otherwise from 146 (11 by 5).
constexpr std::int64_t MaxWideSquare = 145;


// The part of a line inside box (Liang-Barsky); false when nothing is.
bool ClipLine(QLineF& line, const QRectF& box) {
  const qreal x0 = line.x1();
  const qreal y0 = line.y1();
  const qreal dx = line.x2() - x0;
  const qreal dy = line.y2() - y0;
  qreal t0 = 0;
  qreal t1 = 1;
  const qreal p[4] = {-dx, dx, -dy, dy};
  const qreal q[4] = {x0 - box.left(), box.right() - x0, y0 - box.top(), box.bottom() - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const qreal t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  if (t0 == 0 && t1 == 1) return true;
  line = QLineF(x0 + t0 * dx, y0 + t0 * dy, x0 + t1 * dx, y0 + t1 * dy);
  return true;
}

}  // namespace

int ChartFont::EmPixels(int cellHeight) { return (cellHeight * UnitsPerEm + CellUnits / 2) / CellUnits; }

int ChartFont::StretchPercent(int cellHeight, int averageWidth, int weight) {
  const int em = EmPixels(cellHeight);
  const int averageUnits = weight >= BoldWeight ? BoldAverageWidthUnits : AverageWidthUnits;
  if (averageWidth <= 0 || em <= 0) return 100;
  // 100 * averageWidth / (averageUnits * em / UnitsPerEm), rounded.
  const std::int64_t denominator = static_cast<std::int64_t>(averageUnits) * em;
  const std::int64_t percent = (std::int64_t{100} * averageWidth * UnitsPerEm + denominator / 2) / denominator;
  return static_cast<int>(std::clamp<std::int64_t>(percent, 1, 4000));
}

ChartFont::ChartFont(int cellHeight, int averageWidth, int weight)
    : font_(QStringLiteral("Arial")), metrics_(font_), cellHeight_(cellHeight) {
  const int em = std::max(EmPixels(cellHeight), 1);
  font_.setStyleHint(QFont::SansSerif);
  font_.setPixelSize(em);
  font_.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
  font_.setStretch(StretchPercent(cellHeight, averageWidth, weight));
  // Text is measured as the sum of its advances, as it was designed.
  font_.setKerning(false);
  metrics_ = QFontMetricsF(font_);
  ascent_ = (AscentUnits * em + UnitsPerEm / 2) / UnitsPerEm;
  advance_.fill(-1);
}

qreal ChartFont::Advance(unsigned char c) const {
  if (advance_[c] < 0) advance_[c] = metrics_.horizontalAdvance(QChar(c));
  return advance_[c];
}

const QList<QGlyphRun>& ChartFont::Glyphs(const QString& text) const {
  auto found = glyphs_.find(text);
  if (found != glyphs_.end()) return *found;
  // The numbers of a table change with every edit: a bound on what is kept.
  if (glyphs_.size() >= 4096) glyphs_.clear();
  QTextLayout layout(text, font_);
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  QList<QGlyphRun> runs = layout.glyphRuns();
  for (QGlyphRun& run : runs) {
    QList<QPointF> positions = run.positions();
    for (QPointF& position : positions) position.ry() -= line.ascent();
    run.setPositions(positions);
  }
  return *glyphs_.insert(text, std::move(runs));
}

ChartCanvas::ChartCanvas(QPainter& painter, const QRect& bounds)
    : painter_(painter),
      bounds_(bounds),
      // Pixels one to one on an image or the screen: short cuts that set the
      // same pixels (kept glyphs, filled wide lines) are taken only there.
      onePixel_(painter.deviceTransform().isIdentity() && painter.paintEngine() &&
                painter.paintEngine()->type() == QPaintEngine::Raster) {
  text_.reserve(512);
}

void ChartCanvas::MoveTo(int x, int y) {
  x_ = NearPixel(x);
  y_ = NearPixel(y);
}

void ChartCanvas::LineTo(int x, int y) {
  x = NearPixel(x);
  y = NearPixel(y);
  Segment(x_, y_, x, y);
  x_ = x;
  y_ = y;
}

void ChartCanvas::Path(const QColor& color, std::initializer_list<QPoint> points) {
  pen_ = color;
  bool first = true;
  for (const QPoint& p : points) {
    if (first) {
      MoveTo(p.x(), p.y());
      first = false;
    } else {
      LineTo(p.x(), p.y());
    }
  }
}

void ChartCanvas::Outline(int l, int t, int r, int b) {
  MoveTo(l, t);
  LineTo(r, t);
  LineTo(r, b);
  LineTo(l, b);
  LineTo(l, t);
}

void ChartCanvas::FillRect(int l, int t, int r, int b, const QColor& color) { FillRectAround(l, t, r, b, Rect{}, color); }

void ChartCanvas::FillRectAround(int l, int t, int r, int b, const Rect& hole, const QColor& color) {
  l = NearPixel(l);
  t = NearPixel(t);
  r = NearPixel(r);
  b = NearPixel(b);
  if (r <= l || b <= t) return;
  const QRect area = QRect(l, t, r - l, b - t) & bounds_;
  if (area.isEmpty()) return;
  const QRect gap(QPoint(NearPixel(hole.left), NearPixel(hole.top)),
                  QPoint(NearPixel(hole.right) - 1, NearPixel(hole.bottom) - 1));
  if (!gap.isValid() || !gap.intersects(area)) {
    painter_.fillRect(area, color);
    return;
  }
  for (const QRect& piece : QRegion(area).subtracted(gap)) painter_.fillRect(piece, color);
}

void ChartCanvas::Rectangle(int l, int t, int r, int b, const QColor& pen, const QColor& brush) {
  l = NearPixel(l);
  t = NearPixel(t);
  r = NearPixel(r);
  b = NearPixel(b);
  if (r <= l || b <= t) return;
  FillRect(l, t, r, b, brush);
  const QColor saved = pen_;
  pen_ = pen;
  Span(l, t, r - l, 1);
  Span(l, b - 1, r - l, 1);
  Span(l, t, 1, b - t);
  Span(r - 1, t, 1, b - t);
  pen_ = saved;
}

void ChartCanvas::Span(int left, int top, int width, int height) {
  const QRect area = QRect(left, top, width, height) & bounds_;
  if (!area.isEmpty()) painter_.fillRect(area, pen_);
}

void ChartCanvas::Segment(int x0, int y0, int x1, int y1) {
  if (y0 == y1) {
    if (x1 > x0) Span(x0, y0, x1 - x0, 1);
    if (x1 < x0) Span(x1 + 1, y0, x0 - x1, 1);
    return;
  }
  if (x0 == x1) {
    if (y1 > y0) Span(x0, y0, 1, y1 - y0);
    if (y1 < y0) Span(x0, y1 + 1, 1, y0 - y1);
    return;
  }
  // Pixel k along the longer axis (k = 0 at the start, the end point left
  // out) sits at the nearest whole position on the shorter axis, halves
  // rounding towards the end. Consecutive pixels in one row or column are
  // filled as one span, and only the pixels whose longer-axis coordinate lies
  // within the bounds are visited.
  const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
  const int major0 = xMajor ? x0 : y0;
  const int minor0 = xMajor ? y0 : x0;
  const std::int64_t majorDelta = xMajor ? x1 - x0 : y1 - y0;
  const std::int64_t minorDelta = xMajor ? y1 - y0 : x1 - x0;
  const std::int64_t length = std::abs(majorDelta);
  const std::int64_t rise = std::abs(minorDelta);
  const int majorStep = majorDelta > 0 ? 1 : -1;
  const int minorStep = minorDelta > 0 ? 1 : -1;
  const int low = xMajor ? bounds_.left() : bounds_.top();
  const int high = xMajor ? bounds_.right() : bounds_.bottom();

  std::int64_t first = 0;
  std::int64_t last = length - 1;
  if (majorStep > 0) {
    first = std::max<std::int64_t>(first, std::int64_t{low} - major0);
    last = std::min<std::int64_t>(last, std::int64_t{high} - major0);
  } else {
    first = std::max<std::int64_t>(first, std::int64_t{major0} - high);
    last = std::min<std::int64_t>(last, std::int64_t{major0} - low);
  }
  if (first > last) return;

  auto offset = [&](std::int64_t k) { return (2 * k * rise + length) / (2 * length); };
  std::int64_t runStart = first;
  std::int64_t runOffset = offset(first);
  for (std::int64_t k = first + 1; k <= last + 1; ++k) {
    const std::int64_t off = k <= last ? offset(k) : -1;
    if (off == runOffset) continue;
    const int a = static_cast<int>(major0 + majorStep * runStart);
    const int b = static_cast<int>(major0 + majorStep * (k - 1));
    const int minor = static_cast<int>(minor0 + minorStep * runOffset);
    const int from = std::min(a, b);
    const int count = std::abs(b - a) + 1;
    if (xMajor) {
      Span(from, minor, count, 1);
    } else {
      Span(minor, from, 1, count);
    }
    runStart = k;
    runOffset = off;
  }
}

void ChartCanvas::Polyline(const int* xs, const int* ys, int count, const QColor& color, int width,
                           const QRect& within) {
  const QRect saved = bounds_;
  bounds_ &= within;
  if (!bounds_.isEmpty()) {
    painter_.save();
    painter_.setClipRect(bounds_, Qt::IntersectClip);
    Polyline(xs, ys, count, color, width);
    painter_.restore();
    textPenSet_ = false;
  }
  bounds_ = saved;
}

void ChartCanvas::Polyline(const int* xs, const int* ys, int count, const QColor& color, int width) {
  if (count < 2) return;
  if (width <= 1) {
    const QColor saved = pen_;
    pen_ = color;
    for (int i = 0; i + 1 < count; ++i) Segment(NearPixel(xs[i]), NearPixel(ys[i]), NearPixel(xs[i + 1]), NearPixel(ys[i + 1]));
    pen_ = saved;
    return;
  }
  // A short two-pixel segment is filled as the rows of pixels the pen would
  // set, which costs a fraction of stroking its round ends; a printer's
  // scale, or a longer segment, is stroked.
  const bool spans = width == 2 && onePixel_;
  if (spans) wide_.clear();
  painter_.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  textPenSet_ = false;
  painter_.setBrush(Qt::NoBrush);
  const QRectF box = QRectF(bounds_).adjusted(-width, -width, width, width);
  // Segment by segment: a ragged curve stroked as one path costs far more.
  const QRect near = bounds_.adjusted(-width, -width, width, width);
  for (int i = 0; i + 1 < count; ++i) {
    // Most segments of a repaint's strip lie beside it.
    if ((xs[i] < near.left() && xs[i + 1] < near.left()) || (xs[i] > near.right() && xs[i + 1] > near.right()) ||
        (ys[i] < near.top() && ys[i + 1] < near.top()) || (ys[i] > near.bottom() && ys[i + 1] > near.bottom())) {
      continue;
    }
    QLineF line(xs[i], ys[i], xs[i + 1], ys[i + 1]);
    if (!ClipLine(line, box)) continue;
    if (spans && line == QLineF(xs[i], ys[i], xs[i + 1], ys[i + 1]) &&
        WideSegment(xs[i], ys[i], xs[i + 1], ys[i + 1])) {
      continue;
    }
    painter_.drawLine(line);
  }
  if (spans && !wide_.empty()) {
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(color);
    painter_.drawRects(wide_.data(), static_cast<int>(wide_.size()));
    painter_.setBrush(Qt::NoBrush);
  }
}

bool ChartCanvas::WideSegment(int x0, int y0, int x1, int y1) {
  // The pixels a two-pixel pen with round ends sets without antialiasing are
  // those whose centre lies less than one pixel from the segment: the 2 x 2
  // block around each end and the band along it. No centre lies at exactly
  // one pixel, but a longer segment brings some within the stroker's
  // rounding, and a point is left to the stroker too.
  const std::int64_t dx = x1 - x0;
  const std::int64_t dy = y1 - y0;
  const std::int64_t n = dx * dx + dy * dy;
  if (n == 0 || n > MaxWideSquare) return false;
  // Centre of pixel (px, py) relative to (x0, y0), doubled to stay whole.
  const auto inside = [&](std::int64_t px, std::int64_t py) {
    const std::int64_t ex = 2 * (px - x0) + 1;
    const std::int64_t ey = 2 * (py - y0) + 1;
    if ((ex == 1 || ex == -1) && (ey == 1 || ey == -1)) return true;
    const std::int64_t fx = ex - 2 * dx;
    const std::int64_t fy = ey - 2 * dy;
    if ((fx == 1 || fx == -1) && (fy == 1 || fy == -1)) return true;
    const std::int64_t along = dx * ex + dy * ey;
    const std::int64_t across = dx * ey - dy * ex;
    return along >= 0 && along <= 2 * n && across * across < 4 * n;
  };
  const int top = std::max(std::min(y0, y1) - 1, bounds_.top());
  const int bottom = std::min(std::max(y0, y1), bounds_.bottom());
  const double length = std::sqrt(static_cast<double>(n));
  for (int py = top; py <= bottom; ++py) {
    // The row's centres between the band's edges, widened by a pixel for
    // the ends, then trimmed exactly.
    const double yc = py + 0.5 - y0;
    double lo = std::min(x0, x1) - 1;
    double hi = std::max(x0, x1);
    if (dy != 0) {
      const double mid = x0 + (dx * yc) / dy;
      const double half = length / std::abs(static_cast<double>(dy));
      lo = std::max(lo, std::floor(mid - half) - 1);
      hi = std::min(hi, std::ceil(mid + half));
    }
    int first = static_cast<int>(lo);
    int last = static_cast<int>(hi);
    while (first <= last && !inside(first, py)) ++first;
    while (last >= first && !inside(last, py)) --last;
    first = std::max(first, bounds_.left());
    last = std::min(last, bounds_.right());
    if (first <= last) wide_.emplace_back(first, py, last - first + 1, 1);
  }
  return true;
}

void ChartCanvas::DashedPolyline(const int* xs, const int* ys, int count, const QColor& color, int width,
                                 const QRect& within) {
  if (count < 2) return;
  QPolygon points;
  points.reserve(std::min(count, 4 * std::max(bounds_.width(), 1)));
  for (int first = 0; first < count;) {
    const int x = NearPixel(xs[first]);
    int last = first;
    int low = first;
    int high = first;
    while (last + 1 < count && NearPixel(xs[last + 1]) == x) {
      ++last;
      if (ys[last] < ys[low]) low = last;
      if (ys[last] > ys[high]) high = last;
    }
    // The column's points in their own order, each once.
    std::array<int, 4> keep{first, low, high, last};
    std::sort(keep.begin(), keep.end());
    for (std::size_t k = 0; k < keep.size(); ++k) {
      if (k == 0 || keep[k] != keep[k - 1]) points.append(QPoint(x, NearPixel(ys[keep[k]])));
    }
    first = last + 1;
  }
  painter_.save();
  painter_.setClipRect(within & bounds_, Qt::IntersectClip);
  painter_.setPen(QPen(color, width, Qt::DashLine, Qt::FlatCap, Qt::RoundJoin));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPolyline(points);
  painter_.restore();
  textPenSet_ = false;
}

void ChartCanvas::SetFont(const ChartFont& font) {
  font_ = &font;
  painter_.setFont(font.Font());
}

void ChartCanvas::TextOut(int x, int y, const char* text, int length) {
  text_.resize(std::max(length, 0));
  QChar* out = text_.data();
  for (int i = 0; i < length; ++i) out[i] = QChar(static_cast<unsigned char>(text[i]));
  DrawText(x, y, text_);
}

void ChartCanvas::TextOutWithin(int left, int right, int x, int y, const char* text, int length) {
  text_.resize(std::max(length, 0));
  QChar* out = text_.data();
  for (int i = 0; i < length; ++i) out[i] = QChar(static_cast<unsigned char>(text[i]));
  const QRect clip(NearPixel(left), bounds_.top(), std::max(NearPixel(right) - NearPixel(left), 0), bounds_.height());
  DrawText(x, y, text_, &clip);
}

void ChartCanvas::TextOut(int x, int y, const QString& text) { DrawText(x, y, text); }

qreal ChartCanvas::TextWidth(const QString& text) const {
  qreal width = 0;
  if (font_ == nullptr) return width;
  for (QChar c : text) width += font_->Advance(static_cast<unsigned char>(c.unicode() < 256 ? c.unicode() : '?'));
  return width;
}

void ChartCanvas::DrawText(int x, int y, const QString& text, const QRect* clip) {
  if (font_ == nullptr || text.isEmpty()) return;
  x = NearPixel(x);
  y = NearPixel(y);
  if (y > bounds_.bottom() || y + font_->CellHeight() < bounds_.top()) return;
  const qreal width = TextWidth(text);
  qreal left = x;
  if (align_ == TextAlign::Right) left = x - width;
  if (align_ == TextAlign::Center) left = x - width / 2;
  if (left > bounds_.right() + 1 || left + width < bounds_.left()) return;
  if (!textPenSet_ || textPen_ != textColor_) {
    painter_.setPen(textColor_);
    textPen_ = textColor_;
    textPenSet_ = true;
  }
  // Laying text out costs more than drawing it: its glyphs are kept.
  const QPointF baseline(left, y + font_->Ascent());
  const auto draw = [&] {
    if (!onePixel_) {
      painter_.drawText(baseline, text);
      return;
    }
    for (const QGlyphRun& run : font_->Glyphs(text)) painter_.drawGlyphRun(baseline, run);
  };
  // Unclipped when it fits.
  if (clip == nullptr || (left >= clip->left() && left + width <= clip->right() + 1)) {
    draw();
    return;
  }
  painter_.save();
  painter_.setClipRect(*clip, Qt::IntersectClip);
  draw();
  painter_.restore();
  textPenSet_ = false;  // restore() took the pen back
}

}  // namespace dyno
