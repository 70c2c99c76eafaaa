#include "core/editing/EditorRepaint.h"

#include <algorithm>
#include <cstdint>

#include "core/chart/ChartGeometry.h"
#include "core/editing/EditorState.h"

namespace dyno {

namespace {

// Half the width of the chart strip repainted around an edited point.
constexpr int StripHalfWidth = 70;
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
  const int x = chart.PointX[index];
  int left = x - StripHalfWidth;
  int right = x + StripHalfWidth;
  if (index > 0) left = std::min(left, chart.PointX[index - 1] - PenMargin);
  if (index + 1 < chart.PointCount) right = std::max(right, chart.PointX[index + 1] + PenMargin);
  host.Invalidate({left, 0, right, view.ScreenHeight}, false);
}

void RepaintTable(EditorHost& host, const ViewState& view) {
  host.Invalidate({0, FirstRowY, TableWidth, view.ScreenHeight}, false);
}

void RepaintChart(EditorHost& host, const ViewState& view) { host.Invalidate(view.ClientFrom(TableWidth, 0), false); }

Rect MarkerSquare(Point p) {
  const int x = NearPixel(p.x);
  const int y = NearPixel(p.y);
  return {x - 10, y - 10, x + 10, y + 10};
}

InteractionLook LookOf(const InteractionState& ui, const EditorDocument& doc) {
  InteractionLook look;
  look.MarkerShown = (ui.TorquePicked || ui.CompressionPicked || ui.SlipPicked) && !ui.Dragging;
  look.Marker = ui.SelectedPixel;
  look.ButtonsActive = ui.ValueShown || (doc.TireMode && doc.BendActive);
  look.UpPressedLook = look.ButtonsActive && !ui.UpRaised;
  look.DownPressedLook = look.ButtonsActive && !ui.DownRaised;
  look.SelectedIndex = ui.SelectedIndex;
  look.CompressionSelected = ui.CompressionSelected;
  look.TorqueSelected = ui.TorqueSelected;
  look.CurveSelected = ui.CurveSelected;
  look.CurrentSlipCurve = doc.CurrentSlipCurve;
  return look;
}

LookRepaint::LookRepaint(EditorState& st) : st_(st), before_(LookOf(st.Ui, st.Doc)) {}

LookRepaint::~LookRepaint() {
  EditorState& st = st_;
  const InteractionLook& before = before_;
  const InteractionLook now = LookOf(st.Ui, st.Doc);
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
  if (before.CurrentSlipCurve != now.CurrentSlipCurve && st.Doc.TireMode) RepaintChart(st.Host, st.View);
}

}  // namespace dyno
