#include "core/editing/EditorRepaint.h"

#include <algorithm>
#include <cstdint>

#include "core/chart/ChartGeometry.h"
#include "core/editing/EditorState.h"

namespace dyno {

namespace {

// The curve pens are at most 2 pixels wide.
constexpr int PenMargin = 2;

bool SameSelection(const InteractionLook& a, const InteractionLook& b) {
  return a.SelectedIndex == b.SelectedIndex && a.CompressionSelected == b.CompressionSelected &&
         a.TorqueSelected == b.TorqueSelected && a.CurveSelected == b.CurveSelected;
}

bool AnySelection(const InteractionLook& look) {
  return look.CompressionSelected || look.TorqueSelected ||
         std::find(look.CurveSelected.begin(), look.CurveSelected.end(), true) != look.CurveSelected.end();
}

}  // namespace

void RepaintCellBand(EditorHost& host, const ViewState& view, int row, int left, int right, bool erase) {
  const std::int64_t line = static_cast<std::int64_t>(row) - view.FirstVisibleRow;
  const std::int64_t top = RowHeight * line + HeaderHeight;
  const std::int64_t bottom = top + 18;
  if (bottom <= 0 || top >= view.ScreenHeight) return;
  host.Invalidate({left, static_cast<int>(top), right, static_cast<int>(bottom)}, erase);
}

void RepaintPointStrip(EditorHost& host, const ViewState& view, const ChartLayout& chart, int index) {
  if (index < 0 || index >= chart.PointCount) return;
  // From the point before to the point after: the two line pieces that meet
  // at the point, however far apart the points are. Full height, since the
  // new value may lie anywhere on the axis (or beyond it, for a wild value);
  // a change of the axis itself repaints the whole chart on the next tick.
  // In a window too small for the plot the points run right to left.
  const auto [lowest, highest] = std::minmax({chart.PointX[std::max(index - 1, 0)], chart.PointX[index],
                                              chart.PointX[std::min(index + 1, chart.PointCount - 1)]});
  host.Invalidate({lowest - PenMargin, 0, highest + PenMargin, view.ScreenHeight}, false);
}

void RepaintTable(EditorHost& host, const ViewState& view) {
  host.Invalidate({0, FirstRowY, TableWidth, view.ScreenHeight}, false);
}

void RepaintChart(EditorHost& host, const ViewState& view) { host.Invalidate(view.ClientFrom(TableWidth, 0), false); }

void RepaintNewRows(EditorHost& host, const ViewState& view) {
  host.Invalidate(view.ClientFrom(2, 2), false);
  host.Invalidate({0, FirstRowY, 2, view.ScreenHeight}, false);
}

Rect MarkerSquare(Point p) {
  const int x = NearPixel(p.x);
  const int y = NearPixel(p.y);
  return {x - 10, y - 10, x + 10, y + 10};
}

InteractionLook LookOf(const EditorState& st) {
  const InteractionState& ui = st.Ui;
  const EditorDocument& doc = st.Doc;
  InteractionLook look;
  look.MarkerShown = (ui.TorquePicked || ui.CompressionPicked || ui.SlipPicked) && !ui.Dragging;
  look.Marker = ui.SelectedPixel;
  look.ButtonsActive = ui.ValueShown || (doc.Mode == FileMode::Tire && st.Session.BendActive);
  look.UpPressedLook = look.ButtonsActive && !ui.UpRaised;
  look.DownPressedLook = look.ButtonsActive && !ui.DownRaised;
  look.SelectedIndex = ui.SelectedIndex;
  look.CompressionSelected = ui.CompressionSelected;
  look.TorqueSelected = ui.TorqueSelected;
  look.CurveSelected = ui.CurveSelected;
  look.CurrentSlipCurve = doc.CurrentSlipCurve;
  return look;
}

LookRepaint::LookRepaint(EditorState& st) : st_(st), before_(LookOf(st)) {}

LookRepaint::~LookRepaint() {
  EditorState& st = st_;
  const InteractionLook& before = before_;
  const InteractionLook now = LookOf(st);
  if (before.MarkerShown != now.MarkerShown || (now.MarkerShown && before.Marker != now.Marker)) {
    if (before.MarkerShown) st.Host.Invalidate(MarkerSquare(before.Marker), false);
    if (now.MarkerShown) st.Host.Invalidate(MarkerSquare(now.Marker), false);
  }
  const bool buttonsRestyled = before.ButtonsActive != now.ButtonsActive;
  if (buttonsRestyled || before.UpPressedLook != now.UpPressedLook) st.Host.Invalidate(st.Chart.UpButtonRect, false);
  if (buttonsRestyled || before.DownPressedLook != now.DownPressedLook) {
    st.Host.Invalidate(st.Chart.DownButtonRect, false);
  }
  if (!SameSelection(before, now)) {
    const bool had = AnySelection(before);
    if (had) RepaintCellBand(st.Host, st.View, before.SelectedIndex, 0, TableWidth, false);
    if (AnySelection(now) && !(had && before.SelectedIndex == now.SelectedIndex)) {
      RepaintCellBand(st.Host, st.View, now.SelectedIndex, 0, TableWidth, false);
    }
  }
  if (before.CurrentSlipCurve != now.CurrentSlipCurve && st.Doc.Mode == FileMode::Tire) RepaintChart(st.Host, st.View);
}

}  // namespace dyno
