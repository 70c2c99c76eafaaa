#pragma once

#include <string>
#include <string_view>

#include "core/document/Units.h"

namespace dyno {

class EditorHost;
struct EditorDocument;
struct EditorState;
struct InteractionState;

// Characters the value box takes.
inline constexpr int ValueBoxLimit = 8;

// The text of a value for the box: "%.<decimals>f", with fewer decimals when
// that is what it takes to fit the box. A value too large to fit even
// without decimals keeps all of them; the box then cuts it and nothing is
// stored from it (see WriteValueBox).
std::string FormatReadout(double value, int decimals);

// The text the value box shows for the selected value as it stands now
// (empty when nothing is selected).
std::string ShownSelectedValue(const EditorState& st);

// The N-m value to store for a torque or compression that the box shows as
// `shown` in the document's torque unit. In N-m that is the value itself; in
// other units one that shows as the same text, except that a text the
// program wrote (typed false) which the current value already shows leaves
// that value as it is.
double StoredEngineValue(TorqueUnit unit, double current, double shown, bool typed);

// Writes a picked or stepped value into the value box: the notification of
// emptying the box is skipped, the inserted text is stored into the
// selected value by the box's own change handling (rounded to the decimals
// shown), and the Up/Down buttons become active. A text the box had to cut
// short is shown but not stored, so a pick never changes a value it cannot
// show.
void WriteValueBox(InteractionState& ui, EditorHost& host, std::string_view text);

// Notifications of the value box.
enum class ValueEditCode {
  TextChanged,  // the box's text changed: by typing, cutting, pasting or the program
  FocusLost,    // the box lost the keyboard focus
  Entered,      // Enter was pressed in the box
  Other,        // anything else the box reports; ignored
};

// The value box's notification handling. A text change stores the box's
// number into the selected engine value or slip sample and repaints the
// cells and the chart strip around the point; the user's text is read as
// ReadTypedNumber reads it, and while it is no number the values stay as the run of typing found them. The change caused by the program's
// own emptying of the box is skipped. Losing the focus (or Enter) stores the
// text only when it differs from what was last stored through the box, so a
// value changed meanwhile by a command is never put back, and ends the run
// of typing, one step of the undo history; a run that ends on a text that is
// no number is refused with a message, and the box takes the focus again.
// Returns false where the box's text was refused.
bool ValueEditNotify(EditorState& st, ValueEditCode code);

// Escape in the box: a run of typing is taken back, the selected values as
// it found them and the box showing them again.
void CancelTyping(EditorState& st);

}  // namespace dyno
