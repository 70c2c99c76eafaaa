#include "core/editing/Mouse.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "core/chart/ChartGeometry.h"
#include "core/curves/Resolution.h"
#include "core/document/Units.h"
#include "core/document/EditorSession.h"
#include "core/editing/CellPicking.h"
#include "core/editing/DynoView.h"
#include "core/editing/EditorRepaint.h"
#include "core/editing/EditorState.h"
#include "core/editing/EditSteps.h"
#include "core/editing/Selection.h"
#include "core/editing/Timer.h"
#include "core/editing/ValueBox.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"

namespace dyno {

namespace {


// --- Hit tests -------------------------------------------------------------
// Region tests are strict: a point on an edge is outside.

bool Between(std::int64_t low, std::int64_t v, std::int64_t high) { return low < v && v < high; }

// Coordinates outside the client area reach the handlers while Qt holds the
// mouse for a pressed button; none of them hits anything of the view.
bool InsideClient(const EditorState& st, Point p) {
  return p.x >= 0 && p.y >= 0 && p.x < st.View.ScreenWidth - 1 && p.y < st.View.ScreenHeight - 1;
}

// Points whose pixels the last layout computed and that are still rows.
int PlotPoints(const EditorState& st) { return std::clamp(std::min(st.Doc.RowCount, st.Chart.PointCount), 0, MaxEngineRows); }

bool InPlot(const EditorState& st, Point p) {
  const ChartLayout& c = st.Chart;
  const int n = PlotPoints(st);
  // A curve of fewer than two points has no chart to pick from.
  return n >= 2 && InsideClient(st, p) && Between(c.PointX[0], p.x, c.PointX[n - 1]) &&
         Between(c.PlotTop, p.y, c.PlotBottom);
}

// Tire samples are picked within the box's edges, engine points only inside
// them. Pixel rows may have saturated to the ends of int.
bool NearPoint(const EditorState& st, int i, Point p, int pointY) {
  const ChartLayout& c = st.Chart;
  const std::int64_t dx = std::abs(static_cast<std::int64_t>(p.x) - c.PointX[i]);
  const std::int64_t dy = std::abs(static_cast<std::int64_t>(p.y) - pointY);
  if (st.Doc.Mode == FileMode::Tire) return dx <= c.PickHalfWidth && dy <= PickHalfHeight;
  return dx < c.PickHalfWidth && dy < PickHalfHeight;
}

// Inside the table columns from left to right, below the header and above
// the end of the rows.
bool InTableRows(const EditorState& st, Point p, int left, int right) {
  return InsideClient(st, p) && Between(left, p.x, right) &&
         Between(FirstRowY, p.y, static_cast<std::int64_t>(RowHeight) * st.Doc.RowCount + HeaderHeight);
}

// The row under y, or nothing when that row does not exist.
std::optional<int> TableRowAt(const EditorState& st, int y) {
  const std::int64_t row = (static_cast<std::int64_t>(y) - HeaderHeight) / RowHeight + st.View.FirstVisibleRow;
  if (row < 0 || row >= std::min(st.Doc.RowCount, MaxEngineRows)) return std::nullopt;
  return static_cast<int>(row);
}

// The tire data columns of the curves that exist: their left edge and the
// right edge of column count.
int TireColumnsRight(const EditorState& st, int count) {
  return st.Chart.DataColumnX[std::clamp(count, 0, SlipCurveSlots)];
}

// The tire data column under x, or -1 on a boundary or outside.
int TireColumnAt(const EditorState& st, int x) {
  const auto& edges = st.Chart.DataColumnX;
  for (int k = 0; k < SlipCurveSlots; ++k) {
    if (Between(edges[k], x, edges[k + 1])) return k;
  }
  return -1;
}

bool InButtonSpan(const EditorState& st, Point p) {
  return Between(st.Chart.UpButtonRect.left, p.x, st.Chart.UpButtonRect.right);
}
bool InRows(const Rect& r, Point p) { return Between(r.top, p.y, r.bottom); }

bool InEngineColumn(const ColumnSpan& span, int x) { return Between(span.left, x, span.right); }

// --- Changes ---------------------------------------------------------------

// Samples of a curve: past its end there is nothing to pick, show or change.
int OwnSamples(const SlipCurve& curve) { return std::clamp(curve.SampleCount, 0, MaxSlipSamples); }

// Points of the current slip curve that can be picked: its own samples.
int SlipPoints(EditorState& st) { return std::min(PlotPoints(st), OwnSamples(CurrentCurve(st))); }

void SetCursor(EditorState& st, std::optional<CursorShape>& cursor, CursorShape shape) {
  cursor = shape;
  st.Host.SetCursorShape(shape);
}

// Repaints a button whose look no longer matches how it was last drawn.
void SyncButtonDrawing(EditorState& st) {
  InteractionState& ui = st.Ui;
  if (ui.UpDrawnRaised != ui.UpRaised) st.Host.Invalidate(st.Chart.UpButtonRect, false);
  if (ui.DownDrawnRaised != ui.DownRaised) st.Host.Invalidate(st.Chart.DownButtonRect, false);
  ui.UpDrawnRaised = ui.UpRaised;
  ui.DownDrawnRaised = ui.DownRaised;
}

void RaiseButtons(EditorState& st) {
  InteractionState& ui = st.Ui;
  ui.UpPressed = false;
  ui.DownPressed = false;
  ui.UpRaised = true;
  ui.DownRaised = true;
  SyncButtonDrawing(st);
}

// The slot k becomes the charted curve. A selected tire value moves to the
// same sample of that curve (with selectColumn its column is selected in
// any case), so the highlighted cell, the value box and what typing or
// stepping changes stay one and the same.
void ChooseSlipCurve(EditorState& st, int k, bool selectColumn) {
  EditorDocument& doc = st.Doc;
  InteractionState& ui = st.Ui;
  const bool changes = doc.CurrentSlipCurve != k;
  const bool valueSelected = AnyCurveSelected(ui);
  doc.CurrentSlipCurve = k;
  if (selectColumn || valueSelected) SelectOnlyCurve(ui, k);
  const int s = ui.SelectedIndex;
  if (!changes || !valueSelected || s < 0 || s >= std::min(doc.RowCount, MaxSlipSamples)) return;
  if (s >= OwnSamples(CurrentCurve(st))) {
    // The new curve ends before the selected sample: nothing stays selected.
    ResetInteraction(ui, st.Host);
    return;
  }
  const double sample = CurrentCurve(st).Samples[s];
  if (ui.ValueShown) {
    ui.TipText = FixedText(sample, 6);
    WriteValueBox(st.Ui, st.Host, FormatReadout(sample, SlipDecimals));
  }
  if (ui.SlipPicked && s < st.Chart.PointCount) ui.SelectedPixel = {st.Chart.PointX[s], MapValueToY(st.Chart, sample)};
}

void PickSlipPoint(EditorState& st, int i) {
  InteractionState& ui = st.Ui;
  ui.Dragging = true;
  ui.SlipPicked = true;
  ui.TorquePicked = false;
  ui.CompressionPicked = false;
  ui.CompressionSelected = false;
  ui.TorqueSelected = false;
  ui.DragIndex = i;
  ui.SelectedIndex = i;
  const double sample = CurrentCurve(st).Samples[i];
  ui.TipText = FixedText(sample, 6);
  SelectOnlyCurve(ui, st.Doc.CurrentSlipCurve);
  WriteValueBox(st.Ui, st.Host, FormatReadout(sample, SlipDecimals));
  ui.SelectedPixel = {st.Chart.PointX[i], st.Chart.SlipY[i]};
  ui.LastSelectedPixel = ui.SelectedPixel;
}

void PickEnginePoint(EditorState& st, int i, EngineColumn column) {
  InteractionState& ui = st.Ui;
  const EngineCurve& e = st.Doc.Engine;
  const bool torque = column == EngineColumn::Torque;
  ui.TorquePicked = torque;
  ui.TorqueSelected = torque;
  ui.CompressionPicked = !torque;
  ui.CompressionSelected = !torque;
  ui.SlipPicked = false;
  ui.CurveSelected.fill(false);
  ui.SelectedIndex = i;
  ui.DragIndex = i;
  WriteValueBox(st.Ui, st.Host,
                FormatReadout(ShownTorque(torque ? e.Torque[i] : e.Compression[i], st.Session.Dyno.Units.Torque),
                              EngineDecimals));
  ui.Dragging = true;
  ui.SelectedPixel = {st.Chart.PointX[i], torque ? st.Chart.TorqueY[i] : st.Chart.CompressionY[i]};
  ui.LastSelectedPixel = ui.SelectedPixel;
}

// The dragged slip sample i takes the value of pixel row y.
void DragSlipPoint(EditorState& st, int i, int y) {
  InteractionState& ui = st.Ui;
  st.Chart.SlipY[i] = y;
  ui.DragIndex = i;
  ui.SelectedIndex = i;
  // A plot without height has no value for a pixel row: nothing changes.
  if (const std::optional<double> value = MapYToValue(st.Chart, y)) {
    CurrentCurve(st).Samples[i] = *value;
    SelectOnlyCurve(ui, st.Doc.CurrentSlipCurve);
    WriteValueBox(st.Ui, st.Host, FormatReadout(*value, SlipDecimals));
    ui.TipText = FixedText(CurrentCurve(st).Samples[i], 6);
    }
  ui.SelectedPixel = {st.Chart.PointX[i], y};
  ui.LastSelectedPixel = ui.SelectedPixel;
}

// The dragged engine point i takes the value of pixel row y; power follows
// torque.
void DragEnginePoint(EditorState& st, int i, int y, EngineColumn column) {
  InteractionState& ui = st.Ui;
  EditorDocument& doc = st.Doc;
  const bool torque = column == EngineColumn::Torque;
  (torque ? st.Chart.TorqueY : st.Chart.CompressionY)[i] = y;
  ui.DragIndex = i;
  ui.SelectedIndex = i;
  if (const std::optional<double> value = MapYToValue(st.Chart, y)) {
    // The axis is in the units shown; the value box rounds what it shows.
    const TorqueUnit unit = st.Session.Dyno.Units.Torque;
    const std::string text = FormatReadout(*value, EngineDecimals);
    const double stored =
        unit == TorqueUnit::Nm ? *value : StoredEngineValue(unit, 0.0, DecimalToDouble(text), true);
    if (torque) {
      doc.Engine.Torque[i] = stored;
      RecomputePower(doc, i);
    } else {
      doc.Engine.Compression[i] = stored;
    }
    ui.TorqueSelected = torque;
    ui.CompressionSelected = !torque;
    WriteValueBox(st.Ui, st.Host, text);
  }
  ui.SelectedPixel = {st.Chart.PointX[i], y};
  ui.LastSelectedPixel = ui.SelectedPixel;
}

// The hover tip over a point: its value and where on the curve it lies,
// "431.2 @ 6000 RPM", "0.994917 @ sample 19" or "@ slip 0.0475", in a box as wide as the text
// in the tip's font (digits take seven pixels).
void ShowTip(InteractionState& ui, Point p, std::string text) {
  ui.TipVisible = true;
  const int halfWidth = (static_cast<int>(std::min<std::size_t>(text.size(), 64)) * 7 + 1) / 2 + 5;
  ui.TipRect = {p.x - halfWidth, p.y - 25, p.x + halfWidth, p.y - 11};
  ui.TipText = std::move(text);
}

Rect Grown(const Rect& r) { return {r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}; }

// --- Button down and double-click ------------------------------------------

void PressButtons(EditorState& st, Point p) {
  InteractionState& ui = st.Ui;
  if (!InButtonSpan(st, p)) {
    RaiseButtons(st);
    return;
  }
  const bool up = InRows(st.Chart.UpButtonRect, p);
  const bool down = InRows(st.Chart.DownButtonRect, p);
  if (up || down) st.Host.SetCursorShape(CursorShape::Hand);
  ui.UpPressed = up;
  ui.UpRaised = !up;
  ui.DownPressed = down;
  ui.DownRaised = !down;
  st.Host.Invalidate(st.Chart.UpButtonRect, false);
  st.Host.Invalidate(st.Chart.DownButtonRect, false);
  ui.UpDrawnRaised = ui.UpRaised;
  ui.DownDrawnRaised = ui.DownRaised;
}

void TireButtonDown(EditorState& st, Point p, bool doubleClick) {
  const EditorDocument& doc = st.Doc;
  // A double-click reaches the first column even when no curve was read.
  int count = std::clamp(doc.SlipCurveCount, 0, SlipCurveSlots);
  if (doubleClick) count = std::max(count, 1);
  const int left = st.Chart.DataColumnX[0];
  const int right = TireColumnsRight(st, count);
  const int k = TireColumnAt(st, p.x);
  if (InsideClient(st, p) && Between(left, p.x, right) && k >= 0) {
    if (p.y < FirstRowY) {
      ChooseSlipCurve(st, k, true);
      st.Host.SetCursorShape(CursorShape::Hand);
      st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
    } else if (InTableRows(st, p, left, right)) {
      st.Host.SetCursorShape(CursorShape::Hand);
      // A cell past the curve's last sample is empty and selects nothing.
      const std::optional<int> row = TableRowAt(st, p.y);
      if (row && *row < OwnSamples(st.Doc.SlipCurves[static_cast<std::size_t>(k)])) {
        SelectTireCell(st, k, *row, p);
        st.Ui.TableDrag = true;
      }
    }
  }
  if (InPlot(st, p)) {
    st.Host.SetCursorShape(CursorShape::CrossHair);
    const int n = SlipPoints(st);
    for (int i = 0; i < n; ++i) {
      if (NearPoint(st, i, p, st.Chart.SlipY[i])) {
        PickSlipPoint(st, i);
        break;
      }
    }
  }
}

void EngineButtonDown(EditorState& st, Point p) {
  if (InTableRows(st, p, EngineColumnEdges[0], TableWidth)) {
    // Only the two editable columns select anything.
    const std::optional<int> row = TableRowAt(st, p.y);
    if (row && InEngineColumn(st.Chart.CompressionColumn, p.x)) {
      SelectEngineCell(st, *row, p, EngineColumn::Compression);
      st.Ui.TableDrag = true;
    } else if (row && InEngineColumn(st.Chart.TorqueColumn, p.x)) {
      SelectEngineCell(st, *row, p, EngineColumn::Torque);
      st.Ui.TableDrag = true;
    }
  }
  if (InPlot(st, p)) {
    st.Host.SetCursorShape(CursorShape::CrossHair);
    // The first row is never picked here, and where both curves are near
    // the pointer compression wins.
    const int n = PlotPoints(st);
    int torqueHit = -1;
    int compressionHit = -1;
    for (int i = 1; i < n && torqueHit < 0; ++i) {
      if (NearPoint(st, i, p, st.Chart.TorqueY[i])) torqueHit = i;
    }
    for (int i = 1; i < n && compressionHit < 0; ++i) {
      if (NearPoint(st, i, p, st.Chart.CompressionY[i])) compressionHit = i;
    }
    if (compressionHit >= 0) {
      PickEnginePoint(st, compressionHit, EngineColumn::Compression);
    } else if (torqueHit >= 0) {
      PickEnginePoint(st, torqueHit, EngineColumn::Torque);
    }
  }
}

// What a press does until its release is one step: a drag, a hold of the
// Up or Down button, or a click on a table cell (which may round its value).
StepKind PressKind(const EditorState& st) {
  const InteractionState& ui = st.Ui;
  if (ui.Dragging) return StepKind::Drag;
  if (ui.UpPressed || ui.DownPressed) {
    return st.Doc.Mode == FileMode::Tire && st.Session.BendActive ? StepKind::Bend : StepKind::UpDown;
  }
  return StepKind::EditCell;
}

// The table row under p when it lies in the picked column.
std::optional<int> RowOfPickedColumn(const EditorState& st, Point p) {
  const InteractionState& ui = st.Ui;
  const std::optional<int> row = TableRowAt(st, p.y);
  if (!row || !InTableRows(st, p, 0, TableWidth)) return std::nullopt;
  if (st.Doc.Mode == FileMode::Tire) {
    const int k = TireColumnAt(st, p.x);
    return k >= 0 && k == st.Doc.CurrentSlipCurve && ui.CurveSelected[static_cast<std::size_t>(k)] ? row : std::nullopt;
  }
  const bool inColumn = (ui.TorqueSelected && InEngineColumn(st.Chart.TorqueColumn, p.x)) ||
                        (ui.CompressionSelected && InEngineColumn(st.Chart.CompressionColumn, p.x));
  return inColumn ? row : std::nullopt;
}

void ButtonDown(EditorState& st, Point p, bool doubleClick, bool extend) {
  const LookRepaint look(st);
  st.Steps.Begin(StepKind::EditCell);
  st.Ui.MouseDown = true;
  if (!InButtonSpan(st, p)) {
    // Shift and a row of the picked column: the range reaches it. Any other
    // press off the buttons lets go of a range.
    if (const std::optional<int> row = RowOfPickedColumn(st, p); extend && row) {
      ExtendRange(st, *row);
      st.Ui.TableDrag = true;
      return;
    }
    // Shift on the plot: a drag selects the points it passes over.
    if (extend && InPlot(st, p)) {
      ClearRange(st);
      st.Ui.ChartRangeDrag = true;
      st.Ui.ChartRangeX = p.x;
      st.Host.SetCursorShape(CursorShape::CrossHair);
      return;
    }
    ClearRange(st);
  }
  PressButtons(st, p);
  if (st.Doc.Mode == FileMode::Tire) {
    if (!st.Session.BendActive || doubleClick) {
      TireButtonDown(st, p, doubleClick);
    } else if (!InButtonSpan(st, p) && (InTableRows(st, p, 0, TableWidth) || InPlot(st, p))) {
      // A click that picks nothing must not look like a fault.
      st.Host.ShowNotice(BendModeNotice);
    }
  } else {
    EngineButtonDown(st, p);
  }
  st.History.Rename(PressKind(st));
}

// --- Mouse move ------------------------------------------------------------

void TrackButtons(EditorState& st, Point p) {
  InteractionState& ui = st.Ui;
  if (!InButtonSpan(st, p)) {
    RaiseButtons(st);
    return;
  }
  // A held button stays down while the pointer stays on it; leaving it lets
  // it up, and coming back does not press it again.
  if (!InRows(st.Chart.UpButtonRect, p) || !ui.MouseDown) {
    ui.UpPressed = false;
    ui.UpRaised = true;
  }
  if (!InRows(st.Chart.DownButtonRect, p) || !ui.MouseDown) {
    ui.DownPressed = false;
    ui.DownRaised = true;
  }
  SyncButtonDrawing(st);
}

void TireMove(EditorState& st, Point p, std::optional<CursorShape>& cursor) {
  InteractionState& ui = st.Ui;
  const int left = st.Chart.DataColumnX[0];
  const int right = TireColumnsRight(st, st.Doc.SlipCurveCount);
  if (InsideClient(st, p) && Between(left, p.x, right) && (p.y < FirstRowY || InTableRows(st, p, left, right))) {
    SetCursor(st, cursor, CursorShape::Hand);
  }
  if (!InPlot(st, p)) return;
  SetCursor(st, cursor, CursorShape::CrossHair);
  const int n = SlipPoints(st);
  if (ui.Dragging && ui.SlipPicked && st.Session.LockOnToData) {
    // The picked sample follows the pointer however fast it moves.
    if (ui.DragIndex >= 0 && ui.DragIndex < n) DragSlipPoint(st, ui.DragIndex, p.y);
    return;
  }
  // Unlocked, every sample under the pointer is drawn to its height; the
  // first sample only moves in a locked drag.
  for (int i = 1; i < n; ++i) {
    if (!NearPoint(st, i, p, st.Chart.SlipY[i])) continue;
    ui.TipShown = false;
    if (ui.SlipPicked && ui.Dragging) DragSlipPoint(st, i, p.y);
    const SlipCurve& curve = CurrentCurve(st);
    std::string tip = FixedText(curve.Samples[i], 6) + " @ " + SlipPosition(curve, i, st.Session.Dyno.SlipAxis);
    // Where the compared curve reaches: its value there, and the difference.
    if (const SlipCurve* compared = ComparedSlipCurve(st.Doc, st.Session.Dyno)) {
      if (const std::optional<double> then = ComparedSlipSample(curve, *compared, i, st.Session.Dyno.SlipAxis)) {
        tip += ", compared " + FixedText(*then, SlipPeakDecimals) + " (" +
               SignedDifference(curve.Samples[i] - *then, SlipPeakDecimals) + ")";
      }
    }
    ShowTip(ui, p, std::move(tip));
    ui.LastSelectedPixel = ui.SelectedPixel;
  }
}

// Hover and unlocked drag of one engine curve; false when a locked drag of
// that curve took the move.
bool EngineCurveMove(EditorState& st, Point p, EngineColumn column) {
  InteractionState& ui = st.Ui;
  const bool torque = column == EngineColumn::Torque;
  const bool picked = torque ? ui.TorquePicked : ui.CompressionPicked;
  const auto& ys = torque ? st.Chart.TorqueY : st.Chart.CompressionY;
  const auto& values = torque ? st.Doc.Engine.Torque : st.Doc.Engine.Compression;
  const int n = PlotPoints(st);
  if (ui.Dragging && picked && st.Session.LockOnToData) {
    if (ui.DragIndex >= 0 && ui.DragIndex < n) DragEnginePoint(st, ui.DragIndex, p.y, column);
    return false;
  }
  for (int i = 1; i < n; ++i) {
    if (!NearPoint(st, i, p, ys[i])) continue;
    if (picked && ui.Dragging) DragEnginePoint(st, i, p.y, column);
    const TorqueUnit unit = st.Session.Dyno.Units.Torque;
    const double shown = ShownTorque(values[i], unit);
    std::string tip = FixedText(shown, 1) + " @ " + FixedText(st.Doc.Engine.Rpm[i], 0) + " RPM";
    // Over a compared curve's RPM range: its value there, and the difference.
    if (const ComparedCurve* compared = st.Session.Dyno.Comparison.get()) {
      const EngineCurve& k = compared->Curve;
      const auto m = static_cast<std::size_t>(std::clamp(k.EngineRowCount, 0, MaxEngineRows));
      const double rpm = st.Doc.Engine.Rpm[i];
      if (m >= 2 && rpm >= k.Rpm[0] && rpm <= k.Rpm[m - 1]) {
        const auto& other = torque ? k.Torque : k.Compression;
        const double then = ShownTorque(Interpolate(rpm, std::span(k.Rpm).first(m), std::span(other).first(m)), unit);
        tip += ", compared " + FixedText(then, 1) + " (" + SignedDifference(shown - then) + ")";
      }
    }
    ShowTip(ui, p, std::move(tip));
  }
  return true;
}

void EngineMove(EditorState& st, Point p, std::optional<CursorShape>& cursor) {
  if (InTableRows(st, p, EngineColumnEdges[0], TableWidth)) SetCursor(st, cursor, CursorShape::Hand);
  if (!InPlot(st, p)) return;
  SetCursor(st, cursor, CursorShape::CrossHair);
  if (EngineCurveMove(st, p, EngineColumn::Torque)) EngineCurveMove(st, p, EngineColumn::Compression);
}

}  // namespace

void HoldButton(EditorState& st, bool up) {
  InteractionState& ui = st.Ui;
  ui.UpPressed = up;
  ui.UpRaised = !up;
  ui.DownPressed = !up;
  ui.DownRaised = up;
  SyncButtonDrawing(st);
}

void LetGoOfButtons(EditorState& st) { RaiseButtons(st); }

std::optional<Point> PickMarker(const InteractionState& ui, const ChartLayout& ch) {
  const int i = ui.SelectedIndex;
  if (ui.Dragging || i < 0 || i >= ch.PointCount) return std::nullopt;
  const auto* ys = ui.SlipPicked          ? &ch.SlipY
                   : ui.TorquePicked      ? &ch.TorqueY
                   : ui.CompressionPicked ? &ch.CompressionY
                                          : nullptr;
  if (!ys) return std::nullopt;
  return Point{ch.PointX[i], (*ys)[i]};
}

void FollowPickedPoint(EditorState& st) {
  InteractionState& ui = st.Ui;
  const std::optional<Point> marker = PickMarker(ui, st.Chart);
  if (!marker || *marker == ui.SelectedPixel) return;
  const Point on = *marker;
  st.Host.Invalidate(MarkerSquare(ui.SelectedPixel), false);
  st.Host.Invalidate(MarkerSquare(on), false);
  ui.SelectedPixel = on;
  ui.LastSelectedPixel = on;
}

void OnPress(EditorState& st, Point p, bool extend) { ButtonDown(st, p, false, extend); }

void OnDoublePress(EditorState& st, Point p) { ButtonDown(st, p, true, false); }

void OnMove(EditorState& st, Point p) {
  const LookRepaint look(st);
  InteractionState& ui = st.Ui;

  // The tooltip of the last two moves is wiped.
  ui.TipRectPrev2 = ui.TipRectPrev1;
  ui.TipRectPrev1 = ui.TipRect;
  if (ui.TipVisible) {
    st.Host.Invalidate(Grown(ui.TipRectPrev1), false);
    st.Host.Invalidate(Grown(ui.TipRectPrev2), false);
  }
  ui.TipVisible = false;

  TrackButtons(st, p);

  // A press on a cell held and moved over the rows of its column selects them.
  if (ui.MouseDown && ui.TableDrag) {
    if (const std::optional<int> row = RowOfPickedColumn(st, p); row && *row != ui.SelectedIndex) ExtendRange(st, *row);
  }
  if (ui.MouseDown && ui.ChartRangeDrag) SelectRangeBetween(st, ui.ChartRangeX, p.x);

  std::optional<CursorShape> cursor;
  if (st.Doc.Mode == FileMode::Tire) {
    TireMove(st, p, cursor);
  } else {
    EngineMove(st, p, cursor);
  }
  if (!cursor) st.Host.SetCursorShape(CursorShape::Arrow);

  if (ui.TipVisible != ui.TipShown) {
    st.Host.Invalidate(Grown(ui.TipRect), false);
    st.Host.Invalidate(Grown(ui.TipRectPrev1), false);
    st.Host.Invalidate(Grown(ui.TipRectPrev2), false);
    ui.TipShown = ui.TipVisible;
  } else if (ui.TipVisible) {
    // The tip moved with the pointer or shows another value.
    st.Host.Invalidate(Grown(ui.TipRect), false);
  }
}

void OnRelease(EditorState& st, Point p) {
  const LookRepaint look(st);
  InteractionState& ui = st.Ui;
  ui.MouseDown = false;
  ui.TableDrag = false;
  if (ui.ChartRangeDrag) SelectRangeBetween(st, ui.ChartRangeX, p.x);
  ui.ChartRangeDrag = false;
  ActOnShortPress(st);
  // A press that follows within a tick starts its own count.
  ui.RepeatCount = 0;
  RaiseButtons(st);
  // The marker returns where the point was let go.
  if (ui.Dragging) st.Host.Invalidate(MarkerSquare(p), false);

  if (InsideClient(st, p)) {
    if (InButtonSpan(st, p)) {
      if (InRows(st.Chart.UpButtonRect, p)) {
        st.Host.SetCursorShape(CursorShape::Hand);
        st.Host.Invalidate(st.Chart.UpButtonRect, false);
      } else if (InRows(st.Chart.DownButtonRect, p)) {
        st.Host.SetCursorShape(CursorShape::Hand);
        st.Host.Invalidate(st.Chart.DownButtonRect, false);
      }
    }
    if (st.Doc.Mode == FileMode::Tire) {
      const int left = st.Chart.DataColumnX[0];
      const int right = TireColumnsRight(st, st.Doc.SlipCurveCount);
      const int k = TireColumnAt(st, p.x);
      if (Between(left, p.x, right) && k >= 0) {
        if (p.y < FirstRowY) {
          // Also in bend mode: this is how the curve to bend is chosen.
          ChooseSlipCurve(st, k, false);
          st.Host.SetCursorShape(CursorShape::Hand);
          RepaintChart(st.Host, st.View);
        } else if (InTableRows(st, p, left, right)) {
          st.Host.SetCursorShape(CursorShape::Hand);
        }
      }
      if (InPlot(st, p)) st.Host.SetCursorShape(CursorShape::CrossHair);
    } else {
      if (InTableRows(st, p, EngineColumnEdges[0], TableWidth)) st.Host.SetCursorShape(CursorShape::Hand);
      if (InPlot(st, p)) st.Host.SetCursorShape(CursorShape::CrossHair);
    }
  }
  ui.Dragging = false;
  st.Steps.End();
}

}  // namespace dyno
