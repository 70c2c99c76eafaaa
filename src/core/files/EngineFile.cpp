#include "core/files/EngineFile.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/document/EditorDocument.h"
#include "core/files/NumberText.h"
#include "core/files/TextHelpers.h"
#include "core/platform/PlatformFile.h"

namespace dyno {

namespace {

// The three fields of a row, from the text after the key (a line piece
// without NUL). A closing parenthesis ends the row (so a trailing comment is
// not seen); a TAB ends a number as a blank does and is skipped as one before
// it. Read in place: a row costs no copy.
TorqueRow ParseRowFields(std::string_view afterKey) {
  std::string_view rest = afterKey.substr(0, std::min(afterKey.find(')'), afterKey.size()));

  // Each field runs to the next comma; a field without one ends the row and
  // leaves the fields after it empty.
  std::string_view fields[3];
  for (int f = 0; f < 2; ++f) {
    fields[f] = CopyUntil(rest, ',');
    const bool comma = fields[f].size() < rest.size() && rest[fields[f].size()] == ',';
    rest = comma ? rest.substr(fields[f].size() + 1) : std::string_view();
  }
  fields[2] = rest;

  TorqueRow row;
  row.Rpm = DecimalToDouble(fields[0]);
  row.Compression = DecimalToDouble(fields[1]);
  row.Torque = DecimalToDouble(fields[2]);
  row.Power = PowerOf(row.Rpm, row.Torque);
  return row;
}

}  // namespace

int ParseEngineRows(EditorDocument& doc, int* leftOut) {
  EngineCurve& curve = doc.Engine;
  const std::string_view text = doc.EngineText;
  const std::size_t keyLength = std::strlen(TorqueRowKey);
  int n = 0;
  doc.EngineTextPos = 0;
  if (leftOut) *leftOut = 0;
  // A line is cut at its first NUL: where the next NUL stands is looked up
  // once, and again only after a line has passed it.
  std::size_t nul = text.find('\0');
  while (doc.EngineTextPos < doc.EngineTextSize() && (n < MaxEngineRows || leftOut)) {
    const auto start = static_cast<std::size_t>(doc.EngineTextPos);
    std::string_view line = ReadTextLine(text, doc.EngineTextPos);
    if (nul < start) nul = text.find('\0', start);
    if (nul != std::string_view::npos) line = line.substr(0, std::min(line.size(), nul - start));
    const auto key = line.find(TorqueRowKey);
    if (key == std::string_view::npos) continue;
    if (n == MaxEngineRows) {
      ++*leftOut;  // the curve is full: the rows after it are only counted
      continue;
    }
    const TorqueRow row = ParseRowFields(line.substr(key + keyLength));
    curve.Rpm[n] = row.Rpm;
    curve.Compression[n] = row.Compression;
    curve.Torque[n] = row.Torque;
    curve.Power[n] = row.Power;
    ++n;
  }
  curve.EngineRowCount = n;
  doc.RowCount = n;
  return n;
}

void AppendTorqueRows(std::string& out, const EditorDocument& doc) {
  const EngineCurve& curve = doc.Engine;
  const int rows = std::clamp(doc.RowCount, 0, MaxEngineRows);
  for (int i = 0; i < rows; ++i) {
    // "RPMTorque=( %.1f, %.1f, %.1f)", built piece by piece: it is the
    // busiest line of a save.
    if (doc.UpgradeMode) out += "HDV=";
    out += "RPMTorque=( ";
    AppendFixed(out, FileValue(curve.Rpm[i]), 1);
    out += ", ";
    AppendFixed(out, FileValue(curve.Compression[i]), 1);
    out += ", ";
    AppendFixed(out, FileValue(curve.Torque[i]), 1);
    out += ")\r\n";
  }
}

ReadOutcome ReadEngineRows(EditorDocument& doc, const std::string& path) {
  std::string bytes;
  const FileReadResult read = ReadFileBytes(path, bytes);
  if (read.Status == ReadStatus::CannotOpen) return {ReadResult::CannotOpen, read.Error};
  if (read.Status == ReadStatus::CannotRead) return {ReadResult::CannotRead, read.Error};
  return ReadEngineBytes(doc, std::move(bytes));
}

ReadOutcome ReadEngineBytes(EditorDocument& doc, std::string bytes) {
  ReplaceText(doc, KeptText::Engine, std::move(bytes));
  ReadOutcome outcome{ReadResult::NothingFound, 0};
  if (ParseEngineRows(doc, &outcome.RowsLeftOut) > 0) outcome.Result = ReadResult::Read;
  return outcome;
}

}  // namespace dyno
