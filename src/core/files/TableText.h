#pragma once

// The tables the editor hands to spreadsheets and takes back from them: the
// text Copy Table puts on the clipboard and Export CSV writes, and the text
// Paste Table and Import CSV read, whichever spreadsheet or locale made it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/UserMessage.h"
#include "core/files/ReadResult.h"

namespace dyno {

struct DisplayUnits;
struct EditorDocument;

// The table of the current mode: a header line, then a line per row, the
// cells parted by separator and each line ended by lineEnd; numbers with a
// point, the decimals and the units the table shows (torques in lb-ft and
// power in kW or PS when the view shows them so). Engine and Upgrade modes:
// RPM, Compression, Torque and Power. Tire mode: a column per slip curve in
// use, headed by its name, a line per sample; a curve shorter than the
// longest leaves its cells empty. A name holding a quote, a line end, a tab,
// a semicolon or a comma, blanks at its ends, or reading as a number is
// quoted, its quotes doubled, so that ReadTableText reads it back whole.
std::string ComposeTableText(const EditorDocument& doc, const DisplayUnits& units, char separator,
                             std::string_view lineEnd);

enum class TableShape {
  Engine,  // the columns RPM, Compression and Torque
  Tire,    // a column per slip curve
};

struct TableColumn {
  std::string Name;            // its header cell; empty without a header line
  std::vector<double> Values;  // its numbers, top to bottom
};

// A line holding something beyond this many cells is refused: no table
// uses more, and reading stops there however long the line is.
inline constexpr int MaxTableColumns = 64;

// What a text held, or why it is no table of that shape.
struct TableRead {
  // Engine: RPM, Compression and Torque, of equal length, the RPM rising by
  // at least what the table shows (RpmStepRefusal). Tire: one to four
  // columns, each as long as its cells go.
  std::vector<TableColumn> Columns;
  std::vector<int> Lines;              // the line of the text each row starts on, from 1
  std::optional<UserMessage> Refusal;  // the columns are then empty
};

// Reads a table copied in a spreadsheet or a text editor, or a CSV file's
// text. The cells are parted by tabs, semicolons or commas, whichever the
// text uses (a comma only where the lines do not read as single numbers
// with a decimal comma); lines end in CR LF, LF or CR; a cell may be quoted.
// The first line is a header when none of its cells is a number; a quoted
// number counts as a name there unless the next line quotes its numbers
// too. Engine columns are found by their header names (a cell starting
// with "RPM", "Compression" or "Torque", in any letter case) or else by
// position; a Power column and further columns are ignored. Blank lines are
// skipped.
//
// The decimal mark is the table's, decided from all its numbers; the other
// mark may group digits in threes ("12,475.5", "12.475,5"). A number tells
// the mark when it holds both (the later one is decimal), when it holds one
// mark twice (that one groups), or when its one mark is followed by other
// than three digits, or preceded by none, by more than three or by a lone 0
// ("0,125", "12.25", "1000,500", ",5"). A number such as "1,000" or
// "-12.500" reads either way: the other numbers decide, and where none
// does, a comma-separated text has a decimal point and a
// semicolon-separated one a decimal comma (as spreadsheets write them in
// each locale); in a text parted by tabs or in one column it is refused,
// as are numbers telling both marks.
//
// Refused, with a message naming the line and column where it applies: a
// cell that is not a number or beyond the values a file holds, an empty
// cell within a column, a line with something beyond MaxTableColumns cells
// ("too many columns"), more rows than the curve holds (500 engine rows,
// 261 samples), more than four slip curves, an RPM that does not rise or
// rises less than the table shows, the decimal marks above, a text without
// rows of numbers.
TableRead ReadTableText(std::string_view text, TableShape shape);

// The text of a CSV file of the current mode's table: comma separated,
// point decimals, CR LF line ends, UTF-8.
std::string ComposeCsvFile(const EditorDocument& doc, const DisplayUnits& units);

// Why an RPM cannot follow before in an engine curve (in line of a text):
// it must be larger and show larger with the table's one decimal, so that
// the table, and the table copied, never shows two rows at one RPM.
// Nothing when it can.
std::optional<UserMessage> RpmStepRefusal(double before, double rpm, int line);

// Reads the CSV file at path into text with TableTextOfBytes. CannotOpen or
// CannotRead when its bytes could not be had.
ReadResult ReadCsvFile(const std::string& path, std::string& text);

// A CSV or text file's bytes as the editor's 8-bit text, for ReadTableText:
// UTF-16 after its byte order mark (little or big endian, as a spreadsheet's
// "Unicode text" is written) and UTF-8 become 8-bit text, characters beyond
// it as "?"; a UTF-8 byte order mark is skipped; bytes that are not UTF-8
// are taken as 8-bit text already.
std::string TableTextOfBytes(std::string_view bytes);

// The name Export CSV offers for the file titled fileTitle: its name with
// ".csv" in place of its extension ("engine.ini" gives "engine.csv");
// "table.csv" without a title.
std::string CsvFileName(std::string_view fileTitle);

}  // namespace dyno
