#pragma once

#include <array>
#include <string>

#include "core/chart/Pixels.h"
#include "core/document/Limits.h"

namespace dyno {

class EditorHost;

// Selection, picking and button state shared by the value box, the mouse
// handlers, the timer and painting.
struct InteractionState {
  // The value box and what it refers to.
  std::string ReadoutText;
  int SelectedIndex = 0;
  int DragIndex = 0;
  bool CompressionSelected = false;
  // The other end of a range of rows selected in the picked column, the
  // pick being one end; -1: no range.
  int RangeAnchor = -1;
  bool TorqueSelected = false;
  std::array<bool, SlipCurveSlots> CurveSelected{};
  bool ValueShown = false;
  bool EditSetByProgram = false;
  // Set while the program inserts ReadoutText into the box, so the change
  // notification can tell a text the box cut short from the one written.
  bool InsertingReadout = false;
  // The selected values as they were when the user began a run of typing:
  // while the box holds no number they stand again.
  double TypedFromCompression = 0.0;
  double TypedFromTorque = 0.0;
  double TypedFromSample = 0.0;

  // Mouse picking and dragging.
  bool MouseDown = false;
  bool TableDrag = false;  // the press selected a table cell: moving over rows selects a range
  bool ChartRangeDrag = false;  // a Shift press on the plot: moving selects the points passed over
  int ChartRangeX = 0;          // where that press was
  bool Dragging = false;
  bool TorquePicked = false;
  bool CompressionPicked = false;
  bool SlipPicked = false;
  Point SelectedPixel;
  Point LastSelectedPixel;

  // Hover tooltip.
  bool TipVisible = false;
  bool TipShown = false;
  std::string TipText;
  Rect TipRect;
  Rect TipRectPrev1;
  Rect TipRectPrev2;

  // Up and Down buttons and their auto-repeat.
  bool UpPressed = false;
  bool DownPressed = false;
  bool UpRaised = true;
  bool DownRaised = true;
  bool UpDrawnRaised = true;
  bool DownDrawnRaised = true;
  int RepeatCount = 0;
  // A + or - key holds the Up or Down button as the mouse does; a run of
  // such presses is one step of the history, recording from the first
  // press until anything else begins or ends a step.
  bool KeyHeld = false;
  bool KeyRun = false;
  double BendTarget = 0.0;
  double SpinValue = 0.0;
  std::string SpinText;
};

// Empties the value box without storing anything.
void EmptyValueBoxByProgram(InteractionState& ui, EditorHost& host);

// No point picked or selected and no drag in progress.
void ClearPicking(InteractionState& ui);

// Whether a slip curve's sample is selected.
bool AnyCurveSelected(const InteractionState& ui);

// Forgets every pick and selection, and empties the value box: after a file
// is opened or a curve replaced nothing refers to the old points.
void ResetInteraction(InteractionState& ui, EditorHost& host);

// Forgets the selection and the pick when they refer to a row the curve no
// longer has (after its last row was removed); rowCount rows remain.
void ForgetRowsBeyondCurve(InteractionState& ui, EditorHost& host, int rowCount);

}  // namespace dyno
