#pragma once

namespace dyno {

struct EditorState;

// Keys that move the pick while the chart and table have the keyboard focus.
enum class PickKey { Up, Down, PageUp, PageDown, Home, End, Left, Right };

// Moves the pick: Up and Down to the previous and next row of the picked
// column, Page Up and Page Down by a table page, Home and End to the first
// and last row, Left and Right between Compression and Torque (in Tire mode
// between the slip curves, which become the charted one). The table scrolls
// so that the row stays in sight. With nothing picked, any of them picks the
// first row the table shows, in the Torque column or the charted slip curve.
// The cell is selected as a click selects it, in a step of its own. False
// while the mouse holds a button or there is no row to pick. With extend
// (Shift) the rows from the pick the range started at to the new pick are
// selected; without, a selected range goes.
bool OnPickKey(EditorState& st, PickKey key, bool extend = false);

// + (up) or - pressed, and let go: the Up or Down button held as a press
// of the mouse holds it, stepping the picked value (or bending, in bend
// mode) at once and on the timer while held. A run of presses with nothing
// else between is one step of the history. False where there is nothing to
// step.
bool OnStepKeyPress(EditorState& st, bool up);
void OnStepKeyRelease(EditorState& st);

}  // namespace dyno
