#pragma once

#include <string_view>

#include "core/document/UserMessage.h"

namespace dyno {

struct EditorDocument;

// Replaces the curve of the current mode with the table in text (read as
// ReadTableText reads it): in the engine modes the rows, power recomputed;
// in Tire mode a single column goes into the current slip curve and several
// fill the curves from the first, adding curves as needed, each taking as
// many samples as its column has numbers and the name in its header cell
// (an empty cell keeps the name). Torques are read in the units the table
// shows. A number that is what the table shows for
// the value it replaces keeps that value with the digits the table does not
// show, so pasting what was copied changes nothing. A text that is no such
// table changes nothing and is refused with a message.
EditOutcome PasteTable(EditorDocument& doc, std::string_view text);

}  // namespace dyno
