#pragma once

#include <string>

namespace dyno {

struct EditorDocument;
struct EditorState;

// The key of a torque row: RPMTorque=( rpm, compression, torque).
inline constexpr const char* TorqueRowKey = "RPMTorque=(";

// Reads the engine or upgrade file at path: its bytes become EngineText and
// its torque rows the engine curve. Returns 1 when at least one row was read,
// 0 when the file holds none (the curve is then empty), -1 when the file could
// not be read (nothing changed).
int ReadEngineRows(EditorState& st, const std::string& path);

// Reads the torque rows of doc.EngineText into the engine curve, at most 500,
// and sets EngineRowCount and RowCount. Returns the number of rows.
int ParseEngineRows(EditorDocument& doc);

// Appends the rows 0 to RowCount - 1 as an engine file holds them, each
// "RPMTorque=( %.1f, %.1f, %.1f)" with CR LF, prefixed "HDV=" in Upgrade mode.
void AppendTorqueRows(std::string& out, const EditorDocument& doc);

}  // namespace dyno
