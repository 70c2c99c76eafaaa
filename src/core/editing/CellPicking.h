#pragma once

#include "core/chart/Pixels.h"

namespace dyno {

struct EditorState;
struct InteractionState;
struct SlipCurve;

enum class EngineColumn { Compression, Torque };

// The charted slip curve.
SlipCurve& CurrentCurve(EditorState& st);

// Only slip curve k's column is selected.
void SelectOnlyCurve(InteractionState& ui, int k);

// A table selection is a cell, not a point of the plot: the plot's pick
// marker goes.
void ClearPicks(InteractionState& ui);

// Selects the cell of row in slip curve k's column, or in an engine column,
// clicked at p: the value box shows its value, nothing of the plot is
// picked.
void SelectTireCell(EditorState& st, int k, int row, Point p);
void SelectEngineCell(EditorState& st, int row, Point p, EngineColumn column);

// For the keyboard and ranges: selects the cell of row in an engine column,
// or in slip curve k's column (which becomes the charted curve), as a click
// on it does. The row is one the table shows.
void SelectTableCell(EditorState& st, int row, EngineColumn column);
void SelectTableCell(EditorState& st, int k, int row);

}  // namespace dyno
