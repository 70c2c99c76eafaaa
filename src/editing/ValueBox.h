#pragma once

#include <string_view>

namespace dyno {

struct EditorState;

// Writes a picked or stepped value into the value box: the notification of
// emptying the box is skipped, the inserted text is stored into the
// selected value by the box's own change handling (rounded to the decimals
// shown), and the Up/Down buttons become active.
void WriteValueBox(EditorState& st, std::string_view text);

// Empties the value box without storing anything.
void EmptyValueBoxByProgram(EditorState& st);

// Forgets every pick and selection, and empties the value box: after a file
// is opened or a curve replaced nothing refers to the old points.
void ResetInteraction(EditorState& st);

}  // namespace dyno
