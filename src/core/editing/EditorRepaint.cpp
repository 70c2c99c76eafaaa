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

void RepaintCellBand(EditorState& st, int row, int left, int right, bool erase) {
  const std::int64_t line = static_cast<std::int64_t>(row) - st.View.FirstVisibleRow;
  const std::int64_t top = RowHeight * line + HeaderHeight;
  const std::int64_t bottom = top + 18;
  if (bottom <= 0 || top >= st.View.ScreenHeight) return;
  st.Host.Invalidate({left, static_cast<int>(top), right, static_cast<int>(bottom)}, erase);
}

void RepaintPointStrip(EditorState& st, int index) {
  const ChartLayout& chart = st.Chart;
  if (index < 0 || index >= chart.PointCount) return;
  const int x = chart.PointX[index];
  int left = x - StripHalfWidth;
  int right = x + StripHalfWidth;
  if (index > 0) left = std::min(left, chart.PointX[index - 1] - PenMargin);
  if (index + 1 < chart.PointCount) right = std::max(right, chart.PointX[index + 1] + PenMargin);
  st.Host.Invalidate({left, 0, right, st.View.ScreenHeight}, false);
}

void RepaintTable(EditorState& st) { st.Host.Invalidate({0, FirstRowY, TableWidth, st.View.ScreenHeight}, false); }

void RepaintChart(EditorState& st) { st.Host.Invalidate(st.ClientFrom(TableWidth, 0), false); }

Rect MarkerSquare(Point p) {
  const int x = NearPixel(p.x);
  const int y = NearPixel(p.y);
  return {x - 10, y - 10, x + 10, y + 10};
}

InteractionLook LookOf(const EditorState& st) {
  const InteractionState& ui = st.Ui;
  InteractionLook look;
  look.MarkerShown = (ui.TorquePicked || ui.CompressionPicked || ui.SlipPicked) && !ui.Dragging;
  look.Marker = ui.SelectedPixel;
  look.ButtonsActive = ui.ValueShown || (st.Doc.TireMode && st.Doc.BendActive);
  look.UpPressedLook = look.ButtonsActive && !ui.UpRaised;
  look.DownPressedLook = look.ButtonsActive && !ui.DownRaised;
  look.SelectedIndex = ui.SelectedIndex;
  look.CompressionSelected = ui.CompressionSelected;
  look.TorqueSelected = ui.TorqueSelected;
  look.CurveSelected = ui.CurveSelected;
  look.CurrentSlipCurve = st.Doc.CurrentSlipCurve;
  return look;
}

void RepaintChangedLook(EditorState& st, const InteractionLook& before) {
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
    if (had) RepaintCellBand(st, before.SelectedIndex, 0, TableWidth, false);
    if (AnySelection(now) && !(had && before.SelectedIndex == now.SelectedIndex)) {
      RepaintCellBand(st, now.SelectedIndex, 0, TableWidth, false);
    }
  }
  if (before.CurrentSlipCurve != now.CurrentSlipCurve && st.Doc.TireMode) RepaintChart(st);
}

LookRepaint::LookRepaint(EditorState& st) : st_(st), before_(LookOf(st)) {}

LookRepaint::~LookRepaint() { RepaintChangedLook(st_, before_); }

}  // namespace dyno
