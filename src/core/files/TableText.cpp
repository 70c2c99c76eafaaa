#include "core/files/TableText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

#include "core/document/EditorDocument.h"
#include "core/files/NumberText.h"
#include "core/platform/PlatformFile.h"

namespace dyno {

namespace {

constexpr std::array<std::string_view, 4> EngineHeader{"RPM", "Compression", "Torque", "Power"};
constexpr int EngineColumns = 3;  // RPM, Compression and Torque: Power is derived

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// --- Composing ------------------------------------------------------------------

void AppendCell(std::string& out, std::string_view cell, char separator) {
  const bool plain = cell.find_first_of("\"\r\n") == std::string_view::npos &&
                     cell.find(separator) == std::string_view::npos && cell == Trimmed(cell);
  if (plain) {
    out += cell;
    return;
  }
  out += '"';
  for (const char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// --- Splitting the text into cells --------------------------------------------------

// The separator of the cells: a tab wherever one stands outside quotes, else
// a semicolon, else a comma, unless every line with a comma holds just one
// and no point, which is a single column of numbers with a decimal comma
// ("0,95"). Without any of them the text is one column.
char DetectSeparator(std::string_view text) {
  bool semicolon = false;
  bool commaParts = false;
  int commas = 0;      // of the current line
  bool point = false;  // of the current line
  bool cellStart = true;
  const auto endLine = [&] {
    if (commas >= 2 || (commas == 1 && point)) commaParts = true;
    commas = 0;
    point = false;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"' && cellStart) {
      // A quoted cell: its content parts nothing.
      for (++i; i < text.size(); ++i) {
        if (text[i] != '"') continue;
        if (i + 1 < text.size() && text[i + 1] == '"') {
          ++i;
        } else {
          break;
        }
      }
      cellStart = false;
      continue;
    }
    if (c == ' ') continue;
    cellStart = c == ';' || c == ',' || c == '\r' || c == '\n';
    switch (c) {
      case '\t': return '\t';
      case ';': semicolon = true; break;
      case ',': ++commas; break;
      case '.': point = true; break;
      case '\r':
      case '\n': endLine(); break;
      default: break;
    }
  }
  endLine();
  return semicolon ? ';' : commaParts ? ',' : '\t';
}

struct Record {
  int Line = 0;  // the line it starts on, from 1
  std::vector<std::string> Cells;
};

// Records a table may have: a header line and one row more than the longest
// curve. Reading stops there, so that any text is read in little time.
constexpr std::size_t MaxRecords = MaxEngineRows + 2;

// The records of the text, its lines, each cut into cells at the separator,
// at most MaxRecords. A cell starting with a quote (after blanks) runs to
// the closing quote, across separators and line ends, "" standing for one
// quote; what follows the closing quote up to the separator is kept too.
// Unquoted cells lose their blanks at both ends. Blank lines, with no cell
// holding anything, are left out.
std::vector<Record> SplitRecords(std::string_view text, char separator) {
  std::vector<Record> records;
  const std::size_t n = text.size();
  std::size_t i = 0;
  int line = 1;
  // Steps over the line end at i, if any: CR LF, LF or CR.
  const auto lineEnd = [&] {
    if (i >= n) return;
    if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    ++i;
    ++line;
  };
  const auto endsCell = [&](char c) { return c == separator || c == '\r' || c == '\n'; };

  while (i < n && records.size() < MaxRecords) {
    Record record;
    record.Line = line;
    bool blank = true;
    for (;;) {
      std::size_t start = i;
      while (start < n && IsBlank(text[start]) && text[start] != separator) ++start;
      std::string cell;
      if (start < n && text[start] == '"') {
        for (i = start + 1; i < n; ++i) {
          const char c = text[i];
          if (c == '"') {
            if (i + 1 < n && text[i + 1] == '"') {
              cell += '"';
              ++i;
              continue;
            }
            ++i;
            break;
          }
          if (c == '\n' || (c == '\r' && (i + 1 >= n || text[i + 1] != '\n'))) ++line;
          cell += c;
        }
        const std::size_t rest = i;
        while (i < n && !endsCell(text[i])) ++i;
        cell += Trimmed(text.substr(rest, i - rest));
      } else {
        while (i < n && !endsCell(text[i])) ++i;
        cell = Trimmed(text.substr(start, i - start));
      }
      if (!cell.empty()) blank = false;
      record.Cells.push_back(std::move(cell));
      if (i < n && text[i] == separator) {
        ++i;
        continue;
      }
      lineEnd();
      break;
    }
    if (blank) continue;
    // Cells left empty at the end of a line are no columns.
    while (record.Cells.back().empty()) record.Cells.pop_back();
    records.push_back(std::move(record));
  }
  return records;
}

// --- Numbers --------------------------------------------------------------------

// True when cell looks like a number in any of the forms read: a sign,
// digits with points or commas, an exponent.
bool LooksNumeric(std::string_view cell) {
  std::size_t i = 0;
  if (i < cell.size() && (cell[i] == '+' || cell[i] == '-')) ++i;
  bool digit = false;
  for (; i < cell.size() && (IsDigit(cell[i]) || cell[i] == '.' || cell[i] == ','); ++i) digit |= IsDigit(cell[i]);
  if (!digit) return false;
  if (i < cell.size() && (cell[i] == 'e' || cell[i] == 'E')) {
    ++i;
    if (i < cell.size() && (cell[i] == '+' || cell[i] == '-')) ++i;
    if (i >= cell.size()) return false;
    while (i < cell.size() && IsDigit(cell[i])) ++i;
  }
  return i == cell.size();
}

// The decimal mark of the table's numbers: a point where commas part the
// cells; else the later of the two marks in a number holding both ("1,234.5",
// "1.234,5"); else a comma when any number holds one, so that a German
// spreadsheet's "1.000" beside "-20,5" is a thousand.
char DecimalMark(const std::vector<Record>& records, std::size_t first, char separator) {
  if (separator == ',') return '.';
  bool comma = false;
  for (std::size_t r = first; r < records.size(); ++r) {
    for (const std::string& cell : records[r].Cells) {
      const std::size_t lastComma = cell.rfind(',');
      if (lastComma == std::string::npos || !LooksNumeric(cell)) continue;
      const std::size_t lastPoint = cell.rfind('.');
      if (lastPoint != std::string::npos) return lastPoint > lastComma ? '.' : ',';
      comma = true;
    }
  }
  return comma ? ',' : '.';
}

enum class CellStatus { Number, Empty, NotANumber, OutOfRange };

// The number of a cell with the given decimal mark; the other mark may group
// the digits before it in threes ("12,475.5"). Beyond the values a file
// holds (or the range of a double) it is out of range.
CellStatus CellNumber(std::string_view cell, char decimal, double& value) {
  if (cell.empty()) return CellStatus::Empty;
  const char group = decimal == '.' ? ',' : '.';
  char text[96];
  std::size_t n = 0;
  std::size_t i = 0;
  const auto take = [&](char c) {
    if (n >= sizeof text) return false;
    text[n++] = c;
    return true;
  };
  if (cell[i] == '+' || cell[i] == '-') {
    if (cell[i] == '-') take('-');
    ++i;
  }
  int digits = 0;       // of the whole mantissa
  int groupDigits = 0;  // since the last group mark
  bool grouped = false;
  for (; i < cell.size(); ++i) {
    if (IsDigit(cell[i])) {
      if (!take(cell[i])) return CellStatus::NotANumber;
      ++digits;
      ++groupDigits;
    } else if (cell[i] == group) {
      if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3)) return CellStatus::NotANumber;
      grouped = true;
      groupDigits = 0;
    } else {
      break;
    }
  }
  if (grouped && groupDigits != 3) return CellStatus::NotANumber;
  if (i < cell.size() && cell[i] == decimal) {
    take('.');
    for (++i; i < cell.size() && IsDigit(cell[i]); ++i) {
      if (!take(cell[i])) return CellStatus::NotANumber;
      ++digits;
    }
  }
  if (digits == 0) return CellStatus::NotANumber;
  if (i < cell.size() && (cell[i] == 'e' || cell[i] == 'E')) {
    take('e');
    ++i;
    if (i < cell.size() && (cell[i] == '+' || cell[i] == '-')) take(cell[i++]);
    const std::size_t exponent = i;
    for (; i < cell.size() && IsDigit(cell[i]); ++i) {
      if (!take(cell[i])) return CellStatus::NotANumber;
    }
    if (i == exponent) return CellStatus::NotANumber;
  }
  if (i != cell.size()) return CellStatus::NotANumber;
  const auto [end, error] = std::from_chars(text, text + n, value);
  if (error == std::errc::result_out_of_range) return CellStatus::OutOfRange;
  if (error != std::errc() || end != text + n) return CellStatus::NotANumber;
  return std::abs(value) > MaxFileValue ? CellStatus::OutOfRange : CellStatus::Number;
}

// --- Refusals -------------------------------------------------------------------

TableRead Refuse(std::string text) { return {{}, UserMessage{std::move(text), "DATA ERROR!"}}; }

std::string Place(int line, int column) {
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// A cell as a message quotes it: long ones cut short.
std::string Quoted(std::string_view cell) {
  constexpr std::size_t Shown = 30;
  return "\"" + std::string(cell.substr(0, Shown)) + (cell.size() > Shown ? "...\"" : "\"");
}

TableRead RefuseCell(CellStatus status, std::string_view cell, int line, int column) {
  switch (status) {
    case CellStatus::Empty:
      return Refuse("The cell in " + Place(line, column) + " is empty.");
    case CellStatus::OutOfRange:
      return Refuse("The number in " + Place(line, column) + " is out of range for a physics file: " + Quoted(cell) + ".");
    case CellStatus::NotANumber:
    case CellStatus::Number:
      break;
  }
  return Refuse("The cell in " + Place(line, column) + " is not a number: " + Quoted(cell) + ".");
}

// The shortest text that reads back as v: 3000.04 rather than 3000.0.
std::string ShortText(double v) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

// --- Reading --------------------------------------------------------------------

std::string_view CellAt(const Record& record, int column) {
  return static_cast<std::size_t>(column) < record.Cells.size() ? std::string_view(record.Cells[column])
                                                                 : std::string_view();
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(a) == lower(b);
         });
}

TableRead ReadEngine(const std::vector<Record>& records, std::size_t first, const std::vector<std::string>& header,
                     char decimal) {
  const int rows = static_cast<int>(records.size() - first);
  if (rows > MaxEngineRows) {
    return Refuse("The table has more rows than the " + std::to_string(MaxEngineRows) + " an engine curve holds.");
  }

  // The columns by their header names, else the first three in order.
  std::array<int, EngineColumns> columnOf{0, 1, 2};
  std::array<bool, EngineColumns> found{};
  for (int c = 0; c < EngineColumns; ++c) {
    const auto it = std::find_if(header.begin(), header.end(),
                                 [&](const std::string& cell) { return StartsWithIgnoringCase(cell, EngineHeader[c]); });
    found[c] = it != header.end();
    if (found[c]) columnOf[c] = static_cast<int>(it - header.begin());
  }
  const auto named = std::count(found.begin(), found.end(), true);
  if (named > 0 && named < EngineColumns) {
    const auto missing = std::find(found.begin(), found.end(), false) - found.begin();
    return Refuse("The header line names no " + std::string(EngineHeader[missing]) + " column.");
  }
  if (named == 0) {
    std::size_t widest = 0;
    for (std::size_t r = first; r < records.size(); ++r) widest = std::max(widest, records[r].Cells.size());
    if (widest < EngineColumns) return Refuse("The table needs the columns RPM, Compression and Torque.");
  }

  TableRead table;
  table.Columns.resize(EngineColumns);
  for (int c = 0; c < EngineColumns; ++c) {
    table.Columns[c].Name = std::string(EngineHeader[c]);
    table.Columns[c].Values.reserve(rows);
  }
  for (std::size_t r = first; r < records.size(); ++r) {
    for (int c = 0; c < EngineColumns; ++c) {
      const std::string_view cell = CellAt(records[r], columnOf[c]);
      double value = 0.0;
      const CellStatus status = CellNumber(cell, decimal, value);
      if (status != CellStatus::Number) return RefuseCell(status, cell, records[r].Line, columnOf[c] + 1);
      table.Columns[c].Values.push_back(value);
    }
    const std::vector<double>& rpm = table.Columns[0].Values;
    if (rpm.size() >= 2 && !(rpm.back() > rpm[rpm.size() - 2])) {
      return Refuse("The RPM in line " + std::to_string(records[r].Line) + " does not rise: " + ShortText(rpm.back()) +
                    " follows " + ShortText(rpm[rpm.size() - 2]) + ".");
    }
  }
  return table;
}

TableRead ReadTire(const std::vector<Record>& records, std::size_t first, const std::vector<std::string>& header,
                   char decimal) {
  std::size_t columns = 0;
  for (std::size_t r = first; r < records.size(); ++r) columns = std::max(columns, records[r].Cells.size());
  if (columns > static_cast<std::size_t>(SlipCurveSlots)) {
    return Refuse("The table has " + std::to_string(columns) + " columns; a tire file holds at most " +
                  std::to_string(SlipCurveSlots) + " slip curves.");
  }
  if (records.size() - first > static_cast<std::size_t>(MaxFileSlipSamples)) {
    return Refuse("The table has more rows than the " + std::to_string(MaxFileSlipSamples) +
                  " samples a slip curve holds.");
  }

  TableRead table;
  table.Columns.resize(columns);
  // Where each column's cells ended: a number below an empty cell is a gap.
  std::vector<int> endedAt(columns, 0);
  for (std::size_t r = first; r < records.size(); ++r) {
    for (std::size_t c = 0; c < columns; ++c) {
      const int column = static_cast<int>(c);
      const std::string_view cell = CellAt(records[r], column);
      double value = 0.0;
      const CellStatus status = CellNumber(cell, decimal, value);
      if (status == CellStatus::Empty && endedAt[c] == 0) {
        endedAt[c] = records[r].Line;
      } else if (status == CellStatus::Number && endedAt[c] != 0) {
        return RefuseCell(CellStatus::Empty, {}, endedAt[c], column + 1);
      } else if (status == CellStatus::Number) {
        table.Columns[c].Values.push_back(value);
      } else if (status != CellStatus::Empty) {
        return RefuseCell(status, cell, records[r].Line, column + 1);
      }
    }
  }
  for (std::size_t c = 0; c < columns; ++c) {
    if (table.Columns[c].Values.empty()) return RefuseCell(CellStatus::Empty, {}, records[first].Line, static_cast<int>(c) + 1);
    if (c < header.size()) table.Columns[c].Name = header[c];
  }
  return table;
}

// --- Encodings -----------------------------------------------------------------

// The editor's 8-bit text (Latin-1) as UTF-8.
std::string Utf8Of(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

// UTF-8 as 8-bit text, characters beyond Latin-1 as "?"; nothing when the
// bytes are not UTF-8.
std::optional<std::string> Latin1Of(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > utf8.size()) return std::nullopt;
    unsigned code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = (code << 6) | (next & 0x3F);
    }
    constexpr unsigned Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < Smallest[length] || code > 0x10FFFF) return std::nullopt;
    out += code <= 0xFF ? static_cast<char>(code) : '?';
    i += length;
  }
  return out;
}

}  // namespace

std::string ComposeTableText(const EditorDocument& doc, char separator, std::string_view lineEnd) {
  std::string out;
  const auto endLine = [&] { out += lineEnd; };
  if (!doc.TireMode) {
    const EngineCurve& e = doc.Engine;
    const int rows = std::clamp(doc.RowCount, 0, MaxEngineRows);
    out.reserve(static_cast<std::size_t>(rows + 1) * 32);
    for (std::size_t c = 0; c < EngineHeader.size(); ++c) {
      if (c > 0) out += separator;
      out += EngineHeader[c];
    }
    endLine();
    for (int i = 0; i < rows; ++i) {
      AppendFixed(out, e.Rpm[i], EngineDecimals);
      for (const double v : {e.Compression[i], e.Torque[i], e.Power[i]}) {
        out += separator;
        AppendFixed(out, v, EngineDecimals);
      }
      endLine();
    }
    return out;
  }

  const int curves = std::clamp(doc.SlipCurveCount, 0, SlipCurveSlots);
  int rows = 0;
  for (int k = 0; k < curves; ++k) rows = std::max(rows, std::clamp(doc.SlipCurves[k].SampleCount, 0, MaxSlipSamples));
  out.reserve(static_cast<std::size_t>(rows + 1) * curves * 10);
  for (int k = 0; k < curves; ++k) {
    if (k > 0) out += separator;
    AppendCell(out, doc.SlipCurves[k].Name, separator);
  }
  endLine();
  for (int i = 0; i < rows; ++i) {
    for (int k = 0; k < curves; ++k) {
      if (k > 0) out += separator;
      const SlipCurve& curve = doc.SlipCurves[k];
      if (i < curve.SampleCount) AppendFixed(out, curve.Samples[i], SlipDecimals);
    }
    endLine();
  }
  return out;
}

TableRead ReadTableText(std::string_view text, TableShape shape) {
  const char separator = DetectSeparator(text);
  const std::vector<Record> records = SplitRecords(text, separator);
  std::vector<std::string> header;
  std::size_t first = 0;
  if (!records.empty() && std::none_of(records[0].Cells.begin(), records[0].Cells.end(), LooksNumeric)) {
    header = records[0].Cells;
    first = 1;
  }
  if (records.size() == first) return Refuse("The text holds no rows of numbers.");
  const char decimal = DecimalMark(records, first, separator);
  return shape == TableShape::Engine ? ReadEngine(records, first, header, decimal)
                                     : ReadTire(records, first, header, decimal);
}

std::string ComposeCsvFile(const EditorDocument& doc) { return Utf8Of(ComposeTableText(doc, ',', "\r\n")); }

ReadResult ReadCsvFile(const std::string& path, std::string& text) {
  std::string bytes;
  const FileReadResult read = ReadFileBytes(path, bytes);
  if (read.Status == ReadStatus::CannotOpen) return ReadResult::CannotOpen;
  if (read.Status == ReadStatus::CannotRead) return ReadResult::CannotRead;
  std::string_view content = bytes;
  if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
  std::optional<std::string> latin1 = Latin1Of(content);
  text = latin1 ? std::move(*latin1) : std::string(content);
  return ReadResult::Read;
}

std::string CsvFileName(std::string_view fileTitle) {
  if (fileTitle.empty()) return "table.csv";
  const std::size_t dot = fileTitle.rfind('.');
  return std::string(fileTitle.substr(0, dot == 0 ? fileTitle.size() : dot)) + ".csv";
}

}  // namespace dyno
