#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <initializer_list>
#include <vector>

#include "core/chart/Pixels.h"

class QPainter;

namespace dyno {

// A font as the view's layout measures it: face Arial, the height of the
// character cell and the average character width in pixels, and a weight.
// Liberation Sans (metric-compatible with Arial) stands in where Arial is
// missing. Keeps the advances of the characters it has measured, so aligned
// text is measured without laying it out.
class ChartFont {
 public:
  ChartFont(int cellHeight, int averageWidth, int weight);

  const QFont& Font() const { return font_; }
  // Pixels from the top of the character cell to the baseline.
  int Ascent() const { return ascent_; }
  int CellHeight() const { return cellHeight_; }
  // Advance of a Latin-1 character.
  qreal Advance(unsigned char c) const;
  // The glyphs of text laid out as QPainter::drawText lays it out, with the
  // baseline at y = 0; kept, since the view draws the same texts again and
  // again.
  const QList<QGlyphRun>& Glyphs(const QString& text) const;
  // The em size in pixels and the horizontal stretch (percent) that give the
  // cell height and the average width asked for.
  static int EmPixels(int cellHeight);
  static int StretchPercent(int cellHeight, int averageWidth, int weight);

 private:
  QFont font_;
  QFontMetricsF metrics_;
  int ascent_ = 0;
  int cellHeight_ = 0;
  mutable std::array<qreal, 256> advance_;
  mutable QHash<QString, QList<QGlyphRun>> glyphs_;
};

enum class TextAlign { Left, Center, Right };

// A QPainter with the drawing rules the chart is laid out for, in client
// pixels: one-pixel lines whose end point is not drawn, rectangles and fills
// that leave out their right and bottom edge, text hanging from its y and
// aligned on its x, never a text background. Lines and fills are drawn as
// whole pixels, so a printer transform scales them like everything else.
// Coordinates far outside the client area are drawn only as far as they
// reach into it, so a wild value costs nothing.
class ChartCanvas {
 public:
  // bounds: the part of the client area to draw into.
  ChartCanvas(QPainter& painter, const QRect& bounds);

  // The one-pixel pen of MoveTo, LineTo and Outline.
  void SetPen(const QColor& color) { pen_ = color; }
  void MoveTo(int x, int y);
  // A line from the current position to (x, y), without (x, y) itself.
  void LineTo(int x, int y);
  // Lines in the given colour through the points, as MoveTo to the first and
  // LineTo to each further one; the pen keeps the colour.
  void Path(const QColor& color, std::initializer_list<QPoint> points);
  // The closed path (l, t), (r, t), (r, b), (l, b), (l, t): all four edges.
  void Outline(int l, int t, int r, int b);
  // Pixels l to r - 1 by t to b - 1.
  void FillRect(int l, int t, int r, int b, const QColor& color);
  // The same, but for the pixels of hole (l to r - 1 by t to b - 1): a face
  // that a later fill covers anyway is not filled twice.
  void FillRectAround(int l, int t, int r, int b, const Rect& hole, const QColor& color);
  // Fill with the brush colour, outline of the same pixels with the pen colour.
  void Rectangle(int l, int t, int r, int b, const QColor& pen, const QColor& brush);

  // A polyline through (xs[i], ys[i]) for i from 0 to count - 1. A one-pixel
  // line leaves out its last point; a wider one has round ends and joins.
  void Polyline(const int* xs, const int* ys, int count, const QColor& color, int width);
  // The same, drawn only inside within.
  void Polyline(const int* xs, const int* ys, int count, const QColor& color, int width, const QRect& within);

  // A dashed polyline of the given width through the same points, drawn only
  // inside within. Its dashes run on from segment to segment, also where
  // many points share a pixel column: such a column is drawn as one stroke
  // from its first point through its lowest and highest to its last.
  void DashedPolyline(const int* xs, const int* ys, int count, const QColor& color, int width, const QRect& within);

  void SetFont(const ChartFont& font);
  void SetTextColor(const QColor& color) { textColor_ = color; }
  void SetTextAlign(TextAlign align) { align_ = align; }
  // Text hanging from y, placed on x by the alignment; Latin-1 characters
  // only (the view has no others).
  void TextOut(int x, int y, const char* text, int length);
  void TextOut(int x, int y, const QString& text);
  // The same, showing only what falls between x = left and x = right - 1.
  void TextOutWithin(int left, int right, int x, int y, const char* text, int length);

  // The width of text in the current font.
  qreal TextWidth(const QString& text) const;

  const QRect& Bounds() const { return bounds_; }

 private:
  void Segment(int x0, int y0, int x1, int y1);
  // Adds the spans of a two-pixel segment to wide_; false when it is too
  // long to be filled so and must be stroked.
  bool WideSegment(int x0, int y0, int x1, int y1);
  void Span(int left, int top, int width, int height);
  void DrawText(int x, int y, const QString& text, const QRect* clip = nullptr);

  QPainter& painter_;
  QRect bounds_;
  bool onePixel_;
  std::vector<QRect> wide_;
  QColor pen_{Qt::black};
  QColor textColor_{Qt::black};
  TextAlign align_ = TextAlign::Left;
  const ChartFont* font_ = nullptr;
  // The colour of the painter's pen while it is a plain text pen; setting a
  // pen costs an allocation, so text of one colour sets it once.
  QColor textPen_;
  bool textPenSet_ = false;
  int x_ = 0;
  int y_ = 0;
  QString text_;  // reused for every text of the paint
};

}  // namespace dyno
