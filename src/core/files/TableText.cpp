#include "core/files/TableText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

#include "core/document/EditorDocument.h"
#include "core/document/Units.h"
#include "core/files/NumberFormat.h"
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

// True when cell looks like a number in any of the forms read: a sign,
// digits with points or commas, an exponent.
bool LooksNumeric(std::string_view cell);

// A cell as the reader takes it back: quoted when it holds a quote, a line
// end or any separator the reader may find (a name "Wet, 2.5 bar" copied
// with tabs is pasted back as one column), blanks at its ends, or when it
// reads as a number (a curve named "0.5" would head no column).
void AppendCell(std::string& out, std::string_view cell) {
  const bool plain = cell.find_first_of("\"\r\n\t;,") == std::string_view::npos && cell == Trimmed(cell) &&
                     !LooksNumeric(cell);
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
  std::vector<bool> Quoted;  // of each cell: it stood in quotes
};

// Records a table may have: a header line and one row more than the longest
// curve. Reading stops there, so that any text is read in little time.
constexpr std::size_t MaxRecords = MaxEngineRows + 2;

struct Split {
  std::vector<Record> Records;
  int TooWideLine = 0;  // the line of a cell beyond MaxTableColumns; 0 when none
};

// The records of the text, its lines, each cut into cells at the separator,
// at most MaxRecords. A cell starting with a quote (after blanks) runs to
// the closing quote, across separators and line ends, "" standing for one
// quote; what follows the closing quote up to the separator is kept too.
// Unquoted cells lose their blanks at both ends. Blank lines, with no cell
// holding anything, are left out, and so are the empty cells at the end of
// a line. Splitting stops at a cell that holds something beyond
// MaxTableColumns: empty cells are only counted, so that a line of millions
// of separators costs no memory.
Split SplitRecords(std::string_view text, char separator) {
  Split split;
  std::vector<Record>& records = split.Records;
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

  std::string quotedCell;
  while (i < n && records.size() < MaxRecords) {
    Record record;
    record.Line = line;
    for (std::size_t column = 0;; ++column) {
      std::size_t start = i;
      while (start < n && IsBlank(text[start]) && text[start] != separator) ++start;
      std::string_view cell;
      const bool quoted = start < n && text[start] == '"';
      if (quoted) {
        quotedCell.clear();
        for (i = start + 1; i < n; ++i) {
          const char c = text[i];
          if (c == '"') {
            if (i + 1 < n && text[i + 1] == '"') {
              quotedCell += '"';
              ++i;
              continue;
            }
            ++i;
            break;
          }
          if (c == '\n' || (c == '\r' && (i + 1 >= n || text[i + 1] != '\n'))) ++line;
          quotedCell += c;
        }
        const std::size_t rest = i;
        while (i < n && !endsCell(text[i])) ++i;
        quotedCell += Trimmed(text.substr(rest, i - rest));
        cell = quotedCell;
      } else {
        while (i < n && !endsCell(text[i])) ++i;
        cell = Trimmed(text.substr(start, i - start));
      }
      if (!cell.empty()) {
        if (column >= static_cast<std::size_t>(MaxTableColumns)) {
          split.TooWideLine = record.Line;
          return split;
        }
        // The empty cells before it are columns after all.
        record.Cells.resize(column);
        record.Quoted.resize(column);
        record.Cells.emplace_back(cell);
        record.Quoted.push_back(quoted);
      }
      if (i < n && text[i] == separator) {
        ++i;
        continue;
      }
      lineEnd();
      break;
    }
    if (!record.Cells.empty()) records.push_back(std::move(record));
  }
  return split;
}

// --- Numbers --------------------------------------------------------------------

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

using CellStatus = GroupedNumber;

// The number of a cell with the given decimal mark (see ReadGroupedNumber).
CellStatus CellNumber(std::string_view cell, char decimal, double& value) {
  return ReadGroupedNumber(cell, decimal, value);
}

// --- Refusals -------------------------------------------------------------------

TableRead Refused(UserMessage message) {
  TableRead table;
  table.Refusal = std::move(message);
  return table;
}

TableRead Refuse(std::string text) { return Refused(UserMessage{std::move(text), "DATA ERROR!"}); }

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

// --- The decimal mark -------------------------------------------------------------

// What one number tells of the table's decimal mark.
enum class MarkHint {
  None,    // no mark, or no number either way
  Point,   // its point is a decimal point
  Comma,   // its comma is a decimal comma
  Either,  // one mark, before three digits: a decimal mark or digit grouping
};

// A number's hint: of both marks the later is the decimal one ("1,234.5");
// a mark twice groups digits ("1.000.000"); one mark is a decimal mark
// unless exactly three digits follow it and one to three digits, not led by
// a 0, go before it, in a number without exponent ("1,000" reads either
// way, "0,125", "12.25" and "1000,500" do not). A number that does not read
// with the mark its hint names (and is refused later) tells nothing.
MarkHint HintOf(std::string_view cell) {
  if (!LooksNumeric(cell)) return MarkHint::None;
  const std::size_t sign = cell.front() == '+' || cell.front() == '-' ? 1 : 0;
  const std::size_t exponent = cell.find_first_of("eE");
  const std::string_view mantissa = cell.substr(sign, exponent == std::string_view::npos ? cell.npos : exponent - sign);
  const auto points = std::count(mantissa.begin(), mantissa.end(), '.');
  const auto commas = std::count(mantissa.begin(), mantissa.end(), ',');
  MarkHint hint = MarkHint::None;
  if (points > 0 && commas > 0) {
    hint = mantissa.rfind('.') > mantissa.rfind(',') ? MarkHint::Point : MarkHint::Comma;
  } else if (points + commas >= 2) {
    hint = points > 0 ? MarkHint::Comma : MarkHint::Point;
  } else if (points + commas == 1) {
    const std::size_t mark = mantissa.find_first_of(".,");
    const bool groups = exponent == std::string_view::npos && mantissa.size() - mark - 1 == 3 && mark >= 1 &&
                        mark <= 3 && mantissa.front() != '0';
    hint = groups ? MarkHint::Either : mantissa[mark] == '.' ? MarkHint::Point : MarkHint::Comma;
  }
  if (hint != MarkHint::Point && hint != MarkHint::Comma) return hint;
  double value = 0.0;
  const CellStatus status = CellNumber(cell, hint == MarkHint::Point ? '.' : ',', value);
  return status == CellStatus::Number || status == CellStatus::OutOfRange ? hint : MarkHint::None;
}

struct DecimalChoice {
  char Mark = '.';
  std::optional<UserMessage> Refusal;
};

// The decimal mark of the whole table, from what its numbers tell: the
// mark that some number shows to be decimal, where none shows the other;
// else, where a number reads either way, a point in a comma-separated text,
// a comma in a semicolon-separated one (as spreadsheets of each locale write
// them); else a point. Refused: numbers showing both marks as decimal, and
// a number that reads either way in a table that tells nothing more.
DecimalChoice ChooseDecimalMark(const std::vector<Record>& records, std::size_t first, char separator) {
  struct Witness {
    int Line = 0;
    int Column = 0;
    std::string_view Cell;
  };
  std::optional<Witness> point, comma, either;
  for (std::size_t r = first; r < records.size(); ++r) {
    const std::vector<std::string>& cells = records[r].Cells;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const MarkHint hint = HintOf(cells[c]);
      std::optional<Witness>& witness =
          hint == MarkHint::Point ? point : hint == MarkHint::Comma ? comma : either;
      if (hint != MarkHint::None && !witness) witness = Witness{records[r].Line, static_cast<int>(c) + 1, cells[c]};
    }
  }
  if (point && comma) {
    const bool pointFirst = std::pair(point->Line, point->Column) < std::pair(comma->Line, comma->Column);
    const Witness& a = pointFirst ? *point : *comma;
    const Witness& b = pointFirst ? *comma : *point;
    return {'.', UserMessage{"The numbers in " + Place(a.Line, a.Column) + " (" + Quoted(a.Cell) + ") and " +
                                 Place(b.Line, b.Column) + " (" + Quoted(b.Cell) +
                                 ") disagree on the decimal mark: the first has a decimal " +
                                 (pointFirst ? "point" : "comma") + ", the second a decimal " +
                                 (pointFirst ? "comma" : "point") + ".",
                             "DATA ERROR!"}};
  }
  if (point) return {'.', std::nullopt};
  if (comma) return {',', std::nullopt};
  if (!either || separator == ',') return {'.', std::nullopt};
  if (separator == ';') return {',', std::nullopt};
  const char mark = either->Cell.find(',') != std::string_view::npos ? ',' : '.';
  const std::string name = mark == ',' ? "comma" : "point";
  return {'.', UserMessage{"The " + name + " of the number in " + Place(either->Line, either->Column) + " (" +
                               Quoted(either->Cell) + ") may be a decimal " + name +
                               " or group thousands, and no other number of the table tells which. Copy the "
                               "numbers without digit grouping, or with other than three decimals.",
                           "DATA ERROR!"}};
}

// Whether the first record is a header: none of its cells is a number. A
// quoted number counts as a name there (Copy Table quotes a curve named
// "1"), unless the second record quotes its numbers too, as some programs
// quote every cell.
bool IsHeader(const std::vector<Record>& records) {
  const auto quotesNumbers = [](const Record& record) {
    for (std::size_t c = 0; c < record.Cells.size(); ++c) {
      if (record.Quoted[c] && LooksNumeric(record.Cells[c])) return true;
    }
    return false;
  };
  const bool quotesMarkNames = records.size() < 2 || !quotesNumbers(records[1]);
  const Record& first = records[0];
  for (std::size_t c = 0; c < first.Cells.size(); ++c) {
    if (LooksNumeric(first.Cells[c]) && !(first.Quoted[c] && quotesMarkNames)) return false;
  }
  return true;
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
    if (rpm.size() >= 2) {
      if (auto refusal = RpmStepRefusal(rpm[rpm.size() - 2], rpm.back(), records[r].Line)) {
        return Refused(std::move(*refusal));
      }
    }
    table.Lines.push_back(records[r].Line);
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
  for (std::size_t r = first; r < records.size(); ++r) table.Lines.push_back(records[r].Line);
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

// UTF-16 as 8-bit text, characters beyond Latin-1 (a surrogate pair too)
// and a lone surrogate or odd last byte as "?".
std::string Latin1OfUtf16(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() / 2 + 1);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    const unsigned unit = bigEndian ? (a << 8) | b : (b << 8) | a;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const auto c = static_cast<unsigned char>(bytes[i + 2]);
      const auto d = static_cast<unsigned char>(bytes[i + 3]);
      const unsigned low = bigEndian ? (c << 8) | d : (d << 8) | c;
      if (low >= 0xDC00 && low < 0xE000) i += 2;  // one character of the pair
    }
    out += unit <= 0xFF ? static_cast<char>(unit) : '?';
  }
  if (bytes.size() % 2 != 0) out += '?';
  return out;
}

}  // namespace

std::string ComposeTableText(const EditorDocument& doc, const DisplayUnits& units, char separator,
                             std::string_view lineEnd) {
  std::string out;
  const auto endLine = [&] { out += lineEnd; };
  if (doc.Mode != FileMode::Tire) {
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
      for (const double v : {ShownTorque(e.Compression[i], units.Torque), ShownTorque(e.Torque[i], units.Torque),
                             ShownPower(e.Power[i], units.Power)}) {
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
    AppendCell(out, doc.SlipCurves[k].Name);
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
  const Split split = SplitRecords(text, separator);
  if (split.TooWideLine != 0) {
    return Refuse("Line " + std::to_string(split.TooWideLine) + " has too many columns: a table has at most " +
                  std::to_string(MaxTableColumns) + ".");
  }
  const std::vector<Record>& records = split.Records;
  std::vector<std::string> header;
  std::size_t first = 0;
  if (!records.empty() && IsHeader(records)) {
    header = records[0].Cells;
    first = 1;
  }
  if (records.size() == first) return Refuse("The text holds no rows of numbers.");
  const DecimalChoice decimal = ChooseDecimalMark(records, first, separator);
  if (decimal.Refusal) return Refused(*decimal.Refusal);
  return shape == TableShape::Engine ? ReadEngine(records, first, header, decimal.Mark)
                                     : ReadTire(records, first, header, decimal.Mark);
}

std::optional<UserMessage> RpmStepRefusal(double before, double rpm, int line) {
  const std::string where = "The RPM in line " + std::to_string(line);
  if (!(rpm > before)) {
    return UserMessage{where + " does not rise: " + ShortText(rpm) + " follows " + ShortText(before) + ".", "DATA ERROR!"};
  }
  // As shown, and as a table of these texts reads again.
  const auto asShown = [](const std::string& text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
  };
  const std::string shown = FixedText(rpm, EngineDecimals);
  if (!(asShown(shown) > asShown(FixedText(before, EngineDecimals)))) {
    return UserMessage{where + " is too close to the one before: the table shows " + ShortText(before) + " and " +
                           ShortText(rpm) + " both as " + shown + ".",
                       "DATA ERROR!"};
  }
  return std::nullopt;
}

std::string ComposeCsvFile(const EditorDocument& doc, const DisplayUnits& units) {
  return Utf8Of(ComposeTableText(doc, units, ',', "\r\n"));
}

ReadResult ReadCsvFile(const std::string& path, std::string& text) {
  std::string bytes;
  const FileReadResult read = ReadFileBytes(path, bytes);
  if (read.Status == ReadStatus::CannotOpen) return ReadResult::CannotOpen;
  if (read.Status == ReadStatus::CannotRead) return ReadResult::CannotRead;
  text = TableTextOfBytes(bytes);
  return ReadResult::Read;
}

std::string TableTextOfBytes(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return Latin1OfUtf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return Latin1OfUtf16(bytes.substr(2), true);
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::optional<std::string> latin1 = Latin1Of(bytes);
  return latin1 ? std::move(*latin1) : std::string(bytes);
}

std::string CsvFileName(std::string_view fileTitle) {
  if (fileTitle.empty()) return "table.csv";
  const std::size_t dot = fileTitle.rfind('.');
  return std::string(fileTitle.substr(0, dot == 0 ? fileTitle.size() : dot)) + ".csv";
}

}  // namespace dyno
