#include "core/editing/Keyboard.h"

#include <algorithm>

#include "core/chart/RowScrolling.h"
#include "core/editing/EditorRepaint.h"
#include "core/editing/EditorState.h"
#include "core/editing/Mouse.h"
#include "core/editing/Selection.h"
#include "core/editing/Timer.h"

namespace dyno {

namespace {

// The table shows row: it scrolls as little as it takes.
void KeepRowInSight(EditorState& st, int row) {
  ViewState& view = st.View;
  const int page = std::max(view.VisibleRows, 1);
  int first = view.FirstVisibleRow;
  if (row < first) first = row;
  if (row >= first + page) first = row - page + 1;
  if (first != view.FirstVisibleRow) ShowTableFrom(view, st.Host, first, st.Doc.RowCount);
}

}  // namespace

bool OnPickKey(EditorState& st, PickKey key, bool extend) {
  InteractionState& ui = st.Ui;
  if (ui.MouseDown || ui.KeyHeld) return false;
  const EditorDocument& doc = st.Doc;
  const bool tire = doc.Mode == FileMode::Tire;
  const bool picked = tire ? AnyCurveSelected(ui) : ui.CompressionSelected || ui.TorqueSelected;

  int slot = std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1);
  EngineColumn column = ui.CompressionSelected ? EngineColumn::Compression : EngineColumn::Torque;
  int row = ui.SelectedIndex;
  const int page = std::max(st.View.VisibleRows, 1);
  if (!picked) {
    column = EngineColumn::Torque;
    row = st.View.FirstVisibleRow;
  } else {
    switch (key) {
      case PickKey::Up: --row; break;
      case PickKey::Down: ++row; break;
      case PickKey::PageUp: row -= page; break;
      case PickKey::PageDown: row += page; break;
      case PickKey::Home: row = 0; break;
      case PickKey::End: row = MaxEngineRows; break;
      case PickKey::Left:
      case PickKey::Right: {
        const int step = key == PickKey::Left ? -1 : 1;
        if (!tire) {
          column = step < 0 ? EngineColumn::Compression : EngineColumn::Torque;
        } else {
          slot = std::clamp(slot + step, 0, std::clamp(doc.SlipCurveCount, 1, SlipCurveSlots) - 1);
        }
        break;
      }
    }
  }
  const int rows = PickableRows(st, slot);
  if (rows <= 0) return false;
  row = std::clamp(row, 0, rows - 1);

  const LookRepaint look(st);
  st.Steps.Begin(StepKind::EditCell);
  KeepRowInSight(st, row);
  const bool across = key == PickKey::Left || key == PickKey::Right;
  if (extend && picked && !across) {
    ExtendRange(st, row);
  } else {
    // The keys walk the table: a value passed over is shown, not rounded.
    const double value = ValueAt(st, row, column == EngineColumn::Torque, slot);
    ClearRange(st);
    if (tire) {
      SelectTableCell(st, slot, row);
    } else {
      SelectTableCell(st, row, column);
    }
    KeepPickedValue(st, value);
  }
  st.Steps.End();
  return true;
}

bool OnStepKeyPress(EditorState& st, bool up) {
  InteractionState& ui = st.Ui;
  if (ui.MouseDown) return false;
  const bool bend = st.Session.BendActive;
  if (!bend && !ui.ValueShown) return false;
  if (ui.KeyHeld) return true;  // the key repeats: the timer steps it
  const LookRepaint look(st);
  const StepKind kind = st.Doc.Mode == FileMode::Tire && bend ? StepKind::Bend : StepKind::UpDown;
  if (!ui.KeyRun || st.History.RecordingKind() != kind) st.Steps.Begin(kind);
  ui.KeyRun = true;
  ui.KeyHeld = true;
  ui.RepeatCount = 0;
  HoldButton(st, up);
  return true;
}

void OnStepKeyRelease(EditorState& st) {
  InteractionState& ui = st.Ui;
  if (!ui.KeyHeld) return;
  const LookRepaint look(st);
  // A press let go before the timer saw it still steps once.
  ActOnShortPress(st);
  ui.KeyHeld = false;
  ui.RepeatCount = 0;
  LetGoOfButtons(st);
}

}  // namespace dyno
