#include "core/files/EngineFile.h"

#include <algorithm>
#include <utility>

#include "core/document/EditorDocument.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"
#include "core/files/TextHelpers.h"
#include "core/platform/PlatformFile.h"

namespace dyno {

namespace {

// The blanks before a number that do not end a field: ' ', TAB, VT and FF.
bool IsFieldBlank(char c) { return c == ' ' || c == '\t' || static_cast<unsigned char>(c - '\v') <= 1; }

// The three fields of a row from p, just after the key, up to end (the end
// of its line piece, or its first NUL), in one pass. The first two fields
// each run to their comma; a CR, LF or ')' before it ends the fields and
// leaves the others 0. A ')' ends the row, so a trailing comment is not seen;
// a TAB ends a number as a blank does and is skipped as one before it; the
// last field may start after a CR. Returns where reading stopped: no LF
// stands before it.
const char* ReadRowFields(const char* p, const char* const end, TorqueRow& row) {
  double values[3] = {0.0, 0.0, 0.0};
  for (int f = 0; f < 3; ++f) {
    while (p < end && (IsFieldBlank(*p) || (f == 2 && *p == '\r'))) ++p;
    if (p < end && (*p == '\n' || (f < 2 && *p == '\r'))) break;
    const char* stop = p;
    values[f] = ReadUnblankedDecimal(p, end, stop);  // no blank is left before it
    p = stop;
    if (f == 2) break;
    while (p < end && *p != ',' && *p != ')' && *p != '\r' && *p != '\n') ++p;  // what follows the number
    if (p == end || *p != ',') break;
    ++p;
  }
  row.Rpm = values[0];
  row.Compression = values[1];
  row.Torque = values[2];
  return p;
}

// ReadRowFields of the usual row, "( N, N, N" with at most one blank before
// each number and a comma right after the first two: the fields' loops look
// at each byte for blanks, line ends and commas; here each is one test.
// Any other shape gives nullptr, and the general loop reads the row.
const char* ReadUsualRow(const char* p, const char* const end, TorqueRow& row) {
  double values[3];
  for (int f = 0; f < 3; ++f) {
    if (p < end && *p == ' ') ++p;
    const char* stop = p;
    values[f] = ReadUnblankedDecimal(p, end, stop);
    if (stop == p) return nullptr;  // no number, or one led by another blank
    p = stop;
    if (f == 2) break;
    if (p == end || *p != ',') return nullptr;
    ++p;
  }
  row.Rpm = values[0];
  row.Compression = values[1];
  row.Torque = values[2];
  return p;
}

}  // namespace

int ParseEngineRows(EditorDocument& doc, int* leftOut) {
  EngineCurve& curve = doc.Engine;
  const std::string_view text = doc.EngineText;
  const std::size_t size = text.size();
  constexpr std::string_view key = TorqueRowKey;
  const std::size_t pieceSize = LineBufferSize - 1;
  int n = 0;
  if (leftOut) *leftOut = 0;
  // Rows are read from line pieces (see ReadTextLine), each up to its first
  // NUL, at most one row a piece. Cutting every line costs more than the
  // rows themselves in a file of long comments, so the loop jumps from key
  // to key and works out which piece each one stands in: pos is always the
  // start of a piece, and so is the byte after each line end.
  std::size_t pos = 0;
  std::size_t nul = text.find('\0');
  // The end of the piece from..limit is in: after its LF, or the limit. A
  // row's ")" stands a CR before its LF: the first bytes are looked at
  // before a search is started.
  // A line ends after its LF, or after a CR alone in a file of CR line ends.
  const bool crEndsLines = EndsLinesWithCr(text);
  const auto endsLine = [&](std::size_t i) {
    return text[i] == '\n' || (crEndsLines && text[i] == '\r' && (i + 1 == size || text[i + 1] != '\n'));
  };
  const auto pieceEnd = [&](std::size_t from, std::size_t limit) {
    for (const std::size_t near = std::min(from + 4, limit); from < near; ++from) {
      if (endsLine(from)) return from + 1;
    }
    return LineEndAfter(text, from, limit, crEndsLines);
  };
  while (pos < size && (n < MaxEngineRows || leftOut)) {
    // Row after row, the next key is where the next line starts.
    const std::size_t at = text.substr(pos, key.size()) == key ? pos : text.find(key, pos);
    if (at == std::string_view::npos) {
      pos = size;
      break;
    }
    // The line holding the key starts after the last line end before it (or at
    // pos); from there its pieces are 255 bytes each.
    std::size_t lineStart = at;
    while (lineStart > pos && !endsLine(lineStart - 1)) --lineStart;
    const std::size_t piece = lineStart + (at - lineStart) / pieceSize * pieceSize;
    const std::size_t limit = std::min(size, piece + pieceSize);
    if (nul < piece) nul = text.find('\0', piece);

    // A key across the piece's end, or after a NUL in its piece, is not seen;
    // nor is any later key in that piece.
    const bool seen = at + key.size() <= limit && at < nul;
    if (!seen || n == MaxEngineRows) {
      if (seen) ++*leftOut;  // the curve is full: the rows after it are only counted
      pos = pieceEnd(at, limit);
      continue;
    }
    TorqueRow row;
    const char* const fields = text.data() + at + key.size();
    const char* const fieldsEnd = text.data() + std::min(limit, nul);
    const char* stop = ReadUsualRow(fields, fieldsEnd, row);
    if (stop == nullptr) stop = ReadRowFields(fields, fieldsEnd, row);
    pos = pieceEnd(static_cast<std::size_t>(stop - text.data()), limit);
    curve.Rpm[n] = row.Rpm;
    curve.Compression[n] = row.Compression;
    curve.Torque[n] = row.Torque;
    ++n;
  }
  // The powers after the rows: in the row loop each waited for the division
  // that gives its torque.
  for (int i = 0; i < n; ++i) curve.Power[i] = PowerOf(curve.Rpm[i], curve.Torque[i]);
  doc.EngineTextPos = static_cast<int>(pos);
  curve.EngineRowCount = n;
  doc.RowCount = n;
  return n;
}

void AppendTorqueRows(std::string& out, const EditorDocument& doc, std::string_view lineEnd) {
  const EngineCurve& curve = doc.Engine;
  const int rows = std::clamp(doc.RowCount, 0, MaxEngineRows);
  for (int i = 0; i < rows; ++i) {
    // "RPMTorque=( %.1f, %.1f, %.1f)", built piece by piece: it is the
    // busiest line of a save.
    if (doc.Mode == FileMode::Upgrade) out += "HDV=";
    out += "RPMTorque=( ";
    AppendFixed(out, FileValue(curve.Rpm[i]), 1);
    out += ", ";
    AppendFixed(out, FileValue(curve.Compression[i]), 1);
    out += ", ";
    AppendFixed(out, FileValue(curve.Torque[i]), 1);
    out += ')';
    out += lineEnd;
  }
}

ReadOutcome ReadEngineRows(EditorDocument& doc, const std::string& path) {
  std::string bytes;
  const FileReadResult read = ReadFileBytes(path, bytes);
  if (read.Status == ReadStatus::CannotOpen) return {ReadResult::CannotOpen, read.Error};
  if (read.Status == ReadStatus::CannotRead) return {ReadResult::CannotRead, read.Error};
  FileStamp stamp = StampOfBytes(path, bytes);
  ReadOutcome outcome = ReadEngineBytes(doc, std::move(bytes));
  outcome.Stamp = std::move(stamp);
  return outcome;
}

ReadOutcome ReadEngineBytes(EditorDocument& doc, std::string bytes) {
  ReplaceText(doc, KeptText::Engine, std::move(bytes));
  ReadOutcome outcome{ReadResult::NothingFound, 0};
  if (ParseEngineRows(doc, &outcome.RowsLeftOut) > 0) outcome.Result = ReadResult::Read;
  return outcome;
}

}  // namespace dyno
