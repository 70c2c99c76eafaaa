#pragma once

#include "core/document/UserMessage.h"

namespace dyno {

struct EditorDocument;

// Appends a row continuing the last RPM step with the last row's values, or
// in Tire mode repeats the last sample of every slip curve.
EditOutcome AddLine(EditorDocument& doc);

// Drops the last row, or in Tire mode the last sample of every slip curve.
// Reaching the 10-row minimum is announced.
EditOutcome RemoveLine(EditorDocument& doc);

}  // namespace dyno
