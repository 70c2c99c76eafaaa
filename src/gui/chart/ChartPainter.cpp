#include "gui/chart/ChartPainter.h"

#include <QPainter>
#include <QPolygon>
#include <QPalette>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/chart/ChartGeometry.h"
#include "core/chart/Peaks.h"
#include "core/editing/DynoView.h"
#include "core/editing/EditorState.h"
#include "core/editing/Mouse.h"
#include "core/editing/Selection.h"
#include "core/files/NumberFormat.h"
#include "gui/chart/ChartCanvas.h"

namespace dyno {

namespace {

const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);
const QColor Gray(128, 128, 128);
const QColor LightGray(192, 192, 192);
const QColor Navy(0, 0, 128);
const QColor Red(255, 0, 0);
const QColor Yellow(255, 255, 0);
const QColor Green(0, 128, 0);
const QColor PlotFace(96, 160, 192);

// Each slip curve slot's colour: its column header, its title, its curve.
const QColor& SlotColor(int slot) {
  static const QColor* const colors[SlipCurveSlots] = {&Green, &Yellow, &Red, &Navy};
  return *colors[std::clamp(slot, 0, SlipCurveSlots - 1)];
}

// A lighter tone of a slot's colour, two thirds of the way to white: the
// curves behind the charted one and the compared ones.
QColor LightSlotColor(int slot) {
  const QColor& c = SlotColor(slot);
  const auto light = [](int v) { return v + (255 - v) * 2 / 3; };
  return {light(c.red()), light(c.green()), light(c.blue())};
}

// The fonts of the view: cell height, average width, weight. Made at the
// first paint and kept, with the character widths they have measured, for
// every later one; never destroyed, as fonts must not outlive the
// application object.
struct PaintFonts {
  ChartFont header{16, 6, 700};
  ChartFont engineRow{12, 7, 400};
  ChartFont tireRow{12, 6, 400};
  ChartFont tooltip{12, 6, 400};
};

// Room for any number printed with the view's formats, up to the widest
// double in "%.6f".
constexpr int TextRoom = 400;


struct PaintContext {
  ChartCanvas& canvas;
  const EditorState& st;
  const ViewState& view;
  const ChartLayout& chart;
  const PaintFonts& fonts;
  const ChartPaintRequest& request;
  int right;
  int bottom;
};

int CentreOf(int left, int right) { return left + (right - left) / 2; }

// The Up and Down buttons beside the value box, with their arrows.
void DrawButtons(const PaintContext& pc, bool active) {
  ChartCanvas& c = pc.canvas;
  const InteractionState& ui = pc.st.Ui;
  if (!ui.UpRaised && active) {
    DrawPressedPanel(c, UpButtonDrawnRect, pc.request.windowText);
  } else {
    DrawRaisedPanel(c, UpButtonDrawnRect);
  }
  if (!ui.DownRaised && active) {
    DrawPressedPanel(c, DownButtonDrawnRect, pc.request.windowText);
  } else {
    DrawRaisedPanel(c, DownButtonDrawnRect);
  }

  const int L = ButtonLeft;
  const int q = HeaderHeight / 4;
  const int u = 1 + q;
  const int d = ButtonSplitY + q;
  if (!active) {
    // A white emboss under the gray arrows of unavailable buttons.
    c.Path(White, {{L + 6, u + 3}, {L + 17, u + 3}});
    c.Path(White, {{L + 13, d + 2}, {L + 17, d - 2}});
    c.SetPen(Gray);
  } else {
    c.SetPen(Black);
  }
  for (int k = 0; k < 5; ++k) {
    // Up arrow, widest row at the bottom; down arrow, widest row at the top.
    c.MoveTo(L + 6 + k, u + 2 - k);
    c.LineTo(L + 16 - k, u + 2 - k);
  }
  for (int k = 0; k < 5; ++k) {
    c.MoveTo(L + 6 + k, d - 2 + k);
    c.LineTo(L + 16 - k, d - 2 + k);
  }
}

// The band of table lines a cell highlight may cover.
QRect TableLinesBand(const ViewState& view) {
  return QRect(0, TableLineTop(0), TableWidth, RowHeight * std::clamp(view.VisibleRows, 0, MaxVisibleRows));
}

// A yellow cell of the selected row, outlined in black on all four edges.
void DrawCellHighlight(const PaintContext& pc, const ColumnSpan& span) {
  const ViewState& view = pc.view;
  const std::int64_t top64 =
      (static_cast<std::int64_t>(pc.st.Ui.SelectedIndex) - view.FirstVisibleRow) * RowHeight + TableLineTop(0);
  // A row scrolled out of the table is not drawn over the header or below
  // the table lines.
  const QRect band = TableLinesBand(view);
  if (top64 > band.bottom() || top64 + RowHeight - 1 < band.top()) return;
  const int top = static_cast<int>(top64);
  const int bottom = top + 13;
  ChartCanvas& c = pc.canvas;
  c.Rectangle(span.left, top, span.right, bottom, Black, Yellow);
  c.SetPen(Black);
  c.Outline(span.left, top, span.right, bottom);
}

// The rows of a selected range in the picked column, yellow as the picked
// cell, which keeps its outline over them.
void DrawRangeHighlight(const PaintContext& pc, const ColumnSpan& span) {
  const std::optional<RowRange> range = SelectedRange(pc.st);
  if (!range) return;
  const ViewState& view = pc.view;
  const int first = std::max(range->First, view.FirstVisibleRow);
  const int last = std::min(range->Last, view.FirstVisibleRow + std::clamp(view.VisibleRows, 0, MaxVisibleRows) - 1);
  for (int row = first; row <= last; ++row) {
    const int top = TableLineTop(row - view.FirstVisibleRow);
    pc.canvas.FillRect(span.left, top, span.right, top + 13, Yellow);
  }
}

// The points of a selected range on the chart: a small square on each.
void DrawRangePoints(const PaintContext& pc) {
  const std::optional<RowRange> range = SelectedRange(pc.st);
  if (!range) return;
  const InteractionState& ui = pc.st.Ui;
  const ChartLayout& ch = pc.chart;
  const auto& ys = pc.st.Doc.Mode == FileMode::Tire ? ch.SlipY : ui.TorqueSelected ? ch.TorqueY : ch.CompressionY;
  ChartCanvas& c = pc.canvas;
  c.SetPen(Yellow);
  for (int row = range->First; row <= std::min(range->Last, ch.PointCount - 1); ++row) {
    const int x = NearPixel(ch.PointX[row]);
    const int y = NearPixel(ys[row]);
    c.Outline(x - 2, y - 2, x + 2, y + 2);
  }
}

// The chart title, centred over the chart. A window too narrow for it shows
// what fits inside the title panel rather than writing over the buttons.
void DrawTitle(const PaintContext& pc, const char* text, int length) {
  const Rect panel = TitlePanelRect(pc.right);
  pc.canvas.TextOutWithin(panel.left + 1, panel.right - 1, CentreOf(TableWidth, pc.right - 2), 5, text, length);
}

// The chart title, and after it the name of the compared file, if any.
void DrawComparedTitle(const PaintContext& pc, std::string title, const std::string* compared) {
  ChartCanvas& c = pc.canvas;
  if (compared) title += "   compared with " + *compared;
  const int length = static_cast<int>(std::min<std::size_t>(title.size(), TextRoom));
  const Rect panel = TitlePanelRect(pc.right);
  if (compared && c.TextWidth(QString::fromLatin1(title.data(), length)) > panel.right - panel.left - 4) {
    // Too long for the panel: the compared file's name at its end stays in sight.
    c.SetTextAlign(TextAlign::Right);
    c.TextOutWithin(panel.left + 1, panel.right - 1, panel.right - 3, 5, title.data(), length);
    return;
  }
  DrawTitle(pc, title.data(), length);
}

void DrawEngineHeader(const PaintContext& pc) {
  ChartCanvas& c = pc.canvas;
  const auto& e = EngineColumnEdges;
  c.SetFont(pc.fonts.header);
  c.SetTextAlign(TextAlign::Center);
  static const QString names[4] = {QStringLiteral("RPM"), QStringLiteral("Compression"), QStringLiteral("Torque"),
                                   QStringLiteral("Power")};
  const QColor* colors[4] = {&pc.request.windowText, &Navy, &Yellow, &Red};
  for (int k = 0; k < 4; ++k) {
    c.SetTextColor(*colors[k]);
    c.TextOut(CentreOf(e[k], e[k + 1]), 5, names[k]);
  }
  c.SetTextColor(pc.request.windowText);
  const DynoView& dyno = pc.st.Session.Dyno;
  DrawComparedTitle(pc, EngineTitle(dyno.Units), dyno.Comparison ? &dyno.Comparison->Title : nullptr);
}

void DrawTireHeader(const PaintContext& pc) {
  ChartCanvas& c = pc.canvas;
  const EditorDocument& doc = pc.st.Doc;
  const auto& e = TireColumnEdges;
  c.SetFont(pc.fonts.header);
  c.SetTextAlign(TextAlign::Center);
  static const QString names[5] = {QStringLiteral("#"), QStringLiteral("Data 1"), QStringLiteral("Data 2"),
                                   QStringLiteral("Data 3"), QStringLiteral("Data 4")};
  for (int k = 0; k < 5; ++k) {
    if (k == 0) {
      c.SetTextColor(pc.request.windowText);
    } else {
      // Slot k - 1; the first is always shown as present.
      const bool present = k == 1 || doc.SlipCurveCount >= k;
      c.SetTextColor(present ? SlotColor(k - 1) : Gray);
    }
    c.TextOut(CentreOf(e[k], e[k + 1]), 5, names[k]);
  }
  const int slot = std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1);
  const SlipCurve& curve = doc.SlipCurves[slot];
  // "Steps (%.5f) vs Tire Slip Data %d: %s"
  std::string title = "Steps (";
  AppendFixed(title, curve.Step, 5);
  title += ") vs Tire Slip Data ";
  title += std::to_string(slot + 1);
  title += ": ";
  title += curve.Name;
  c.SetTextColor(SlotColor(slot));
  const ComparedSlipCurves* compared = ComparedSlipCurve(doc, pc.st.Session.Dyno) ? pc.st.Session.Dyno.TireComparison.get() : nullptr;
  DrawComparedTitle(pc, std::move(title), compared ? &compared->Title : nullptr);
}

// Calls draw(line, row) for every table line that shows a row, in the
// window text colour, right-aligned, in the given font. A line's texts end
// at lastTextX at most and start on its top or one pixel below: a line the
// paint cannot show is not drawn, so that a drag's strip through the chart
// formats no numbers.
template <typename Draw>
void ForEachTableLine(const PaintContext& pc, const ChartFont& font, int lastTextX, Draw draw) {
  ChartCanvas& c = pc.canvas;
  const ViewState& view = pc.view;
  c.SetTextColor(pc.request.windowText);
  c.SetFont(font);
  c.SetTextAlign(TextAlign::Right);
  const QRect& bounds = c.Bounds();
  if (bounds.left() > lastTextX + 1) return;
  const int rowCount = std::clamp(pc.st.Doc.RowCount, 0, MaxEngineRows);
  const int lines = std::clamp(view.VisibleRows, 0, MaxVisibleRows);
  for (int i = 0; i < lines; ++i) {
    const std::int64_t row = static_cast<std::int64_t>(view.FirstVisibleRow) + i;
    if (row < 0) continue;
    if (row >= rowCount) break;
    const int top = TableLineTop(i);
    if (top > bounds.bottom() || top + 1 + font.CellHeight() < bounds.top()) continue;
    draw(i, static_cast<int>(row));
  }
}

void DrawEngineRows(const PaintContext& pc) {
  ChartCanvas& c = pc.canvas;
  const EngineCurve& e = pc.st.Doc.Engine;
  const DisplayUnits& units = pc.st.Session.Dyno.Units;
  char text[TextRoom];
  ForEachTableLine(pc, pc.fonts.engineRow, EnginePowerTextX, [&](int line, int row) {
    const int top = TableLineTop(line);
    c.TextOut(EngineRpmTextX, top, text, FixedTo(text, sizeof text, e.Rpm[row], 1));
    c.TextOut(EngineCompressionTextX, top + 1, text,
              FixedTo(text, sizeof text, ShownTorque(e.Compression[row], units.Torque), 1));
    c.TextOut(EngineTorqueTextX, top + 1, text, FixedTo(text, sizeof text, ShownTorque(e.Torque[row], units.Torque), 1));
    c.TextOut(EnginePowerTextX, top + 1, text, FixedTo(text, sizeof text, ShownPower(e.Power[row], units.Power), 1));
  });
}

void DrawTireRows(const PaintContext& pc) {
  ChartCanvas& c = pc.canvas;
  const EditorDocument& doc = pc.st.Doc;
  const int shown = std::clamp(doc.SlipCurveCount, 1, SlipCurveSlots);
  char text[TextRoom];
  ForEachTableLine(pc, pc.fonts.tireRow, TireTextX.back(), [&](int line, int row) {
    const int top = TableLineTop(line) + 1;
    c.TextOut(TireTextX[0], top, text, IntegerTo(text, sizeof text, row, 3));
    for (int slot = 0; slot < shown; ++slot) {
      // Past a curve's last sample its cell stays empty: there is no sample.
      if (row >= doc.SlipCurves[slot].SampleCount) continue;
      const double sample = doc.SlipCurves[slot].Samples[row];
      int length = FixedTo(text, sizeof text, sample, 6);
      if (length <= 8) {  // "d.dddddd" fits its cell
        c.TextOut(TireTextX[slot + 1], top, text, length);
        continue;
      }
      // A negative or large sample would run into the cell on its left:
      // fewer decimals, and what still does not fit is cut at the cell.
      const int left = TireColumnEdges[static_cast<std::size_t>(slot) + 1] + 1;
      const qreal room = TireTextX[slot + 1] - left;
      for (int decimals = 5; decimals >= 0 && c.TextWidth(QString::fromLatin1(text, length)) > room; --decimals) {
        length = FixedTo(text, sizeof text, sample, decimals);
      }
      c.TextOutWithin(left, TireTextX[slot + 1] + 1, TireTextX[slot + 1], top, text, length);
    }
  });
}

// Horizontal grid lines with their value labels left of the plot and at the
// right edge of the window.
void DrawValueGrid(const PaintContext& pc) {
  ChartCanvas& c = pc.canvas;
  const ChartLayout& ch = pc.chart;
  c.SetTextColor(Black);
  c.SetTextAlign(TextAlign::Right);
  char text[TextRoom];
  auto line = [&](double value, int length) {
    const int y = NearPixel(MapValueToY(ch, value));
    c.TextOut(ch.PlotLeft - 5, y - 5, text, length);
    c.TextOut(pc.right - 7, y - 5, text, length);
    c.MoveTo(ch.GridLeft, y);
    c.LineTo(ch.GridRight, y);
  };
  int drawn = 0;
  if (pc.st.Doc.Mode == FileMode::Tire) {
    double d = ch.AxisMin;
    if (d <= ch.AxisMax) {
      do {
        line(d, FixedTo(text, sizeof text, d, 2));
      } while (++drawn < MaxGridLines && NextTireGridValue(ch, d));
    }
  } else {
    int v = FirstEngineGridValue(ch);
    if (v <= ch.AxisMax) {
      do {
        line(v, IntegerTo(text, sizeof text, v, 5));
      } while (++drawn < MaxGridLines && NextEngineGridValue(ch, v));
    }
  }
}

// On the slip axis: vertical grid lines where the slip labels, written
// across under the plot, stand apart, and a closing line at the last point.
void DrawSlipGrid(const PaintContext& pc, const SlipCurve& charted) {
  ChartCanvas& c = pc.canvas;
  const ChartLayout& ch = pc.chart;
  const int n = ch.PointCount;
  const int decimals = SlipLabelDecimals(charted.Step);
  char text[TextRoom];
  c.SetTextColor(Black);
  c.SetTextAlign(TextAlign::Center);
  const int widest = static_cast<int>(c.TextWidth(QString::fromLatin1(text, FixedTo(text, sizeof text, (n - 1) * charted.Step, decimals))));
  const int step = SlipLabelStep(n, ch.PlotWidth, widest);
  for (int i = 0; i < n; i += step) {
    const int x = NearPixel(ch.PointX[i]);
    c.MoveTo(x, ch.AxisBaseY);
    c.LineTo(x, ch.GridTop);
    c.TextOut(x, ch.PlotBottom + 5, text, FixedTo(text, sizeof text, i * charted.Step, decimals));
  }
  const int last = NearPixel(ch.PointX[n - 1]);
  c.MoveTo(last, ch.AxisBaseY);
  c.LineTo(last, ch.GridTop - 1);
}

// Vertical grid lines every LabelStep points with their labels written
// downwards under the plot, and a closing line at the last point.
void DrawPointGrid(const PaintContext& pc) {
  ChartCanvas& c = pc.canvas;
  const ChartLayout& ch = pc.chart;
  const EditorDocument& doc = pc.st.Doc;
  const int n = ch.PointCount;
  if (doc.Mode == FileMode::Tire && pc.st.Session.Dyno.SlipAxis) {
    const SlipCurve& charted = doc.SlipCurves[std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1)];
    if (HasSlipStep(charted)) return DrawSlipGrid(pc, charted);
  }
  const int step = std::max(ch.LabelStep, 1);
  c.SetTextColor(Black);
  c.SetTextAlign(TextAlign::Right);
  char text[TextRoom];
  for (int i = 0; i < n; i += step) {
    const int x = NearPixel(ch.PointX[i]);
    c.MoveTo(x, ch.AxisBaseY);
    c.LineTo(x, ch.GridTop);
    const int length = doc.Mode == FileMode::Tire ? IntegerTo(text, sizeof text, i)
                                                  : FixedTo(text, sizeof text, doc.Engine.Rpm[i], 0);
    DrawVerticalText(c, x + 8, ch.PlotBottom + 5, text, length);
    if (i + step >= n) {
      const int last = NearPixel(ch.PointX[n - 1]);
      c.MoveTo(last, ch.AxisBaseY);
      c.LineTo(last, ch.GridTop - 1);
    }
  }
}

void DrawCurves(const PaintContext& pc) {
  ChartCanvas& c = pc.canvas;
  const ChartLayout& ch = pc.chart;
  const int n = ch.PointCount;
  if (n < 2) return;
  const int width = n < ch.PlotWidth / 2 ? 2 : 1;
  if (pc.st.Doc.Mode == FileMode::Tire) {
    // The other curves behind the charted one, inside the plot.
    const QRect plot(QPoint(ch.GridLeft, ch.GridTop - 1), QPoint(ch.GridRight, ch.AxisBaseY));
    for (int k = 0; k < SlipCurveSlots; ++k) {
      const auto slot = static_cast<std::size_t>(k);
      if (ch.SlipCurvePoints[slot] < 2) continue;
      c.Polyline(ch.SlipCurveX[slot].data(), ch.SlipCurveY[slot].data(), ch.SlipCurvePoints[slot], LightSlotColor(k),
                 width, plot);
    }
    // A curve ends at its own last sample: nothing is drawn past it.
    const int slot = std::clamp(pc.st.Doc.CurrentSlipCurve, 0, SlipCurveSlots - 1);
    const int own = std::clamp(pc.st.Doc.SlipCurves[slot].SampleCount, 0, n);
    if (own >= 2) c.Polyline(ch.PointX.data(), ch.SlipY.data(), own, SlotColor(slot), width);
  } else {
    c.Polyline(ch.PointX.data(), ch.TorqueY.data(), n, Yellow, width);
    c.Polyline(ch.PointX.data(), ch.PowerY.data(), n, Red, width);
    c.Polyline(ch.PointX.data(), ch.CompressionY.data(), n, Navy, width);
  }
}

// The compared curves, behind the document's: torque and power dashed, in
// lighter tones of their colours, inside the plot only.
void DrawComparison(const PaintContext& pc) {
  const ChartLayout& ch = pc.chart;
  const int n = ch.ComparePointCount;
  if (n < 2) return;
  static const QColor LightYellow(255, 255, 170);
  static const QColor LightRed(255, 150, 150);
  // As wide as the document's curves, however many rows the compared file has.
  const int width = ch.PointCount < ch.PlotWidth / 2 ? 2 : 1;
  const QRect plot(QPoint(ch.GridLeft, ch.GridTop - 1), QPoint(ch.GridRight, ch.AxisBaseY));
  if (pc.st.Doc.Mode == FileMode::Tire) {
    const int slot = std::clamp(pc.st.Doc.CurrentSlipCurve, 0, SlipCurveSlots - 1);
    pc.canvas.DashedPolyline(ch.CompareX.data(), ch.CompareSlipY.data(), n, LightSlotColor(slot), width, plot);
    return;
  }
  pc.canvas.DashedPolyline(ch.CompareX.data(), ch.CompareTorqueY.data(), n, LightYellow, width, plot);
  pc.canvas.DashedPolyline(ch.CompareX.data(), ch.ComparePowerY.data(), n, LightRed, width, plot);
}

// A small square in the curve's colour on the peak torque and the peak
// power, with the value above it (below it at the top of the plot).
void DrawPeaks(const PaintContext& pc) {
  const EditorDocument& doc = pc.st.Doc;
  const ChartLayout& ch = pc.chart;
  if (!pc.st.Session.Dyno.ShowPeaks) return;
  ChartCanvas& c = pc.canvas;
  c.SetFont(pc.fonts.tooltip);
  c.SetTextColor(Black);
  const auto mark = [&](const Peak& peak, const std::array<int, MaxEngineRows>& ys, const QColor& color,
                        const std::string& label) {
    const int x = NearPixel(ch.PointX[peak.Index]);
    const int y = NearPixel(ys[peak.Index]);
    c.Rectangle(x - 3, y - 3, x + 4, y + 4, Black, color);
    const int top = y - 19 >= ch.GridTop ? y - 19 : y + 6;
    // A label that would cross the plot's edge, over the axis numbers, goes
    // to the other side of its mark.
    const int half = static_cast<int>(c.TextWidth(QString::fromLatin1(label.data(), static_cast<int>(label.size())))) / 2;
    if (x + half > ch.GridRight) {
      c.SetTextAlign(TextAlign::Right);
      c.TextOut(x - 5, top, label.data(), static_cast<int>(label.size()));
    } else if (x - half < ch.GridLeft) {
      c.SetTextAlign(TextAlign::Left);
      c.TextOut(x + 6, top, label.data(), static_cast<int>(label.size()));
    } else {
      c.SetTextAlign(TextAlign::Center);
      c.TextOut(x, top, label.data(), static_cast<int>(label.size()));
    }
  };
  if (doc.Mode == FileMode::Tire) {
    // The charted slip curve's peak, in its colour, with its value.
    if (const std::optional<Peak> peak = SlipPeak(doc, ch.PointCount)) {
      mark(*peak, ch.SlipY, SlotColor(doc.CurrentSlipCurve), FixedText(peak->Value, SlipPeakDecimals));
    }
    return;
  }
  const DisplayUnits& units = pc.st.Session.Dyno.Units;
  const EnginePeaks peaks = PeaksOf(doc.Engine, ch.PointCount);
  if (peaks.Torque) mark(*peaks.Torque, ch.TorqueY, Yellow, PeakLabel(units, *peaks.Torque, false));
  if (peaks.Power) mark(*peaks.Power, ch.PowerY, Red, PeakLabel(units, *peaks.Power, true));
}

// With all slip curves shown: a legend in the plot's top right corner, a
// line of each curve's colour (lighter behind the charted one) and its name.
void DrawSlipLegend(const PaintContext& pc) {
  const EditorDocument& doc = pc.st.Doc;
  if (doc.Mode != FileMode::Tire || !pc.st.Session.Dyno.AllSlipCurves) return;
  ChartCanvas& c = pc.canvas;
  const ChartLayout& ch = pc.chart;
  const int current = std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1);
  std::vector<std::pair<int, QString>> entries;
  for (int k = 0; k < std::clamp(doc.SlipCurveCount, 1, SlipCurveSlots); ++k) {
    const SlipCurve& curve = doc.SlipCurves[static_cast<std::size_t>(k)];
    if (curve.SampleCount <= 0 && k != current) continue;
    const std::string name = curve.Name.empty() ? "Data " + std::to_string(k + 1) : curve.Name;
    entries.emplace_back(k, QString::fromLatin1(name.data(), static_cast<int>(std::min<std::size_t>(name.size(), 40))));
  }
  c.SetFont(pc.fonts.tooltip);
  c.SetTextAlign(TextAlign::Left);
  c.SetTextColor(Black);
  int widest = 0;
  for (const auto& entry : entries) widest = std::max(widest, static_cast<int>(c.TextWidth(entry.second)));
  constexpr int LineLength = 16, EntryHeight = 14;
  const int right = ch.GridRight - 4, top = ch.GridTop + 4;
  const int left = right - (6 + LineLength + 4 + widest + 6);
  const int bottom = top + 3 + EntryHeight * static_cast<int>(entries.size()) + 2;
  c.Rectangle(left, top, right, bottom, Black, White);
  int y = top + 3;
  for (const auto& [slot, name] : entries) {
    const int xs[2] = {left + 6, left + 6 + LineLength};
    const int ys[2] = {y + EntryHeight / 2, y + EntryHeight / 2};
    c.Polyline(xs, ys, 2, slot == current ? SlotColor(slot) : LightSlotColor(slot), 2);
    c.TextOut(left + 6 + LineLength + 4, y, name);
    y += EntryHeight;
  }
}

void DrawMarkerAndTip(const PaintContext& pc) {
  ChartCanvas& c = pc.canvas;
  const InteractionState& ui = pc.st.Ui;
  // On the picked point as this layout places it: a printed page or a
  // picture lays the chart out at its own size.
  if (const std::optional<Point> marker = PickMarker(ui, pc.chart)) {
    const int x = NearPixel(marker->x);
    const int y = NearPixel(marker->y);
    c.SetPen(Yellow);
    c.Outline(x - 4, y - 4, x + 4, y + 4);
  }
  if (ui.TipVisible && pc.request.hoverTip) {
    const Rect& r = ui.TipRect;
    c.SetTextColor(Black);
    c.SetTextAlign(TextAlign::Center);
    c.SetFont(pc.fonts.tooltip);
    c.Rectangle(r.left, r.top, r.right, r.bottom, Black, Yellow);
    const int length = static_cast<int>(std::min<std::size_t>(ui.TipText.size(), TextRoom));
    c.TextOut(CentreOf(NearPixel(r.left), NearPixel(r.right)), NearPixel(r.top) + 1, ui.TipText.data(), length);
  }
}

}  // namespace

// The panel styles, line by line in drawing order; each LineTo leaves out its
// end point, so the corners fall where the order puts them.
void DrawRaisedPanel(ChartCanvas& c, const Rect& rect) { DrawRaisedPanel(c, rect, Rect{}); }

void DrawRaisedPanel(ChartCanvas& c, const Rect& rect, const Rect& hole) {
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  c.SetPen(Black);
  c.Outline(l, t, r, b);
  c.FillRectAround(l + 1, t + 1, r - 1, b - 1, hole, LightGray);
  c.Path(Gray, {{l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t + 1}});
  c.Path(White, {{r - 1, t + 1}, {l + 1, t + 1}, {l + 1, b - 1}});
}

void DrawPressedPanel(ChartCanvas& c, const Rect& rect, const QColor& windowText) {
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  c.Path(Black, {{l, b - 1}, {l, t}, {r, t}});
  c.Path(LightGray, {{r, t + 1}, {r, b}, {l, b}});
  c.FillRect(l + 1, t + 1, r - 1, b - 1, LightGray);
  c.Path(LightGray, {{l + 2, b - 1}, {r - 1, b - 1}, {r - 1, t + 1}});
  c.Path(LightGray, {{r - 1, t + 2}, {r - 1, b - 1}, {l + 2, b - 1}});
  c.Path(windowText, {{r - 1, t + 1}, {l + 1, t + 1}, {l + 1, b - 1}});
}

void DrawGroovePanel(ChartCanvas& c, const Rect& rect) {
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  c.SetPen(Black);
  c.Outline(l, t, r, b);
  c.Path(LightGray, {{l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t + 1}, {l + 1, t + 1}, {l + 1, b - 1}});
  c.Path(White, {{r - 1, t + 1}, {l + 1, t + 1}, {l + 1, b - 1}});
  c.Path(LightGray, {{l + 2, b - 2}, {r - 2, b - 2}, {r - 2, t + 2}, {l + 2, t + 2}, {l + 2, b - 2}});
  c.Path(White, {{l + 3, b - 3}, {r - 3, b - 3}, {r - 3, t + 3}});
  c.Path(Gray, {{r - 3, t + 3}, {l + 3, t + 3}, {l + 3, b - 3}});
}

void DrawSunkenPanel(ChartCanvas& c, const Rect& rect, const QColor& face) {
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  c.FillRect(l + 1, t + 1, r - 1, b - 1, face);
  c.Path(White, {{l, b}, {l, t}, {r, t}});
  c.Path(Gray, {{l + 1, b - 1}, {l + 1, t + 1}, {r - 2, t + 1}});
  c.Path(Black, {{l + 2, b - 2}, {l + 2, t + 2}, {r - 2, t + 2}});
  c.Path(face, {{l + 3, b - 3}, {l + 3, t + 3}, {r - 3, t + 3}});
  c.Path(Black, {{r, t}, {r, b}, {l, b}});
  c.Path(LightGray, {{l, b - 1}, {r - 1, b - 1}, {r - 1, t}});
  c.Path(White, {{l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t + 1}});
  c.Path(LightGray, {{l + 2, b - 3}, {r - 3, b - 3}, {r - 3, t + 2}});
}

Rect PlotFaceRect(const Rect& r) { return {r.left + 5, r.top + 5, r.right - 5, r.bottom - 5}; }

void DrawPlotFrame(ChartCanvas& c, const Rect& rect, const QColor& face) {
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  c.SetPen(Black);
  c.Outline(l, t, r, b);
  const Rect inside = PlotFaceRect(rect);
  c.FillRect(inside.left, inside.top, inside.right, inside.bottom, face);
  c.Path(Gray, {{l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t + 2}});
  c.Path(White, {{l + 1, b - 2}, {l + 1, t + 1}, {r - 1, t + 1}});
}

void DrawVerticalText(ChartCanvas& c, int x, int y, const char* text, int length) {
  for (int k = 0; k < length; ++k) c.TextOut(x - 3, y + 8 * k, text + k, 1);
}

ChartPaintRequest WindowPaintRequest(const QWidget& window, const QRect& paintRect, bool erase) {
  const QPalette& palette = window.palette();
  // The view's "window" colours are those of a document's face and its text,
  // which Qt calls Base and Text (its Window role is the dialog face).
  return {paintRect, erase, window.size(), palette.color(QPalette::Text), palette.color(QPalette::Base), QColor()};
}

namespace {

// The pixels of a panel whose edges and face together cover every pixel from
// (l, t) to (r, b), both included; empty when it is too small to be sure.
QRect CoveredBy(const Rect& panel) {
  if (panel.right - panel.left < 4 || panel.bottom - panel.top < 4) return {};
  return QRect(QPoint(panel.left, panel.top), QPoint(panel.right, panel.bottom));
}

// The window's background where neither of the two large panels lies; the
// narrow gaps and the header bar are painted over in place.
void PaintBackdrop(QPainter& painter, const QRect& paintRect, const QColor& color, int right, int bottom) {
  QRegion rest(paintRect);
  rest -= CoveredBy(TableWellRect(bottom));
  rest -= CoveredBy(ChartPanelRect(right, bottom));
  for (const QRect& piece : rest) painter.fillRect(piece, color);
}

void PaintView(QPainter& painter, const EditorState& st, const ViewState& view, const ChartLayout& ch,
               const ChartPaintRequest& request) {
  const int right = std::clamp(request.clientSize.width(), 0, FarPixel);
  const int bottom = std::clamp(request.clientSize.height(), 0, FarPixel);

  painter.save();
  painter.setClipRect(request.paintRect, Qt::IntersectClip);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBackgroundMode(Qt::TransparentMode);
  if (request.erase && !request.paintRect.isEmpty()) painter.fillRect(request.paintRect, White);
  if (request.backdrop.isValid()) PaintBackdrop(painter, request.paintRect, request.backdrop, right, bottom);

  const QRect bounds = request.paintRect & QRect(0, 0, right, bottom);
  if (bounds.isEmpty()) {
    painter.restore();
    return;
  }

  ChartCanvas canvas(painter, bounds);
  static const PaintFonts* const fonts = new PaintFonts;
  const PaintContext pc{canvas, st, view, ch, *fonts, request, right, bottom};
  const EditorDocument& doc = st.Doc;
  const bool tire = doc.Mode == FileMode::Tire;

  // Panels: header cells, title panel, buttons, value box groove, chart
  // panel, table well.
  if (tire) {
    for (std::size_t k = 0; k + 1 < TireColumnEdges.size(); ++k) {
      DrawRaisedPanel(canvas, HeaderCellRect(TireColumnEdges[k], TireColumnEdges[k + 1]));
    }
  } else {
    for (std::size_t k = 0; k + 1 < EngineColumnEdges.size(); ++k) {
      DrawRaisedPanel(canvas, HeaderCellRect(EngineColumnEdges[k], EngineColumnEdges[k + 1]));
    }
  }
  DrawRaisedPanel(canvas, TitlePanelRect(right));
  DrawButtons(pc, st.Ui.ValueShown || (tire && st.Session.BendActive));
  DrawGroovePanel(canvas, ValueGrooveRect);
  // The plot's face covers most of the chart panel: the panel's face is not
  // filled under it first.
  const Rect plotFrame{ch.PlotLeft - 2, ch.PlotTop - 4, ch.PlotRight + 2, ch.PlotBottom + 2};
  DrawRaisedPanel(canvas, ChartPanelRect(right, bottom), PlotFaceRect(plotFrame));
  DrawSunkenPanel(canvas, TableWellRect(bottom), request.window);

  // Header texts and title, cell highlights, table rows.
  if (tire) {
    DrawTireHeader(pc);
    for (int slot = 0; slot < SlipCurveSlots; ++slot) {
      if (!st.Ui.CurveSelected[slot]) continue;
      DrawRangeHighlight(pc, TireHighlightSpans[slot]);
      DrawCellHighlight(pc, TireHighlightSpans[slot]);
    }
    DrawTireRows(pc);
  } else {
    DrawEngineHeader(pc);
    for (const auto& [selected, span] : {std::pair{st.Ui.CompressionSelected, CompressionColumnSpan},
                                         std::pair{st.Ui.TorqueSelected, TorqueColumnSpan}}) {
      if (!selected) continue;
      DrawRangeHighlight(pc, span);
      DrawCellHighlight(pc, span);
    }
    DrawEngineRows(pc);
  }

  // The chart: frame, grid with labels, curves, marker, tooltip.
  DrawPlotFrame(canvas, plotFrame, PlotFace);
  if (ch.PointCount >= 2) {
    DrawValueGrid(pc);
    DrawPointGrid(pc);
    DrawComparison(pc);
    DrawCurves(pc);
    DrawPeaks(pc);
    DrawRangePoints(pc);
    DrawSlipLegend(pc);
  }
  DrawMarkerAndTip(pc);

  painter.restore();
}

}  // namespace

void PaintEditorView(QPainter& painter, const EditorState& st, const ViewState& view, const ChartLayout& chart,
                     const ChartPaintRequest& request) {
  PaintView(painter, st, view, chart, request);
}

void DrawFocusFrame(QPainter& painter, int bottom) {
  // On the face-coloured ring just inside the well's sunken border: every
  // other pixel, counted from the window's corner, so that a part painted
  // again matches the rest whatever device it is painted on.
  const Rect well = TableWellRect(std::clamp(bottom, 0, FarPixel));
  const int l = well.left + 3, t = well.top + 3, r = well.right - 3, b = well.bottom - 3;
  if (r <= l || b <= t) return;
  QPolygon dots;
  for (int x = l; x <= r; ++x) {
    if ((x + t) % 2 == 0) dots << QPoint(x, t);
    if ((x + b) % 2 == 0) dots << QPoint(x, b);
  }
  for (int y = t + 1; y < b; ++y) {
    if ((l + y) % 2 == 0) dots << QPoint(l, y);
    if ((r + y) % 2 == 0) dots << QPoint(r, y);
  }
  painter.save();
  painter.setPen(QPen(Qt::black, 1));
  painter.drawPoints(dots);
  painter.restore();
}

void PaintEditorRegion(QPainter& painter, const EditorState& st, const QRegion& region, ChartPaintRequest request) {
  // A drag repaints a strip of the chart and a cell of the table: paint the
  // few pieces rather than everything between them.
  if (region.rectCount() <= 4) {
    // A region comes in horizontal bands: a strip through the chart is cut
    // where a table cell beside it begins and ends; paint it whole.
    std::vector<QRect> pieces;
    for (const QRect& piece : region) {
      auto above = std::find_if(pieces.begin(), pieces.end(), [&](const QRect& p) {
        return p.left() == piece.left() && p.right() == piece.right() && p.bottom() + 1 == piece.top();
      });
      if (above != pieces.end()) {
        above->setBottom(piece.bottom());
      } else {
        pieces.push_back(piece);
      }
    }
    for (const QRect& piece : pieces) {
      request.paintRect = piece;
      PaintView(painter, st, st.View, st.Chart, request);
    }
  } else {
    // Many pieces: one paint of their bounding box, clipped to the pieces.
    painter.save();
    painter.setClipRegion(region, Qt::IntersectClip);
    request.paintRect = region.boundingRect();
    PaintView(painter, st, st.View, st.Chart, request);
    painter.restore();
  }
}

}  // namespace dyno
