#pragma once

#include <string>
#include <string_view>

#include "core/files/ReadResult.h"

namespace dyno {

struct EditorDocument;

// The key of a torque row: RPMTorque=( rpm, compression, torque).
inline constexpr const char* TorqueRowKey = "RPMTorque=(";

// Reads the engine or upgrade file at path: its bytes become EngineText and
// its torque rows the engine curve. Read when at least one row was read,
// NothingFound when the file holds none (the curve is then empty);
// CannotOpen or CannotRead when its bytes could not be had (nothing changed).
ReadOutcome ReadEngineRows(EditorDocument& doc, const std::string& path);

// ReadEngineRows of a file holding bytes.
ReadOutcome ReadEngineBytes(EditorDocument& doc, std::string bytes);

// Reads the torque rows of doc.EngineText into the engine curve, at most 500,
// and sets EngineRowCount and RowCount. Returns the number of rows; the rows
// after the 500th are counted into leftOut when it is given.
int ParseEngineRows(EditorDocument& doc, int* leftOut = nullptr);

// Appends the rows 0 to RowCount - 1 as an engine file holds them, each
// "RPMTorque=( %.1f, %.1f, %.1f)" and lineEnd (CR LF, or the CR alone of a
// file that ends its lines so), prefixed "HDV=" in Upgrade mode.
void AppendTorqueRows(std::string& out, const EditorDocument& doc, std::string_view lineEnd = "\r\n");

}  // namespace dyno
