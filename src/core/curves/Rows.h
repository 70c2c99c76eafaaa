#pragma once

namespace dyno {

struct EditorState;

// Appends a row continuing the last RPM step with the last row's values, or
// in Tire mode repeats the last sample of every slip curve.
void AddLine(EditorState& st);

// Drops the last row, or in Tire mode the last sample of every slip curve.
// Reaching the 10-row minimum is announced.
void RemoveLine(EditorState& st);

}  // namespace dyno
