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

struct EditorDocument;

// The table of the current mode: a header line, then a line per row, the
// cells parted by separator and each line ended by lineEnd; numbers with a
// point, the decimals and the units the table shows. Engine and Upgrade modes: RPM,
// Compression, Torque and Power. Tire mode: a column per slip curve in use,
// headed by its name, a line per sample; a curve shorter than the longest
// leaves its cells empty. A cell holding the separator, a quote, a line end
// or blanks at its ends is quoted, its quotes doubled.
std::string ComposeTableText(const EditorDocument& doc, char separator, std::string_view lineEnd);

enum class TableShape {
  Engine,  // the columns RPM, Compression and Torque
  Tire,    // a column per slip curve
};

struct TableColumn {
  std::string Name;            // its header cell; empty without a header line
  std::vector<double> Values;  // its numbers, top to bottom
};

// What a text held, or why it is no table of that shape.
struct TableRead {
  // Engine: RPM, Compression and Torque, of equal length, the RPM rising.
  // Tire: one to four columns, each as long as its cells go.
  std::vector<TableColumn> Columns;
  std::optional<UserMessage> Refusal;  // the columns are then empty
};

// Reads a table copied in a spreadsheet or a text editor, or a CSV file's
// text. The cells are parted by tabs, semicolons or commas, whichever the
// text uses (a comma only where the lines do not read as single numbers
// with a decimal comma); lines end in CR LF, LF or CR; a cell may be quoted.
// Numbers take a decimal comma unless commas part the cells, and digit
// grouping in threes; the first line is a header when none of its cells is
// a number. Engine columns are found by their header names (a cell starting
// with "RPM", "Compression" or "Torque", in any letter case) or else by
// position; a Power column and further columns are ignored. Blank lines are
// skipped. Refused, with a message naming the line and column where it
// applies: a cell that is not a number or beyond the values a file holds, an
// empty cell within a column, more rows than the curve holds (500 engine
// rows, 261 samples), more than four slip curves, an RPM that does not rise,
// a text without rows of numbers.
TableRead ReadTableText(std::string_view text, TableShape shape);

// The text of a CSV file of the current mode's table: comma separated,
// point decimals, CR LF line ends, UTF-8.
std::string ComposeCsvFile(const EditorDocument& doc);

// Reads the CSV file at path into text, for ReadTableText: a UTF-8 byte
// order mark is skipped and UTF-8 becomes the editor's 8-bit text; a file
// that is not UTF-8 is taken as 8-bit text already. CannotOpen or
// CannotRead when its bytes could not be had.
ReadResult ReadCsvFile(const std::string& path, std::string& text);

// The name Export CSV offers for the file titled fileTitle: its name with
// ".csv" in place of its extension ("engine.ini" gives "engine.csv");
// "table.csv" without a title.
std::string CsvFileName(std::string_view fileTitle);

}  // namespace dyno
