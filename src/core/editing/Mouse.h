#pragma once

#include <optional>

#include "core/chart/Pixels.h"
#include "core/editing/CellPicking.h"
#include "core/editing/EditorHost.h"

namespace dyno {

struct ChartLayout;
struct EditorState;
struct InteractionState;

// Vertical half size of the pick box around a point.
inline constexpr int PickHalfHeight = 25;

// The left mouse button went down / was double-clicked at p (client
// pixels): presses an Up/Down button, selects a table cell, chooses the
// charted slip curve from the tire header, or picks the nearest point of a
// curve in the plot, shows its value in the value box and starts dragging
// it. Bend mode turns the tire table and plot off for single clicks only.
// With extend (Shift) a press on a row of the picked column selects the
// range of rows from the pick to it; any other press off the Up and Down
// buttons lets go of a selected range, and a press on a cell held and moved
// over the rows of its column selects them, as a Shift press on the plot
// moved across it selects the points it passes over.
// What the press changes until its release is one step of the history.
void OnPress(EditorState& st, Point p, bool extend = false);
void OnDoublePress(EditorState& st, Point p);

// The pointer moved to p: the Up/Down buttons rise when it leaves them, the
// point being dragged takes the value under the pointer, hovering a point
// shows its value in a tooltip, and the cursor follows what lies under the
// pointer.
void OnMove(EditorState& st, Point p);

// The left button went up at p: ends a drag and raises the buttons. On the
// tire header the column under the pointer becomes the charted curve. The
// press's step ends here.
void OnRelease(EditorState& st, Point p);

// Where the marker of the picked point stands in chart: on the point;
// nothing while none is picked or one is being dragged.
std::optional<Point> PickMarker(const InteractionState& ui, const ChartLayout& chart);

// After the chart was laid out anew: the marker of a picked point stands on
// the point, wherever the new axis put it, and is repainted where it moved.
void FollowPickedPoint(EditorState& st);


// For the keyboard: the Up (up) or Down button held down, as a press on it
// holds it, and all buttons let go again.
void HoldButton(EditorState& st, bool up);
void LetGoOfButtons(EditorState& st);

}  // namespace dyno
