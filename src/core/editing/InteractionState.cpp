#include "core/editing/InteractionState.h"

#include <algorithm>

#include "core/editing/EditorHost.h"

namespace dyno {

void EmptyValueBoxByProgram(InteractionState& ui, EditorHost& host) {
  // Only a box that holds text notifies its emptying; setting the skip flag
  // for an empty box would swallow the user's next keystroke instead.
  if (host.ValueBoxText().empty()) return;
  ui.EditSetByProgram = true;
  host.EmptyValueBox();
  ui.ReadoutText.clear();
}

bool AnyCurveSelected(const InteractionState& ui) {
  return std::find(ui.CurveSelected.begin(), ui.CurveSelected.end(), true) != ui.CurveSelected.end();
}

void ClearPicking(InteractionState& ui) {
  ui.RangeAnchor = -1;
  ui.Dragging = false;
  ui.TorquePicked = false;
  ui.CompressionPicked = false;
  ui.SlipPicked = false;
  ui.TorqueSelected = false;
  ui.CompressionSelected = false;
  ui.CurveSelected.fill(false);
}

void ResetInteraction(InteractionState& ui, EditorHost& host) {
  ClearPicking(ui);
  EmptyValueBoxByProgram(ui, host);
  ui.ValueShown = false;
}

void ForgetRowsBeyondCurve(InteractionState& ui, EditorHost& host, int rowCount) {
  if (ui.SelectedIndex >= rowCount || ui.DragIndex >= rowCount) ResetInteraction(ui, host);
}

}  // namespace dyno
