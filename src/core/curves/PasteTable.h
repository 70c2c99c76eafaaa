#pragma once

#include <string_view>

#include "core/document/UserMessage.h"

namespace dyno {

struct DisplayUnits;
struct EditorDocument;

// Replaces the curve of the current mode with the table in text (read as
// ReadTableText reads it): in the engine modes the rows, power recomputed;
// in Tire mode a single column goes into the current slip curve and several
// fill the curves from the first, adding curves as needed, each taking as
// many samples as its column has numbers and the name in its header cell
// (an empty cell keeps the name). Torques are read in the units the table
// shows and stored in N-m. A number that is what the table shows for the
// value it replaces keeps that value with the digits the table does not
// show, so pasting what was copied changes nothing; the RPMs are checked as
// they are then stored (RpmStepRefusal). Refused as well: a torque beyond
// the values a file holds once in N-m, and slip curves that a tire file
// could not hold as they are (written and read back as the save does).
// A text that is refused changes nothing, and the message says why.
EditOutcome PasteTable(EditorDocument& doc, const DisplayUnits& units, std::string_view text);

}  // namespace dyno
